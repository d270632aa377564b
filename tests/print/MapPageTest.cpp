#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <set>

#include "dialogs/Dialogs.h"
#include "preview/PreviewWindow.h"
#include "preview/PrintPreview.h"
#include "preview/Printer.h"
#include "preview/QtPrinter.h"
#include "print/MapPage.h"
#include "print/PrintOptionsDialog.h"
#include "tests/TestSupport.h"
#include "tests/support/RecordingPrinter.h"
#include "tests/support/ScriptedDialogs.h"

using namespace qm;

namespace {

QRgb SymbolColor(int s) { return qRgb(s, 255 - s, (s * 37 + 11) & 0x7f); }

void MakeTileset(TRenderedTileset& ts, int tileSize) {
    ts.TileSize = tileSize;
    ts.Generation = 1;
    for (int s = 0; s < 256; ++s) {
        QImage im(tileSize, tileSize, QImage::Format_ARGB32_Premultiplied);
        im.fill(SymbolColor(s));
        ts.DesktopPalette[s] = im;
    }
    ts.HiddenFlags.fill(0);
    ts.HiddenFlags[35] = 1;
    ts.LayerFlags.fill(0);
}

// Symbol shown by map cell (x, y) in the test map: every cell differs from its neighbours.
uint8_t CellSymbol(int x, int y) { return static_cast<uint8_t>(1 + (x * 3 + y * 7) % 200); }

class MapPageTest : public ::testing::Test {
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
        MakeTileset(ts, 8);
        ClearMapRecord(*map);
        src.Map = map.get();
        src.Tileset = &ts;
        src.CellBitmap = &cellBitmap;
        src.Settings.PrintTitle = false;
    }
    void TearDown() override {
        SetPrinter(nullptr);
        SetDialogs(nullptr);
    }
    void FillMap() {
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) map->Cell(x, y).Lower = CellSymbol(x, y);
    }
    // Draws one page on a print-mode surface and returns what reached the printer.
    std::vector<TRecordingCanvas::Op> Page(int p, bool* last = nullptr) {
        printer.Recorder().Ops.clear();
        TSpecialCanvas s("Print", Printer());
        TPageInfo info;
        info.PageNumber = p;
        PrintMapPage(info, s, src);
        if (last) *last = info.LastPage;
        return printer.Recorder().Ops;
    }
    static std::vector<TRecordingCanvas::Op> Only(const std::vector<TRecordingCanvas::Op>& ops,
                                                  TRecordingCanvas::Kind k) {
        std::vector<TRecordingCanvas::Op> out;
        for (auto& o : ops)
            if (o.kind == k) out.push_back(o);
        return out;
    }
};

TEST(PageLayoutTest, LayoutsOnALetterSheetAt600Dpi) {
    struct Row {
        const char* what;
        TPrintSettings s;
        TGridRect sel;
        int CW, CH, CPP, RPP, N;
        bool empty;
    };
    TPrintSettings fit;
    fit.PrintTitle = false;
    TPrintSettings inch = fit;
    inch.ScaleIndex = 4;
    TPrintSettings fitTitle = fit;
    fitTitle.PrintTitle = true;
    TPrintSettings one = fit;
    one.WholeMap = false;
    TPrintSettings quarter = fit;
    quarter.ScaleIndex = 1;
    quarter.LeftMargin = 0;
    quarter.RightMargin = 3;
    TPrintSettings huge = fit;
    huge.ScaleIndex = 6;
    huge.LeftMargin = huge.RightMargin = 3; // 5100 - 1800 = 3300 wide: 900-pixel cells fit 3
    const Row rows[] = {
        {"fit, whole map", fit, {}, 62, 62, 72, 96, 1, false},
        {"1.00 inch", inch, {}, 600, 600, 7, 10, 11, false},
        {"fit with title", fitTitle, {}, 62, 62, 72, 94, 1, false},
        {"one selected cell", one, {5, 9, 5, 9}, 4500, 4500, 1, 1, 1, false},
        {"0.25 inch, odd margins", quarter, {}, 150, 150, 27, 40, 3, false},
        {"1.50 inch, wide margins", huge, {}, 900, 900, 3, 6, 24, false},
    };
    for (const Row& r : rows) {
        const TPageLayout l = ComputePageLayout(r.s, r.sel, 5100, 6600, 600, 600);
        EXPECT_EQ(l.CW, r.CW) << r.what;
        EXPECT_EQ(l.CH, r.CH) << r.what;
        EXPECT_EQ(l.CPP, r.CPP) << r.what;
        EXPECT_EQ(l.RPP, r.RPP) << r.what;
        EXPECT_EQ(l.N, r.N) << r.what;
        EXPECT_EQ(l.Empty, r.empty) << r.what;
    }
    const TPageLayout l = ComputePageLayout(inch, {}, 5100, 6600, 600, 600);
    EXPECT_EQ(l.AW, 4500);
    EXPECT_EQ(l.AH, 6000);
    EXPECT_EQ(l.PX, 11);
    EXPECT_EQ(l.PY, 8);
    EXPECT_EQ(l.Pages(), 121);
    int pr = 0, pc = 0;
    PagePosition(l, 12, pr, pc);
    EXPECT_EQ(pr, 2);
    EXPECT_EQ(pc, 1);
    PagePosition(l, 121, pr, pc);
    EXPECT_EQ(pr, 11);
    EXPECT_EQ(pc, 11);
}

TEST(PageLayoutTest, DegenerateLayoutsNeitherDivideByZeroNorLoop) {
    struct Row {
        const char* what;
        int scale, margin;
        int w, h;
    };
    const Row rows[] = {
        {"fit, cell of 0 pixels", 0, 0, 350, 6600},
        {"fit, sheet narrower than the margins", 0, 0, 200, 6600},
        {"fit, no room at all", 0, 3, 1000, 1000},
        {"fixed cell wider than the room", 6, 3, 2000, 6600},
        {"fixed cell taller than the room", 6, 3, 6600, 2000},
    };
    for (const Row& r : rows) {
        TPrintSettings s;
        s.ScaleIndex = r.scale;
        s.LeftMargin = s.RightMargin = s.TopMargin = s.BottomMargin = r.margin;
        const TPageLayout l = ComputePageLayout(s, {}, r.w, r.h, 600, 600);
        EXPECT_TRUE(l.Empty) << r.what;
        EXPECT_EQ(l.Pages(), 1) << r.what;
    }
}

TEST_F(MapPageTest, FitToPageIsOnePageOfSixtyTwoPixelCells) {
    FillMap();
    bool last = false;
    const auto ops = Page(1, &last);
    EXPECT_TRUE(last);
    const auto cells = Only(ops, TRecordingCanvas::Kind::StretchDIBits);
    ASSERT_EQ(cells.size(), 72u * 72u);
    EXPECT_EQ(cells.front().rect, QRect(300, 300, 62, 62));
    EXPECT_EQ(cells.back().rect, QRect(300 + 71 * 62, 300 + 71 * 62, 62, 62));
    EXPECT_TRUE(Only(ops, TRecordingCanvas::Kind::TextOut).empty());
}

TEST_F(MapPageTest, InchCellsTileOverOneHundredTwentyOnePages) {
    FillMap();
    src.Settings.ScaleIndex = 4;
    // Page 12: page row 2, page column 1: map columns 1..7, rows 11..20.
    bool last = true;
    const auto cells = Only(Page(12, &last), TRecordingCanvas::Kind::StretchDIBits);
    EXPECT_FALSE(last);
    ASSERT_EQ(cells.size(), 70u);
    std::set<std::pair<int, int>> seen;
    for (const auto& c : cells) {
        const int h = (c.rect.left() - 300) / 600 + 1, m = (c.rect.top() - 300) / 600 + 1;
        const int x = h, y = 10 + m;
        EXPECT_EQ(c.rect.size(), QSize(600, 600));
        EXPECT_EQ(c.imageCentre.rgb(), SymbolColor(CellSymbol(x, y))) << x << "," << y;
        seen.insert({x, y});
    }
    EXPECT_EQ(seen.size(), 70u);
    // The last page column holds only map column 71..72; page row 8 only rows 71..72.
    EXPECT_EQ(Only(Page(11), TRecordingCanvas::Kind::StretchDIBits).size(), 2u * 10u);
    EXPECT_EQ(Only(Page(88), TRecordingCanvas::Kind::StretchDIBits).size(), 2u * 2u);
    for (int p : {89, 100, 110, 120}) EXPECT_TRUE(Only(Page(p), TRecordingCanvas::Kind::StretchDIBits).empty()) << p;
    bool lastFlag = false;
    Page(121, &lastFlag);
    EXPECT_TRUE(lastFlag);
    Page(120, &lastFlag);
    EXPECT_FALSE(lastFlag);
}

TEST_F(MapPageTest, TitleTexts) {
    src.Settings.PrintTitle = true;
    src.Settings.ScaleIndex = 4;
    struct Row {
        QString file;
        int page;
        QString title;
    };
    const Row rows[] = {
        {"", 1, "[Untitled]"},
        {"", 12, "[Untitled]"},
        {"/home/me/maps/keep.map", 12, "[1x / 2y] - keep.map"},
        {"/home/me/maps/keep.map", 14, "[3x / 2y] - keep.map"},
        {"cave.map", 121, "[11x / 11y] - cave.map"},
    };
    for (const Row& r : rows) {
        src.MapFileName = r.file;
        const auto texts = Only(Page(r.page), TRecordingCanvas::Kind::TextOut);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, r.title);
        EXPECT_EQ(texts[0].pt, QPoint(60 + 300, 300));
        EXPECT_EQ(texts[0].fontName, "Ariel");
        EXPECT_EQ(texts[0].fontHeight, -150); // 18 points at 600 dpi
    }
    // With the title, cells start under the quarter-inch band.
    map->Cell(1, 1).Upper = 5;
    const auto cells = Only(Page(1), TRecordingCanvas::Kind::StretchDIBits);
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].rect.topLeft(), QPoint(300, 450));
}

TEST_F(MapPageTest, OneSelectedCellFillsThePage) {
    map->Cell(10, 20).Upper = 77;
    src.Settings.WholeMap = false;
    src.Selection = {9, 19, 9, 19};
    const auto cells = Only(Page(1), TRecordingCanvas::Kind::StretchDIBits);
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].rect, QRect(300, 300, 4500, 4500));
    EXPECT_EQ(cells[0].imageCentre.rgb(), SymbolColor(77));
}

TEST_F(MapPageTest, BackgroundElevenAlternatesByMapRowOnEveryPage) {
    map->Background = 11;
    src.Settings.ScaleIndex = 4;
    for (int page : {1, 12, 23}) {
        int pr = 0, pc = 0;
        PagePosition(ComputePageLayout(src.Settings, {}, 5100, 6600, 600, 600), page, pr, pc);
        const auto cells = Only(Page(page), TRecordingCanvas::Kind::StretchDIBits);
        ASSERT_EQ(cells.size(), 70u) << page;
        for (const auto& c : cells) {
            const int y = (pr - 1) * 10 + (c.rect.top() - 300) / 600 + 1;
            EXPECT_EQ(c.imageCentre.rgb(), SymbolColor(y % 2 == 1 ? 11 : 10)) << "page " << page << " row " << y;
        }
    }
    map->Background = 12;
    for (const auto& c : Only(Page(12), TRecordingCanvas::Kind::StretchDIBits))
        EXPECT_EQ(c.imageCentre.rgb(), SymbolColor(12));
}

TEST_F(MapPageTest, HiddenSymbolsPrintOnlyWithShowHidden) {
    map->Cell(1, 1).Upper = 35;
    map->Cell(1, 1).Lower = 4;
    map->Cell(2, 1).Upper = 35;
    struct Row {
        uint8_t showHidden;
        QRgb first;
    };
    const Row rows[] = {{1, SymbolColor(35)}, {0, SymbolColor(4)}};
    for (const Row& r : rows) {
        map->ShowHidden = r.showHidden;
        const auto cells = Only(Page(1), TRecordingCanvas::Kind::StretchDIBits);
        // A cell holding only a hidden symbol is still composed (white) when hidden.
        ASSERT_EQ(cells.size(), 2u);
        EXPECT_EQ(cells[0].imageCentre.rgb(), r.first);
        EXPECT_EQ(cells[1].imageCentre.rgb(), r.showHidden ? SymbolColor(35) : qRgb(255, 255, 255));
    }
}

TEST_F(MapPageTest, BlankCellsWithoutBackgroundDrawNothingButKeepTheirGrid) {
    src.Settings.GridStyle = gsAlignedSquares;
    src.Settings.WholeMap = false;
    src.Selection = {0, 0, 1, 0};
    map->Cell(2, 1).Upper = 9;
    const auto ops = Page(1);
    EXPECT_EQ(Only(ops, TRecordingCanvas::Kind::StretchDIBits).size(), 1u);
    const auto lines = Only(ops, TRecordingCanvas::Kind::LineTo);
    ASSERT_EQ(lines.size(), 8u);
    for (const auto& l : lines) {
        EXPECT_EQ(l.penWidth, 1);
        EXPECT_EQ(l.penColor, QColor(Qt::black));
    }
    // Two 2250-pixel squares side by side.
    const auto moves = Only(ops, TRecordingCanvas::Kind::MoveTo);
    EXPECT_EQ(moves[0].pt, QPoint(300, 300));
    EXPECT_EQ(lines[0].pt, QPoint(2550, 300));
    EXPECT_EQ(lines[1].pt, QPoint(2550, 2550));
}

// The first strokes of the first printed cell, as (kind, x, y) relative to its corner.
std::vector<std::tuple<int, int, int>> FirstCellStrokes(const std::vector<TRecordingCanvas::Op>& ops, QPoint corner,
                                                        size_t n) {
    std::vector<std::tuple<int, int, int>> out;
    for (size_t i = 0; i < ops.size() && out.size() < n; ++i) {
        if (ops[i].kind != TRecordingCanvas::Kind::MoveTo && ops[i].kind != TRecordingCanvas::Kind::LineTo) continue;
        out.emplace_back(int(ops[i].kind), ops[i].pt.x() - corner.x(), ops[i].pt.y() - corner.y());
    }
    return out;
}

TEST_F(MapPageTest, HexAndOffsetGridsFollowMapParity) {
    constexpr int M = int(TRecordingCanvas::Kind::MoveTo), L = int(TRecordingCanvas::Kind::LineTo);
    src.Settings.ScaleIndex = 4; // 600-pixel cells: d = 150 + 18 = 168, h = 300
    src.Settings.WholeMap = false;
    using Strokes = std::vector<std::tuple<int, int, int>>;
    struct Row {
        const char* what;
        int style;
        TGridRect sel;
        Strokes first;
    };
    const Row rows[] = {
        {"hexes from column 1 (odd)",
         gsAlignedHexes,
         {0, 0, 5, 5},
         {{M, 0, 0}, {L, 432, 0}, {L, 600, 300}, {L, 432, 600}, {L, 0, 600}}},
        {"hexes from column 2 (even)",
         gsAlignedHexes,
         {1, 0, 5, 5},
         {{M, 600, 0}, {L, 432, 300}, {L, 600, 600}, {M, 432, 300}, {L, 0, 300}}},
        {"offset squares from row 1 (odd)",
         gsOffsetSquares,
         {0, 0, 5, 5},
         {{M, 0, 0}, {L, 600, 0}, {M, 300, 0}, {L, 300, 600}}},
        {"offset squares from row 2 (even)",
         gsOffsetSquares,
         {0, 1, 5, 5},
         {{M, 0, 0}, {L, 600, 0}, {L, 600, 600}, {L, 0, 600}, {L, 0, 0}}},
    };
    for (const Row& r : rows) {
        src.Settings.GridStyle = r.style;
        src.Selection = r.sel;
        const auto ops = Page(1);
        EXPECT_EQ(FirstCellStrokes(ops, QPoint(300, 300), r.first.size()), r.first) << r.what;
        for (const auto& o : Only(ops, TRecordingCanvas::Kind::LineTo)) EXPECT_EQ(o.penWidth, 1) << r.what;
    }
}

TEST_F(MapPageTest, HexOverlayCoversTheCellAreaAndEndsWithACopyPen) {
    src.Settings.ScaleIndex = 4;
    src.Settings.GridStyle = gsHexOverlay;
    // Even a page of page row 11, without cells, gets the overlay.
    printer.Recorder().Pen.SetWidth(5);
    const auto ops = Page(121);
    EXPECT_TRUE(Only(ops, TRecordingCanvas::Kind::StretchDIBits).empty());
    // W = 675, q = 168, step 504; CPP * CW = 4200: k runs to 9 (504 * 9 = 4536 > 4200).
    const auto moves = Only(ops, TRecordingCanvas::Kind::MoveTo);
    // Odd k: two moves, even k: one; 5 odd + 4 even per band, 10 bands.
    EXPECT_EQ(moves.size(), static_cast<size_t>((5 * 2 + 4) * 10));
    const auto lines = Only(ops, TRecordingCanvas::Kind::LineTo);
    EXPECT_EQ(lines.size(), static_cast<size_t>((5 * 3 + 4 * 3) * 10));
    for (const auto& l : lines) {
        EXPECT_EQ(l.penMode, pmMask);
        EXPECT_EQ(l.penWidth, 1);
    }
    EXPECT_EQ(moves[0].pt, QPoint(300, 600)); // k = 1 starts at mid-height
    EXPECT_EQ(lines[0].pt, QPoint(300 + 337, 600));
    EXPECT_EQ(lines[1].pt, QPoint(300 + 504, 300));
    EXPECT_EQ(printer.Recorder().Pen.Width(), 0);
    EXPECT_EQ(printer.Recorder().Pen.Mode(), pmCopy);
}

TEST_F(MapPageTest, NoGridStyleSelectedDrawsNoGrid) {
    map->Cell(1, 1).Upper = 3;
    for (int style : {-1, 0}) {
        src.Settings.GridStyle = style;
        const auto ops = Page(1);
        EXPECT_TRUE(Only(ops, TRecordingCanvas::Kind::LineTo).empty());
        EXPECT_TRUE(Only(ops, TRecordingCanvas::Kind::MoveTo).empty());
    }
}

TEST_F(MapPageTest, DegenerateLayoutPrintsOnlyTheTitleOnOnePage) {
    printer.SetGeometry(600, 600, QSize(1200, 1200));
    src.Settings.PrintTitle = true;
    src.Settings.ScaleIndex = 6;
    src.Settings.GridStyle = gsHexOverlay;
    map->Cell(1, 1).Upper = 3;
    bool last = false;
    const auto ops = Page(1, &last);
    EXPECT_TRUE(last);
    EXPECT_EQ(Only(ops, TRecordingCanvas::Kind::TextOut).size(), 1u);
    EXPECT_TRUE(Only(ops, TRecordingCanvas::Kind::StretchDIBits).empty());
    EXPECT_TRUE(Only(ops, TRecordingCanvas::Kind::LineTo).empty());
}

TEST_F(MapPageTest, HandlersBracketARunWithTheMapTitle) {
    TMapPageHandler handler([this] { return src; });
    std::unique_ptr<TPageInfo> info;
    handler.PrintPreview1BeginPrint(info);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->Title, "Map");
    EXPECT_EQ(info->PageNumber, 0);
    EXPECT_FALSE(info->LastPage);
    TSpecialCanvas s("Paginate", Printer());
    s.SetPaginateMode();
    info->PageNumber = 1;
    handler.PrintPreview1PrintPage(info, s);
    EXPECT_TRUE(info->LastPage);
    handler.PrintPreview1EndPrint(info);
    EXPECT_FALSE(info);
}

// ---- the dialog ----

class PrintOptionsTest : public ::testing::Test {
protected:
    TPrintOptions dlg;
    // Runs exec() with `act` done inside the shown dialog.
    int Exec(std::function<void()> act) {
        QTimer::singleShot(0, act);
        return dlg.exec();
    }
};

TEST_F(PrintOptionsTest, DefaultsItemsAndLayout) {
    EXPECT_EQ(dlg.windowTitle(), "Print Properties");
    EXPECT_EQ(dlg.size(), QSize(225, 269));
    QStringList scale, margin, grid;
    for (int i = 0; i < dlg.ScaleCombo->count(); ++i) scale << dlg.ScaleCombo->itemText(i);
    for (int i = 0; i < dlg.LeftMarginCombo->count(); ++i) margin << dlg.LeftMarginCombo->itemText(i);
    for (int i = 0; i < dlg.GridStyleCombo->count(); ++i) grid << dlg.GridStyleCombo->itemText(i);
    EXPECT_EQ(scale, (QStringList{"Fit To Page", "0.25\"", "0.50\"", "0.75\"", "1.00\"", "1.25\"", "1.50\""}));
    EXPECT_EQ(margin, (QStringList{"0.25\"", "0.50\"", "1.00\"", "1.50\""}));
    EXPECT_EQ(grid, (QStringList{"None", "Aligned Squares", "Aligned Hexes", "Offset Squares", "Hex Overlay"}));
    EXPECT_FALSE(dlg.ScaleCombo->isEditable());
    EXPECT_FALSE(dlg.GridStyleCombo->isEditable());
    EXPECT_EQ(dlg.RadioGroup1->title(), "Print Area");
    EXPECT_EQ(dlg.Button1->text(), "Ok");
    EXPECT_EQ(dlg.Button2->text(), "Cancel");
    const TPrintSettings s = dlg.Settings();
    EXPECT_EQ(s.ScaleIndex, 0);
    EXPECT_TRUE(s.PrintTitle);
    EXPECT_TRUE(s.WholeMap);
    EXPECT_EQ(s.LeftMargin, 1);
    EXPECT_EQ(s.TopMargin, 1);
    EXPECT_EQ(s.RightMargin, 1);
    EXPECT_EQ(s.BottomMargin, 1);
    EXPECT_EQ(s.GridStyle, 0);
    // Every control sits inside the client area.
    for (QWidget* w : dlg.findChildren<QWidget*>()) {
        if (w->parentWidget() != &dlg) continue;
        EXPECT_TRUE(QRect(0, 0, 225, 269).contains(w->geometry())) << w->objectName().toStdString();
    }
}

TEST_F(PrintOptionsTest, ChoicesLastAcrossExecAndCancelKeepsThem) {
    int r = Exec([&] {
        dlg.ScaleCombo->setCurrentIndex(4);
        dlg.TitleCB->setChecked(false);
        QTest::mouseClick(dlg.SelectedRB, Qt::LeftButton);
        dlg.TopMarginCombo->setCurrentIndex(3);
        dlg.GridStyleCombo->setCurrentIndex(2);
        QTest::mouseClick(dlg.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(r, QDialog::Accepted);
    TPrintSettings seenInside;
    r = Exec([&] {
        seenInside = dlg.Settings();
        dlg.LeftMarginCombo->setCurrentIndex(0);
        QTest::mouseClick(dlg.Button2, Qt::LeftButton);
    });
    EXPECT_EQ(r, QDialog::Rejected);
    EXPECT_EQ(seenInside.ScaleIndex, 4);
    EXPECT_FALSE(seenInside.PrintTitle);
    EXPECT_FALSE(seenInside.WholeMap);
    EXPECT_EQ(seenInside.TopMargin, 3);
    EXPECT_EQ(seenInside.GridStyle, 2);
    EXPECT_EQ(dlg.Settings().LeftMargin, 0);
}

TEST_F(PrintOptionsTest, GridStyleListShowsItsLongestItemWhole) {
    QComboBox* c = dlg.GridStyleCombo;
    // The text area of the closed box holds the longest item.
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    const QRect field = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
    for (int i = 0; i < c->count(); ++i)
        EXPECT_GE(field.width(), c->fontMetrics().horizontalAdvance(c->itemText(i))) << c->itemText(i).toStdString();
    EXPECT_GE(c->view()->minimumWidth(), c->view()->sizeHintForColumn(0));
    // Clear of the margin controls to its left, inside the dialog.
    for (QWidget* w : {static_cast<QWidget*>(dlg.RightMarginLabel), static_cast<QWidget*>(dlg.RightMarginCombo)})
        EXPECT_FALSE(c->geometry().intersects(w->geometry())) << w->objectName().toStdString();
    EXPECT_LE(c->geometry().right(), 224);
    for (int i = 0; i < c->count(); ++i) {
        c->setCurrentIndex(i);
        EXPECT_EQ(dlg.Settings().GridStyle, i);
    }
}

TEST_F(PrintOptionsTest, CancelOpensNoPreviewOkDoes) {
    TRecordingPrinter printer;
    SetPrinter(&printer);
    TPrintPreview preview;
    int begins = 0;
    preview.OnBeginPrint = [&](std::unique_ptr<TPageInfo>& i) {
        ++begins;
        i = std::make_unique<TPageInfo>();
    };
    preview.OnPrintPage = [](std::unique_ptr<TPageInfo>& i, TSpecialCanvas&) { i->LastPage = true; };
    preview.OnEndPrint = [](std::unique_ptr<TPageInfo>& i) { i.reset(); };
    QTimer::singleShot(0, [&] { QTest::mouseClick(dlg.Button2, Qt::LeftButton); });
    PrintExecute(dlg, preview);
    EXPECT_EQ(begins, 0);
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(dlg.Button1, Qt::LeftButton);
        QTimer::singleShot(0, [&] {
            ASSERT_NE(preview.PreviewForm(), nullptr);
            EXPECT_TRUE(preview.PreviewForm()->PrintBut->isVisible());
            preview.PreviewForm()->close();
        });
    });
    PrintExecute(dlg, preview);
    EXPECT_EQ(begins, 1);
    SetPrinter(nullptr);
}

// ---- through the real printer into a PDF ----

TEST(MapPdfTest, WholeMapAtOneInchPrintsEveryPageAndCellsCarryTheirColours) {
    qmtest::TempDir dir;
    TQtPrinter qt;
    qmtest::TScriptedDialogs dialogs;
    SetPrinter(&qt);
    SetDialogs(&dialogs);
    TRenderedTileset ts;
    MakeTileset(ts, 16);
    auto map = std::make_unique<TMapRecord>();
    ClearMapRecord(*map);
    map->Cell(1, 1).Lower = 40;
    map->Cell(3, 2).Upper = 120;
    QImage cellBitmap;
    TMapPrintSource src;
    src.Map = map.get();
    src.Tileset = &ts;
    src.CellBitmap = &cellBitmap;
    src.Settings.ScaleIndex = 4;
    src.MapFileName = "/maps/dungeon.map";
    TMapPageHandler handler([&] { return src; });
    TPrintPreview preview;
    handler.Bind(preview);
    const QString pdf = QString::fromStdString(dir.File("map.pdf"));
    qt.SetPdfFile(pdf);
    preview.PrintDocument();
    SetPrinter(nullptr);
    SetDialogs(nullptr);

    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+121\\n")));

    // 50 dpi: a 600-pixel cell is 50 pixels; the title band puts row 1 at y = 450 / 12.
    const QString png = QString::fromStdString(dir.File("page"));
    QProcess raster;
    raster.start("pdftoppm", {"-png", "-r", "50", "-f", "1", "-l", "1", pdf, png});
    ASSERT_TRUE(raster.waitForFinished(30000));
    QImage page(png + "-001.png");
    if (page.isNull()) page.load(png + "-1.png");
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.size(), QSize(425, 550));
    auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) < 12 && std::abs(qGreen(a) - qGreen(b)) < 12 &&
               std::abs(qBlue(a) - qBlue(b)) < 12;
    };
    const QRgb c11 = page.pixel(25 + 25, 37 + 25);
    const QRgb c32 = page.pixel(25 + 2 * 50 + 25, 37 + 50 + 25);
    EXPECT_TRUE(near(c11, SymbolColor(40))) << std::hex << c11;
    EXPECT_TRUE(near(c32, SymbolColor(120))) << std::hex << c32;
    EXPECT_TRUE(near(page.pixel(25 + 50 + 25, 37 + 25), qRgb(255, 255, 255))); // blank cell
}

// Equal cells are one image in the PDF, however often they are drawn; also in grey, which
// the print dialog's Grayscale asks for and the canvas draws itself when printing to a file.
TEST(MapPdfTest, EqualCellsShareOneImageInColourAndInGrey) {
    TRenderedTileset ts;
    MakeTileset(ts, 16);
    auto map = std::make_unique<TMapRecord>();
    ClearMapRecord(*map);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) map->Cell(x, y).Lower = uint8_t(1 + (x + 2 * y) % 3);
    map->Cell(5, 5).Upper = 9;
    QImage colourPage;
    for (const bool grey : {false, true}) {
        SCOPED_TRACE(grey ? "grey" : "colour");
        qmtest::TempDir dir;
        TQtPrinter qt;
        qmtest::TScriptedDialogs dialogs;
        SetPrinter(&qt);
        SetDialogs(&dialogs);
        QImage cellBitmap;
        TMapPrintSource src;
        src.Map = map.get();
        src.Tileset = &ts;
        src.CellBitmap = &cellBitmap;
        TMapPageHandler handler([&] { return src; });
        TPrintPreview preview;
        handler.Bind(preview);
        const QString pdf = QString::fromStdString(dir.File("map.pdf"));
        qt.SetPdfFile(pdf);
        qt.QtPrinter()->setColorMode(grey ? QPrinter::GrayScale : QPrinter::Color);
        preview.PrintDocument();
        SetPrinter(nullptr);
        SetDialogs(nullptr);

        QProcess list;
        list.start("pdfimages", {"-list", pdf});
        ASSERT_TRUE(list.waitForFinished(60000));
        const QStringList lines = QString::fromUtf8(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        std::set<QString> objects;
        int drawn = 0;
        for (const QString& line : lines.mid(2)) {
            const QStringList f = line.split(' ', Qt::SkipEmptyParts);
            ASSERT_GT(f.size(), 11) << line.toStdString();
            objects.insert(f[10]);
            ++drawn;
        }
        EXPECT_EQ(drawn, MapSize * MapSize);
        EXPECT_EQ(objects.size(), 4u);

        // In grey, not one pixel keeps a colour, and each shows its colour's grey tone.
        const QString png = QString::fromStdString(dir.File("page"));
        QProcess raster;
        raster.start("pdftoppm", {"-png", "-r", "72", "-singlefile", pdf, png});
        ASSERT_TRUE(raster.waitForFinished(30000));
        const QImage page(png + ".png");
        ASSERT_FALSE(page.isNull());
        int coloured = 0, offTone = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QRgb c = page.pixel(x, y);
                coloured += qRed(c) != qGreen(c) || qGreen(c) != qBlue(c);
                if (grey) offTone += std::abs(qRed(c) - qGray(colourPage.pixel(x, y))) > 8;
            }
        EXPECT_EQ(coloured == 0, grey) << coloured;
        EXPECT_EQ(offTone, 0); // each pixel the grey tone of its colour
        if (!grey) colourPage = page;
    }
}

} // namespace

// ---- the map key on paper ----

// Room numbers go over their cells as pictures where the printed map shows hidden
// symbols (or when asked), and the key pages follow the map pages from a sheet of their own.
TEST_F(MapPageTest, RoomNumbersAndKeyPages) {
    FillMap();
    TMapKey key;
    for (int n = 1; n <= 60; ++n)
        key.Put({n, n % 72 + 1, n / 2 + 1, "Room " + std::to_string(n),
                 std::string(n % 7 == 0 ? 900 : 40, 'w') + "\n\nA second paragraph of words to wrap."});
    src.Key = &key;
    src.Settings.ScaleIndex = 0; // the map on one page
    const struct {
        const char* what;
        bool showHidden;
        int hidden, numbers;
        size_t pictures;
    } cases[] = {
        {"game master's copy", true, hpAsMap, rnAsHidden, 60},
        {"Show Hidden off", false, hpAsMap, rnAsHidden, 0},
        {"player copy", true, hpLeaveOut, rnAsHidden, 0},
        {"player copy, numbers asked for", true, hpLeaveOut, rnOn, 60},
        {"numbers turned off", true, hpAsMap, rnOff, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        map->ShowHidden = c.showHidden;
        src.Settings.Mat.Hidden = c.hidden;
        src.Settings.RoomNumbers = c.numbers;
        bool last = false;
        EXPECT_EQ(Only(Page(1, &last), TRecordingCanvas::Kind::StretchPicture).size(), c.pictures);
        EXPECT_TRUE(last); // no key pages asked for
    }

    src.Settings.KeyPages = true;
    bool last = false;
    Page(1, &last);
    EXPECT_FALSE(last);
    std::vector<QString> texts;
    int pages = 1;
    for (int p = 2; !last && p < 50; ++p, ++pages) {
        const auto ops = Page(p, &last);
        EXPECT_TRUE(Only(ops, TRecordingCanvas::Kind::StretchDraw).empty()) << "no map cells on key page " << p;
        for (const auto& o : Only(ops, TRecordingCanvas::Kind::TextOut)) {
            texts.push_back(o.text);
            EXPECT_LT(o.text.size(), 200) << "a line wider than the page"; // 900 letters are cut
        }
    }
    EXPECT_TRUE(last);
    EXPECT_GE(pages, 3);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "Map Key");
    EXPECT_EQ(std::count(texts.begin(), texts.end(), QStringLiteral("1. Room 1")), 1);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), QStringLiteral("60. Room 60")), 1);
    // Every word of a long text is printed, wrapped over lines.
    const QString all = std::accumulate(texts.begin(), texts.end(), QString());
    EXPECT_EQ(all.count(QLatin1Char('w')), 8 * 900 + 52 * 40 + 60 * 2 /* "words", "wrap" */);
}
