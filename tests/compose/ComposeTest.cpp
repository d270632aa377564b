#include <gtest/gtest.h>

#include <QPainter>
#include <random>

#include "compose/CellCache.h"
#include "compose/CellPainters.h"
#include "compose/Compose.h"
#include "compose/GridRect.h"
#include "tests/editor/EditorTestSupport.h"

using namespace qm;
using qmtest::SymbolColor;

namespace {

constexpr QRgb White = 0xffffffffu;

QRgb At(const QImage& im, int x, int y) { return im.pixel(x, y) | 0xff000000u; }

struct ComposeCase {
    const char* name;
    uint8_t showHidden, background, lower, upper;
    int row;         // grid row of the cell
    int expectLeft;  // symbol seen on the left half (-1 = white)
    int expectRight; // symbol seen on the right half (-1 = white)
};

} // namespace

TEST(Compose, MapCellLayersBackgroundAndHiddenTest) {
    TRenderedTileset ts;
    qmtest::MakeTileset(ts, 8, 250);
    ts.HiddenFlags[35] = 1;
    const ComposeCase cases[] = {
        {"empty cell is white", 1, 0, 0, 0, 0, -1, -1},
        {"background 11 on row 0", 1, 11, 0, 0, 0, 11, 11},
        {"background 11 on row 1 is 10", 1, 11, 0, 0, 1, 10, 10},
        {"background 11 on row 70", 1, 11, 0, 0, 70, 11, 11},
        {"background 11 on row 71 is 10", 1, 11, 0, 0, 71, 10, 10},
        {"background 12 everywhere", 1, 12, 0, 0, 1, 12, 12},
        {"background 10 is not alternated", 1, 10, 0, 0, 0, 10, 10},
        {"lower over background", 1, 12, 20, 0, 3, 20, 20},
        {"upper over lower", 1, 12, 20, 21, 3, 21, 21},
        {"hidden upper left out", 0, 12, 20, 35, 3, 20, 20},
        {"hidden upper shown with show hidden", 1, 12, 20, 35, 3, 35, 35},
        {"hidden lower left out shows background", 0, 12, 35, 0, 3, 12, 12},
        {"hidden alone leaves white", 0, 0, 0, 35, 3, -1, -1},
        {"hidden background always drawn", 0, 35, 0, 0, 3, 35, 35},
        {"transparent half of upper shows lower", 1, 12, 20, 200, 3, 20, 200},
        {"transparent half of upper shows background", 1, 12, 0, 200, 3, 12, 200},
        {"transparent half of upper over nothing is white", 1, 0, 0, 200, 3, -1, 200},
        {"symbol the tileset lacks draws nothing", 1, 12, 20, 252, 3, 20, 20},
        {"background the tileset lacks", 1, 253, 0, 0, 3, -1, -1},
    };
    for (const ComposeCase& k : cases) {
        SCOPED_TRACE(k.name);
        auto map = qmtest::NewMap();
        map->ShowHidden = k.showHidden;
        map->Background = k.background;
        map->Cell(5, k.row + 1) = TMapCell{k.upper, k.lower, 77};
        QImage bmp;
        ComposeMapCell(bmp, *map, ts, 4, k.row);
        ASSERT_EQ(bmp.size(), QSize(8, 8));
        EXPECT_EQ(At(bmp, 1, 4), k.expectLeft < 0 ? White : SymbolColor(k.expectLeft));
        EXPECT_EQ(At(bmp, 6, 4), k.expectRight < 0 ? White : SymbolColor(k.expectRight));
    }
}

TEST(Compose, SymbolColumnDrawsSymbolZeroButMapCellOfZerosIsWhite) {
    TRenderedTileset ts;
    qmtest::MakeTileset(ts, 8);
    QImage bmp;
    ComposeSymbol(bmp, ts, 0);
    EXPECT_EQ(At(bmp, 3, 3), SymbolColor(0));
    ComposeSymbol(bmp, ts, 200);
    EXPECT_EQ(At(bmp, 1, 3), White);
    EXPECT_EQ(At(bmp, 6, 3), SymbolColor(200));
    auto map = qmtest::NewMap();
    ComposeMapCell(bmp, *map, ts, 0, 0);
    EXPECT_EQ(At(bmp, 3, 3), White);
}

TEST(Compose, UnrenderedTilesetComposesBlank) {
    TRenderedTileset ts; // TileSize 0: nothing rendered yet
    auto map = qmtest::NewMap();
    map->Background = 11;
    map->Cell(1, 1) = TMapCell{5, 6, 0};
    QImage bmp;
    ComposeMapCell(bmp, *map, ts, 0, 0);
    ASSERT_FALSE(bmp.isNull());
    EXPECT_EQ(At(bmp, 0, 0), White);
    QImage canvas(32, 32, QImage::Format_RGB32);
    canvas.fill(Qt::blue);
    QPainter p(&canvas);
    DrawScaledCell(p, QRect(0, 0, 16, 16), bmp);
    p.end();
    EXPECT_EQ(At(canvas, 15, 15), White);
    EXPECT_EQ(At(canvas, 16, 16), qRgb(0, 0, 255));
}

TEST(Compose, ScalingAveragesWhenShrinkingAndRepeatsPixelsWhenGrowing) {
    TRenderedTileset ts;
    qmtest::MakeTileset(ts, 8);
    QImage bmp;
    ComposeSymbol(bmp, ts, 201); // black on even columns, colour on odd
    const QImage small = ScaleCellBitmap(bmp, QSize(4, 4));
    const QRgb c = SymbolColor(201), s = small.pixel(1, 1);
    // An averaged stripe is neither pure black nor pure colour.
    EXPECT_NEAR(qGreen(s), qGreen(c) / 2, 2);
    const QImage big = ScaleCellBitmap(bmp, QSize(16, 16));
    for (int x = 0; x < 16; ++x) EXPECT_EQ(At(big, x, 5), (x / 2) % 2 == 0 ? qRgb(0, 0, 0) : c) << x;
}

namespace {

// A map that uses every case: alternating background, hidden and shown symbols on
// both layers, transparent uppers, symbols the tileset lacks, empty cells.
std::unique_ptr<TMapRecord> BusyMap(uint32_t seed) {
    auto map = qmtest::NewMap();
    map->Background = 11;
    map->ShowHidden = 0;
    std::mt19937 rng(seed);
    const uint8_t pool[] = {0, 0, 0, 10, 11, 20, 35, 36, 128, 200, 201, 250, 255};
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            map->Cell(x, y) = TMapCell{pool[rng() % std::size(pool)], pool[rng() % std::size(pool)], uint8_t(rng())};
    return map;
}

QImage PaintAll(const TMapRecord& map, const TRenderedTileset& ts, int size, TCellCache* cache,
                const qm::TGridRect& sel) {
    // A corner of the map is enough to meet every case and keeps the test quick.
    constexpr int n = 24;
    QImage canvas(n * size, n * size, QImage::Format_RGB32);
    canvas.fill(Qt::magenta);
    QImage bmp;
    QPainter p(&canvas);
    for (int c = 0; c < n; ++c)
        for (int r = 0; r < n; ++r)
            DrawMapGridCell(p, c, r, QRect(c * size, r * size, size, size), sel.Contains(c, r), map, ts, bmp, cache);
    return canvas;
}

} // namespace

TEST(CellCache, GivesTheSamePixelsAsComposingAndScaling) {
    TRenderedTileset ts;
    qmtest::MakeTileset(ts, 48, 250);
    ts.HiddenFlags[35] = ts.HiddenFlags[36] = 1;
    const TGridRect sel{3, 4, 9, 6};
    for (uint8_t showHidden : {0, 1}) {
        auto map = BusyMap(7 + showHidden);
        map->ShowHidden = showHidden;
        TCellCache cache;
        for (int size : {8, 16, 32, 48, 64, 80, 96, 50, 13}) {
            SCOPED_TRACE(size);
            const QImage direct = PaintAll(*map, ts, size, nullptr, sel);
            const QImage cached = PaintAll(*map, ts, size, &cache, sel);
            EXPECT_TRUE(direct == cached);
            // A second pass is served from the cache alone and still matches.
            EXPECT_TRUE(direct == PaintAll(*map, ts, size, &cache, sel));
        }
    }
}

TEST(CellCache, DropsOnNewTilesetGenerationAndOnCellSize) {
    TRenderedTileset ts;
    qmtest::MakeTileset(ts, 8, 256, 1);
    auto map = qmtest::NewMap();
    map->Cell(1, 1).Upper = 20;
    TCellCache cache;
    QImage bmp;
    EXPECT_EQ(At(cache.MapCell(*map, ts, 0, 0, QSize(16, 16), bmp), 0, 0), SymbolColor(20));
    ts.DesktopPalette[20].fill(qRgb(1, 2, 3)); // a new rendering of the same symbol
    ts.Generation = 2;
    EXPECT_EQ(At(cache.MapCell(*map, ts, 0, 0, QSize(16, 16), bmp), 0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(cache.MapCell(*map, ts, 0, 0, QSize(32, 32), bmp).size(), QSize(32, 32));
    EXPECT_EQ(cache.Count(), 1u);
    // Symbol 0 in the symbol column is its image, not the white of an empty map cell;
    // the symbol column's size does not push the map cells out.
    EXPECT_EQ(At(cache.Symbol(ts, 0, QSize(50, 50), bmp), 5, 5), SymbolColor(0));
    EXPECT_EQ(At(cache.MapCell(*map, ts, 1, 1, QSize(32, 32), bmp), 5, 5), White);
    EXPECT_EQ(cache.Count(), 3u);
}

TEST(CellPainters, SelectionOutlinesSitWhereTheyBelong) {
    TRenderedTileset ts;
    qmtest::MakeTileset(ts, 8);
    auto map = qmtest::NewMap();
    map->Background = 12;
    const QRgb bg = SymbolColor(12), blue = qRgb(0, 0, 255), black = qRgb(0, 0, 0);
    for (bool useCache : {false, true}) {
        TCellCache cache;
        QImage bmp, canvas(48, 48, QImage::Format_RGB32);
        canvas.fill(Qt::blue);
        QPainter p(&canvas);
        DrawMapGridCell(p, 0, 0, QRect(10, 10, 16, 16), true, *map, ts, bmp, useCache ? &cache : nullptr);
        p.end();
        // Outline over x 11..25, y 11..25: the cell's last pixel column and row, not its first.
        const struct {
            int x, y;
            QRgb want;
        } px[] = {
            {10, 10, bg},    {11, 11, black}, {25, 11, black}, {11, 25, black}, {25, 25, black}, {18, 11, black},
            {11, 18, black}, {12, 12, bg},    {24, 24, bg},    {10, 25, bg},    {26, 26, blue},
        };
        for (const auto& k : px) EXPECT_EQ(At(canvas, k.x, k.y), k.want) << k.x << "," << k.y;
    }
    for (bool selected : {false, true}) {
        QImage bmp, canvas(48, 48, QImage::Format_RGB32);
        canvas.fill(Qt::blue);
        QPainter p(&canvas);
        DrawSymbolCell(p, 12, QRect(10, 10, 16, 16), selected, ts, bmp, nullptr);
        p.end();
        const QRgb line = selected ? qRgb(255, 0, 0) : qRgb(255, 255, 255);
        // Outline on the rectangle 10..26: the right and bottom lines lie on the grid line.
        EXPECT_EQ(At(canvas, 10, 10), line);
        EXPECT_EQ(At(canvas, 26, 10), line);
        EXPECT_EQ(At(canvas, 26, 26), line);
        EXPECT_EQ(At(canvas, 10, 26), line);
        EXPECT_EQ(At(canvas, 18, 18), bg);
        EXPECT_EQ(At(canvas, 27, 27), blue);
    }
}
