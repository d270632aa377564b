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

// Composes map cell (c + 1, r + 1) (0-based grid column and row) into cellBitmap,
// sized TileSize x TileSize: white, background, lower, upper with the hidden test.
void ComposeMapCell(QImage& cellBitmap, const TMapRecord& map, const TRenderedTileset& ts, int c, int r);

// The bare symbol on a white TileSize square.
void ComposeSymbol(QImage& cellBitmap, const TRenderedTileset& ts, uint8_t s);

// A maplet cell: lower then upper, no background, hidden symbols drawn too.
void ComposeCell(QImage& cellBitmap, const TRenderedTileset& ts, uint8_t background, uint8_t lower, uint8_t upper);

// Draws cellBitmap scaled into the rectangle with the program's one scaling filter.
void DrawScaledCell(QPainter& p, const QRect& target, const QImage& cellBitmap);

} // namespace qm
