// Smart erase: over random wall terrain, what remains joins, the erased cells hold none of
// the terrain, and only the cells next to them change, each losing quarters only.
#include <gtest/gtest.h>

#include <random>

#include "editor/MapEdit.h"
#include "editor/SmartErase.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/editor/TerrainCorners.h"

using namespace qm;

namespace {
constexpr int Wall = 128, Water = 144;
}

TEST(SmartErase, LeavesJoinedTerrain) {
    std::mt19937 rng(20261209);
    auto pick = [&](int lo, int hi) { return lo + int(rng() % unsigned(hi - lo + 1)); };
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        auto map = qmtest::NewMap();
        // Random wall terrain from stamps and stamped lines, some at the map's edge, over
        // random ground; water elsewhere on the lower layer.
        for (int n = pick(1, 40); n > 0; --n) {
            const int c = pick(0, MapSize - 1), r = pick(0, MapSize - 1);
            const TGridRect line{c, r, std::min(MapSize - 1, c + pick(0, 8) * (n % 2)),
                                 std::min(MapSize - 1, r + pick(0, 8) * (1 - n % 2))};
            SmartTerrainAlongCommand(*map, line, Wall, lmAuto);
        }
        for (int n = pick(0, 30); n > 0; --n)
            map->Cell(pick(1, MapSize), pick(1, MapSize)).Lower = uint8_t(pick(1, 255));
        StampSmartTerrain(*map, pick(1, MapSize), pick(1, MapSize), Water, lmLower);
        ASSERT_EQ(qmtest::Disjoined(*map, Wall), "") << "the stamps themselves";

        const TMapRecord before = *map;
        const int c = pick(0, MapSize - 1), r = pick(0, MapSize - 1);
        const TGridRect sel{c, r, std::min(MapSize - 1, c + pick(0, 4)), std::min(MapSize - 1, r + pick(0, 4))};
        SmartEraseTerrain(*map, sel, Wall, lmAuto);

        EXPECT_EQ(qmtest::Disjoined(*map, Wall), "");
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) {
                const TMapCell &now = map->Cell(x, y), &was = before.Cell(x, y);
                EXPECT_EQ(now.Lower, was.Lower);
                if (sel.Contains(x - 1, y - 1)) {
                    EXPECT_TRUE(now.Upper < Wall || now.Upper >= Wall + 16) << x << "," << y;
                } else if (x < sel.Left || x > sel.Right + 2 || y < sel.Top || y > sel.Bottom + 2) {
                    EXPECT_EQ(now.Upper, was.Upper) << x << "," << y;
                } else {
                    const unsigned q = qmtest::Quarters(*map, x, y, Wall), p = qmtest::Quarters(before, x, y, Wall);
                    EXPECT_EQ(q & ~p, 0u) << "gained quarters at " << x << "," << y;
                }
            }
    }
}

TEST(SmartErase, UndoesAStampOnEmptyGround) {
    auto map = qmtest::NewMap();
    StampSmartTerrain(*map, 10, 10, Wall, lmAuto);
    StampSmartTerrain(*map, 12, 10, Wall, lmAuto);
    auto one = qmtest::NewMap();
    StampSmartTerrain(*one, 10, 10, Wall, lmAuto);
    // Erasing the second blob's centre and the cell it added leaves the first blob alone.
    EXPECT_TRUE(SmartEraseTerrain(*map, {11, 9, 12, 9}, Wall, lmAuto));
    EXPECT_EQ(std::memcmp(map.get(), one.get(), sizeof(TMapRecord)), 0);
    EXPECT_FALSE(SmartEraseTerrain(*map, {30, 30, 40, 40}, Wall, lmAuto));
    // Another terrain and the other layer are left alone.
    EXPECT_FALSE(SmartEraseTerrain(*map, {9, 9, 9, 9}, Water, lmAuto));
    EXPECT_FALSE(SmartEraseTerrain(*map, {9, 9, 9, 9}, Wall, lmLower));
}
