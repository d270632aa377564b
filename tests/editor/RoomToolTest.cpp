// The Room tool: rings of wall terrain that the stamp would leave as they are, shared walls
// and T-joins by the corners the terrain holds, and what happens to the inside.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "editor/MapEdit.h"
#include "editor/RoomTool.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/editor/TerrainCorners.h"
#include "tiles/BuiltInSymbols.h"

using namespace qm;

namespace {

// A room dragged, or a wall line stamped along (Shift-drag), in 1-based cells.
struct Stroke {
    int c1, r1, c2, r2;
    bool room;
};

TGridRect Rect(const Stroke& s) { return {s.c1 - 1, s.r1 - 1, s.c2 - 1, s.r2 - 1}; }

// The cells a stroke stamps: a room its border, a line every cell.
void AddStamped(const Stroke& s, std::set<std::pair<int, int>>& cells) {
    for (int c = s.c1; c <= s.c2; ++c)
        for (int r = s.r1; r <= s.r2; ++r)
            if (!s.room || c == s.c1 || c == s.c2 || r == s.r1 || r == s.r2) cells.insert({c, r});
}

bool Same(const TMapRecord& a, const TMapRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

TEST(RoomTool, RingsJoinAsTheStampWouldLeaveThem) {
    struct Case {
        const char* name;
        std::vector<Stroke> strokes;
    };
    const std::vector<Case> cases = {
        {"one room", {{5, 5, 12, 10, true}}},
        {"a room of one cell", {{20, 20, 20, 20, true}}},
        {"a room two cells wide", {{20, 20, 21, 26, true}}},
        {"two rooms side by side share a wall", {{5, 5, 10, 10, true}, {10, 5, 16, 10, true}}},
        {"a room under another", {{5, 5, 10, 10, true}, {5, 10, 10, 14, true}}},
        {"a room against a corridor's wall", {{3, 10, 30, 10, false}, {8, 10, 14, 16, true}}},
        {"a corridor ending in a room's side", {{20, 5, 20, 12, false}, {15, 12, 26, 18, true}}},
        {"a room drawn over a corridor", {{3, 20, 30, 20, false}, {8, 15, 14, 25, true}}},
    };
    const TLayerFlags flags{};
    const SymbolTable table = BuiltInSymbolTable();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto map = qmtest::NewMap();
        std::set<std::pair<int, int>> stamped;
        std::vector<std::pair<int, int>> ring;
        for (const Stroke& s : k.strokes) {
            if (s.room) EXPECT_TRUE(DrawRoom(*map, Rect(s), 0, true, lmAuto, flags, table));
            else SmartTerrainAlongCommand(*map, Rect(s), RoomWallBase, lmAuto);
            AddStamped(s, stamped);
            if (s.room) {
                std::set<std::pair<int, int>> own;
                AddStamped(s, own);
                ring.insert(ring.end(), own.begin(), own.end());
            }
        }
        // The terrain holds exactly the corners of every stamped cell: shared walls stay one
        // wall thick and meet in T and corner pieces.
        EXPECT_EQ(qmtest::DiffersFromCorners(*map, stamped, RoomWallBase), "");
        for (const auto& [c, r] : ring) {
            TMapRecord again = *map;
            StampSmartTerrain(again, c, r, RoomWallBase, lmAuto);
            EXPECT_TRUE(Same(again, *map)) << "re-stamping column " << c << ", row " << r << " changed the map";
        }
    }
}

TEST(RoomTool, RingAlongTheMapsEdgeIsAFixedPointToo) {
    // Outside the map the stamp reads full terrain, so an edge ring differs from the corner
    // picture; re-stamping still changes nothing.
    auto map = qmtest::NewMap();
    ASSERT_TRUE(DrawRoom(*map, {0, 0, MapSize - 1, MapSize - 1}, 0, true, lmAuto, TLayerFlags{}, BuiltInSymbolTable()));
    ASSERT_TRUE(DrawRoom(*map, {0, 30, 20, 40}, 0, true, lmAuto, TLayerFlags{}, BuiltInSymbolTable()));
    for (int i = 1; i <= MapSize; ++i)
        for (const auto& [c, r] : {std::pair{i, 1}, std::pair{i, MapSize}, std::pair{1, i}, std::pair{MapSize, i},
                                   std::pair{std::min(i, 21), 31}, std::pair{21, 31 + i % 11}}) {
            TMapRecord again = *map;
            StampSmartTerrain(again, c, r, RoomWallBase, lmAuto);
            ASSERT_TRUE(Same(again, *map)) << "re-stamping column " << c << ", row " << r << " changed the map";
        }
}

TEST(RoomTool, TJoinPieces) {
    // Rooms over columns 4..7 and 7..10, rows 4..7: the shared wall meets the outer walls in
    // T pieces, the rooms' inner corners beside it are the inner-corner shapes.
    auto map = qmtest::NewMap();
    const TLayerFlags flags{};
    const SymbolTable table = BuiltInSymbolTable();
    DrawRoom(*map, {3, 3, 6, 6}, 0, true, lmAuto, flags, table);
    DrawRoom(*map, {6, 3, 9, 6}, 0, true, lmAuto, flags, table);
    const struct {
        int c, r, shape;
    } want[] = {{7, 3, 2}, {7, 4, 13}, {6, 5, 9}, {8, 5, 11}, {7, 5, 13}, {6, 6, 10}, {8, 6, 12}, {7, 8, 1}};
    for (const auto& w : want) EXPECT_EQ(map->Cell(w.c, w.r).Upper, RoomWallBase + w.shape) << w.c << "," << w.r;
}

TEST(RoomTool, Inside) {
    const SymbolTable table = BuiltInSymbolTable();
    TLayerFlags flags{};
    flags[sym::Table] = 1;
    struct Case {
        const char* name;
        uint8_t symbol;
        bool keepInside;
        TLayerMode mode;
        uint8_t lowerInside; // what the middle of the room holds below afterwards
        bool wallsGone;
    };
    const Case cases[] = {
        {"a floor symbol paints the inside", sym::FloorA, false, lmAuto, sym::FloorA, true},
        {"an upper-layer symbol keeps the ground", sym::Table, false, lmAuto, sym::Grass, true},
        {"upper layer only: no floor", sym::FloorA, false, lmUpper, sym::Grass, true},
        {"Shift leaves the inside alone", sym::FloorA, true, lmAuto, sym::Grass, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto map = qmtest::NewMap();
        for (int c = 1; c <= MapSize; ++c)
            for (int r = 1; r <= MapSize; ++r) map->Cell(c, r) = {0, sym::Grass, 7};
        map->Cell(8, 8).Upper = sym::WallN;        // a thin wall inside
        map->Cell(9, 8).Lower = RoomWallBase + 13; // wall terrain below
        map->Cell(10, 9).Upper = sym::Chest;       // furniture stays
        map->Cell(30, 30).Upper = sym::WallN;      // far away: untouched
        EXPECT_TRUE(DrawRoom(*map, {4, 4, 14, 12}, k.symbol, k.keepInside, k.mode, flags, table));
        EXPECT_EQ(map->Cell(9, 9).Lower, k.lowerInside);
        EXPECT_EQ(map->Cell(8, 8).Upper == 0, k.wallsGone);
        EXPECT_EQ(map->Cell(9, 8).Lower == 0 || map->Cell(9, 8).Lower == k.lowerInside, k.wallsGone);
        EXPECT_EQ(map->Cell(10, 9).Upper, sym::Chest);
        EXPECT_EQ(map->Cell(30, 30).Upper, sym::WallN);
        EXPECT_EQ(map->Cell(5, 5).Upper, RoomWallBase + 13); // the ring's corner
        EXPECT_EQ(map->Cell(3, 3).Lower, sym::Grass);        // outside keeps its ground
        EXPECT_EQ(map->Cell(9, 9).Spare, 7);
    }
}

TEST(RoomTool, NothingToDoChangesNothing) {
    auto map = qmtest::NewMap();
    const TLayerFlags flags{};
    const SymbolTable table = BuiltInSymbolTable();
    EXPECT_TRUE(DrawRoom(*map, {4, 4, 9, 9}, sym::FloorA, false, lmAuto, flags, table));
    EXPECT_FALSE(DrawRoom(*map, {4, 4, 9, 9}, sym::FloorA, false, lmAuto, flags, table));
}

TEST(RoomTool, UnavailableWithoutWallTerrain) {
    EXPECT_STREQ(RoomToolUnavailable(BuiltInSymbolTable()), "");
    SymbolTable t = BuiltInSymbolTable();
    t[RoomWallBase + 5].role = SymbolRole::None;
    EXPECT_STRNE(RoomToolUnavailable(t), "");
}
