#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <regex>
#include <set>
#include <string>

#include "editor/SmartTerrain.h"
#include "generate/GenerateMap.h"
#include "tests/support/BuiltInTileset.h"
#include "tests/support/GeneratedMapChecks.h"

using namespace qm;

namespace {

const qmtest::TBuiltInGenerator& Fix() { return qmtest::BuiltInGenerator(); }

// A map already drawn on: ground, objects and terrain of several rows everywhere, so a
// generator that reads or writes outside its area shows it.
TMapRecord BusyMap() {
    TMapRecord m;
    ClearMapRecord(m);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            TMapCell& c = m.Cell(x, y);
            c.Lower = uint8_t(16 + (x / 5 + y / 7) % 6);
            const int k = (x * 7 + y * 13) % 11;
            c.Upper = k > 3 ? uint8_t(128 + (x * y + k) % 128) : uint8_t(k > 1 ? 26 + k : 0);
            c.Spare = uint8_t(x + y);
        }
    return m;
}

std::string Generate(TMapRecord& map, const TGenerateOptions& o) {
    const TMapRecord before = map;
    const TGenerateResult result = GenerateMap(map, o, Fix().palette);
    return qmtest::CheckGeneratedMap(before, map, o, result, Fix().ts, Fix().table);
}

class GenerateStyleTest : public ::testing::TestWithParam<TGenStyle> {};

TEST_P(GenerateStyleTest, EveryPropertyHoldsOverManySeeds) {
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        TMapRecord map;
        ClearMapRecord(map);
        TGenerateOptions o;
        o.Style = GetParam();
        o.Seed = seed * 7919u;
        o.Density = TGenDensity(seed % 3);
        ASSERT_EQ(Generate(map, o), "") << GenStyleName(o.Style) << " seed " << o.Seed;
    }
}

TEST_P(GenerateStyleTest, AreaLeavesEverythingOutsideAsItWas) {
    const TGridRect areas[] = {{10, 7, 45, 40}, {0, 0, 30, 71}, {40, 50, 71, 71}, {20, 20, 33, 33}, {5, 30, 66, 60}};
    std::uint32_t seed = 11;
    for (const TGridRect& a : areas) {
        TMapRecord map = BusyMap();
        TGenerateOptions o;
        o.Style = GetParam();
        o.Seed = seed++;
        o.Area = a;
        ASSERT_EQ(Generate(map, o), "") << GenStyleName(o.Style) << " area " << a.Left << "," << a.Top;
        EXPECT_EQ(map.Background, 0) << "only a whole map sets the background";
    }
}

TEST_P(GenerateStyleTest, SameInputsSameBytesOtherSeedsOtherMaps) {
    std::set<std::string> seen;
    for (std::uint32_t seed : {1u, 2u, 3u, 4711u, 4294967295u}) {
        TMapRecord a, b;
        ClearMapRecord(a);
        ClearMapRecord(b);
        TGenerateOptions o;
        o.Style = GetParam();
        o.Seed = seed;
        GenerateMap(a, o, Fix().palette);
        GenerateMap(b, o, Fix().palette);
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "seed " << seed;
        seen.insert(std::string(reinterpret_cast<const char*>(&a), sizeof a));
    }
    EXPECT_EQ(seen.size(), 5u);
}

// Each switch takes its kind of symbol out of the map and nothing else.
TEST_P(GenerateStyleTest, SwitchesLeaveTheirSymbolsOut) {
    const auto count = [](const TMapRecord& m, auto pred) {
        int n = 0;
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y)
                for (int s : {m.Cell(x, y).Lower, m.Cell(x, y).Upper}) n += s > 0 && s < 128 && pred(s);
        return n;
    };
    const SymbolTable& t = Fix().table;
    const auto isDoor = [&](int s) { return t[s].role == SymbolRole::Door; };
    const auto isLight = [&](int s) { return t[s].role == SymbolRole::Light; };
    const auto isSecret = [&](int s) { return Fix().palette.IsSecret(s); };
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        TGenerateOptions o;
        o.Style = GetParam();
        o.Seed = seed;
        o.Switches = {false, false, false, true};
        TMapRecord m;
        ClearMapRecord(m);
        ASSERT_EQ(Generate(m, o), "");
        EXPECT_EQ(count(m, isDoor), 0);
        EXPECT_EQ(count(m, isLight), 0);
        EXPECT_EQ(count(m, isSecret), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(AllStyles, GenerateStyleTest, ::testing::ValuesIn(AllGenStyles),
                         [](const auto& info) { return std::string(GenStyleName(info.param)); });

TEST(GenerateMapTest, DungeonsHaveDoorsLightsAndSecretDoors) {
    int doors = 0, lights = 0, secrets = 0;
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        TMapRecord m;
        ClearMapRecord(m);
        TGenerateOptions o;
        o.Seed = seed;
        GenerateMap(m, o, Fix().palette);
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) {
                const TMapCell& c = m.Cell(x, y);
                doors += Fix().table[c.Lower].role == SymbolRole::Door;
                lights += c.Upper < 128 && Fix().table[c.Upper].role == SymbolRole::Light;
                secrets += Fix().palette.IsSecret(c.Lower);
            }
    }
    EXPECT_GT(doors, 40);
    EXPECT_GT(lights, 20);
    EXPECT_GT(secrets, 0);
}

// A moat is a closed ring of water: with its bridge taken away, the way in (just outside
// the gate, inside the moat) cannot reach the map's edge over dry cells.
TEST(GenerateMapTest, KeepMoatIsAClosedRing) {
    const int deck = Fix().palette.Deck, water = Fix().palette.Water;
    int moats = 0;
    for (std::uint32_t seed = 1; seed <= 48; ++seed) {
        TMapRecord m;
        ClearMapRecord(m);
        TGenerateOptions o;
        o.Style = TGenStyle::Keep;
        o.Seed = seed;
        const TGenerateResult r = GenerateMap(m, o, Fix().palette);
        const auto dry = [&](int c, int r) {
            const TMapCell& cell = m.Cell(c + 1, r + 1);
            return cell.Lower != deck && (cell.Upper & ~15) != water;
        };
        bool bridged = false;
        for (int c = 0; c < MapSize; ++c)
            for (int y = 0; y < MapSize; ++y) bridged |= m.Cell(c + 1, y + 1).Lower == deck;
        if (!bridged) continue;
        ++moats;
        std::vector<char> seen(MapSize * MapSize, 0);
        std::vector<TGenPoint> todo{r.Entrance};
        seen[r.Entrance.r * MapSize + r.Entrance.c] = 1;
        bool edge = false;
        while (!todo.empty() && !edge) {
            const TGenPoint q = todo.back();
            todo.pop_back();
            edge = q.c == 0 || q.r == 0 || q.c == MapSize - 1 || q.r == MapSize - 1;
            for (const TGenPoint n :
                 {TGenPoint{q.c + 1, q.r}, TGenPoint{q.c - 1, q.r}, TGenPoint{q.c, q.r + 1}, TGenPoint{q.c, q.r - 1}})
                if (n.c >= 0 && n.r >= 0 && n.c < MapSize && n.r < MapSize && !seen[n.r * MapSize + n.c] &&
                    dry(n.c, n.r)) {
                    seen[n.r * MapSize + n.c] = 1;
                    todo.push_back(n);
                }
        }
        EXPECT_FALSE(edge) << "keep seed " << seed << ": the moat has a gap";
    }
    EXPECT_GE(moats, 8);
}

TEST(GenerateMapTest, StepNameAndNames) {
    TGenerateOptions o;
    o.Seed = 4711;
    EXPECT_EQ(GenerateStepName(o), "Generate dungeon, seed 4711");
    for (TGenStyle s : AllGenStyles) EXPECT_EQ(GenStyleFromName(GenStyleName(s)), s);
    EXPECT_FALSE(GenStyleFromName("castle"));
    EXPECT_EQ(GenDensityFromName("many"), TGenDensity::Many);
    EXPECT_FALSE(GenDensityFromName("lots"));
}

TEST(GenerateMapTest, TooSmallAnAreaChangesNothingAndSaysSo) {
    TMapRecord m = BusyMap();
    const TMapRecord before = m;
    TGenerateOptions o;
    o.Area = {3, 3, 13, 40};
    const TGenerateResult r = GenerateMap(m, o, Fix().palette);
    EXPECT_EQ(std::memcmp(&m, &before, sizeof m), 0);
    ASSERT_EQ(r.LeftOut.size(), 1u);
    EXPECT_NE(r.LeftOut[0].find("smaller than 12 x 12"), std::string::npos);
}

// A tileset with only its terrain rows: walls and rock still join, every floor is reached,
// and the notes name what could not be drawn. (With no ground or objects to tell places
// apart, two stretches of bare curtain wall may look alike, so blocks are not compared.)
TEST(GenerateMapTest, TerrainOnlyTilesetDrawsWallsAndSaysWhatIsMissing) {
    const SymbolTable bare = TerrainSymbolTable();
    const TGenPalette palette = MakeGenPalette(bare, Fix().ts.HiddenFlags, Fix().ts.LayerFlags);
    for (TGenStyle style : AllGenStyles) {
        TMapRecord m;
        ClearMapRecord(m);
        TGenerateOptions o;
        o.Style = style;
        o.Seed = 5;
        const TGenerateResult r = GenerateMap(m, o, palette);
        const TGridRect whole = o.Area;
        EXPECT_EQ(qmtest::CheckRestampChangesNothing(m, whole), "") << GenStyleName(style);
        EXPECT_EQ(qmtest::CheckReachable(m, whole, r.Entrance, bare), "") << GenStyleName(style);
        EXPECT_EQ(qmtest::CheckPortalEnds(m, whole, Fix().ts, bare), "") << GenStyleName(style);
        std::string all;
        for (const std::string& line : r.LeftOut) all += line + "\n";
        if (style == TGenStyle::Dungeon) {
            EXPECT_NE(all.find("doors in east-west walls"), std::string::npos) << all;
            EXPECT_NE(all.find("floors"), std::string::npos) << all;
        }
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) ASSERT_TRUE(m.Cell(x, y).Upper == 0 || m.Cell(x, y).Upper >= 128);
    }
}

} // namespace

namespace {

// Doors, windows and secret doors are found by role and wall, lights and furniture by name.
TEST(GenPaletteTest, FindsSymbolsByRoleWallAndName) {
    struct Case {
        const char* roles;
        int doorH, doorV, secretH, secretV, torch;
    } cases[] = {
        {"12 door axis=v Gate, north-south\n13 door axis=h Gate, east-west\n46 light range=3 Brazier\n", 13, 12, 0, 0,
         46},
        {"35 none Secret door marker\n", 0, 0, 35, 35, 0},
        {"35 door axis=h Secret door, east-west wall\n36 door axis=v Secret door, north-south wall\n"
         "14 door axis=h Open door\n",
         0, 0, 35, 36, 0},
    };
    std::array<std::uint8_t, 256> hidden{}, upper{};
    hidden[35] = hidden[36] = 1;
    upper.fill(1);
    for (const Case& c : cases) {
        const SymbolTable t = ParseSymbolTable(c.roles, "t.roles");
        const TGenPalette p = MakeGenPalette(t, hidden, upper);
        EXPECT_EQ(p.DoorH, c.doorH) << c.roles;
        EXPECT_EQ(p.DoorV, c.doorV) << c.roles;
        EXPECT_EQ(p.SecretH, c.secretH) << c.roles;
        EXPECT_EQ(p.SecretV, c.secretV) << c.roles;
        EXPECT_EQ(p.Torch, c.torch) << c.roles;
    }
}

} // namespace

namespace {

// Every dungeon has its stairs down (seeds 5 and 8 once had none), in a room, apart from the way in.
TEST(GenerateMapTest, EveryDungeonHasStairsDown) {
    for (std::uint32_t seed = 1; seed <= 150; ++seed) {
        TMapRecord m;
        ClearMapRecord(m);
        TGenerateOptions o;
        o.Seed = seed;
        o.Density = TGenDensity(seed % 3);
        const TGenerateResult r = GenerateMap(m, o, Fix().palette);
        ASSERT_GE(r.StairsDown.c, 0) << "seed " << seed;
        EXPECT_EQ(m.Cell(r.StairsDown.c + 1, r.StairsDown.r + 1).Upper, Fix().palette.StairsDown) << "seed " << seed;
        EXPECT_GT(r.PlaceOf[r.StairsDown.r * MapSize + r.StairsDown.c], 0) << "seed " << seed;
        EXPECT_FALSE(r.StairsDown == r.Entrance) << "seed " << seed;
    }
}

} // namespace

namespace {

// With every door shut, the ground outside a keep never reaches its yards: the curtain has no
// doorless breach (seed 2 once had one beside a tower), and every tower room is entered by a
// door from a yard, never from outside (its slits face out).
TEST(GenerateMapTest, KeepCurtainIsClosedAndTowersOpenOnTheYard) {
    const SymbolTable& t = Fix().table;
    for (std::uint32_t seed = 1; seed <= 36; ++seed) {
        TMapRecord m;
        ClearMapRecord(m);
        TGenerateOptions o;
        o.Style = TGenStyle::Keep;
        o.Seed = seed;
        o.Density = TGenDensity(seed % 3);
        const TGenerateResult r = GenerateMap(m, o, Fix().palette);
        std::set<int> outside;
        for (const TKeyEntry& e : r.Key.Entries)
            if (e.Title == "Outside the walls") outside.insert(e.Number);
        // Quarters of cells: floor unless terrain covers them or a door or window shuts them.
        constexpr int Q = 2 * MapSize;
        std::vector<char> open(Q * Q, 0), seen(Q * Q, 0);
        for (int x = 0; x < MapSize; ++x)
            for (int y = 0; y < MapSize; ++y) {
                const TMapCell& c = m.Cell(x + 1, y + 1);
                const bool shut = t[c.Lower].role == SymbolRole::Door || t[c.Lower].role == SymbolRole::Window ||
                                  Fix().palette.IsSecret(c.Lower);
                const unsigned q = c.Upper >= 128 ? TerrainShapeQuarters(c.Upper & 15) : 0;
                const unsigned bits[4] = {qNW, qNE, qSW, qSE};
                for (int k = 0; k < 4; ++k) open[(2 * y + k / 2) * Q + 2 * x + k % 2] = !shut && !(q & bits[k]);
            }
        std::vector<int> todo;
        for (int k = 0; k < Q * Q; ++k)
            if (open[k] && (k % Q == 0 || k / Q == 0 || k % Q == Q - 1 || k / Q == Q - 1))
                seen[k] = 1, todo.push_back(k);
        while (!todo.empty()) {
            const int k = todo.back();
            todo.pop_back();
            const int x = k % Q, y = k / Q;
            const int place = r.PlaceOf[(y / 2) * MapSize + x / 2];
            ASSERT_TRUE(place == 0 || outside.count(place))
                << "keep seed " << seed << ": the outside reaches " << r.Key.Find(place)->Title << " at " << x / 2 + 1
                << ", " << y / 2 + 1;
            for (const int n : {k + 1, k - 1, k + Q, k - Q})
                if (n >= 0 && n < Q * Q && std::abs(n % Q - x) <= 1 && open[n] && !seen[n])
                    seen[n] = 1, todo.push_back(n);
        }
        for (const TKeyEntry& e : r.Key.Entries) {
            if (e.Title != "Tower room") continue;
            const size_t doors = e.Text.find("Doors: ");
            EXPECT_NE(doors, std::string::npos) << "keep seed " << seed << ", " << e.Number << ": " << e.Text;
            for (int n : outside)
                EXPECT_FALSE(std::regex_search(e.Text, std::regex("to ([0-9]+, )*" + std::to_string(n) + "[^0-9]")))
                    << "keep seed " << seed << ", tower " << e.Number << " opens outside: " << e.Text;
        }
    }
}

} // namespace
