#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

#include "dialogs/Dialogs.h"
#include "preview/PrintPreview.h"
#include "preview/Printer.h"
#include "print/BattleMat.h"
#include "print/MapPage.h"
#include "print/PrintOptionsDialog.h"
#include "tests/support/RecordingPrinter.h"
#include "tests/support/ScriptedDialogs.h"

using namespace qm;

namespace {

using Op = TRecordingCanvas::Op;

// Symbols with a pattern of their own, so that a shifted or rescaled cell shows.
void MakePatternTileset(TRenderedTileset& ts, int tileSize) {
    ts.TileSize = tileSize;
    ts.Generation = 1;
    for (int s = 0; s < 256; ++s) {
        QImage im(tileSize, tileSize, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < tileSize; ++y)
            for (int x = 0; x < tileSize; ++x)
                im.setPixel(x, y, qRgb((s * 7 + x * 29) & 0xff, (s * 13 + y * 31) & 0xff, (x * y * 5 + s) & 0xff));
        ts.DesktopPalette[s] = im;
    }
    // Symbol 200: a wall with a transparent border and an opaque black core.
    QImage wall(tileSize, tileSize, QImage::Format_ARGB32_Premultiplied);
    wall.fill(Qt::transparent);
    for (int y = tileSize / 4; y < tileSize * 3 / 4; ++y)
        for (int x = tileSize / 4; x < tileSize * 3 / 4; ++x) wall.setPixel(x, y, qRgb(20, 20, 30));
    ts.DesktopPalette[200] = wall;
    ts.HiddenFlags.fill(0);
    ts.HiddenFlags[35] = 1;
    ts.LayerFlags.fill(0);
}

class BattleMatTest : public ::testing::Test {
protected:
    TRecordingPrinter printer;
    qmtest::TScriptedDialogs dialogs;
    TRenderedTileset ts;
    std::unique_ptr<TMapRecord> map = std::make_unique<TMapRecord>();
    QImage cellBitmap;
    TMapPrintSource src;

    void SetUp() override {
        SetPrinter(&printer);
        SetDialogs(&dialogs);
        MakePatternTileset(ts, 16);
        ClearMapRecord(*map);
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) map->Cell(x, y).Lower = static_cast<uint8_t>(1 + (x * 3 + y * 7) % 150);
        src.Map = map.get();
        src.Tileset = &ts;
        src.CellBitmap = &cellBitmap;
        src.Settings.PrintTitle = false;
        src.Settings.ScaleIndex = 4;
    }
    void TearDown() override {
        SetPrinter(nullptr);
        SetDialogs(nullptr);
    }
    std::vector<Op> Page(int p, bool* last = nullptr) {
        printer.Recorder().Ops.clear();
        TSpecialCanvas s("Print", Printer());
        TPageInfo info;
        info.PageNumber = p;
        PrintMapPage(info, s, src);
        if (last) *last = info.LastPage;
        return printer.Recorder().Ops;
    }
    // The page as the preview paints it, one printer pixel to one image pixel.
    QImage Picture(int p) {
        QImage img(printer.PhysicalPageSize(), QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter painter(&img);
        TPainterCanvas display(&painter, printer.YRes());
        TSpecialCanvas s("Display Page", Printer());
        s.SetPreviewMode(&display);
        TPageInfo info;
        info.PageNumber = p;
        PrintMapPage(info, s, src);
        return img;
    }
    TPageLayout Layout() const { return ComputePageLayout(src.Settings, src.Selection, 5100, 6600, 600, 600); }
    static std::vector<Op> Only(const std::vector<Op>& ops, TRecordingCanvas::Kind k) {
        std::vector<Op> out;
        for (auto& o : ops)
            if (o.kind == k) out.push_back(o);
        return out;
    }
};

TEST(BattleMatLayoutTest, OverlapCorrectionAndSkipEmptyOnALetterSheet) {
    struct Row {
        const char* what;
        int scale, overlap, correction;
        bool skip, overview, title;
        int CW, CPP, RPP, OVX, sheetCols, sheetRows, pages;
    };
    const Row rows[] = {
        {"defaults", 4, ovNone, 1000, false, false, false, 600, 7, 10, 0, 11, 11, 121},
        {"1/4\" overlap", 4, ovQuarter, 1000, false, false, false, 600, 7, 9, 150, 11, 11, 121},
        {"1/2\" overlap at 0.25\"", 1, ovHalf, 1000, false, false, false, 150, 28, 38, 300, 3, 3, 9},
        {"98.0 %", 4, ovNone, 980, false, false, false, 588, 7, 10, 0, 11, 11, 121},
        {"102.5 %", 4, ovNone, 1025, false, false, false, 615, 7, 9, 0, 11, 11, 121},
        {"skip empty, titles", 4, ovNone, 1000, true, false, true, 600, 7, 9, 0, 11, 8, 88},
        {"skip empty and overview", 4, ovNone, 1000, true, true, false, 600, 7, 10, 0, 11, 8, 89},
        {"fit ignores overlap and correction", 0, ovHalf, 950, false, false, false, 62, 72, 96, 0, 1, 1, 1},
    };
    for (const Row& r : rows) {
        TPrintSettings s;
        s.ScaleIndex = r.scale;
        s.PrintTitle = r.title;
        s.Mat.Overlap = r.overlap;
        s.Mat.Correction = r.correction;
        s.Mat.SkipEmpty = r.skip;
        s.Mat.Overview = r.overview;
        const TPageLayout l = ComputePageLayout(s, {}, 5100, 6600, 600, 600);
        EXPECT_EQ(l.CW, r.CW) << r.what;
        EXPECT_EQ(l.CPP, r.CPP) << r.what;
        EXPECT_EQ(l.RPP, r.RPP) << r.what;
        EXPECT_EQ(l.OVX, r.OVX) << r.what;
        EXPECT_EQ(l.SheetCols, r.sheetCols) << r.what;
        EXPECT_EQ(l.SheetRows, r.sheetRows) << r.what;
        EXPECT_EQ(l.Pages(), r.pages) << r.what;
    }
}

TEST(BattleMatLayoutTest, SheetLabels) {
    struct Row {
        int pr, pc;
        const char* label;
    };
    const Row rows[] = {{1, 1, "A1"}, {2, 11, "B11"}, {26, 3, "Z3"}, {27, 1, "AA1"}, {28, 2, "AB2"}, {53, 4, "BA4"}};
    for (const Row& r : rows) EXPECT_EQ(SheetLabel(r.pr, r.pc), r.label);
}

TEST_F(BattleMatTest, OverlapStripsRepeatTheNeighboursPixelForPixel) {
    printer.SetGeometry(100, 100, QSize(850, 1100));
    src.Settings.GridStyle = gsAlignedSquares;
    for (int overlap : {ovEighth, ovQuarter, ovHalf}) {
        src.Settings.Mat.Overlap = overlap;
        const TPageLayout l = ComputePageLayout(src.Settings, {}, 850, 1100, 100, 100);
        const int ov = l.OVX, w = l.CPP * l.CW, h = l.RPP * l.CH, n = l.SheetCols;
        ASSERT_GT(ov, 0);
        const QImage a1 = Picture(1), a2 = Picture(2), b1 = Picture(1 + n), b2 = Picture(2 + n);
        // A1's right strip is A2's first columns; its bottom strip B1's first rows;
        // its corner B2's top-left corner.
        EXPECT_EQ(a1.copy(50 + w, 50, ov, h), a2.copy(50, 50, ov, h)) << overlap;
        EXPECT_EQ(a1.copy(50, 50 + h, w, ov), b1.copy(50, 50, w, ov)) << overlap;
        EXPECT_EQ(a1.copy(50 + w, 50 + h, ov, ov), b2.copy(50, 50, ov, ov)) << overlap;
        // Past the strips the sheet is paper.
        const QImage past = a1.copy(50 + w + ov, 50, 850 - 50 - w - ov, h + ov);
        EXPECT_EQ(past.convertToFormat(QImage::Format_RGB32), [&] {
            QImage white(past.size(), QImage::Format_RGB32);
            white.fill(Qt::white);
            return white;
        }()) << overlap;
        // The strip holds map content, not paper.
        EXPECT_NE(a1.pixel(50 + w + ov / 2, 50 + l.CH / 2), qRgb(255, 255, 255)) << overlap;
    }
    // The last sheet column has no neighbour to repeat: nothing past its cells.
    src.Settings.Mat.Overlap = ovQuarter;
    const TPageLayout l = ComputePageLayout(src.Settings, {}, 850, 1100, 100, 100);
    const QImage last = Picture(l.PX);
    const int cols = MapSize - (l.PX - 1) * l.CPP;
    EXPECT_EQ(last.pixel(50 + cols * l.CW + 3, 50 + 3), qRgb(255, 255, 255));
}

TEST_F(BattleMatTest, MarksLieOnTheTrimLinesInTheMarginsAndGlueStripsAreHatched) {
    src.Settings.Mat.Overlap = ovQuarter;
    src.Settings.Mat.Marks = true;
    const TPageLayout l = Layout();
    const TSheetFrame f = SheetFrame(l, 1, 1);
    const int left = 300, top = 300, right = 300 + 7 * 600, bottom = 300 + 9 * 600;
    ASSERT_EQ(f.Trim, QRect(left, top, right - left, bottom - top));
    const QRect printed(left, top, right - left + 150, bottom - top + 150);
    const auto ops = Page(1);
    int marks = 0, hatches = 0;
    const QRect rightStrip(right, top, 150, bottom + 150 - top), bottomStrip(left, bottom, right - left, 150);
    for (size_t i = 1; i < ops.size(); ++i) {
        if (ops[i].kind != TRecordingCanvas::Kind::LineTo || ops[i - 1].kind != TRecordingCanvas::Kind::MoveTo)
            continue;
        const QPoint a = ops[i - 1].pt, b = ops[i].pt;
        if (ops[i].penColor == QColor(Qt::black) && ops[i].penWidth == 3) {
            ++marks;
            const bool vertical = a.x() == b.x();
            EXPECT_TRUE(vertical ? (a.x() == left || a.x() == right) : (a.y() == top || a.y() == bottom))
                << a.x() << "," << a.y();
            EXPECT_FALSE(printed.contains(a) || printed.contains(b)) << a.x() << "," << a.y();
        } else if (ops[i].penColor.red() > 128 && ops[i].penColor.red() == ops[i].penColor.green()) {
            ++hatches;
            const bool inRight = rightStrip.adjusted(0, 0, 1, 1).contains(a) &&
                                 rightStrip.adjusted(0, 0, 1, 1).contains(b);
            const bool inBottom = bottomStrip.adjusted(0, 0, 1, 1).contains(a) &&
                                  bottomStrip.adjusted(0, 0, 1, 1).contains(b);
            EXPECT_TRUE(inRight || inBottom) << a.x() << "," << a.y() << " " << b.x() << "," << b.y();
        }
    }
    EXPECT_EQ(marks, 8);
    EXPECT_GT(hatches, 20);
    // The pen the next page starts with is the one this page was given.
    EXPECT_EQ(printer.Recorder().Pen.Width(), 1);
    // Marks off: the same page draws no mark and no hatching.
    src.Settings.Mat.Marks = false;
    for (const Op& o : Only(Page(1), TRecordingCanvas::Kind::LineTo)) ADD_FAILURE() << "line at " << o.pt.x();
}

TEST_F(BattleMatTest, EveryPrintedSheetCarriesItsLabelAndSkipEmptyPrintsEightyEight) {
    src.Settings.PrintTitle = true;
    src.Settings.Mat.Marks = true;
    src.Settings.Mat.SkipEmpty = true;
    src.MapFileName = "/maps/keep.map";
    TMapPageHandler handler([this] { return src; });
    TPrintPreview preview;
    handler.Bind(preview);
    preview.PrintDocument();
    ASSERT_EQ(printer.PagesPrinted(), 88);
    std::set<QString> labels;
    for (int p = 1; p <= 88; ++p) {
        const auto texts = Only(printer.OpsOnPage(p), TRecordingCanvas::Kind::TextOut);
        ASSERT_EQ(texts.size(), 2u) << p;
        const int pr = (p - 1) / 11 + 1, pc = (p - 1) % 11 + 1;
        EXPECT_EQ(texts[0].text, PageTitle(src.MapFileName, pc, pr, true)) << p;
        EXPECT_EQ(texts[1].text, SheetLabel(pr, pc)) << p;
        EXPECT_GT(texts[1].pt.y(), 300 + 150 + 9 * 600) << p; // under the cells, in the margin
        EXPECT_FALSE(Only(printer.OpsOnPage(p), TRecordingCanvas::Kind::StretchDIBits).empty())
            << "sheet " << p << " is empty";
        labels.insert(texts[1].text);
    }
    EXPECT_EQ(labels.size(), 88u);
    EXPECT_TRUE(labels.count("H11"));
}

TEST_F(BattleMatTest, OverviewComesFirstWithAGridOfLabelsAndATwoInchRuler) {
    src.Settings.Mat.Overview = true;
    src.Settings.Mat.SkipEmpty = true;
    struct Row {
        int correction;
        int side;
    };
    for (const Row& r : {Row{1000, 1200}, Row{980, 1176}, Row{1050, 1260}}) {
        src.Settings.Mat.Correction = r.correction;
        bool last = true;
        const auto ops = Page(1, &last);
        EXPECT_FALSE(last);
        // The ruler is the last square drawn: four sides of equal length.
        std::vector<QPoint> corners;
        for (size_t i = 0; i + 4 < ops.size(); ++i) {
            if (ops[i].kind != TRecordingCanvas::Kind::MoveTo) continue;
            bool frame = true;
            for (size_t k = 1; k <= 4; ++k) frame = frame && ops[i + k].kind == TRecordingCanvas::Kind::LineTo;
            if (frame && ops[i + 4].pt == ops[i].pt) corners = {ops[i].pt, ops[i + 1].pt, ops[i + 2].pt, ops[i + 3].pt};
        }
        ASSERT_EQ(corners.size(), 4u);
        EXPECT_EQ(corners[1].x() - corners[0].x(), r.side) << r.correction;
        EXPECT_EQ(corners[2].y() - corners[1].y(), r.side) << r.correction;
        // Every sheet's label, once.
        std::multiset<QString> texts;
        for (const Op& o : Only(ops, TRecordingCanvas::Kind::TextOut)) texts.insert(o.text);
        EXPECT_EQ(texts.count("A1"), 1u);
        EXPECT_EQ(texts.count("H11"), 1u);
        EXPECT_EQ(texts.count("I1"), 0u);
    }
    // The sheets follow it, their titles naming them as the overview does: page 2 is A1, the last page H11.
    src.Settings.PrintTitle = true;
    src.MapFileName = "keep.map";
    EXPECT_EQ(Only(Page(1), TRecordingCanvas::Kind::TextOut).front().text, "[Overview] - keep.map");
    EXPECT_EQ(Only(Page(2), TRecordingCanvas::Kind::TextOut).front().text, "[1x / 1y] A1 - keep.map");
    bool last = false;
    EXPECT_EQ(Only(Page(89, &last), TRecordingCanvas::Kind::TextOut).front().text, "[11x / 8y] H11 - keep.map");
    EXPECT_TRUE(last);
}

TEST_F(BattleMatTest, PlayerCopyLeavesHiddenSymbolsOutWhateverShowHiddenSays) {
    src.Settings.ScaleIndex = 0;
    src.Settings.WholeMap = false;
    src.Selection = {0, 0, 1, 0};
    map->Cell(1, 1) = {35, 0, 0}; // only a hidden symbol
    map->Cell(2, 1) = {35, 4, 0}; // hidden over ground
    const QRgb hidden = ts.DesktopPalette[35].pixel(8, 8), ground = ts.DesktopPalette[4].pixel(8, 8);
    struct Row {
        uint8_t showHidden;
        int mode;
        QRgb first, second;
    };
    const Row rows[] = {
        {1, hpAsMap, hidden, hidden},
        {1, hpLeaveOut, qRgb(255, 255, 255), ground},
        {0, hpLeaveOut, qRgb(255, 255, 255), ground},
        {0, hpShow, hidden, hidden},
    };
    for (const Row& r : rows) {
        map->ShowHidden = r.showHidden;
        src.Settings.Mat.Hidden = r.mode;
        const auto cells = Only(Page(1), TRecordingCanvas::Kind::StretchDIBits);
        ASSERT_EQ(cells.size(), 2u);
        EXPECT_EQ(cells[0].imageCentre.rgb(), r.first) << r.mode;
        EXPECT_EQ(cells[1].imageCentre.rgb(), r.second) << r.mode;
    }
    EXPECT_EQ(map->ShowHidden, 0); // the map itself is left as it was
}

TEST_F(BattleMatTest, InkSaverWashesTheGroundAndKeepsWallsFullStrength) {
    printer.SetGeometry(100, 100, QSize(850, 1100));
    src.Settings.ScaleIndex = 0;
    src.Settings.GridStyle = gsAlignedSquares;
    map->Background = 7;
    auto ink = [](const QImage& im) {
        double sum = 0;
        for (int y = 0; y < im.height(); ++y)
            for (int x = 0; x < im.width(); ++x) {
                const QRgb p = im.pixel(x, y);
                sum += 765 - qRed(p) - qGreen(p) - qBlue(p);
            }
        return sum;
    };
    const QImage normal = Picture(1);
    src.Settings.Mat.InkSaver = true;
    const QImage saver = Picture(1);
    // Ground only, grid lines left out of the count: at most a quarter of the ink.
    const QRect inner(52, 52, 8, 8); // inside the first 10-pixel cell
    EXPECT_LE(ink(saver.copy(inner)), 0.25 * ink(normal.copy(inner)));
    EXPECT_GT(ink(saver.copy(inner)), 0.15 * ink(normal.copy(inner)));
    // The grid stays black.
    EXPECT_EQ(saver.pixel(50, 55), normal.pixel(50, 55));
    EXPECT_EQ(qGray(saver.pixel(50, 55)), 0);

    // A wall over the ground: its opaque core prints unchanged, the ground around it washed.
    src.Settings.WholeMap = false;
    src.Selection = {4, 4, 4, 4};
    map->Cell(5, 5).Upper = 200;
    src.Settings.Mat.InkSaver = false;
    const QImage wallNormal = Picture(1);
    src.Settings.Mat.InkSaver = true;
    const QImage wallSaver = Picture(1);
    EXPECT_EQ(wallSaver.pixel(50 + 375, 50 + 375), qRgb(20, 20, 30));
    EXPECT_EQ(wallSaver.copy(50 + 200, 50 + 200, 350, 350), wallNormal.copy(50 + 200, 50 + 200, 350, 350));
    EXPECT_LE(ink(wallSaver.copy(60, 60, 100, 100)), 0.25 * ink(wallNormal.copy(60, 60, 100, 100)));
}

TEST_F(BattleMatTest, DialogGroupDefaultsReproduceThePlainPrintoutAndReadBack) {
    TPrintOptions dlg;
    EXPECT_EQ(dlg.Settings().Mat, TBattleMatOptions{});
    EXPECT_FALSE(dlg.BattleMatGroup->isVisibleTo(&dlg));
    QStringList overlaps;
    for (int i = 0; i < dlg.OverlapCombo->count(); ++i) overlaps << dlg.OverlapCombo->itemText(i);
    EXPECT_EQ(overlaps, (QStringList{"None", "1/8\"", "1/4\"", "1/2\""}));
    dlg.show();
    QTest::mouseClick(dlg.BattleMatBut, Qt::LeftButton);
    EXPECT_TRUE(dlg.BattleMatGroup->isVisible());
    EXPECT_EQ(dlg.BattleMatBut->text(), "Battle Mat <<");
    EXPECT_TRUE(dlg.rect().contains(dlg.BattleMatGroup->geometry()));
    for (QWidget* w : dlg.BattleMatGroup->findChildren<QWidget*>()) {
        if (w->parentWidget() != dlg.BattleMatGroup) continue;
        EXPECT_TRUE(dlg.BattleMatGroup->rect().contains(w->geometry())) << w->objectName().toStdString();
    }
    dlg.OverlapCombo->setCurrentIndex(2);
    QTest::mouseClick(dlg.MarksCB, Qt::LeftButton);
    QTest::mouseClick(dlg.OverviewCB, Qt::LeftButton);
    QTest::mouseClick(dlg.SkipEmptyCB, Qt::LeftButton);
    QTest::mouseClick(dlg.PlayerCopyCB, Qt::LeftButton);
    QTest::mouseClick(dlg.InkSaverCB, Qt::LeftButton);
    dlg.CorrectionEdit->setValue(98.0);
    const TBattleMatOptions want{ovQuarter, true, true, 980, true, hpLeaveOut, true};
    EXPECT_EQ(dlg.Settings().Mat, want);
    dlg.CorrectionEdit->setValue(110.0);
    EXPECT_EQ(dlg.Settings().Mat.Correction, 1050);
    QTest::mouseClick(dlg.BattleMatBut, Qt::LeftButton);
    EXPECT_EQ(dlg.size(), QSize(225, 269));
    EXPECT_EQ(dlg.Settings().Mat.Overlap, ovQuarter); // hidden, the choices stay
}

} // namespace
