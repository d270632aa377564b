// The Door tool: where a door goes in thin and terrain walls of both directions, the cycle
// of door kinds, and clicks that find no wall.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "editor/DoorTool.h"
#include "editor/RoomTool.h"
#include "tests/TestSupport.h"
#include "tests/editor/EditorTestSupport.h"
#include "tiles/BuiltInSymbols.h"

using namespace qm;

namespace {

// A room of wall terrain over columns 5..14, rows 5..12 with a floor inside.
std::unique_ptr<TMapRecord> Room() {
    auto map = qmtest::NewMap();
    DrawRoom(*map, {4, 4, 13, 11}, sym::FloorA, false, lmAuto, TLayerFlags{}, BuiltInSymbolTable());
    return map;
}

} // namespace

TEST(DoorTool, TerrainWalls) {
    const SymbolTable table = BuiltInSymbolTable();
    struct Case {
        const char* name;
        int clickC, clickR; // where the user clicks
        int doorC, doorR;   // where the door goes
        bool vertical;
    };
    const Case cases[] = {
        {"north wall", 9, 5, 9, 5, false},
        {"north wall, inner half", 9, 6, 9, 5, false},
        {"north wall, outer half", 9, 4, 9, 5, false},
        {"south wall", 8, 12, 8, 12, false},
        {"west wall", 5, 8, 5, 8, true},
        {"east wall, inner half", 13, 9, 14, 9, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto map = Room();
        const TMapRecord before = *map;
        ASSERT_TRUE(PlaceDoor(*map, k.clickC, k.clickR, table));
        const uint8_t door = k.vertical ? sym::DoorNS : sym::DoorEW;
        EXPECT_EQ(map->Cell(k.doorC, k.doorR).Upper, door);
        EXPECT_EQ(map->Cell(k.doorC, k.doorR).Lower, sym::FloorA); // floor from inside
        // The half-wall cells in front and behind open; the wall on both sides stays whole.
        const int ac = k.vertical ? 1 : 0, ar = k.vertical ? 0 : 1;
        for (const int s : {-1, 1}) {
            EXPECT_EQ(map->Cell(k.doorC + s * ac, k.doorR + s * ar).Upper, 0);
            EXPECT_EQ(map->Cell(k.doorC + s * ar, k.doorR + s * ac).Upper,
                      before.Cell(k.doorC + s * ar, k.doorR + s * ac).Upper);
        }
        // Nothing else changed.
        int changed = 0;
        for (int c = 1; c <= MapSize; ++c)
            for (int r = 1; r <= MapSize; ++r)
                changed += std::memcmp(&map->Cell(c, r), &before.Cell(c, r), sizeof(TMapCell)) != 0;
        EXPECT_EQ(changed, 3);
    }
}

TEST(DoorTool, ThinWallsAndTheKindCycle) {
    const SymbolTable table = BuiltInSymbolTable();
    struct Case {
        const char* name;
        uint8_t wall;
        std::vector<uint8_t> cycle; // after the first click, then each further click
    };
    const Case cases[] = {
        {"east-west wall",
         sym::WallN,
         {sym::DoorEW, sym::DoorOpen, sym::DoorLocked, sym::Portcullis, sym::ArrowSlit, sym::SecretDoor, sym::DoorEW}},
        {"south side", sym::WallS, {sym::DoorEW, sym::DoorOpen}},
        {"north-south wall", sym::WallE, {sym::DoorNS, sym::SecretDoor, sym::DoorNS}},
        {"west side", sym::WallW, {sym::DoorNS, sym::SecretDoor, sym::DoorNS}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto map = qmtest::NewMap();
        const bool runsEastWest = k.wall == sym::WallN || k.wall == sym::WallS;
        for (int i = 8; i <= 12; ++i)
            map->Cell(runsEastWest ? i : 10, runsEastWest ? 10 : i) = {k.wall, sym::FloorA, 0};
        for (const uint8_t want : k.cycle) {
            EXPECT_TRUE(PlaceDoor(*map, 10, 10, table));
            EXPECT_EQ(map->Cell(10, 10).Upper, want);
            EXPECT_EQ(map->Cell(10, 10).Lower, sym::FloorA);
        }
        EXPECT_EQ(map->Cell(9, 10).Upper + map->Cell(10, 9).Upper, k.wall); // neighbours untouched
    }
}

TEST(DoorTool, NoWallNoDoor) {
    const SymbolTable table = BuiltInSymbolTable();
    auto map = Room();
    map->Cell(30, 30).Upper = sym::WallNE; // a thin corner
    const struct {
        const char* name;
        int c, r;
    } cases[] = {{"empty ground", 40, 40},    {"inside the room", 9, 8}, {"the room's corner", 5, 5},
                 {"beside the corner", 6, 5}, {"thin corner", 30, 30},   {"outside the map", 0, 3}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const TMapRecord before = *map;
        EXPECT_EQ(PlanDoor(*map, k.c, k.r, table).Action, TDoorAction::NoWall);
        EXPECT_FALSE(PlaceDoor(*map, k.c, k.r, table));
        EXPECT_TRUE(qmtest::SameRecord(*map, before));
    }
}

TEST(DoorTool, KindsComeFromTheRolesTable) {
    const SymbolTable custom = ParseSymbolTable(
        "3 wall edges=N\n"
        "7 door axis=h Gate\n"
        "9 window axis=h doorcycle=none Grille\n"
        "11 none doorcycle=h Curtain\n",
        "custom.roles");
    EXPECT_EQ(DoorKinds(custom, false), (std::vector<uint8_t>{7, 11}));
    EXPECT_TRUE(DoorKinds(custom, true).empty());
    EXPECT_STREQ(DoorToolUnavailable(custom), "");
    EXPECT_STRNE(DoorToolUnavailable(TerrainSymbolTable()), "");
    auto map = qmtest::NewMap();
    map->Cell(10, 10).Upper = 3;
    EXPECT_TRUE(PlaceDoor(*map, 10, 10, custom));
    EXPECT_EQ(map->Cell(10, 10).Upper, 7);
    // A north-south terrain wall where the tileset has no door of that direction.
    auto room = Room();
    EXPECT_EQ(PlanDoor(*room, 5, 8, custom).Action, TDoorAction::NoKind);
    EXPECT_THROW(ParseSymbolTable("7 door axis=h doorcycle=x\n", "bad.roles"), std::runtime_error);
    EXPECT_THROW(ParseSymbolTable("7 wall edges=N doorcycle=h\n", "bad.roles"), std::runtime_error);
}
