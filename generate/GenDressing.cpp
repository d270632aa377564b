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
    const TGenPalette& p = plan.Palette();
    // Ground first: stone, with a purpose's own floor where the tileset has one.
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

    // Keep the way in free: mark the door approaches as taken while furnishing.
    std::vector<TGenPoint> held;
    for (int r = room.y0; r <= room.y1; ++r)
        for (int c = room.x0; c <= room.x1; ++c)
            if (plan.Free(c, r) && NearDoor(room, doors, c, r)) {
                plan.SetObject(c, r, 255);
                held.push_back({c, r});
            }

    std::vector<TGenPoint> wall = WallSpots(plan, room), middle = MiddleSpots(plan, room);
    const int area = room.Width() * room.Height();
    const auto obj = [&](std::initializer_list<const char*> names) { return p.Object(names); };
    bool lit = false;
    if (sw.Dressing) {
        switch (room.purpose) {
        case TRoomPurpose::Throne: {
            const int throne = obj({"throne"});
            if (throne && !middle.empty()) {
                // The throne stands at the far end from the first door, on the carpet's line.
                int far = room.y0 + 1;
                for (const TGenDoor& d : doors)
                    if (d.room >= 0 && d.a.r <= room.y0) far = room.y1 - 1;
                if (plan.Free(room.CentreC(), far)) plan.SetObject(room.CentreC(), far, throne);
            }
            PutOn(plan, rng, wall, obj({"statue"}), 2 + area / 40);
            lit = true;
            break;
        }
        case TRoomPurpose::Shrine:
        case TRoomPurpose::Chapel:
            PutOn(plan, rng, middle, obj({"altar"}), 1);
            PutOn(plan, rng, wall, obj({"statue"}), 1 + area / 50);
            if (room.purpose == TRoomPurpose::Chapel) PutOn(plan, rng, middle, obj({"chair"}), area / 12);
            lit = true;
            break;
        case TRoomPurpose::Library:
            PutOn(plan, rng, wall, obj({"bookshelf"}), int(wall.size()) * 2 / 3);
            PutOn(plan, rng, middle, obj({"table"}), 1 + area / 60);
            PutOn(plan, rng, middle, obj({"chair"}), 1 + area / 60);
            lit = true;
            break;
        case TRoomPurpose::Barracks:
        case TRoomPurpose::Bedchamber:
            PutOn(plan, rng, wall, obj({"bed"}), room.purpose == TRoomPurpose::Barracks ? 2 + area / 14 : 1);
            PutOn(plan, rng, wall, obj({"chest"}), 1 + area / 40);
            PutOn(plan, rng, middle, obj({"table"}), 1);
            PutOn(plan, rng, middle, obj({"chair"}), 1 + area / 50);
            lit = true;
            break;
        case TRoomPurpose::Storeroom:
            PutOn(plan, rng, wall, obj({"barrel"}), 1 + area / 12);
            PutOn(plan, rng, wall, obj({"crate"}), 1 + area / 14);
            PutOn(plan, rng, wall, obj({"crate stack, small"}), area / 30);
            PutOn(plan, rng, middle, obj({"crate stack, large"}), area / 50);
            if (p.Treasure && rng.Chance(30)) PutOn(plan, rng, middle, p.Treasure, 1);
            break;
        case TRoomPurpose::Crypt:
            PutOn(plan, rng, middle, obj({"grave", "coffin", "tomb"}), 2 + area / 10);
            PutOn(plan, rng, wall, obj({"bones"}), 1 + area / 40);
            PutOn(plan, rng, wall, obj({"spider web", "web"}), 1);
            if (p.Treasure && rng.Chance(50)) PutOn(plan, rng, middle, p.Treasure, 1);
            if (p.Monster && rng.Chance(50)) PutOn(plan, rng, middle, p.Monster, 1);
            break;
        case TRoomPurpose::Kitchen:
            PutOn(plan, rng, middle, obj({"table"}), 1 + area / 40);
            PutOn(plan, rng, wall, obj({"cauldron"}), 1);
            PutOn(plan, rng, wall, obj({"barrel"}), 1 + area / 30);
            PutOn(plan, rng, wall, obj({"well"}), rng.Chance(30) ? 1 : 0);
            lit = true;
            break;
        case TRoomPurpose::Armoury:
            PutOn(plan, rng, wall, obj({"anvil"}), 1);
            PutOn(plan, rng, wall, obj({"forge"}), sw.Lights ? 1 : 0);
            PutOn(plan, rng, wall, obj({"chest"}), 1 + area / 30);
            PutOn(plan, rng, wall, obj({"crate"}), area / 30);
            lit = true;
            break;
        case TRoomPurpose::Prison:
            PutOn(plan, rng, wall, obj({"cage"}), 1 + area / 25);
            PutOn(plan, rng, wall, obj({"chain"}), 1 + area / 40);
            PutOn(plan, rng, middle, obj({"bones"}), 1);
            if (p.Monster && rng.Chance(40)) PutOn(plan, rng, middle, p.Monster, 1);
            lit = true;
            break;
        case TRoomPurpose::Hall:
            PutOn(plan, rng, middle, obj({"table"}), 1 + area / 25);
            PutOn(plan, rng, middle, obj({"chair"}), 1 + area / 25);
            PutOn(plan, rng, wall, obj({"barrel"}), 1);
            lit = true;
            break;
        case TRoomPurpose::Tower: PutOn(plan, rng, wall, obj({"crate", "barrel"}), 1); break;
        case TRoomPurpose::Plain:
            PutOn(plan, rng, wall, obj({"rubble"}), rng.Below(2));
            PutOn(plan, rng, wall, obj({"bones"}), rng.Below(2));
            PutOn(plan, rng, wall, obj({"spider web", "web"}), rng.Below(2));
            if (p.Monster && rng.Chance(25)) PutOn(plan, rng, middle, p.Monster, 1);
            break;
        }
    } else {
        lit = room.purpose != TRoomPurpose::Storeroom && room.purpose != TRoomPurpose::Crypt &&
              room.purpose != TRoomPurpose::Plain;
    }
    if (sw.Lights && lit && p.Torch) PutOn(plan, rng, wall, p.Torch, 2 + area / 45);
    for (const TGenPoint& h : held) plan.SetObject(h.c, h.r, 0);
}

} // namespace qm
