#include "generate/GenDressing.h"

#include <algorithm>

namespace qm {

namespace {

// Cells just inside a door stay free so the way in is never blocked.
bool NearDoor(const TGenRoom& room, const std::vector<TGenDoor>& doors, int c, int r) {
    for (const TGenDoor& d : doors) {
        if (d.room < 0) continue;
        for (const TGenPoint& p : {d.a, d.b})
            if (std::abs(p.c - c) <= 2 && std::abs(p.r - r) <= 2 && room.Contains(c, r)) return true;
    }
    return false;
}

void Shuffle(TGenRandom& rng, std::vector<TGenPoint>& spots) {
    for (int i = int(spots.size()) - 1; i > 0; --i) std::swap(spots[i], spots[rng.Below(i + 1)]);
}

// Ground first: stone, with a purpose's own floor where the tileset has one, and a
// throne room's carpet.
void LayFloor(TGenPlan& plan, const TGenRoom& room) {
    const TGenPalette& p = plan.Palette();
    int floor = 0;
    switch (room.purpose) {
    case TRoomPurpose::Shrine:
    case TRoomPurpose::Chapel: floor = p.Marble; break;
    case TRoomPurpose::Library:
    case TRoomPurpose::Barracks:
    case TRoomPurpose::Bedchamber:
    case TRoomPurpose::Kitchen: floor = p.Planks; break;
    case TRoomPurpose::Storeroom:
    case TRoomPurpose::Prison:
    case TRoomPurpose::Crypt: floor = p.Flagstone; break;
    default: break;
    }
    for (int r = room.y0 - 1; r <= room.y1 + 1; ++r)
        for (int c = room.x0 - 1; c <= room.x1 + 1; ++c) {
            if (floor) plan.SetGround(c, r, floor);
            else plan.SetStone(c, r);
        }
    if (room.purpose == TRoomPurpose::Throne && p.Carpet)
        for (int r = room.y0 + 1; r <= room.y1 - 1; ++r)
            for (int c = room.CentreC() - 1; c <= room.CentreC() + 1; ++c) plan.SetGround(c, r, p.Carpet);
}

// One room's furniture by its purpose, from free cells along its walls and in its middle.
struct TFurnisher {
    TGenPlan& plan;
    TGenRandom& rng;
    const TGenPalette& p;
    const TGenRoom& room;
    const std::vector<TGenDoor>& doors;
    const TGenSwitches& sw;
    std::vector<TGenPoint> wall, middle;
    int area;

    TFurnisher(TGenPlan& plan, TGenRandom& rng, const TGenRoom& room, const std::vector<TGenDoor>& doors,
               const TGenSwitches& sw)
        : plan(plan), rng(rng), p(plan.Palette()), room(room), doors(doors), sw(sw), wall(WallSpots(plan, room)),
          middle(MiddleSpots(plan, room)), area(room.Width() * room.Height()) {}

    int Obj(std::initializer_list<const char*> names) const { return p.Object(names); }
    // Furnishes the room; true when people live or gather there, so it is lit.
    bool Furnish();
    void Throne();
    void Worship();
    void Library();
    void Sleeping();
    void Storeroom();
    void Crypt();
    void Kitchen();
    void Armoury();
    void Prison();
    void Hall();
    void Plain();
};

bool TFurnisher::Furnish() {
    switch (room.purpose) {
    case TRoomPurpose::Throne: Throne(); return true;
    case TRoomPurpose::Shrine:
    case TRoomPurpose::Chapel: Worship(); return true;
    case TRoomPurpose::Library: Library(); return true;
    case TRoomPurpose::Barracks:
    case TRoomPurpose::Bedchamber: Sleeping(); return true;
    case TRoomPurpose::Storeroom: Storeroom(); return false;
    case TRoomPurpose::Crypt: Crypt(); return false;
    case TRoomPurpose::Kitchen: Kitchen(); return true;
    case TRoomPurpose::Armoury: Armoury(); return true;
    case TRoomPurpose::Prison: Prison(); return true;
    case TRoomPurpose::Hall: Hall(); return true;
    case TRoomPurpose::Tower: PutOn(plan, rng, wall, Obj({"crate", "barrel"}), 1); return false;
    case TRoomPurpose::Plain: Plain(); return false;
    }
    return false;
}

void TFurnisher::Throne() {
    const int throne = Obj({"throne"});
    if (throne && !middle.empty()) {
        // The throne stands at the far end from the first door, on the carpet's line.
        int far = room.y0 + 1;
        for (const TGenDoor& d : doors)
            if (d.room >= 0 && d.a.r <= room.y0) far = room.y1 - 1;
        if (plan.Free(room.CentreC(), far)) plan.SetObject(room.CentreC(), far, throne);
    }
    PutOn(plan, rng, wall, Obj({"statue"}), 2 + area / 40);
}

void TFurnisher::Worship() {
    PutOn(plan, rng, middle, Obj({"altar"}), 1);
    PutOn(plan, rng, wall, Obj({"statue"}), 1 + area / 50);
    if (room.purpose == TRoomPurpose::Chapel) PutOn(plan, rng, middle, Obj({"chair"}), area / 12);
}

void TFurnisher::Library() {
    PutOn(plan, rng, wall, Obj({"bookshelf"}), int(wall.size()) * 2 / 3);
    PutOn(plan, rng, middle, Obj({"table"}), 1 + area / 60);
    PutOn(plan, rng, middle, Obj({"chair"}), 1 + area / 60);
}

void TFurnisher::Sleeping() {
    PutOn(plan, rng, wall, Obj({"bed"}), room.purpose == TRoomPurpose::Barracks ? 2 + area / 14 : 1);
    PutOn(plan, rng, wall, Obj({"chest"}), 1 + area / 40);
    PutOn(plan, rng, middle, Obj({"table"}), 1);
    PutOn(plan, rng, middle, Obj({"chair"}), 1 + area / 50);
}

void TFurnisher::Storeroom() {
    PutOn(plan, rng, wall, Obj({"barrel"}), 1 + area / 12);
    PutOn(plan, rng, wall, Obj({"crate"}), 1 + area / 14);
    PutOn(plan, rng, wall, Obj({"crate stack, small"}), area / 30);
    PutOn(plan, rng, middle, Obj({"crate stack, large"}), area / 50);
    if (p.Treasure && rng.Chance(30)) PutOn(plan, rng, middle, p.Treasure, 1);
}

void TFurnisher::Crypt() {
    PutOn(plan, rng, middle, Obj({"grave", "coffin", "tomb"}), 2 + area / 10);
    PutOn(plan, rng, wall, Obj({"bones"}), 1 + area / 40);
    PutOn(plan, rng, wall, Obj({"spider web", "web"}), 1);
    if (p.Treasure && rng.Chance(50)) PutOn(plan, rng, middle, p.Treasure, 1);
    if (p.Monster && rng.Chance(50)) PutOn(plan, rng, middle, p.Monster, 1);
}

void TFurnisher::Kitchen() {
    PutOn(plan, rng, middle, Obj({"table"}), 1 + area / 40);
    PutOn(plan, rng, wall, Obj({"cauldron"}), 1);
    PutOn(plan, rng, wall, Obj({"barrel"}), 1 + area / 30);
    PutOn(plan, rng, wall, Obj({"well"}), rng.Chance(30) ? 1 : 0);
}

void TFurnisher::Armoury() {
    PutOn(plan, rng, wall, Obj({"anvil"}), 1);
    PutOn(plan, rng, wall, Obj({"forge"}), sw.Lights ? 1 : 0);
    PutOn(plan, rng, wall, Obj({"chest"}), 1 + area / 30);
    PutOn(plan, rng, wall, Obj({"crate"}), area / 30);
}

void TFurnisher::Prison() {
    PutOn(plan, rng, wall, Obj({"cage"}), 1 + area / 25);
    PutOn(plan, rng, wall, Obj({"chain"}), 1 + area / 40);
    PutOn(plan, rng, middle, Obj({"bones"}), 1);
    if (p.Monster && rng.Chance(40)) PutOn(plan, rng, middle, p.Monster, 1);
}

void TFurnisher::Hall() {
    PutOn(plan, rng, middle, Obj({"table"}), 1 + area / 25);
    PutOn(plan, rng, middle, Obj({"chair"}), 1 + area / 25);
    PutOn(plan, rng, wall, Obj({"barrel"}), 1);
}

void TFurnisher::Plain() {
    PutOn(plan, rng, wall, Obj({"rubble"}), rng.Below(2));
    PutOn(plan, rng, wall, Obj({"bones"}), rng.Below(2));
    PutOn(plan, rng, wall, Obj({"spider web", "web"}), rng.Below(2));
    if (p.Monster && rng.Chance(25)) PutOn(plan, rng, middle, p.Monster, 1);
}

} // namespace

std::vector<TGenPoint> WallSpots(const TGenPlan& plan, const TGenRoom& room) {
    std::vector<TGenPoint> out;
    for (int r = room.y0; r <= room.y1; ++r)
        for (int c = room.x0; c <= room.x1; ++c) {
            if (!plan.Free(c, r)) continue;
            bool byWall = false;
            for (int d = 0; d < 4; ++d) {
                const int dc = d == 0 ? 1 : (d == 1 ? -1 : 0), dr = d == 2 ? 1 : (d == 3 ? -1 : 0);
                if (!plan.Clear(c + dc, r + dr)) byWall = true;
            }
            if (byWall) out.push_back({c, r});
        }
    return out;
}

std::vector<TGenPoint> MiddleSpots(const TGenPlan& plan, const TGenRoom& room) {
    std::vector<TGenPoint> out;
    for (int r = room.y0; r <= room.y1; ++r)
        for (int c = room.x0; c <= room.x1; ++c) {
            bool inside = plan.Free(c, r);
            for (int dr = -1; dr <= 1 && inside; ++dr)
                for (int dc = -1; dc <= 1 && inside; ++dc) inside = plan.Clear(c + dc, r + dr);
            if (inside) out.push_back({c, r});
        }
    return out;
}

int PutOn(TGenPlan& plan, TGenRandom& rng, std::vector<TGenPoint>& spots, int symbol, int count) {
    if (!symbol) return 0;
    Shuffle(rng, spots);
    int put = 0;
    for (auto it = spots.begin(); it != spots.end() && put < count;) {
        if (plan.Free(it->c, it->r)) {
            plan.SetObject(it->c, it->r, symbol);
            ++put;
            it = spots.erase(it);
        } else {
            ++it;
        }
    }
    return put;
}

TRoomPurpose PickPurpose(TGenRandom& rng, const TGenRoom&, std::initializer_list<TRoomPurpose> choices) {
    return *(choices.begin() + rng.Below(int(choices.size())));
}

void DressRoom(TGenPlan& plan, TGenRandom& rng, const TGenRoom& room, const std::vector<TGenDoor>& doors,
               const TGenSwitches& sw) {
    LayFloor(plan, room);
    // Keep the way in free: mark the door approaches as taken while furnishing.
    std::vector<TGenPoint> held;
    for (int r = room.y0; r <= room.y1; ++r)
        for (int c = room.x0; c <= room.x1; ++c)
            if (plan.Free(c, r) && NearDoor(room, doors, c, r)) {
                plan.SetObject(c, r, 255);
                held.push_back({c, r});
            }
    TFurnisher f(plan, rng, room, doors, sw);
    // Without furniture every room but a storeroom, a crypt or a plain one is lit, a tower too.
    const bool lit = sw.Dressing ? f.Furnish()
                                 : room.purpose != TRoomPurpose::Storeroom && room.purpose != TRoomPurpose::Crypt &&
                                       room.purpose != TRoomPurpose::Plain;
    const TGenPalette& p = plan.Palette();
    if (sw.Lights && lit && p.Torch) PutOn(plan, rng, f.wall, p.Torch, 2 + f.area / 45);
    for (const TGenPoint& h : held) plan.SetObject(h.c, h.r, 0);
}

} // namespace qm
