#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "editor/Clipboard.h"
#include "editor/MapDocument.h"
#include "editor/MapEdit.h"
#include "editor/SmartTerrain.h"
#include "tests/TestSupport.h"
#include "tests/editor/EditorTestSupport.h"

using namespace qm;

namespace {} // namespace

TEST(MapEdit, PaintCellFollowsModeAndLayerFlags) {
    TLayerFlags flags{};
    flags[50] = 1; // an upper-layer symbol
    const struct {
        const char* name;
        TLayerMode mode;
        TMapCell before;
        uint8_t symbol;
        TMapCell after;
    } cases[] = {
        {"auto, upper flag", lmAuto, {0, 0, 9}, 50, {50, 0, 9}},
        {"auto, lower flag keeps existing upper", lmAuto, {50, 0, 9}, 60, {50, 60, 9}},
        {"auto, upper flag keeps existing lower", lmAuto, {0, 60, 9}, 50, {50, 60, 9}},
        {"auto, symbol 0 empties both", lmAuto, {50, 60, 9}, 0, {0, 0, 9}},
        {"upper only", lmUpper, {1, 2, 9}, 60, {60, 2, 9}},
        {"upper, symbol 0 empties upper", lmUpper, {1, 2, 9}, 0, {0, 2, 9}},
        {"lower only, even for an upper symbol", lmLower, {1, 2, 9}, 50, {1, 50, 9}},
        {"lower, symbol 0 empties lower", lmLower, {1, 2, 9}, 0, {1, 0, 9}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        auto map = qmtest::NewMap();
        map->Cell(7, 8) = k.before;
        PaintMapCell(*map, 7, 8, k.symbol, k.mode, flags);
        const TMapCell& c = map->Cell(7, 8);
        EXPECT_EQ(c.Upper, k.after.Upper);
        EXPECT_EQ(c.Lower, k.after.Lower);
        EXPECT_EQ(c.Spare, k.after.Spare);
    }
}

TEST(MapEdit, AllFlagsZeroPutEverythingOnLowerInAuto) {
    TLayerFlags flags{};
    auto map = qmtest::NewMap();
    for (int s = 1; s < 256; ++s) {
        PaintMapCell(*map, 1, 1, uint8_t(s), lmAuto, flags);
        ASSERT_EQ(map->Cell(1, 1).Lower, s);
        ASSERT_EQ(map->Cell(1, 1).Upper, 0);
    }
}

TEST(MapEdit, EraserByModeNeverTouchesSpare) {
    const struct {
        TLayerMode mode;
        TMapCell after;
    } cases[] = {{lmAuto, {0, 0, 9}}, {lmUpper, {0, 2, 9}}, {lmLower, {1, 0, 9}}};
    for (const auto& k : cases) {
        auto map = qmtest::NewMap();
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) map->Cell(x, y) = TMapCell{1, 2, 9};
        EraserCommand(*map, TGridRect{2, 3, 4, 7}, k.mode);
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) {
                const bool in = x >= 3 && x <= 5 && y >= 4 && y <= 8;
                const TMapCell want = in ? k.after : TMapCell{1, 2, 9};
                ASSERT_EQ(map->Cell(x, y).Upper, want.Upper) << x << "," << y;
                ASSERT_EQ(map->Cell(x, y).Lower, want.Lower) << x << "," << y;
                ASSERT_EQ(map->Cell(x, y).Spare, 9);
            }
    }
}

// The Eraser, drawing the empty symbol and Cut all erase alike; a mode byte outside
// the three (a GeoSet file can hold one) erases like lmAuto.
TEST(MapEdit, EveryEraseEmptiesTheSameLayers) {
    const struct {
        TLayerMode mode;
        TMapCell after;
    } cases[] = {{lmAuto, {0, 0, 9}}, {lmUpper, {0, 2, 9}}, {lmLower, {1, 0, 9}}, {TLayerMode(7), {0, 0, 9}}};
    for (const auto& k : cases) {
        SCOPED_TRACE(int(k.mode));
        TMapCell erased{1, 2, 9}, painted{1, 2, 9};
        EraseCell(erased, k.mode);
        PaintCell(painted, 0, k.mode, TLayerFlags{});
        auto map = qmtest::NewMap();
        auto clip = std::make_unique<TMapClipboard>();
        map->Cell(5, 6) = TMapCell{1, 2, 9};
        CutSelection(*map, *clip, TGridRect{4, 5, 4, 5}, k.mode);
        for (const TMapCell& c : {erased, painted, map->Cell(5, 6)}) {
            EXPECT_EQ(c.Upper, k.after.Upper);
            EXPECT_EQ(c.Lower, k.after.Lower);
            EXPECT_EQ(c.Spare, k.after.Spare);
        }
    }
}

TEST(MapEdit, EachToolIsOneNamedStepWithTheSnapshotFirst) {
    TLayerFlags flags{};
    const struct {
        TTool tool;
        bool along;
        const char* step; // "" = no edit
    } cases[] = {
        {TTool::Selection, false, ""},
        {TTool::Draw, false, "Draw"},
        {TTool::Eraser, false, "Erase"},
        {TTool::Wall, false, "Wall terrain"},
        {TTool::Water, false, "Water terrain"},
        {TTool::Fire, false, "Fire terrain"},
        {TTool::Hole, false, "Hole terrain"},
        {TTool::Slime, false, "Slime terrain"},
        {TTool::Forest, false, "Forest terrain"},
        {TTool::Mountain, false, "Mountain terrain"},
        {TTool::Desert, false, "Desert terrain"},
        {TTool::Wall, true, "Stamp area"},
        {TTool::Draw, true, "Draw"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.step);
        auto doc = std::make_unique<TMapDocument>();
        doc->CurrentMap.CurrentSymbol = 33;
        doc->CurrentMap.Cell(2, 2) = TMapCell{4, 4, 0};
        const auto before = doc->CurrentMap;
        EXPECT_EQ(ToolStepName(k.tool, k.along), QString::fromLatin1(k.step));
        if (k.tool == TTool::Selection) {
            ApplyTool(k.tool, doc->CurrentMap, TGridRect{1, 1, 1, 1}, lmAuto, flags);
            EXPECT_TRUE(qmtest::SameRecord(doc->CurrentMap, before));
            continue;
        }
        EXPECT_TRUE(doc->Edit(ToolStepName(k.tool, k.along), [&](TMapRecord& m) {
            ApplyTool(k.tool, m, TGridRect{1, 1, 2, 2}, lmAuto, flags, k.along);
        }));
        EXPECT_TRUE(qmtest::SameRecord(doc->UndoMap, before)); // the state before the change
        EXPECT_FALSE(qmtest::SameRecord(doc->CurrentMap, before));
        ASSERT_EQ(doc->History().Count(), 2);
        EXPECT_EQ(doc->History().Name(1), QString::fromLatin1(k.step));
    }
}

TEST(MapEdit, SmartToolStampsOnceAtTheSelectionsTopLeft) {
    TLayerFlags flags{};
    auto viaTool = qmtest::NewMap(), direct = qmtest::NewMap();
    ApplyTool(TTool::Forest, *viaTool, TGridRect{9, 9, 13, 13}, lmAuto, flags);
    StampSmartTerrain(*direct, 10, 10, 208, lmAuto);
    EXPECT_TRUE(qmtest::SameRecord(*viaTool, *direct));
    EXPECT_EQ(TerrainBaseOf(TTool::Wall), 128);
    EXPECT_EQ(TerrainBaseOf(TTool::Desert), 240);
    EXPECT_EQ(TerrainBaseOf(TTool::Draw), -1);
}

TEST(MapEdit, ZoomTable) {
    const struct {
        int w, in, out;
    } cases[] = {{8, 16, 8},  {16, 32, 8}, {32, 48, 16}, {48, 64, 32}, {64, 80, 48}, {80, 96, 64}, {96, 96, 80},
                 {50, 96, 8}, {0, 96, 8},  {7, 96, 8},   {97, 96, 8},  {255, 96, 8}, {-16, 96, 8}};
    for (const auto& k : cases) {
        EXPECT_EQ(ZoomInSize(k.w), k.in) << k.w;
        EXPECT_EQ(ZoomOutSize(k.w), k.out) << k.w;
    }
}

TEST(MapEdit, LayerButtonCycle) {
    const struct {
        int image;
        bool steps;
        int next;
        TLayerMode mode;
    } cases[] = {{16, true, 14, lmUpper}, {14, true, 15, lmLower}, {15, true, 16, lmAuto},
                 {0, false, 0, lmAuto},   {13, false, 0, lmAuto},  {17, false, 0, lmAuto}};
    for (const auto& k : cases) {
        const auto step = NextLayerStep(k.image);
        ASSERT_EQ(step.has_value(), k.steps) << k.image;
        if (!step) continue;
        EXPECT_EQ(step->Image, k.next);
        EXPECT_EQ(step->Mode, k.mode);
    }
    int image = 16;
    for (int i = 0; i < 3; ++i) image = NextLayerStep(image)->Image;
    EXPECT_EQ(image, 16);
}
