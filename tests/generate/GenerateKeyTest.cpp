#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>

#include "generate/GenerateMap.h"
#include "tests/support/GeneratedMapChecks.h"

using namespace qm;

namespace {

const qmtest::TBuiltInGenerator& Fix() { return qmtest::BuiltInGenerator(); }

// The numbers an entry's text names as where its exits lead.
std::set<int> ExitNumbers(const std::string& text) {
    static const std::regex list(R"(to (\d+(?:, \d+)*(?: and \d+)?)[.,;])");
    static const std::regex number(R"(\d+)");
    std::set<int> out;
    for (auto m = std::sregex_iterator(text.begin(), text.end(), list); m != std::sregex_iterator(); ++m) {
        const std::string l = (*m)[1];
        for (auto n = std::sregex_iterator(l.begin(), l.end(), number); n != std::sregex_iterator(); ++n)
            out.insert(std::stoi(n->str()));
    }
    return out;
}

// The sentence starting with `head` ("Hidden: ..."), or "".
std::string Sentence(const std::string& text, const std::string& head) {
    const size_t at = text.find(head);
    return at == std::string::npos ? "" : text.substr(at, text.find('.', at) - at);
}

// Every fact the key states about its places, checked against the map; "" when all hold.
std::string CheckKey(const TMapRecord& map, const TGenerateResult& r) {
    const TGenPalette& p = Fix().palette;
    const SymbolTable& t = Fix().table;
    const TMapKey& key = r.Key;
    std::map<int, std::set<int>> exits;
    for (size_t k = 0; k < key.Entries.size(); ++k) {
        const TKeyEntry& e = key.Entries[k];
        const std::string at = "entry " + std::to_string(e.Number) + " (" + e.Title + "): ";
        if (e.Number != int(k) + 1) return at + "numbers are not 1.." + std::to_string(key.Entries.size());
        if (e.Title.empty() || e.Title.size() > MaxKeyTitleLength) return at + "bad title";
        const int pc = e.X - 1, pr = e.Y - 1;
        if (r.PlaceOf[pr * MapSize + pc] != e.Number) return at + "pinned outside its place";
        const TMapCell& pin = map.Cell(e.X, e.Y);
        if (pin.Upper >= 128 || t[pin.Lower].role == SymbolRole::Door || t[pin.Lower].role == SymbolRole::Window)
            return at + "pinned off the floor";
        bool up = false, down = false, trap = false, treasure = false, secret = false;
        for (int c = 0; c < MapSize; ++c)
            for (int y = 0; y < MapSize; ++y) {
                const TMapCell& cell = map.Cell(c + 1, y + 1);
                if (r.PlaceOf[y * MapSize + c] == e.Number) {
                    up |= cell.Upper == p.StairsUp;
                    down |= cell.Upper == p.StairsDown;
                    trap |= cell.Upper == p.Trap || cell.Lower == p.Trap;
                    treasure |= cell.Upper == p.Treasure || cell.Lower == p.Treasure;
                }
                // A secret door stands in the wall, two cells from the floor of its place.
                if (p.IsSecret(cell.Lower))
                    for (int dy = -2; dy <= 2; ++dy)
                        for (int dc = -2; dc <= 2; ++dc)
                            if (c + dc >= 0 && y + dy >= 0 && c + dc < MapSize && y + dy < MapSize &&
                                r.PlaceOf[(y + dy) * MapSize + c + dc] == e.Number)
                                secret = true;
            }
        const std::string hidden = Sentence(e.Text, "Hidden: ");
        const struct {
            const char* what;
            bool present, said;
        } facts[] = {{"stairs up", up, e.Text.find("Stairs up") != std::string::npos},
                     {"stairs down", down, e.Text.find("Stairs down") != std::string::npos},
                     {"trap marker", trap, hidden.find("trap marker") != std::string::npos},
                     {"treasure marker", treasure, hidden.find("treasure marker") != std::string::npos}};
        for (const auto& f : facts)
            if (f.present != f.said) return at + f.what + (f.present ? " there but not said" : " said but not there");
        if (e.Text.find("A secret door") != std::string::npos && !secret) return at + "a secret door said, none there";
        exits[e.Number] = ExitNumbers(e.Text);
    }
    for (const auto& [from, to] : exits)
        for (int n : to) {
            if (n == from || !key.Find(n)) return "entry " + std::to_string(from) + " leads to no entry " + std::to_string(n);
            if (!exits[n].count(from))
                return "entry " + std::to_string(from) + " leads to " + std::to_string(n) + " but not back";
        }
    return "";
}

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
        ASSERT_EQ(CheckKey(map, r), "") << GenStyleName(o.Style) << " seed " << o.Seed;
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
    const std::set<std::string> purposes = {"Chamber",   "Hall",    "Throne room", "Shrine",  "Library",
                                            "Guard room", "Storeroom", "Crypt",   "Kitchen", "Armoury",
                                            "Prison",    "Bedchamber"};
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
