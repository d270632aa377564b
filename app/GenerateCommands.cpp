// File > Generate Map...: a play-ready map from a seed, drawn by the generator into the
// whole map or the selection.
#include <QAction>
#include <QMenu>
#include <QStatusBar>

#include "app/MainWindow.h"
#include "generate/GenerateMap.h"
#include "generate/GenerateMapDialog.h"

namespace qm {

namespace {
// The dialog opens as it was last accepted; the first time with a fresh seed.
TGenerateOptions& LastOptions() {
    static TGenerateOptions last = [] {
        TGenerateOptions o;
        o.Seed = FreshGenerateSeed();
        return o;
    }();
    return last;
}
} // namespace

void Twinviewform::GenerateMap1Click() {
    const TGenPalette palette = MakeGenPalette(app_->Symbols, app_->Tileset.HiddenFlags, app_->Tileset.LayerFlags);
    TGenerateMapDialog dialog(this, app_->Document.CurrentMap, app_->Tileset, palette, DrawGrid1->Selection(),
                              LastOptions());
    if (dialog.exec() != QDialog::Accepted) return;
    const TGenerateOptions options = LastOptions() = dialog.Options();
    // The one change to the map: Undo brings the previous map back.
    const std::string stepName = GenerateStepName(options); // "Generate dungeon, seed 4711"
    TGenerateResult result;
    EditMap(QString::fromStdString(stepName), [&](TMapRecord& map) { result = GenerateMap(map, options, palette); });
    QString said = QString::fromStdString(stepName);
    for (const std::string& line : result.LeftOut) said += QStringLiteral("; left out ") + QString::fromStdString(line);
    StatusBar1->showMessage(said, 8000);
}

} // namespace qm
