#include "compose/Compose.h"

#include <algorithm>

#include "compose/MapClamp.h"

namespace qm {

namespace {

// Sized and filled white; an unrendered tileset still gives a (blank) 1 x 1 cell.
void PrepareCellBitmap(QImage& bmp, int tileSize) {
    const int n = std::max(tileSize, 1);
    if (bmp.width() != n || bmp.height() != n || bmp.format() != QImage::Format_RGB32)
        bmp = QImage(n, n, QImage::Format_RGB32);
    bmp.fill(0xffffffffu);
}

// Null when the tileset is not rendered or does not provide the symbol.
const QImage* SymbolImage(const TRenderedTileset& ts, uint8_t s) {
    if (!ts.IsRendered()) return nullptr;
    const QImage& im = ts.DesktopPalette[s];
    return im.isNull() ? nullptr : &im;
}

void DrawSymbol(QPainter& p, const TRenderedTileset& ts, uint8_t s) {
    if (const QImage* im = SymbolImage(ts, s)) p.drawImage(0, 0, *im);
}

} // namespace

bool IsHiddenSymbol(const TMapRecord& map, const TRenderedTileset& ts, uint8_t s) {
    return map.ShowHidden == 0 && ts.HiddenFlags[s] != 0;
}

uint8_t BackgroundForRow(uint8_t background, int gridRow) {
    if (background != 11) return background;
    return (gridRow & 1) == 0 ? 11 : 10;
}

TCellLayers VisibleLayers(const TMapRecord& map, const TRenderedTileset& ts, int c, int r) {
    TCellLayers l;
    l.Background = BackgroundForRow(map.Background, r);
    if (!InsideMapGrid(c, r)) return l;
    const TMapCell& cell = map.Cell(c + 1, r + 1);
    // A hidden symbol left out shows what players see in its place, if anything.
    // The frame of a secret door's passage shows the wall running straight past it.
    auto shown = [&](uint8_t s) -> uint8_t {
        if (s == 0) return s;
        if (!IsHiddenSymbol(map, ts, s))
            return map.ShowHidden == 0 && ts.Roles ? PlayerFrameAt(*ts.Roles, ts.HiddenFlags, s, map, c, r) : s;
        return ts.Roles ? PlayerSymbolAt(*ts.Roles, s, map, c, r) : 0;
    };
    l.Lower = shown(cell.Lower);
    l.Upper = shown(cell.Upper);
    return l;
}

void ComposeCell(QImage& cellBitmap, const TRenderedTileset& ts, uint8_t background, uint8_t lower, uint8_t upper) {
    PrepareCellBitmap(cellBitmap, ts.TileSize);
    if (background == 0 && lower == 0 && upper == 0) return;
    QPainter p(&cellBitmap);
    if (background != 0) DrawSymbol(p, ts, background);
    if (lower != 0) DrawSymbol(p, ts, lower);
    if (upper != 0) DrawSymbol(p, ts, upper);
}

void ComposeMapCell(QImage& cellBitmap, const TMapRecord& map, const TRenderedTileset& ts, int c, int r) {
    const TCellLayers l = VisibleLayers(map, ts, c, r);
    ComposeCell(cellBitmap, ts, l.Background, l.Lower, l.Upper);
}

void ComposeSymbol(QImage& cellBitmap, const TRenderedTileset& ts, uint8_t s) {
    PrepareCellBitmap(cellBitmap, ts.TileSize);
    if (!SymbolImage(ts, s)) return;
    QPainter p(&cellBitmap);
    DrawSymbol(p, ts, s);
}

QImage ScaleCellBitmap(const QImage& cellBitmap, const QSize& size) {
    if (cellBitmap.isNull() || size.isEmpty()) return QImage();
    if (cellBitmap.size() == size) return cellBitmap;
    // Shrinking averages the covered pixels so thin lines survive at 8 and 16 px;
    // growing repeats pixels so the art stays crisp instead of blurring.
    const bool shrinking = size.width() < cellBitmap.width() || size.height() < cellBitmap.height();
    return cellBitmap.scaled(size, Qt::IgnoreAspectRatio,
                             shrinking ? Qt::SmoothTransformation : Qt::FastTransformation);
}

void DrawScaledCell(QPainter& p, const QRect& target, const QImage& cellBitmap) {
    if (target.isEmpty() || cellBitmap.isNull()) return;
    const QTransform::TransformationType t = p.transform().type();
    if (t > QTransform::TxTranslate) {
        p.save();
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(QRectF(target), cellBitmap);
        p.restore();
        return;
    }
    p.drawImage(target.topLeft(), ScaleCellBitmap(cellBitmap, target.size()));
}

} // namespace qm
