// Commands that hand the map to other windows: printing, GeoSets and random maps,
// picture export.
#include <QAction>
#include <QFileInfo>

#include "app/MainWindow.h"
#include "app/RecoveryWriter.h"
#include "base/Encoding.h"
#include "base/Paths.h"
#include "dialogs/Dialogs.h"
#include "export/ExportCommands.h"
#include "geoset/GeoSetCommands.h"
#include "geoset/MapletEditor.h"
#include "geoset/RandomMap.h"
#include "preview/PrintPreview.h"
#include "print/MapPage.h"
#include "print/PrintOptionsDialog.h"
#include "tiles/TilesetLookup.h"

namespace qm {

void Twinviewform::CreateDocumentCommands() {
    TQuillmarch& a = *app_;
    a.GeoSetDocument.DialogDir = a.ProgramDir;
    // A GeoSet's tileset becomes the map's too; a bare name is looked for beside the GeoSet
    // first, as a map's is beside the map.
    a.GeoSetDocument.SetUseTileset([this](const QString& name) {
        const QString found = FindMapTileset(name, app_->GeoSetDocument.FileName(), app_->ProgramDir);
        LoadTileset(found.isEmpty() ? name : found);
    });
    a.GeoSetDocument.Listen([this](TGeoSetEvent e) { GeoSetDocumentChanged(e); });

    PrintPreview1 = std::make_unique<TPrintPreview>(this);
    PrintPreview1->Title = QStringLiteral("Print Preview");
    mapPages_ = std::make_unique<TMapPageHandler>([this] {
        TMapPrintSource s;
        s.Map = &app_->Document.CurrentMap;
        s.Tileset = &app_->Tileset;
        s.CellBitmap = &app_->CellBitmap;
        s.Selection = DrawGrid1->Selection();
        s.MapFileName = app_->Document.FileName();
        s.Key = &app_->Document.CurrentKey;
        if (printOptions_) s.Settings = printOptions_->Settings();
        return s;
    });
    mapPages_->Bind(*PrintPreview1);
}

void Twinviewform::PrintExecute() {
    if (!printOptions_) return;
    qm::PrintExecute(*printOptions_, *PrintPreview1);
}

void Twinviewform::PrintSetupExecute() { qm::PrintSetupExecute(this); }

void Twinviewform::GeoSet1Click() {
    if (!geoEditForm_) return;
    geoEditForm_->exec();
}

void Twinviewform::GenerateRandomMap1Click() {
    // The whole map is replaced: Undo brings the previous one back.
    const TGeoSetRecord& geo = app_->GeoSetDocument.GeoSet;
    EditMap(QStringLiteral("Random map"), [&](TMapRecord& map) { GenerateRandomMap(map, geo); });
}

void Twinviewform::RandomMaplet1Click() {
    const TGridRect sel = DrawGrid1->Selection();
    const TGeoSetRecord& geo = app_->GeoSetDocument.GeoSet;
    EditMap(QStringLiteral("Random maplet"), [&](TMapRecord& map) { InsertRandomMaplet(map, geo, sel.Left, sel.Top); });
}

void Twinviewform::GeoSetDocumentChanged(TGeoSetEvent e) {
    switch (e) {
    case TGeoSetEvent::Replaced: GenerateRandomMap1->setEnabled(app_->GeoSetDocument.Loaded()); break;
    case TGeoSetEvent::Painted:
        if (recovery_) recovery_->Changed();
        break;
    case TGeoSetEvent::Clean:
        if (recovery_) recovery_->Store().Remove(TRecoveryKind::GeoSet);
        break;
    }
}

QWidget* Twinviewform::GeoDialogParent() {
    return geoEditForm_ && geoEditForm_->isVisible() ? static_cast<QWidget*>(geoEditForm_) : this;
}

bool Twinviewform::AskSaveGeoSetChanges() {
    TGeoSetDocument& doc = app_->GeoSetDocument;
    if (!doc.Modified()) return true;
    QWidget* parent = GeoDialogParent();
    const TConfirm answer = AskSaveChangesTo(parent, doc.DisplayName());
    if (answer == TConfirm::No) return true;
    if (answer != TConfirm::Yes) return false;
    try {
        return qm::GeoSaveExecute(doc, parent);
    } catch (const std::exception& e) {
        Dialogs().Error(parent, MessageText(e));
        return false;
    }
}

void Twinviewform::GeoNewExecute() {
    if (!AskSaveGeoSetChanges()) return;
    qm::GeoNewExecute(app_->GeoSetDocument);
}

void Twinviewform::GeoOpenExecute() {
    if (!AskSaveGeoSetChanges()) return;
    qm::GeoOpenExecute(app_->GeoSetDocument, GeoDialogParent());
}

void Twinviewform::GeoSaveExecute() { qm::GeoSaveExecute(app_->GeoSetDocument, GeoDialogParent()); }

bool Twinviewform::AskExportArea(TGridRect& area) {
    area = DrawGrid1->Selection();
    if (area.Width() * area.Height() <= 1) return true;
    // A selection left over from drawing would silently shrink the picture: ask.
    const TConfirm answer = Dialogs().Question(
        this,
        QStringLiteral("Export the selection (%1 x %2 cells) or the whole map?").arg(area.Width()).arg(area.Height()),
        QStringLiteral("Selection"), QStringLiteral("Whole Map"), QStringLiteral("Cancel"));
    if (answer == TConfirm::No) area = TGridRect{}; // one cell: the whole map
    return answer != TConfirm::Cancel;
}

QString Twinviewform::ExportProposal(const QString& suffix) const {
    const QString& mapFile = app_->Document.FileName();
    return SaveDialogStart(
        ProposedSaveFile(mapFile, suffix, {app_->ExportFolderUsed, mapFile.isEmpty() ? QString() : FolderOf(mapFile)}));
}

bool Twinviewform::AskPictureCopy(const QString& caption, TMapRecord& shown, const TMapKey*& labels) {
    TQuillmarch& a = *app_;
    // Until the user changes it the picture follows Show Hidden, as it always did.
    const bool followsShowHidden = a.Document.CurrentMap.ShowHidden == 0;
    bool playerCopy = a.PlayerCopy.value_or(followsShowHidden);
    // The numbers are offered only where there is a key; no numbers unless asked for.
    const bool keyed = !a.Document.CurrentKey.Entries.empty();
    bool numbers = a.PictureRoomNumbers;
    if (!Dialogs().PictureCopy(this, caption, playerCopy, keyed ? &numbers : nullptr)) return false;
    if (keyed) a.PictureRoomNumbers = numbers;
    labels = keyed && numbers ? &a.Document.CurrentKey : nullptr;
    if (a.PlayerCopy || playerCopy != followsShowHidden) a.PlayerCopy = playerCopy;
    shown = a.Document.CurrentMap;
    shown.ShowHidden = playerCopy ? 0 : 1;
    return true;
}

void Twinviewform::ExportDiskExecute() {
    TGridRect area;
    if (!AskExportArea(area)) return;
    auto shown = std::make_unique<TMapRecord>();
    const TMapKey* labels = nullptr;
    if (!AskPictureCopy(QStringLiteral("Export Image"), *shown, labels)) return;
    const QString path = qm::ExportDiskExecute(this, *shown, app_->Tileset, area, DrawGrid1->DefaultColWidth(),
                                               ExportProposal(QStringLiteral("png")), labels);
    if (!path.isEmpty()) app_->PictureDialogDir = app_->ExportFolderUsed = FolderOf(path);
}

void Twinviewform::ExportDiskTiledExecute() {
    const QStringList paths = qm::ExportDiskTiledExecute(this, app_->Document.CurrentMap, app_->Tileset,
                                                         DrawGrid1->DefaultColWidth(), ExportProposal("png"));
    if (!paths.isEmpty()) app_->PictureDialogDir = app_->ExportFolderUsed = FolderOf(paths.first());
}

void Twinviewform::ExportImageClipboardExecute() {
    TGridRect area;
    if (!AskExportArea(area)) return;
    auto shown = std::make_unique<TMapRecord>();
    const TMapKey* labels = nullptr;
    if (!AskPictureCopy(QStringLiteral("Copy Image"), *shown, labels)) return;
    qm::ExportImageClipboardExecute(this, *shown, app_->Tileset, area, DrawGrid1->DefaultColWidth(), labels);
}

void Twinviewform::ExportVttExecute() {
    TGridRect area;
    if (!AskExportArea(area)) return;
    const QString path = qm::ExportVttExecute(this, app_->Document.CurrentMap, app_->Tileset, app_->Symbols, area,
                                              ExportProposal(QStringLiteral("dd2vtt")), &app_->Document.CurrentKey);
    if (!path.isEmpty()) app_->PictureDialogDir = app_->ExportFolderUsed = FolderOf(path);
}

void Twinviewform::ExportFoundryExecute() {
    TGridRect area;
    if (!AskExportArea(area)) return;
    // The map key's entries become the scene's notes, for the game master's eyes.
    const QString path = qm::ExportFoundryExecute(
        this, app_->Document.CurrentMap, app_->Tileset, app_->Symbols, area, ExportProposal(QStringLiteral("json")),
        QFileInfo(app_->Document.FileName()).completeBaseName(), FoundryNotes(app_->Document.CurrentKey));
    if (!path.isEmpty()) app_->PictureDialogDir = app_->ExportFolderUsed = FolderOf(path);
}

} // namespace qm
