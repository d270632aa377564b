// The keep: a curtain wall (a plain enclosure, an L, or an outer bailey beside an inner ward)
// with towers at its corners and along long sides, a gatehouse with a road out to the edge on
// its side, arrow slits in the outer walls, a courtyard with a well, a great hall with
// chambers and ranges of rooms against the curtain; round it now and then a moat, and a
// hamlet, fields, a pond and trees.
#include "generate/KeepStyle.h"

#include <algorithm>
#include <cstdlib>

#include "generate/GenKey.h"

namespace qm {

// What the tileset lacks, and the grass all round: dark and dry patches in the common grass.
void TKeep::Grass() {
    NoteDoorsMissing(p, sw);
    if (!p.WindowH) p.Note("arrow slits in east-west walls (no window symbol for them)");
    // The built-in tileset's arrow slit is drawn across an east-west wall only, all its symbol
    // slots are taken and symbols are never drawn turned: say what would give them.
    if (!p.WindowV)
        p.Note(
            "arrow slits in north-south walls (no window symbol drawn for a north-south wall; a tileset whose "
            ".roles gives one with axis=v gets them)");
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) {
            const int n = rng.Below(100);
            plan.SetGround(c, r, n < 8 && p.GrassDark ? p.GrassDark : (n < 12 && p.GrassDry ? p.GrassDry : p.Grass));
        }
}

// The wards' outline and the courtyard's ground; false when no keep fits the area.
bool TKeep::Outline() {
    small = in.Width() < 40 || in.Height() < 40;
    if (!ChooseKeepLayout(in, rng, small, k)) {
        plan.Entrance = {(area.Left + area.Right) / 2, (area.Top + area.Bottom) / 2};
        return false;
    }
    k.Road.assign(MapSize * MapSize, 0);
    courtyard = p.Cobbles ? p.Cobbles : (p.Dirt ? p.Dirt : p.Grass);
    plan.BaseGround = courtyard; // shows around the doors
    // Cobbles worn to dirt and gravel here and there.
    const int worn[2] = {p.Dirt, p.Ground({"gravel"})};
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) {
            if (k.Distance(c, r) > 0) continue;
            const int n = rng.Below(100);
            plan.SetGround(c, r, n < 6 && worn[n % 2] ? worn[n % 2] : courtyard);
        }
    return true;
}

// The curtain round every ward; where an L's wards meet, no wall between them.
void TKeep::Curtain() {
    for (const TKeepWard& w : k.Wards) {
        for (int c = w.L; c <= w.R; ++c) {
            plan.SetSolid(c, w.T, p.Wall);
            plan.SetSolid(c, w.B, p.Wall);
        }
        for (int r = w.T; r <= w.B; ++r) {
            plan.SetSolid(w.L, r, p.Wall);
            plan.SetSolid(w.R, r, p.Wall);
        }
    }
    if (k.SharedOpen)
        for (int a = k.SharedLo + 1; a < k.SharedHi; ++a)
            plan.ClearSolid(k.SharedNS ? k.SharedLine : a, k.SharedNS ? a : k.SharedLine);
}

// The gate's place: any outer side long enough for a gatehouse (the outer bailey's, where
// there are two wards), flanked by two towers.
void TKeep::ChooseGate() {
    const std::vector<TKeepWard>& wards = k.Wards;
    t = small || rng.Chance(50) ? 3 : 4;
    std::vector<TSide> gateSides;
    const size_t gateWards = CrossWall() ? 1 : wards.size();
    for (size_t w = 0; w < gateWards; ++w)
        for (int side = 0; side < 4; ++side)
            if (!k.SideShared(wards[w], side) && wards[w].Hi(side) - wards[w].Lo(side) >= 4 * t + 10)
                gateSides.push_back({int(w), side});
    gs = gateSides.empty() ? TSide{0, 2} : gateSides[rng.Below(int(gateSides.size()))];
    const TKeepWard& gw = GateWard();
    gateNS = gs.side == 1 || gs.side == 3;
    gateLine = gw.Line(gs.side);
    gateLo = gw.Lo(gs.side) + 2 * t + 4;
    gateHi = gw.Hi(gs.side) - 2 * t - 5;
    gateAt = rng.Range(gateLo, std::max(gateLo, gateHi));
}

// Towers: at every ward's corners, the gate's pair, the cross wall's gatehouse and one
// along each long outer side; each a small room astride the curtain.
void TKeep::TowerSpots() {
    for (const TKeepWard& w : k.Wards)
        for (const TGenPoint c : {TGenPoint{w.L, w.T}, TGenPoint{w.R, w.T}, TGenPoint{w.L, w.B}, TGenPoint{w.R, w.B}})
            spots.push_back({c, false});
    if (!small)
        for (int d : {-t - 1, t + 2})
            spots.push_back({gateNS ? TGenPoint{gateLine, gateAt + d} : TGenPoint{gateAt + d, gateLine}, true});
    if (CrossWall()) {
        const int lo = k.SharedLo + t + 5, hi = k.SharedHi - t - 6;
        innerAt = hi >= lo ? rng.Range(lo, hi) : rng.Range(k.SharedLo + 3, k.SharedHi - 4);
        if (hi >= lo)
            for (int d : {-t - 1, t + 2})
                spots.push_back(
                    {k.SharedNS ? TGenPoint{k.SharedLine, innerAt + d} : TGenPoint{innerAt + d, k.SharedLine}, true});
    }
    WallTowerSpots();
}

void TKeep::WallTowerSpots() {
    const std::vector<TKeepWard>& wards = k.Wards;
    for (size_t w = 0; w < wards.size() && !small; ++w)
        for (int side = 0; side < 4; ++side) {
            if (k.SideShared(wards[w], side) || (int(w) == gs.ward && side == gs.side)) continue;
            const int lo = wards[w].Lo(side), len = wards[w].Hi(side) - lo, line = wards[w].Line(side);
            if (len < 28) continue;
            // One tower, two on a long side, or now and then a plain stretch of wall.
            const int n = len >= 40 && rng.Chance(50) ? 2 : (rng.Chance(80) ? 1 : 0);
            for (int i = 0; i < n; ++i) {
                const int at = lo + (n == 1 ? rng.Range(len / 3, len - len / 3)
                                            : (i == 0 ? rng.Range(len / 4, len * 2 / 5)
                                                      : rng.Range(len * 3 / 5, len * 3 / 4)));
                spots.push_back({side == 1 || side == 3 ? TGenPoint{line, at} : TGenPoint{at, line}, false});
            }
        }
}

// Nooks of floor shut in between towers and the curtain, too small to be anything: filled with
// wall, so nothing has to be cut through the curtain to reach them.
void TKeep::FillNooks() {
    std::vector<int> label;
    const int parts = plan.CornerParts(label);
    std::vector<int> size(parts, 0);
    std::vector<char> room(parts, 0);
    for (int l : label)
        if (l >= 0) ++size[l];
    const int W = area.Width() + 1;
    for (const std::vector<TGenRoom>* list : {&rooms, &towers, &outside.Houses})
        for (const TGenRoom& r : *list)
            for (int j = r.y0 + 1; j <= r.y1; ++j)
                for (int i = r.x0 + 1; i <= r.x1; ++i)
                    if (plan.InArea(i - 1, j - 1) && label[plan.CornerIndex(i, j)] >= 0)
                        room[label[plan.CornerIndex(i, j)]] = 1;
    for (int k2 = 0; k2 < int(label.size()); ++k2) {
        const int l = label[k2];
        if (l < 0 || room[l] || size[l] >= OpenPartSize) continue;
        const int i = area.Left + k2 % W, j = area.Top + k2 / W;
        for (int r = j - 1; r <= j; ++r)
            for (int c = i - 1; c <= i; ++c)
                if (!plan.Solid(c, r)) plan.SetSolid(c, r, p.Wall);
    }
}

// Each tower where it stands apart from the others, with a door into the yard.
void TKeep::Towers() {
    for (const TSpot& s : spots) {
        // Corner and wall towers each of their own size; a gatehouse's pair alike.
        const int ts = s.paired || small ? t : rng.Range(3, 5), w = ts + (s.paired ? 0 : rng.Below(2));
        TGenRoom tower{s.at.c - w / 2, s.at.r - ts / 2, s.at.c - w / 2 + w - 1, s.at.r - ts / 2 + ts - 1};
        tower.purpose = TRoomPurpose::Tower;
        bool apart = true;
        for (const TGenRoom& o : towers) apart = apart && !Overlaps(tower, o, 2);
        if (!apart) continue;
        for (int r = tower.y0 - 1; r <= tower.y1 + 1; ++r)
            for (int c = tower.x0 - 1; c <= tower.x1 + 1; ++c) plan.SetSolid(c, r, p.Wall);
        CarveRoom(plan, tower);
        towers.push_back(tower);
    }
    // Into the yard itself, not a nook shut in between two towers and the curtain.
    std::vector<int> label;
    std::vector<int> size(plan.CornerParts(label), 0);
    for (int l : label)
        if (l >= 0) ++size[l];
    const auto intoYard = [&](const TGenDoor& d) {
        const int part = label[plan.CornerIndex(d.outside.c, d.outside.r)];
        return InYard(d.outside) && InYard(d.a) && InYard(d.b) && part >= 0 && size[part] >= OpenPartSize;
    };
    for (size_t i = 0; i < towers.size(); ++i) {
        bool done = false;
        for (int tries = 0; tries < 12 && !done; ++tries) {
            TGenDoor d;
            // The door's gap wholly within the yard, never cut into the curtain beside the tower.
            if (!DoorOnSide(rng, towers[i], int(i), rng.Below(4), d) || !intoYard(d)) continue;
            CutDoor(plan, d);
            doors.push_back(d);
            done = true;
        }
        // Every place a door into the yard fits; a tower too small to have one (a small one on
        // a corner) reaches a cell further into the yard, so its room is never shut in.
        for (int grow = 0; grow < 3 && !done; ++grow) {
            std::vector<TGenDoor> fits;
            for (int side = 0; side < 4; ++side)
                for (int at = std::min(towers[i].x0, towers[i].y0); at <= std::max(towers[i].x1, towers[i].y1); ++at) {
                    TGenDoor d;
                    if (DoorOnSideAt(towers[i], int(i), side, at, d) && intoYard(d)) fits.push_back(d);
                }
            if (!fits.empty()) {
                const TGenDoor d = fits[size_t(rng.Below(int(fits.size())))];
                CutDoor(plan, d);
                doors.push_back(d);
                done = true;
                break;
            }
            TGenRoom& tw = towers[i];
            for (const TKeepWard& w : k.Wards) {
                if (!Overlaps(tw, {w.L, w.T, w.R, w.B}, 0)) continue;
                if (tw.CentreC() * 2 > w.L + w.R) --tw.x0;
                else ++tw.x1;
                if (tw.CentreR() * 2 > w.T + w.B) --tw.y0;
                else ++tw.y1;
                break;
            }
            for (int r = tw.y0 - 1; r <= tw.y1 + 1; ++r)
                for (int c = tw.x0 - 1; c <= tw.x1 + 1; ++c)
                    if (!tw.Contains(c, r) && !plan.Solid(c, r)) plan.SetSolid(c, r, p.Wall);
            CarveRoom(plan, tw);
        }
    }
}

// The gate between its towers. The moat: a ring of water a fixed way beyond the curtain,
// clear of the towers (water within two cells of a wall would be refused and leave a gap).
// A keep with no gate gets none, so nothing ever has to be cut through it; a ring that
// cannot close is dropped.
void TKeep::GateAndMoat() {
    haveGate = DoorInWall(plan, rng, gateNS, gateLine, gateAt, gateAt + 1, -1, gate) ||
               DoorInWall(plan, rng, gateNS, gateLine, gateLo - t, gateHi + t, -1, gate);
    if (k.Moat && haveGate) {
        const std::vector<uint8_t> saved = plan.SaveSolid();
        for (int r = area.Top; r <= area.Bottom && k.Moat; ++r)
            for (int c = area.Left; c <= area.Right && k.Moat; ++c) {
                const int d = k.Distance(c, r);
                if (d >= k.MoatOut && d < k.MoatOut + k.MoatWidth && !plan.SetSolid(c, r, p.Water)) k.Moat = false;
            }
        if (!k.Moat) plan.RestoreSolid(saved);
    } else {
        k.Moat = false;
    }
}

// The road: two cells wide, from the gate straight out to the area's edge. Where it meets
// the moat, the water across the road and one cell either side of it gives way to a
// bridge, so the ring is crossed there and nowhere else.
void TKeep::Road() {
    if (!haveGate) {
        const TKeepWard& gw = GateWard();
        plan.Entrance = {(gw.L + gw.R) / 2, (gw.T + gw.B) / 2};
        return;
    }
    CutDoor(plan, gate);
    const int dc = gs.side == 1 ? 1 : gs.side == 3 ? -1 : 0, dr = gs.side == 2 ? 1 : gs.side == 0 ? -1 : 0;
    k.RoadDc = dc;
    k.RoadDr = dr;
    const auto cellAt = [&](TGenPoint q, int across) {
        return TGenPoint{q.c + (gateNS ? 0 : across), q.r + (gateNS ? across : 0)};
    };
    std::vector<TGenPoint> road;
    for (TGenPoint q = {gate.a.c + dc, gate.a.r + dr};
         plan.InArea(q.c, q.r) && plan.InArea(cellAt(q, 1).c, cellAt(q, 1).r); q = {q.c + dc, q.r + dr})
        if (k.Distance(q.c, q.r) > 0) road.push_back(q);
    std::vector<char> wet(road.size(), 0);
    for (size_t i = 0; i < road.size() && k.Moat; ++i)
        for (int e = -1; e <= 2; ++e) {
            const TGenPoint x = cellAt(road[i], e);
            if (plan.Solid(x.c, x.r) != p.Water) continue;
            plan.ClearSolid(x.c, x.r);
            for (size_t j = i > 0 ? i - 1 : 0; j <= i + 1 && j < road.size(); ++j) wet[j] = 1;
        }
    for (size_t i = 0; i < road.size(); ++i)
        for (int e = -1; e <= 2; ++e) {
            const TGenPoint x = cellAt(road[i], e);
            if (wet[i] && p.Deck) plan.SetGround(x.c, x.r, p.Deck);
            else if (e == 0 || e == 1) plan.SetGround(x.c, x.r, p.Road ? p.Road : courtyard);
            if (wet[i] || e == 0 || e == 1) k.Road[x.r * MapSize + x.c] = 1;
        }
    plan.Entrance = {gate.a.c + 3 * dc, gate.a.r + 3 * dr};
    // Keep the way in free of buildings.
    approaches.push_back({std::min(gate.a.c, gate.b.c) - 3, std::min(gate.a.r, gate.b.r) - 3,
                          std::max(gate.a.c, gate.b.c) + 3, std::max(gate.a.r, gate.b.r) + 3});
}

// The cross wall's gate into the inner ward.
void TKeep::InnerGate() {
    TGenDoor innerGate;
    const bool haveInner = innerAt >= 0 &&
                           (DoorInWall(plan, rng, k.SharedNS, k.SharedLine, innerAt, innerAt + 1, -1, innerGate) ||
                            DoorInWall(plan, rng, k.SharedNS, k.SharedLine, k.SharedLo + 2, k.SharedHi - 2, -1,
                                       innerGate));
    if (!haveInner) return;
    CutDoor(plan, innerGate);
    innerGate.room = -3;
    doors.push_back(innerGate);
    approaches.push_back({std::min(innerGate.a.c, innerGate.b.c) - 3, std::min(innerGate.a.r, innerGate.b.r) - 3,
                          std::max(innerGate.a.c, innerGate.b.c) + 3, std::max(innerGate.a.r, innerGate.b.r) + 3});
}

namespace {
const char* HouseTitle(TRoomPurpose purpose) {
    switch (purpose) {
    case TRoomPurpose::Kitchen: return "Bakehouse";
    case TRoomPurpose::Storeroom: return "Storehouse";
    case TRoomPurpose::Armoury: return "Smithy";
    default: return "Cottage";
    }
}
} // namespace

// The key's places: the rooms, the towers and the houses, then each ward's open ground and
// the ground outside the walls.
void TKeep::Places() {
    for (const TGenRoom& r : rooms) AddRoomPlace(plan, r, r.purpose == TRoomPurpose::Hall ? "Great hall" : nullptr);
    for (const TGenRoom& r : towers) AddRoomPlace(plan, r);
    for (const TGenRoom& h : outside.Houses) AddRoomPlace(plan, h, HouseTitle(h.purpose));
    const int W = area.Width() + 1, N = W * (area.Height() + 1);
    std::vector<char> taken(N, 0);
    for (const std::vector<TGenRoom>* list : {&rooms, &towers, &outside.Houses})
        for (const TGenRoom& r : *list)
            for (int j = r.y0 + 1; j <= r.y1; ++j)
                for (int i = r.x0 + 1; i <= r.x1; ++i)
                    if (plan.InArea(i - 1, j - 1)) taken[plan.CornerIndex(i, j)] = 1;
    // Floor corners whose four cells all lie within the curtain, or all outside it.
    const auto all = [&](int idx, auto&& ok) {
        const int i = area.Left + idx % W, j = area.Top + idx / W;
        return ok(i - 1, j - 1) && ok(i, j - 1) && ok(i - 1, j) && ok(i, j);
    };
    const auto yard = [&](int idx) { return all(idx, [&](int c, int r) { return k.InYard(c, r); }); };
    const auto beyond = [&](int idx) { return all(idx, [&](int c, int r) { return k.Distance(c, r) > 0; }); };
    std::vector<int> part(N, -1);
    std::vector<std::vector<int>> yards, outs;
    for (int s = 0; s < N; ++s) {
        const int i0 = area.Left + s % W, j0 = area.Top + s / W;
        if (part[s] >= 0 || taken[s] || !plan.CornerOpen(i0, j0)) continue;
        const bool inYard = yard(s);
        if (!inYard && !beyond(s)) continue;
        std::vector<int> got{s};
        part[s] = 1;
        for (size_t q = 0; q < got.size(); ++q) {
            const int i = area.Left + got[q] % W, j = area.Top + got[q] / W;
            const int ni[4] = {i + 1, i - 1, i, i}, nj[4] = {j, j, j + 1, j - 1};
            for (int d = 0; d < 4; ++d) {
                if (ni[d] < area.Left || nj[d] < area.Top || ni[d] > area.Right + 1 || nj[d] > area.Bottom + 1)
                    continue;
                const int n = plan.CornerIndex(ni[d], nj[d]);
                if (part[n] >= 0 || taken[n] || !plan.CornerOpen(ni[d], nj[d])) continue;
                if (inYard ? !yard(n) : !beyond(n)) continue;
                part[n] = 1;
                got.push_back(n);
            }
        }
        if (got.size() >= 16) (inYard ? yards : outs).push_back(std::move(got));
    }
    for (std::vector<int>& y : yards) {
        const int i = area.Left + y[0] % W, j = area.Top + y[0] / W;
        TGenPlace place;
        place.Kind = TGenPlaceKind::Ground;
        place.Title = !CrossWall() ? "Courtyard" : k.Wards[1].Inside(i, j) ? "Inner ward" : "Outer bailey";
        place.Mood = "Open sky overhead, and the sound of boots on stone.";
        place.Corners = std::move(y);
        plan.Places.push_back(std::move(place));
    }
    // The ground outside: the largest stretch of it, where the road comes in.
    std::stable_sort(outs.begin(), outs.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
    if (!outs.empty()) {
        TGenPlace place;
        place.Kind = TGenPlaceKind::Ground;
        place.Title = "Outside the walls";
        place.Mood = "Wind in the grass.";
        if (k.Moat) place.Lines.push_back("A moat rings the walls.");
        place.Corners = std::move(outs[0]);
        plan.Places.push_back(std::move(place));
    }
}

void GenerateKeep(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw) {
    TKeep keep(plan, rng, density, sw);
    keep.Grass();
    if (!keep.Outline()) return;
    keep.Curtain();
    keep.ChooseGate();
    keep.TowerSpots();
    keep.Towers();
    keep.GateAndMoat();
    keep.Road();
    keep.InnerGate();
    keep.Buildings();
    PlaceKeepSurroundings(plan, rng, keep.k, keep.small, keep.outside);
    keep.FillNooks();
    plan.ConnectAll(rng);
    keep.ArrowSlits();
    keep.HangDoors();
    keep.DressRooms();
    keep.DressCourtyard();
    keep.Places();
}

} // namespace qm
