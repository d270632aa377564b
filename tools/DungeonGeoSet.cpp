// The default GeoSet: an indoor dungeon of halls, winding corridors, store rooms and vaults,
// with doors where corridors enter rooms and stairs leading on. Passages from the inner
// sides run over cells 6 and 7; objects keep clear of both middle rows and columns.
#include "tools/MapletDraft.h"

namespace gen {
namespace {

// A hall off to the west; a corridor east passes a closet and leads on when a maplet
// lies there.
void HallWest(Draft& d) {
    d.Floor(1, 1, 12, 12);
    d.Cells(2, 4, 5, 10);
    d.Cells(2, 4, 7, 8);
    d.Cells(8, 6, 10, 7);
    d.Cells(10, 8, 10, 9);
    d.Cells(10, 10, 11, 11);
    d.Lane(N, 3);
    d.Lane(W, 1);
    d.Cells(6, 9, 7, 10);
    d.Lane(S, 2);
    d.Lane(E, 2);
    d.Put(8, 6, DoorNS);
    d.Put(8, 7, DoorNS);
    d.Put(10, 8, DoorEW);
    d.Put(3, 5, Pillar);
    d.Put(3, 9, StairsDown);
    d.Put(5, 9, Pillar);
    d.Put(11, 11, Chest);
    d.Put(10, 11, Barrel);
    d.Put(11, 10, Trap);
    d.MouthDoors();
}

// A hall to the north-east with an altar; corridors from the west and south meet it at doors.
void ShrineEast(Draft& d) {
    d.Ground(1, 1, 12, 12, Flagstone);
    d.Ground(6, 3, 11, 8, Marble);
    d.Cells(6, 3, 11, 8);
    d.Cells(2, 6, 5, 7);
    d.Cells(6, 9, 7, 10);
    d.Cells(2, 8, 3, 10); // a dead end below the west corridor
    d.Lane(N, 2);
    d.Lane(W, 1);
    d.Lane(S, 2);
    d.Lane(E, 1);
    d.Put(5, 6, DoorNS);
    d.Put(5, 7, DoorNS);
    d.Put(6, 9, DoorEW);
    d.Put(7, 9, DoorEW);
    d.Put(9, 4, Altar);
    d.Put(8, 4, Statue);
    d.Put(10, 4, Statue);
    d.Put(11, 8, StairsUp);
    d.Put(2, 10, Bones);
    d.Put(3, 10, Rubble);
}

// Corridors that wind: down from the north, east, down, back west; the west and south
// passages join the loop at its sides, so no crossing is four-way.
void Winding(Draft& d) {
    d.Ground(1, 1, 12, 12, Flagstone);
    d.Cells(6, 2, 7, 4);
    d.Cells(6, 3, 10, 4);
    d.Cells(9, 3, 10, 9);
    d.Cells(3, 8, 10, 9);
    d.Cells(2, 6, 3, 9);
    d.Cells(6, 10, 7, 10);
    d.Cells(11, 6, 11, 7);
    d.Lane(N, 1);
    d.Lane(W, 1);
    d.Lane(S, 2);
    d.Lane(E, 1);
    d.Put(10, 3, Web);
    d.Put(3, 9, Bones);
    d.Put(9, 9, Rubble);
}

// A corridor from west to east; the north passage meets it as a T, the south one reaches
// it through a guard room with a side door, and a blind alley runs north to a cache.
void TeeAndGuardRoom(Draft& d) {
    d.Ground(1, 1, 12, 12, Flagstone);
    d.Cells(2, 6, 11, 7);
    d.Cells(6, 2, 7, 5);
    d.Cells(10, 2, 11, 5);
    d.Cells(3, 8, 3, 9);
    d.Floor(2, 10, 11, 11);
    d.Cells(2, 10, 11, 11);
    d.Lane(N, 1);
    d.Lane(W, 1);
    d.Lane(S, 1);
    d.Lane(E, 1);
    d.Put(3, 9, DoorEW);
    d.Put(10, 2, Treasure);
    d.Put(11, 3, Trap);
    d.Put(9, 10, Table);
    d.Put(10, 10, Chair);
    d.Put(2, 11, Bed);
    d.Put(4, 11, Bed);
    d.Put(11, 11, Barrel);
}

// A crypt off the middle: the west passage reaches it along a corridor.
void Crypt(Draft& d) {
    d.Ground(1, 1, 12, 12, Flagstone);
    d.Ground(4, 3, 11, 9, Marble);
    d.Cells(4, 3, 11, 9);
    d.Cells(2, 6, 3, 7);
    d.Cells(6, 10, 7, 10);
    d.Lane(N, 2);
    d.Lane(W, 1);
    d.Lane(S, 2);
    d.Lane(E, 1);
    d.Put(2, 6, DoorNS);
    d.Put(2, 7, DoorNS);
    d.Put(9, 4, Altar);
    d.Put(8, 4, Statue);
    d.Put(10, 4, Statue);
    d.Put(4, 4, Grave);
    d.Put(4, 8, Grave);
    d.Put(5, 9, Pillar);
    d.Put(10, 9, Pillar);
    d.Put(11, 8, Treasure);
    d.Put(9, 9, Monster);
    d.MouthDoors();
}

// A library in the north-west with a reading room behind a door to the south-east.
void Library(Draft& d) {
    d.Ground(1, 1, 12, 12, Flagstone);
    d.Ground(2, 2, 8, 8, Planks);
    d.Ground(3, 3, 5, 5, Carpet);
    d.Cells(2, 2, 8, 8);
    d.Cells(9, 6, 10, 7);
    d.Cells(10, 8, 10, 9);
    d.Ground(10, 10, 11, 11, Carpet);
    d.Cells(10, 10, 11, 11);
    d.Cells(6, 9, 7, 10);
    d.Lane(N, 1);
    d.Lane(W, 1);
    d.Lane(S, 2);
    d.Lane(E, 2);
    for (int x : {2, 3, 4, 5, 8}) d.Put(x, 2, Bookshelf);
    d.Put(2, 4, Bookshelf);
    d.Put(2, 8, Bookshelf);
    d.Put(4, 4, Table);
    d.Put(5, 4, Chair);
    d.Put(4, 8, Note);
    d.Put(10, 8, DoorEW);
    d.Put(10, 10, Table);
    d.Put(11, 10, Chair);
    d.Put(10, 11, Bookshelf);
    d.Put(11, 11, SecretDoor);
    d.Put(6, 9, DoorEW);
    d.Put(7, 9, DoorEW);
}

// A flooded cistern: a walk runs round the pool.
void Cistern(Draft& d) {
    d.Ground(1, 1, 12, 12, Flagstone);
    d.Cells(3, 3, 10, 10);
    d.Lanes(2);
    d.Feature(4, 4, 8, 8, WaterBase);
    d.Put(5, 8, Boat);
    d.Put(3, 3, Barrel);
    d.Put(10, 10, Lever);
    d.Put(10, 3, Torch);
    d.MouthDoors();
}

// A vault of lava channels guarding a hoard in a corner.
void LavaVault(Draft& d) {
    d.Ground(1, 1, 12, 12, Ash);
    d.Cells(3, 3, 10, 10);
    d.Lanes(2);
    d.Feature(4, 7, 5, 9, FireBase);
    d.Feature(8, 4, 9, 5, FireBase);
    d.Put(3, 3, Treasure);
    d.Put(10, 10, Statue);
    d.Put(3, 10, Statue);
    d.Put(10, 3, Chest);
    d.MouthDoors();
}

// Store rooms in the four quarters behind doors: a corridor from west to east with the
// north passage joining as a T; the south passage comes in through the south-west store.
void StoreRooms(Draft& d) {
    d.Ground(1, 1, 12, 12, Flagstone);
    d.Cells(2, 6, 11, 7);
    d.Cells(6, 2, 7, 5);
    d.Ground(2, 2, 3, 3, Planks);
    d.Cells(2, 2, 3, 3);
    d.Cells(3, 4, 3, 5);
    d.Ground(10, 2, 11, 3, Planks);
    d.Cells(10, 2, 11, 3);
    d.Cells(10, 4, 10, 5);
    d.Ground(2, 10, 7, 11, Planks);
    d.Cells(2, 10, 7, 11);
    d.Cells(3, 8, 3, 9);
    d.Cells(10, 10, 11, 11);
    d.Cells(10, 8, 10, 9);
    d.Lane(N, 1);
    d.Lane(W, 1);
    d.Lane(S, 1);
    d.Lane(E, 1);
    d.Put(3, 5, DoorEW);
    d.Put(10, 5, DoorLocked);
    d.Put(3, 8, DoorEW);
    d.Put(10, 8, DoorEW);
    d.Put(2, 2, Crate);
    d.Put(3, 2, BigCrateStack);
    d.Put(2, 3, Barrel);
    d.Put(10, 2, Chest);
    d.Put(11, 2, Treasure);
    d.Put(2, 11, CrateStack);
    d.Put(2, 10, Barrel);
    d.Put(4, 11, Crate);
    d.Put(11, 11, StairsDown);
}

// Barracks: bunks in a long room to the north, a forge to the south, a blind closet.
void Barracks(Draft& d) {
    d.Ground(1, 1, 12, 12, Flagstone);
    d.Ground(2, 2, 11, 3, Planks);
    d.Cells(2, 2, 11, 3);
    d.Cells(9, 4, 9, 5);
    d.Cells(2, 6, 11, 7);
    d.Ground(6, 10, 11, 11, Gravel);
    d.Cells(6, 10, 11, 11);
    d.Cells(10, 8, 10, 9);
    d.Cells(2, 10, 3, 11);
    d.Cells(2, 8, 2, 9);
    d.Lane(N, 1);
    d.Lane(W, 1);
    d.Lane(S, 1);
    d.Lane(E, 1);
    for (int x : {2, 4, 9, 11}) d.Put(x, 2, Bed);
    d.Put(3, 3, Table);
    d.Put(4, 3, Chair);
    d.Put(9, 5, DoorEW);
    d.Put(10, 8, DoorEW);
    d.Put(9, 11, Forge);
    d.Put(10, 11, Anvil);
    d.Put(11, 10, Barrel);
    d.Put(8, 10, Cauldron);
    d.Put(2, 10, Rubble);
    d.Put(3, 11, Bones);
}

// A throne room on the side away from the map's edge, entered through doors.
void ThroneRoom(Draft& d) {
    d.Ground(1, 1, 12, 12, Marble);
    d.Cells(4, 4, 9, 9);
    d.Lanes(3);
    d.Ground(5, 4, 8, 9, Carpet);
    if (!d.Has(N)) {
        d.Put(5, 4, Throne);
        d.Put(8, 4, Statue);
    } else if (!d.Has(S)) {
        d.Put(5, 9, Throne);
        d.Put(8, 9, Statue);
    } else {
        d.Put(4, 4, Throne);
    }
    for (int x : {4, 9})
        for (int y : {5, 8}) d.Put(x, y, Pillar);
    d.Put(9, 9, Chest);
    d.MouthDoors();
}

// Two pits in a wide room, one with a ladder down.
void Pit(Draft& d) {
    d.Ground(1, 1, 12, 12, Gravel);
    d.Cells(3, 3, 10, 10);
    d.Lanes(2);
    d.Feature(3, 3, 4, 4, HoleBase);
    d.Feature(8, 8, 9, 9, HoleBase);
    d.Put(4, 4, Ladder);
    d.Put(3, 9, Spikes);
    d.Put(9, 3, Spikes);
    d.Put(10, 3, StairsDown);
    d.Put(4, 10, Bones);
}

// Six sections for each of the nine positions.
const Design Sections[9][6] = {
    /* 1 Upper Left   */ {HallWest, Library, StoreRooms, Crypt, Winding, ThroneRoom},
    /* 2 Upper Center */ {TeeAndGuardRoom, Library, Cistern, Barracks, ShrineEast, Winding},
    /* 3 Upper Right  */ {ThroneRoom, ShrineEast, Barracks, StoreRooms, Winding, Crypt},
    /* 4 Left         */ {HallWest, Pit, Winding, Cistern, StoreRooms, Library},
    /* 5 Center       */ {Winding, TeeAndGuardRoom, HallWest, Cistern, ShrineEast, StoreRooms},
    /* 6 Right        */ {Barracks, Crypt, TeeAndGuardRoom, LavaVault, ShrineEast, Pit},
    /* 7 Lower Left   */ {Crypt, HallWest, StoreRooms, LavaVault, Winding, Pit},
    /* 8 Lower Center */ {Library, TeeAndGuardRoom, ThroneRoom, Winding, Cistern, Barracks},
    /* 9 Lower Right  */ {ShrineEast, LavaVault, Winding, StoreRooms, Crypt, ThroneRoom},
};
} // namespace

ThemeDesigns DungeonDesigns() { return {WallBase, Flagstone, Flagstone, Flagstone, Sections}; }

} // namespace gen
