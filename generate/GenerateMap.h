#pragma once
// Generating a play-ready map from a seed: dungeon, caves, keep or wilderness, drawn with
// the tileset's smart terrain, doors, windows, lights and furniture into the whole map or a
// selected area. The same style, seed and options give the same map byte for byte.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compose/GridRect.h"
#include "generate/GenDressing.h"
#include "generate/GenPalette.h"
#include "model/MapKey.h"
#include "model/MapRecord.h"

namespace qm {

enum class TGenStyle { Dungeon, Caves, Keep, Wilderness };
enum class TGenDensity { Few, Some, Many };

constexpr TGenStyle AllGenStyles[] = {TGenStyle::Dungeon, TGenStyle::Caves, TGenStyle::Keep, TGenStyle::Wilderness};

// "dungeon", "caves", "keep", "wilderness"; "few", "some", "many".
const char* GenStyleName(TGenStyle style);
std::optional<TGenStyle> GenStyleFromName(const std::string& name);
const char* GenDensityName(TGenDensity density);
std::optional<TGenDensity> GenDensityFromName(const std::string& name);

struct TGenerateOptions {
    TGenStyle Style = TGenStyle::Dungeon;
    std::uint32_t Seed = 1;
    TGridRect Area{0, 0, MapSize - 1, MapSize - 1}; // 0-based, inclusive
    TGenDensity Density = TGenDensity::Some;
    TGenSwitches Switches;
    // A level of a stack (dungeon and caves): its number, which gives it its own draws, the
    // cell where the stairs from the level above arrive (0-based; -1 on the top level), and
    // whether caves need stairs down to a level below (a dungeon always has them).
    int Level = 1;
    TGenPoint ArriveAt{-1, -1};
    bool StairsDown = false;
};

struct TGenerateResult {
    TGenPoint Entrance{-1, -1};       // 0-based cell where the party comes in
    TGenPoint StairsDown{-1, -1};     // 0-based cell of the stairs down; -1 where there are none
    std::vector<std::string> LeftOut; // what the tileset lacked, one line each
    TMapKey Key;                      // the places made, numbered from the entrance outward
    // Per cell (r * MapSize + c, 0-based): the number of the key entry whose place it is, 0 for none.
    std::vector<std::uint16_t> PlaceOf;
};

// Smallest area a style can be drawn into (either side).
constexpr int MinGenerateSide = 12;

// Draws the style into the options' area of `map` (clipped to the map); cells outside it,
// the background and the other fields stay as they were. An area smaller than
// MinGenerateSide on a side changes nothing and says so in LeftOut.
TGenerateResult GenerateMap(TMapRecord& map, const TGenerateOptions& options, const TGenPalette& palette);

// The history step's name: "Generate dungeon, seed 4711".
std::string GenerateStepName(const TGenerateOptions& options);

// What every style's steps share: the plan they draw on, the draws, the tileset's symbols
// and the user's choices. A style keeps its own state in a struct derived from this.
struct TGenStyleSteps {
    TGenPlan& plan;
    TGenRandom& rng;
    TGenPalette& p;
    TGenDensity density;
    const TGenSwitches& sw;
    TGridRect area, in;

    TGenStyleSteps(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw)
        : plan(plan), rng(rng), p(plan.Palette()), density(density), sw(sw), area(plan.Area()), in(plan.Inner()) {}
};

// The styles, each in its own file.
void GenerateDungeon(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw);
void GenerateCaves(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw);
void GenerateKeep(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw);
void GenerateWilderness(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw);

} // namespace qm
