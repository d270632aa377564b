#pragma once
// Furnishing rooms by what they are for, from the tileset's own symbols found by name, and
// lighting the rooms where people live.
#include <vector>

#include "generate/GenRooms.h"

namespace qm {

struct TGenSwitches {
    bool Doors = true, SecretDoors = true, Lights = true, Dressing = true;
};

// Ground, furniture and lights of one room. Cells in front of its doors stay free.
void DressRoom(TGenPlan& plan, TGenRandom& rng, const TGenRoom& room, const std::vector<TGenDoor>& doors,
               const TGenSwitches& sw);

// Free cells of the room: along its walls, or away from them.
std::vector<TGenPoint> WallSpots(const TGenPlan& plan, const TGenRoom& room);
std::vector<TGenPoint> MiddleSpots(const TGenPlan& plan, const TGenRoom& room);

// Puts `symbol` on up to `count` of the spots, in an order drawn from rng; returns how many.
int PutOn(TGenPlan& plan, TGenRandom& rng, std::vector<TGenPoint>& spots, int symbol, int count);

// Picks one purpose for a room of this size from the list, the same for the same draw.
TRoomPurpose PickPurpose(TGenRandom& rng, const TGenRoom& room, std::initializer_list<TRoomPurpose> choices);

// Notes what the tileset lacks for doors, secret doors, lights and floors.
void NoteDoorsMissing(TGenPalette& p, const TGenSwitches& sw);
// The party's way in on a free cell of the room, with `symbol` (stairs) when not 0.
void PlaceEntrance(TGenPlan& plan, TGenRandom& rng, const TGenRoom& room, int symbol);

} // namespace qm
