// The keep: a curtain wall (a plain enclosure, an L, or an outer bailey beside an inner ward)
// with towers at its corners and along long sides, a gatehouse with a road out to the edge on
// its side, arrow slits in the outer walls, a courtyard with a well, a great hall with
// chambers and ranges of rooms against the curtain; round it now and then a moat, and a
// hamlet, fields, a pond and trees.
#include <algorithm>
#include <cstdlib>

#include "generate/KeepLayout.h"

namespace qm {

namespace {

struct TWall {
    bool northSouth;
    int line, lo, hi;
};

// Splits a building's interior into rooms by walls one plan cell thick.
void Split(TGenPlan& plan, TGenRandom& rng, TGenRoom room, int depth, std::vector<TGenRoom>& rooms,
           std::vector<TWall>& walls) {
    constexpr int Min = 4;
    const bool wide = room.Width() >= 2 * Min + 1, tall = room.Height() >= 2 * Min + 1;
    const bool go = (wide || tall) && (depth < 1 || rng.Chance(depth < 3 ? 70 : 30));
    if (!go) {
        rooms.push_back(room);
        return;
    }
    const bool across = wide &&
                        (!tall || room.Width() > room.Height() || (room.Width() == room.Height() && rng.Chance(50)));
    TGenRoom a = room, b = room;
    if (across) {
        const int s = rng.Range(room.x0 + Min, room.x1 - Min);
        for (int r = room.y0; r <= room.y1; ++r) plan.SetSolid(s, r, plan.Palette().Wall);
        a.x1 = s - 1;
        b.x0 = s + 1;
        walls.push_back({true, s, room.y0, room.y1});
    } else {
        const int s = rng.Range(room.y0 + Min, room.y1 - Min);
        for (int c = room.x0; c <= room.x1; ++c) plan.SetSolid(c, s, plan.Palette().Wall);
        a.y1 = s - 1;
        b.y0 = s + 1;
        walls.push_back({false, s, room.x0, room.x1});
    }
    Split(plan, rng, a, depth + 1, rooms, walls);
    Split(plan, rng, b, depth + 1, rooms, walls);
}

bool Overlaps(const TGenRoom& a, const TGenRoom& b, int gap) {
    return !(a.x0 > b.x1 + gap || a.x1 < b.x0 - gap || a.y0 > b.y1 + gap || a.y1 < b.y0 - gap);
}

// A ward side: 0 north, 1 east, 2 south, 3 west.
struct TSide {
    int ward, side;
};

struct TSpot {
    TGenPoint at;
    bool paired; // a gatehouse tower: the size of its pair
};

// What the keep's steps share, in the order they are drawn: every step draws from rng in
// its turn, so the same seed gives the same keep.
struct TKeep {
    TGenPlan& plan;
    TGenRandom& rng;
    TGenPalette& p;
    TGenDensity density;
    const TGenSwitches& sw;
    TGridRect area, in;
    bool small = false; // a small area gets a small fort: one enclosure, three-cell towers at the corners only
    TKeepLayout k;
    int courtyard = 0;
    int t = 3;      // the gatehouse towers' size (every tower's in a small fort)
    TSide gs{0, 2}; // the main gate's ward and side
    bool gateNS = false;
    int gateLine = 0, gateLo = 0, gateHi = 0, gateAt = 0; // the gate's line, its range along it, its place
    int innerAt = -1;                                     // along the cross wall, its gate; -1 without one
    std::vector<TSpot> spots;
    std::vector<TGenRoom> towers, buildings, rooms;
    std::vector<TGenRoom> approaches; // kept free of buildings
    std::vector<TGenDoor> doors;
    TGenDoor gate;
    bool haveGate = false;
    size_t hallWard = 0;
    TKeepOutside outside;

    TKeep(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw)
        : plan(plan), rng(rng), p(plan.Palette()), density(density), sw(sw), area(plan.Area()), in(plan.Inner()) {}

    const TKeepWard& GateWard() const { return k.Wards[gs.ward]; }
    bool InYard(TGenPoint q) const { return k.InYard(q.c, q.r); }
    bool CrossWall() const { return k.Shared && !k.SharedOpen; }

    void Grass();
    bool Outline();
    void Curtain();
    void ChooseGate();
    void TowerSpots();
    void WallTowerSpots();
    void Towers();
    void GateAndMoat();
    void Road();
    void InnerGate();
    bool Fits(const TGenRoom& b, const TKeepWard& w) const;
    bool ProposeBuilding(const TKeepWard& w, bool cramped, TGenRoom& b);
    void RaiseBuilding(const TGenRoom& b, const TKeepWard& w);
    void Buildings();
    void ArrowSlits();
    void HangDoors();
    void DressRooms();
    void DressCourtyard();
};

// What the tileset lacks, and the grass all round: dark and dry patches in the common grass.
void TKeep::Grass() {
    NoteDoorsMissing(p, sw);
    if (!p.WindowH) p.Note("arrow slits in east-west walls (no window symbol for them)");
    if (!p.WindowV) p.Note("arrow slits in north-south walls (no window symbol for them)");
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
    for (size_t i = 0; i < towers.size(); ++i)
        for (int tries = 0; tries < 12; ++tries) {
            TGenDoor d;
            // The door's gap wholly within the yard, never cut into the curtain beside the tower.
            if (!DoorOnSide(rng, towers[i], int(i), rng.Below(4), d) || !InYard(d.outside) || !InYard(d.a) ||
                !InYard(d.b))
                continue;
            CutDoor(plan, d);
            doors.push_back(d);
            break;
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

bool TKeep::Fits(const TGenRoom& b, const TKeepWard& w) const {
    if (b.x0 - 1 < w.L || b.y0 - 1 < w.T || b.x1 + 1 > w.R || b.y1 + 1 > w.B) return false;
    // Against the curtain, or far enough from it to walk round.
    for (int gap : {b.x0 - 1 - w.L, w.R - b.x1 - 1, b.y0 - 1 - w.T, w.B - b.y1 - 1})
        if (gap > 0 && gap < 3) return false;
    for (const TGenRoom& a : approaches)
        if (Overlaps(b, a, 1)) return false;
    for (const TGenRoom& o : buildings)
        if (Overlaps(b, o, 4)) return false;
    for (const TGenRoom& tw : towers)
        if (Overlaps(b, tw, 3)) return false;
    return true;
}

// The next building's rectangle in ward w; false for a range against an L's open side.
bool TKeep::ProposeBuilding(const TKeepWard& w, bool cramped, TGenRoom& b) {
    if (buildings.empty()) {
        // The great hall's building: a good part of its ward, free-standing or against a wall.
        const int d0 = cramped ? 7 : 5, n1 = cramped ? 2 : 3; // 2/5..3/5 of it, or 2/7..2/5
        const int bw = std::max(6, rng.Range((w.R - w.L) * 2 / d0, (w.R - w.L) * n1 / 5)),
                  bh = std::max(6, rng.Range((w.B - w.T) * 2 / d0, (w.B - w.T) * n1 / 5));
        b.x0 = rng.Range(w.L + 1, w.R - bw);
        b.y0 = rng.Range(w.T + 1, w.B - bh);
        b.x1 = b.x0 + bw - 1;
        b.y1 = b.y0 + bh - 1;
        return true;
    }
    // A range: along one side of the curtain, sharing it as its back wall.
    const int side = rng.Below(4), depth = rng.Range(4, 6), len = rng.Range(8, 18);
    if (k.SharedOpen && k.SideShared(w, side)) return false;
    const bool horizontal = side == 0 || side == 2;
    const int along = horizontal ? rng.Range(w.L + 1, w.R - len) : rng.Range(w.T + 1, w.B - len);
    if (horizontal) b = {along, side == 0 ? w.T + 1 : w.B - depth, along + len - 1, side == 0 ? w.T + depth : w.B - 1};
    else b = {side == 3 ? w.L + 1 : w.R - depth, along, side == 3 ? w.L + depth : w.R - 1, along + len - 1};
    return true;
}

// Walls the building, splits it into rooms with doors between them and one out to the
// courtyard; taken back when that cuts off any floor.
void TKeep::RaiseBuilding(const TGenRoom& b, const TKeepWard& w) {
    const std::vector<uint8_t> saved = plan.SaveSolid();
    std::vector<int> label;
    const int partsBefore = plan.CornerParts(label);
    for (int r = b.y0 - 1; r <= b.y1 + 1; ++r)
        for (int c = b.x0 - 1; c <= b.x1 + 1; ++c) plan.SetSolid(c, r, p.Wall);
    CarveRoom(plan, b);
    std::vector<TGenRoom> parts;
    std::vector<TWall> inner;
    Split(plan, rng, b, buildings.empty() ? 0 : 1, parts, inner);
    std::vector<TGenDoor> cut;
    bool ok = true;
    for (const TWall& iw : inner) {
        TGenDoor d;
        if (!DoorInWall(plan, rng, iw.northSouth, iw.line, iw.lo, iw.hi, int(rooms.size()), d)) {
            ok = false;
            break;
        }
        CutDoor(plan, d);
        cut.push_back(d);
    }
    // One door out to the courtyard from a room on a side that faces it.
    bool out = false;
    for (int n = 0; n < 24 && ok && !out; ++n) {
        const int ri = rng.Below(int(parts.size()));
        TGenDoor d;
        if (!DoorOnSide(rng, parts[ri], int(rooms.size() + ri), rng.Below(4), d)) continue;
        if (!InYard(d.outside) || plan.Solid(d.outside.c, d.outside.r) || !w.Inside(d.a.c, d.a.r)) continue;
        const bool onBuildingWall = d.inNorthSouth ? (d.a.c == b.x0 - 1 || d.a.c == b.x1 + 1)
                                                   : (d.a.r == b.y0 - 1 || d.a.r == b.y1 + 1);
        if (!onBuildingWall) continue;
        CutDoor(plan, d);
        cut.push_back(d);
        out = true;
    }
    if (!ok || !out || plan.CornerParts(label) > partsBefore) {
        plan.RestoreSolid(saved);
        return;
    }
    for (TGenDoor& d : cut) d.room = -2; // re-labelled below
    buildings.push_back(b);
    for (const TGenRoom& r : parts) rooms.push_back(r);
    doors.insert(doors.end(), cut.begin(), cut.end());
    if (buildings.size() == 1) {
        // The largest room of the first building is the great hall; there is one.
        size_t big = rooms.size() - parts.size();
        for (size_t i = big; i < rooms.size(); ++i)
            if (rooms[i].Width() * rooms[i].Height() > rooms[big].Width() * rooms[big].Height()) big = i;
        rooms[big].purpose = TRoomPurpose::Hall;
    }
}

// Buildings: the great hall with its chambers (in the inner ward, or the larger one; for an
// L, the part with the most room across), then ranges against the curtain.
void TKeep::Buildings() {
    const std::vector<TKeepWard>& wards = k.Wards;
    const auto across = [](const TKeepWard& w) { return std::min(w.R - w.L, w.B - w.T); };
    if (CrossWall()) hallWard = 1;
    else
        for (size_t w = 1; w < wards.size(); ++w)
            if (across(wards[w]) > across(wards[hallWard])) hallWard = w;
    const int wanted = (density == TGenDensity::Few ? 2 : density == TGenDensity::Some ? 4 : 6) + int(wards.size()) - 1;
    for (int tries = 0; tries < 300 && int(buildings.size()) < wanted; ++tries) {
        TGenRoom b;
        // When the hall will not fit its ward, a smaller one in either.
        const bool cramped = tries >= 60;
        const TKeepWard& w = wards[buildings.empty() && !cramped ? hallWard : size_t(rng.Below(int(wards.size())))];
        if (!ProposeBuilding(w, cramped, b) || !Fits(b, w)) continue;
        RaiseBuilding(b, w);
    }
}

// Arrow slits in the outer curtain, spaced unevenly.
void TKeep::ArrowSlits() {
    if (!p.WindowH && !p.WindowV) return;
    for (const TKeepWard& w : k.Wards)
        for (int side = 0; side < 4; ++side) {
            const bool ns = side == 1 || side == 3;
            const int sym = ns ? p.WindowV : p.WindowH;
            if (!sym || k.SideShared(w, side)) continue;
            const int line = w.Line(side), end = w.Hi(side);
            for (int at = w.Lo(side) + rng.Range(3, 7); at < end - 3; at += rng.Range(4, 9)) {
                TGenDoor d;
                if (!DoorInWall(plan, rng, ns, line, at, at + 1, -1, d)) continue;
                // Never into a gap already open (a door, or a way cut through to join the parts).
                if (!plan.Solid(d.a.c, d.a.r) || !plan.Solid(d.b.c, d.b.r)) continue;
                // Only where one side is outside the curtain: never into the other ward.
                const TGenPoint o1 = ns ? TGenPoint{line - 1, at} : TGenPoint{at, line - 1},
                                o2 = ns ? TGenPoint{line + 1, at} : TGenPoint{at, line + 1};
                if (k.Distance(o1.c, o1.r) == 0 && k.Distance(o2.c, o2.r) == 0) continue;
                // A slit shuts its gap: the ground on both faces must lead somewhere, not
                // end in a niche between a tower and the wall.
                if (!(ns ? plan.CornerOpen(line - 1, at + 1) && plan.CornerOpen(line + 2, at + 1)
                         : plan.CornerOpen(at + 1, line - 1) && plan.CornerOpen(at + 1, line + 2)))
                    continue;
                CutDoor(plan, d);
                d.symbol = sym;
                doors.push_back(d);
            }
        }
}

// Doors: every other gap that still holds, with a secret one now and then between rooms.
void TKeep::HangDoors() {
    if (haveGate) {
        gate.symbol = sw.Doors ? (gateNS ? p.DoorV : p.DoorH) : 0;
        doors.push_back(gate);
    }
    doors.insert(doors.end(), outside.Doors.begin(), outside.Doors.end());
    for (TGenDoor& d : doors) {
        if (!DoorHolds(plan, d)) {
            d.symbol = 0;
            continue;
        }
        const bool window = d.symbol && p.Table && (*p.Table)[d.symbol].role == SymbolRole::Window;
        if (!window && d.symbol == 0 && sw.Doors) d.symbol = d.inNorthSouth ? p.DoorV : p.DoorH;
        if (!window && d.room == -2 && sw.SecretDoors && p.SecretFor(d.inNorthSouth) && rng.Chance(8))
            d.symbol = p.SecretFor(d.inNorthSouth);
        if (!window && !sw.Doors && !p.IsSecret(d.symbol)) d.symbol = 0;
        plan.SetPortal(d.a.c, d.a.r, d.symbol);
        plan.SetPortal(d.b.c, d.b.r, d.symbol);
    }
}

// What the rooms are for, their ground and furniture.
void TKeep::DressRooms() {
    for (TGenRoom& r : rooms)
        if (r.purpose == TRoomPurpose::Plain)
            r.purpose = PickPurpose(rng, r,
                                    {TRoomPurpose::Bedchamber, TRoomPurpose::Kitchen, TRoomPurpose::Storeroom,
                                     TRoomPurpose::Chapel, TRoomPurpose::Barracks, TRoomPurpose::Armoury,
                                     TRoomPurpose::Library, TRoomPurpose::Storeroom, TRoomPurpose::Barracks});
    for (const TGenRoom& r : rooms) DressRoom(plan, rng, r, doors, sw);
    for (const TGenRoom& r : towers) DressRoom(plan, rng, r, doors, sw);
}

// The courtyard: a well, a cart, stores by the walls, torches by the gate; then what lies
// round the keep.
void TKeep::DressCourtyard() {
    std::vector<TGenPoint> yardSpots;
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) {
            if (!InYard({c, r}) || !plan.Free(c, r)) continue;
            if (std::abs(c - plan.Entrance.c) <= 2 && std::abs(r - plan.Entrance.r) <= 2) continue;
            bool taken = false;
            for (const TGenRoom& b : buildings) taken |= b.Contains(c, r);
            for (const TGenRoom& b : towers) taken |= b.Contains(c, r);
            for (const TGenRoom& a : approaches) taken |= Overlaps({c, r, c, r}, a, 0);
            if (!taken) yardSpots.push_back({c, r});
        }
    if (sw.Dressing) {
        PutOn(plan, rng, yardSpots, p.Object({"well"}), 1);
        PutOn(plan, rng, yardSpots, p.Object({"cart"}), 1);
        PutOn(plan, rng, yardSpots, p.Object({"barrel"}), 2 + int(density));
        PutOn(plan, rng, yardSpots, p.Object({"crate"}), 1 + int(density));
    }
    DressKeepSurroundings(plan, rng, k, outside, doors, sw);
    if (sw.Lights && p.Torch && haveGate)
        for (int d = -2; d <= 3; d += 5) {
            const TGenPoint q = gateNS ? TGenPoint{plan.Entrance.c, gate.a.r + d}
                                       : TGenPoint{gate.a.c + d, plan.Entrance.r};
            if (plan.Free(q.c, q.r)) plan.SetObject(q.c, q.r, p.Torch);
        }
}

} // namespace

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
    plan.ConnectAll(rng);
    keep.ArrowSlits();
    keep.HangDoors();
    keep.DressRooms();
    keep.DressCourtyard();
}

} // namespace qm
