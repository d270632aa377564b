#pragma once
// The Door tool: a click on a wall puts a door of that wall's direction there; a click on
// a door steps on to the next door kind of its direction. The roles table says what is a
// wall, each door's axis, and which symbols are the door kinds of a direction.
#include <cstdint>
#include <vector>

#include "model/MapRecord.h"
#include "tiles/SymbolTable.h"

namespace qm {

// First symbol of the wall terrain row a door may open.
constexpr int DoorWallBase = 128;

enum class TDoorAction {
    NoWall, // nothing to put a door in
    NoKind, // a wall, but the tileset has no door kind for its direction
    Place,  // a door replaces a wall piece
    Cycle   // a door becomes the next kind
};

struct TDoorPlan {
    TDoorAction Action = TDoorAction::NoWall;
    int Col = 0, Row = 0;  // the door's cell, 1-based
    bool Vertical = false; // in a north-south wall
    bool Terrain = false;  // in wall terrain: the half-wall cells on both sides open too
    bool Lower = false;    // the layer of the replaced symbol
    uint8_t From = 0, To = 0;
};

// The door kinds of one direction, in symbol order (wooden first in the built-in tileset).
std::vector<uint8_t> DoorKinds(const SymbolTable& table, bool vertical);

// What a click on 1-based (col, row) would do.
TDoorPlan PlanDoor(const TMapRecord& map, int col, int row, const SymbolTable& table);

// Carries the click out. In wall terrain the door takes the full wall piece's cell and
// the half-wall cells in front of and behind it lose their wall, so the wall ends square
// at both sides of the door; the door's cell keeps a floor from one of them when it has
// none. True when a cell changed.
bool PlaceDoor(TMapRecord& map, int col, int row, const SymbolTable& table);

// Why the Door tool has nothing to work with in this table, or "" when it has.
const char* DoorToolUnavailable(const SymbolTable& table);

} // namespace qm
