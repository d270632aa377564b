#pragma once
// Rooms, the doors in their walls and the corridors between them, shared by the dungeon
// and the keep. A room is a rectangle of plan cells carved out of wall; its wall is the
// ring of plan cells around it.
#include <vector>

#include "generate/GenPlan.h"

namespace qm {

enum class TRoomPurpose {
    Plain,
    Hall,
    Throne,
    Shrine,
    Library,
    Barracks,
    Storeroom,
    Crypt,
    Kitchen,
    Armoury,
    Prison,
    Bedchamber,
    Chapel,
    Tower
};

struct TGenDoor {
    TGenPoint a, b;    // the two plan cells of the gap, west to east or north to south
    bool inNorthSouth; // the wall runs north-south (the door is crossed from east to west)
    TGenPoint outside; // the corner just outside the wall where a corridor starts
    int room = -1;     // the room it belongs to
    int symbol = 0;    // what stands in the gap: a door, a secret door, a window or 0
};

struct TGenRoom {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0; // interior cells, inclusive
    int chamfer = 0;                    // corners cut off, in cells
    TRoomPurpose purpose = TRoomPurpose::Plain;
    int Width() const { return x1 - x0 + 1; }
    int Height() const { return y1 - y0 + 1; }
    int CentreC() const { return (x0 + x1) / 2; }
    int CentreR() const { return (y0 + y1) / 2; }
    bool Contains(int c, int r) const { return c >= x0 && c <= x1 && r >= y0 && r <= y1; }
};

// Tries `tries` rectangles of interior size minSize..maxSize inside `bounds` and keeps those
// whose interiors lie at least `gap` cells from every other room.
std::vector<TGenRoom> PlaceRooms(TGenRandom& rng, const TGridRect& bounds, int count, int minSize, int maxSize, int gap,
                                 int tries);
// Carves the room's interior out of the plan (with its chamfered corners left standing).
void CarveRoom(TGenPlan& plan, const TGenRoom& room);

// A door on the side of `room` that faces (c, r), at a random place along it; false when
// the side is too short.
bool DoorToward(TGenRandom& rng, const TGenRoom& room, int roomIndex, int c, int r, TGenDoor& door);
// A door on a given side: 0 north, 1 east, 2 south, 3 west.
bool DoorOnSide(TGenRandom& rng, const TGenRoom& room, int roomIndex, int side, TGenDoor& door);
// The same at a given place along the side; false when it is off the side.
bool DoorOnSideAt(const TGenRoom& room, int roomIndex, int side, int at, TGenDoor& door);
// A door somewhere along a wall of plan cells: at column `line` from row lo to hi when the
// wall runs north-south, else at row `line` from column lo to hi; only where both sides of
// the gap are open. False when there is no such place.
bool DoorInWall(const TGenPlan& plan, TGenRandom& rng, bool northSouth, int line, int lo, int hi, int room,
                TGenDoor& door);
// Opens the gap of the door and the corner outside it.
void CutDoor(TGenPlan& plan, const TGenDoor& door);
// The door's gap still has wall at both ends and open floor on both sides.
bool DoorHolds(const TGenPlan& plan, const TGenDoor& door);

// The cells no corridor may open: every room with its wall.
std::vector<unsigned char> RoomReserve(const std::vector<TGenRoom>& rooms);

// Opens a corridor of corners from `from` to `to`, going straight where it can, reusing open
// corridors, never through reserved cells. False when there is no way.
bool CarveCorridor(TGenPlan& plan, TGenRandom& rng, const std::vector<unsigned char>& reserved, TGenPoint from,
                   TGenPoint to);

} // namespace qm
