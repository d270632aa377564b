#pragma once
// The Fill tool: a click fills the area around a cell. Every cell joined to it in the
// four directions that holds the same symbol on the layer the current symbol goes to
// takes the current symbol; walls (by the roles table) bound the area: a cell fully
// walled is never filled, a wall along a cell side is never crossed, and a door cell
// (any door kind of the roles table, a window too) is filled but the fill goes no further.
#include <cstdint>
#include <vector>

#include "compose/GridRect.h"
#include "editor/MapEdit.h"
#include "model/MapRecord.h"
#include "tiles/SymbolTable.h"

namespace qm {

// The sides of a cell that its walls close (EdgeN ...), CellFullyWalled when walls cover
// all four quarters, and CellOpening for a door or window (of any door kind).
constexpr uint8_t CellFullyWalled = 16, CellOpening = 32;
uint8_t CellBarriers(const TMapCell& cell, const SymbolTable& table);

struct TFillArea {
    bool Lower = false;     // the layer compared and painted
    uint8_t From = 0;       // the symbol the area holds there
    std::vector<int> Cells; // 0-based (column * MapSize + row) of each cell to fill
};

// The area a fill from 0-based (col, row) would take, bounded by `bound` (0-based,
// clamped into the map); empty when the cell is outside it or fully walled.
TFillArea FillAreaAt(const TMapRecord& map, int col, int row, const TGridRect& bound, uint8_t symbol, TLayerMode mode,
                     const TLayerFlags& layerFlags, const SymbolTable& table);

// Fills from (col, row) within `bound` with `symbol`, painted as the Draw tool paints.
// True when a cell changed.
bool FillFrom(TMapRecord& map, int col, int row, const TGridRect& bound, uint8_t symbol, TLayerMode mode,
              const TLayerFlags& layerFlags, const SymbolTable& table);

} // namespace qm
