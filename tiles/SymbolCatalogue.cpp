#include "tiles/SymbolCatalogue.h"

#include <cstddef>
#include <iterator>
#include <string>

#include "tiles/BuiltInSymbols.h"

namespace qm {

namespace {

// The built-in catalogue: symbols 1..127 (the terrain rows come from TerrainSymbolTable),
// each line "ROLE [KEY=VALUE ...] NAME" after its symbol number.
// Thin wall pieces draw a stone band 0.29 cells deep along their sides; the line of sight
// runs down its middle. Doors, the portcullis and the arrow slit cross the middle of their cell.
struct TCatalogueLine {
    std::uint8_t Symbol;
    const char* Text;
};
constexpr TCatalogueLine Catalogue[] = {
    {sym::Flagstone, "none Flagstone floor"},
    {sym::WallN, "wall edges=N inset=0.145 Wall, north side"},
    {sym::WallE, "wall edges=E inset=0.145 Wall, east side"},
    {sym::WallS, "wall edges=S inset=0.145 Wall, south side"},
    {sym::WallW, "wall edges=W inset=0.145 Wall, west side"},
    {sym::WallNW, "wall edges=NW inset=0.145 Wall corner, north-west"},
    {sym::WallNE, "wall edges=NE inset=0.145 Wall corner, north-east"},
    {sym::WallSE, "wall edges=ES inset=0.145 Wall corner, south-east"},
    {sym::WallSW, "wall edges=SW inset=0.145 Wall corner, south-west"},
    {sym::FloorA, "none Stone floor"},
    {sym::FloorB, "none Stone floor, cracked"},
    {sym::DoorNS, "door axis=v Wooden door, north-south wall"},
    {sym::DoorEW, "door axis=h Wooden door, east-west wall"},
    {sym::DoorOpen, "door axis=h state=open Open door"},
    {sym::DoorLocked, "door axis=h Locked door"},
    {sym::Dirt, "none Dirt"},
    {sym::Grass, "none Grass"},
    {sym::Sand, "none Sand"},
    {sym::Gravel, "none Gravel"},
    {sym::Planks, "none Wooden planks"},
    {sym::Marble, "none Marble floor"},
    {sym::StairsUp, "none Stairs up"},
    {sym::StairsDown, "none Stairs down"},
    {sym::Ladder, "none Ladder"},
    {sym::DarkPit, "none Dark pit floor"},
    {sym::Table, "none Table"},
    {sym::Chair, "none Chair"},
    {sym::Bed, "none Bed"},
    {sym::Chest, "none Chest"},
    {sym::Barrel, "none Barrel"},
    {sym::Crate, "none Crate"},
    {sym::Portcullis, "window axis=h Portcullis"},
    {sym::ArrowSlit, "window axis=h Arrow slit"},
    {sym::Trap, "none player=0 Trap marker"},
    {sym::SecretDoor, "none player=wall doorcycle=hv Secret door marker"},
    {sym::Treasure, "none player=0 Treasure marker"},
    {sym::Monster, "none player=0 Monster marker"},
    {sym::Note, "none player=0 Note marker"},
    {sym::Pillar, "obstacle box=0.19,0.19,0.81,0.81 Pillar"},
    {sym::Statue, "obstacle box=0.17,0.17,0.83,0.87 Statue"},
    {sym::Altar, "none Altar"},
    {sym::Fountain, "none Fountain"},
    {sym::Well, "none Well"},
    {sym::Throne, "none Throne"},
    {sym::Bookshelf, "obstacle box=0.04,0.29,0.96,0.71 Bookshelf"},
    {sym::Torch, "light range=4 color=ffffb25a Torch"},
    {sym::ShallowWater, "none Shallow water"},
    {sym::LavaCracks, "light range=2 color=ffff7a2a Lava cracks"},
    {sym::Rubble, "none Rubble"},
    {sym::Bones, "none Bones"},
    {sym::Web, "none Spider web"},
    {sym::Campfire, "light range=6 color=ffffa040 Campfire"},
    {sym::Tent, "none Tent"},
    {sym::Cart, "none Cart"},
    {sym::Boat, "none Rowing boat"},
    {sym::RopeBridge, "none Rope bridge"},
    {sym::Deck, "none Wooden deck"},
    {sym::Tree, "obstacle box=0.15,0.15,0.85,0.85 shape=round Tree"},
    {sym::Bush, "none Bush"},
    {sym::Rock, "none Rock"},
    {sym::Boulder, "obstacle box=0.13,0.13,0.9,0.9 shape=round Boulder"},
    {sym::Stalagmite, "obstacle box=0.2,0.2,0.8,0.8 shape=round Stalagmite"},
    {sym::DirtRoad, "none Dirt road"},
    {sym::Cobbles, "none Cobblestones"},
    {sym::Signpost, "none Signpost"},
    {sym::FenceNS, "none Fence, north-south"},
    {sym::FenceEW, "none Fence, east-west"},
    {sym::Snow, "none Snow"},
    {sym::RoomNumber0, "none Room number 0"},
    {sym::RoomNumber1, "none Room number 1"},
    {sym::RoomNumber2, "none Room number 2"},
    {sym::RoomNumber3, "none Room number 3"},
    {sym::RoomNumber4, "none Room number 4"},
    {sym::RoomNumber5, "none Room number 5"},
    {sym::RoomNumber6, "none Room number 6"},
    {sym::RoomNumber7, "none Room number 7"},
    {sym::RoomNumber8, "none Room number 8"},
    {sym::RoomNumber9, "none Room number 9"},
    {sym::ArrowNorth, "none Arrow north"},
    {sym::ArrowEast, "none Arrow east"},
    {sym::ArrowSouth, "none Arrow south"},
    {sym::ArrowWest, "none Arrow west"},
    {sym::CaveFloor, "none Cave floor"},
    {sym::Mud, "none Mud"},
    {sym::Ice, "none Ice"},
    {sym::Crystal, "light range=2 color=ff6ec8e6 Crystal"},
    {sym::Mushrooms, "none Mushroom patch"},
    {sym::Grave, "none Grave"},
    {sym::Obelisk, "obstacle box=0.25,0.25,0.75,0.75 Obelisk"},
    {sym::Teleport, "light range=2 color=ff965ad2 Teleport circle"},
    {sym::Carpet, "none Carpet"},
    {sym::Spikes, "none Spikes"},
    {sym::Plate, "none Pressure plate"},
    {sym::Lever, "none Lever"},
    {sym::Chain, "none Chain"},
    {sym::GrassB, "none Dark grass"},
    {sym::GrassC, "none Dry grass"},
    {sym::Flowers, "none Flower meadow"},
    {sym::Farmland, "none Farmland"},
    {sym::CrateStack, "none Crate stack, small"},
    {sym::BigCrateStack, "obstacle box=0.06,0.06,0.94,0.94 Crate stack, large"},
    {sym::Swamp, "none Swamp"},
    {sym::Ash, "none Ash"},
    {sym::Cage, "none Cage"},
    {sym::Anvil, "none Anvil"},
    {sym::Forge, "light range=3 color=ffff8c28 Forge"},
    {sym::Loom, "none Loom"},
    {sym::Cauldron, "none Cauldron"},
    {sym::Dune, "none Dune sand"},
    {sym::House, "none House"},
    {sym::Tower, "none Tower"},
    {sym::Castle, "none Castle"},
    {sym::Temple, "none Temple"},
    {sym::Village, "none Village"},
    {sym::Ruins, "none Ruins"},
    {sym::CaveMouth, "none Cave mouth"},
    {sym::Mine, "none Mine"},
    {sym::Camp, "none Camp"},
    {sym::Port, "none Port"},
    {sym::Bridge, "none Bridge"},
    {sym::StandingStones, "none Standing stones"},
    {sym::Farm, "none Farm"},
    {sym::Windmill, "none Windmill"},
    {sym::Lighthouse, "none Lighthouse"},
    {sym::Tavern, "none Tavern"},
    {sym::Shrine, "none Shrine"},
    {sym::Gate, "none Gate"},
};

// Every built-in symbol once, in sheet order, so the text lists them by number.
constexpr bool InSheetOrder() {
    for (std::size_t i = 0; i < std::size(Catalogue); ++i)
        if (Catalogue[i].Symbol != i + 1) return false;
    return std::size(Catalogue) == sym::Gate;
}
static_assert(InSheetOrder());

const std::string& CatalogueText() {
    static const std::string text = [] {
        std::string t = "# Quillmarch built-in tileset\n";
        for (const TCatalogueLine& l : Catalogue) t += std::to_string(l.Symbol) + " " + l.Text + "\n";
        return t;
    }();
    return text;
}

} // namespace

std::string_view BuiltInCatalogue() { return CatalogueText(); }

} // namespace qm
