// The keep and town GeoSet: cobbled streets between walled houses, a tavern, a temple, the
// keep's great hall, a market and a gatehouse, all inside the town wall.
#include "tools/MapletDraft.h"

namespace gen {
namespace {

// The quarters between the middle streets: interior corners 1..3 or 9..11 each way.
constexpr int Lo = 1, Hi = 9;

// Streets over the middle cells, from every side to the middle.
void Streets(Draft& d) {
    d.Open(5, 1, 7, 11);
    d.Open(1, 5, 11, 7);
    d.Lanes(1);
}

// A house of 2 x 2 cells in a quarter, its door towards the street north or south of it.
void House(Draft& d, int qi, int qj, uint8_t floor) {
    d.Open(qi, qj, qi + 2, qj + 2);
    d.Ground(qi + 1, qj + 1, qi + 2, qj + 2, floor);
    const int doorX = qi == Lo ? qi + 2 : qi + 1;
    if (qj == Lo) {
        d.Cells(doorX, 4, doorX, 5);
        d.Put(doorX, 5, DoorEW);
    } else {
        d.Cells(doorX, 8, doorX, 9);
        d.Put(doorX, 8, DoorEW);
    }
}

// An open yard in a quarter, joined to the streets beside it.
void Yard(Draft& d, int qi, int qj, uint8_t ground) {
    const int i0 = qi == Lo ? 1 : 8, j0 = qj == Lo ? 1 : 8;
    d.Open(i0, j0, i0 + 3, j0 + 3);
    d.Ground(i0 + 1, j0 + 1, i0 + 3, j0 + 3, ground);
}

void Cottages(Draft& d) {
    Streets(d);
    House(d, Lo, Lo, Planks);
    d.Put(2, 2, Bed);
    d.Put(3, 2, Chest);
    Yard(d, Hi, Lo, Grass);
    d.Put(10, 3, Well);
    d.Put(11, 2, Tree);
    House(d, Lo, Hi, Planks);
    d.Put(2, 11, Table);
    d.Put(3, 11, Chair);
    Yard(d, Hi, Hi, Cobbles);
    d.Put(10, 10, Cart);
    d.Put(11, 11, Barrel);
}

// A tavern across the north, the street south of it, a smithy's yard and a house.
void Tavern(Draft& d) {
    d.Open(1, 1, 11, 3);
    d.Ground(2, 2, 11, 3, Planks);
    d.Open(1, 5, 11, 7);
    d.Open(5, 5, 7, 11);
    d.Lanes(1);
    d.Cells(9, 4, 9, 5);
    d.Put(9, 5, DoorEW);
    d.Put(2, 2, Barrel);
    d.Put(2, 3, Barrel);
    d.Put(4, 2, Table);
    d.Put(5, 2, Chair);
    d.Put(9, 2, Table);
    d.Put(10, 2, Chair);
    d.Put(11, 3, Bed);
    House(d, Lo, Hi, Planks);
    d.Put(2, 11, Bed);
    Yard(d, Hi, Hi, Gravel);
    d.Put(10, 10, Forge);
    d.Put(11, 10, Anvil);
    d.Put(11, 11, Crate);
}

// The keep's great hall, entered through doors from every street.
void GreatHall(Draft& d) {
    d.Ground(1, 1, 12, 12, Cobbles);
    d.Cells(4, 4, 9, 9);
    d.Lanes(3);
    d.Ground(4, 4, 9, 9, Marble);
    d.Ground(6, 4, 7, 9, Carpet);
    if (!d.Has(N)) {
        d.Put(5, 4, Throne);
        d.Put(8, 4, Statue);
    } else {
        d.Put(4, 4, Throne);
    }
    for (int x : {4, 9})
        for (int y : {5, 8}) d.Put(x, y, Pillar);
    d.Put(9, 4, Torch);
    d.Put(4, 9, Torch);
    d.Put(9, 9, Chest);
    d.MouthDoors();
}

// A temple on the north side of the street, a churchyard south of it.
void Temple(Draft& d) {
    d.Open(2, 1, 10, 3);
    d.Ground(3, 2, 10, 3, Marble);
    d.Open(1, 5, 11, 11);
    d.Lanes(1);
    d.Cells(6, 4, 7, 5);
    d.Ground(2, 8, 11, 11, Grass);
    d.Put(6, 4, DoorEW);
    d.Put(7, 4, DoorEW);
    d.Put(4, 2, Altar);
    d.Put(3, 2, Statue);
    d.Put(9, 2, Pillar);
    d.Put(10, 3, Torch);
    for (int x : {2, 4, 9, 11}) d.Put(x, 10, Grave);
    d.Put(3, 9, Tree);
    d.Put(10, 9, Obelisk);
}

// A market square with stalls and a house in the south-east corner.
void Market(Draft& d) {
    d.Open(1, 1, 11, 7);
    d.Open(1, 1, 7, 11);
    d.Lanes(1);
    d.Open(9, 9, 11, 11);
    d.Cells(10, 8, 10, 9);
    d.Ground(10, 10, 11, 11, Planks);
    d.Put(10, 8, DoorEW);
    d.Put(11, 11, Bed);
    d.Put(3, 3, Fountain);
    d.Put(9, 3, Table);
    d.Put(10, 3, Table);
    d.Put(9, 4, Crate);
    d.Put(11, 2, Cart);
    d.Put(3, 9, Barrel);
    d.Put(3, 10, CrateStack);
    d.Put(4, 10, Table);
    d.Put(2, 4, Signpost);
}

// A gate with a portcullis and guard rooms either side, bunk rooms to the south.
void Gatehouse(Draft& d) {
    d.Open(5, 1, 7, 11);
    d.Open(1, 5, 11, 7);
    d.Lanes(1);
    House(d, Lo, Lo, Flagstone);
    d.Put(2, 2, Table);
    d.Put(3, 2, Chair);
    House(d, Hi, Lo, Flagstone);
    d.Put(10, 2, Chest);
    d.Put(11, 2, Barrel);
    d.Put(6, 3, Portcullis);
    d.Put(7, 3, Portcullis);
    House(d, Lo, Hi, Planks);
    House(d, Hi, Hi, Planks);
    d.Put(2, 10, Bed);
    d.Put(2, 11, Bed);
    d.Put(3, 11, Bed);
    d.Put(11, 10, Bed);
    d.Put(11, 11, Bed);
    d.Put(10, 11, Chest);
}

// A walled garden with a fountain, trees and flower beds.
void Garden(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Lanes(1);
    d.Ground(1, 1, 12, 12, Grass);
    d.LaneGround(Gravel);
    d.Ground(2, 2, 4, 4, Flowers);
    d.Ground(9, 9, 11, 11, Flowers);
    d.Feature(8, 2, 9, 3, WaterBase);
    d.Put(3, 3, Fountain);
    d.Put(10, 10, Statue);
    d.Put(3, 10, Tree);
    d.Put(4, 9, Bush);
    d.Put(11, 4, Tree);
    d.Put(2, 9, Bush);
}

const Design Sections[9][6] = {
    /* 1 Upper Left   */ {Cottages, Tavern, Temple, Gatehouse, Market, Garden},
    /* 2 Upper Center */ {Gatehouse, Temple, Tavern, Market, Cottages, GreatHall},
    /* 3 Upper Right  */ {Tavern, Cottages, Garden, Temple, Gatehouse, Market},
    /* 4 Left         */ {Market, Cottages, GreatHall, Garden, Tavern, Gatehouse},
    /* 5 Center       */ {GreatHall, Market, Cottages, Garden, Temple, Tavern},
    /* 6 Right        */ {Cottages, GreatHall, Market, Gatehouse, Garden, Temple},
    /* 7 Lower Left   */ {Garden, Market, Cottages, GreatHall, Gatehouse, Tavern},
    /* 8 Lower Center */ {Market, Garden, GreatHall, Cottages, Tavern, Gatehouse},
    /* 9 Lower Right  */ {Cottages, Market, Garden, Tavern, GreatHall, Temple},
};
} // namespace

ThemeDesigns KeepDesigns() { return {WallBase, Cobbles, Cobbles, Cobbles, Sections}; }

} // namespace gen
