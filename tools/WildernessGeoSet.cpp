// The wilderness GeoSet: meadows, lakes, hills, desert, marsh and woods, closed by deep
// forest, with tracks here and there.
#include "tools/MapletDraft.h"

namespace gen {
namespace {

// A patch of ground with cut corners inside the maplet, so that grounds meet the meadows
// of the maplets around on grass.
void Patch(Draft& d, uint8_t ground) {
    d.Ground(3, 2, 10, 11, ground);
    d.Ground(2, 3, 11, 10, ground);
}

// A meadow with a lake and a copse.
void LakeMeadow(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Lanes(1);
    d.Feature(7, 2, 10, 4, WaterBase);
    d.Feature(8, 5, 10, 5, WaterBase);
    d.Feature(2, 8, 4, 10, ForestBase);
    d.Feature(3, 7, 4, 7, ForestBase);
    d.Put(9, 3, Boat);
    d.Put(3, 3, Bush);
    d.Ground(5, 2, 5, 4, Flowers);
    d.Put(10, 9, Tree);
    d.Put(9, 10, Bush);
    d.Put(4, 5, Signpost);
}

// Rocky hills with a camp in a hollow.
void Hills(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Lanes(1);
    Patch(d, GrassB);
    d.Feature(2, 2, 4, 3, MountainBase);
    d.Feature(3, 4, 4, 4, MountainBase);
    d.Feature(8, 8, 10, 10, MountainBase);
    d.Feature(9, 7, 10, 7, MountainBase);
    d.Feature(7, 9, 7, 10, MountainBase);
    d.Put(10, 3, Tent);
    d.Put(9, 4, Campfire);
    d.Put(3, 9, Rock);
    d.Put(4, 10, Boulder);
    d.Put(10, 4, Cart);
}

// Desert with dunes, an oasis and a ruined obelisk.
void Desert(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Lanes(1);
    Patch(d, Sand);
    d.Feature(2, 2, 4, 4, DesertBase);
    d.Feature(8, 8, 10, 9, DesertBase);
    d.Feature(9, 2, 10, 3, WaterBase);
    d.Ground(8, 1, 11, 4, Grass);
    d.Put(11, 5, Tree);
    d.Put(8, 2, Tree);
    d.Put(3, 10, Obelisk);
    d.Put(4, 9, Bones);
    d.Put(10, 11, Rock);
}

// Woods: thickets of the closing forest reach in, with a clearing and a campfire.
void Woods(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Close(1, 1, 3, 2);
    d.Close(9, 9, 11, 11);
    d.Close(9, 1, 10, 3);
    d.Lanes(1);
    d.Feature(3, 8, 3, 9, ForestBase);
    d.Put(3, 5, Tree);
    d.Put(10, 5, Tree);
    d.Put(5, 10, Bush);
    d.Put(8, 4, Campfire);
    d.Put(9, 5, Tent);
    d.Put(2, 10, Tree);
}

// Farmland with a well and a fenced field.
void Farm(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Lanes(1);
    d.Ground(2, 2, 5, 5, Farmland);
    d.Ground(8, 8, 11, 11, Farmland);
    d.Put(9, 3, Well);
    d.Put(10, 4, Cart);
    d.Ground(6, 1, 7, 12, DirtRoad);
    for (int x : {9, 10, 11}) d.Put(x, 8, FenceEW);
    d.Put(3, 10, Tree);
    d.Put(2, 9, Bush);
    d.Put(4, 11, Tree);
}

// A marsh of reed beds and open water.
void Marsh(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Lanes(1);
    Patch(d, Swamp);
    d.Feature(2, 2, 3, 4, WaterBase);
    d.Feature(9, 8, 10, 10, WaterBase);
    d.Feature(8, 2, 9, 3, SlimeBase);
    d.Ground(2, 9, 4, 11, Grass);
    d.Put(3, 10, Tree);
    d.Put(4, 9, Bush);
    d.Put(11, 4, Mushrooms);
    d.Put(5, 3, Bones);
}

const Design Sections[9][6] = {
    /* 1 Upper Left   */ {LakeMeadow, Hills, Woods, Desert, Farm, Marsh},
    /* 2 Upper Center */ {Hills, Woods, Desert, LakeMeadow, Marsh, Farm},
    /* 3 Upper Right  */ {Woods, Desert, LakeMeadow, Marsh, Hills, Farm},
    /* 4 Left         */ {Farm, LakeMeadow, Marsh, Woods, Desert, Hills},
    /* 5 Center       */ {Desert, Farm, Hills, Woods, LakeMeadow, Marsh},
    /* 6 Right        */ {Marsh, Hills, Farm, Desert, Woods, LakeMeadow},
    /* 7 Lower Left   */ {Woods, Marsh, LakeMeadow, Hills, Farm, Desert},
    /* 8 Lower Center */ {LakeMeadow, Desert, Woods, Farm, Marsh, Hills},
    /* 9 Lower Right  */ {Hills, Farm, Desert, Marsh, LakeMeadow, Woods},
};
} // namespace

// Maplets meet over the whole of their sides but the corners, where the forest gathers in
// small copses.
ThemeDesigns WildernessDesigns() { return {ForestBase, Grass, 0, Grass, Sections, 1, 11}; }

} // namespace gen
