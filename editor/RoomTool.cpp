#include "editor/RoomTool.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "compose/MapClamp.h"
#include "editor/DoorTool.h"
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

bool IsRoomWall(int s) { return s > RoomWallBase && s <= RoomWallBase + 15; }

// Open floor a corridor may run through: no wall, and a floor or a door in the cell.
bool IsOpenFloor(const TMapRecord& map, int c, int r, const SymbolTable& table) {
    if (c < 0 || r < 0 || c >= MapSize || r >= MapSize) return false;
    const TMapCell& cell = map.Cell(c + 1, r + 1);
    if (table[cell.Upper].role == SymbolRole::Wall || table[cell.Lower].role == SymbolRole::Wall) return false;
    return cell.Lower != 0 || table[cell.Upper].role == SymbolRole::Door;
}

// Opens the stamped ring again at the doorways: one-cell crossings take a door where the
// Door tool would put one; the rest get back the corridor they cut (the doorway cell and
// the cells on both sides without the wall the ring stamped into them).
void OpenDoorways(TMapRecord& map, const TMapRecord& before, const std::vector<TRoomDoorway>& doorways,
                  const SymbolTable& table) {
    const auto isDoorway = [&](int c, int r) {
        return std::any_of(doorways.begin(), doorways.end(),
                           [&](const TRoomDoorway& d) { return d.Col == c && d.Row == r; });
    };
    for (const TRoomDoorway& d : doorways) {
        // Along the ring: a doorway beside another is part of a wider crossing.
        const int ac = d.Vertical ? 0 : 1, ar = d.Vertical ? 1 : 0;
        const bool single = !isDoorway(d.Col - ac, d.Row - ar) && !isDoorway(d.Col + ac, d.Row + ar);
        if (single && PlaceDoor(map, d.Col + 1, d.Row + 1, table)) continue;
        // The cells across the ring: which of the two lies outside is the one that was open.
        const int oc = d.Vertical ? 1 : 0, orow = d.Vertical ? 0 : 1;
        map.Cell(d.Col + 1, d.Row + 1) = before.Cell(d.Col + 1, d.Row + 1);
        for (const int side : {-1, 1}) {
            const int c = d.Col + side * oc, r = d.Row + side * orow;
            if (c < 0 || r < 0 || c >= MapSize || r >= MapSize) continue;
            TMapCell& cell = map.Cell(c + 1, r + 1);
            const TMapCell& was = before.Cell(c + 1, r + 1);
            for (uint8_t* s : {&cell.Upper, &cell.Lower})
                if (IsRoomWall(*s) && !IsRoomWall(s == &cell.Upper ? was.Upper : was.Lower)) *s = 0;
        }
    }
}

} // namespace

bool IsRoomFloor(int symbol, TLayerMode mode, const TLayerFlags& layerFlags) {
    if (symbol <= 0 || symbol > 255 || mode == lmUpper) return false;
    return mode == lmLower || layerFlags[size_t(symbol)] == 0;
}

std::vector<TRoomDoorway> RoomDoorways(const TMapRecord& map, const TGridRect& sel, const SymbolTable& table) {
    const TGridRect g = ClampSelectionToMap(sel);
    std::vector<TRoomDoorway> found;
    const auto check = [&](int c, int r, int outC, int outR, bool vertical) {
        if (IsOpenFloor(map, c, r, table) && IsOpenFloor(map, outC, outR, table)) found.push_back({c, r, vertical});
    };
    for (int c = g.Left + 1; c < g.Right; ++c) {
        check(c, g.Top, c, g.Top - 1, false);
        if (g.Bottom > g.Top) check(c, g.Bottom, c, g.Bottom + 1, false);
    }
    for (int r = g.Top + 1; r < g.Bottom; ++r) {
        check(g.Left, r, g.Left - 1, r, true);
        if (g.Right > g.Left) check(g.Right, r, g.Right + 1, r, true);
    }
    return found;
}

bool DrawRoom(TMapRecord& map, const TGridRect& sel, uint8_t floor, bool keepInside, TLayerMode mode,
              const TLayerFlags& layerFlags, const SymbolTable& table, bool doorways) {
    const TGridRect g = ClampSelectionToMap(sel);
    const TMapRecord before = map;
    const std::vector<TRoomDoorway> openings = doorways ? RoomDoorways(map, g, table) : std::vector<TRoomDoorway>{};
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
    // The ring is opened again against the map as it was before the ring went in.
    const auto unringed = openings.empty() ? nullptr : std::make_unique<TMapRecord>(map);
    // A stamp may refit a ring cell stamped before it from cells it had not seen yet;
    // rounds go on until a whole round changes nothing, so every ring cell is a fixed
    // point of the stamp.
    for (int round = 0; round < 4; ++round) {
        const TMapRecord last = map;
        StampRing(map, g, mode);
        if (SameCells(last, map)) break;
    }
    if (unringed) OpenDoorways(map, *unringed, openings, table);
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
