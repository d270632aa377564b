#include "GeoSet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <exception>

#include "editor/Compose.h"
#include "model/RecordFile.h"
#include "model/ShortString.h"
#include "preview/Dialogs.h"

namespace qm {

namespace {
std::string FileSystemPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Tileset names are single-byte strings in the records.
std::string NameBytes(const QString& name) { return name.toLatin1().toStdString(); }

void SetGenerate(TGeoSetContext& ctx, bool on) {
    if (ctx.SetGenerateEnabled) ctx.SetGenerateEnabled(on);
}

void SelectorsChanged(TGeoSetContext& ctx) {
    if (ctx.SelectorsChanged) ctx.SelectorsChanged();
}
} // namespace

void ClearGeoSet(TGeoSetContext& ctx) {
    ClearGeoSetRecord(*ctx.GeoSet, NameBytes(ctx.Tileset->CurrentTilesetName));
    SetGenerate(ctx, false);
}

void LoadGeoSet(TGeoSetContext& ctx, const QString& path) {
    *ctx.GeoSetFileName = path;
    // Reads into scratch first: a failure leaves the record as it was.
    ReadGeoSetFile(FileSystemPath(path), *ctx.GeoSet);

    std::exception_ptr renderError;
    const std::string name = GeoTilesetName(*ctx.GeoSet);
    if (!SameNameIgnoringCase(name, NameBytes(ctx.Tileset->CurrentTilesetName))) {
        try {
            RenderTileset(*ctx.Tileset, *ctx.CurrentMap, BareTilesetName(QString::fromLatin1(name)), *ctx.TileBitmap,
                          ctx.Splash);
        } catch (const TTilesetError&) {
            // The GeoSet is in; the old symbols stay in use. Report after finishing.
            renderError = std::current_exception();
        }
        if (ctx.TilesetChanged) ctx.TilesetChanged();
    }
    SelectorsChanged(ctx);
    SetGenerate(ctx, true);
    if (renderError) std::rethrow_exception(renderError);
}

void SaveGeoSet(const TGeoSetRecord& geo, const QString& path) { WriteGeoSetFile(FileSystemPath(path), geo); }

void GeoSetStartup(TGeoSetContext& ctx, const QString& programDir) {
    ClearGeoSet(ctx);
    const QString path = QDir(programDir).filePath(DefaultGeoSetName);
    if (QFileInfo(path).isFile()) LoadGeoSet(ctx, path);
}

void GeoNewExecute(TGeoSetContext& ctx) {
    ClearGeoSet(ctx);
    SelectorsChanged(ctx);
}

bool GeoOpenExecute(TGeoSetContext& ctx) {
    const QString path =
        Dialogs().OpenFileName(ctx.DialogParent, QStringLiteral("Open GeoSet"), ctx.DialogDir, GeoSetFilter);
    if (path.isEmpty()) return false;
    LoadGeoSet(ctx, path);
    return true;
}

bool GeoSaveExecute(TGeoSetContext& ctx) {
    const QString offered = ctx.GeoSetFileName->isEmpty() ? ctx.DialogDir : *ctx.GeoSetFileName;
    const QString path = Dialogs().SaveFileName(ctx.DialogParent, QStringLiteral("Save GeoSet"), offered, GeoSetFilter,
                                                GeoSetSuffix);
    if (path.isEmpty()) return false;
    if (QFileInfo::exists(path) &&
        Dialogs().YesNoCancel(ctx.DialogParent, QStringLiteral("OK to overwrite %1").arg(path)) != TConfirm::Yes)
        return false;
    SaveGeoSet(*ctx.GeoSet, path);
    *ctx.GeoSetFileName = path;
    return true;
}

void DrawMapletCell(QImage& cellBitmap, const TRenderedTileset& ts, const TGeoSetRecord& geo, int position,
                    int section, int x, int y) {
    if (x < 1 || x > MapletSize || y < 1 || y > MapletSize) {
        ComposeCell(cellBitmap, ts, 0, 0, 0);
        return;
    }
    const TMapCell& cell = geo.Maplet(position, section).Cell(x, y);
    ComposeCell(cellBitmap, ts, 0, cell.Lower, cell.Upper);
}

} // namespace qm
