#include "generate/GenerateMap.h"

#include <algorithm>
#include <cstdlib>

#include "compose/MapClamp.h"
#include "generate/GenKey.h"

namespace qm {

namespace {
constexpr const char* StyleNames[] = {"dungeon", "caves", "keep", "wilderness"};
constexpr const char* DensityNames[] = {"few", "some", "many"};
} // namespace

const char* GenStyleName(TGenStyle style) { return StyleNames[int(style)]; }

std::optional<TGenStyle> GenStyleFromName(const std::string& name) {
    for (int i = 0; i < 4; ++i)
        if (name == StyleNames[i]) return TGenStyle(i);
    return std::nullopt;
}

const char* GenDensityName(TGenDensity density) { return DensityNames[int(density)]; }

std::optional<TGenDensity> GenDensityFromName(const std::string& name) {
    for (int i = 0; i < 3; ++i)
        if (name == DensityNames[i]) return TGenDensity(i);
    return std::nullopt;
}

std::string GenerateStepName(const TGenerateOptions& options) {
    return std::string("Generate ") + GenStyleName(options.Style) + ", seed " + std::to_string(options.Seed);
}

TGenerateResult GenerateMap(TMapRecord& map, const TGenerateOptions& options, const TGenPalette& palette) {
    TGenerateResult result;
    const TGridRect area = ClipAreaToMap(options.Area);
    if (area.Width() < MinGenerateSide || area.Height() < MinGenerateSide) {
        result.LeftOut.push_back("the area is smaller than " + std::to_string(MinGenerateSide) + " x " +
                                 std::to_string(MinGenerateSide) + " cells");
        return result;
    }
    TGenPalette pal = palette;
    pal.Missing.clear();
    TGenPlan plan(area, pal);
    // The style and the seed pick the stream, so two styles with one seed differ.
    TGenRandom rng(std::uint64_t(options.Seed) * 4 + std::uint64_t(options.Style));
    plan.Salt = rng.Next();
    switch (options.Style) {
    case TGenStyle::Dungeon: GenerateDungeon(plan, rng, options.Density, options.Switches); break;
    case TGenStyle::Caves: GenerateCaves(plan, rng, options.Density, options.Switches); break;
    case TGenStyle::Keep: GenerateKeep(plan, rng, options.Density, options.Switches); break;
    case TGenStyle::Wilderness: GenerateWilderness(plan, rng, options.Density, options.Switches); break;
    }
    // The way in always stands on floor: the nearest clear cell when the style's own place is taken.
    if (!plan.Clear(plan.Entrance.c, plan.Entrance.r)) {
        int best = 1 << 30;
        const TGenPoint want = plan.Entrance.c >= 0 ? plan.Entrance : TGenPoint{area.Left, area.Top};
        for (int r = area.Top; r <= area.Bottom; ++r)
            for (int c = area.Left; c <= area.Right; ++c) {
                const int d = std::abs(c - want.c) + std::abs(r - want.r);
                if (d < best && plan.Clear(c, r)) {
                    best = d;
                    plan.Entrance = {c, r};
                }
            }
    }
    plan.Commit(map);
    // Doors stand on the lower layer under the wall pieces framing their gap; over a whole
    // map the background shows the style's ground around them.
    const bool whole = area.Width() == MapSize && area.Height() == MapSize;
    if (whole && plan.BaseGround) map.Background = uint8_t(plan.BaseGround);
    result.Entrance = plan.Entrance;
    result.StairsDown = plan.StairsDown;
    result.LeftOut = pal.Missing;
    TGenKeyResult key = BuildGenKey(plan, map);
    result.Key = std::move(key.Key);
    result.PlaceOf = std::move(key.PlaceOf);
    return result;
}

} // namespace qm
