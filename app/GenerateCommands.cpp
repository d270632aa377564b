// File > Generate Map...: a play-ready map from a seed, drawn by the generator into the
// whole map or the selection.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QStatusBar>
#include <exception>
#include <memory>

#include "app/MainWindow.h"
#include "base/Encoding.h"
#include "dialogs/Dialogs.h"
#include "editor/LabelTool.h"
#include "generate/GenStack.h"
#include "generate/GenerateMap.h"
#include "generate/GenerateMapDialog.h"
#include "model/MapKey.h"
#include "model/RecordFile.h"

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
    if (dialog.Levels() > 1) {
        SaveGeneratedLevels(dialog.GeneratedLevels());
        return;
    }
    // The one change to the map: Undo brings the previous map back.
    const std::string stepName = GenerateStepName(options); // "Generate dungeon, seed 4711"
    TGenerateResult result;
    EditMapAndKey(QString::fromStdString(stepName), [&](TMapRecord& map, TMapKey& key) {
        result = GenerateMap(map, options, palette);
        AdoptGeneratedKey(key, result.Key, options.Area);
    });
    QString said = QString::fromStdString(stepName);
    for (const std::string& line : result.LeftOut) said += QStringLiteral("; left out ") + QString::fromStdString(line);
    StatusBar1->showMessage(said, 8000);
}

// A stack of levels goes to files at once: NAME-1.map .. NAME-N.map with their keys, all
// written before any is put in place; then level 1 opens as a saved map.
void Twinviewform::SaveGeneratedLevels(std::vector<TGenLevel> levels) {
    if (!AskSaveChanges()) return;
    const QString path = Dialogs().SaveFileName(this, QStringLiteral("Save Levels As"), app_->MapDialogDir,
                                                QStringLiteral("Quillmarch Map Files (*.map)"), QStringLiteral("map"));
    if (path.isEmpty()) return;
    const std::string base = PathBytes(path);
    NameStackLevels(levels, base);
    std::vector<std::pair<std::string, std::string>> files; // path, bytes
    for (size_t k = 0; k < levels.size(); ++k) {
        const std::string mapPath = LevelPath(base, int(k) + 1);
        files.emplace_back(mapPath, std::string(reinterpret_cast<const char*>(&levels[k].Map), sizeof(TMapRecord)));
        if (!levels[k].Result.Key.Empty()) files.emplace_back(KeyPathFor(mapPath), KeyFileText(levels[k].Result.Key));
    }
    QStringList existing;
    for (const auto& f : files)
        if (QFileInfo::exists(PathFromBytes(f.first))) existing << QFileInfo(PathFromBytes(f.first)).fileName();
    if (!existing.isEmpty() &&
        Dialogs().YesNoCancel(this, QStringLiteral("OK to overwrite %1").arg(existing.join(QStringLiteral(", ")))) !=
            TConfirm::Yes)
        return;
    try {
        std::vector<std::unique_ptr<TAtomicFile>> out;
        for (const auto& [name, bytes] : files) {
            out.push_back(std::make_unique<TAtomicFile>(name));
            out.back()->Write(bytes.data(), bytes.size());
        }
        for (auto& f : out) f->Finish(); // only renames are left to fail after this
        for (auto& f : out) f->Commit();
    } catch (const std::exception& e) {
        Dialogs().Error(this, MessageText(e.what()));
        return;
    }
    app_->MapDialogDir = QFileInfo(path).absolutePath();
    const QString first = PathFromBytes(LevelPath(base, 1));
    OpenMapFile(first);
    StatusBar1->showMessage(
        QStringLiteral("Generated %1 levels: %2 .. %3")
            .arg(levels.size())
            .arg(QFileInfo(first).fileName(), QFileInfo(PathFromBytes(LevelPath(base, int(levels.size())))).fileName()),
        8000);
}

} // namespace qm
