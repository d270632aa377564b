#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "generate/GenStack.h"
#include "tests/support/GeneratedMapChecks.h"

using namespace qm;

namespace {

const qmtest::TBuiltInGenerator& Fix() { return qmtest::BuiltInGenerator(); }

struct TStackCase {
    TGenStyle top;
    std::optional<TGenStyle> below;
    const char* name;
};

class GenerateStackTest : public ::testing::TestWithParam<TStackCase> {};

// Every level keeps every property of a generated map and its key; level k's stairs down
// stand on level k+1's stairs up, on floor of a place on both, and both keys say where
// they lead; the same options give the same stack.
TEST_P(GenerateStackTest, LevelsShareTheirStairsAndKeepEveryProperty) {
    const TGenPalette& p = Fix().palette;
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        TMapRecord start;
        ClearMapRecord(start);
        TGenerateOptions o;
        o.Style = GetParam().top;
        o.Seed = seed * 7907u;
        o.Density = TGenDensity(seed % 3);
        std::vector<TGenLevel> stack = GenerateStack(start, o, 3, GetParam().below, p);
        NameStackLevels(stack, "dir/deep.map");
        ASSERT_EQ(stack.size(), 3u);
        for (size_t k = 0; k < stack.size(); ++k) {
            const TGenLevel& l = stack[k];
            const std::string at = std::string(GetParam().name) + " seed " + std::to_string(o.Seed) + " level " +
                                   std::to_string(k + 1);
            ASSERT_EQ(qmtest::CheckGeneratedMap(start, l.Map, l.Options, l.Result, Fix().ts, Fix().table), "") << at;
            ASSERT_EQ(qmtest::CheckGeneratedKey(l.Map, l.Result, p, Fix().table), "") << at;
            EXPECT_EQ(l.Result.Key.Field("Level"), std::to_string(k + 1) + " of 3") << at;
            EXPECT_EQ(l.Result.Key.Field("Above"), k > 0 ? "deep-" + std::to_string(k) + ".map" : "") << at;
            EXPECT_EQ(l.Result.Key.Field("Below"), k < 2 ? "deep-" + std::to_string(k + 2) + ".map" : "") << at;
            if (k == 2) continue;
            const TGenLevel& next = stack[k + 1];
            const TGenPoint s = l.Result.StairsDown;
            ASSERT_GE(s.c, 0) << at;
            ASSERT_EQ(next.Result.Entrance, s) << at;
            EXPECT_EQ(l.Map.Cell(s.c + 1, s.r + 1).Upper, p.StairsDown) << at;
            EXPECT_EQ(next.Map.Cell(s.c + 1, s.r + 1).Upper, p.StairsUp) << at;
            const int above = l.Result.PlaceOf[s.r * MapSize + s.c], below = next.Result.PlaceOf[s.r * MapSize + s.c];
            ASSERT_GT(above, 0) << at;
            ASSERT_GT(below, 0) << at;
            const std::string down = "Stairs down to level " + std::to_string(k + 2) + ", room " +
                                     std::to_string(below);
            const std::string up = "Stairs up to level " + std::to_string(k + 1) + ", room " + std::to_string(above);
            EXPECT_NE(l.Result.Key.Find(above)->Text.find(down), std::string::npos) << at;
            EXPECT_NE(next.Result.Key.Find(below)->Text.find(up), std::string::npos) << at;
        }
        const std::vector<TGenLevel> again = GenerateStack(start, o, 3, GetParam().below, p);
        for (size_t k = 0; k < stack.size(); ++k)
            EXPECT_EQ(std::memcmp(&stack[k].Map, &again[k].Map, sizeof(TMapRecord)), 0) << "level " << k + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Stacks, GenerateStackTest,
                         ::testing::Values(TStackCase{TGenStyle::Dungeon, std::nullopt, "dungeon"},
                                           TStackCase{TGenStyle::Caves, std::nullopt, "caves"},
                                           TStackCase{TGenStyle::Dungeon, TGenStyle::Caves, "dungeon_caves"},
                                           TStackCase{TGenStyle::Caves, TGenStyle::Dungeon, "caves_dungeon"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A dungeon stack's first level is the dungeon of one level; file names take the level number.
TEST(GenerateStackTest, TopLevelIsTheSingleMapAndFilesAreNumbered) {
    TMapRecord start, single;
    ClearMapRecord(start);
    single = start;
    TGenerateOptions o;
    o.Seed = 4711;
    GenerateMap(single, o, Fix().palette);
    const std::vector<TGenLevel> stack = GenerateStack(start, o, 2, std::nullopt, Fix().palette);
    EXPECT_EQ(std::memcmp(&stack[0].Map, &single, sizeof single), 0);
    EXPECT_EQ(LevelPath("a/b.c/deep.map", 2), "a/b.c/deep-2.map");
    EXPECT_EQ(LevelPath("out.png", 1), "out-1.png");
    EXPECT_EQ(LevelPath("a.b/out", 3), "a.b/out-3");
    EXPECT_EQ(GenerateStack(start, o, 9, std::nullopt, Fix().palette).size(), size_t(MaxGenLevels));
}

} // namespace
