// Commands that hand the map to other windows: printing, GeoSets and random maps,
// picture export.
#include <QAction>
#include <QFileInfo>

#include "app/Twinviewform.h"
#include "export/ExportCommands.h"
#include "geoset/RandomMap.h"
#include "geoset/geoedit.h"
#include "preview/Prevcomp.h"
#include "print/MapPage.h"
#include "print/Unit3.h"

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

    auto wire = [this](QAction* item, void (Twinviewform::*handler)()) {
        connect(item, &QAction::triggered, this, [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); });
    };
    wire(Print, &Twinviewform::PrintExecute);
    wire(PrintSetup, &Twinviewform::PrintSetupExecute);
    wire(Geoset1, &Twinviewform::GeoSet1Click);
    wire(GenerateRandomMap1, &Twinviewform::GenerateRandomMap1Click);
    wire(RandomMaplet1, &Twinviewform::RandomMaplet1Click);
    wire(GeoNew, &Twinviewform::GeoNewExecute);
    wire(GeoOpen, &Twinviewform::GeoOpenExecute);
    wire(GeoSave, &Twinviewform::GeoSaveExecute);
    wire(ExportDisk, &Twinviewform::ExportDiskExecute);
    wire(ExportDiskTiled, &Twinviewform::ExportDiskTiledExecute);
    wire(ExportClipboard, &Twinviewform::ExportImageClipboardExecute);
    wire(ExportVtt, &Twinviewform::ExportVttExecute);
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
    GenerateRandomMap(app_->CurrentMap, app_->GeoSet);
    RepaintMap();
}

void Twinviewform::RandomMaplet1Click() {
    const TGridRect sel = DrawGrid1->Selection();
    InsertRandomMaplet(app_->CurrentMap, app_->UndoMap, app_->GeoSet, sel.Left, sel.Top);
    RepaintMap();
}

void Twinviewform::GeoNewExecute() { qm::GeoNewExecute(geoCtx_); }
void Twinviewform::GeoOpenExecute() { qm::GeoOpenExecute(geoCtx_); }
void Twinviewform::GeoSaveExecute() { qm::GeoSaveExecute(geoCtx_); }

void Twinviewform::ExportDiskExecute() {
    const QString path = qm::ExportDiskExecute(this, app_->CurrentMap, app_->Tileset, DrawGrid1->Selection(),
                                               DrawGrid1->DefaultColWidth(), app_->PictureDialogDir);
    if (!path.isEmpty()) app_->PictureDialogDir = QFileInfo(path).absolutePath() + QLatin1Char('/');
}

void Twinviewform::ExportDiskTiledExecute() {
    const QStringList paths = qm::ExportDiskTiledExecute(this, app_->CurrentMap, app_->Tileset,
                                                         DrawGrid1->DefaultColWidth(), app_->PictureDialogDir);
    if (!paths.isEmpty()) app_->PictureDialogDir = QFileInfo(paths.first()).absolutePath() + QLatin1Char('/');
}

void Twinviewform::ExportImageClipboardExecute() {
    qm::ExportImageClipboardExecute(this, app_->CurrentMap, app_->Tileset, DrawGrid1->Selection(),
                                    DrawGrid1->DefaultColWidth());
}

void Twinviewform::ExportVttExecute() {
    const QString path = qm::ExportVttExecute(this, app_->CurrentMap, app_->Tileset, app_->Symbols,
                                              DrawGrid1->Selection(), app_->PictureDialogDir);
    if (!path.isEmpty()) app_->PictureDialogDir = QFileInfo(path).absolutePath() + QLatin1Char('/');
}

} // namespace qm
