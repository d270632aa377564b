// Round the keep, so the ground outside the wall is not bare grass: a hamlet of small houses
// by the road, fenced fields, a pond, copses and trees standing in clumps.
#include <algorithm>
#include <cstdlib>

#include "generate/GenNoise.h"
#include "generate/KeepLayout.h"

namespace qm {

namespace {

bool Apart(const TGenRoom& a, const TGenRoom& b, int gap) {
    return a.x0 > b.x1 + gap || a.x1 < b.x0 - gap || a.y0 > b.y1 + gap || a.y1 < b.y0 - gap;
}

// The rectangle lies within the inner area with no terrain within `gap` cells of it, no road
// within `road` cells, at least `keep` cells from the curtain, and apart from houses and fields.
bool Room(const TGenPlan& plan, const TKeepLayout& k, const TKeepOutside& out, const TGenRoom& r, int gap, int road,
          int keep) {
    const TGridRect in = plan.Inner();
    if (r.x0 - 1 < in.Left || r.y0 - 1 < in.Top || r.x1 + 1 > in.Right || r.y1 + 1 > in.Bottom) return false;
    for (int y = r.y0 - gap; y <= r.y1 + gap; ++y)
        for (int x = r.x0 - gap; x <= r.x1 + gap; ++x)
            if (plan.Solid(x, y)) return false;
    for (int y = r.y0 - road; y <= r.y1 + road; ++y)
        for (int x = r.x0 - road; x <= r.x1 + road; ++x)
            if (k.OnRoad(x, y)) return false;
    for (int y = r.y0; y <= r.y1; ++y)
        for (int x = r.x0; x <= r.x1; ++x)
            if (k.Distance(x, y) < keep) return false;
    for (const TGenRoom& h : out.Houses)
        if (!Apart(r, {h.x0 - 1, h.y0 - 1, h.x1 + 1, h.y1 + 1}, 1)) return false;
    for (const TGenRoom& f : out.Fields)
        if (!Apart(r, f, 1)) return false;
    return true;
}

// Stamp centres of `base` on the cells; kept only when every one stood and no floor was cut off.
bool StampAll(TGenPlan& plan, const std::vector<TGenPoint>& cells, int base) {
    const std::vector<uint8_t> saved = plan.SaveSolid();
    std::vector<int> label;
    const int before = plan.CornerParts(label);
    bool ok = true;
    for (const TGenPoint& q : cells) ok = ok && plan.SetSolid(q.c, q.r, base);
    if (ok && plan.CornerParts(label) <= before) return true;
    plan.RestoreSolid(saved);
    return false;
}

// The house's wall with one door on `side`; taken back when that cuts off any floor.
bool WallHouse(TGenPlan& plan, TGenRandom& rng, const TGenRoom& house, int side, TGenDoor& d) {
    std::vector<TGenPoint> ring;
    for (int r = house.y0 - 1; r <= house.y1 + 1; ++r)
        for (int c = house.x0 - 1; c <= house.x1 + 1; ++c)
            if (!house.Contains(c, r)) ring.push_back({c, r});
    const std::vector<uint8_t> saved = plan.SaveSolid();
    std::vector<int> label;
    const int before = plan.CornerParts(label);
    bool ok = true;
    for (const TGenPoint& q : ring) ok = ok && plan.SetSolid(q.c, q.r, plan.Palette().Wall);
    ok = ok && DoorOnSide(rng, house, 0, side, d);
    if (ok) CutDoor(plan, d);
    if (ok && plan.CornerParts(label) <= before) return true;
    plan.RestoreSolid(saved);
    return false;
}

// A trodden path from the door on `side` to the road.
void TrodPath(TGenPlan& plan, const TKeepLayout& k, const TGenDoor& d, int side) {
    const int dirt = plan.Palette().Dirt;
    if (!dirt) return;
    const int dc = side == 1 ? 1 : side == 3 ? -1 : 0, dr = side == 2 ? 1 : side == 0 ? -1 : 0;
    for (int step = 1; step <= 8; ++step) {
        const TGenPoint a{d.a.c + step * dc, d.a.r + step * dr}, b{d.b.c + step * dc, d.b.r + step * dr};
        if (k.OnRoad(a.c, a.r) || k.OnRoad(b.c, b.r)) break;
        plan.SetGround(a.c, a.r, dirt);
        plan.SetGround(b.c, b.r, dirt);
    }
}

// A small house with one door, by the road where there is one, its door facing it.
void PlaceHouses(TGenPlan& plan, TGenRandom& rng, const TKeepLayout& k, int clear, TKeepOutside& out) {
    const TGridRect in = plan.Inner();
    std::vector<TGenPoint> road;
    for (int r = in.Top; r <= in.Bottom; ++r)
        for (int c = in.Left; c <= in.Right; ++c)
            if (k.OnRoad(c, r) && k.Distance(c, r) >= clear) road.push_back({c, r});
    const int want = rng.Range(2, 5);
    for (int tries = 0; tries < 50 && int(out.Houses.size()) < want; ++tries) {
        const int w = rng.Range(3, 5), h = rng.Range(3, 4);
        int x0, y0, side;
        const bool byRoad = !road.empty() && tries < 40;
        if (byRoad) {
            const TGenPoint q = road[size_t(rng.Below(int(road.size())))];
            const int s = rng.Chance(50) ? 1 : -1, off = rng.Range(3, 6);
            if (k.RoadDc == 0) {
                x0 = s > 0 ? q.c + off : q.c - off - w + 1;
                y0 = q.r - h / 2;
                side = s > 0 ? 3 : 1;
            } else {
                y0 = s > 0 ? q.r + off : q.r - off - h + 1;
                x0 = q.c - w / 2;
                side = s > 0 ? 0 : 2;
            }
        } else {
            x0 = rng.Range(in.Left + 3, in.Right - 3 - w);
            y0 = rng.Range(in.Top + 3, in.Bottom - 3 - h);
            side = rng.Below(4);
        }
        TGenRoom house{x0, y0, x0 + w - 1, y0 + h - 1};
        if (!Room(plan, k, out, {x0 - 1, y0 - 1, x0 + w, y0 + h}, 3, 1, clear)) continue;
        TGenDoor d;
        if (!WallHouse(plan, rng, house, side, d)) continue;
        house.purpose = PickPurpose(rng, house,
                                    {TRoomPurpose::Bedchamber, TRoomPurpose::Bedchamber, TRoomPurpose::Kitchen,
                                     TRoomPurpose::Storeroom, TRoomPurpose::Armoury});
        out.Houses.push_back(house);
        out.Doors.push_back(d);
        if (byRoad) TrodPath(plan, k, d, side);
    }
}

// A rounded blob of terrain: a pond or a copse.
void PlaceBlob(TGenPlan& plan, TGenRandom& rng, const TKeepLayout& k, int clear, const TKeepOutside& out, int base) {
    const TGridRect in = plan.Inner();
    for (int tries = 0; tries < 20; ++tries) {
        const int rx = rng.Range(2, 4), ry = rng.Range(2, 3);
        const int cx = rng.Range(in.Left + rx + 3, in.Right - rx - 3),
                  cy = rng.Range(in.Top + ry + 3, in.Bottom - ry - 3);
        if (!Room(plan, k, out, {cx - rx, cy - ry, cx + rx, cy + ry}, 3, 2, clear + 1)) continue;
        std::vector<TGenPoint> cells;
        for (int dy = -ry; dy <= ry; ++dy)
            for (int dx = -rx; dx <= rx; ++dx) {
                const int v = dx * dx * ry * ry + dy * dy * rx * rx, lim = rx * rx * ry * ry;
                // The rim ragged here and there; never a hole, only bays.
                if (v <= lim && (v * 10 < lim * 6 || !rng.Chance(30))) cells.push_back({cx + dx, cy + dy});
            }
        if (StampAll(plan, cells, base)) return;
    }
}

} // namespace

void PlaceKeepSurroundings(TGenPlan& plan, TGenRandom& rng, const TKeepLayout& k, bool small, TKeepOutside& out) {
    const TGenPalette& p = plan.Palette();
    // Beyond the towers, and beyond the moat with a bank to walk on.
    const int clear = k.Moat ? k.MoatOut + k.MoatWidth + 3 : 7;
    if (!small && rng.Chance(65)) PlaceHouses(plan, rng, k, clear, out);
    const int farmland = p.Ground({"farmland"});
    const int fields = farmland ? rng.Range(small ? 0 : 1, 4) : 0;
    const TGridRect in = plan.Inner();
    for (int tries = 0; tries < 40 && int(out.Fields.size()) < fields; ++tries) {
        const int w = rng.Range(5, 12), h = rng.Range(4, 8);
        const int x0 = rng.Range(in.Left + 2, in.Right - 2 - w), y0 = rng.Range(in.Top + 2, in.Bottom - 2 - h);
        const TGenRoom f{x0, y0, x0 + w - 1, y0 + h - 1};
        if (!Room(plan, k, out, f, 2, 1, clear)) continue;
        for (int r = f.y0; r <= f.y1; ++r)
            for (int c = f.x0; c <= f.x1; ++c) plan.SetGround(c, r, farmland);
        out.Fields.push_back(f);
    }
    if (rng.Chance(small ? 25 : 50)) PlaceBlob(plan, rng, k, clear, out, p.Water);
    for (int n = rng.Range(small ? 0 : 1, small ? 1 : 3); n > 0; --n) PlaceBlob(plan, rng, k, clear, out, p.Forest);
}

void DressKeepSurroundings(TGenPlan& plan, TGenRandom& rng, const TKeepLayout& k, const TKeepOutside& out,
                           const std::vector<TGenDoor>& doors, const TGenSwitches& sw) {
    const TGenPalette& p = plan.Palette();
    for (const TGenRoom& h : out.Houses) DressRoom(plan, rng, h, doors, sw);
    if (!sw.Dressing) return;
    // Fences along some sides of the fields, with a gap to go in.
    const int fenceEW = p.Object({"fence, east-west"}), fenceNS = p.Object({"fence, north-south"});
    for (const TGenRoom& f : out.Fields)
        for (int side = 0; side < 4; ++side) {
            if (!rng.Chance(55)) continue;
            const bool ns = side == 1 || side == 3;
            const int sym = ns ? fenceNS : fenceEW;
            const int lo = ns ? f.y0 : f.x0, hi = ns ? f.y1 : f.x1, gap = rng.Range(lo, hi);
            const int line = side == 0 ? f.y0 - 1 : side == 1 ? f.x1 + 1 : side == 2 ? f.y1 + 1 : f.x0 - 1;
            for (int a = lo; a <= hi && sym; ++a) {
                const int c = ns ? line : a, r = ns ? a : line;
                if (a != gap && plan.Free(c, r) && !k.OnRoad(c, r)) plan.SetObject(c, r, sym);
            }
        }
    // Trees in clumps where the noise is high, a few alone; bushes between; none on the bank
    // inside the moat but a bush now and then.
    const TValueNoise woods(rng, 9);
    const int tree = p.Object({"tree"}), bush = p.Object({"bush"});
    const TGridRect area = plan.Area();
    const int beyond = k.Moat ? k.MoatOut + k.MoatWidth + 1 : 5;
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) {
            const int dist = k.Distance(c, r);
            if (dist < 4 || !plan.Free(c, r) || k.OnRoad(c, r)) continue;
            if (std::abs(c - plan.Entrance.c) <= 2 && std::abs(r - plan.Entrance.r) <= 2) continue;
            bool taken = false;
            for (const TGenRoom& f : out.Fields) taken |= f.Contains(c, r);
            for (const TGenDoor& d : out.Doors) taken |= std::abs(c - d.a.c) <= 2 && std::abs(r - d.a.r) <= 2;
            if (taken) continue;
            const int v = woods.At(c, r);
            if (dist < beyond) {
                if (bush && rng.Chance(2)) plan.SetObject(c, r, bush);
            } else if (tree && (v > 170 ? rng.Chance(45) : rng.Chance(3))) {
                plan.SetObject(c, r, tree);
            } else if (bush && v > 140 && rng.Chance(5)) {
                plan.SetObject(c, r, bush);
            }
        }
}

} // namespace qm
