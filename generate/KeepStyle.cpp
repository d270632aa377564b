// The keep: a curtain wall with towers at its corners and along long sides, one gate with a
// road leading to it, arrow slits in the outer walls, a courtyard with a well, and inside it
// a great hall with chambers and ranges of rooms against the curtain.
#include <algorithm>
#include <cstdlib>

#include "generate/GenerateMap.h"

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

} // namespace

void GenerateKeep(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw) {
    TGenPalette& p = plan.Palette();
    NoteDoorsMissing(p, sw);
    if (!p.WindowH) p.Note("arrow slits in east-west walls (no window symbol for them)");
    if (!p.WindowV) p.Note("arrow slits in north-south walls (no window symbol for them)");
    const TGridRect area = plan.Area(), in = plan.Inner();
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) {
            const int k = rng.Below(100);
            plan.SetGround(c, r, k < 8 && p.GrassDark ? p.GrassDark : (k < 12 && p.GrassDry ? p.GrassDry : p.Grass));
        }

    // The curtain: its own margins on every side, so keeps differ in shape and place.
    // Room outside for the towers and a way round: seven cells where the area allows.
    // A small area gets a small fort: three-cell towers at the corners only.
    const bool small = in.Width() < 40 || in.Height() < 40;
    // Now and then a moat round the whole, crossed by the road on a bridge.
    const bool moat = !small && rng.Chance(45);
    const int mx = small ? 4 : (moat ? 10 : 7), my = mx;
    const int mw = std::max(0, std::min(in.Width() / 9, (in.Width() - 20) / 2 - mx)),
              mh = std::max(0, std::min(in.Height() / 9, (in.Height() - 20) / 2 - my));
    const int L = in.Left + rng.Range(mx, mx + mw), R = in.Right - rng.Range(mx, mx + mw);
    const int T = in.Top + rng.Range(my, my + mh), B = in.Bottom - rng.Range(my, my + mh);
    if (R - L < 14 || B - T < 14) {
        plan.Entrance = {(area.Left + area.Right) / 2, (area.Top + area.Bottom) / 2};
        return;
    }
    const TGenRoom yard{L + 1, T + 1, R - 1, B - 1};
    const int courtyard = p.Cobbles ? p.Cobbles : (p.Dirt ? p.Dirt : p.Grass);
    plan.BaseGround = courtyard; // shows around the doors
    // Cobbles worn to dirt and gravel here and there.
    const int worn[2] = {p.Dirt, p.Ground({"gravel"})};
    for (int r = T; r <= B; ++r)
        for (int c = L; c <= R; ++c) {
            const int k = rng.Below(100);
            plan.SetGround(c, r, k < 6 && worn[k % 2] ? worn[k % 2] : courtyard);
        }
    for (int c = L; c <= R; ++c) {
        plan.SetSolid(c, T, p.Wall);
        plan.SetSolid(c, B, p.Wall);
    }
    for (int r = T; r <= B; ++r) {
        plan.SetSolid(L, r, p.Wall);
        plan.SetSolid(R, r, p.Wall);
    }

    // Towers: at the corners and along long sides, each a small room astride the curtain.
    std::vector<TGenRoom> towers;
    const int t = small || rng.Chance(50) ? 3 : 4;
    std::vector<TGenPoint> spots{{L, T}, {R, T}, {L, B}, {R, B}};
    // The gate's place, flanked by two towers: a gatehouse.
    const int gateSide = rng.Chance(50) ? 2 : rng.Below(4);
    const bool gateNS = gateSide == 1 || gateSide == 3;
    const int gateLine = gateSide == 0 ? T : gateSide == 1 ? R : gateSide == 2 ? B : L;
    const int gateLo = (gateNS ? T : L) + 2 * t + 4, gateHi = (gateNS ? B : R) - 2 * t - 5;
    const int gateAt = rng.Range(gateLo, std::max(gateLo, gateHi));
    if (!small)
        for (int k : {-t - 1, t + 2})
            spots.push_back(gateNS ? TGenPoint{gateLine, gateAt + k} : TGenPoint{gateAt + k, gateLine});
    for (int side = 0; side < 4 && !small; ++side) {
        if (side == (gateSide == 0 ? 0 : gateSide == 2 ? 1 : gateSide == 3 ? 2 : 3)) continue;
        const bool horizontal = side < 2;
        const int len = horizontal ? R - L : B - T;
        if (len < 28) continue;
        const int at = rng.Range(len / 3, len - len / 3);
        spots.push_back(horizontal ? TGenPoint{L + at, side == 0 ? T : B} : TGenPoint{side == 2 ? L : R, T + at});
    }
    for (const TGenPoint& s : spots) {
        // Corner and wall towers each of their own size; the gate's pair alike.
        const bool gateTower = size_t(&s - spots.data()) >= 4 && size_t(&s - spots.data()) < 6 && !small;
        const int ts = gateTower || small ? t : rng.Range(3, 5), w = ts + (gateTower ? 0 : rng.Below(2));
        TGenRoom tower{s.c - w / 2, s.r - ts / 2, s.c - w / 2 + w - 1, s.r - ts / 2 + ts - 1};
        tower.purpose = TRoomPurpose::Tower;
        for (int r = tower.y0 - 1; r <= tower.y1 + 1; ++r)
            for (int c = tower.x0 - 1; c <= tower.x1 + 1; ++c) plan.SetSolid(c, r, p.Wall);
        CarveRoom(plan, tower);
        towers.push_back(tower);
    }
    std::vector<TGenDoor> doors;
    const auto inYard = [&](TGenPoint q) { return q.c > L && q.c < R && q.r > T && q.r < B; };
    for (size_t i = 0; i < towers.size(); ++i)
        for (int tries = 0; tries < 12; ++tries) {
            TGenDoor d;
            if (!DoorOnSide(rng, towers[i], int(i), rng.Below(4), d) || !inYard(d.outside)) continue;
            CutDoor(plan, d);
            doors.push_back(d);
            break;
        }

    // The gate between its towers, with a road out to the edge of the area.
    // Seven cells out: a tower reaches four cells beyond the curtain, and water set within two
    // cells of a wall is refused, which left gaps in the ring.
    if (moat)
        for (int r = T - 7; r <= B + 7; ++r)
            for (int c = L - 7; c <= R + 7; ++c)
                if (c == L - 7 || c == R + 7 || r == T - 7 || r == B + 7) plan.SetSolid(c, r, p.Water);
    TGenDoor gate;
    const bool haveGate = DoorInWall(plan, rng, gateNS, gateLine, gateAt, gateAt + 1, -1, gate) ||
                          DoorInWall(plan, rng, gateNS, gateLine, gateLo - t, gateHi + t, -1, gate);
    TGenRoom approach{};
    if (haveGate) {
        CutDoor(plan, gate);
        const int dc = gateSide == 1 ? 1 : gateSide == 3 ? -1 : 0, dr = gateSide == 2 ? 1 : gateSide == 0 ? -1 : 0;
        // The road: two cells wide, from the gate straight out to the area's edge. Where it
        // meets the moat, the water across the road and one cell either side of it gives way
        // to a bridge, so the ring is crossed there and nowhere else.
        const auto cellAt = [&](TGenPoint q, int across) {
            return TGenPoint{q.c + (gateNS ? 0 : across), q.r + (gateNS ? across : 0)};
        };
        std::vector<TGenPoint> road;
        for (TGenPoint q = {gate.a.c + dc, gate.a.r + dr};
             plan.InArea(q.c, q.r) && plan.InArea(cellAt(q, 1).c, cellAt(q, 1).r); q = {q.c + dc, q.r + dr})
            if (!(q.c >= L && q.c <= R && q.r >= T && q.r <= B)) road.push_back(q);
        std::vector<char> wet(road.size(), 0);
        for (size_t i = 0; i < road.size() && moat; ++i)
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
            }
        plan.Entrance = {gate.a.c + 3 * dc, gate.a.r + 3 * dr};
        // Keep the way in free of buildings.
        approach = {std::min(gate.a.c, gate.b.c) - 3, std::min(gate.a.r, gate.b.r) - 3,
                    std::max(gate.a.c, gate.b.c) + 3, std::max(gate.a.r, gate.b.r) + 3};
    } else {
        plan.Entrance = {yard.CentreC(), yard.CentreR()};
    }

    // Buildings: the great hall with its chambers, then ranges against the curtain.
    std::vector<TGenRoom> buildings, rooms;
    std::vector<TWall> walls;
    const auto fits = [&](const TGenRoom& b) {
        if (b.x0 - 1 < L || b.y0 - 1 < T || b.x1 + 1 > R || b.y1 + 1 > B) return false;
        // Against the curtain, or far enough from it to walk round.
        for (int gap : {b.x0 - 1 - L, R - b.x1 - 1, b.y0 - 1 - T, B - b.y1 - 1})
            if (gap > 0 && gap < 3) return false;
        if (Overlaps(b, approach, 1)) return false;
        for (const TGenRoom& o : buildings)
            if (Overlaps(b, o, 4)) return false;
        for (const TGenRoom& tw : towers)
            if (Overlaps(b, tw, 3)) return false;
        return true;
    };
    const int wanted = density == TGenDensity::Few ? 2 : density == TGenDensity::Some ? 4 : 6;
    for (int tries = 0; tries < 200 && int(buildings.size()) < wanted; ++tries) {
        TGenRoom b;
        if (buildings.empty()) {
            // The great hall's building: a good part of the courtyard, free-standing or against a wall.
            const int w = rng.Range((R - L) * 2 / 5, (R - L) * 3 / 5), h = rng.Range((B - T) * 2 / 5, (B - T) * 3 / 5);
            b.x0 = rng.Range(L + 1, R - w);
            b.y0 = rng.Range(T + 1, B - h);
            b.x1 = b.x0 + w - 1;
            b.y1 = b.y0 + h - 1;
        } else {
            // A range: along one side of the curtain, sharing it as its back wall.
            const int side = rng.Below(4), depth = rng.Range(4, 6), len = rng.Range(8, 18);
            const bool horizontal = side == 0 || side == 2;
            const int along = horizontal ? rng.Range(L + 1, R - len) : rng.Range(T + 1, B - len);
            if (horizontal) b = {along, side == 0 ? T + 1 : B - depth, along + len - 1, side == 0 ? T + depth : B - 1};
            else b = {side == 3 ? L + 1 : R - depth, along, side == 3 ? L + depth : R - 1, along + len - 1};
        }
        if (!fits(b)) continue;
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
        for (const TWall& w : inner) {
            TGenDoor d;
            if (!DoorInWall(plan, rng, w.northSouth, w.line, w.lo, w.hi, int(rooms.size()), d)) {
                ok = false;
                break;
            }
            CutDoor(plan, d);
            cut.push_back(d);
        }
        // One door out to the courtyard from a room on a side that faces it.
        bool out = false;
        for (int k = 0; k < 24 && ok && !out; ++k) {
            const int ri = rng.Below(int(parts.size()));
            TGenDoor d;
            if (!DoorOnSide(rng, parts[ri], int(rooms.size() + ri), rng.Below(4), d)) continue;
            if (!inYard(d.outside) || plan.Solid(d.outside.c, d.outside.r) || !yard.Contains(d.a.c, d.a.r)) continue;
            const bool onBuildingWall = d.inNorthSouth ? (d.a.c == b.x0 - 1 || d.a.c == b.x1 + 1)
                                                       : (d.a.r == b.y0 - 1 || d.a.r == b.y1 + 1);
            if (!onBuildingWall) continue;
            CutDoor(plan, d);
            cut.push_back(d);
            out = true;
        }
        if (!ok || !out || plan.CornerParts(label) > partsBefore) {
            plan.RestoreSolid(saved);
            continue;
        }
        for (TGenDoor& d : cut) d.room = -2; // re-labelled below
        buildings.push_back(b);
        for (const TGenRoom& r : parts) rooms.push_back(r);
        doors.insert(doors.end(), cut.begin(), cut.end());
        walls.insert(walls.end(), inner.begin(), inner.end());
        if (buildings.size() == 1) {
            // The largest room of the first building is the great hall; there is one.
            size_t big = rooms.size() - parts.size();
            for (size_t i = big; i < rooms.size(); ++i)
                if (rooms[i].Width() * rooms[i].Height() > rooms[big].Width() * rooms[big].Height()) big = i;
            rooms[big].purpose = TRoomPurpose::Hall;
        }
    }
    plan.ConnectAll(rng);

    // Arrow slits in the curtain and the towers' outer walls, spaced unevenly.
    if (p.WindowH || p.WindowV) {
        for (int side = 0; side < 4; ++side) {
            const bool ns = side == 1 || side == 3;
            const int w = ns ? p.WindowV : p.WindowH;
            if (!w) continue;
            const int line = side == 0 ? T : side == 1 ? R : side == 2 ? B : L;
            const int end = ns ? B : R;
            for (int at = (ns ? T : L) + rng.Range(3, 7); at < end - 3; at += rng.Range(4, 9)) {
                TGenDoor d;
                if (!DoorInWall(plan, rng, ns, line, at, at + 1, -1, d)) continue;
                CutDoor(plan, d);
                d.symbol = w;
                doors.push_back(d);
            }
        }
    }
    if (haveGate) {
        gate.symbol = sw.Doors ? (gateNS ? p.DoorV : p.DoorH) : 0;
        doors.push_back(gate);
    }
    // Doors: every other gap that still holds, with a secret one now and then between rooms.
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

    // What the rooms are for, their ground and furniture.
    for (TGenRoom& r : rooms)
        if (r.purpose == TRoomPurpose::Plain)
            r.purpose = PickPurpose(rng, r,
                                    {TRoomPurpose::Bedchamber, TRoomPurpose::Kitchen, TRoomPurpose::Storeroom,
                                     TRoomPurpose::Chapel, TRoomPurpose::Barracks, TRoomPurpose::Armoury,
                                     TRoomPurpose::Library, TRoomPurpose::Storeroom, TRoomPurpose::Barracks});
    for (const TGenRoom& r : rooms) DressRoom(plan, rng, r, doors, sw);
    for (const TGenRoom& r : towers) DressRoom(plan, rng, r, doors, sw);

    // The courtyard: a well, a cart, stores by the walls, torches by the gate; trees outside.
    std::vector<TGenPoint> yardSpots, outside;
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) {
            if (!plan.Free(c, r)) continue;
            if (std::abs(c - plan.Entrance.c) <= 2 && std::abs(r - plan.Entrance.r) <= 2) continue;
            if (plan.Ground(c, r) == p.Road && p.Road) continue;
            bool inBuilding = false;
            for (const TGenRoom& b : buildings) inBuilding |= b.Contains(c, r);
            for (const TGenRoom& b : towers) inBuilding |= b.Contains(c, r);
            if (inBuilding || Overlaps({c, r, c, r}, approach, 0)) continue;
            (yard.Contains(c, r) ? yardSpots : outside).push_back({c, r});
        }
    if (sw.Dressing) {
        PutOn(plan, rng, yardSpots, p.Object({"well"}), 1);
        PutOn(plan, rng, yardSpots, p.Object({"cart"}), 1);
        PutOn(plan, rng, yardSpots, p.Object({"barrel"}), 2 + int(density));
        PutOn(plan, rng, yardSpots, p.Object({"crate"}), 1 + int(density));
        PutOn(plan, rng, outside, p.Object({"tree"}), int(outside.size()) / 40);
        PutOn(plan, rng, outside, p.Object({"bush"}), int(outside.size()) / 60);
    }
    if (sw.Lights && p.Torch && haveGate)
        for (int k = -2; k <= 3; k += 5) {
            const TGenPoint q = gateNS ? TGenPoint{plan.Entrance.c, gate.a.r + k}
                                       : TGenPoint{gate.a.c + k, plan.Entrance.r};
            if (plan.Free(q.c, q.r)) plan.SetObject(q.c, q.r, p.Torch);
        }
}

} // namespace qm
