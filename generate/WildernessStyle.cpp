// The wilderness: meadows of several grasses, forests with clearings, hills, a river or a
// lake, a road across with a bridge where it meets the water, and a camp or a ruin.
#include <algorithm>
#include <cstdlib>

#include "generate/GenNoise.h"
#include "generate/GenerateMap.h"

namespace qm {

namespace {

// A wandering line of cells from one side of `box` to the other: along columns when
// `eastWest`, else along rows; the cross position drifts by at most one a step.
std::vector<TGenPoint> Meander(TGenRandom& rng, const TGridRect& box, bool eastWest, int margin) {
    std::vector<TGenPoint> line;
    const int lo = (eastWest ? box.Top : box.Left) + margin, hi = (eastWest ? box.Bottom : box.Right) - margin;
    if (hi <= lo) return line;
    int at = rng.Range(lo + (hi - lo) / 4, hi - (hi - lo) / 4), drift = 0;
    const int from = eastWest ? box.Left : box.Top, to = eastWest ? box.Right : box.Bottom;
    for (int k = from; k <= to; ++k) {
        line.push_back(eastWest ? TGenPoint{k, at} : TGenPoint{at, k});
        if (rng.Chance(35)) drift = std::clamp(drift + rng.Range(-1, 1), -1, 1);
        if (rng.Chance(45)) at = std::clamp(at + drift, lo, hi);
    }
    return line;
}

} // namespace

void GenerateWilderness(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw) {
    TGenPalette& p = plan.Palette();
    if (!p.Grass) p.Note("meadows (no grass symbol named)");
    if (!p.Road) p.Note("the road's ground (no road symbol named)");
    const TGridRect area = plan.Area(), in = plan.Inner();
    plan.BaseGround = p.Grass;

    // Meadows: patches of dark and dry grass and flowers in the common grass.
    const TValueNoise meadow(rng, 8), flowers(rng, 5), wood(rng, 10), woodFine(rng, 4), hill(rng, 12);
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) {
            const int m = meadow.At(c, r), f = flowers.At(c, r);
            int g = p.Grass;
            if (m > 175 && p.GrassDark) g = p.GrassDark;
            else if (m < 70 && p.GrassDry) g = p.GrassDry;
            if (f > 215 && p.Flowers) g = p.Flowers;
            plan.SetGround(c, r, g);
        }

    // Forest and hills from noise, three cells clear of the area's edges.
    const TGridRect land{in.Left + 3, in.Top + 3, in.Right - 3, in.Bottom - 3};
    const int forestLevel = density == TGenDensity::Few ? 150 : density == TGenDensity::Some ? 135 : 120;
    for (int r = land.Top; r <= land.Bottom; ++r)
        for (int c = land.Left; c <= land.Right; ++c) {
            const int w = (3 * wood.At(c, r) + woodFine.At(c, r)) / 4;
            if (hill.At(c, r) > 200) plan.SetSolid(c, r, p.Mountain);
            else if (w > forestLevel) plan.SetSolid(c, r, p.Forest);
        }

    // Water: a river across, or a lake.
    const bool river = rng.Chance(60);
    const bool roadEastWest = rng.Chance(50);
    std::vector<TGenPoint> waterLine;
    const auto clearAround = [&](TGenPoint q, int reach) {
        for (int dr = -reach; dr <= reach; ++dr)
            for (int dc = -reach; dc <= reach; ++dc) plan.ClearSolid(q.c + dc, q.r + dr);
    };
    if (river) {
        waterLine = Meander(rng, in, !roadEastWest, 6);
        for (const TGenPoint& q : waterLine) clearAround(q, 3);
        const bool wide = rng.Chance(40);
        for (const TGenPoint& q : waterLine) {
            plan.SetSolid(q.c, q.r, p.Water);
            if (wide) plan.SetSolid(q.c + (roadEastWest ? 1 : 0), q.r + (roadEastWest ? 0 : 1), p.Water);
        }
    } else {
        const int cc = rng.Range(land.Left + land.Width() / 4, land.Right - land.Width() / 4);
        const int cr = rng.Range(land.Top + land.Height() / 4, land.Bottom - land.Height() / 4);
        const int rw = rng.Range(4, 8), rh = rng.Range(3, 7);
        for (int r = cr - rh - 3; r <= cr + rh + 3; ++r)
            for (int c = cc - rw - 3; c <= cc + rw + 3; ++c) plan.ClearSolid(c, r);
        const TValueNoise shore(rng, 3);
        for (int r = cr - rh; r <= cr + rh; ++r)
            for (int c = cc - rw; c <= cc + rw; ++c) {
                const int dx = (c - cc) * 100 / rw, dy = (r - cr) * 100 / rh;
                if (dx * dx + dy * dy < 10000 - (shore.At(c, r) - 128) * 30) plan.SetSolid(c, r, p.Water);
            }
    }

    // The road: two cells wide from edge to edge, nothing but ground beside it; a bridge of
    // planks where it crosses the river.
    const std::vector<TGenPoint> road = Meander(rng, area, roadEastWest, 8);
    for (const TGenPoint& q : road) {
        const TGenPoint q2{q.c + (roadEastWest ? 0 : 1), q.r + (roadEastWest ? 1 : 0)};
        const bool wet = plan.Solid(q.c, q.r) == p.Water || plan.Solid(q2.c, q2.r) == p.Water;
        for (int k = -3; k <= 3 && wet; ++k)
            plan.SetGround(q.c + (roadEastWest ? k : 0), q.r + (roadEastWest ? 0 : k), p.Deck ? p.Deck : p.Road);
        clearAround(q, 1);
        clearAround(q2, 1);
        for (const TGenPoint& x : {q, q2})
            if (!wet || !p.Deck) plan.SetGround(x.c, x.r, p.Road);
    }
    if (!road.empty()) plan.Entrance = road.front();

    // Clearings in the forest, one of them with a camp or a ruin.
    const int clearings = density == TGenDensity::Few ? 1 : density == TGenDensity::Some ? 2 : 4;
    std::vector<TGenPoint> glades;
    for (int k = 0, tries = 0; k < clearings && tries < 100; ++tries) {
        const int c = rng.Range(land.Left + 5, land.Right - 5), r = rng.Range(land.Top + 5, land.Bottom - 5);
        if (plan.Solid(c, r) != p.Forest) continue;
        const int rad = rng.Range(3, 5);
        for (int dr = -rad - 2; dr <= rad + 2; ++dr)
            for (int dc = -rad - 2; dc <= rad + 2; ++dc)
                if (dc * dc + dr * dr <= (rad + 1) * (rad + 1) && plan.Solid(c + dc, r + dr) != p.Water)
                    plan.ClearSolid(c + dc, r + dr);
        glades.push_back({c, r});
        ++k;
    }
    const TGenPoint site = glades.empty() ? TGenPoint{(land.Left + land.Right) / 2, (land.Top + land.Bottom) / 2}
                                          : glades[rng.Below(int(glades.size()))];
    const bool ruin = rng.Chance(45);
    if (ruin) {
        // A broken square of wall with rubble inside, cleared of other terrain around.
        const int hw = rng.Range(3, 4), hh = rng.Range(3, 4);
        for (int dr = -hh - 4; dr <= hh + 4; ++dr)
            for (int dc = -hw - 4; dc <= hw + 4; ++dc)
                if (plan.Solid(site.c + dc, site.r + dr) != p.Water) plan.ClearSolid(site.c + dc, site.r + dr);
        for (int dr = -hh; dr <= hh; ++dr)
            for (int dc = -hw; dc <= hw; ++dc) {
                const bool ring = std::abs(dc) == hw || std::abs(dr) == hh;
                if (ring && rng.Chance(70)) plan.SetSolid(site.c + dc, site.r + dr, p.Wall);
            }
    } else {
        for (int dr = -4; dr <= 4; ++dr)
            for (int dc = -4; dc <= 4; ++dc)
                if (plan.Solid(site.c + dc, site.r + dr) != p.Water) plan.ClearSolid(site.c + dc, site.r + dr);
    }
    plan.ConnectAll(rng, true);

    // Dressing: the camp or the ruin's rubble, lone trees and bushes, rocks on the hills.
    std::vector<TGenPoint> nearSite, byWood, open;
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) {
            if (!plan.Free(c, r) || plan.Ground(c, r) == p.Road || plan.Ground(c, r) == p.Deck) continue;
            if (std::abs(c - plan.Entrance.c) <= 1 && std::abs(r - plan.Entrance.r) <= 1) continue;
            if (std::abs(c - site.c) <= 3 && std::abs(r - site.r) <= 3) nearSite.push_back({c, r});
            else if (!plan.Clear(c - 1, r) || !plan.Clear(c + 1, r) || !plan.Clear(c, r - 1) || !plan.Clear(c, r + 1))
                byWood.push_back({c, r});
            else open.push_back({c, r});
        }
    if (ruin) {
        if (sw.Dressing) {
            PutOn(plan, rng, nearSite, p.Object({"rubble"}), 4);
            PutOn(plan, rng, nearSite, p.Object({"statue", "obelisk"}), 1);
            PutOn(plan, rng, nearSite, p.Object({"bones"}), 1);
            if (p.Treasure) PutOn(plan, rng, nearSite, p.Treasure, 1);
        }
    } else {
        if (sw.Lights && p.Campfire && plan.Free(site.c, site.r)) plan.SetObject(site.c, site.r, p.Campfire);
        if (sw.Dressing) {
            PutOn(plan, rng, nearSite, p.Object({"tent"}), rng.Range(2, 3));
            PutOn(plan, rng, nearSite, p.Object({"cart"}), 1);
            PutOn(plan, rng, nearSite, p.Object({"barrel", "crate"}), 1);
        }
    }
    const int n = int(open.size() + byWood.size());
    if (sw.Dressing) {
        PutOn(plan, rng, byWood, p.Object({"tree"}), n / 40);
        PutOn(plan, rng, byWood, p.Object({"bush"}), n / 50);
        PutOn(plan, rng, open, p.Object({"tree"}), n / 90);
        PutOn(plan, rng, open, p.Object({"bush"}), n / 90);
        PutOn(plan, rng, open, p.Object({"rock"}), n / 150);
        PutOn(plan, rng, open, p.Object({"boulder"}), n / 250);
        if (p.Monster) PutOn(plan, rng, byWood, p.Monster, 1 + int(density));
        // A signpost where the road enters.
        const int sign = p.Object({"signpost"});
        if (sign)
            for (int k = 0; k < 6 && k < int(road.size()); ++k) {
                const TGenPoint q = road[size_t(k) + 2 < road.size() ? size_t(k) + 2 : 0];
                const TGenPoint s{q.c + (roadEastWest ? 0 : -1), q.r + (roadEastWest ? -1 : 0)};
                if (plan.Free(s.c, s.r)) {
                    plan.SetObject(s.c, s.r, sign);
                    break;
                }
            }
    }
}

} // namespace qm
