#pragma once
// The Room tool: a dragged rectangle becomes a room. Its border is a closed ring of wall
// terrain stamped by the smart stamp's rules, so it joins walls already there (rooms side
// by side share the wall they are drawn on, a room against a corridor meets it in T and
// corner pieces); the inside becomes floor.
#include <vector>

#include "compose/GridRect.h"
#include "editor/MapEdit.h"
#include "model/MapRecord.h"
#include "tiles/SymbolTable.h"

namespace qm {

// First symbol of the wall terrain row the ring is built from.
constexpr int RoomWallBase = 128;

// True when `symbol` is a floor for a room: a symbol that goes to the lower layer in `mode`.
bool IsRoomFloor(int symbol, TLayerMode mode, const TLayerFlags& layerFlags);

// Draws the room on `sel` (clamped into the map). The inside (the cells within the ring)
// loses every wall symbol (by the table) and takes `floor` on the lower layer when it is a
// room floor; with `keepInside` the inside is left alone. With `doorways`, where the ring
// crosses open floor that goes on outside the room (a corridor), the ring is left open: a
// one-cell crossing gets a door as the Door tool puts it (when the tileset has one for that
// wall), a wider one stays an open gap. True when a cell changed.
bool DrawRoom(TMapRecord& map, const TGridRect& sel, uint8_t floor, bool keepInside, TLayerMode mode,
              const TLayerFlags& layerFlags, const SymbolTable& table, bool doorways = false);

// A ring cell left open for a corridor, 0-based.
struct TRoomDoorway {
    int Col, Row;
    bool Vertical; // in a north-south side (left or right): the corridor runs east-west
};
// Where the ring of a room on `sel` crosses open floor (no wall, something on the floor or
// a door) whose outside neighbour is open floor too. Corners never.
std::vector<TRoomDoorway> RoomDoorways(const TMapRecord& map, const TGridRect& sel, const SymbolTable& table);

// Why the Room tool has nothing to work with in this table, or "" when it has.
const char* RoomToolUnavailable(const SymbolTable& table);

} // namespace qm
