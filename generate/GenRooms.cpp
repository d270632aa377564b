#include "generate/GenRooms.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <queue>

namespace qm {

std::vector<TGenRoom> PlaceRooms(TGenRandom& rng, const TGridRect& bounds, int count, int minSize, int maxSize, int gap,
                                 int tries) {
    std::vector<TGenRoom> rooms;
    for (int t = 0; t < tries && int(rooms.size()) < count; ++t) {
        TGenRoom room;
        const int w = rng.Range(minSize, maxSize);
        // Mostly oblong, sometimes square, now and then a long gallery.
        int h = rng.Range(minSize, maxSize);
        if (rng.Chance(15)) h = std::max(minSize, w / 2);
        if (w > bounds.Width() || h > bounds.Height()) continue;
        room.x0 = rng.Range(bounds.Left, bounds.Right - w + 1);
        room.y0 = rng.Range(bounds.Top, bounds.Bottom - h + 1);
        room.x1 = room.x0 + w - 1;
        room.y1 = room.y0 + h - 1;
        const bool apart = std::all_of(rooms.begin(), rooms.end(), [&](const TGenRoom& o) {
            return room.x0 > o.x1 + gap || room.x1 < o.x0 - gap || room.y0 > o.y1 + gap || room.y1 < o.y0 - gap;
        });
        if (!apart) continue;
        if (std::min(w, h) >= 7 && rng.Chance(30)) room.chamfer = std::min(w, h) >= 11 ? 3 : 2;
        rooms.push_back(room);
    }
    return rooms;
}

void CarveRoom(TGenPlan& plan, const TGenRoom& room) {
    for (int r = room.y0; r <= room.y1; ++r)
        for (int c = room.x0; c <= room.x1; ++c) {
            const int dx = std::min(c - room.x0, room.x1 - c), dy = std::min(r - room.y0, room.y1 - r);
            if (dx + dy >= room.chamfer) plan.ClearSolid(c, r);
        }
}

bool DoorOnSide(TGenRandom& rng, const TGenRoom& room, int roomIndex, int side, TGenDoor& door) {
    const bool vertical = side == 1 || side == 3; // in a north-south wall
    const int lo = (vertical ? room.y0 : room.x0) + room.chamfer,
              hi = (vertical ? room.y1 : room.x1) - 1 - room.chamfer;
    if (hi < lo) return false;
    return DoorOnSideAt(room, roomIndex, side, rng.Range(lo, hi), door);
}

bool DoorOnSideAt(const TGenRoom& room, int roomIndex, int side, int at, TGenDoor& door) {
    const bool vertical = side == 1 || side == 3;
    const int lo = (vertical ? room.y0 : room.x0) + room.chamfer,
              hi = (vertical ? room.y1 : room.x1) - 1 - room.chamfer;
    if (at < lo || at > hi) return false;
    door = {};
    door.inNorthSouth = vertical;
    door.room = roomIndex;
    switch (side) {
    case 0:
        door.a = {at, room.y0 - 1};
        door.b = {at + 1, room.y0 - 1};
        door.outside = {at + 1, room.y0 - 2};
        break;
    case 2:
        door.a = {at, room.y1 + 1};
        door.b = {at + 1, room.y1 + 1};
        door.outside = {at + 1, room.y1 + 3};
        break;
    case 3:
        door.a = {room.x0 - 1, at};
        door.b = {room.x0 - 1, at + 1};
        door.outside = {room.x0 - 2, at + 1};
        break;
    default:
        door.a = {room.x1 + 1, at};
        door.b = {room.x1 + 1, at + 1};
        door.outside = {room.x1 + 3, at + 1};
        break;
    }
    return true;
}

bool DoorToward(TGenRandom& rng, const TGenRoom& room, int roomIndex, int c, int r, TGenDoor& door) {
    const int dx = c - room.CentreC(), dy = r - room.CentreR();
    const int side = std::abs(dx) * room.Height() > std::abs(dy) * room.Width() ? (dx > 0 ? 1 : 3) : (dy > 0 ? 2 : 0);
    return DoorOnSide(rng, room, roomIndex, side, door);
}

bool DoorInWall(const TGenPlan& plan, TGenRandom& rng, bool northSouth, int line, int lo, int hi, int room,
                TGenDoor& door) {
    std::vector<int> places;
    for (int d = lo; d < hi; ++d) {
        const auto solid = [&](int along, int across) {
            return northSouth ? plan.Solid(line + across, along) != 0 : plan.Solid(along, line + across) != 0;
        };
        if (!solid(d - 1, 0) || !solid(d + 2, 0)) continue;
        if (solid(d, -1) || solid(d + 1, -1) || solid(d, 1) || solid(d + 1, 1)) continue;
        places.push_back(d);
    }
    if (places.empty()) return false;
    const int d = places[rng.Below(int(places.size()))];
    door = {};
    door.inNorthSouth = northSouth;
    door.room = room;
    door.a = northSouth ? TGenPoint{line, d} : TGenPoint{d, line};
    door.b = northSouth ? TGenPoint{line, d + 1} : TGenPoint{d + 1, line};
    door.outside = northSouth ? TGenPoint{line - 1, d + 1} : TGenPoint{d + 1, line - 1};
    return true;
}

void CutDoor(TGenPlan& plan, const TGenDoor& door) {
    plan.ClearSolid(door.a.c, door.a.r);
    plan.ClearSolid(door.b.c, door.b.r);
    // The corner between the two gap cells on the outer face of the wall.
    if (door.inNorthSouth) {
        const int i = door.outside.c < door.a.c ? door.a.c : door.a.c + 1;
        plan.OpenCorner(i, door.b.r);
    } else {
        const int j = door.outside.r < door.a.r ? door.a.r : door.a.r + 1;
        plan.OpenCorner(door.b.c, j);
    }
}

bool DoorHolds(const TGenPlan& plan, const TGenDoor& door) {
    if (plan.Solid(door.a.c, door.a.r) || plan.Solid(door.b.c, door.b.r)) return false;
    if (door.inNorthSouth) {
        const int c = door.a.c, r = door.a.r;
        return plan.Solid(c, r - 1) && plan.Solid(c, r + 2) && plan.CornerOpen(c, r + 1) &&
               plan.CornerOpen(c + 1, r + 1);
    }
    const int c = door.a.c, r = door.a.r;
    return plan.Solid(c - 1, r) && plan.Solid(c + 2, r) && plan.CornerOpen(c + 1, r) && plan.CornerOpen(c + 1, r + 1);
}

std::vector<unsigned char> RoomReserve(const std::vector<TGenRoom>& rooms) {
    std::vector<unsigned char> reserved(MapSize * MapSize, 0);
    for (const TGenRoom& room : rooms)
        for (int r = room.y0 - 1; r <= room.y1 + 1; ++r)
            for (int c = room.x0 - 1; c <= room.x1 + 1; ++c)
                if (c >= 0 && r >= 0 && c < MapSize && r < MapSize) reserved[r * MapSize + c] = 1;
    return reserved;
}

namespace {

// The corners a corridor may open (their four cells inside the inner area with a cell of
// wall to spare, none reserved) and what each step costs: little along open corridor, more
// through rock with a little noise so corridors wander, much for a turn.
struct TCorridorSearch {
    const TGenPlan& plan;
    const std::vector<unsigned char>& reserved;
    int i0, i1, j0, j1;
    std::uint64_t salt = 0;

    int W() const { return i1 - i0 + 1; }
    bool Usable(int i, int j) const {
        if (i < i0 || i > i1 || j < j0 || j > j1) return false;
        for (int r = j - 1; r <= j; ++r)
            for (int c = i - 1; c <= i; ++c)
                if (reserved[r * MapSize + c]) return false;
        return true;
    }
    int Noise(int i, int j) const {
        std::uint64_t z = salt ^ (std::uint64_t(i) * 0x9e3779b97f4a7c15ull) ^
                          (std::uint64_t(j) * 0xc2b2ae3d27d4eb4full);
        z ^= z >> 29;
        z *= 0xbf58476d1ce4e5b9ull;
        return int((z >> 40) % 6);
    }
    // A* over (corner, heading): the path's corners from `to` back to `from`; empty when none.
    std::vector<TGenPoint> Path(TGenPoint from, TGenPoint to) const;
};

std::vector<TGenPoint> TCorridorSearch::Path(TGenPoint from, TGenPoint to) const {
    const int w = W(), h = j1 - j0 + 1;
    const int di[4] = {1, 0, -1, 0}, dj[4] = {0, 1, 0, -1};
    const int states = w * h * 4;
    std::vector<int> cost(states, 1 << 30), prev(states, -1);
    using TKey = std::uint64_t; // cost in the high bits, the state below: a total order, the same on every library
    std::priority_queue<TKey, std::vector<TKey>, std::greater<TKey>> open;
    const auto state = [&](int i, int j, int d) { return ((j - j0) * w + (i - i0)) * 4 + d; };
    const auto estimate = [&](int i, int j) { return 4 * (std::abs(i - to.c) + std::abs(j - to.r)); };
    for (int d = 0; d < 4; ++d) {
        const int s = state(from.c, from.r, d);
        cost[s] = 0;
        open.push((TKey(estimate(from.c, from.r)) << 24) | TKey(s));
    }
    int goal = -1;
    while (!open.empty()) {
        const TKey top = open.top();
        open.pop();
        const int s = int(top & 0xffffff);
        const int d = s % 4, cell = s / 4, i = i0 + cell % w, j = j0 + cell / w;
        if (int(top >> 24) != cost[s] + estimate(i, j)) continue; // a stale entry
        if (i == to.c && j == to.r) {
            goal = s;
            break;
        }
        for (int nd = 0; nd < 4; ++nd) {
            if (nd == (d + 2) % 4) continue;
            const int ni = i + di[nd], nj = j + dj[nd];
            if (!Usable(ni, nj)) continue;
            const int step = (plan.CornerOpen(ni, nj) ? 4 : 10 + Noise(ni, nj)) + (nd != d ? 24 : 0);
            const int ns = state(ni, nj, nd);
            if (cost[s] + step < cost[ns]) {
                cost[ns] = cost[s] + step;
                prev[ns] = s;
                open.push((TKey(cost[ns] + estimate(ni, nj)) << 24) | TKey(ns));
            }
        }
    }
    std::vector<TGenPoint> path;
    for (int s = goal; s >= 0; s = prev[s]) path.push_back({i0 + (s / 4) % w, j0 + (s / 4) / w});
    return path;
}

} // namespace

bool CarveCorridor(TGenPlan& plan, TGenRandom& rng, const std::vector<unsigned char>& reserved, TGenPoint from,
                   TGenPoint to) {
    const TGridRect in = plan.Inner();
    TCorridorSearch search{plan, reserved, in.Left + 2, in.Right - 1, in.Top + 2, in.Bottom - 1};
    if (search.i1 < search.i0 || search.j1 < search.j0) return false;
    if (!search.Usable(from.c, from.r) || !search.Usable(to.c, to.r)) return false;
    search.salt = rng.Next();
    const std::vector<TGenPoint> path = search.Path(from, to);
    for (const TGenPoint& q : path) plan.OpenCorner(q.c, q.r);
    return !path.empty();
}

} // namespace qm
