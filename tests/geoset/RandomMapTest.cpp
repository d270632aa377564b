#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "editor/MapDocument.h"
#include "geoset/RandomMap.h"

using namespace qm;

namespace {
// Every maplet cell says where it came from: Upper the maplet's marker, Lower and
// Spare the cell's column and row inside the maplet.
uint8_t Marker(int p, int s) { return static_cast<uint8_t>(p * 10 + s); }

void FillMarkers(TGeoSetRecord& geo) {
    ClearGeoSetRecord(geo, "");
    for (int p = 1; p <= 9; ++p)
        for (int s = 1; s <= 6; ++s)
            for (int x = 1; x <= 12; ++x)
                for (int y = 1; y <= 12; ++y) geo.Maplet(p, s).Cell(x, y) = {Marker(p, s), uint8_t(x), uint8_t(y)};
}

// The marker's position and section, or {0, 0} for a cell no maplet wrote.
std::pair<int, int> Origin(const TMapCell& c) {
    if (c.Upper < 11) return {0, 0};
    return {c.Upper / 10, c.Upper % 10};
}

void Fill(TMapRecord& map, uint8_t v) { std::memset(&map, v, sizeof map); }

struct SeedFrom {
    explicit SeedFrom(uint32_t first) : next(first) {
        SetSeedSourceForTesting([this] { return next++; });
    }
    ~SeedFrom() { SetSeedSourceForTesting({}); }
    uint32_t next;
};
} // namespace

TEST(RandomMap, EveryBlockShowsItsPositionAndWholeCells) {
    static TGeoSetRecord geo;
    static TMapRecord map;
    FillMarkers(geo);
    SeedFrom seeds(7);
    for (int run = 0; run < 5; ++run) {
        Fill(map, 0xEE);
        GenerateRandomMap(map, geo);
        for (int X = 1; X <= 72; ++X)
            for (int Y = 1; Y <= 72; ++Y) {
                const int i = (X - 1) / 12 + 1, j = (Y - 1) / 12 + 1;
                const int want = (j == 1 ? 0 : j == 6 ? 6 : 3) + (i == 1 ? 1 : i == 6 ? 3 : 2);
                const TMapCell& c = map.Cell(X, Y);
                ASSERT_EQ(Origin(c).first, want) << X << "," << Y;
                ASSERT_EQ(c.Lower, (X - 1) % 12 + 1);
                ASSERT_EQ(c.Spare, (Y - 1) % 12 + 1);
            }
        // One section per slot: within a slot every cell comes from the same maplet.
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 6; ++j)
                for (int x = 1; x <= 12; ++x)
                    for (int y = 1; y <= 12; ++y)
                        ASSERT_EQ(map.Cell(12 * i + x, 12 * j + y).Upper, map.Cell(12 * i + 1, 12 * j + 1).Upper);
        // Nothing beyond the cells changes.
        const uint8_t* tail = reinterpret_cast<const uint8_t*>(&map) + sizeof map.Cells;
        for (size_t k = 0; k < sizeof map - sizeof map.Cells; ++k) ASSERT_EQ(tail[k], 0xEE);
    }
}

TEST(RandomMap, SectionsAreDrawnSlotBySlotInTheListedOrder) {
    static TGeoSetRecord geo;
    static TMapRecord map;
    FillMarkers(geo);
    // Corners, top edge, bottom edge, left edge, right edge, then the centre by columns.
    std::vector<std::pair<int, int>> order = {{1, 1}, {1, 6}, {6, 1}, {6, 6}};
    for (int i = 2; i <= 5; ++i) order.push_back({i, 1});
    for (int i = 2; i <= 5; ++i) order.push_back({i, 6});
    for (int j = 2; j <= 5; ++j) order.push_back({1, j});
    for (int j = 2; j <= 5; ++j) order.push_back({6, j});
    for (int i = 2; i <= 5; ++i)
        for (int j = 2; j <= 5; ++j) order.push_back({i, j});
    ASSERT_EQ(order.size(), 36u);

    for (uint32_t seed : {1u, 99u, 123456u}) {
        SeedFrom seeds(seed);
        GenerateRandomMap(map, geo);
        TGeoRandom rng(seed);
        for (auto [i, j] : order) {
            const int section = RandomSection(rng);
            EXPECT_EQ(Origin(map.Cell(12 * (i - 1) + 1, 12 * (j - 1) + 1)).second, section)
                << "slot " << i << "," << j << " seed " << seed;
        }
    }
}

TEST(RandomMap, EmptyGeoSetClearsEveryCellAndLeavesTheRest) {
    static TGeoSetRecord geo;
    static TMapRecord map, undo, undoBefore;
    ClearGeoSetRecord(geo, "x.bmp");
    Fill(map, 0x5A);
    Fill(undo, 0x33);
    undoBefore = undo;
    GenerateRandomMap(map, geo);
    for (int X = 1; X <= 72; ++X)
        for (int Y = 1; Y <= 72; ++Y) {
            const TMapCell& c = map.Cell(X, Y);
            ASSERT_TRUE(c.Upper == 0 && c.Lower == 0 && c.Spare == 0) << X << "," << Y;
        }
    EXPECT_EQ(map.Background, 0x5A);
    EXPECT_EQ(map.TilesetName[0], 0x5A);
    EXPECT_EQ(std::memcmp(&undo, &undoBefore, sizeof undo), 0); // generation takes no snapshot
}

TEST(RandomMap, InsertionIsClippedAtTheRightAndBottom) {
    static TGeoSetRecord geo;
    static TMapRecord map;
    FillMarkers(geo);
    struct Case {
        int left, top;
        int x0, y0, x1, y1; // map cells written, 1-based inclusive
    } cases[] = {
        {65, 0, 66, 1, 72, 12},
        {71, 71, 72, 72, 72, 72},
        {0, 0, 1, 1, 12, 12},
        {30, 64, 31, 65, 42, 72},
    };
    SeedFrom seeds(40);
    for (const Case& c : cases) {
        Fill(map, 0);
        const TMapletChoice choice = InsertRandomMaplet(map, geo, c.left, c.top);
        int written = 0;
        for (int X = 1; X <= 72; ++X)
            for (int Y = 1; Y <= 72; ++Y) {
                const TMapCell& cell = map.Cell(X, Y);
                const bool inside = X >= c.x0 && X <= c.x1 && Y >= c.y0 && Y <= c.y1;
                if (!inside) {
                    ASSERT_EQ(cell.Upper, 0) << X << "," << Y;
                    continue;
                }
                ++written;
                ASSERT_EQ(cell.Upper, Marker(choice.Position, choice.Section));
                ASSERT_EQ(cell.Lower, X - c.left); // maplet (1, 1) on the anchor
                ASSERT_EQ(cell.Spare, Y - c.top);
            }
        EXPECT_EQ(written, (c.x1 - c.x0 + 1) * (c.y1 - c.y0 + 1));
    }
}

TEST(RandomMap, UndoAfterInsertionRestoresTheMapExactly) {
    static TGeoSetRecord geo;
    static TMapDocument doc;
    static TMapRecord before;
    FillMarkers(geo);
    TMapRecord& map = doc.CurrentMap;
    for (size_t k = 0; k < sizeof map; ++k) reinterpret_cast<uint8_t*>(&map)[k] = uint8_t(k * 7 + 3);
    before = map;
    SeedFrom seeds(5);
    EXPECT_TRUE(doc.Edit(QStringLiteral("Random maplet"), [&](TMapRecord& m) { InsertRandomMaplet(m, geo, 10, 20); }));
    EXPECT_NE(std::memcmp(&map, &before, sizeof map), 0);
    EXPECT_TRUE(doc.Undo());
    EXPECT_EQ(std::memcmp(&map, &before, sizeof map), 0);
}

TEST(RandomMap, InsertionChoosesPositionsAndSectionsEvenly) {
    static TGeoSetRecord geo;
    static TMapRecord map;
    FillMarkers(geo);
    constexpr int Runs = 5400;
    std::map<int, int> positions, sections;
    SeedFrom seeds(1); // fixed seeds: the result is the same on every run
    for (int n = 0; n < Runs; ++n) {
        InsertRandomMaplet(map, geo, 0, 0);
        auto [p, s] = Origin(map.Cell(1, 1));
        ++positions[p];
        ++sections[s];
    }
    auto chiSquare = [](const std::map<int, int>& counts, int k, double expected) {
        double chi = 0;
        for (int v = 1; v <= k; ++v) {
            const double d = (counts.count(v) ? counts.at(v) : 0) - expected;
            chi += d * d / expected;
        }
        return chi;
    };
    EXPECT_EQ(positions.size(), 9u);
    EXPECT_EQ(sections.size(), 6u);
    EXPECT_EQ(positions.begin()->first, 1);
    EXPECT_EQ(positions.rbegin()->first, 9);
    EXPECT_EQ(sections.rbegin()->first, 6);
    // Critical values at the 0.1 % level: 26.12 for 8 degrees of freedom, 20.52 for 5.
    EXPECT_LT(chiSquare(positions, 9, Runs / 9.0), 26.12);
    EXPECT_LT(chiSquare(sections, 6, Runs / 6.0), 20.52);
}
