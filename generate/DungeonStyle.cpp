// The dungeon: rooms of varied size and shape carved from rock, joined by corridors that
// wind a little, with loops, dead ends, doors exactly as wide as their gap, an entrance
// with stairs up and stairs down in the room farthest from it.
#include <algorithm>
#include <cstdlib>

#include "generate/GenKey.h"
#include "generate/GenerateMap.h"

namespace qm {

namespace {

struct TEdge {
    int a, b;
    bool loop;
};

int Distance(const TGenRoom& a, const TGenRoom& b) {
    return std::abs(a.CentreC() - b.CentreC()) + std::abs(a.CentreR() - b.CentreR());
}

// Joined rooms in the order of a minimum spanning tree from room 0, then some loops.
std::vector<TEdge> PlanEdges(TGenRandom& rng, const std::vector<TGenRoom>& rooms, int loopChance) {
    const int n = int(rooms.size());
    std::vector<TEdge> edges;
    std::vector<bool> in(n, false);
    in[0] = true;
    for (int k = 1; k < n; ++k) {
        int bestA = -1, bestB = -1, best = 1 << 30;
        for (int a = 0; a < n; ++a)
            for (int b = 0; b < n; ++b)
                if (in[a] && !in[b] && Distance(rooms[a], rooms[b]) < best) {
                    best = Distance(rooms[a], rooms[b]);
                    bestA = a;
                    bestB = b;
                }
        in[bestB] = true;
        edges.push_back({bestA, bestB, false});
    }
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b) {
            const bool joined = std::any_of(edges.begin(), edges.end(), [&](const TEdge& e) {
                return (e.a == a && e.b == b) || (e.a == b && e.b == a);
            });
            if (!joined && Distance(rooms[a], rooms[b]) < 34 && rng.Chance(loopChance)) edges.push_back({a, b, true});
        }
    return edges;
}

bool Clashes(const std::vector<TGenDoor>& doors, const TGenDoor& d) {
    return std::any_of(doors.begin(), doors.end(),
                       [&](const TGenDoor& o) { return std::abs(o.a.c - d.a.c) <= 3 && std::abs(o.a.r - d.a.r) <= 3; });
}

int DoorSymbol(const TGenPalette& p, TGenRandom& rng, const TGenDoor& d) {
    if (d.inNorthSouth) return p.LockedV && rng.Chance(12) ? p.LockedV : p.DoorV;
    return p.LockedH && rng.Chance(12) ? p.LockedH : p.DoorH;
}

} // namespace

void NoteDoorsMissing(TGenPalette& p, const TGenSwitches& sw) {
    if (sw.Doors && !p.DoorH) p.Note("doors in east-west walls (no door symbol for them)");
    if (sw.Doors && !p.DoorV) p.Note("doors in north-south walls (no door symbol for them)");
    if (sw.SecretDoors && !p.SecretH) p.Note("secret doors in east-west walls (no hidden secret door symbol)");
    if (sw.SecretDoors && !p.SecretV) p.Note("secret doors in north-south walls (no hidden secret door symbol)");
    if (sw.Lights && !p.Torch) p.Note("lights (no light symbol to stand in a room)");
    if (!p.StoneA) p.Note("floors (no floor symbol named)");
}

// Places the party's way in on a free cell of the room, with stairs up when the tileset has them.
void PlaceEntrance(TGenPlan& plan, TGenRandom& rng, const TGenRoom& room, int symbol) {
    std::vector<TGenPoint> spots = MiddleSpots(plan, room);
    if (spots.empty()) spots = WallSpots(plan, room);
    if (spots.empty()) return;
    const TGenPoint at = spots[rng.Below(int(spots.size()))];
    plan.Entrance = at;
    if (symbol) plan.SetObject(at.c, at.r, symbol);
}

namespace {

// What the dungeon's steps share, in the order they are drawn.
struct TDungeon : TGenStyleSteps {
    std::vector<TGenRoom> rooms;
    std::vector<unsigned char> reserved; // rooms and their walls, where no corridor goes
    std::vector<TGenDoor> doors;
    std::vector<bool> loopDoor;          // per door: it closes a loop (a place for a secret door)
    std::vector<std::vector<int>> links; // per room: the rooms a corridor joins it to
    std::vector<TGenPoint> ends;         // where the dead ends stop

    using TGenStyleSteps::TGenStyleSteps;

    void Rock();
    TGenRoom ArrivalRoom(const TGridRect& bounds);
    bool Rooms();
    void Pillars();
    void Corridors();
    void DeadEnds();
    void HangDoors();
    void Purposes();
    void Stairs();
    void Dress();
};

void TDungeon::Rock() {
    NoteDoorsMissing(p, sw);
    if (!p.StairsUp) p.Note("stairs (no stairs symbol named)");
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) plan.SetGround(c, r, p.Flagstone);
    plan.FillSolid(p.Wall);
    plan.BaseGround = p.Flagstone;
}

// A room of 5 to 9 cells a side with the arrival cell inside it, a cell from its walls.
TGenRoom TDungeon::ArrivalRoom(const TGridRect& bounds) {
    const TGenPoint a = plan.Arrive;
    const int w = rng.Range(5, 9), h = rng.Range(5, 9);
    const auto place = [](int at, int size, int lo, int hi, int offset) {
        int start = std::clamp(at - offset, lo, std::max(lo, hi - size + 1));
        // The arrival cell one cell in from either wall, whatever the bounds say.
        start = std::clamp(start, at - size + 2, at - 1);
        return start;
    };
    TGenRoom room;
    room.x0 = place(a.c, w, bounds.Left, bounds.Right, rng.Range(1, w - 2));
    room.y0 = place(a.r, h, bounds.Top, bounds.Bottom, rng.Range(1, h - 2));
    room.x1 = room.x0 + w - 1;
    room.y1 = room.y0 + h - 1;
    return room;
}

// The rooms carved out of the rock; false when the area holds none.
bool TDungeon::Rooms() {
    const TGridRect bounds{in.Left + 4, in.Top + 4, in.Right - 4, in.Bottom - 4};
    const int cells = area.Width() * area.Height();
    const int wanted = std::max(2, (density == TGenDensity::Few    ? 7
                                    : density == TGenDensity::Some ? 11
                                                                   : 16) *
                                       cells / (MapSize * MapSize));
    const int maxSide = density == TGenDensity::Many ? 11 : 14;
    // A level below: first the room the stairs from above come down into.
    if (plan.Arrive.c >= 0) rooms.push_back(ArrivalRoom(bounds));
    const auto apart = [&](const TGenRoom& r) {
        return std::all_of(rooms.begin(), rooms.end(), [&](const TGenRoom& o) {
            return r.x0 > o.x1 + 4 || r.x1 < o.x0 - 4 || r.y0 > o.y1 + 4 || r.y1 < o.y0 - 4;
        });
    };
    // Now and then one great hall first, so not every room is of a kind.
    if (rng.Chance(50))
        for (const TGenRoom& r : PlaceRooms(rng, bounds, 1, maxSide, maxSide + 4, 4, 20))
            if (apart(r)) rooms.push_back(r);
    std::vector<TGenRoom> more = PlaceRooms(rng, bounds, wanted * 3, 5, maxSide, 4, 600);
    for (const TGenRoom& r : more) {
        if (int(rooms.size()) >= wanted) break;
        if (apart(r)) rooms.push_back(r);
    }
    if (rooms.empty()) {
        // Too small for rooms: one chamber filling what there is.
        TGenRoom r{in.Left + 2, in.Top + 2, in.Right - 2, in.Bottom - 2};
        if (r.x1 - r.x0 < 2 || r.y1 - r.y0 < 2) return false;
        rooms.push_back(r);
    }
    for (const TGenRoom& room : rooms) CarveRoom(plan, room);
    return true;
}

// Pillars in some large square-cornered halls: single blocks of wall four cells apart.
void TDungeon::Pillars() {
    for (TGenRoom& room : rooms)
        if (room.chamfer == 0 && room.Width() >= 10 && room.Height() >= 9 && rng.Chance(45)) {
            room.purpose = rng.Chance(50) ? TRoomPurpose::Hall : TRoomPurpose::Crypt;
            const int ox = (room.Width() - 1) % 4 / 2 + 2, oy = (room.Height() - 1) % 4 / 2 + 2;
            for (int r = room.y0 + oy; r <= room.y1 - 2; r += 4)
                for (int c = room.x0 + ox; c <= room.x1 - 2; c += 4) plan.SetSolid(c, r, p.Wall);
        }
}

// A corridor for every planned edge, with a door at both ends; an edge that finds no way
// after four tries is left out.
void TDungeon::Corridors() {
    reserved = RoomReserve(rooms);
    const int loopChance = density == TGenDensity::Few ? 8 : density == TGenDensity::Some ? 14 : 20;
    links.resize(rooms.size());
    for (const TEdge& e : PlanEdges(rng, rooms, loopChance)) {
        for (int attempt = 0; attempt < 4; ++attempt) {
            TGenDoor da, db;
            const TGenRoom &A = rooms[e.a], &B = rooms[e.b];
            const bool ok = attempt < 2 ? DoorToward(rng, A, e.a, B.CentreC(), B.CentreR(), da) &&
                                              DoorToward(rng, B, e.b, A.CentreC(), A.CentreR(), db)
                                        : DoorOnSide(rng, A, e.a, rng.Below(4), da) &&
                                              DoorOnSide(rng, B, e.b, rng.Below(4), db);
            if (!ok || Clashes(doors, da) || Clashes(doors, db)) continue;
            if (!CarveCorridor(plan, rng, reserved, da.outside, db.outside)) continue;
            CutDoor(plan, da);
            CutDoor(plan, db);
            doors.push_back(da);
            doors.push_back(db);
            loopDoor.push_back(e.loop);
            loopDoor.push_back(false);
            links[e.a].push_back(e.b);
            links[e.b].push_back(e.a);
            break;
        }
    }
}

// Dead ends: a corridor from a room into the rock that stops.
void TDungeon::DeadEnds() {
    const int deadEnds = rng.Range(1, density == TGenDensity::Few ? 2 : density == TGenDensity::Some ? 3 : 5);
    for (int k = 0, tries = 0; k < deadEnds && tries < 40; ++tries) {
        const int ri = rng.Below(int(rooms.size()));
        TGenDoor d;
        if (!DoorOnSide(rng, rooms[ri], ri, rng.Below(4), d) || Clashes(doors, d)) continue;
        const int len = rng.Range(6, 16);
        const int dc = d.inNorthSouth ? (d.outside.c < d.a.c ? -len : len) : rng.Range(-len / 2, len / 2);
        const int dr = d.inNorthSouth ? rng.Range(-len / 2, len / 2) : (d.outside.r < d.a.r ? -len : len);
        const TGenPoint end{d.outside.c + dc, d.outside.r + dr};
        if (!CarveCorridor(plan, rng, reserved, d.outside, end)) continue;
        CutDoor(plan, d);
        doors.push_back(d);
        loopDoor.push_back(false);
        ends.push_back(end);
        ++k;
    }
}

// Doors into their gaps; secret ones on some loops.
void TDungeon::HangDoors() {
    for (size_t i = 0; i < doors.size(); ++i) {
        TGenDoor& d = doors[i];
        if (!DoorHolds(plan, d)) continue;
        int s = 0;
        if (loopDoor[i] && sw.SecretDoors && p.SecretFor(d.inNorthSouth) && rng.Chance(45))
            s = p.SecretFor(d.inNorthSouth);
        else if (sw.Doors && rng.Chance(85)) s = DoorSymbol(p, rng, d);
        d.symbol = s;
        plan.SetPortal(d.a.c, d.a.r, s);
        plan.SetPortal(d.b.c, d.b.r, s);
    }
}

// What the rooms are for: the largest a throne room or hall, the rest drawn from the list.
void TDungeon::Purposes() {
    std::vector<int> order(rooms.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return rooms[a].Width() * rooms[a].Height() > rooms[b].Width() * rooms[b].Height();
    });
    for (size_t k = 0; k < order.size(); ++k) {
        TGenRoom& room = rooms[order[k]];
        if (room.purpose != TRoomPurpose::Plain) continue;
        if (k == 0) room.purpose = rng.Chance(60) ? TRoomPurpose::Throne : TRoomPurpose::Shrine;
        else
            room.purpose = PickPurpose(
                rng, room,
                {TRoomPurpose::Library, TRoomPurpose::Barracks, TRoomPurpose::Storeroom, TRoomPurpose::Storeroom,
                 TRoomPurpose::Crypt, TRoomPurpose::Kitchen, TRoomPurpose::Armoury, TRoomPurpose::Prison,
                 TRoomPurpose::Shrine, TRoomPurpose::Plain, TRoomPurpose::Plain, TRoomPurpose::Bedchamber});
    }
}

// The entrance room is the one nearest the area's top-left or bottom-right, whichever the
// seed picks; stairs down where the walk from it is longest.
void TDungeon::Stairs() {
    int entrance = 0;
    const bool fromTop = rng.Chance(50);
    for (size_t i = 1; i < rooms.size() && plan.Arrive.c < 0; ++i) {
        const auto key = [&](const TGenRoom& r) { return fromTop ? r.x0 + r.y0 : -(r.x1 + r.y1); };
        if (key(rooms[i]) < key(rooms[entrance])) entrance = int(i);
    }
    std::vector<int> depth(rooms.size(), -1);
    std::vector<int> queue{entrance};
    depth[entrance] = 0;
    for (size_t q = 0; q < queue.size(); ++q)
        for (int nb : links[queue[q]])
            if (depth[nb] < 0) {
                depth[nb] = depth[queue[q]] + 1;
                queue.push_back(nb);
            }
    const int deepest = queue.back();
    if (rooms[entrance].purpose == TRoomPurpose::Throne) rooms[entrance].purpose = TRoomPurpose::Hall;
    if (plan.Arrive.c >= 0) {
        plan.Entrance = plan.Arrive;
        if (p.StairsUp) plan.SetObject(plan.Arrive.c, plan.Arrive.r, p.StairsUp);
    } else {
        PlaceEntrance(plan, rng, rooms[entrance], p.StairsUp);
    }
    if (!p.StairsDown) return;
    // The deepest room's middle; where that is full or there is no other room, the next
    // deepest room's, along a wall, and at last the entrance room's own.
    std::vector<int> candidates;
    if (deepest != entrance) candidates.push_back(deepest);
    for (size_t q = queue.size(); q-- > 1;)
        if (queue[q] != deepest) candidates.push_back(queue[q]);
    for (size_t i = 0; i < rooms.size(); ++i)
        if (depth[i] < 0) candidates.push_back(int(i));
    candidates.push_back(entrance);
    for (size_t n = 0; n < candidates.size() && plan.StairsDown.c < 0; ++n)
        for (const bool middle : {true, false}) {
            const TGenRoom& room = rooms[candidates[n]];
            std::vector<TGenPoint> spots = middle ? MiddleSpots(plan, room) : WallSpots(plan, room);
            // Never beside the way in, so the two stairs are not mistaken for one.
            if (candidates[n] == entrance)
                std::erase_if(spots, [&](TGenPoint q) {
                    return std::abs(q.c - plan.Entrance.c) <= 2 && std::abs(q.r - plan.Entrance.r) <= 2;
                });
            if (PutOn(plan, rng, spots, p.StairsDown, 1) == 0) continue;
            for (int r = room.y0; r <= room.y1; ++r)
                for (int c = room.x0; c <= room.x1; ++c)
                    if (plan.Object(c, r) == p.StairsDown) plan.StairsDown = {c, r};
            break;
        }
    if (plan.StairsDown.c < 0) p.Note("stairs down (no free floor in any room for them)");
}

// The rooms' furniture, a trap or a cache where a dead end stops, and a way in on any
// clear cell when no room gave one.
void TDungeon::Dress() {
    for (size_t i = 0; i < rooms.size(); ++i) DressRoom(plan, rng, rooms[i], doors, sw);
    if (sw.Dressing)
        for (const TGenPoint& e : ends) {
            // A corridor's cells all hold wall pieces, so the marker lies on the lower layer
            // beneath them, as doors do.
            const int marker = rng.Chance(50) ? p.Trap : p.Treasure;
            if (marker && !plan.Solid(e.c, e.r) && !plan.Portal(e.c, e.r)) plan.SetPortal(e.c, e.r, marker);
        }
    if (plan.Entrance.c < 0) {
        for (int r = area.Top; r <= area.Bottom && plan.Entrance.c < 0; ++r)
            for (int c = area.Left; c <= area.Right && plan.Entrance.c < 0; ++c)
                if (plan.Clear(c, r)) plan.Entrance = {c, r};
    }
}

} // namespace

void GenerateDungeon(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw) {
    TDungeon dungeon(plan, rng, density, sw);
    dungeon.Rock();
    if (!dungeon.Rooms()) return;
    dungeon.Pillars();
    dungeon.Corridors();
    dungeon.DeadEnds();
    plan.ConnectAll(rng);
    dungeon.HangDoors();
    dungeon.Purposes();
    dungeon.Stairs();
    dungeon.Dress();
    for (const TGenRoom& room : dungeon.rooms) AddRoomPlace(plan, room);
}

} // namespace qm
