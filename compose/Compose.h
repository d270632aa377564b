#pragma once
// The one composition path for cells on screen, in the maplet editor, in exported
// pictures and on paper: compose at TileSize in CellBitmap, then scale.
#include <QImage>
#include <QPainter>
#include <QRect>
#include <cstdint>

#include "model/MapRecord.h"
#include "tiles/Tileset.h"

namespace qm {

// True when ShowHidden of the map is 0 and the symbol is a hidden symbol.
bool IsHiddenSymbol(const TMapRecord& map, const TRenderedTileset& ts, uint8_t s);

// The background symbol shown in grid row r (0-based): 11 alternates with 10.
uint8_t BackgroundForRow(uint8_t background, int gridRow);

// What a map cell shows after the row alternation and the hidden test (a hidden symbol
// left out gives way to what players see in its place, PlayerSymbolAt); 0 = nothing.
// Two cells with equal layers compose to equal pixels.
struct TCellLayers {
    uint8_t Background = 0, Lower = 0, Upper = 0;
    bool operator==(const TCellLayers&) const = default;
};
TCellLayers VisibleLayers(const TMapRecord& map, const TRenderedTileset& ts, int c, int r);

// Composes map cell (c + 1, r + 1) (0-based grid column and row) into cellBitmap,
// sized TileSize x TileSize: white, background, lower, upper with the hidden test.
void ComposeMapCell(QImage& cellBitmap, const TMapRecord& map, const TRenderedTileset& ts, int c, int r);

// The bare symbol on a white TileSize square.
void ComposeSymbol(QImage& cellBitmap, const TRenderedTileset& ts, uint8_t s);

// White, then background, lower and upper where not 0, with no hidden test. A maplet
// cell passes background 0 (maplets draw hidden symbols and no background).
void ComposeCell(QImage& cellBitmap, const TRenderedTileset& ts, uint8_t background, uint8_t lower, uint8_t upper);

// Draws cellBitmap scaled into the rectangle with the program's one scaling filter.
// On a painter that itself scales (printer, preview) the painter does the scaling.
void DrawScaledCell(QPainter& p, const QRect& target, const QImage& cellBitmap);

// The scaling filter on its own: cellBitmap brought to size (area average when
// shrinking, nearest pixel when growing). DrawScaledCell draws exactly this image.
QImage ScaleCellBitmap(const QImage& cellBitmap, const QSize& size);

} // namespace qm
