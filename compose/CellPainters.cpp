#include "compose/CellPainters.h"

#include <algorithm>

namespace qm {

namespace {

// A closed 1-pixel outline over the pixels x1..x2, y1..y2 (inclusive), as fills so
// the result does not depend on how the paint engine ends a line.
void Outline(QPainter& p, int x1, int y1, int x2, int y2, const QColor& color) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const int w = x2 - x1 + 1, h = y2 - y1 + 1;
    p.fillRect(QRect(x1, y1, w, 1), color);
    p.fillRect(QRect(x1, y2, w, 1), color);
    p.fillRect(QRect(x1, y1, 1, h), color);
    p.fillRect(QRect(x2, y1, 1, h), color);
}

bool PlainDevice(const QPainter& p) { return p.transform().type() <= QTransform::TxTranslate; }

} // namespace

void DrawSelectedCellOutline(QPainter& p, const QRect& rect, const QColor& color) {
    const int r = rect.left() + rect.width(), b = rect.top() + rect.height();
    Outline(p, rect.left() + 1, rect.top() + 1, r - 1, b - 1, color);
}

void DrawComposedGridCell(QPainter& p, const QRect& rect, bool selected, const QImage& cellBitmap) {
    if (rect.isEmpty()) return;
    DrawScaledCell(p, rect, cellBitmap);
    if (selected) DrawSelectedCellOutline(p, rect);
}

void DrawMapGridCell(QPainter& p, int c, int r, const QRect& rect, bool selected, const TMapRecord& map,
                     const TRenderedTileset& ts, QImage& cellBitmap, TCellCache* cache) {
    if (rect.isEmpty()) return;
    if (cache && PlainDevice(p)) {
        p.drawImage(rect.topLeft(), cache->MapCell(map, ts, c, r, rect.size(), cellBitmap));
        if (selected) DrawSelectedCellOutline(p, rect);
        return;
    }
    ComposeMapCell(cellBitmap, map, ts, c, r);
    DrawComposedGridCell(p, rect, selected, cellBitmap);
}

void DrawSymbolCell(QPainter& p, int s, const QRect& rect, bool selected, const TRenderedTileset& ts,
                    QImage& cellBitmap, TCellCache* cache) {
    if (rect.isEmpty() || s < 0 || s > 255) return;
    const uint8_t sym = static_cast<uint8_t>(s);
    if (cache && PlainDevice(p)) {
        p.drawImage(rect.topLeft(), cache->Symbol(ts, sym, rect.size(), cellBitmap));
    } else {
        ComposeSymbol(cellBitmap, ts, sym);
        DrawScaledCell(p, rect, cellBitmap);
    }
    Outline(p, rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height(),
            selected ? QColor(Qt::red) : QColor(Qt::white));
}

} // namespace qm
