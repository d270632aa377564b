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

namespace {

TGenerateResult GenerateOnce(TMapRecord& map, const TGenerateOptions& options, const TGenPalette& palette,
                             const TGridRect& area, int attempt) {
    TGenerateResult result;
    TGenPalette pal = palette;
    pal.Missing.clear();
    TGenPlan plan(area, pal);
    plan.Arrive = options.ArriveAt;
    plan.WantStairsDown = options.StairsDown;
    // The style and the seed pick the stream, so two styles with one seed differ; a level
    // below (by its number and the cell its stairs come down on) and a new try each take a
    // stream of their own.
    std::uint64_t stream = std::uint64_t(options.Seed) * 4 + std::uint64_t(options.Style);
    if (options.Level > 1 || attempt > 0 || options.ArriveAt.c >= 0)
        stream ^= std::uint64_t(options.Level) * 0x5851f42d4c957f2dull +
                  std::uint64_t(attempt) * 0x14057b7ef767814full +
                  std::uint64_t(options.ArriveAt.r * MapSize + options.ArriveAt.c + MapSize + 1) *
                      0x2545f4914f6cdd1dull;
    TGenRandom rng(stream);
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

// A level below stands on the stairs from above: they are its way in, on floor of a place.
bool HoldsStairs(const TMapRecord& map, const TGenerateResult& r, const TGenerateOptions& o, const TGenPalette& p) {
    const TGenPoint a = o.ArriveAt;
    if (a.c >= 0) {
        if (!(r.Entrance == a) || r.PlaceOf[a.r * MapSize + a.c] == 0) return false;
        if (p.StairsUp && map.Cell(a.c + 1, a.r + 1).Upper != p.StairsUp) return false;
    }
    const bool wantDown = o.StairsDown || o.Style == TGenStyle::Dungeon;
    return !wantDown || !p.StairsDown || (r.StairsDown.c >= 0 && r.PlaceOf[r.StairsDown.r * MapSize + r.StairsDown.c]);
}

} // namespace

TGenerateResult GenerateMap(TMapRecord& map, const TGenerateOptions& options, const TGenPalette& palette) {
    const TGridRect area = ClipAreaToMap(options.Area);
    if (area.Width() < MinGenerateSide || area.Height() < MinGenerateSide) {
        TGenerateResult result;
        result.LeftOut.push_back("the area is smaller than " + std::to_string(MinGenerateSide) + " x " +
                                 std::to_string(MinGenerateSide) + " cells");
        return result;
    }
    if (options.ArriveAt.c < 0 && !options.StairsDown) return GenerateOnce(map, options, palette, area, 0);
    // A level of a stack: a few more tries, each its own stream, until the stairs hold.
    constexpr int Tries = 8;
    TMapRecord work = map;
    TGenerateResult result;
    for (int attempt = 0; attempt < Tries; ++attempt) {
        work = map;
        result = GenerateOnce(work, options, palette, area, attempt);
        if (HoldsStairs(work, result, options, palette)) break;
        if (attempt == Tries - 1) result.LeftOut.push_back("stairs between the levels (no way round them was found)");
    }
    map = work;
    return result;
}

} // namespace qm
