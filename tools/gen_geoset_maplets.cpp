// The maplets of the default GeoSet, drawn on a grid of cell corners.
//
// Walls and terrain are decided per cell corner (13 x 13 corners per maplet): a quarter
// of a cell is covered when the corner it touches is. Every boundary between terrain and
// floor then runs along the middle of cells, where the tileset draws its rims, and two
// maplets side by side share the corners of their common border. The border corners are
// fixed: wall everywhere except corners 5..7 of a side that faces another maplet, which
// gives every inner border a corridor over the middle cells 6 and 7.
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tools/gen_geoset.h"

namespace gen {

namespace {
using qm::TMaplet;
using qm::TMapCell;

enum Side { N = 1, E = 2, S = 4, W = 8 };

// Terrain rows of the default tileset.
constexpr uint8_t WallBase = 128, WaterBase = 144, FireBase = 160, HoleBase = 176, SlimeBase = 192,
                  ForestBase = 208, MountainBase = 224, DesertBase = 240;
constexpr uint8_t FullShape = 13;

// Symbols of the default tileset's catalogue.
enum : uint8_t {
    Flagstone = 1, FloorA = 10, FloorB = 11, Dirt = 16, Grass = 17, Sand = 18, Gravel = 19, Planks = 20,
    Marble = 21, StairsUp = 22, StairsDown = 23, Ladder = 24, Table = 26, Chair = 27, Bed = 28, Chest = 29,
    Barrel = 30, Crate = 31, Trap = 34, SecretDoor = 35, Treasure = 36, Monster = 37, Note = 38, Pillar = 39,
    Statue = 40, Altar = 41, Fountain = 42, Well = 43, Throne = 44, Bookshelf = 45, Rubble = 49, Bones = 50,
    Web = 51, Campfire = 52, Tent = 53, Cart = 54, Boat = 55, Tree = 58, Bush = 59, Rock = 60, Boulder = 61,
    Stalagmite = 62, DirtRoad = 63, Cobbles = 64, Signpost = 65, CaveFloor = 83, Mud = 84, Crystal = 86,
    Mushrooms = 87, Grave = 88, Obelisk = 89, Carpet = 91, Spikes = 92, Lever = 94, GrassB = 96,
    CrateStack = 100, BigCrateStack = 101, Swamp = 102, Ash = 103, Cage = 104, Anvil = 105, Forge = 106,
    Cauldron = 108, Dune = 109,
};

// The symbols that the default layer flags put on the lower layer: ground.
bool IsGround(uint8_t s) {
    static const uint8_t lower[] = {0,  1,  10, 11, 16, 17, 18, 19,  20,  21,  25,  47,  48,  57,  63,  64,  68, 83,
                                    84, 85, 91, 96, 97, 98, 99, 102, 103, 109, 141, 157, 173, 189, 205, 237, 253};
    for (uint8_t l : lower)
        if (l == s) return true;
    return false;
}

// Shape of a cell from its covered quarters: bit 1 NW, 2 NE, 4 SW, 8 SE.
constexpr int ShapeOfQuarters[16] = {0, 6, 7, 1, 5, 3, 15, 11, 8, 14, 4, 9, 2, 12, 10, 13};

bool InLane(int sides, int x, int y) {
    const bool midX = x == 6 || x == 7, midY = y == 6 || y == 7;
    return ((sides & N) && midX && y <= 7) || ((sides & S) && midX && y >= 6) || ((sides & W) && midY && x <= 7) ||
           ((sides & E) && midY && x >= 6);
}

struct Draft {
    explicit Draft(int sides_) : sides(sides_) {
        for (auto& col : wall) col.fill(true);
        for (auto& col : feature) col.fill(0);
        for (auto& col : ground) col.fill(Flagstone);
        for (auto& col : object) col.fill(0);
    }

    int sides;
    std::array<std::array<bool, 13>, 13> wall;       // [i][j] corner, 0..12
    std::array<std::array<uint8_t, 13>, 13> feature;  // terrain base at a corner, 0 none
    std::array<std::array<uint8_t, 13>, 13> ground;   // [x][y] cell, 1..12
    std::array<std::array<uint8_t, 13>, 13> object;   // [x][y] cell, 1..12

    bool Has(int side) const { return (sides & side) != 0; }

    void Open(int i0, int j0, int i1, int j1) {
        for (int i = i0; i <= i1; ++i)
            for (int j = j0; j <= j1; ++j) wall[i][j] = false;
    }
    void Close(int i0, int j0, int i1, int j1) {
        for (int i = i0; i <= i1; ++i)
            for (int j = j0; j <= j1; ++j) wall[i][j] = true;
    }
    void Feature(int i0, int j0, int i1, int j1, uint8_t base) {
        for (int i = i0; i <= i1; ++i)
            for (int j = j0; j <= j1; ++j) feature[i][j] = base;
    }
    // Corridors from every inner side inwards, `depth` corners deep.
    void Corridors(int depth) {
        if (Has(N)) Open(5, 0, 7, depth);
        if (Has(S)) Open(5, 12 - depth, 7, 12);
        if (Has(W)) Open(0, 5, depth, 7);
        if (Has(E)) Open(12 - depth, 5, 12, 7);
    }
    void Ground(int x0, int y0, int x1, int y1, uint8_t s) {
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y) ground[x][y] = s;
    }
    // The two stone floor variants alternate by row, as the map background does.
    void Floor(int x0, int y0, int x1, int y1) {
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y) ground[x][y] = (y % 2) ? FloorB : FloorA;
    }
    // Ground along the corridors of the inner sides, from the border to the middle.
    void Lanes(uint8_t s) {
        for (int x = 1; x <= 12; ++x)
            for (int y = 1; y <= 12; ++y)
                if (InLane(sides, x, y)) ground[x][y] = s;
    }
    void Put(int x, int y, uint8_t s) { object[x][y] = s; }
    // The two cells of every corridor next to an inner border are flagstone, so floors
    // meet alike at every border whatever lies on either side.
    void BorderFloors() {
        if (Has(N)) Ground(5, 1, 8, 2, Flagstone);
        if (Has(S)) Ground(5, 11, 8, 12, Flagstone);
        if (Has(W)) Ground(1, 5, 2, 8, Flagstone);
        if (Has(E)) Ground(11, 5, 12, 8, Flagstone);
    }
};

[[noreturn]] void Fail(const std::string& what, int position, int section) {
    throw std::runtime_error("maplet " + std::to_string(position) + "/" + std::to_string(section) + ": " + what);
}

// Checks the design rules and writes the maplet.
void Finish(const Draft& d, TMaplet& m, int position, int section) {
    // Border corners: closed, except the corridor corners of the inner sides.
    for (int k = 0; k <= 12; ++k) {
        const bool gap = k >= 5 && k <= 7;
        struct { int side, i, j; } border[] = {{N, k, 0}, {S, k, 12}, {W, 0, k}, {E, 12, k}};
        for (auto b : border) {
            const bool wantOpen = gap && d.Has(b.side);
            if (d.wall[b.i][b.j] == wantOpen) Fail("border corner " + std::to_string(b.i) + "," + std::to_string(b.j), position, section);
            if (d.feature[b.i][b.j]) Fail("terrain on the border", position, section);
        }
    }

    std::array<std::array<bool, 13>, 13> clean{};
    for (int x = 1; x <= 12; ++x)
        for (int y = 1; y <= 12; ++y) {
            const int ci[4] = {x - 1, x, x - 1, x}, cj[4] = {y - 1, y - 1, y, y};
            int wallBits = 0, featBits = 0;
            uint8_t base = 0;
            for (int q = 0; q < 4; ++q) {
                if (d.wall[ci[q]][cj[q]]) wallBits |= 1 << q;
                if (uint8_t f = d.feature[ci[q]][cj[q]]) {
                    if (base && base != f) Fail("two terrains in one cell", position, section);
                    base = f;
                    featBits |= 1 << q;
                }
            }
            if (wallBits && featBits) Fail("terrain touches a wall", position, section);
            TMapCell cell{0, d.ground[x][y], 0};
            const uint8_t obj = d.object[x][y];
            const int bits = wallBits ? wallBits : featBits;
            if (wallBits) base = WallBase;
            if (bits) {
                const uint8_t symbol = static_cast<uint8_t>(base + ShapeOfQuarters[bits]);
                if (IsGround(symbol)) cell.Lower = symbol; // full terrain is ground in its own right
                else cell.Upper = symbol;
                // Objects only stand on open floor or on full terrain (a boat on water).
                if (obj && (cell.Upper || wallBits)) Fail("object on a terrain edge", position, section);
            }
            if (obj) {
                if (IsGround(obj)) Fail("ground symbol used as an object", position, section);
                if (InLane(d.sides, x, y)) Fail("object in a corridor lane", position, section);
                cell.Upper = obj;
            }
            m.Cell(x, y) = cell;
            clean[x][y] = !bits;
        }

    // All open floor forms one area that reaches every inner side.
    std::array<std::array<bool, 13>, 13> seen{};
    std::vector<std::pair<int, int>> todo;
    int total = 0, startX = 0, startY = 0;
    for (int x = 1; x <= 12; ++x)
        for (int y = 1; y <= 12; ++y)
            if (clean[x][y]) {
                ++total;
                startX = x;
                startY = y;
            }
    if (!total) Fail("no floor", position, section);
    todo.push_back({startX, startY});
    seen[startX][startY] = true;
    int reached = 0;
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        ++reached;
        const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
        for (int k = 0; k < 4; ++k) {
            const int nx = x + dx[k], ny = y + dy[k];
            if (nx < 1 || nx > 12 || ny < 1 || ny > 12 || seen[nx][ny] || !clean[nx][ny]) continue;
            seen[nx][ny] = true;
            todo.push_back({nx, ny});
        }
    }
    if (reached != total) Fail("floor split into parts", position, section);
    struct { int side, x, y; } entries[] = {{N, 6, 1}, {S, 6, 12}, {W, 1, 6}, {E, 12, 6}};
    for (auto e : entries)
        if (d.Has(e.side) && !seen[e.x][e.y]) Fail("corridor does not reach the floor", position, section);
}

// ---- the maplet designs ----------------------------------------------------------------
// Rooms leave the middle cells 6 and 7 of both axes free of objects; the lanes from the
// inner sides run through them.

using Design = std::function<void(Draft&)>;

// A square room with corners 2..10 open: floor cells 3..10, rims on 2 and 11.
void Room(Draft& d) {
    d.Open(2, 2, 10, 10);
    d.Corridors(2);
}

void PillaredHall(Draft& d) {
    Room(d);
    d.Floor(1, 1, 12, 12);
    for (int x : {4, 9})
        for (int y : {4, 9}) d.Put(x, y, Pillar);
    d.Put(9, 5, Monster);
}

void HallWithStairs(Draft& d) {
    Room(d);
    d.Floor(1, 1, 12, 12);
    d.Put(4, 4, StairsDown);
    d.Put(9, 9, Statue);
    d.Put(4, 9, Pillar);
    d.Put(9, 4, Pillar);
}

void HallStairsUp(Draft& d) {
    Room(d);
    d.Floor(1, 1, 12, 12);
    d.Put(9, 9, StairsUp);
    d.Put(4, 4, Statue);
    d.Put(3, 10, Rubble);
}

void Crossroads(Draft& d) {
    d.Open(4, 4, 8, 8);
    d.Corridors(4);
    d.Put(5, 5, Rubble);
    d.Put(8, 8, Bones);
}

void Cobbled(Draft& d) {
    d.Open(4, 4, 8, 8);
    d.Corridors(4);
    d.Ground(1, 1, 12, 12, Cobbles);
    d.Put(8, 5, Web);
    d.Put(5, 8, Trap);
}

// A crossing with two store rooms in opposite corners.
void StoreRooms(Draft& d) {
    d.Open(4, 4, 8, 8);
    d.Corridors(4);
    d.Open(1, 1, 5, 5);
    d.Open(7, 7, 11, 11);
    d.Ground(1, 1, 6, 6, Planks);
    d.Ground(7, 7, 12, 12, Planks);
    d.Put(2, 2, Crate);
    d.Put(3, 2, BigCrateStack);
    d.Put(2, 3, Barrel);
    d.Put(2, 4, Barrel);
    d.Put(4, 3, Chest);
    d.Put(11, 11, CrateStack);
    d.Put(10, 11, Crate);
    d.Put(11, 10, Barrel);
    d.Put(9, 9, Treasure);
}

// The same with bunks in the other two corners.
void Quarters(Draft& d) {
    d.Open(4, 4, 8, 8);
    d.Corridors(4);
    d.Open(7, 1, 11, 5);
    d.Open(1, 7, 5, 11);
    d.Ground(7, 1, 12, 6, Planks);
    d.Ground(1, 7, 6, 12, Planks);
    for (int y : {2, 4}) d.Put(11, y, Bed);
    d.Put(9, 2, Chest);
    d.Put(2, 11, Bed);
    d.Put(4, 11, Bed);
    d.Put(2, 9, Table);
    d.Put(3, 9, Chair);
}

void Cave(Draft& d, uint8_t pool, uint8_t floor) {
    d.Open(2, 3, 10, 9);
    d.Open(3, 2, 9, 10);
    d.Open(1, 4, 3, 6);
    d.Open(8, 9, 10, 11);
    d.Corridors(3);
    d.Ground(1, 1, 12, 12, floor);
    if (pool) d.Feature(5, 5, 7, 7, pool);
}

void WaterCave(Draft& d) {
    Cave(d, WaterBase, CaveFloor);
    d.Put(4, 4, Stalagmite);
    d.Put(9, 9, Stalagmite);
    d.Put(9, 4, Rock);
    d.Put(10, 10, Boulder);
}

void CrystalCave(Draft& d) {
    Cave(d, 0, CaveFloor);
    d.Close(6, 6, 6, 6); // a rock pillar in the middle
    d.Put(4, 4, Crystal);
    d.Put(9, 4, Crystal);
    d.Put(4, 9, Mushrooms);
    d.Put(10, 10, Boulder);
}

void SlimeCave(Draft& d) {
    Cave(d, 0, Mud);
    d.Feature(4, 7, 5, 8, SlimeBase);
    d.Put(9, 4, Mushrooms);
    d.Put(4, 4, Bones);
    d.Put(10, 10, Web);
}

void Garden(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Corridors(1);
    d.Ground(1, 1, 12, 12, Grass);
    d.Lanes(DirtRoad);
    d.Feature(2, 2, 4, 4, ForestBase);
    d.Feature(8, 8, 10, 10, ForestBase);
    d.Put(9, 4, Well);
    d.Put(4, 9, Bush);
    d.Put(10, 3, Tree);
    d.Put(3, 10, Tree);
}

void Camp(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Corridors(1);
    d.Ground(1, 1, 12, 12, GrassB);
    d.Lanes(Dirt);
    d.Feature(8, 8, 10, 10, MountainBase);
    d.Put(3, 3, Tent);
    d.Put(5, 4, Campfire);
    d.Put(9, 3, Cart);
    d.Put(4, 10, Tree);
    d.Put(3, 9, Bush);
    d.Put(10, 4, Barrel);
}

void Graveyard(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Corridors(1);
    d.Ground(1, 1, 12, 12, Grass);
    d.Lanes(Gravel);
    for (int x : {2, 4, 9, 11})
        for (int y : {3, 10}) d.Put(x, y, Grave);
    d.Put(3, 4, Tree);
    d.Put(10, 4, Obelisk);
    d.Put(10, 9, Bush);
    d.Put(4, 9, Monster);
}

void DesertRuins(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Corridors(1);
    d.Ground(1, 1, 12, 12, Sand);
    d.Lanes(Dune);
    d.Feature(2, 8, 4, 10, DesertBase);
    d.Feature(8, 2, 10, 3, DesertBase);
    d.Put(4, 4, Rubble);
    d.Put(3, 3, Obelisk);
    d.Put(10, 10, Rock);
    d.Put(9, 9, Bones);
}

void Cistern(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Corridors(1);
    d.Feature(3, 3, 9, 9, WaterBase);
    d.Put(8, 4, Boat);
    d.Put(2, 2, Barrel);
    d.Put(11, 11, Lever);
}

void LavaVault(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Corridors(1);
    d.Ground(1, 1, 12, 12, Ash);
    d.Feature(3, 3, 9, 9, FireBase);
    d.Put(2, 2, Treasure);
    d.Put(11, 2, Statue);
    d.Put(2, 11, Statue);
}

void Pit(Draft& d) {
    d.Open(1, 1, 11, 11);
    d.Corridors(1);
    d.Ground(1, 1, 12, 12, Gravel);
    d.Feature(4, 4, 8, 8, HoleBase);
    d.Put(5, 5, Ladder);
    for (int k : {3, 10}) {
        d.Put(k, 3, Spikes);
        d.Put(k, 10, Spikes);
    }
}

void Crypt(Draft& d) {
    Room(d);
    d.Ground(1, 1, 12, 12, Marble);
    d.Put(4, 4, Altar);
    d.Put(3, 4, Statue);
    d.Put(5, 4, Statue);
    d.Put(4, 5, Trap);
    d.Put(9, 9, Grave);
    d.Put(10, 9, Grave);
    d.Put(9, 4, Pillar);
    d.Put(4, 9, Pillar);
    d.Put(10, 10, Treasure);
}

void Library(Draft& d) {
    Room(d);
    d.Ground(1, 1, 12, 12, Planks);
    d.Ground(5, 5, 8, 8, Carpet);
    for (int x : {3, 4, 5, 8, 9, 10}) {
        d.Put(x, 3, Bookshelf);
        d.Put(x, 10, Bookshelf);
    }
    d.Put(4, 5, Table);
    d.Put(3, 5, Chair);
    d.Put(9, 5, Note);
    d.Put(9, 8, Table);
    d.Put(10, 8, Chair);
}

// The throne stands on the middle of a closed side when there is one.
void ThroneRoom(Draft& d) {
    Room(d);
    d.Ground(1, 1, 12, 12, Marble);
    if (!d.Has(N)) {
        d.Ground(6, 3, 7, 10, Carpet);
        d.Put(6, 3, Throne);
        d.Put(7, 3, Throne);
    } else if (!d.Has(S)) {
        d.Ground(6, 3, 7, 10, Carpet);
        d.Put(6, 10, Throne);
        d.Put(7, 10, Throne);
    } else {
        d.Ground(3, 3, 5, 5, Carpet);
        d.Put(4, 4, Throne);
    }
    for (int x : {4, 9})
        for (int y : {5, 8}) d.Put(x, y, Pillar);
    d.Put(9, 3, Statue);
    d.Put(10, 10, Chest);
}

void Smithy(Draft& d) {
    Room(d);
    d.Ground(1, 1, 12, 12, Gravel);
    d.Feature(3, 8, 4, 9, FireBase);
    d.Put(9, 3, Forge);
    d.Put(9, 4, Anvil);
    d.Put(4, 3, Cauldron);
    d.Put(10, 9, Barrel);
    d.Put(9, 10, Crate);
    d.Put(3, 4, Cage);
}

// Six sections for each of the nine positions.
const Design Sections[9][6] = {
    /* 1 Upper Left   */ {HallWithStairs, WaterCave, StoreRooms, Garden, Crypt, Crossroads},
    /* 2 Upper Center */ {Crossroads, Library, Cistern, Camp, SlimeCave, Quarters},
    /* 3 Upper Right  */ {ThroneRoom, CrystalCave, Smithy, Graveyard, StoreRooms, Cobbled},
    /* 4 Left         */ {Cobbled, Pit, PillaredHall, WaterCave, Garden, Library},
    /* 5 Center       */ {Crossroads, PillaredHall, CrystalCave, Cistern, Camp, Quarters},
    /* 6 Right        */ {Quarters, SlimeCave, Crossroads, LavaVault, Smithy, DesertRuins},
    /* 7 Lower Left   */ {CrystalCave, Crypt, Cobbled, StoreRooms, Graveyard, Cistern},
    /* 8 Lower Center */ {Library, Crossroads, ThroneRoom, WaterCave, DesertRuins, Smithy},
    /* 9 Lower Right  */ {HallStairsUp, LavaVault, SlimeCave, Cobbled, Camp, ThroneRoom},
};
} // namespace

int InnerSides(int position) {
    const int col = (position - 1) % 3, row = (position - 1) / 3;
    int sides = 0;
    if (row > 0) sides |= N;
    if (row < 2) sides |= S;
    if (col > 0) sides |= W;
    if (col < 2) sides |= E;
    return sides;
}

void BuildDefaultGeoSet(qm::TGeoSetRecord& geo) {
    qm::ClearGeoSetRecord(geo, "");
    for (int p = 1; p <= qm::GeoPositions; ++p)
        for (int s = 1; s <= qm::GeoSections; ++s) {
            Draft d(InnerSides(p));
            Sections[p - 1][s - 1](d);
            d.BorderFloors();
            Finish(d, geo.Maplet(p, s), p, s);
        }
    // The editor opens on the centre maplet, painting flagstone floor.
    geo.Position = 5;
    geo.Section = 1;
    geo.PaintSymbol = Flagstone;
    geo.LayerMode = qm::lmAuto;
}

} // namespace gen
