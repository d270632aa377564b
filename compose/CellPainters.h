#pragma once
// The per-cell paint callbacks of the map grid and of the symbol columns.
#include <QPainter>
#include <QRect>

#include "compose/CellCache.h"

namespace qm {

// One map cell: composition, scaled into rect, and when selected a 1-pixel black
// outline through (L+1,T+1), (R-1,T+1), (R-1,B-1), (L+1,B-1), R and B being the first
// pixel outside the cell. Served from the cache when given one.
void DrawMapGridCell(QPainter& p, int c, int r, const QRect& rect, bool selected, const TMapRecord& map,
                     const TRenderedTileset& ts, QImage& cellBitmap, TCellCache* cache);

// A cell already composed in cellBitmap (a maplet cell), scaled into rect and outlined
// when selected exactly as DrawMapGridCell does.
void DrawComposedGridCell(QPainter& p, const QRect& rect, bool selected, const QImage& cellBitmap);

// One row of a symbol column (the main window's and the maplet editor's): symbol s on white, scaled into rect, then an outline on
// (L,T), (R,T), (R,B), (L,B), red when selected and white otherwise.
void DrawSymbolCell(QPainter& p, int s, const QRect& rect, bool selected, const TRenderedTileset& ts,
                    QImage& cellBitmap, TCellCache* cache);

// The outline of a selected map cell, on its own.
void DrawSelectedCellOutline(QPainter& p, const QRect& rect, const QColor& color = Qt::black);

} // namespace qm
