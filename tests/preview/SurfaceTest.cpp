#include <QPainter>
#include <QPicture>
#include <gtest/gtest.h>

#include "preview/Canvas.h"
#include "tests/preview/PreviewTestSupport.h"
#include "tests/support/RecordingPrinter.h"

using namespace qm;
using qmtest::Installed;

namespace {

class SurfaceTest : public ::testing::Test {
protected:
    TRecordingPrinter printer;
    qmtest::TScriptedDialogs dialogs;
    Installed installed{&printer, &dialogs};
    TRecordingCanvas& pc() { return printer.Recorder(); }
};

TEST(ScaleTest, RoundsHalvesToEvenFromSinglePrecision) {
    struct Row {
        int res;
        float inches;
        int expected;
    };
    const Row rows[] = {
        {600, 0.25f, 150}, {600, 0.1f, 60},   {150, 0.75f, 112},   {300, 0.125f, 38},
        {100, 0.125f, 12}, {100, 0.135f, 14}, {600, 1.5f, 900},    {72, 0.5f, 36},
        {600, 0.0f, 0},    {300, 0.005f, 1},  {600, -0.25f, -150}, {200, 0.0125f, 3},
    };
    // 0.005f lies just below 0.005 and 0.0125f just above: single precision decides.
    for (const Row& r : rows) EXPECT_EQ(ScaleInches(r.res, r.inches), r.expected) << r.res << " x " << r.inches;
}

TEST_F(SurfaceTest, ReadsGeometryAndScalesEachAxisByItsOwnResolution) {
    printer.SetGeometry(150, 300, QSize(1275, 3300), QPoint(20, 40), QSize(1200, 3150));
    TSpecialCanvas s("Paginate", printer);
    EXPECT_EQ(s.PageWidth, 1275);
    EXPECT_EQ(s.PageHeight, 3300);
    EXPECT_EQ(s.NoPrintLeft, 20);
    EXPECT_EQ(s.NoPrintTop, 40);
    EXPECT_EQ(s.PrintRight, 1220);
    EXPECT_EQ(s.PrintBottom, 3190);
    EXPECT_EQ(s.ScaleX(0.75f), 112);
    EXPECT_EQ(s.ScaleY(0.75f), 225);
    EXPECT_EQ(s.Mode, cmPrint);
    EXPECT_EQ(s.Font().Name(), "Arial");
    EXPECT_EQ(s.CopyMode, SRCCOPY);
}

TEST_F(SurfaceTest, PrinterFontHeightIsMinusPointsAtPrinterResolution) {
    TSpecialCanvas s("Print", printer);
    s.Font().SetSize(18);
    EXPECT_EQ(pc().Font.Size(), 18);
    EXPECT_EQ(pc().Font.Height(), -150); // 18 * 600 / 72
    s.Font().SetName("Ariel");
    EXPECT_EQ(pc().Font.Name(), "Ariel");
}

TEST_F(SurfaceTest, PaginateDrawsNothingButMeasuresAndPassesChangesOn) {
    TSpecialCanvas s("Paginate", printer);
    s.SetPaginateMode();
    pc().Ops.clear();
    s.TextOut(10, 10, "Hello");
    s.MoveTo(0, 0);
    s.LineTo(100, 100);
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::red);
    s.StretchDraw(QRect(0, 0, 50, 50), img);
    s.StretchDraw(QRect(0, 0, 50, 50), QPicture());
    EXPECT_TRUE(pc().Ops.empty());

    s.Font().SetSize(24);
    EXPECT_EQ(pc().Font.Height(), -200);
    EXPECT_EQ(s.TextWidth("ab"), TRecordingCanvas::CharWidth('a', -200) + TRecordingCanvas::CharWidth('b', -200));
    s.Pen.SetColor(Qt::blue);
    s.Pen.SetWidth(7);
    EXPECT_EQ(pc().Pen.Color(), QColor(Qt::blue));
    EXPECT_EQ(pc().Pen.Width(), 7);
    s.Brush.SetColor(Qt::green);
    EXPECT_EQ(pc().Brush.Color(), QColor(Qt::green));
}

TEST_F(SurfaceTest, NewSurfaceDrawsOnThePrinter) {
    TSpecialCanvas s("Print", printer);
    pc().Ops.clear();
    s.TextOut(5, 6, "Hi");
    s.MoveTo(1, 2);
    s.LineTo(3, 4);
    ASSERT_EQ(pc().Ops.size(), 3u);
    EXPECT_EQ(pc().Ops[0].kind, TRecordingCanvas::Kind::TextOut);
    EXPECT_EQ(pc().Ops[0].text, "Hi");
    EXPECT_EQ(pc().Ops[0].pt, QPoint(5, 6));
    EXPECT_EQ(pc().Ops[2].kind, TRecordingCanvas::Kind::LineTo);
}

TEST_F(SurfaceTest, DrawsAndMeasuresOnThePrinterItIsGivenNotTheInstalledOne) {
    TRecordingPrinter other;
    other.SetGeometry(300, 300, QSize(2550, 3300), QPoint(75, 75), QSize(2400, 3150));
    TSpecialCanvas s("Print", other);
    EXPECT_EQ(s.XRes, 300);
    EXPECT_EQ(s.PageWidth, 2550);
    pc().Ops.clear();
    s.TextOut(5, 6, "Hi");
    s.LineTo(3, 4);
    EXPECT_TRUE(pc().Ops.empty()) << "the installed printer got strokes";
    EXPECT_EQ(other.Recorder().Ops.size(), 2u);
}

TEST_F(SurfaceTest, PreviewTextOutPlacesCharactersAtPrinterAdvances) {
    TRecordingCanvas display;
    TSpecialCanvas s("Display Page", printer);
    s.Font().SetSize(12); // printer height -100
    s.SetPreviewMode(&display);
    EXPECT_EQ(display.Font.Height(), 100); // positive on the display
    pc().Ops.clear();
    s.TextOut(1000, 500, "Wi!");
    ASSERT_EQ(display.Ops.size(), 3u);
    EXPECT_TRUE(pc().Ops.empty());
    const int w0 = TRecordingCanvas::CharWidth('W', -100);
    const int w1 = TRecordingCanvas::CharWidth('i', -100);
    EXPECT_EQ(display.Ops[0].text, "W");
    EXPECT_EQ(display.Ops[0].pt, QPoint(1000, 500));
    EXPECT_EQ(display.Ops[1].text, "i");
    EXPECT_EQ(display.Ops[1].pt, QPoint(1000 + w0, 500));
    EXPECT_EQ(display.Ops[2].pt, QPoint(1000 + w0 + w1, 500));
    // The display's own widths (from its positive height) must not be what places them.
    ASSERT_NE(w0, TRecordingCanvas::CharWidth('W', 100) + 1);
}

TEST_F(SurfaceTest, PreviewEmptyTextStillChecksTheDisplayFont) {
    TRecordingCanvas display;
    TSpecialCanvas s("Display Page", printer);
    s.SetPreviewMode(&display);
    EXPECT_NO_THROW(s.TextOut(0, 0, ""));
    display.Font.SetHeight(-20);
    try {
        s.TextOut(0, 0, "");
        FAIL() << "no error for a negative display font";
    } catch (const PreviewException& e) {
        EXPECT_STREQ(e.what(), "Display Canvas Font has been corrupted.\r\nFont Height is < 0");
    }
    EXPECT_TRUE(display.Ops.empty());
}

TEST_F(SurfaceTest, PositivePrinterFontHeightIsReportedWithTheRightMessage) {
    // A cell height set on the surface font gives a negative point size, which the
    // printer realises as a positive height: the corruption the checks guard against.
    struct Row {
        const char* what;
        std::function<void(TSpecialCanvas&, TRecordingCanvas&)> call;
        const char* message;
    };
    const Row rows[] = {
        {"measure in print mode",
         [](TSpecialCanvas& s, TRecordingCanvas&) {
             s.Font().SetHeight(40);
             s.TextWidth("x");
         },
         "Printer Font corrupted (Font.Height is > 0)"},
        {"font change in preview",
         [](TSpecialCanvas& s, TRecordingCanvas& d) {
             s.SetPreviewMode(&d);
             s.Font().SetHeight(40);
         },
         "Printer Font corrupted (Font.Height > 0)"},
        {"switch to preview",
         [](TSpecialCanvas& s, TRecordingCanvas& d) {
             s.Font().SetHeight(40);
             s.SetPreviewMode(&d);
         },
         "Printer Font corrupted (Font.Height > 0)"},
    };
    for (const Row& r : rows) {
        TRecordingCanvas display;
        TSpecialCanvas s("Display Page", printer);
        try {
            r.call(s, display);
            ADD_FAILURE() << r.what << ": no error";
        } catch (const PreviewException& e) {
            EXPECT_STREQ(e.what(), r.message) << r.what;
        }
        EXPECT_GT(pc().Font.Height(), 0) << r.what;
        // Put a sane font back for the next row.
        s.Font().SetSize(8);
    }
}

TEST_F(SurfaceTest, LineToReappliesThePenInPrintModeMoveToDoesNot) {
    TSpecialCanvas s("Print", printer);
    s.Pen.SetColor(Qt::red);
    s.Pen.SetWidth(3);
    // Someone else changes the printer pen behind the surface's back.
    pc().Pen.SetColor(Qt::green);
    pc().Pen.SetWidth(9);
    s.MoveTo(0, 0);
    EXPECT_EQ(pc().Pen.Color(), QColor(Qt::green));
    s.LineTo(10, 10);
    ASSERT_FALSE(pc().Ops.empty());
    const auto& line = pc().Ops.back();
    EXPECT_EQ(line.kind, TRecordingCanvas::Kind::LineTo);
    EXPECT_EQ(line.penColor, QColor(Qt::red));
    EXPECT_EQ(line.penWidth, 3);
}

TEST_F(SurfaceTest, PenChangesInPreviewReachBothCanvases) {
    TRecordingCanvas display;
    TSpecialCanvas s("Display Page", printer);
    s.SetPreviewMode(&display);
    s.Pen.SetColor(Qt::magenta);
    EXPECT_EQ(display.Pen.Color(), QColor(Qt::magenta));
    EXPECT_EQ(pc().Pen.Color(), QColor(Qt::magenta));
}

TEST_F(SurfaceTest, StretchDrawInPrintModeSendsBitsAndSkipsEmptyBitmaps) {
    TSpecialCanvas s("Print", printer);
    pc().Ops.clear();
    struct Row {
        QSize size;
        int expectedOps;
    };
    const Row rows[] = {{QSize(0, 10), 0}, {QSize(10, 0), 0}, {QSize(0, 0), 0}, {QSize(4, 6), 1}};
    for (const Row& r : rows) {
        pc().Ops.clear();
        QImage img(r.size, QImage::Format_ARGB32_Premultiplied);
        if (!img.isNull()) img.fill(Qt::blue);
        s.StretchDraw(QRect(10, 20, 30, 40), img);
        ASSERT_EQ(static_cast<int>(pc().Ops.size()), r.expectedOps) << r.size.width() << "x" << r.size.height();
        if (r.expectedOps) {
            EXPECT_EQ(pc().Ops[0].kind, TRecordingCanvas::Kind::StretchDIBits);
            EXPECT_EQ(pc().Ops[0].rect, QRect(10, 20, 30, 40));
            EXPECT_EQ(pc().Ops[0].imageSize, r.size);
            EXPECT_EQ(pc().Ops[0].imageCentre, QColor(Qt::blue));
        }
    }
    // Any other graphic is stretch-drawn on the printer canvas.
    QPicture pic;
    pc().Ops.clear();
    s.StretchDraw(QRect(0, 0, 5, 5), pic);
    ASSERT_EQ(pc().Ops.size(), 1u);
    EXPECT_EQ(pc().Ops[0].kind, TRecordingCanvas::Kind::StretchPicture);
}

TEST_F(SurfaceTest, PrintModeSetsTransparentBackgroundAndSyncsFontBeforeText) {
    TSpecialCanvas s("Print", printer);
    s.SetPrintMode();
    EXPECT_TRUE(pc().BackgroundTransparent);
    const int before = pc().TextHeightCalls;
    s.Font().SetSize(30);
    EXPECT_EQ(pc().TextHeightCalls, before + 1); // the "J" measurement
    s.TextOut(0, 0, "T");
    EXPECT_EQ(pc().Ops.back().fontHeight, -250);
    // Unchanged font: no new copy, no new measurement.
    s.TextWidth("abc");
    EXPECT_EQ(pc().TextHeightCalls, before + 1);
}

TEST(SameFontTest, ComparesColourSizeNameAndStyleOnly) {
    struct Row {
        std::function<void(TFont&)> change;
        bool same;
    };
    const Row rows[] = {
        {[](TFont&) {}, true},
        {[](TFont& f) {
             f.SetHeight(-77);
             f.SetSize(8);
         },
         true},
        {[](TFont& f) { f.SetName("arial"); }, false},
        {[](TFont& f) { f.SetName("Arial "); }, false},
        {[](TFont& f) { f.SetSize(9); }, false},
        {[](TFont& f) { f.SetColor(Qt::red); }, false},
        {[](TFont& f) { f.SetStyle(fsBold); }, false},
    };
    int i = 0;
    for (const Row& r : rows) {
        TFont a, b(600);
        a.SetName("Arial");
        b.SetName("Arial");
        a.SetSize(8);
        b.SetSize(8);
        r.change(b);
        EXPECT_EQ(TSpecialCanvas::SameFont(a, b), r.same) << "row " << i;
        ++i;
    }
}

TEST(FontTest, HeightAndSizeFollowEachOther) {
    TFont f(96);
    f.SetSize(12);
    EXPECT_EQ(f.Height(), -16);
    f.SetHeight(-32);
    EXPECT_EQ(f.Size(), 24);
    TFont p(600);
    p.Assign(f);
    EXPECT_EQ(p.Size(), 24);
    EXPECT_EQ(p.Height(), -200);
}

} // namespace

// Cells that share an edge on the sheet share it on a scaled preview: no paper shows
// between them, whatever fraction of a pixel the mapping puts the edge at.
TEST(PainterCanvas, AdjacentBitmapsLeaveNoGapUnderScaling) {
    QImage cell(8, 8, QImage::Format_ARGB32_Premultiplied);
    cell.fill(Qt::black);
    for (double scale : {0.05, 0.0731, 0.1337, 0.29, 0.5}) {
        QImage box(400, 60, QImage::Format_ARGB32_Premultiplied);
        box.fill(Qt::white);
        QPainter p(&box);
        p.setWindow(0, 0, int(400 / scale), int(60 / scale));
        p.setViewport(0, 0, 400, 60);
        qm::TPainterCanvas canvas(&p);
        const int cw = 62;
        const int n = int(380 / scale) / cw;
        for (int i = 0; i < n; ++i) canvas.StretchDraw(QRect(i * cw, 0, cw, int(50 / scale)), cell);
        p.end();
        const int last = int(n * cw * scale) - 1;
        for (int x = 0; x < last; ++x)
            ASSERT_EQ(box.pixel(x, 10), qRgb(0, 0, 0)) << "gap at x " << x << " for scale " << scale;
    }
}

TEST(PainterCanvasTest, AGraphicFillsItsRectangleWhateverTheDevicesResolution) {
    // A picture plays itself scaled by the device's resolution over the screen's: stretched
    // onto a printer-like 300 dpi device it must still land in its rectangle.
    QPicture pic;
    {
        QPainter p(&pic);
        p.fillRect(QRect(0, 0, 10, 10), Qt::black);
    }
    pic.setBoundingRect(QRect(0, 0, 10, 10));
    for (int dpi : {96, 300}) {
        QImage device(100, 100, QImage::Format_RGB32);
        device.setDotsPerMeterX(int(dpi / 0.0254 + 0.5));
        device.setDotsPerMeterY(int(dpi / 0.0254 + 0.5));
        device.fill(Qt::white);
        QPainter p(&device);
        qm::TPainterCanvas canvas(&p);
        canvas.StretchDraw(QRect(20, 20, 40, 40), pic);
        p.end();
        EXPECT_EQ(device.pixel(58, 58), qRgb(0, 0, 0)) << dpi;
        EXPECT_EQ(device.pixel(62, 62), qRgb(255, 255, 255)) << dpi;
        EXPECT_EQ(device.pixel(18, 18), qRgb(255, 255, 255)) << dpi;
    }
}
