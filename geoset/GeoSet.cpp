#include "geoset/GeoSet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <exception>

#include "editor/Compose.h"
#include "model/RecordFile.h"
#include "model/ShortString.h"
#include "tiles/Encoding.h"

namespace qm {

namespace {
void SetGenerate(TGeoSetContext& ctx, bool on) {
    if (ctx.SetGenerateEnabled) ctx.SetGenerateEnabled(on);
}
} // namespace

void ClearGeoSet(TGeoSetContext& ctx) {
    ClearGeoSetRecord(*ctx.GeoSet, TilesetNameBytes(ctx.Tileset->CurrentTilesetName));
    SetGenerate(ctx, false);
}

void LoadGeoSet(TGeoSetContext& ctx, const QString& path) {
    *ctx.GeoSetFileName = path;
    // Reads into scratch first: a failure leaves the record as it was.
    ReadGeoSetFile(PathBytes(path), *ctx.GeoSet);

    std::exception_ptr renderError;
    const std::string name = GeoTilesetName(*ctx.GeoSet);
    if (!SameNameIgnoringCase(name, TilesetNameBytes(ctx.Tileset->CurrentTilesetName))) {
        try {
            RenderTileset(*ctx.Tileset, *ctx.CurrentMap, BareTilesetName(TilesetNameText(name)), *ctx.TileBitmap,
                          ctx.TilesetProgress);
        } catch (const TTilesetError&) {
            // The GeoSet is in; the old symbols stay in use. Report after finishing.
            renderError = std::current_exception();
        }
        if (ctx.TilesetChanged) ctx.TilesetChanged();
    }
    if (ctx.SelectorsChanged) ctx.SelectorsChanged();
    SetGenerate(ctx, true);
    if (renderError) std::rethrow_exception(renderError);
}

void SaveGeoSet(const TGeoSetRecord& geo, const QString& path) { WriteGeoSetFile(PathBytes(path), geo); }

void GeoSetStartup(TGeoSetContext& ctx, const QString& programDir) {
    ClearGeoSet(ctx);
    const QString path = QDir(programDir).filePath(DefaultGeoSetName);
    if (QFileInfo(path).isFile()) LoadGeoSet(ctx, path);
}

void DrawMapletCell(QImage& cellBitmap, const TRenderedTileset& ts, const TGeoSetRecord& geo, int position, int section,
                    int x, int y) {
    if (x < 1 || x > MapletSize || y < 1 || y > MapletSize) {
        ComposeCell(cellBitmap, ts, 0, 0, 0);
        return;
    }
    const TMapCell& cell = geo.Maplet(position, section).Cell(x, y);
    ComposeCell(cellBitmap, ts, 0, cell.Lower, cell.Upper);
}

} // namespace qm
