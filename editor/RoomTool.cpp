#include "editor/RoomTool.h"

#include <cstring>

#include "compose/MapClamp.h"
#include "editor/SmartTerrain.h"

namespace qm {

namespace {

// Stamps every ring cell, clockwise from the top-left corner.
void StampRing(TMapRecord& map, const TGridRect& g, TLayerMode mode) {
    const auto stamp = [&](int c, int r) { StampSmartTerrain(map, c + 1, r + 1, RoomWallBase, mode); };
    for (int c = g.Left; c <= g.Right; ++c) stamp(c, g.Top);
    for (int r = g.Top + 1; r <= g.Bottom; ++r) stamp(g.Right, r);
    for (int c = g.Right - 1; c >= g.Left && g.Bottom > g.Top; --c) stamp(c, g.Bottom);
    for (int r = g.Bottom - 1; r > g.Top && g.Right > g.Left; --r) stamp(g.Left, r);
}

bool SameCells(const TMapRecord& a, const TMapRecord& b) { return std::memcmp(a.Cells, b.Cells, sizeof a.Cells) == 0; }

} // namespace

bool IsRoomFloor(int symbol, TLayerMode mode, const TLayerFlags& layerFlags) {
    if (symbol <= 0 || symbol > 255 || mode == lmUpper) return false;
    return mode == lmLower || layerFlags[size_t(symbol)] == 0;
}

bool DrawRoom(TMapRecord& map, const TGridRect& sel, uint8_t floor, bool keepInside, TLayerMode mode,
              const TLayerFlags& layerFlags, const SymbolTable& table) {
    const TGridRect g = ClampSelectionToMap(sel);
    const TMapRecord before = map;
    if (!keepInside) {
        const bool paintFloor = IsRoomFloor(floor, mode, layerFlags);
        for (int c = g.Left + 1; c < g.Right; ++c)
            for (int r = g.Top + 1; r < g.Bottom; ++r) {
                TMapCell& cell = map.Cell(c + 1, r + 1);
                for (uint8_t* s : {&cell.Upper, &cell.Lower})
                    if (table[*s].role == SymbolRole::Wall) *s = 0;
                if (paintFloor) cell.Lower = floor;
            }
    }
    // A stamp may refit a ring cell stamped before it from cells it had not seen yet;
    // rounds go on until a whole round changes nothing, so every ring cell is a fixed
    // point of the stamp.
    for (int round = 0; round < 4; ++round) {
        const TMapRecord last = map;
        StampRing(map, g, mode);
        if (SameCells(last, map)) break;
    }
    return !SameCells(before, map);
}

const char* RoomToolUnavailable(const SymbolTable& table) {
    for (int k = 1; k <= 15; ++k)
        if (table[size_t(RoomWallBase + k)].role != SymbolRole::Wall)
            return "This tileset's symbols 129 to 143 are not all walls in its roles table, so there is no wall "
                   "terrain to build rooms from.";
    return "";
}

} // namespace qm
