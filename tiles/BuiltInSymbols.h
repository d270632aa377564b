#pragma once
// The built-in tileset's symbols by name, kept once: the tileset generator draws them, the
// GeoSet generator places them and the built-in symbol table describes them. Plain C++.
#include <cstdint>

namespace qm::sym {

// Symbols 1..127 in sheet order; the terrain rows follow from 128.
// clang-format off
enum : std::uint8_t {
    Flagstone = 1, WallN, WallE, WallS, WallW, WallNW, WallNE, WallSE, WallSW, FloorA, FloorB, DoorNS, DoorEW,
    DoorOpen, DoorLocked, Dirt, Grass, Sand, Gravel, Planks, Marble, StairsUp, StairsDown, Ladder, DarkPit, Table,
    Chair, Bed, Chest, Barrel, Crate, Portcullis, ArrowSlit, Trap, SecretDoor, Treasure, Monster, Note, Pillar, Statue,
    Altar, Fountain, Well, Throne, Bookshelf, Torch, ShallowWater, LavaCracks, Rubble, Bones, Web, Campfire, Tent,
    Cart, Boat, RopeBridge, Deck, Tree, Bush, Rock, Boulder, Stalagmite, DirtRoad, Cobbles, Signpost, FenceNS, FenceEW,
    Snow, RoomNumber0, RoomNumber1, RoomNumber2, RoomNumber3, RoomNumber4, RoomNumber5, RoomNumber6, RoomNumber7,
    RoomNumber8, RoomNumber9, ArrowNorth, ArrowEast, ArrowSouth, ArrowWest, CaveFloor, Mud, Ice, Crystal, Mushrooms,
    Grave, Obelisk, Teleport, Carpet, Spikes, Plate, Lever, Chain, GrassB, GrassC, Flowers, Farmland, CrateStack,
    BigCrateStack, Swamp, Ash, Cage, Anvil, Forge, Loom, Cauldron, Dune, House, Tower, Castle, Temple, Village, Ruins,
    CaveMouth, Mine, Camp, Port, Bridge, StandingStones, Farm, Windmill, Lighthouse, Tavern, Shrine, Gate,
};
// clang-format on
static_assert(FloorA == 10 && Table == 26 && CaveFloor == 83 && GrassB == 96 && House == 110 && Gate == 127);

// The smart-terrain rows: 16 shapes each of wall, water, fire, hole, slime, forest, mountain
// and desert.
enum : std::uint8_t {
    WallBase = 128,
    WaterBase = 144,
    FireBase = 160,
    HoleBase = 176,
    SlimeBase = 192,
    ForestBase = 208,
    MountainBase = 224,
    DesertBase = 240,
};
// Shape 13 of a row covers the whole cell.
inline constexpr int FullShape = 13;

// Symbol of a terrain family's shape (family 0..7 in row order, shape 0..15).
constexpr int TerrainSymbol(int family, int shape) { return WallBase + 16 * family + shape; }

} // namespace qm::sym
