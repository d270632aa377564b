// The cave GeoSet: irregular grottoes in living rock, joined by winding tunnels, with
// pools, chasms, slime and crystal growths. The rock is the mountain terrain.
#include "tools/MapletDraft.h"

namespace gen {
namespace {

// A grotto whose pool the floor runs round.
void Grotto(Draft& d) {
    d.Open(2, 3, 10, 9);
    d.Open(3, 2, 9, 10);
    d.Open(1, 4, 3, 5);
    d.Open(8, 9, 10, 11);
    d.Lanes(3);
    d.Feature(5, 5, 7, 7, WaterBase);
    d.Ground(3, 8, 5, 10, Mud);
    d.Put(4, 4, Stalagmite);
    d.Put(9, 9, Stalagmite);
    d.Put(9, 4, Rock);
    d.Put(10, 10, Boulder);
    d.Put(2, 5, Bones);
}

// A tunnel that winds through blobs of floor from one side to the next.
void Tunnels(Draft& d) {
    d.Open(1, 5, 4, 8);
    d.Open(3, 2, 6, 6);
    d.Open(5, 1, 9, 4);
    d.Open(8, 3, 11, 8);
    d.Open(6, 7, 9, 11);
    d.Open(2, 8, 6, 10);
    d.Lanes(2);
    d.Ground(8, 3, 12, 8, Gravel);
    d.Put(9, 3, Web);
    d.Put(3, 9, Mushrooms);
    d.Put(4, 3, Rock);
    d.Put(10, 4, Bones);
    d.Put(8, 10, Stalagmite);
}

// A tall cavern with rock pillars and crystal growths.
void CrystalCavern(Draft& d) {
    d.Open(2, 2, 10, 10);
    d.Open(1, 3, 3, 4);
    d.Lanes(2);
    d.Close(4, 8, 4, 8);
    d.Close(8, 3, 9, 3);
    d.Put(3, 3, Crystal);
    d.Put(10, 9, Crystal);
    d.Put(9, 10, Crystal);
    d.Put(4, 10, Mushrooms);
    d.Put(2, 4, Crystal);
    d.Put(10, 5, Stalagmite);
}

// An underground lake in the west with a boat, and a pool to the east.
void UndergroundLake(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Close(1, 10, 3, 11);
    d.Lanes(1);
    d.Feature(2, 2, 4, 5, WaterBase);
    d.Feature(9, 2, 10, 3, WaterBase);
    d.Ground(2, 6, 11, 11, Gravel);
    d.Put(3, 3, Boat);
    d.Put(10, 10, Campfire);
    d.Put(9, 10, Bones);
    d.Put(2, 8, Stalagmite);
    d.Put(11, 9, Rock);
}

// A mud cave with slime pools and mushrooms.
void SlimePools(Draft& d) {
    d.Open(2, 2, 10, 10);
    d.Open(1, 6, 3, 9);
    d.Open(9, 1, 11, 4);
    d.Lanes(2);
    d.Close(9, 9, 10, 10);
    d.Ground(1, 1, 12, 12, Mud);
    d.Feature(3, 3, 4, 4, SlimeBase);
    d.Feature(4, 8, 5, 8, SlimeBase);
    d.Put(9, 3, Mushrooms);
    d.Put(10, 2, Mushrooms);
    d.Put(3, 9, Web);
    d.Put(2, 8, Bones);
    d.Put(4, 10, Mushrooms);
}

// A chasm in the western part of the cave; a ledge leads round it.
void Chasm(Draft& d) {
    d.Open(2, 2, 10, 10);
    d.Lanes(2);
    d.Feature(4, 4, 5, 9, HoleBase);
    d.Ground(1, 1, 12, 12, Gravel);
    d.Ground(6, 2, 12, 6, CaveFloor);
    d.Put(9, 3, Chain);
    d.Put(10, 10, Boulder);
    d.Put(9, 9, Rock);
    d.Put(10, 4, Treasure);
    d.Put(8, 10, Monster);
}

// Dead-end side grottoes off a tunnel.
void SideGrottoes(Draft& d) {
    d.Open(4, 1, 8, 11);
    d.Open(1, 5, 11, 7);
    d.Open(1, 1, 3, 3);
    d.Open(2, 3, 3, 5);
    d.Open(9, 8, 11, 11);
    d.Open(8, 8, 9, 9);
    d.Lanes(1);
    d.Ground(1, 1, 4, 4, Ice);
    d.Put(2, 2, Crystal);
    d.Put(10, 10, Treasure);
    d.Put(11, 9, Bones);
    d.Put(5, 3, Stalagmite);
    d.Put(8, 3, Rock);
    d.Put(5, 10, Mushrooms);
}

const Design Sections[9][6] = {
    /* 1 Upper Left   */ {Grotto, Tunnels, CrystalCavern, UndergroundLake, SlimePools, SideGrottoes},
    /* 2 Upper Center */ {Tunnels, Chasm, UndergroundLake, Grotto, SideGrottoes, SlimePools},
    /* 3 Upper Right  */ {CrystalCavern, SlimePools, Grotto, Tunnels, Chasm, SideGrottoes},
    /* 4 Left         */ {Chasm, Grotto, SideGrottoes, Tunnels, CrystalCavern, SlimePools},
    /* 5 Center       */ {UndergroundLake, CrystalCavern, Tunnels, Chasm, Grotto, SideGrottoes},
    /* 6 Right        */ {SideGrottoes, UndergroundLake, Chasm, SlimePools, Tunnels, Grotto},
    /* 7 Lower Left   */ {Tunnels, SideGrottoes, Grotto, CrystalCavern, SlimePools, Chasm},
    /* 8 Lower Center */ {Grotto, SlimePools, SideGrottoes, CrystalCavern, Chasm, Tunnels},
    /* 9 Lower Right  */ {SlimePools, Chasm, Tunnels, SideGrottoes, Grotto, CrystalCavern},
};
} // namespace

ThemeDesigns CaveDesigns() { return {MountainBase, CaveFloor, CaveFloor, CaveFloor, Sections}; }

} // namespace gen
