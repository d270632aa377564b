#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "preview/Cursors.h"
#include "preview/GoToPageWindow.h"
#include "tests/preview/PreviewTestSupport.h"

using namespace qm;
using qmtest::Installed;
using qmtest::TestDocument;

namespace {

using Pages = std::vector<int>;

class PreviewFormTest : public ::testing::Test {
protected:
    TRecordingPrinter printer;
    qmtest::TScriptedDialogs dialogs;
    Installed installed{&printer, &dialogs};
    TestDocument doc;
    std::unique_ptr<TPreviewForm> form;

    void Open(int pages, int curPage = 1) {
        doc.Pages = pages;
        form = std::make_unique<TPreviewForm>(Printer());
        doc.Bind(form->Document);
        form->CurPage = curPage;
        form->resize(648, 518);
        form->Begin();
        form->show();
        Paint();
    }
    // Paints the visible panels now, as the window system would.
    void Paint() {
        QApplication::processEvents();
        form->PB1->grab();
        if (form->PagePanel2->isVisible()) form->PB2->grab();
        // The labels and buttons follow the painted page once painting is over.
        QApplication::processEvents();
    }
    void Click(QAbstractButton* b) {
        QTest::mouseClick(b, Qt::LeftButton);
        Paint();
    }
    QString PageLabel() const { return form->CurPageLabel->text(); }
    void TearDown() override {
        if (form) {
            form->close();
            form->End();
        }
    }
};

TEST_F(PreviewFormTest, ThreePagesForwardAndBack) {
    Open(3);
    EXPECT_TRUE(doc.PagesIn(cmPaginate).empty());
    EXPECT_EQ(PageLabel(), "Page 1");
    EXPECT_TRUE(form->NextPageBut->isEnabled());
    EXPECT_FALSE(form->PrevPageBut->isEnabled());
    EXPECT_FALSE(form->FirstPageSpeed->isEnabled());
    Click(form->NextPageBut);
    EXPECT_EQ(PageLabel(), "Page 2");
    EXPECT_TRUE(form->PrevPageSpeed->isEnabled());
    Click(form->NextPageSpeed);
    EXPECT_EQ(PageLabel(), "Page 3");
    EXPECT_FALSE(form->NextPageBut->isEnabled());
    EXPECT_FALSE(form->LastPageSpeed->isEnabled());
    EXPECT_EQ(form->Document.LastKnownPage, 3);
    Click(form->PrevPageBut);
    EXPECT_EQ(PageLabel(), "Page 2");
    Click(form->FirstPageSpeed);
    EXPECT_EQ(PageLabel(), "Page 1");
    Click(form->PrevPageSpeed);
    EXPECT_EQ(form->CurPage, 1);
    EXPECT_TRUE(doc.PagesIn(cmPaginate).empty());
    for (auto& c : doc.Calls) EXPECT_EQ(c.second, cmPreview);
}

TEST_F(PreviewFormTest, LastPageOnFourPagesPaginatesTwoToFour) {
    Open(4);
    doc.Calls.clear();
    Click(form->LastPageSpeed);
    EXPECT_EQ(doc.PagesIn(cmPaginate), (Pages{2, 3, 4}));
    EXPECT_EQ(form->CurPage, 4);
    EXPECT_EQ(PageLabel(), "Page 4");
    EXPECT_EQ(doc.PagesIn(cmPreview).back(), 4);
    // Back and forth never paginates again.
    Click(form->FirstPageSpeed);
    Click(form->LastPageSpeed);
    EXPECT_EQ(doc.PagesIn(cmPaginate), (Pages{2, 3, 4}));
}

TEST_F(PreviewFormTest, GoToPageDialogAnswers) {
    struct Row {
        int entered;
        int shown;
        int paginatedTo;
    };
    const Row rows[] = {{50, 3, 49}, {0, 1, 0}, {-7, 1, 0}, {-1, 3, 3}, {2, 2, 0}};
    for (const Row& r : rows) {
        doc = TestDocument();
        Open(3);
        doc.Calls.clear();
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<TGoPageForm*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            EXPECT_EQ(dlg->windowTitle(), "Go to Page Number");
            EXPECT_EQ(dlg->PageNum->value(), 1);
            dlg->PageNum->setValue(r.entered);
            QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
        });
        Click(form->PageNumSpeed);
        EXPECT_EQ(form->CurPage, r.shown) << "entered " << r.entered;
        EXPECT_EQ(PageLabel(), QString("Page %1").arg(r.shown)) << "entered " << r.entered;
        Pages expected;
        for (int p = 2; p <= r.paginatedTo; ++p) expected.push_back(p);
        EXPECT_EQ(doc.PagesIn(cmPaginate), expected) << "entered " << r.entered;
        form->close();
        form->End();
        form.reset();
    }
}

TEST_F(PreviewFormTest, TwoPageViewOnTheLastPageLeavesTheRightPanelBlank) {
    Open(3);
    Click(form->LastPageSpeed);
    doc.Calls.clear();
    Click(form->TwoPageBut);
    EXPECT_TRUE(form->PagePanel2->isVisible());
    EXPECT_EQ(form->PagePanel2->size(), form->PagePanel->size());
    EXPECT_EQ(form->PagePanel2->x(), form->PagePanel->x() + form->PagePanel->width() + 10);
    EXPECT_FALSE(form->PB1->isEnabled());
    EXPECT_FALSE(form->ZoomInBut->isEnabled());
    EXPECT_FALSE(form->HandCursorBut->isEnabled());
    EXPECT_EQ(form->PB1CursorId(), 0);
    ASSERT_FALSE(doc.PagesIn(cmPreview).empty());
    for (int p : doc.PagesIn(cmPreview)) EXPECT_EQ(p, 3); // page 4 is never asked for
    EXPECT_EQ(PageLabel(), "Page 3");
    // Back to one page: the tool chosen before comes back.
    Click(form->OnePageBut);
    EXPECT_FALSE(form->PagePanel2->isVisible());
    EXPECT_TRUE(form->PB1->isEnabled());
    EXPECT_EQ(form->PB1CursorId(), crZoom);
}

TEST_F(PreviewFormTest, TwoPageViewPaintsTheFollowingPageOnTheRight) {
    Open(5);
    Click(form->TwoPageBut);
    doc.Calls.clear();
    Paint();
    EXPECT_EQ(doc.PagesIn(cmPreview), (Pages{1, 2}));
    EXPECT_EQ(form->CurPage, 1);
    EXPECT_EQ(PageLabel(), "Page 2"); // the panel painted last speaks
}

TEST_F(PreviewFormTest, ZoomSequenceLabelsAndLimits) {
    Open(1);
    EXPECT_EQ(form->ZoomLabel->text(), "Zoom = 100%");
    QStringList ins;
    while (form->ZoomInBut->isEnabled()) {
        QTest::mouseClick(form->ZoomInBut, Qt::LeftButton);
        ins << form->ZoomLabel->text().mid(7);
    }
    EXPECT_EQ(ins, (QStringList{"150%", "225%", "338%", "506%", "759%", "1139%", "1709%"}));
    form->SetZoom(1.0f);
    QTest::mouseClick(form->ZoomOutBut, Qt::LeftButton);
    EXPECT_EQ(form->ZoomLabel->text(), "Zoom = 67%");
    EXPECT_FALSE(form->ZoomOutBut->isEnabled());
    EXPECT_TRUE(form->ZoomInBut->isEnabled());
    form->ZoomOut(); // refused below the limit
    EXPECT_EQ(form->ZoomLabel->text(), "Zoom = 67%");
}

TEST_F(PreviewFormTest, PanelFollowsZoomAndPrintableAspect) {
    printer.SetGeometry(600, 600, QSize(5100, 6600), QPoint(150, 150), QSize(4800, 6300));
    Open(1);
    const int base = form->ScrollBox1->height() - 8;
    EXPECT_EQ(form->BaseHeight(), base);
    EXPECT_EQ(form->PagePanel->height(), base);
    EXPECT_EQ(form->PagePanel->width(), static_cast<int>(std::nearbyint(base * (4800.0f / 6300.0f))));
    // Centred while it fits, otherwise 3 pixels in with scroll bars.
    EXPECT_EQ(form->PagePanel->x(), (form->ScrollBox1->width() - 1) / 2 - form->PagePanel->width() / 2);
    form->SetZoom(2.25f);
    EXPECT_EQ(form->PagePanel->pos(), QPoint(3, 3));
    EXPECT_EQ(form->ContainPanel->height(), form->PagePanel->height() + 6);
    EXPECT_EQ(form->ScrollBox1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    // A resize keeps the zoom and lays out again.
    form->resize(700, 600);
    QApplication::processEvents();
    EXPECT_FLOAT_EQ(form->Zoom(), 2.25f);
    EXPECT_EQ(form->BaseHeight(), form->ScrollBox1->height() - 8);
    EXPECT_EQ(form->PagePanel->height(), static_cast<int>(std::nearbyint(form->BaseHeight() * 2.25f)));
}

TEST_F(PreviewFormTest, ZoomClickAtTheCentreKeepsTheCentreInTheMiddle) {
    Open(1);
    QPoint centre(form->PagePanel->width() / 2, form->PagePanel->height() / 2);
    QTest::mouseClick(form->PB1, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_EQ(form->ZoomLabel->text(), "Zoom = 150%");
    QWidget* vp = form->ScrollBox1->viewport();
    const int h = form->ScrollBox1->horizontalScrollBar()->value();
    const int v = form->ScrollBox1->verticalScrollBar()->value();
    // The page centre, in the viewport, lies within the panel's 3-pixel offset of the middle.
    const int cx = form->PagePanel->x() + form->PagePanel->width() / 2 - h;
    const int cy = form->PagePanel->y() + form->PagePanel->height() / 2 - v;
    EXPECT_NEAR(cx, vp->width() / 2, 4);
    EXPECT_NEAR(cy, vp->height() / 2, 4);
    QTest::mouseClick(form->PB1, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(form->ZoomLabel->text(), "Zoom = 100%");
}

TEST_F(PreviewFormTest, HandToolDragsTheView) {
    Open(1);
    form->SetZoom(3.375f);
    Click(form->HandCursorBut);
    EXPECT_EQ(form->PB1CursorId(), crHand);
    QScrollBar* h = form->ScrollBox1->horizontalScrollBar();
    QScrollBar* v = form->ScrollBox1->verticalScrollBar();
    h->setValue(200);
    v->setValue(200);
    QTest::mousePress(form->PB1, Qt::LeftButton, Qt::NoModifier, QPoint(400, 400));
    EXPECT_TRUE(form->Dragging());
    QMouseEvent move(QEvent::MouseMove, QPointF(370, 350), form->PB1->mapToGlobal(QPointF(370, 350)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->PB1, &move);
    EXPECT_EQ(h->value(), 230);
    EXPECT_EQ(v->value(), 250);
    QTest::mouseRelease(form->PB1, Qt::LeftButton, Qt::NoModifier, QPoint(370, 350));
    EXPECT_FALSE(form->Dragging());
    EXPECT_FLOAT_EQ(form->Zoom(), 3.375f); // the hand does not zoom
}

TEST_F(PreviewFormTest, HandlerChangingThePageNumberIsShown) {
    doc.Extra = [](TPageInfo& info, TSpecialCanvas&) {
        if (info.PageNumber == 5) info.PageNumber = 2;
    };
    Open(9, 5);
    EXPECT_EQ(form->CurPage, 2);
    EXPECT_EQ(PageLabel(), "Page 2");
}

TEST_F(PreviewFormTest, HandlerThatNeverEndsStopsAtTheBound) {
    Open(1000000);
    Click(form->LastPageSpeed);
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(dialogs.Errors[0], "The document reported no last page within 9999 pages.");
    EXPECT_EQ(form->Document.HighestPage, TPageDocument::MaxPages);
    EXPECT_EQ(form->CurPage, 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PreviewFormTest, PaintMapsTheSheetGridAndClipsTheStrips) {
    printer.SetGeometry(600, 600, QSize(5100, 6600), QPoint(300, 300), QSize(4500, 6000));
    doc.Extra = [](TPageInfo&, TSpecialCanvas& s) {
        // Black over the whole sheet: only the printable area may show it.
        s.Pen.SetColor(Qt::black);
        s.Pen.SetWidth(40);
        for (int y = 0; y < s.PageHeight; y += 20) {
            s.MoveTo(0, y);
            s.LineTo(s.PageWidth, y);
        }
    };
    Open(1);
    form->GridBut->setChecked(true);
    const QImage img = form->PB1->grab().toImage();
    const double sx = img.width() / 5100.0, sy = img.height() / 6600.0;
    auto at = [&](int x, int y) { return QColor(img.pixel(int(x * sx), int(y * sy))); };
    EXPECT_EQ(at(2500, 3300), QColor(Qt::black));
    EXPECT_EQ(at(100, 3300), QColor(Qt::white)); // unprintable strip
    EXPECT_EQ(at(2500, 6500), QColor(Qt::white));
    // The one-inch grid shows in the strips: line x = 600 crosses the top strip.
    bool grid = false;
    for (int dx = -2; dx <= 2; ++dx) {
        const QColor c(img.pixel(int(600 * sx) + dx, int(100 * sy)));
        grid |= c != QColor(Qt::white);
    }
    EXPECT_TRUE(grid);
}

TEST_F(PreviewFormTest, ControlsCaptionsAndHints) {
    Open(1);
    struct Row {
        QWidget* w;
        QString caption;
        QRect geometry;
        QString hint;
    };
    const Row rows[] = {
        {form->PrintBut, "&Print", QRect(5, 4, 50, 24), "Print the Current Document"},
        {form->NextPageBut, "&Next", QRect(60, 4, 50, 24), "Advance to Next Page in Document"},
        {form->PrevPageBut, "Pre&v", QRect(115, 4, 50, 24), "Move to Previous Page in Document"},
        {form->ZoomInBut, "Zoom &In", QRect(170, 4, 60, 24), "Zoom In on the page"},
        {form->ZoomOutBut, "Zoom &Out", QRect(235, 4, 65, 24), "Zoom Out of the page"},
        {form->CloseBut, "&Close", QRect(306, 4, 50, 24), "Close the Print Preview window"},
        {form->GridBut, "Grid", QRect(369, 4, 33, 24), "Turns Grid On/Off"},
        {form->ZoomCursorBut, "", QRect(419, 3, 25, 25), "Selects the Zoom Tool to zoom in or out"},
        {form->HandCursorBut, "", QRect(443, 3, 25, 25), "Selects the Hand Tool to pan across the Page"},
        {form->OnePageBut, "&1", QRect(483, 3, 25, 25), "Display One page at a time"},
        {form->TwoPageBut, "&2", QRect(507, 3, 25, 25), "Display Two pages side by side"},
    };
    for (const Row& r : rows) {
        auto* b = qobject_cast<QAbstractButton*>(r.w);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), r.caption);
        EXPECT_EQ(b->geometry(), r.geometry) << r.caption.toStdString();
        EXPECT_EQ(b->statusTip(), r.hint);
    }
    EXPECT_EQ(form->PB1->statusTip(),
              "Page View.  With Zoom Tool, left or right click to zoom in/out.  Click && drag with Hand Tool to pan.");
    EXPECT_TRUE(form->ZoomCursorBut->isChecked());
    EXPECT_TRUE(form->OnePageBut->isChecked());
    EXPECT_EQ(form->PB1CursorId(), crZoom);
    EXPECT_EQ(form->ToolBarPanel->height(), 31);
    EXPECT_EQ(form->StatBarPanel->height(), 28);
    // The hint of what lies under the mouse goes to the hint label.
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(form->GridBut, &enter);
    EXPECT_EQ(form->HintLabel->text(), "Turns Grid On/Off");
}

TEST_F(PreviewFormTest, MissingPageHandlerIsReportedOnceAndTheWindowStays) {
    Open(3);
    form->Document.OnPrintPage = nullptr;
    form->PB1->update();
    Paint();
    Paint();
    QApplication::processEvents();
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(dialogs.Errors[0], "Print Page Function Not Assigned!");
    EXPECT_TRUE(form->isVisible());
    doc.Bind(form->Document);
}

TEST(PreviewRunTest, MissingBeginHandlerRaisesBeforeTheWindowOpens) {
    TRecordingPrinter printer;
    qmtest::TScriptedDialogs dialogs;
    Installed installed{&printer, &dialogs};
    TPrintPreview pp;
    try {
        pp.Preview();
        FAIL() << "no error";
    } catch (const PrintException& e) {
        EXPECT_STREQ(e.what(), "Begin Print Function Not Assigned!");
    }
    EXPECT_EQ(pp.PreviewForm(), nullptr);
}

} // namespace

namespace {

TEST_F(PreviewFormTest, TwoPagesWiderThanTheBoxScrollInsteadOfBeingCutOff) {
    Open(4);
    form->resize(500, 700);
    QApplication::processEvents();
    Click(form->TwoPageBut);
    EXPECT_GE(form->PagePanel->x(), 0);
    EXPECT_GE(form->ContainPanel->width(), form->PagePanel2->x() + form->PagePanel2->width());
    EXPECT_EQ(form->ScrollBox1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

} // namespace
