#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "preview/PrintStatusWindow.h"
#include "preview/QtPrinter.h"
#include "tests/TestSupport.h"
#include "tests/preview/PreviewTestSupport.h"

using namespace qm;
using qmtest::Installed;
using qmtest::TestDocument;

namespace {

using Pages = std::vector<int>;

class PrintRunTest : public ::testing::Test {
protected:
    TRecordingPrinter printer;
    qmtest::TScriptedDialogs dialogs;
    Installed installed{&printer, &dialogs};
    TestDocument doc;
    TPrintPreview pp;
    void SetUp() override { doc.Bind(pp); }
    std::vector<QString> JobCalls() const {
        std::vector<QString> out;
        for (const QString& c : printer.Calls)
            if (!c.startsWith("Title:") && !c.startsWith("WindowOrigin:")) out.push_back(c);
        return out;
    }
};

TEST_F(PrintRunTest, PageRangesPrintTheRightPages) {
    struct Row {
        int pages, from, to;
        Pages prepass;
        Pages printed;
        std::vector<QString> job;
    };
    const Row rows[] = {
        {5, 3, 999, {1, 2}, {3, 4, 5}, {"BeginDoc", "NewPage", "NewPage", "EndDoc"}},
        {5, 2, 2, {1}, {2}, {"BeginDoc", "EndDoc"}},
        {5, 7, 999, {1, 2, 3, 4, 5, 6}, {7}, {"BeginDoc", "EndDoc"}},
        {4, 1, 999, {}, {1, 2, 3, 4}, {"BeginDoc", "NewPage", "NewPage", "NewPage", "EndDoc"}},
        {9, 2, 4, {1}, {2, 3, 4}, {"BeginDoc", "NewPage", "NewPage", "EndDoc"}},
    };
    for (const Row& r : rows) {
        doc = TestDocument();
        doc.Pages = r.pages;
        printer.Clear();
        dialogs.PrintFrom = r.from;
        dialogs.PrintTo = r.to;
        pp.PrintDocument();
        EXPECT_EQ(doc.PagesIn(cmPaginate), r.prepass) << "from " << r.from;
        EXPECT_EQ(doc.PagesIn(cmPrint), r.printed) << "from " << r.from;
        EXPECT_EQ(JobCalls(), r.job) << "from " << r.from;
        EXPECT_EQ(printer.PagesPrinted(), static_cast<int>(r.printed.size()));
        EXPECT_EQ(doc.Begins, 1);
        EXPECT_EQ(doc.Ends, 1);
    }
    EXPECT_EQ(dialogs.OfferedRange.MinPage, 1);
    EXPECT_EQ(dialogs.OfferedRange.MaxPage, 999);
    EXPECT_EQ(dialogs.OfferedRange.FromPage, 1);
    EXPECT_EQ(dialogs.OfferedRange.ToPage, 999);
}

TEST_F(PrintRunTest, JobTitleAndWindowOriginComeFromTheHandlerAndTheSurface) {
    printer.SetGeometry(600, 600, QSize(5100, 6600), QPoint(75, 90));
    doc.Pages = 1;
    pp.PrintDocument();
    EXPECT_EQ(printer.Title(), "Test Document");
    const std::vector<QString> expect = {"Title:Test Document", "BeginDoc", "WindowOrigin:75,90", "EndDoc"};
    EXPECT_EQ(printer.Calls, expect);
    // Printed strokes are in sheet coordinates: the origin shift puts them in place.
    auto ops = printer.OpsOnPage(1);
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops[0].pt, QPoint(600, 600));
}

TEST_F(PrintRunTest, CancelledDialogCallsNoHandler) {
    dialogs.PrintAnswer = false;
    pp.PrintDocument();
    EXPECT_EQ(doc.Begins, 0);
    EXPECT_TRUE(doc.Calls.empty());
    EXPECT_TRUE(printer.Calls.empty());
}

TEST_F(PrintRunTest, CancelButtonDuringPageThreeAbortsBeforePageFour) {
    doc.Pages = 6;
    QStringList titles;
    doc.Extra = [&](TPageInfo& info, TSpecialCanvas& s) {
        if (s.Mode != cmPrint) return;
        TPrintStatusForm* status = pp.StatusForm();
        ASSERT_NE(status, nullptr);
        EXPECT_TRUE(status->isVisible());
        EXPECT_EQ(status->PageNumLabel->text(), QString::number(info.PageNumber));
        titles << status->TitleLabel->text();
        if (info.PageNumber == 3) QTest::mouseClick(status->CancelBtn, Qt::LeftButton);
    };
    pp.PrintDocument();
    EXPECT_EQ(doc.PagesIn(cmPrint), (Pages{1, 2, 3}));
    // The page after 3 was begun before Cancel was seen; the abort discards it.
    const std::vector<QString> job = {"BeginDoc", "NewPage", "NewPage", "NewPage", "Abort"};
    EXPECT_EQ(JobCalls(), job);
    EXPECT_EQ(doc.Ends, 1);
    EXPECT_EQ(titles, (QStringList{"Test Document", "Test Document", "Test Document"}));
    EXPECT_EQ(pp.StatusForm(), nullptr);
}

TEST_F(PrintRunTest, ProgressWindowTextsDuringThePrePass) {
    doc.Pages = 3;
    dialogs.PrintFrom = 3;
    QStringList seen;
    doc.Extra = [&](TPageInfo&, TSpecialCanvas&) { seen << pp.StatusForm()->TitleLabel->text(); };
    pp.PrintDocument();
    EXPECT_EQ(seen, (QStringList{"Paginating Page 1", "Paginating Page 2", "Test Document"}));
}

TEST_F(PrintRunTest, StatusWindowLayoutAndCancel) {
    TPrintStatusForm f;
    f.show();
    EXPECT_EQ(f.windowTitle(), "Print Status");
    EXPECT_EQ(f.size(), QSize(278, 118));
    EXPECT_EQ(f.TitleLabel->text(), "(No Title)");
    EXPECT_EQ(f.PageNumLabel->text(), "Initializing...");
    EXPECT_EQ(f.CancelBtn->geometry(), QRect(100, 84, 77, 27));
    EXPECT_EQ(f.TitleLabel->geometry(), QRect(80, 16, 177, 25));
    EXPECT_FALSE(f.Cancelled());
    QTest::mouseClick(f.CancelBtn, Qt::LeftButton);
    EXPECT_TRUE(f.Cancelled());
    EXPECT_EQ(f.TitleLabel->text(), "Cancelling...");
    EXPECT_TRUE(f.isVisible());
}

TEST_F(PrintRunTest, MissingHandlersGiveTheirMessages) {
    struct Row {
        const char* what;
        std::function<void(TPrintPreview&)> unset;
        const char* message;
        bool jobBegun;
    };
    const Row rows[] = {
        {"begin", [](TPrintPreview& p) { p.OnBeginPrint = nullptr; }, "Begin Print Function Not Assigned!", false},
        {"page", [](TPrintPreview& p) { p.OnPrintPage = nullptr; }, "Print Page Function Not Assigned!", true},
        {"end", [](TPrintPreview& p) { p.OnEndPrint = nullptr; }, "End Print Function Not Assigned!", true},
    };
    for (const Row& r : rows) {
        doc = TestDocument();
        doc.Bind(pp);
        r.unset(pp);
        printer.Clear();
        try {
            pp.PrintDocument();
            ADD_FAILURE() << r.what << ": no error";
        } catch (const PrintException& e) {
            EXPECT_STREQ(e.what(), r.message) << r.what;
        }
        EXPECT_FALSE(printer.Printing()) << r.what;
        const bool begun = !printer.Calls.empty();
        EXPECT_EQ(begun, r.jobBegun) << r.what;
        EXPECT_EQ(pp.StatusForm(), nullptr);
    }
}

TEST_F(PrintRunTest, HandlerErrorAbortsJobClosesProgressAndPropagates) {
    doc.Pages = 5;
    QWidget* status = nullptr;
    doc.Extra = [&](TPageInfo& info, TSpecialCanvas& s) {
        status = pp.StatusForm();
        if (s.Mode == cmPrint && info.PageNumber == 2) throw std::runtime_error("ink ran out");
    };
    EXPECT_THROW(pp.PrintDocument(), std::runtime_error);
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.Calls.back(), "Abort");
    EXPECT_EQ(pp.StatusForm(), nullptr);
    ASSERT_NE(status, nullptr);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->objectName() == "PrintStatusForm" && w->isVisible());
}

TEST_F(PrintRunTest, BeginHandlerThatSuppliesNoInfoStopsBeforeTheJob) {
    pp.OnBeginPrint = [](std::unique_ptr<TPageInfo>&) {};
    EXPECT_THROW(pp.PrintDocument(), PrintException);
    EXPECT_TRUE(printer.Calls.empty());
}

TEST(ZoomOptionsTest, SettersClamp) {
    struct Row {
        int min, max, step;
        int eMin, eMax, eStep;
    };
    const Row rows[] = {
        {50, 2000, 50, 50, 2000, 50},
        {0, 50, -5, 1, 100, 0},
        {101, 9999, 9999, 100, 5000, 5000},
        {-3, 100, 0, 1, 100, 0},
    };
    for (const Row& r : rows) {
        TZoomOptions z;
        z.SetMinZoom(r.min);
        z.SetMaxZoom(r.max);
        z.SetZoomStep(r.step);
        EXPECT_EQ(z.MinZoom(), r.eMin);
        EXPECT_EQ(z.MaxZoom(), r.eMax);
        EXPECT_EQ(z.ZoomStep(), r.eStep);
    }
    TZoomOptions d;
    EXPECT_EQ(d.MinZoom(), 50);
    EXPECT_EQ(d.MaxZoom(), 2000);
    EXPECT_EQ(d.ZoomStep(), 50);
}

// Runs Preview with `act` done inside the modal window.
void PreviewWith(TPrintPreview& pp, std::function<void(TPreviewForm&)> act) {
    QTimer::singleShot(0, [&pp, act] {
        TPreviewForm* f = pp.PreviewForm();
        ASSERT_NE(f, nullptr);
        act(*f);
    });
    pp.Preview();
}

TEST_F(PrintRunTest, PreviewHandsOverSettingsAndCarriesTheGridToTheNextPreview) {
    TZoomOptions z;
    z.SetZoomStep(0);
    pp.SetZoomOptions(z);
    pp.VisibleButtons().Print = false;
    pp.CurrentPage = 2;
    pp.Title = "My Map";
    PreviewWith(pp, [](TPreviewForm& f) {
        EXPECT_EQ(f.windowTitle(), "My Map");
        EXPECT_FLOAT_EQ(f.ZoomFactor, 1.0f);
        EXPECT_FLOAT_EQ(f.ZoomMin, 0.5f);
        EXPECT_FLOAT_EQ(f.ZoomMax, 20.0f);
        EXPECT_FALSE(f.PrintBut->isVisible());
        EXPECT_EQ(f.CurPage, 2);
        EXPECT_FALSE(f.GridBut->isChecked());
        QTest::mouseClick(f.GridBut, Qt::LeftButton);
        QTest::mouseClick(f.CloseBut, Qt::LeftButton);
    });
    EXPECT_TRUE(pp.ShowGrid);
    EXPECT_EQ(pp.CurrentPage, 2);
    PreviewWith(pp, [](TPreviewForm& f) {
        EXPECT_TRUE(f.GridBut->isChecked());
        f.close();
    });
    EXPECT_EQ(doc.Begins, 2);
    EXPECT_EQ(doc.Ends, 2);
    EXPECT_EQ(dialogs.PrintDialogsShown, 0);
}

TEST_F(PrintRunTest, PrintButtonInPreviewClosesThenPrints) {
    doc.Pages = 2;
    std::vector<QString> order;
    pp.OnBeginPrint = [&](std::unique_ptr<TPageInfo>& i) {
        order.push_back("begin");
        doc.Begin(i);
    };
    pp.OnEndPrint = [&](std::unique_ptr<TPageInfo>& i) {
        order.push_back("end");
        doc.End(i);
    };
    PreviewWith(pp, [](TPreviewForm& f) { QTest::mouseClick(f.PrintBut, Qt::LeftButton); });
    EXPECT_EQ(order, (std::vector<QString>{"begin", "end", "begin", "end"}));
    EXPECT_EQ(doc.PagesIn(cmPrint), (Pages{1, 2}));
    EXPECT_EQ(dialogs.PrintDialogsShown, 1);
}

// ---- through the real QPrinter ----

TEST(PdfPrintTest, ThreePageDocumentGivesThreePdfPagesAndCancelLeavesNoFile) {
    qmtest::TempDir dir;
    TQtPrinter qt;
    qmtest::TScriptedDialogs dialogs;
    Installed installed{&qt, &dialogs};
    TestDocument doc;
    TPrintPreview pp;
    doc.Bind(pp);

    const QString pdf = QString::fromStdString(dir.File("doc.pdf"));
    qt.SetPdfFile(pdf);
    pp.PrintDocument();
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_FALSE(QFile::exists(pdf + ".part"));
    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(10000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+3\\n")));

    // A cancelled job leaves the earlier file as it was and no partial file.
    const QByteArray before = [&] {
        QFile f(pdf);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    doc.Pages = 6;
    doc.Extra = [&](TPageInfo& i, TSpecialCanvas& s) {
        if (s.Mode == cmPrint && i.PageNumber == 2) QTest::mouseClick(pp.StatusForm()->CancelBtn, Qt::LeftButton);
    };
    pp.PrintDocument();
    EXPECT_FALSE(QFile::exists(pdf + ".part"));
    QFile after(pdf);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

TEST(PdfPrintTest, UnwritableTargetIsAClearErrorNamingTheFile) {
    TQtPrinter qt;
    qmtest::TScriptedDialogs dialogs;
    Installed installed{&qt, &dialogs};
    TestDocument doc;
    TPrintPreview pp;
    doc.Bind(pp);
    qt.SetPdfFile("/nonexistent-folder/x/out.pdf");
    try {
        pp.PrintDocument();
        FAIL() << "no error";
    } catch (const PrintException& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent-folder/x/out.pdf"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(qt.Printing());
}

} // namespace
