// The Fill tool: bounded by walls, by the selection and by doors; the layer it compares.
#include <gtest/gtest.h>

#include "editor/DoorTool.h"
#include "editor/FillTool.h"
#include "editor/RoomTool.h"
#include "tests/editor/EditorTestSupport.h"
#include "tiles/BuiltInSymbols.h"

using namespace qm;

namespace {

constexpr TGridRect WholeMap{0, 0, MapSize - 1, MapSize - 1};

int CountLower(const TMapRecord& m, uint8_t s) {
    int n = 0;
    for (int c = 1; c <= MapSize; ++c)
        for (int r = 1; r <= MapSize; ++r) n += m.Cell(c, r).Lower == s;
    return n;
}

} // namespace

TEST(FillTool, Areas) {
    const SymbolTable table = BuiltInSymbolTable();
    TLayerFlags flags{};
    flags[sym::Table] = 1;
    // A room over columns 5..14, rows 5..12 (0-based 4..13, 4..11): inside 8 x 6 cells.
    // Without a floor inside, the ground inside and outside is the same: only walls and
    // doors keep a fill in.
    const auto room = [&](int doorClicks) {
        auto m = qmtest::NewMap();
        DrawRoom(*m, {4, 4, 13, 11}, doorClicks ? 0 : sym::FloorA, false, lmAuto, flags, table);
        for (int i = 0; i < doorClicks; ++i) PlaceDoor(*m, 9, 5, table);
        return m;
    };
    struct Case {
        const char* name;
        int doorClicks; // 1 a wooden door, 6 the secret door marker
        int c, r;       // 0-based start
        TGridRect bound;
        uint8_t symbol;
        TLayerMode mode;
        int cells; // the area's size
    };
    const Case cases[] = {
        {"inside a room", 0, 8, 8, WholeMap, sym::Grass, lmAuto, 48},
        {"inside a room with a door: the door cell too", 1, 8, 8, WholeMap, sym::Grass, lmAuto, 49},
        {"inside a room with a secret door", 6, 8, 8, WholeMap, sym::Grass, lmAuto, 49},
        {"outside the room", 0, 30, 30, WholeMap, sym::Grass, lmAuto, MapSize * MapSize - 10 * 8},
        {"on the room's full wall", 0, 4, 4, WholeMap, sym::Grass, lmAuto, 0},
        {"inside the selection", 0, 30, 30, {28, 29, 32, 31}, sym::Grass, lmAuto, 15},
        {"selection across the room", 0, 6, 6, {0, 0, 8, 8}, sym::Grass, lmAuto, 16},
        {"upper layer: half-wall pieces differ", 0, 8, 8, WholeMap, sym::Table, lmAuto, 24},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto m = room(k.doorClicks);
        const TFillArea area = FillAreaAt(*m, k.c, k.r, k.bound, k.symbol, k.mode, flags, table);
        EXPECT_EQ(int(area.Cells.size()), k.cells);
        const int before = CountLower(*m, k.symbol);
        EXPECT_EQ(FillFrom(*m, k.c, k.r, k.bound, k.symbol, k.mode, flags, table), k.cells > 0);
        if (area.Lower) {
            EXPECT_EQ(CountLower(*m, k.symbol) - before, k.cells);
        }
        for (const int i : area.Cells) EXPECT_TRUE(k.bound.Contains(i / MapSize, i % MapSize));
    }
}

TEST(FillTool, ComparesTheLayerTheSymbolGoesTo) {
    const SymbolTable table = BuiltInSymbolTable();
    TLayerFlags flags{};
    flags[sym::Chest] = 1;
    auto m = qmtest::NewMap();
    for (int c = 1; c <= MapSize; ++c)
        for (int r = 1; r <= MapSize; ++r) m->Cell(c, r).Lower = uint8_t((c + r) % 2 ? sym::Grass : sym::Dirt);
    m->Cell(20, 20).Upper = sym::Barrel;
    // An upper-layer symbol fills every empty upper cell, whatever lies below.
    EXPECT_TRUE(FillFrom(*m, 0, 0, WholeMap, sym::Chest, lmAuto, flags, table));
    EXPECT_EQ(m->Cell(72, 72).Upper, sym::Chest);
    EXPECT_EQ(m->Cell(20, 20).Upper, sym::Barrel);
    EXPECT_EQ(m->Cell(1, 2).Lower, sym::Grass);
    // A ground symbol compares the lower layer: the checkerboard stops it at one cell.
    EXPECT_EQ(FillAreaAt(*m, 0, 0, WholeMap, sym::Sand, lmAuto, flags, table).Cells.size(), 1u);
    // Upper layer only: the chests are the area.
    EXPECT_EQ(FillAreaAt(*m, 0, 0, WholeMap, sym::Sand, lmUpper, flags, table).Cells.size(),
              size_t(MapSize * MapSize - 1));
}

TEST(FillTool, ThinWallsBound) {
    const SymbolTable table = BuiltInSymbolTable();
    auto m = qmtest::NewMap();
    // A thin wall line across the map on the south side of row 10's cells.
    for (int c = 1; c <= MapSize; ++c) m->Cell(c, 10).Upper = sym::WallS;
    EXPECT_EQ(FillAreaAt(*m, 5, 2, WholeMap, sym::Grass, lmAuto, TLayerFlags{}, table).Cells.size(),
              size_t(MapSize * 10));
}

TEST(FillTool, TheWholeEmptyMap) {
    auto m = qmtest::NewMap();
    EXPECT_TRUE(FillFrom(*m, 40, 40, WholeMap, sym::Grass, lmAuto, TLayerFlags{}, BuiltInSymbolTable()));
    EXPECT_EQ(CountLower(*m, sym::Grass), MapSize * MapSize);
    EXPECT_FALSE(FillFrom(*m, 40, 40, WholeMap, sym::Grass, lmAuto, TLayerFlags{}, BuiltInSymbolTable()));
}
