#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <set>
#include <vector>

#include "geoset/RandomMap.h"
#include "tests/TestSupport.h"
#include "tiles/BuiltInSymbols.h"
#include "tools/GeoSetGenerator.h"

using namespace qm;

namespace {
// Quarters covered by each wall shape 128 + k: bit 1 NW, 2 NE, 4 SW, 8 SE.
constexpr int QuartersOfShape[16] = {0, 3, 12, 5, 10, 4, 1, 2, 8, 11, 14, 7, 13, 15, 9, 6};

// Quarters of a cell covered by the barrier terrain whose row starts at base.
int WallQuarters(const TMapCell& c, int base) {
    if (c.Lower == base + 13 || c.Upper == base + 13) return 15;
    if (c.Upper > base && c.Upper < base + 16) return QuartersOfShape[c.Upper - base];
    return 0;
}

const std::set<int> Ground = {0,  1,  10, 11, 16, 17, 18, 19,  20,  21,  25,  47,  48,  57,  63,  64,  68, 83,
                              84, 85, 91, 96, 97, 98, 99, 102, 103, 109, 141, 157, 173, 189, 205, 237, 253};

const TGeoSetRecord& GeoSetOf(gen::Theme theme) {
    static TGeoSetRecord sets[std::size(gen::AllThemes)];
    static bool built[std::size(gen::AllThemes)] = {};
    const auto k = static_cast<size_t>(theme);
    if (!built[k]) {
        gen::BuildGeoSet(theme, sets[k]);
        built[k] = true;
    }
    return sets[k];
}

// Wall at a cell corner (0..72 each way) of a whole map, as every cell touching it sees
// it; -1 when the cells disagree.
bool IsDoorSymbol(uint8_t s) { return (s >= sym::DoorNS && s <= sym::DoorLocked) || s == sym::Portcullis; }

int CornerWall(const TMapRecord& map, int i, int j, int base) {
    int seen = -2;
    const struct { int dx, dy, bit; } touch[] = {{0, 0, 8}, {1, 0, 4}, {0, 1, 2}, {1, 1, 1}}; // cell SE, SW, NE, NW
    for (auto t : touch) {
        const int X = i + t.dx, Y = j + t.dy;
        // A door stands in its doorway in place of the barrier's rim.
        if (!InsideMap(X, Y) || IsDoorSymbol(map.Cell(X, Y).Upper)) continue;
        const int wall = (WallQuarters(map.Cell(X, Y), base) & t.bit) ? 1 : 0;
        if (seen == -2) seen = wall;
        else if (seen != wall) return -1;
    }
    return seen;
}
} // namespace

TEST(ShippedGeoSets, FilesBuiltWithTheProgramMatch) {
    for (gen::Theme theme : gen::AllThemes) {
        const std::string path = std::string(QM_PROGRAM_DIR) + "/" + gen::ThemeFileName(theme);
        const auto bytes = qmtest::ReadAll(path);
        ASSERT_EQ(bytes.size(), sizeof(TGeoSetRecord)) << path;
        EXPECT_EQ(std::memcmp(bytes.data(), &GeoSetOf(theme), bytes.size()), 0) << path;
        EXPECT_EQ(GeoSetOf(theme).TilesetName[0], 0) << path; // made for the built-in tileset
    }
    EXPECT_STREQ(gen::ThemeFileName(gen::Theme::Dungeon), "defaultgeoset.geo");
}

TEST(ShippedGeoSets, MapletBordersFollowTheFixedPattern) {
    for (gen::Theme theme : gen::AllThemes) {
        SCOPED_TRACE(gen::ThemeName(theme));
        const TGeoSetRecord& geo = GeoSetOf(theme);
        const int base = gen::BarrierBase(theme);
        const auto [gapLo, gapHi] = gen::BorderGap(theme);
        for (int p = 1; p <= 9; ++p) {
            const int inner = gen::InnerSides(p);
            std::set<std::vector<uint8_t>> distinct;
            for (int s = 1; s <= 6; ++s) {
                const TMaplet& m = geo.Maplet(p, s);
                // Corner k of each side: open only in the gap of a side facing another maplet.
                for (int k = 0; k <= 12; ++k) {
                    const bool gap = k >= gapLo && k <= gapHi;
                    struct {
                        int side;
                        int x1, y1, bit1;
                        int x2, y2, bit2;
                    } sides[] = {
                        {1, k, 1, 2, k + 1, 1, 1},   // north: NE of cell k, NW of cell k + 1
                        {4, k, 12, 8, k + 1, 12, 4}, // south
                        {8, 1, k, 4, 1, k + 1, 1},   // west
                        {2, 12, k, 8, 12, k + 1, 2}, // east
                    };
                    for (auto sd : sides) {
                        const bool wantWall = !(gap && (inner & sd.side));
                        if (sd.x1 >= 1 && sd.y1 >= 1) {
                            EXPECT_EQ((WallQuarters(m.Cell(sd.x1, sd.y1), base) & sd.bit1) != 0, wantWall)
                                << p << "/" << s << " side " << sd.side << " corner " << k;
                        }
                        if (sd.x2 <= 12 && sd.y2 <= 12) {
                            EXPECT_EQ((WallQuarters(m.Cell(sd.x2, sd.y2), base) & sd.bit2) != 0, wantWall)
                                << p << "/" << s << " side " << sd.side << " corner " << k;
                        }
                    }
                }
                const auto* b = reinterpret_cast<const uint8_t*>(&m);
                distinct.insert(std::vector<uint8_t>(b, b + sizeof m.Cells));
            }
            EXPECT_EQ(distinct.size(), 6u) << "position " << p;
        }
    }
}

// What each set is made of: every group of symbols it must show somewhere, and symbols it
// must never use.
struct ThemeContent {
    gen::Theme theme;
    std::vector<std::set<int>> mustShow;
    std::set<int> never;
};

std::set<int> TerrainRow(int base) {
    std::set<int> row;
    for (int k = 1; k <= 15; ++k) row.insert(base + k);
    return row;
}

TEST(ShippedGeoSets, EachKeepsToItsSetting) {
    const std::set<int> outdoorGround = {17, 18, 63, 96, 97, 98, 99, 102, 109};
    std::set<int> dungeonNever = outdoorGround;
    for (int base : {208, 224, 240})
        for (int s : TerrainRow(base)) dungeonNever.insert(s);
    for (int s : {52, 53, 54, 58, 59}) dungeonNever.insert(s); // campfire, tent, cart, trees
    const std::set<int> doors = {12, 13, 14, 15}, stairs = {22, 23};
    const ThemeContent table[] = {
        {gen::Theme::Dungeon, {doors, stairs, TerrainRow(128), {10, 11}}, dungeonNever},
        {gen::Theme::Caves, {TerrainRow(224), {83}, TerrainRow(144), {62}}, {12, 13, 14, 15, 17, 63, 64}},
        {gen::Theme::Wilderness,
         {TerrainRow(208), TerrainRow(144), TerrainRow(224), TerrainRow(240), {17}},
         {1, 10, 11, 12, 13, 14, 15, 64}},
        {gen::Theme::Keep, {doors, TerrainRow(128), {64}, {44}, {17}}, {208 + 13, 240 + 13}},
    };
    for (const ThemeContent& t : table) {
        SCOPED_TRACE(gen::ThemeName(t.theme));
        std::set<int> used;
        const TGeoSetRecord& geo = GeoSetOf(t.theme);
        for (int p = 1; p <= 9; ++p)
            for (int s = 1; s <= 6; ++s)
                for (int x = 1; x <= 12; ++x)
                    for (int y = 1; y <= 12; ++y) {
                        used.insert(geo.Maplet(p, s).Cell(x, y).Upper);
                        used.insert(geo.Maplet(p, s).Cell(x, y).Lower);
                    }
        for (const auto& group : t.mustShow) {
            bool any = false;
            for (int sym : group) any = any || used.count(sym);
            EXPECT_TRUE(any) << "missing a symbol from " << *group.begin() << "..";
        }
        for (int sym : t.never) EXPECT_FALSE(used.count(sym)) << "uses " << sym;
    }
}

TEST(ShippedGeoSets, GeneratedMapsAreClosedSeamlessAndConnected) {
    static TMapRecord map;
    for (gen::Theme theme : gen::AllThemes) {
        SCOPED_TRACE(gen::ThemeName(theme));
        const TGeoSetRecord& geo = GeoSetOf(theme);
        const int base = gen::BarrierBase(theme);
        for (uint32_t seed = 1; seed <= 40; ++seed) {
            TGeoRandom rng(seed);
            GenerateRandomMap(map, geo, rng);

            for (int i = 0; i <= 72; ++i)
                for (int j = 0; j <= 72; ++j) {
                    const int wall = CornerWall(map, i, j, base);
                    ASSERT_NE(wall, -1) << "barrier does not meet at corner " << i << "," << j << " seed " << seed;
                    if (i == 0 || j == 0 || i == 72 || j == 72) {
                        ASSERT_EQ(wall, 1) << "map edge open at " << i << "," << j << " seed " << seed;
                    }
                }

            for (int X = 1; X <= 72; ++X)
                for (int Y = 1; Y <= 72; ++Y) {
                    const TMapCell& c = map.Cell(X, Y);
                    ASSERT_TRUE(Ground.count(c.Lower)) << "object on the lower layer at " << X << "," << Y;
                    ASSERT_TRUE(c.Upper == 0 || !Ground.count(c.Upper))
                        << "ground on the upper layer at " << X << "," << Y;
                }

            // Corners free of terrain form one area touching every slot, walked corner by
            // corner; a door joins the corners of its cell (it stands in place of the rims).
            auto floorCorner = [&](int i, int j) {
                const struct { int dx, dy, bit; } touch[] = {{0, 0, 8}, {1, 0, 4}, {0, 1, 2}, {1, 1, 1}};
                for (auto t : touch) {
                    const int X = i + t.dx, Y = j + t.dy;
                    if (!InsideMap(X, Y) || IsDoorSymbol(map.Cell(X, Y).Upper)) continue;
                    for (int family = 0; family < 8; ++family)
                        if (WallQuarters(map.Cell(X, Y), 128 + 16 * family) & t.bit) return false;
                }
                return true;
            };
            std::vector<std::vector<int>> seen(73, std::vector<int>(73, 0));
            int total = 0, sx = 0, sy = 0;
            for (int i = 0; i <= 72; ++i)
                for (int j = 0; j <= 72; ++j)
                    if (floorCorner(i, j)) {
                        ++total;
                        sx = i;
                        sy = j;
                    }
            std::vector<std::pair<int, int>> todo{{sx, sy}};
            seen[sx][sy] = 1;
            int reached = 0;
            std::set<int> filled;
            auto visit = [&](int i, int j) {
                if (i < 0 || j < 0 || i > 72 || j > 72 || seen[i][j] || !floorCorner(i, j)) return;
                seen[i][j] = 1;
                todo.push_back({i, j});
            };
            while (!todo.empty()) {
                auto [i, j] = todo.back();
                todo.pop_back();
                ++reached;
                if (i >= 1 && j >= 1) filled.insert((i - 1) / 12 * 6 + (j - 1) / 12);
                visit(i + 1, j);
                visit(i - 1, j);
                visit(i, j + 1);
                visit(i, j - 1);
                for (int X : {i, i + 1})
                    for (int Y : {j, j + 1})
                        if (InsideMap(X, Y) && IsDoorSymbol(map.Cell(X, Y).Upper))
                            for (int a : {X - 1, X})
                                for (int b : {Y - 1, Y}) visit(a, b);
            }
            EXPECT_EQ(reached, total) << "floor split, seed " << seed;
            EXPECT_EQ(filled.size(), 36u) << "seed " << seed;
        }
    }
}
