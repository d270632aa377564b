// Drafting and checking maplets, and the GeoSets built from the designs.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tools/MapletDraft.h"

namespace gen {

using qm::TMapCell;
using qm::TMaplet;

// The symbols that the default layer flags put on the lower layer: ground.
bool IsGround(uint8_t s) {
    static const uint8_t lower[] = {0,
                                    Flagstone,
                                    FloorA,
                                    FloorB,
                                    Dirt,
                                    Grass,
                                    Sand,
                                    Gravel,
                                    Planks,
                                    Marble,
                                    DarkPit,
                                    ShallowWater,
                                    LavaCracks,
                                    Deck,
                                    DirtRoad,
                                    Cobbles,
                                    Snow,
                                    CaveFloor,
                                    Mud,
                                    Ice,
                                    Carpet,
                                    GrassB,
                                    GrassC,
                                    Flowers,
                                    Farmland,
                                    Swamp,
                                    Ash,
                                    Dune,
                                    WallBase + FullShape,
                                    WaterBase + FullShape,
                                    FireBase + FullShape,
                                    HoleBase + FullShape,
                                    SlimeBase + FullShape,
                                    MountainBase + FullShape,
                                    DesertBase + FullShape};
    for (uint8_t l : lower)
        if (l == s) return true;
    return false;
}

namespace {
// Shape of a cell from its covered quarters: bit 1 NW, 2 NE, 4 SW, 8 SE.
constexpr int ShapeOfQuarters[16] = {0, 6, 7, 1, 5, 3, 15, 11, 8, 14, 4, 9, 2, 12, 10, 13};

bool InLane(int sides, int x, int y) {
    const bool midX = x == 6 || x == 7, midY = y == 6 || y == 7;
    return ((sides & N) && midX && y <= 7) || ((sides & S) && midX && y >= 6) || ((sides & W) && midY && x <= 7) ||
           ((sides & E) && midY && x >= 6);
}

// Doors and gates may stand in a passage.
bool IsDoor(uint8_t s) { return (s >= DoorNS && s <= DoorLocked) || s == Portcullis; }

// Corner and cell of a side's own frame: `across` runs along the border, `along` inwards
// from it (corner 0 and cell 1 on the border).
std::pair<int, int> SideCorner(int side, int across, int along) {
    switch (side) {
    case N: return {across, along};
    case S: return {across, 12 - along};
    case W: return {along, across};
    default: return {12 - along, across};
    }
}
std::pair<int, int> SideCell(int side, int across, int along) {
    switch (side) {
    case N: return {across, along};
    case S: return {across, 13 - along};
    case W: return {along, across};
    default: return {13 - along, across};
    }
}

[[noreturn]] void Fail(const std::string& what, int position, int section) {
    throw std::runtime_error("maplet " + std::to_string(position) + "/" + std::to_string(section) + ": " + what);
}
} // namespace

Draft::Draft(int sides_, uint8_t barrier_, uint8_t floor, int gapLo_, int gapHi_)
    : sides(sides_), gapLo(gapLo_), gapHi(gapHi_), barrier(barrier_) {
    for (auto& col : wall) col.fill(true);
    for (auto& col : feature) col.fill(0);
    for (auto& col : ground) col.fill(floor);
    for (auto& col : object) col.fill(0);
}

void Draft::Open(int i0, int j0, int i1, int j1) {
    for (int i = i0; i <= i1; ++i)
        for (int j = j0; j <= j1; ++j) wall[i][j] = false;
}
void Draft::Close(int i0, int j0, int i1, int j1) {
    for (int i = i0; i <= i1; ++i)
        for (int j = j0; j <= j1; ++j) wall[i][j] = true;
}
void Draft::Feature(int i0, int j0, int i1, int j1, uint8_t base) {
    for (int i = i0; i <= i1; ++i)
        for (int j = j0; j <= j1; ++j) feature[i][j] = base;
}
void Draft::Lane(int side, int depth) {
    if (!Has(side)) return;
    for (int across = gapLo; across <= gapHi; ++across)
        for (int along = 0; along <= depth; ++along) {
            auto [i, j] = SideCorner(side, across, along);
            wall[i][j] = false;
        }
}
void Draft::Ground(int x0, int y0, int x1, int y1, uint8_t s) {
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y) ground[x][y] = s;
}
void Draft::Floor(int x0, int y0, int x1, int y1) {
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y) ground[x][y] = (y % 2) ? FloorB : FloorA;
}
void Draft::LaneGround(uint8_t s) {
    for (int x = 1; x <= 12; ++x)
        for (int y = 1; y <= 12; ++y)
            if (InLane(sides, x, y)) ground[x][y] = s;
}
void Draft::BorderGround(uint8_t s) {
    if (Has(N)) Ground(5, 1, 8, 2, s);
    if (Has(S)) Ground(5, 11, 8, 12, s);
    if (Has(W)) Ground(1, 5, 2, 8, s);
    if (Has(E)) Ground(11, 5, 12, 8, s);
}

void Draft::MouthDoors() {
    for (int side : {N, E, S, W}) {
        if (!Has(side)) continue;
        auto open = [&](int across, int along) {
            auto [i, j] = SideCorner(side, across, along);
            return !wall[i][j];
        };
        // Narrow at cell `along`: its two passage cells whole floor, both flanks barrier.
        auto narrow = [&](int along) {
            for (int k : {along - 1, along}) {
                if (!open(5, k) || !open(6, k) || !open(7, k) || open(4, k) || open(8, k)) return false;
            }
            return true;
        };
        int depth = 0;
        while (depth < 11 && narrow(depth + 1)) ++depth;
        // A door needs a passage at least two cells long that opens into floor beyond.
        if (depth < 2 || depth >= 11 || !open(6, depth + 1)) continue;
        const uint8_t door = (side == N || side == S) ? DoorEW : DoorNS;
        for (int across : {6, 7}) {
            auto [x, y] = SideCell(side, across, depth);
            if (!object[x][y]) object[x][y] = door;
        }
    }
}

void Draft::SealDoors() {
    // A door line runs along the middle of its cells: east-west for every door but the
    // one in a north-south wall. corner(along, side) is the corner on border `along` of the
    // run (0 before its first cell .. k after its last) on side 0 or 1 of the line.
    for (int pass = 0; pass < 2; ++pass)
        for (int x = 1; x <= 12; ++x)
            for (int y = 1; y <= 12; ++y) {
                const uint8_t obj = object[x][y];
                if (!IsDoor(obj)) continue;
                const bool vertical = obj == DoorNS;
                auto door = [&](int cx, int cy) {
                    return cx >= 1 && cx <= 12 && cy >= 1 && cy <= 12 && IsDoor(object[cx][cy]) &&
                           (object[cx][cy] == DoorNS) == vertical;
                };
                const int dx = vertical ? 0 : 1, dy = vertical ? 1 : 0;
                if (door(x - dx, y - dy)) continue; // not the first cell of its run
                int k = 1;
                while (door(x + k * dx, y + k * dy)) ++k;
                auto corner = [&](int along, int side) -> bool& {
                    return vertical ? wall[x - 1 + side][y - 1 + along] : wall[x - 1 + along][y - 1 + side];
                };
                if (k == 1) {
                    if (pass == 1)
                        throw std::runtime_error("a lone door at cell " + std::to_string(x) + "," + std::to_string(y) +
                                                 " that cannot be doubled");
                    // A second door where the passage goes on, on the side whose new door
                    // ends leave the objects around them on open floor.
                    auto clear = [&](int i, int j) {
                        for (int cx : {i, i + 1})
                            for (int cy : {j, j + 1})
                                if (cx >= 1 && cx <= 12 && cy >= 1 && cy <= 12 && object[cx][cy] &&
                                    !IsDoor(object[cx][cy]))
                                    return false;
                        return true;
                    };
                    auto endCorner = [&](int along, int side) {
                        return vertical ? std::pair{x - 1 + side, y - 1 + along}
                                        : std::pair{x - 1 + along, y - 1 + side};
                    };
                    auto fits = [&](int step) {
                        const int cx = x + step * dx, cy = y + step * dy;
                        if (cx < 1 || cy < 1 || cx > 12 || cy > 12 || object[cx][cy]) return false;
                        const int through = step > 0 ? 1 : 0;
                        if (corner(through, 0) || corner(through, 1)) return false;
                        for (int end : {step > 0 ? 0 : -1, step > 0 ? 2 : 1})
                            for (int side : {0, 1}) {
                                auto [i, j] = endCorner(end, side);
                                if (i < 0 || j < 0 || i > 12 || j > 12 || !clear(i, j)) return false;
                            }
                        return true;
                    };
                    for (int step : {1, -1})
                        if (fits(step)) {
                            object[x + step * dx][y + step * dy] = obj;
                            break;
                        }
                    continue;
                }
                if (pass == 0) continue;
                for (int side : {0, 1}) {
                    corner(0, side) = true;
                    corner(k, side) = true;
                    for (int a = 1; a < k; ++a) corner(a, side) = false;
                }
            }
}

void Finish(const Draft& d, TMaplet& m, int position, int section) {
    // Border corners: closed, except the passage corners of the inner sides.
    for (int k = 0; k <= 12; ++k) {
        const bool gap = k >= d.gapLo && k <= d.gapHi;
        struct {
            int side, i, j;
        } border[] = {{N, k, 0}, {S, k, 12}, {W, 0, k}, {E, 12, k}};
        for (auto b : border) {
            const bool wantOpen = gap && d.Has(b.side);
            if (d.wall[b.i][b.j] == wantOpen)
                Fail("border corner " + std::to_string(b.i) + "," + std::to_string(b.j), position, section);
            if (d.feature[b.i][b.j]) Fail("terrain on the border", position, section);
        }
    }

    for (int x = 1; x <= 12; ++x)
        for (int y = 1; y <= 12; ++y) {
            const int ci[4] = {x - 1, x, x - 1, x}, cj[4] = {y - 1, y - 1, y, y};
            int wallBits = 0, featBits = 0;
            uint8_t base = 0;
            for (int q = 0; q < 4; ++q) {
                const uint8_t f = d.feature[ci[q]][cj[q]];
                // Terrain of the barrier's own kind joins the barrier.
                if (d.wall[ci[q]][cj[q]] || (f && f == d.barrier)) {
                    wallBits |= 1 << q;
                } else if (f) {
                    if (base && base != f) Fail("two terrains in one cell", position, section);
                    base = f;
                    featBits |= 1 << q;
                }
            }
            if (wallBits && featBits) Fail("terrain touches the barrier", position, section);
            TMapCell cell{0, d.ground[x][y], 0};
            const uint8_t obj = d.object[x][y];
            const int bits = wallBits ? wallBits : featBits;
            if (wallBits) base = d.barrier;
            if (bits) {
                const uint8_t symbol = static_cast<uint8_t>(base + ShapeOfQuarters[bits]);
                if (IsGround(symbol)) cell.Lower = symbol; // full terrain is ground in its own right
                else cell.Upper = symbol;
                // Objects only stand on open floor or on full terrain (a boat on water); a
                // door stands in its doorway in place of the barrier's rim.
                if (obj && (cell.Upper || wallBits) && !(IsDoor(obj) && wallBits != 15))
                    Fail("object on a terrain edge at cell " + std::to_string(x) + "," + std::to_string(y), position,
                         section);
            }
            if (obj) {
                if (IsGround(obj)) Fail("ground symbol used as an object", position, section);
                if (InLane(d.sides, x, y) && !IsDoor(obj)) Fail("object in a passage lane", position, section);
                cell.Upper = obj;
            }
            m.Cell(x, y) = cell;
        }

    // All open floor forms one area that reaches every inner side, walked corner by corner
    // (a corner is floor when neither barrier nor terrain covers it); a door joins the
    // corners of its cell.
    auto floorCorner = [&](int i, int j) { return !d.wall[i][j] && !d.feature[i][j]; };
    std::array<std::array<bool, 13>, 13> seen{};
    std::vector<std::pair<int, int>> todo;
    auto visit = [&](int i, int j) {
        if (i < 0 || i > 12 || j < 0 || j > 12 || seen[i][j] || !floorCorner(i, j)) return;
        seen[i][j] = true;
        todo.push_back({i, j});
    };
    for (int i = 0; i <= 12 && todo.empty(); ++i)
        for (int j = 0; j <= 12 && todo.empty(); ++j) visit(i, j);
    if (todo.empty()) Fail("no floor", position, section);
    while (!todo.empty()) {
        auto [i, j] = todo.back();
        todo.pop_back();
        visit(i + 1, j);
        visit(i - 1, j);
        visit(i, j + 1);
        visit(i, j - 1);
        // Through a door: its cell's corners are one.
        for (int x : {i, i + 1})
            for (int y : {j, j + 1})
                if (x >= 1 && x <= 12 && y >= 1 && y <= 12 && IsDoor(d.object[x][y]))
                    for (int a : {x - 1, x})
                        for (int b : {y - 1, y}) visit(a, b);
    }
    for (int i = 0; i <= 12; ++i)
        for (int j = 0; j <= 12; ++j)
            if (floorCorner(i, j) && !seen[i][j]) Fail("floor split into parts", position, section);
    for (int k = d.gapLo; k <= d.gapHi; ++k) {
        struct {
            int side, i, j;
        } entries[] = {{N, k, 0}, {S, k, 12}, {W, 0, k}, {E, 12, k}};
        for (auto e : entries)
            if (d.Has(e.side) && !seen[e.i][e.j]) Fail("passage does not reach the floor", position, section);
    }
}

int InnerSides(int position) {
    const int col = (position - 1) % 3, row = (position - 1) / 3;
    int sides = 0;
    if (row > 0) sides |= N;
    if (row < 2) sides |= S;
    if (col > 0) sides |= W;
    if (col < 2) sides |= E;
    return sides;
}

namespace {
ThemeDesigns DesignsOf(Theme theme) {
    switch (theme) {
    case Theme::Caves: return CaveDesigns();
    case Theme::Wilderness: return WildernessDesigns();
    case Theme::Keep: return KeepDesigns();
    default: return DungeonDesigns();
    }
}
} // namespace

const char* ThemeName(Theme theme) {
    switch (theme) {
    case Theme::Caves: return "caves";
    case Theme::Wilderness: return "wilderness";
    case Theme::Keep: return "keep";
    default: return "dungeon";
    }
}

const char* ThemeFileName(Theme theme) {
    switch (theme) {
    case Theme::Caves: return "caves.geo";
    case Theme::Wilderness: return "wilderness.geo";
    case Theme::Keep: return "keep.geo";
    default: return "defaultgeoset.geo";
    }
}

int BarrierBase(Theme theme) { return DesignsOf(theme).barrier; }

std::pair<int, int> BorderGap(Theme theme) {
    const ThemeDesigns t = DesignsOf(theme);
    return {t.gapLo, t.gapHi};
}

void BuildGeoSet(Theme theme, qm::TGeoSetRecord& geo) {
    const ThemeDesigns t = DesignsOf(theme);
    qm::ClearGeoSetRecord(geo, "");
    for (int p = 1; p <= qm::GeoPositions; ++p)
        for (int s = 1; s <= qm::GeoSections; ++s) {
            Draft d(InnerSides(p), t.barrier, t.floor, t.gapLo, t.gapHi);
            t.sections[p - 1][s - 1](d);
            if (t.borderGround) d.BorderGround(t.borderGround);
            try {
                d.SealDoors();
            } catch (const std::exception& e) {
                Fail(e.what(), p, s);
            }
            Finish(d, geo.Maplet(p, s), p, s);
        }
    // The editor opens on the centre maplet, painting the theme's floor.
    geo.Position = 5;
    geo.Section = 1;
    geo.PaintSymbol = t.paintSymbol;
    geo.LayerMode = qm::lmAuto;
}

} // namespace gen
