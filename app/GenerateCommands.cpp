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

void Twinviewform::AddGenerateMapItem(QMenu* file) {
    GenerateMap1 = AddItem(file, "GenerateMap1", QStringLiteral("Generate Map..."), QStringLiteral("Ctrl+Shift+R"),
                           QStringLiteral(" Generate A Dungeon, Caves, A Keep Or Wilderness From A Seed."), nullptr);
    connect(GenerateMap1, &QAction::triggered, this, [this] { RunCommand([this] { GenerateMap1Click(); }); });
}

void Twinviewform::GenerateMap1Click() {
    const TGenPalette palette = MakeGenPalette(app_->Symbols, app_->Tileset.HiddenFlags, app_->Tileset.LayerFlags);
    TGenerateMapDialog dialog(this, app_->CurrentMap, app_->Tileset, palette, DrawGrid1->Selection(), LastOptions());
    if (dialog.exec() != QDialog::Accepted) return;
    LastOptions() = dialog.Options();
    ApplyGeneratedMap(dialog.Options());
}

// The one change to the map: Undo brings the previous map back.
void Twinviewform::ApplyGeneratedMap(const TGenerateOptions& options) {
    const std::string stepName = GenerateStepName(options); // "Generate dungeon, seed 4711"
    const TGenPalette palette = MakeGenPalette(app_->Symbols, app_->Tileset.HiddenFlags, app_->Tileset.LayerFlags);
    TakeUndoSnapshot(app_->CurrentMap, app_->UndoMap);
    const TGenerateResult result = GenerateMap(app_->CurrentMap, options, palette);
    MapChanged();
    QString said = QString::fromStdString(stepName);
    for (const std::string& line : result.LeftOut) said += QStringLiteral("; left out ") + QString::fromStdString(line);
    if (StatusBar1) StatusBar1->showMessage(said, 8000);
}

} // namespace qm
