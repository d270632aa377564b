#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "geoset/RandomMap.h"
#include "tests/TestSupport.h"
#include "tools/gen_geoset.h"

using namespace qm;

namespace {
// Quarters covered by each wall shape 128 + k: bit 1 NW, 2 NE, 4 SW, 8 SE.
constexpr int QuartersOfShape[16] = {0, 3, 12, 5, 10, 4, 1, 2, 8, 11, 14, 7, 13, 15, 9, 6};

int WallQuarters(const TMapCell& c) {
    if (c.Lower == 141) return 15;
    if (c.Upper >= 129 && c.Upper <= 143) return QuartersOfShape[c.Upper - 128];
    return 0;
}

bool IsTerrain(uint8_t s) { return s >= 128; }

const std::set<int> Ground = {0,  1,  10, 11, 16, 17, 18, 19,  20,  21,  25,  47,  48,  57,  63,  64,  68, 83,
                              84, 85, 91, 96, 97, 98, 99, 102, 103, 109, 141, 157, 173, 189, 205, 237, 253};

const TGeoSetRecord& DefaultGeoSet() {
    static TGeoSetRecord geo;
    static bool built = false;
    if (!built) {
        gen::BuildDefaultGeoSet(geo);
        built = true;
    }
    return geo;
}

// Wall at a cell corner (0..72 each way) of a whole map, as every cell touching it sees
// it; -1 when the cells disagree.
int CornerWall(const TMapRecord& map, int i, int j) {
    int seen = -2;
    const struct { int dx, dy, bit; } touch[] = {{0, 0, 8}, {1, 0, 4}, {0, 1, 2}, {1, 1, 1}}; // cell SE, SW, NE, NW
    for (auto t : touch) {
        const int X = i + t.dx, Y = j + t.dy;
        if (!InsideMap(X, Y)) continue;
        const int wall = (WallQuarters(map.Cell(X, Y)) & t.bit) ? 1 : 0;
        if (seen == -2) seen = wall;
        else if (seen != wall) return -1;
    }
    return seen;
}
} // namespace

TEST(DefaultGeoSet, FileBuiltWithTheProgramMatches) {
    const std::string path = std::string(QM_PROGRAM_DIR) + "/defaultgeoset.geo";
    const auto bytes = qmtest::ReadAll(path);
    ASSERT_EQ(bytes.size(), sizeof(TGeoSetRecord)) << path;
    EXPECT_EQ(std::memcmp(bytes.data(), &DefaultGeoSet(), bytes.size()), 0);
    EXPECT_EQ(DefaultGeoSet().TilesetName[0], 0); // made for the built-in tileset
}

TEST(DefaultGeoSet, MapletBordersFollowTheFixedPattern) {
    const TGeoSetRecord& geo = DefaultGeoSet();
    for (int p = 1; p <= 9; ++p) {
        const int inner = gen::InnerSides(p);
        std::set<std::vector<uint8_t>> distinct;
        for (int s = 1; s <= 6; ++s) {
            const TMaplet& m = geo.Maplet(p, s);
            // Corner k of each side: open only at 5..7 of a side facing another maplet.
            for (int k = 0; k <= 12; ++k) {
                const bool gap = k >= 5 && k <= 7;
                struct { int side; int x1, y1, bit1; int x2, y2, bit2; } sides[] = {
                    {1, k, 1, 2, k + 1, 1, 1},       // north: NE of cell k, NW of cell k + 1
                    {4, k, 12, 8, k + 1, 12, 4},     // south
                    {8, 1, k, 4, 1, k + 1, 1},       // west
                    {2, 12, k, 8, 12, k + 1, 2},     // east
                };
                for (auto sd : sides) {
                    const bool wantWall = !(gap && (inner & sd.side));
                    if (sd.x1 >= 1 && sd.y1 >= 1) {
                        EXPECT_EQ((WallQuarters(m.Cell(sd.x1, sd.y1)) & sd.bit1) != 0, wantWall)
                            << p << "/" << s << " side " << sd.side << " corner " << k;
                    }
                    if (sd.x2 <= 12 && sd.y2 <= 12) {
                        EXPECT_EQ((WallQuarters(m.Cell(sd.x2, sd.y2)) & sd.bit2) != 0, wantWall)
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

TEST(DefaultGeoSet, GeneratedMapsAreClosedSeamlessAndConnected) {
    static TMapRecord map;
    const TGeoSetRecord& geo = DefaultGeoSet();
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        TGeoRandom rng(seed);
        GenerateRandomMap(map, geo, rng);

        for (int i = 0; i <= 72; ++i)
            for (int j = 0; j <= 72; ++j) {
                const int wall = CornerWall(map, i, j);
                ASSERT_NE(wall, -1) << "walls do not meet at corner " << i << "," << j << " seed " << seed;
                if (i == 0 || j == 0 || i == 72 || j == 72) {
                    ASSERT_EQ(wall, 1) << "map edge open at " << i << "," << j << " seed " << seed;
                }
            }

        // Cells free of terrain form one area touching every slot.
        std::vector<std::vector<int>> seen(73, std::vector<int>(73, 0));
        int total = 0, sx = 0, sy = 0;
        for (int X = 1; X <= 72; ++X)
            for (int Y = 1; Y <= 72; ++Y) {
                const TMapCell& c = map.Cell(X, Y);
                ASSERT_TRUE(Ground.count(c.Lower)) << "object on the lower layer at " << X << "," << Y;
                ASSERT_TRUE(c.Upper == 0 || !Ground.count(c.Upper)) << "ground on the upper layer at " << X << "," << Y;
                if (!IsTerrain(c.Upper) && !IsTerrain(c.Lower)) {
                    ++total;
                    sx = X;
                    sy = Y;
                }
            }
        std::vector<std::pair<int, int>> todo{{sx, sy}};
        seen[sx][sy] = 1;
        int reached = 0;
        std::set<int> slots;
        while (!todo.empty()) {
            auto [x, y] = todo.back();
            todo.pop_back();
            ++reached;
            slots.insert((x - 1) / 12 * 6 + (y - 1) / 12);
            const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
            for (int k = 0; k < 4; ++k) {
                const int nx = x + dx[k], ny = y + dy[k];
                if (!InsideMap(nx, ny) || seen[nx][ny]) continue;
                const TMapCell& c = map.Cell(nx, ny);
                if (IsTerrain(c.Upper) || IsTerrain(c.Lower)) continue;
                seen[nx][ny] = 1;
                todo.push_back({nx, ny});
            }
        }
        EXPECT_EQ(reached, total) << "floor split, seed " << seed;
        EXPECT_EQ(slots.size(), 36u) << "seed " << seed;
    }
}
