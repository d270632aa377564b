#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/SmartTerrain.h"
#include "tests/editor/EditorTestSupport.h"

using namespace qm;

namespace {

constexpr int Wall = 128, Water = 144;

struct Pos {
    int col, row;
};

// Expected shapes as a picture: rows of shapes or '.', top-left at (col, row).
struct Block {
    int col, row;
    std::vector<std::vector<int>> shapes; // -1 = empty
};

struct StampCase {
    const char* name;
    std::vector<Pos> stamps;
    Block expect;
    bool exact; // every cell outside the block is empty
};

constexpr int E = -1;

void Check(const TMapRecord& map, const Block& b, bool exact, int base = Wall) {
    auto inBlock = [&](int x, int y) {
        return y >= b.row && y < b.row + int(b.shapes.size()) && x >= b.col &&
               x < b.col + int(b.shapes[y - b.row].size());
    };
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const int got = map.Cell(x, y).Upper;
            if (inBlock(x, y)) {
                const int want = b.shapes[y - b.row][x - b.col];
                EXPECT_EQ(got, want < 0 ? 0 : base + want) << "at column " << x << ", row " << y;
            } else if (exact) {
                EXPECT_EQ(got, 0) << "stray write at column " << x << ", row " << y;
            }
        }
}

} // namespace

TEST(SmartTerrain, StampsOnAnEmptyMap) {
    const std::vector<StampCase> cases = {
        {"lone blob", {{10, 10}}, {9, 9, {{8, 2, 5}, {4, 13, 3}, {7, 1, 6}}}, true},
        {"same cell twice", {{10, 10}, {10, 10}}, {9, 9, {{8, 2, 5}, {4, 13, 3}, {7, 1, 6}}}, true},
        {"at column 1", {{1, 10}}, {1, 9, {{2, 5}, {13, 3}, {1, 6}}}, true},
        {"at column 2", {{2, 10}}, {1, 9, {{2, 2, 5}, {13, 13, 3}, {1, 1, 6}}}, true},
        {"at the corner", {{1, 1}}, {1, 1, {{13, 3}, {1, 6}}}, true},
        {"at the far corner", {{72, 72}}, {71, 71, {{8, 2}, {4, 13}}}, true},
        {"at column 71", {{71, 10}}, {70, 9, {{8, 2, 2}, {4, 13, 13}, {7, 1, 1}}}, true},
        {"at row 2", {{10, 2}}, {9, 1, {{4, 13, 3}, {4, 13, 3}, {7, 1, 6}}}, true},
        {"two blobs join", {{10, 10}, {12, 10}}, {9, 9, {{8, 2, 2, 2, 5}, {4, 13, 13, 13, 3}, {7, 1, 1, 1, 6}}}, true},
        {"two blobs join vertically",
         {{10, 10}, {10, 12}},
         {9, 9, {{8, 2, 5}, {4, 13, 3}, {4, 13, 3}, {4, 13, 3}, {7, 1, 6}}},
         true},
        {"inner corner", {{10, 10}, {12, 10}, {10, 12}}, {10, 10, {{13, 13}, {13, 11, 1}, {13, 3}}}, false},
        {"diagonal meeting", {{10, 10}, {12, 12}}, {11, 11, {{14}}}, false},
        {"diagonal meeting the other way", {{12, 10}, {10, 12}}, {11, 11, {{15}}}, false},
        {"diagonal apart",
         {{10, 10}, {13, 13}},
         {9,
          9,
          {{8, 2, 5, E, E, E},
           {4, 13, 3, E, E, E},
           {7, 1, 6, E, E, E},
           {E, E, E, 8, 2, 5},
           {E, E, E, 4, 13, 3},
           {E, E, E, 7, 1, 6}}},
         true},
        {"ring of eight",
         {{10, 10}, {12, 10}, {14, 10}, {10, 12}, {14, 12}, {10, 14}, {12, 14}, {14, 14}},
         {9,
          9,
          {{8, 2, 2, 2, 2, 2, 5},
           {4, 13, 13, 13, 13, 13, 3},
           {4, 13, 11, 1, 9, 13, 3},
           {4, 13, 3, E, 4, 13, 3},
           {4, 13, 12, 2, 10, 13, 3},
           {4, 13, 13, 13, 13, 13, 3},
           {7, 1, 1, 1, 1, 1, 6}}},
         true},
        {"filling the ring",
         {{10, 10}, {12, 10}, {14, 10}, {10, 12}, {14, 12}, {10, 14}, {12, 14}, {14, 14}, {12, 12}},
         {10,
          10,
          {{13, 13, 13, 13, 13},
           {13, 13, 13, 13, 13},
           {13, 13, 13, 13, 13},
           {13, 13, 13, 13, 13},
           {13, 13, 13, 13, 13}}},
         false},
    };
    for (const StampCase& k : cases) {
        SCOPED_TRACE(k.name);
        auto map = qmtest::NewMap();
        for (const Pos& p : k.stamps) StampSmartTerrain(*map, p.col, p.row, Wall, lmAuto);
        Check(*map, k.expect, k.exact);
    }
}

TEST(SmartTerrain, WorkingLayerByModeWithOtherBytesKept) {
    const struct {
        TLayerMode mode;
        bool lower;
    } cases[] = {{lmAuto, false}, {lmUpper, false}, {lmLower, true}};
    for (const auto& k : cases) {
        auto map = qmtest::NewMap();
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) map->Cell(x, y) = TMapCell{7, 7, 9};
        StampSmartTerrain(*map, 20, 20, Water, k.mode);
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) {
                const TMapCell& c = map->Cell(x, y);
                const bool patch = std::abs(x - 20) <= 1 && std::abs(y - 20) <= 1;
                const int working = k.lower ? c.Lower : c.Upper, other = k.lower ? c.Upper : c.Lower;
                EXPECT_EQ(other, 7);
                EXPECT_EQ(c.Spare, 9);
                if (patch) EXPECT_GE(working, Water + 1);
                else EXPECT_EQ(working, 7);
            }
        EXPECT_EQ(k.lower ? map->Cell(20, 20).Lower : map->Cell(20, 20).Upper, Water + 13);
    }
}

TEST(SmartTerrain, OtherTerrainsAndPlainSymbolsCountAsNone) {
    const struct {
        const char* name;
        Pos at;
        int symbol;
        Pos probe;
        int want; // shape at probe after a wall stamp at (10, 10)
    } cases[] = {
        {"water neighbour is overwritten", {10, 9}, Water + 13, {10, 9}, 2},
        {"water two steps away does not join", {10, 8}, Water + 13, {10, 9}, 2},
        {"wall two steps away joins", {10, 8}, Wall + 13, {10, 9}, 13},
        {"shape 0 two steps away does not join", {10, 8}, Wall + 0, {10, 9}, 2},
        {"plain symbol two steps away", {12, 10}, 20, {11, 10}, 3},
        {"desert beyond the east edge neighbour", {12, 10}, 240 + 13, {11, 10}, 3},
        {"wall beyond the east edge neighbour", {12, 10}, Wall + 3, {11, 10}, 13},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        auto map = qmtest::NewMap();
        map->Cell(k.at.col, k.at.row).Upper = uint8_t(k.symbol);
        StampSmartTerrain(*map, 10, 10, Wall, lmUpper);
        EXPECT_EQ(map->Cell(k.probe.col, k.probe.row).Upper, Wall + k.want);
    }
    // Two terrains side by side stay apart.
    auto map = qmtest::NewMap();
    StampSmartTerrain(*map, 10, 10, Wall, lmAuto);
    StampSmartTerrain(*map, 12, 10, Water, lmAuto);
    EXPECT_EQ(map->Cell(11, 10).Upper, Water + 4);
    EXPECT_EQ(map->Cell(10, 10).Upper, Wall + 13);
    EXPECT_EQ(map->Cell(11, 9).Upper, Water + 8);
}

TEST(SmartTerrain, AccessorsStayInsideTheMap) {
    auto map = qmtest::NewMap();
    const auto before = *map;
    const TTerrainStamp st{*map, Wall, false};
    for (const Pos& p : std::vector<Pos>{{0, 5}, {73, 5}, {5, 0}, {5, 73}, {-100, -100}, {1000, 1}}) {
        EXPECT_EQ(ReadTerrainCell(st, p.col, p.row), Wall + 13);
        WriteTerrainCell(st, p.col, p.row, Wall + 1);
    }
    EXPECT_EQ(std::memcmp(map.get(), &before, sizeof before), 0);
    StampSmartTerrain(*map, 10, 10, 250, lmAuto); // no room for a terrain row
    EXPECT_EQ(std::memcmp(map.get(), &before, sizeof before), 0);
}

namespace {

// A quarter turn clockwise: cell (x, y) goes to (73 - y, x); shapes turn with it.
constexpr int TurnShape[16] = {0, 4, 3, 1, 2, 6, 7, 8, 5, 10, 12, 9, 11, 13, 15, 14};

std::unique_ptr<TMapRecord> Turned(const TMapRecord& m, int base) {
    auto t = std::make_unique<TMapRecord>(m);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            TMapCell c = m.Cell(x, y);
            for (uint8_t* layer : {&c.Upper, &c.Lower}) {
                const int shape = *layer - base;
                if (shape >= 1 && shape <= 15) *layer = uint8_t(base + TurnShape[shape]);
            }
            t->Cell(MapSize + 1 - y, x) = c;
        }
    return t;
}

} // namespace

TEST(SmartTerrain, TurningTheMapTurnsTheResult) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const int base = 128 + 16 * int(rng() % 8);
        const TLayerMode mode = TLayerMode(rng() % 3);
        auto map = qmtest::NewMap();
        // Sparse random terrain of this and another family, plain symbols, empties.
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) {
                TMapCell& c = map->Cell(x, y);
                for (uint8_t* layer : {&c.Upper, &c.Lower}) {
                    const int roll = int(rng() % 10);
                    *layer = roll < 4 ? uint8_t(base + rng() % 16) : roll < 5 ? uint8_t(rng() % 256) : 0;
                }
                c.Spare = uint8_t(rng());
            }
        auto turned = Turned(*map, base);
        for (int i = 0; i < 30; ++i) {
            // Bias towards the edges and near earlier stamps so joins and the map edge both occur.
            const int col = 1 + int(rng() % MapSize),
                      row = rng() % 4 == 0 ? 1 + int(rng() % 3) : 1 + int(rng() % MapSize);
            StampSmartTerrain(*map, col, row, base, mode);
            StampSmartTerrain(*turned, MapSize + 1 - row, col, base, mode);
        }
        auto expected = Turned(*map, base);
        ASSERT_EQ(std::memcmp(expected.get(), turned.get(), sizeof(TMapRecord)), 0);
    }
}
