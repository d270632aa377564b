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

bool CarveCorridor(TGenPlan& plan, TGenRandom& rng, const std::vector<unsigned char>& reserved, TGenPoint from,
                   TGenPoint to) {
    const TGridRect in = plan.Inner();
    // Corners whose four cells lie inside the inner area with a cell of wall to spare.
    const int i0 = in.Left + 2, i1 = in.Right - 1, j0 = in.Top + 2, j1 = in.Bottom - 1;
    if (i1 < i0 || j1 < j0) return false;
    const int W = i1 - i0 + 1, H = j1 - j0 + 1;
    const auto usable = [&](int i, int j) {
        if (i < i0 || i > i1 || j < j0 || j > j1) return false;
        for (int r = j - 1; r <= j; ++r)
            for (int c = i - 1; c <= i; ++c)
                if (reserved[r * MapSize + c]) return false;
        return true;
    };
    if (!usable(from.c, from.r) || !usable(to.c, to.r)) return false;
    const std::uint64_t salt = rng.Next();
    const auto noise = [&](int i, int j) {
        std::uint64_t z = salt ^ (std::uint64_t(i) * 0x9e3779b97f4a7c15ull) ^
                          (std::uint64_t(j) * 0xc2b2ae3d27d4eb4full);
        z ^= z >> 29;
        z *= 0xbf58476d1ce4e5b9ull;
        return int((z >> 40) % 6);
    };
    const int di[4] = {1, 0, -1, 0}, dj[4] = {0, 1, 0, -1};
    const int states = W * H * 4;
    std::vector<int> cost(states, 1 << 30), prev(states, -1);
    using TKey = std::uint64_t; // cost in the high bits, the state below: a total order, the same on every library
    std::priority_queue<TKey, std::vector<TKey>, std::greater<TKey>> open;
    const auto state = [&](int i, int j, int d) { return ((j - j0) * W + (i - i0)) * 4 + d; };
    const auto h = [&](int i, int j) { return 4 * (std::abs(i - to.c) + std::abs(j - to.r)); };
    for (int d = 0; d < 4; ++d) {
        const int s = state(from.c, from.r, d);
        cost[s] = 0;
        open.push((TKey(h(from.c, from.r)) << 24) | TKey(s));
    }
    int goal = -1;
    while (!open.empty()) {
        const TKey top = open.top();
        open.pop();
        const int s = int(top & 0xffffff);
        const int d = s % 4, cell = s / 4, i = i0 + cell % W, j = j0 + cell / W;
        if (int(top >> 24) != cost[s] + h(i, j)) continue; // a stale entry
        if (i == to.c && j == to.r) {
            goal = s;
            break;
        }
        for (int nd = 0; nd < 4; ++nd) {
            if (nd == (d + 2) % 4) continue;
            const int ni = i + di[nd], nj = j + dj[nd];
            if (!usable(ni, nj)) continue;
            const int step = (plan.CornerOpen(ni, nj) ? 4 : 10 + noise(ni, nj)) + (nd != d ? 24 : 0);
            const int ns = state(ni, nj, nd);
            if (cost[s] + step < cost[ns]) {
                cost[ns] = cost[s] + step;
                prev[ns] = s;
                open.push((TKey(cost[ns] + h(ni, nj)) << 24) | TKey(ns));
            }
        }
    }
    if (goal < 0) return false;
    for (int s = goal; s >= 0; s = prev[s]) {
        const int cell = s / 4;
        plan.OpenCorner(i0 + cell % W, j0 + cell / W);
    }
    return true;
}

} // namespace qm
