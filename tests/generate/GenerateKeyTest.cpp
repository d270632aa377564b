#include <gtest/gtest.h>

#include <set>
#include <string>

#include "generate/GenerateMap.h"
#include "tests/support/GeneratedMapChecks.h"

using namespace qm;

namespace {

const qmtest::TBuiltInGenerator& Fix() { return qmtest::BuiltInGenerator(); }

class GenerateKeyTest : public ::testing::TestWithParam<TGenStyle> {};

TEST_P(GenerateKeyTest, EveryFactIsTrueOfTheMapOverManySeeds) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        TMapRecord map;
        ClearMapRecord(map);
        TGenerateOptions o;
        o.Style = GetParam();
        o.Seed = seed * 104729u;
        o.Density = TGenDensity(seed % 3);
        const TGenerateResult r = GenerateMap(map, o, Fix().palette);
        ASSERT_GE(r.Key.Entries.size(), GetParam() == TGenStyle::Wilderness ? 2u : 4u) << "seed " << o.Seed;
        ASSERT_EQ(qmtest::CheckGeneratedKey(map, r, Fix().palette, Fix().table), "")
            << GenStyleName(o.Style) << " seed " << o.Seed;
        // The same inputs give the same file, and the file reads back as the key.
        TMapRecord again;
        ClearMapRecord(again);
        const std::string text = KeyFileText(r.Key);
        ASSERT_EQ(KeyFileText(GenerateMap(again, o, Fix().palette).Key), text);
        ASSERT_EQ(ParseKeyFile(text, "k.key.md"), r.Key);
    }
}

INSTANTIATE_TEST_SUITE_P(AllStyles, GenerateKeyTest, ::testing::ValuesIn(AllGenStyles),
                         [](const auto& info) { return std::string(GenStyleName(info.param)); });

// The entrance's place is 1, and its text says so; a dungeon's rooms say what they are for.
TEST(GenerateKeyTest, EntranceIsOneAndRoomsAreTitledByPurpose) {
    const std::set<std::string> purposes = {"Chamber",   "Hall",  "Throne room", "Shrine",  "Library", "Guard room",
                                            "Storeroom", "Crypt", "Kitchen",     "Armoury", "Prison",  "Bedchamber"};
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        TMapRecord map;
        ClearMapRecord(map);
        TGenerateOptions o;
        o.Seed = seed;
        const TGenerateResult r = GenerateMap(map, o, Fix().palette);
        ASSERT_FALSE(r.Key.Entries.empty());
        EXPECT_EQ(r.PlaceOf[r.Entrance.r * MapSize + r.Entrance.c], 1) << "seed " << seed;
        EXPECT_NE(r.Key.Entries[0].Text.find("The way in."), std::string::npos) << "seed " << seed;
        for (const TKeyEntry& e : r.Key.Entries) EXPECT_TRUE(purposes.count(e.Title)) << e.Title;
    }
}

} // namespace
