#include <gtest/gtest.h>

#include "compose/MapClamp.h"

using namespace qm;

TEST(MapClamp, SelectionsAreOrderedAndClampedAreasClipped) {
    const struct {
        const char* name;
        TGridRect in, selection, area;
    } cases[] = {
        {"inside stays", {3, 4, 10, 12}, {3, 4, 10, 12}, {3, 4, 10, 12}},
        {"edges stay", {0, 0, 71, 71}, {0, 0, 71, 71}, {0, 0, 71, 71}},
        {"over every edge", {-5, -1, 72, 90}, {0, 0, 71, 71}, {0, 0, 71, 71}},
        {"corners swapped", {10, 12, 3, 4}, {3, 4, 10, 12}, {10, 12, 3, 4}},
        {"left of the map", {-9, 5, -2, 6}, {0, 5, 0, 6}, {0, 5, -2, 6}},
        {"below the map", {5, 72, 6, 80}, {5, 71, 6, 71}, {5, 72, 6, 71}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(ClampSelectionToMap(k.in), k.selection);
        EXPECT_EQ(ClipAreaToMap(k.in), k.area);
    }
    EXPECT_LT(ClipAreaToMap({-9, 5, -2, 6}).Width(), 1);
    EXPECT_LT(ClipAreaToMap({5, 72, 6, 80}).Height(), 1);
}

TEST(MapClamp, InsideMapGridIsZeroBased) {
    const struct {
        int c, r;
        bool inside;
    } cases[] = {{0, 0, true}, {71, 71, true}, {-1, 0, false}, {0, -1, false}, {72, 5, false}, {5, 72, false}};
    for (const auto& k : cases) EXPECT_EQ(InsideMapGrid(k.c, k.r), k.inside) << k.c << "," << k.r;
}
