#include "editor/DoorTool.h"

#include <algorithm>

#include "editor/SmartTerrain.h"

namespace qm {

namespace {

bool IsDoorWall(int s) { return s > DoorWallBase && s <= DoorWallBase + 15; }

// The wall terrain shape a cell holds on either layer (upper first); 0 for none or outside.
int WallShape(const TMapRecord& map, int col, int row) {
    if (!InsideMap(col, row)) return 0;
    const TMapCell& cell = map.Cell(col, row);
    if (IsDoorWall(cell.Upper)) return cell.Upper - DoorWallBase;
    if (IsDoorWall(cell.Lower)) return cell.Lower - DoorWallBase;
    return 0;
}

bool Covers(const TMapRecord& map, int col, int row, unsigned quarters) {
    return (TerrainShapeQuarters(WallShape(map, col, row)) & quarters) == quarters;
}

bool IsWallCell(const TMapRecord& map, int col, int row, const SymbolTable& table) {
    if (!InsideMap(col, row)) return false;
    const TMapCell& cell = map.Cell(col, row);
    return table[cell.Upper].role == SymbolRole::Wall || table[cell.Lower].role == SymbolRole::Wall;
}

// A terrain wall one full cell thick at (col, row): full there, joined on both sides
// along its run, and only its half-wall pieces in front and behind. 1 east-west, 2
// north-south, 0 neither.
int TerrainWallRun(const TMapRecord& map, int col, int row) {
    if (WallShape(map, col, row) != 13) return 0;
    if (Covers(map, col - 1, row, qNE | qSE) && Covers(map, col + 1, row, qNW | qSW) &&
        WallShape(map, col, row - 1) == 2 && WallShape(map, col, row + 1) == 1)
        return 1;
    if (Covers(map, col, row - 1, qSW | qSE) && Covers(map, col, row + 1, qNW | qNE) &&
        WallShape(map, col - 1, row) == 4 && WallShape(map, col + 1, row) == 3)
        return 2;
    return 0;
}

TDoorPlan WithKind(TDoorPlan p, const SymbolTable& table) {
    const std::vector<uint8_t> kinds = DoorKinds(table, p.Vertical);
    if (kinds.empty()) {
        p.Action = TDoorAction::NoKind;
        return p;
    }
    if (p.Action == TDoorAction::Cycle) {
        const auto at = std::find(kinds.begin(), kinds.end(), p.From);
        p.To = at == kinds.end() || at + 1 == kinds.end() ? kinds.front() : *(at + 1);
    } else p.To = kinds.front();
    return p;
}

} // namespace

std::vector<uint8_t> DoorKinds(const SymbolTable& table, bool vertical) {
    std::vector<uint8_t> kinds;
    const uint8_t bit = vertical ? DoorCycleV : DoorCycleH;
    for (int s = 1; s < 256; ++s)
        if (table[size_t(s)].doorCycle & bit) kinds.push_back(uint8_t(s));
    return kinds;
}

TDoorPlan PlanDoor(const TMapRecord& map, int col, int row, const SymbolTable& table) {
    TDoorPlan p;
    if (!InsideMap(col, row)) return p;
    p.Col = col;
    p.Row = row;
    const TMapCell& cell = map.Cell(col, row);

    // A door already: the next kind of its direction.
    for (const bool lower : {false, true}) {
        const uint8_t s = lower ? cell.Lower : cell.Upper;
        const uint8_t cycle = table[s].doorCycle;
        if (s == 0 || cycle == 0) continue;
        p.Action = TDoorAction::Cycle;
        p.Lower = lower;
        p.From = s;
        if (cycle == (DoorCycleH | DoorCycleV))
            p.Vertical = !(IsWallCell(map, col - 1, row, table) && IsWallCell(map, col + 1, row, table)) &&
                         IsWallCell(map, col, row - 1, table) && IsWallCell(map, col, row + 1, table);
        else p.Vertical = cycle == DoorCycleV;
        return WithKind(p, table);
    }

    // A thin wall along one side, or two opposite sides, of the cell.
    for (const bool lower : {false, true}) {
        const uint8_t s = lower ? cell.Lower : cell.Upper;
        const SymbolTraits& t = table[s];
        if (s == 0 || t.role != SymbolRole::Wall || t.quarters != 0 || t.edges == 0) continue;
        const bool eastWest = (t.edges & (EdgeE | EdgeW)) == 0, northSouth = (t.edges & (EdgeN | EdgeS)) == 0;
        if (!eastWest && !northSouth) return p; // a corner holds no door
        p.Action = TDoorAction::Place;
        p.Lower = lower;
        p.From = s;
        p.Vertical = northSouth;
        return WithKind(p, table);
    }

    // Wall terrain: the full piece of the wall, or one of the half pieces beside it.
    const int toward[5][2] = {{0, 0}, {0, -1}, {0, 1}, {-1, 0}, {1, 0}}; // where the full piece lies
    const int shape = WallShape(map, col, row);
    int zc = col, zr = row;
    if (shape >= 1 && shape <= 4) {
        zc += toward[shape][0];
        zr += toward[shape][1];
    }
    const int run = TerrainWallRun(map, zc, zr);
    if (run == 0 || (shape != 13 && (shape <= 2) != (run == 1))) return p;
    const TMapCell& z = map.Cell(zc, zr);
    p.Action = TDoorAction::Place;
    p.Col = zc;
    p.Row = zr;
    p.Terrain = true;
    p.Vertical = run == 2;
    p.Lower = !IsDoorWall(z.Upper);
    p.From = p.Lower ? z.Lower : z.Upper;
    return WithKind(p, table);
}

bool PlaceDoor(TMapRecord& map, int col, int row, const SymbolTable& table) {
    const TDoorPlan p = PlanDoor(map, col, row, table);
    if (p.Action != TDoorAction::Place && p.Action != TDoorAction::Cycle) return false;
    if (p.From == p.To) return false;
    TMapCell& z = map.Cell(p.Col, p.Row);
    if (!p.Terrain) {
        (p.Lower ? z.Lower : z.Upper) = p.To;
        return true;
    }
    // The two half-wall cells across the wall open; the door stands on the upper layer
    // over the floor (or on the lower layer when the upper one holds something else).
    const int dc = p.Vertical ? 1 : 0, dr = p.Vertical ? 0 : 1;
    uint8_t floor = 0;
    for (const int side : {-1, 1}) {
        TMapCell& half = map.Cell(p.Col + side * dc, p.Row + side * dr);
        for (uint8_t* s : {&half.Upper, &half.Lower})
            if (IsDoorWall(*s)) *s = 0;
        if (!floor && table[half.Lower].role == SymbolRole::None) floor = half.Lower;
    }
    for (uint8_t* s : {&z.Upper, &z.Lower})
        if (IsDoorWall(*s)) *s = 0;
    if (z.Upper == 0) {
        z.Upper = p.To;
        if (z.Lower == 0) z.Lower = floor;
    } else z.Lower = p.To;
    return true;
}

const char* DoorToolUnavailable(const SymbolTable& table) {
    if (DoorKinds(table, false).empty() && DoorKinds(table, true).empty())
        return "This tileset's roles table names no door or window (role door or window with axis=h or axis=v), "
               "so there is no door to put in a wall.";
    return "";
}

} // namespace qm
