// Paper that fits the map: the drawn part as print area, sheets that fit the area, Skip
// Empty Sheets leaving out every sheet with nothing drawn, one name per sheet, the preview's
// sheet count, and the parts printed around a sheet kept clear of each other.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <set>

#include "dialogs/Dialogs.h"
#include "preview/PreviewWindow.h"
#include "preview/PrintPreview.h"
#include "preview/Printer.h"
#include "print/BattleMat.h"
#include "print/MapPage.h"
#include "print/PrintOptionsDialog.h"
#include "tests/support/BuiltInTileset.h"
#include "tests/support/RecordingPrinter.h"
#include "tests/support/ScriptedDialogs.h"

using namespace qm;

namespace {

using Op = TRecordingCanvas::Op;
using Kind = TRecordingCanvas::Kind;

// The first symbol of the built-in tileset that is a game master's marker.
int HiddenSymbol(const TRenderedTileset& ts) {
    for (int s = 1; s < 256; ++s)
        if (ts.HiddenFlags[s]) return s;
    return 0;
}

class SheetFitTest : public ::testing::Test {
protected:
    TRecordingPrinter printer; // Letter at 600 dpi
    std::unique_ptr<TMapRecord> map = std::make_unique<TMapRecord>();
    QImage cellBitmap;
    TMapPrintSource src;

    void SetUp() override {
        SetPrinter(&printer);
        ClearMapRecord(*map);
        src.Map = map.get();
        src.Tileset = &qmtest::BuiltInTileset();
        src.CellBitmap = &cellBitmap;
        src.MapFileName = "/maps/crypt.map";
        src.Settings.ScaleIndex = 4; // 1.00"
    }
    void TearDown() override { SetPrinter(nullptr); }

    // A 42 x 16 dungeon at columns 5..46, rows 3..18: an outline and a few cells inside.
    void DrawDungeon() {
        for (int x = 5; x <= 46; ++x)
            for (int y = 3; y <= 18; ++y)
                if (x == 5 || x == 46 || y == 3 || y == 18 || (x * y) % 11 == 0) map->Cell(x, y).Lower = 10;
    }

    // Every page of the document, as the print run finds them: until one says it is the last.
    std::vector<std::vector<Op>> Document() {
        std::vector<std::vector<Op>> pages;
        for (int p = 1; p <= 200; ++p) {
            printer.Recorder().Ops.clear();
            TSpecialCanvas s("Print", Printer());
            TPageInfo info;
            info.PageNumber = p;
            PrintMapPage(info, s, src);
            pages.push_back(printer.Recorder().Ops);
            if (info.LastPage) break;
        }
        return pages;
    }
    static std::vector<QString> Texts(const std::vector<Op>& ops) {
        std::vector<QString> out;
        for (const Op& o : ops)
            if (o.kind == Kind::TextOut) out.push_back(o.text);
        return out;
    }
};

TEST_F(SheetFitTest, TheThreeCasesPrintWhatAGameMasterExpectsAndTheDescribedGridWithTheOptionsOff) {
    DrawDungeon();
    src.Settings.PrintTitle = true; // 7 x 9 cells a sheet
    struct Row {
        const char* what;
        bool wholeMap, drawn;
        TGridRect selection;
        bool fit, skip;
        int pages;
        const char* summary;
    };
    const Row rows[] = {
        {"42 x 16 dungeon, options off", true, false, {}, false, false, 121, "121 sheets (11 x 11), Letter"},
        {"drawn part", false, true, {}, false, false, 36, "36 sheets (6 x 6), Letter"},
        {"drawn part, sheets fit", false, true, {}, true, false, 12, "12 sheets (6 x 2), Letter"},
        {"whole map, skip empty", true, false, {}, false, true, 14, "14 sheets (11 x 8, 74 left out), Letter"},
        {"14 x 9 selection", false, false, {2, 2, 15, 10}, false, false, 4, "4 sheets (2 x 2), Letter"},
        {"14 x 9 selection, sheets fit", false, false, {2, 2, 15, 10}, true, false, 2, "2 sheets (2 x 1), Letter"},
        {"one-row area", false, false, {0, 0, 71, 8}, false, false, 121, "121 sheets (11 x 11), Letter"},
        {"one-row area, sheets fit", false, false, {0, 0, 71, 8}, true, false, 11, "11 sheets (11 x 1), Letter"},
    };
    for (const Row& r : rows) {
        src.Settings.WholeMap = r.wholeMap;
        src.Settings.DrawnPart = r.drawn;
        src.Selection = r.selection;
        src.Settings.Mat.FitSheets = r.fit;
        src.Settings.Mat.SkipEmpty = r.skip;
        const auto pages = Document();
        EXPECT_EQ(int(pages.size()), r.pages) << r.what;
        EXPECT_EQ(PrintSummary(src, 5100, 6600, 600, 600).toStdString(), r.summary) << r.what;
    }
    // The drawn part starts at the dungeon's corner: the first sheet shows map cell (5, 3) top left.
    src.Settings.WholeMap = false;
    src.Settings.DrawnPart = true;
    src.Settings.Mat = {};
    const TPageLayout l = *SourceLayout(src, map.get(), 5100, 6600, 600, 600);
    EXPECT_EQ((std::vector<int>{l.X1, l.Y1, l.X2, l.Y2}), (std::vector<int>{5, 3, 46, 18}));
}

TEST_F(SheetFitTest, DrawnPartCountsBothLayersAndHiddenSymbolsOnlyWhenTheyPrint) {
    const int hidden = HiddenSymbol(*src.Tileset);
    ASSERT_NE(hidden, 0);
    map->Background = 11; // the background is no drawing
    map->Cell(20, 30).Upper = 44;
    map->Cell(40, 35).Lower = 12;
    map->Cell(60, 60).Upper = uint8_t(hidden);
    map->ShowHidden = 0;
    EXPECT_EQ(DrawnArea(*map, src.Tileset), (TGridRect{19, 29, 39, 34}));
    map->ShowHidden = 1;
    EXPECT_EQ(DrawnArea(*map, src.Tileset), (TGridRect{19, 29, 59, 59}));
    src.Settings.Mat.Hidden = hpLeaveOut; // the player copy
    src.Settings.DrawnPart = true;
    const TPrintedMap printed(map.get(), src.Settings.Mat.Hidden);
    EXPECT_EQ(SourceLayout(src, printed.Map(), 5100, 6600, 600, 600)->X2, 40);

    // Nothing drawn: one page that says so, and the preview's count says it too.
    ClearMapRecord(*map);
    map->Background = 11;
    const auto pages = Document();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(Texts(pages[0]),
              std::vector<QString>{"Nothing is drawn in the print area, so there is nothing to print."});
    EXPECT_EQ(PrintSummary(src, 5100, 6600, 600, 600), "Nothing is drawn in the print area");
    // So do the drawn sheets of an area with nothing drawn in it.
    src.Settings.DrawnPart = false;
    src.Settings.Mat.SkipEmpty = true;
    EXPECT_EQ(Document().size(), 1u);
    EXPECT_EQ(PrintSummary(src, 5100, 6600, 600, 600), "Nothing is drawn in the print area");
}

TEST_F(SheetFitTest, SkipEmptyPrintsOnlySheetsWithADrawnCellAndTheOverviewShowsTheRest) {
    const int hidden = HiddenSymbol(*src.Tileset);
    map->Background = 11; // every cell holds the background: no sheet is drawn for it
    map->Cell(2, 2).Upper = 30;
    map->Cell(40, 5).Lower = 12;
    map->Cell(10, 60).Upper = 44;
    map->Cell(70, 70).Upper = 31;
    map->Cell(30, 30).Upper = uint8_t(hidden);
    map->ShowHidden = 0;
    src.Settings.PrintTitle = false; // 7 x 10 cells a sheet, 11 x 8 sheets
    src.Settings.Mat.SkipEmpty = true;
    src.Settings.Mat.Marks = true;
    src.Settings.Mat.Overview = true;
    struct Row {
        int showHidden;
        std::vector<QString> sheets;
    };
    for (const Row& r : {Row{0, {"A1", "A6", "F2", "G10"}}, Row{1, {"A1", "A6", "C5", "F2", "G10"}}}) {
        map->ShowHidden = uint8_t(r.showHidden);
        const auto pages = Document();
        ASSERT_EQ(pages.size(), r.sheets.size() + 1) << r.showHidden;
        // Each printed sheet is labelled with a sheet that holds a drawn cell, in order.
        std::vector<QString> labels;
        for (size_t p = 1; p < pages.size(); ++p) labels.push_back(Texts(pages[p]).back());
        EXPECT_EQ(labels, r.sheets);
        // The overview: the true count, a label for each printed sheet, an empty square for each other.
        const int leftOut = 88 - int(r.sheets.size());
        const std::vector<QString> overview = Texts(pages[0]);
        const std::set<QString> named(overview.begin(), overview.end());
        for (const QString& s : r.sheets) EXPECT_TRUE(named.count(s)) << s.toStdString();
        EXPECT_FALSE(named.count("B1"));
        EXPECT_TRUE(
            named.count(QStringLiteral("%1 sheets: 11 across, 8 down, %2 left out").arg(r.sheets.size()).arg(leftOut)));
        // White squares: one per sheet left out, and one tag under each printed sheet's label.
        int white = 0;
        for (const Op& o : pages[0])
            white += (o.kind == Kind::StretchDraw || o.kind == Kind::StretchDIBits) && o.imageSize == QSize(1, 1) ? 1
                                                                                                                  : 0;
        EXPECT_EQ(white, leftOut + int(r.sheets.size()));
    }
}

TEST_F(SheetFitTest, TitleLabelAndOverviewNameEachSheetAlike) {
    DrawDungeon();
    src.Settings.PrintTitle = true;
    src.Settings.Mat.Marks = true;
    const auto pages = Document();
    // Page 13 is page row 2, page column 2: "B2" in its title and on its label.
    const std::vector<QString> texts = Texts(pages[12]);
    EXPECT_EQ(texts.front(), "[2x / 2y] B2 - crypt.map");
    EXPECT_EQ(texts.back(), "B2");
    // Without battle-mat marks or overview the described title stays.
    src.Settings.Mat.Marks = false;
    EXPECT_EQ(Texts(Document()[12]).front(), "[2x / 2y] - crypt.map");
    src.MapFileName.clear();
    src.Settings.Mat.Overview = true;
    EXPECT_EQ(Texts(Document()[13]).front(), "[Untitled] B2");
}

TEST_F(SheetFitTest, DialogOffersTheDrawnPartAndSheetsThatFit) {
    qmtest::TScriptedDialogs dialogs;
    SetDialogs(&dialogs);
    TPrintOptions dlg;
    EXPECT_FALSE(dlg.DrawnRB->isChecked());
    EXPECT_FALSE(dlg.FitSheetsCB->isChecked());
    EXPECT_FALSE(dlg.Settings().DrawnPart || dlg.Settings().Mat.FitSheets);
    for (QRadioButton* b : {dlg.MapRB, dlg.SelectedRB, dlg.DrawnRB}) {
        EXPECT_TRUE(dlg.RadioGroup1->rect().contains(b->geometry()));
        EXPECT_LE(b->sizeHint().width(), b->width()) << b->text().toStdString() << " is cut off";
    }
    for (QWidget* w : {static_cast<QWidget*>(dlg.LeftMarginCombo), static_cast<QWidget*>(dlg.TopMarginLabel),
                       static_cast<QWidget*>(dlg.TopMarginCombo)})
        EXPECT_FALSE(dlg.RadioGroup1->geometry().intersects(w->geometry())) << w->objectName().toStdString();
    EXPECT_FALSE(dlg.RadioGroup1->geometry().intersects(dlg.GridStyleLabel->geometry()));
    dlg.ShowBattleMat(true);
    QTest::mouseClick(dlg.DrawnRB, Qt::LeftButton, {}, QPoint(8, 9));
    QTest::mouseClick(dlg.FitSheetsCB, Qt::LeftButton);
    EXPECT_TRUE(dlg.Settings().DrawnPart && dlg.Settings().Mat.FitSheets);
    QTest::mouseClick(dlg.MapRB, Qt::LeftButton, {}, QPoint(8, 9)); // on its button, not past its short caption
    EXPECT_FALSE(dlg.Settings().DrawnPart);
    EXPECT_TRUE(dlg.Settings().WholeMap);
    SetDialogs(nullptr);
}

TEST_F(SheetFitTest, PreviewSaysWhatWillPrintAndGoesNoFurther) {
    DrawDungeon();
    src.Settings.PrintTitle = true;
    src.Settings.WholeMap = false;
    src.Settings.DrawnPart = true;
    src.Settings.Mat.FitSheets = true;
    TMapPageHandler handler([this] { return src; });
    TPrintPreview preview;
    handler.Bind(preview);
    QString shown;
    int last = 0;
    QTimer::singleShot(0, [&] {
        TPreviewForm* f = preview.PreviewForm();
        ASSERT_NE(f, nullptr);
        QTest::mouseClick(f->LastPageSpeed, Qt::LeftButton);
        last = f->CurPage;
        shown = f->SheetsLabel->isVisible() ? f->SheetsLabel->text() : QString();
        f->resize(640, 480); // a small window cuts the hint, not the count
        QApplication::processEvents();
        EXPECT_GE(f->SheetsLabel->width(), f->SheetsLabel->sizeHint().width());
        f->close();
    });
    preview.Preview();
    EXPECT_EQ(shown.toStdString(), "12 sheets (6 x 2), Letter");
    EXPECT_EQ(last, 12);
}

// A printer painting whole sheets into a picture, with the fonts of the real printers.
class TPicturePrinter : public TPainterPrinter {
public:
    TPicturePrinter(QPageSize::PageSizeId paper, int dpi)
        : TPainterPrinter(dpi),
          layout_(QPageSize(paper), QPageLayout::Portrait, QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch),
          dpi_(dpi) {}
    ~TPicturePrinter() override { Abort(); }
    int XRes() const override { return dpi_; }
    int YRes() const override { return dpi_; }
    QSize PhysicalPageSize() const override { return layout_.fullRectPixels(dpi_).size(); }
    QPoint PrintingOffset() const override { return layout_.paintRectPixels(dpi_).topLeft(); }
    QSize PrintableSize() const override { return layout_.paintRectPixels(dpi_).size(); }
    void SetTitle(const QString&) override {}
    QString Title() const override { return {}; }
    void BeginDoc() override {
        picture_ = QImage(PhysicalPageSize(), QImage::Format_RGB32);
        picture_.fill(Qt::white);
        const int dpm = qRound(dpi_ / 0.0254);
        picture_.setDotsPerMeterX(dpm);
        picture_.setDotsPerMeterY(dpm);
        StartPainting(&picture_, dpi_);
    }
    void EndDoc() override { Abort(); }
    void Abort() override {
        if (painter_) StopPainting();
    }
    const QImage& Picture() const { return picture_; }

private:
    void DeviceNewPage() override {}
    QPageLayout layout_;
    int dpi_;
    QImage picture_;
};

TEST_F(SheetFitTest, MarksLabelsTitleAndGlueStripsNeverShareAPixel) {
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) map->Cell(x, y).Lower = 10;
    src.MapFileName = "/maps/the-long-forgotten-crypt-of-the-ash-king.map";
    src.Settings.PrintTitle = true;
    src.Settings.LeftMargin = src.Settings.TopMargin = src.Settings.RightMargin = src.Settings.BottomMargin = 0;
    src.Settings.Mat.Marks = true;
    struct Setup {
        const char* what;
        int scale, overlap;
        bool wholeMap;
        TGridRect selection;
    };
    const Setup setups[] = {
        {"0.25\" with 1/2\" strips", 1, ovHalf, true, {}},
        {"1.00\" with 1/4\" strips", 4, ovQuarter, true, {}},
        {"1.50\" with 1/8\" strips", 6, ovEighth, true, {}},
        {"one column fit to the page", 0, ovNone, false, {3, 0, 3, 71}},
    };
    const QPageSize::PageSizeId papers[] = {QPageSize::Letter, QPageSize::A4, QPageSize::Legal};
    const int parts[] = {spTitle, spStrips, spMarks, spLabel};
    for (QPageSize::PageSizeId paper : papers) {
        TPicturePrinter pictures(paper, 100);
        SetPrinter(&pictures);
        for (const Setup& set : setups) {
            src.Settings.ScaleIndex = set.scale;
            src.Settings.Mat.Overlap = set.overlap;
            src.Settings.WholeMap = set.wholeMap;
            src.Selection = set.selection;
            const QSize sheet = pictures.PhysicalPageSize();
            const TPageLayout l = *SourceLayout(src, map.get(), sheet.width(), sheet.height(), 100, 100);
            ASSERT_FALSE(l.Empty) << set.what;
            // The first sheet, the last of the first row and column, and the last: every shape of frame.
            for (auto [pr, pc] : {std::pair{1, 1}, std::pair{1, l.PX}, std::pair{l.PY, 1}, std::pair{l.PY, l.PX}}) {
                SCOPED_TRACE(QPageSize(paper).name().toStdString() + " " + set.what + " " +
                             SheetLabel(pr, pc).toStdString());
                const TSheetFrame frame = SheetFrame(l, pr, pc);
                std::vector<QImage> drawn;
                for (int part : parts) {
                    pictures.BeginDoc();
                    TSpecialCanvas s("Print", Printer());
                    s.SetPrintMode();
                    s.PostPrinterSetup();
                    DrawSheetParts(s, src, l, frame, pr, pc, part);
                    pictures.EndDoc();
                    drawn.push_back(pictures.Picture());
                }
                std::vector<int> inked(drawn.size(), 0);
                int shared = 0, titleRight = 0;
                for (int y = 0; y < sheet.height(); ++y) {
                    std::vector<const QRgb*> rows;
                    for (const QImage& d : drawn) rows.push_back(reinterpret_cast<const QRgb*>(d.constScanLine(y)));
                    for (int x = 0; x < sheet.width(); ++x) {
                        int here = 0;
                        for (size_t k = 0; k < rows.size(); ++k) {
                            if ((rows[k][x] & 0xffffff) == 0xffffff) continue;
                            ++inked[k];
                            ++here;
                            if (k == 0) titleRight = std::max(titleRight, x);
                        }
                        shared += here > 1 ? 1 : 0;
                    }
                }
                EXPECT_EQ(shared, 0);
                EXPECT_GT(inked[0], 0) << "no title";
                EXPECT_GT(inked[2], 0) << "no marks";
                EXPECT_GT(inked[3], 0) << "no label";
                // The title stays on the sheet, inside the paper's unprintable edge.
                EXPECT_LE(titleRight, sheet.width() - 25);
            }
        }
    }
    SetPrinter(&printer);
}

} // namespace
