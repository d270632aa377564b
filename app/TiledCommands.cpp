// File > Export Tiled Map... and Import Tiled Map...: the map and its tileset for the
// Tiled map editor, and Tiled maps back into the map record.
#include <QFileInfo>

#include "app/MainWindow.h"
#include "base/Encoding.h"
#include "base/Paths.h"
#include "dialogs/Dialogs.h"
#include "export/ExportCommands.h"
#include "export/FileKind.h"
#include "model/ShortString.h"
#include "tiled/TiledExport.h"
#include "tiled/TmxReader.h"

namespace qm {

namespace {
const QString TiledFilter = QStringLiteral("Tiled Map Files (*.tmx)");
const QString TiledSuffix = QStringLiteral("tmx");
} // namespace

void Twinviewform::ExportTiledMap1Click() {
    TQuillmarch& a = *app_;
    QString path = Dialogs().SaveFileName(this, QStringLiteral("Export Tiled Map"), ExportProposal(TiledSuffix),
                                          TiledFilter, TiledSuffix);
    if (path.isEmpty()) return;
    if (FileKindOf(PathBytes(path)) != TFileKind::Tmx) path += QStringLiteral(".tmx");
    a.MapDialogDir = a.ExportFolderUsed = FolderOf(path);
    // One question for all three files that would be replaced.
    const TTiledFileNames names = TiledFileNamesFor(PathBytes(path));
    if (!MayReplace(this, {PathFromBytes(names.Tmx), PathFromBytes(names.Tsx), PathFromBytes(names.Png)})) return;
    ExportTiledMap(names.Tmx, a.Document.CurrentMap, a.Tileset, a.Symbols, &a.Document.CurrentKey);
}

void Twinviewform::ImportTiledMap1Click() {
    TQuillmarch& a = *app_;
    // The imported map takes the place of this document, as Open does.
    if (!AskSaveChanges()) return;
    const QString path = Dialogs().OpenFileName(this, QStringLiteral("Import Tiled Map"), a.MapDialogDir, TiledFilter);
    if (path.isEmpty()) return;
    a.MapDialogDir = a.MapFolderUsed = FolderOf(path);
    const TTmxImport imported = ReadTmxFile(PathBytes(path), DrawGrid1->DefaultColWidth()); // throws, map untouched

    // The map came from elsewhere: an untitled, unsaved document, so Save asks for a name.
    a.Document.Detach();
    QString tilesetError;
    EditMapAndKey(QStringLiteral("Import Tiled Map"), [&](TMapRecord& map, TMapKey& key) {
        map = imported.Map;
        key = imported.Key;
        tilesetError = ApplyMapSettings(path);
    });
    if (!tilesetError.isEmpty()) Dialogs().Error(this, tilesetError);
    const std::string notes = ImportNotesText(imported, PathBytes(path));
    if (!notes.empty()) Dialogs().Error(this, MessageText(notes));
}

} // namespace qm
