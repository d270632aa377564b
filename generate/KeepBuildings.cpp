// The keep's buildings: the great hall and the ranges raised in the wards and split into
// rooms, then arrow slits, doors and what the rooms and the courtyard hold.
#include <algorithm>
#include <cstdlib>

#include "generate/KeepStyle.h"

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

} // namespace

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
    // A slit in the middle of each tower side that faces out, where the ground beyond is open.
    for (size_t i = 0; i < towers.size(); ++i)
        for (int side = 0; side < 4; ++side) {
            const bool ns = side == 1 || side == 3;
            const int sym = ns ? p.WindowV : p.WindowH;
            const TGenRoom& tw = towers[i];
            TGenDoor d;
            if (!sym || !DoorOnSideAt(tw, int(i), side, ns ? (tw.y0 + tw.y1 - 1) / 2 : (tw.x0 + tw.x1 - 1) / 2, d))
                continue;
            if (k.Distance(d.outside.c, d.outside.r) == 0 || !plan.Solid(d.a.c, d.a.r) || !plan.Solid(d.b.c, d.b.r))
                continue;
            // Both faces open: the tower's floor inside, open ground beyond.
            const TGenPoint in = side == 0   ? TGenPoint{d.b.c, d.a.r + 2}
                                 : side == 2 ? TGenPoint{d.b.c, d.a.r - 1}
                                 : side == 3 ? TGenPoint{d.a.c + 2, d.b.r}
                                             : TGenPoint{d.a.c - 1, d.b.r};
            if (!plan.CornerOpen(d.outside.c, d.outside.r) || !plan.CornerOpen(in.c, in.r)) continue;
            const std::vector<uint8_t> saved = plan.SaveSolid();
            CutDoor(plan, d);
            if (!DoorHolds(plan, d)) {
                plan.RestoreSolid(saved);
                continue;
            }
            d.symbol = sym;
            doors.push_back(d);
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

} // namespace qm
