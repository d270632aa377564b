// Rock as paper: which cells print as paper, what stays as drawn, the drawn part and the
// sheets left out going by the places, hatching that runs on across cells, and As Drawn
// printing what it always printed.
#include <QComboBox>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "editor/SmartTerrain.h"
#include "export/ExportPicture.h"
#include "generate/GenerateMap.h"
#include "preview/Printer.h"
#include "print/BattleMat.h"
#include "print/MapPage.h"
#include "print/PrintOptionsDialog.h"
#include "tests/support/GeneratedMapChecks.h"
#include "tests/support/RecordingPrinter.h"

using namespace qm;

namespace {

using Kind = TRecordingCanvas::Kind;

std::unique_ptr<TMapRecord> Generated(TGenStyle style, uint32_t seed) {
    auto m = std::make_unique<TMapRecord>();
    ClearMapRecord(*m);
    TGenerateOptions o;
    o.Style = style;
    o.Seed = seed;
    GenerateMap(*m, o, qmtest::BuiltInGenerator().palette);
    return m;
}

// A hall of 8 x 6 floor cells carved into a map filled with wall terrain stamped by hand
// on a flagstone background, as a game master draws one.
std::unique_ptr<TMapRecord> HandDrawn() {
    auto m = std::make_unique<TMapRecord>();
    ClearMapRecord(*m);
    m->Background = 1;
    for (int x = 1; x <= MapSize; x += 2)
        for (int y = 1; y <= MapSize; y += 2) StampSmartTerrain(*m, x, y, 128, lmUpper);
    for (int x = 15; x <= 22; ++x)
        for (int y = 15; y <= 20; ++y) m->Cell(x, y) = {0, 10, 0};
    // The hall's walls as the stamp leaves them along its edge: halves and inner corners.
    for (int x = 15; x <= 22; ++x) m->Cell(x, 14).Upper = 128 + 1, m->Cell(x, 21).Upper = 128 + 2;
    for (int y = 15; y <= 20; ++y) m->Cell(14, y).Upper = 128 + 3, m->Cell(23, y).Upper = 128 + 4;
    m->Cell(14, 14).Upper = 128 + 11, m->Cell(23, 14).Upper = 128 + 9;
    m->Cell(14, 21).Upper = 128 + 12, m->Cell(23, 21).Upper = 128 + 10;
    return m;
}

// Thin walls (the pieces along a cell's sides) around a room: no rock at all.
std::unique_ptr<TMapRecord> ThinWalls() {
    auto m = std::make_unique<TMapRecord>();
    ClearMapRecord(*m);
    for (int x = 30; x <= 40; ++x)
        for (int y = 30; y <= 36; ++y) m->Cell(x, y) = {uint8_t(y == 30 ? 2 : y == 36 ? 4 : 0), 1, 0};
    return m;
}

class PaperRockTest : public ::testing::Test {
protected:
    TRecordingPrinter printer; // Letter at 600 dpi
    QImage cellBitmap;
    TCellCache cells;
    const TRenderedTileset& ts = qmtest::BuiltInTileset();

    void SetUp() override { SetPrinter(&printer); }
    void TearDown() override { SetPrinter(nullptr); }

    TMapPrintSource Source(const TMapRecord* map, int rock) {
        TMapPrintSource src;
        src.Map = map;
        src.Tileset = &ts;
        src.CellBitmap = &cellBitmap;
        src.Cells = &cells;
        src.Settings.ScaleIndex = 4; // 1.00": 7 x 9 cells a sheet
        src.Settings.WholeMap = false;
        src.Settings.DrawnPart = true;
        src.Settings.Mat.SkipEmpty = true;
        src.Settings.Mat.FitSheets = true;
        src.Settings.Rock = rock;
        return src;
    }
};

TEST_F(PaperRockTest, DrawnPartAndSheetsGoByThePlacesUnlessAsDrawn) {
    struct Row {
        const char* what;
        std::unique_ptr<TMapRecord> map;
        int paperCells;                     // cells that print as nothing but paper
        TGridRect drawn, places;            // drawn part: as drawn, by places
        int sheetsDrawn, sheetsPlaces, out; // sheets printed; left out by places
    };
    Row rows[] = {
        {"generated dungeon", Generated(TGenStyle::Dungeon, 7), 3968, {0, 0, 71, 71}, {5, 2, 67, 70}, 88, 49, 23},
        {"generated caves", Generated(TGenStyle::Caves, 3), 3079, {0, 0, 71, 71}, {4, 1, 69, 68}, 88, 66, 14},
        {"hand-drawn hall", HandDrawn(), 5184 - 80, {0, 0, 71, 71}, {13, 13, 22, 20}, 88, 2, 0},
        {"thin walls", ThinWalls(), 0, {29, 29, 39, 35}, {29, 29, 39, 35}, 2, 2, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        int paper = 0;
        for (int c = 0; c < MapSize; ++c)
            for (int y = 0; y < MapSize; ++y) paper += AllPaper(*r.map, ts, c, y) ? 1 : 0;
        EXPECT_EQ(paper, r.paperCells);
        EXPECT_EQ(DrawnArea(*r.map, &ts), r.drawn);
        EXPECT_EQ(DrawnArea(*r.map, &ts, true), r.places);
        for (int rock : {rpDrawn, rpHatched, rpWhite}) {
            const auto l = SourceLayout(Source(r.map.get(), rock), r.map.get(), 5100, 6600, 600, 600);
            ASSERT_TRUE(l);
            EXPECT_EQ(l->Sheets(), rock == rpDrawn ? r.sheetsDrawn : r.sheetsPlaces) << RockChoices[rock].Word;
            if (rock != rpDrawn) {
                EXPECT_EQ(l->LeftOut, r.out);
            }
        }
    }
}

TEST_F(PaperRockTest, SolidRockIsWhiteAndFacesFloorsAndObjectsStayAsDrawn) {
    // Points of a cell (in cells) for every wall and mountain piece: a quarter's outer corner
    // is solid rock when covered; a point just inside the edge of the rock is its face.
    const QPointF corner[4] = {{0.06, 0.06}, {0.94, 0.06}, {0.06, 0.94}, {0.94, 0.94}};
    TMapRecord m;
    ClearMapRecord(m);
    m.Background = 11;
    const int n = ts.TileSize;
    QImage plain, paper;
    for (int base : {128, 224})
        for (int k = 1; k < 16; ++k) {
            SCOPED_TRACE(base + k);
            m.Cell(1, 1) = {uint8_t(base + k), 10, 0};
            const uint8_t q = RockQuartersOf(ts, uint8_t(base + k));
            ComposePrintedCell(plain, m, ts, 0, 0, false);
            ComposePrintedCell(paper, m, ts, 0, 0, false, true);
            for (int i = 0; i < 4; ++i) {
                const QPoint at(int(corner[i].x() * n), int(corner[i].y() * n));
                EXPECT_EQ(paper.pixel(at), (q >> i & 1) ? qRgb(255, 255, 255) : plain.pixel(at)) << "quarter " << i;
            }
            if (q == (QuarterNW | QuarterNE)) {
                const QPoint face(n / 2, n / 2 - int(0.06 * n));
                EXPECT_EQ(paper.pixel(face), plain.pixel(face));
                EXPECT_NE(paper.pixel(face), qRgb(255, 255, 255));
            }
        }
    // An object on lower-layer rock stays; rock on the upper layer covers what lies below.
    m.Cell(1, 1) = {46, 141, 0};
    ComposePrintedCell(plain, m, ts, 0, 0, false);
    ComposePrintedCell(paper, m, ts, 0, 0, false, true);
    EXPECT_FALSE(AllPaper(m, ts, 0, 0));
    EXPECT_EQ(paper.pixel(n / 2, n / 2), plain.pixel(n / 2, n / 2));
    m.Cell(1, 1) = {141, 46, 0};
    EXPECT_TRUE(AllPaper(m, ts, 0, 0));
}

TEST_F(PaperRockTest, HatchingIsVectorLinesOnOneLatticeWithoutSeams) {
    auto map = HandDrawn();
    // On paper: the rock cells print no picture of their own, one graphic holds the hatching.
    for (int rock : {rpDrawn, rpHatched, rpWhite}) {
        TMapPrintSource src = Source(map.get(), rock);
        src.Settings.Mat.SkipEmpty = false;
        src.Settings.DrawnPart = false;
        src.Settings.WholeMap = false;
        src.Selection = {9, 9, 15, 17}; // a sheet reaching into the hall's corner
        printer.Recorder().Ops.clear();
        TSpecialCanvas s("Print", Printer());
        TPageInfo info;
        info.PageNumber = 1;
        PrintMapPage(info, s, src);
        int images = 0, graphics = 0;
        for (const auto& o : printer.Recorder().Ops) {
            images += o.kind == Kind::StretchDIBits ? 1 : 0;
            graphics += o.kind == Kind::StretchPicture ? 1 : 0;
        }
        int notPaper = 0;
        for (int c = 9; c <= 15; ++c)
            for (int r = 9; r <= 17; ++r) notPaper += AllPaper(*map, ts, c, r) ? 0 : 1;
        EXPECT_EQ(images, rock == rpDrawn ? 63 : notPaper) << RockChoices[rock].Word;
        EXPECT_EQ(graphics, rock == rpHatched ? 1 : 0) << RockChoices[rock].Word;
    }
    // In the picture, the band is the same along every 45-degree diagonal across cell borders
    // (lines of one lattice), and rock farther than a cell from the hall is white.
    const int zoom = 32;
    const QImage pic = ComposeMapPicture(*map, ts, {8, 8, 32, 28}, zoom, rpHatched);
    // Rows 13 and 14 (1-based) above the hall, drawn as two bands: the first pixel row of
    // row 14 and a row of its solid rock, across the wall's cells from corner to corner.
    for (int y : {(13 - 8) * zoom, (13 - 8) * zoom + 6}) {
        int dark = 0;
        for (int x = (13 - 8) * zoom; x < (23 - 8) * zoom; ++x) {
            // Bands are drawn apart, so their smoothing may differ by a shade, never by a line.
            ASSERT_LE(std::abs(qGray(pic.pixel(x, y)) - qGray(pic.pixel(x + 1, y - 1))), 8) << x << ", " << y;
            dark += qGray(pic.pixel(x, y)) < 160 ? 1 : 0;
        }
        EXPECT_GE(dark, 10 * 8); // at least a pixel of every line
    }
    EXPECT_EQ(pic.pixel(2, 2), qRgb(255, 255, 255)); // far from the hall
    EXPECT_EQ(ComposeMapPicture(*map, ts, {8, 8, 32, 28}, zoom, rpWhite).pixel(18 * zoom, 5 * zoom + 6),
              qRgb(255, 255, 255));
}

TEST_F(PaperRockTest, WithoutRockEveryChoicePrintsAsDrawn) {
    // A map with no wall or mountain terrain: the same picture and the same page whatever the choice.
    auto map = ThinWalls();
    map->Background = 11;
    const QImage drawn = ComposeMapPicture(*map, ts, {28, 28, 42, 38}, 16, rpDrawn);
    for (int rock : {rpHatched, rpWhite})
        EXPECT_EQ(ComposeMapPicture(*map, ts, {28, 28, 42, 38}, 16, rock), drawn) << RockChoices[rock].Word;
}

} // namespace

namespace {

TEST_F(PaperRockTest, PrintPropertiesOffersTheRockBesideTheBattleMatOptions) {
    TPrintOptions dlg;
    QStringList items;
    for (int i = 0; i < dlg.RockCombo->count(); ++i) items << dlg.RockCombo->itemText(i);
    EXPECT_EQ(items, (QStringList{"As Drawn", "Hatched Edge", "White"}));
    EXPECT_EQ(dlg.Settings().Rock, rpDrawn);
    dlg.show();
    QTest::mouseClick(dlg.BattleMatBut, Qt::LeftButton);
    EXPECT_TRUE(dlg.RockCombo->isVisible());
    EXPECT_TRUE(dlg.BattleMatGroup->rect().contains(dlg.RockCombo->geometry()));
    EXPECT_TRUE(dlg.rect().contains(dlg.BattleMatGroup->geometry()));
    dlg.RockCombo->setCurrentIndex(1);
    EXPECT_EQ(dlg.Settings().Rock, rpHatched);
    QTest::mouseClick(dlg.BattleMatBut, Qt::LeftButton);
    EXPECT_EQ(dlg.size(), QSize(225, 269));
}

} // namespace
