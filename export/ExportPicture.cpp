#include "export/ExportPicture.h"

#include <QFileInfo>
#include <QPainter>
#include <memory>

#include "base/Encoding.h"
#include "compose/CellPainters.h"
#include "compose/KeyLabels.h"
#include "compose/MapClamp.h"
#include "compose/PaperRock.h"
#include "export/PictureBands.h"

namespace qm {

namespace {

constexpr int MaxExportZoom = 1024;

void CheckZoom(const std::string& path, int zoom) {
    if (zoom < 1 || zoom > MaxExportZoom)
        throw TFileError(CannotCreateMessage(path, "A cell size of " + std::to_string(zoom) +
                                                       " pixels is outside 1 to " + std::to_string(MaxExportZoom) +
                                                       "."));
}

} // namespace

TGridRect ExportArea(const TGridRect& selection) {
    const TGridRect s = ClipAreaToMap(selection);
    if (s.Width() < 1 || s.Height() < 1) return WholeMapArea;
    if (s.Width() * s.Height() > 1) return s;
    return WholeMapArea;
}

namespace {

// One row of cells with rock as paper: the cells that are not all paper, then the hatching
// of the row (its lines run on into the rows above and below).
void PaperRow(QPainter& p, const TMapRecord& map, const TRenderedTileset& ts, const TGridRect& a, int r, int zoom,
              int rock, QImage& cellBitmap) {
    for (int c = a.Left; c <= a.Right; ++c) {
        if (AllPaper(map, ts, c, r)) continue;
        ComposePaperCell(cellBitmap, ts, VisibleLayers(map, ts, c, r));
        DrawComposedGridCell(p, QRect((c - a.Left) * zoom, 0, zoom, zoom), false, cellBitmap);
    }
    if (rock == rpHatched) DrawRockHatching(p, map, ts, TGridRect{a.Left, r, a.Right, r}, QPointF(0, 0), zoom, zoom);
}

} // namespace

TPictureSource MapPictureSource(const TMapRecord& map, const TRenderedTileset& ts, const TGridRect& area, int zoom,
                                int rock, const TMapKey* labels) {
    const TGridRect a = ClipAreaToMap(area);
    TPictureSource src;
    if (zoom < 1 || zoom > MaxExportZoom || a.Width() < 1 || a.Height() < 1) return src; // empty
    src.Width = a.Width() * zoom;
    src.Height = a.Height() * zoom;
    src.BandHeight = zoom;
    // Every band has its own painter and cell bitmap and reads the source's own copies of
    // the map and tileset (the tileset's pictures are shared, not copied), which nothing
    // the window does meanwhile can change. Labels are text, and a thread that draws text
    // keeps fonts until it ends: those bands are drawn on the thread that asks.
    src.ConcurrentBands = labels == nullptr;
    struct TDrawn {
        TMapRecord Map;
        TRenderedTileset Tiles;
    };
    const auto drawn = std::make_shared<const TDrawn>(TDrawn{map, ts});
    src.Band = [drawn, a, zoom, rock, labels, width = src.Width](int top, int rows) {
        const TMapRecord& map = drawn->Map;
        const TRenderedTileset& ts = drawn->Tiles;
        QImage band(width, rows, QImage::Format_RGB32);
        band.fill(Qt::white);
        QImage cellBitmap;
        QPainter p(&band);
        // Bands start on a cell row; `rows` is at most one cell high.
        const int r = a.Top + top / zoom;
        if (rock != rpDrawn) {
            PaperRow(p, map, ts, a, r, zoom, rock, cellBitmap);
        } else {
            // The grid's own cell painter, never selected, and no cache: a cache of
            // every distinct cell at a large zoom would cost more memory than the band.
            for (int c = a.Left; c <= a.Right; ++c)
                DrawMapGridCell(p, c, r, QRect((c - a.Left) * zoom, 0, zoom, zoom), false, map, ts, cellBitmap,
                                nullptr);
        }
        // A label stays inside its cell, so the band of its row holds it whole.
        if (labels) DrawKeyLabels(p, *labels, TGridRect{a.Left, r, a.Right, r}, QPointF(0, 0), zoom);
        return band;
    };
    return src;
}

QImage ComposeMapPicture(const TMapRecord& map, const TRenderedTileset& ts, const TGridRect& area, int zoom, int rock,
                         const TMapKey* labels) {
    const TPictureSource src = MapPictureSource(map, ts, area, zoom, rock, labels);
    if (src.Width <= 0 || src.Height <= 0) return QImage();
    QImage picture(src.Width, src.Height, QImage::Format_RGB32);
    DrawBandsInto(picture, src);
    return picture;
}

void ExportMapPicture(const std::string& path, TPictureFormat f, const TMapRecord& map, const TRenderedTileset& ts,
                      const TGridRect& area, int zoom, const TProgressFn& progress, int rock, const TMapKey* labels) {
    CheckZoom(path, zoom);
    WritePictureFile(path, f, MapPictureSource(map, ts, area, zoom, rock, labels), progress);
}

std::array<TGridRect, 4> QuarterAreas() {
    constexpr int h = MapSize / 2;
    return {TGridRect{0, 0, h - 1, h - 1}, TGridRect{h, 0, MapSize - 1, h - 1}, TGridRect{0, h, h - 1, MapSize - 1},
            TGridRect{h, h, MapSize - 1, MapSize - 1}};
}

std::array<QString, 4> QuarterFileNames(const QString& chosen) {
    static const char* const suffixes[4] = {"-top-left", "-top-right", "-bottom-left", "-bottom-right"};
    // The extension is what follows the last dot of the file-name part, if any.
    const int slash = chosen.lastIndexOf('/');
    const int dot = chosen.lastIndexOf('.');
    const bool hasExt = dot > slash + 1;
    const QString stem = hasExt ? chosen.left(dot) : chosen;
    const QString ext = hasExt ? chosen.mid(dot) : QString();
    std::array<QString, 4> names;
    for (int i = 0; i < 4; ++i) names[i] = stem + suffixes[i] + ext;
    return names;
}

QStringList ExportQuarterPictures(const QString& chosen, TPictureFormat f, const TMapRecord& map,
                                  const TRenderedTileset& ts, int zoom, const TProgressFn& progress, int rock) {
    const auto names = QuarterFileNames(chosen);
    const auto quarters = QuarterAreas();
    std::array<TPictureSource, 4> sources;
    for (int i = 0; i < 4; ++i) {
        CheckZoom(PathBytes(names[i]), zoom);
        sources[i] = MapPictureSource(map, ts, quarters[i], zoom, rock);
        CheckPictureSize(PathBytes(names[i]), f, sources[i].Width, sources[i].Height);
    }
    int total = 0;
    for (const auto& s : sources) total += s.BandCount();

    std::array<std::unique_ptr<TAtomicFile>, 4> files;
    int before = 0;
    for (int i = 0; i < 4; ++i) {
        files[i] = std::make_unique<TAtomicFile>(PathBytes(names[i]));
        TProgressFn step;
        if (progress) step = [&, before](int done, int) { return progress(before + done, total); };
        WritePictureTo(*files[i], f, sources[i], step);
        before += sources[i].BandCount();
    }
    QStringList written;
    for (int i = 0; i < 4; ++i) {
        files[i]->Commit();
        written << names[i];
    }
    return written;
}

} // namespace qm
