// Commands that hand the map to other windows: printing, GeoSets and random maps,
// picture export.
#include <QAction>
#include <QFileInfo>

#include "app/MainWindow.h"
#include "export/ExportCommands.h"
#include "geoset/GeoSetCommands.h"
#include "geoset/MapletEditor.h"
#include "geoset/RandomMap.h"
#include "preview/Dialogs.h"
#include "preview/PrintPreview.h"
#include "print/MapPage.h"
#include "print/PrintOptionsDialog.h"
#include "tiles/Encoding.h"

namespace qm {

void Twinviewform::CreateDocumentCommands() {
    TQuillmarch& a = *app_;
    geoCtx_.GeoSet = &a.GeoSet;
    geoCtx_.GeoSetFileName = &a.GeoSetFileName;
    geoCtx_.Tileset = &a.Tileset;
    geoCtx_.CurrentMap = &a.CurrentMap;
    geoCtx_.TileBitmap = &a.TileBitmap;
    geoCtx_.DialogDir = a.ProgramDir;
    geoCtx_.SetGenerateEnabled = [this](bool on) { SetGenerateRandomMapEnabled(on); };
    geoCtx_.TilesetChanged = [this] { TilesetChanged(); };
    geoCtx_.GeoSetChanged = [this] { GeoSetChanged(); };

    PrintPreview1 = std::make_unique<TPrintPreview>(this);
    PrintPreview1->Title = QStringLiteral("Print Preview");
    mapPages_ = std::make_unique<TMapPageHandler>([this] {
        TMapPrintSource s;
        s.Map = &app_->CurrentMap;
        s.Tileset = &app_->Tileset;
        s.CellBitmap = &app_->CellBitmap;
        s.Selection = DrawGrid1->Selection();
        s.MapFileName = app_->MapFileName;
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
    TakeUndoSnapshot(app_->CurrentMap, app_->UndoMap);
    GenerateRandomMap(app_->CurrentMap, app_->GeoSet);
    MapChanged();
}

void Twinviewform::RandomMaplet1Click() {
    const TGridRect sel = DrawGrid1->Selection();
    InsertRandomMaplet(app_->CurrentMap, app_->UndoMap, app_->GeoSet, sel.Left, sel.Top);
    MapChanged();
}

void Twinviewform::GeoSetChanged() {
    app_->GeoSetDocument.Changed();
    if (geoEditForm_) geoEditForm_->setWindowModified(true);
    ScheduleRecovery();
}

void Twinviewform::MarkGeoSetClean() {
    app_->GeoSetDocument.Clean();
    if (recovery_) recovery_->Remove(TRecoveryKind::GeoSet);
    if (geoEditForm_) geoEditForm_->setWindowModified(false);
}

bool Twinviewform::AskSaveGeoSetChanges() {
    if (!app_->GeoSetDocument.Modified) return true;
    const QString name = app_->GeoSetFileName.isEmpty() ? QStringLiteral("Untitled GeoSet")
                                                        : QFileInfo(app_->GeoSetFileName).fileName();
    QWidget* parent = geoEditForm_ && geoEditForm_->isVisible() ? static_cast<QWidget*>(geoEditForm_) : this;
    const TConfirm answer = AskSaveChangesTo(parent, name);
    if (answer == TConfirm::No) return true;
    if (answer != TConfirm::Yes) return false;
    try {
        if (!qm::GeoSaveExecute(geoCtx_)) return false;
    } catch (const std::exception& e) {
        Dialogs().Error(parent, MessageText(e));
        return false;
    }
    MarkGeoSetClean();
    return true;
}

void Twinviewform::GeoNewExecute() {
    if (!AskSaveGeoSetChanges()) return;
    qm::GeoNewExecute(geoCtx_);
    app_->GeoSetFileName.clear(); // the new GeoSet has no file yet
    MarkGeoSetClean();
}

void Twinviewform::GeoOpenExecute() {
    if (!AskSaveGeoSetChanges()) return;
    try {
        if (qm::GeoOpenExecute(geoCtx_)) MarkGeoSetClean();
    } catch (const TTilesetError&) {
        MarkGeoSetClean(); // the GeoSet is read; only its tileset could not be used
        throw;
    }
}

void Twinviewform::GeoSaveExecute() {
    if (qm::GeoSaveExecute(geoCtx_)) MarkGeoSetClean();
}

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

void Twinviewform::ExportDiskExecute() {
    TGridRect area;
    if (!AskExportArea(area)) return;
    const QString path = qm::ExportDiskExecute(this, app_->CurrentMap, app_->Tileset, area,
                                               DrawGrid1->DefaultColWidth(), SaveDialogStart(app_->PictureDialogDir));
    if (!path.isEmpty()) app_->PictureDialogDir = QFileInfo(path).absolutePath() + QLatin1Char('/');
}

void Twinviewform::ExportDiskTiledExecute() {
    const QStringList paths = qm::ExportDiskTiledExecute(
        this, app_->CurrentMap, app_->Tileset, DrawGrid1->DefaultColWidth(), SaveDialogStart(app_->PictureDialogDir));
    if (!paths.isEmpty()) app_->PictureDialogDir = QFileInfo(paths.first()).absolutePath() + QLatin1Char('/');
}

void Twinviewform::ExportImageClipboardExecute() {
    TGridRect area;
    if (!AskExportArea(area)) return;
    qm::ExportImageClipboardExecute(this, app_->CurrentMap, app_->Tileset, area, DrawGrid1->DefaultColWidth());
}

void Twinviewform::ExportVttExecute() {
    TGridRect area;
    if (!AskExportArea(area)) return;
    const QString path = qm::ExportVttExecute(this, app_->CurrentMap, app_->Tileset, app_->Symbols, area,
                                              SaveDialogStart(app_->PictureDialogDir));
    if (!path.isEmpty()) app_->PictureDialogDir = QFileInfo(path).absolutePath() + QLatin1Char('/');
}

} // namespace qm
