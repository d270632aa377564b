#pragma once
// Bringing grid cells and rectangles into the 72 x 72 map: one rule for every caller.
#include "compose/GridRect.h"
#include "model/MapRecord.h"

namespace qm {

// True when 0-based grid column c and row r lie on the map.
inline bool InsideMapGrid(int c, int r) { return InsideMap(c + 1, r + 1); }

// A selection (0-based, corners in any order) put in order with each corner clamped
// into the map: never empty, so a tool always has at least one cell to work on.
inline TGridRect ClampSelectionToMap(const TGridRect& sel) {
    return NormalisedGridRect(sel.Left, sel.Top, sel.Right, sel.Bottom, MapSize, MapSize);
}

// The part of a 0-based area that lies on the map; Width() or Height() below 1 when the
// area misses it (pictures then have nothing to show).
constexpr TGridRect ClipAreaToMap(const TGridRect& a) {
    return {a.Left < 0 ? 0 : a.Left, a.Top < 0 ? 0 : a.Top, a.Right > MapSize - 1 ? MapSize - 1 : a.Right,
            a.Bottom > MapSize - 1 ? MapSize - 1 : a.Bottom};
}

} // namespace qm
