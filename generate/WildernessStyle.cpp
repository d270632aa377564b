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

// What the wilderness's steps share, in the order they are drawn.
struct TWilderness : TGenStyleSteps {
    TGridRect land; // where forest, hills and water go: three cells clear of the edges
    bool roadEastWest = false;
    std::vector<TGenPoint> road;
    TGenPoint site;                // the camp's or the ruin's middle
    bool ruin = false;             // a ruin there, else a camp
    int siteW = 4, siteH = 4;      // how far the site reaches either way
    std::vector<TGenPoint> glades; // the clearings' middles
    std::vector<int> gladeRadius;

    TWilderness(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw)
        : TGenStyleSteps(plan, rng, density, sw), land{in.Left + 3, in.Top + 3, in.Right - 3, in.Bottom - 3} {}

    void ClearAround(TGenPoint q, int reach) {
        for (int dr = -reach; dr <= reach; ++dr)
            for (int dc = -reach; dc <= reach; ++dc) plan.ClearSolid(q.c + dc, q.r + dr);
    }
    // Clears all but water round the site, reachC columns and reachR rows either way.
    void ClearSite(int reachC, int reachR) {
        for (int dr = -reachR; dr <= reachR; ++dr)
            for (int dc = -reachC; dc <= reachC; ++dc)
                if (plan.Solid(site.c + dc, site.r + dr) != p.Water) plan.ClearSolid(site.c + dc, site.r + dr);
    }
    void Land();
    void River();
    void Lake();
    void Road();
    void Clearings();
    void Site();
    void DressSite(std::vector<TGenPoint>& nearSite);
    void Dress();
    void Places();
};

// Meadows: patches of dark and dry grass and flowers in the common grass; forest and hills
// from noise.
void TWilderness::Land() {
    if (!p.Grass) p.Note("meadows (no grass symbol named)");
    if (!p.Road) p.Note("the road's ground (no road symbol named)");
    plan.BaseGround = p.Grass;
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
    const int forestLevel = density == TGenDensity::Few ? 150 : density == TGenDensity::Some ? 135 : 120;
    for (int r = land.Top; r <= land.Bottom; ++r)
        for (int c = land.Left; c <= land.Right; ++c) {
            const int w = (3 * wood.At(c, r) + woodFine.At(c, r)) / 4;
            if (hill.At(c, r) > 200) plan.SetSolid(c, r, p.Mountain);
            else if (w > forestLevel) plan.SetSolid(c, r, p.Forest);
        }
}

// A river across the road's way, in a clear valley, now and then two cells wide.
void TWilderness::River() {
    const std::vector<TGenPoint> waterLine = Meander(rng, in, !roadEastWest, 6);
    for (const TGenPoint& q : waterLine) ClearAround(q, 3);
    const bool wide = rng.Chance(40);
    for (const TGenPoint& q : waterLine) {
        plan.SetSolid(q.c, q.r, p.Water);
        if (wide) plan.SetSolid(q.c + (roadEastWest ? 1 : 0), q.r + (roadEastWest ? 0 : 1), p.Water);
    }
}

// A lake with a ragged shore, cleared round.
void TWilderness::Lake() {
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
void TWilderness::Road() {
    road = Meander(rng, area, roadEastWest, 8);
    for (const TGenPoint& q : road) {
        const TGenPoint q2{q.c + (roadEastWest ? 0 : 1), q.r + (roadEastWest ? 1 : 0)};
        const bool wet = plan.Solid(q.c, q.r) == p.Water || plan.Solid(q2.c, q2.r) == p.Water;
        for (int k = -3; k <= 3 && wet; ++k)
            plan.SetGround(q.c + (roadEastWest ? k : 0), q.r + (roadEastWest ? 0 : k), p.Deck ? p.Deck : p.Road);
        ClearAround(q, 1);
        ClearAround(q2, 1);
        for (const TGenPoint& x : {q, q2})
            if (!wet || !p.Deck) plan.SetGround(x.c, x.r, p.Road);
    }
    if (!road.empty()) plan.Entrance = road.front();
}

// Clearings in the forest, one of them the site of a camp or a ruin.
void TWilderness::Clearings() {
    const int clearings = density == TGenDensity::Few ? 1 : density == TGenDensity::Some ? 2 : 4;
    for (int k = 0, tries = 0; k < clearings && tries < 100; ++tries) {
        const int c = rng.Range(land.Left + 5, land.Right - 5), r = rng.Range(land.Top + 5, land.Bottom - 5);
        if (plan.Solid(c, r) != p.Forest) continue;
        const int rad = rng.Range(3, 5);
        for (int dr = -rad - 2; dr <= rad + 2; ++dr)
            for (int dc = -rad - 2; dc <= rad + 2; ++dc)
                if (dc * dc + dr * dr <= (rad + 1) * (rad + 1) && plan.Solid(c + dc, r + dr) != p.Water)
                    plan.ClearSolid(c + dc, r + dr);
        glades.push_back({c, r});
        gladeRadius.push_back(rad);
        ++k;
    }
    site = glades.empty() ? TGenPoint{(land.Left + land.Right) / 2, (land.Top + land.Bottom) / 2}
                          : glades[rng.Below(int(glades.size()))];
}

// A ruin: a broken square of wall, cleared of other terrain around; or a camp's open ground.
void TWilderness::Site() {
    ruin = rng.Chance(45);
    if (!ruin) {
        ClearSite(4, 4);
        return;
    }
    const int hw = rng.Range(3, 4), hh = rng.Range(3, 4);
    siteW = hw + 1;
    siteH = hh + 1;
    ClearSite(hw + 4, hh + 4);
    for (int dr = -hh; dr <= hh; ++dr)
        for (int dc = -hw; dc <= hw; ++dc) {
            const bool ring = std::abs(dc) == hw || std::abs(dr) == hh;
            if (ring && rng.Chance(70)) plan.SetSolid(site.c + dc, site.r + dr, p.Wall);
        }
}

// The ruin's rubble, or the camp's fire and tents.
void TWilderness::DressSite(std::vector<TGenPoint>& nearSite) {
    if (ruin) {
        if (sw.Dressing) {
            PutOn(plan, rng, nearSite, p.Object({"rubble"}), 4);
            PutOn(plan, rng, nearSite, p.Object({"statue", "obelisk"}), 1);
            PutOn(plan, rng, nearSite, p.Object({"bones"}), 1);
            if (p.Treasure) PutOn(plan, rng, nearSite, p.Treasure, 1);
        }
        return;
    }
    if (sw.Lights && p.Campfire && plan.Free(site.c, site.r)) plan.SetObject(site.c, site.r, p.Campfire);
    if (sw.Dressing) {
        PutOn(plan, rng, nearSite, p.Object({"tent"}), rng.Range(2, 3));
        PutOn(plan, rng, nearSite, p.Object({"cart"}), 1);
        PutOn(plan, rng, nearSite, p.Object({"barrel", "crate"}), 1);
    }
}

// Dressing: the site, lone trees and bushes, rocks on the hills, a signpost by the road.
void TWilderness::Dress() {
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
    DressSite(nearSite);
    if (!sw.Dressing) return;
    const int n = int(open.size() + byWood.size());
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

// The key's places: the site, the bridge, the other clearings and the road.
void TWilderness::Places() {
    const auto region = [&](const char* title, const char* mood, auto&& in) {
        TGenPlace place;
        place.Kind = TGenPlaceKind::Open;
        place.Title = title;
        place.Mood = mood;
        for (int j = area.Top; j <= area.Bottom + 1; ++j)
            for (int i = area.Left; i <= area.Right + 1; ++i)
                if (plan.CornerOpen(i, j) && in(i, j)) place.Corners.push_back(plan.CornerIndex(i, j));
        if (!place.Corners.empty()) plan.Places.push_back(std::move(place));
        return plan.Places.empty() ? nullptr : &plan.Places.back();
    };
    const auto near = [](TGenPoint q, int i, int j, int rc, int rr) {
        return i > q.c - rc && i <= q.c + rc + 1 && j > q.r - rr && j <= q.r + rr + 1;
    };
    region(ruin ? "Ruin" : "Camp",
           ruin ? "Moss creeps over the fallen stones." : "Trampled grass, and the smell of old smoke.",
           [&](int i, int j) { return near(site, i, j, siteW, siteH); });
    const auto cellIs = [&](int i, int j, int ground) {
        for (int r = j - 1; r <= j; ++r)
            for (int c = i - 1; c <= i; ++c)
                if (ground && plan.Ground(c, r) == ground) return true;
        return false;
    };
    if (p.Deck) region("Bridge", "Water rushes below.", [&](int i, int j) { return cellIs(i, j, p.Deck); });
    for (size_t g = 0; g < glades.size(); ++g)
        if (!(glades[g] == site))
            region("Clearing", "Birdsong, and sunlight through the leaves.", [&](int i, int j) {
                const int dc = i - glades[g].c, dr = j - glades[g].r, rad = gladeRadius[g];
                return dc * dc + dr * dr <= rad * rad;
            });
    if (!road.empty()) {
        TGenPlace* r = region("The road", "Wheel ruts in the dirt.",
                              [&](int i, int j) { return cellIs(i, j, p.Road); });
        if (r && r->Title == "The road")
            r->Lines.push_back(roadEastWest ? "It runs east-west from edge to edge."
                                            : "It runs north-south from edge to edge.");
    }
}

} // namespace

void GenerateWilderness(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw) {
    TWilderness w(plan, rng, density, sw);
    w.Land();
    // Water: a river across, or a lake.
    const bool river = rng.Chance(60);
    w.roadEastWest = rng.Chance(50);
    if (river) w.River();
    else w.Lake();
    w.Road();
    w.Clearings();
    w.Site();
    plan.ConnectAll(rng, true);
    w.Dress();
    w.Places();
}

} // namespace qm
