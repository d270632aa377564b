// The map's steps in the real window: every command one named step, the History dock,
// Step Backward / Forward and the caption, and Save over a file another program changed.
#include <QDockWidget>
#include <QFile>
#include <QListWidget>

#include "model/RecordFile.h"
#include "tests/app/AppFixture.h"

using namespace qmtest;

namespace {

std::vector<unsigned char> Bytes(const qm::TMapRecord& m) {
    auto p = reinterpret_cast<const unsigned char*>(&m);
    return {p, p + sizeof m};
}

class HistoryTest : public AppTest {
protected:
    // A hand-made map in the work folder, opened.
    void OpenHandMade(const char* name) {
        qm::TMapRecord m;
        qm::ResetMap(m, "", 16);
        for (int x = 3; x <= 9; ++x) m.Cell(x, 4) = {131, 10, 0};
        m.Cell(5, 6).Lower = 17;
        qm::WriteMapFile(work.File(name), m);
        win->OpenMapFile(WorkFile(name));
    }
    const qm::TMapHistory& History() { return win->State().Document.History(); }
    QStringList Steps() {
        QStringList out;
        for (int i = 0; i < History().Count(); ++i) out << History().Name(i);
        return out;
    }
    void ClickCell(int c, int r, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(GridPort(), Qt::LeftButton, mods, CellCentre(c, r));
    }
};

TEST_F(HistoryTest, EveryCommandIsOneNamedStep) {
    StartWithDefaultGeoSet();
    OpenHandMade("a.map");
    const struct {
        const char* step;
        std::function<void()> run;
    } commands[] = {
        {"Draw", [&] { win->SymbolGridSelectCell(0, 17), ClickCell(2, 2); }},
        {"Erase", [&] { Click(Find<QToolButton>("ButtonErase")), ClickCell(2, 2); }},
        {"Wall terrain", [&] { Click(Find<QToolButton>("ButtonWall")), ClickCell(20, 20); }},
        {"Stamp area",
         [&] {
             Click(Find<QToolButton>("ButtonWater"));
             QTest::mousePress(GridPort(), Qt::LeftButton, Qt::ShiftModifier, CellCentre(30, 30));
             QMouseEvent move(QEvent::MouseMove, CellCentre(33, 31), GridPort()->mapToGlobal(CellCentre(33, 31)),
                              Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
             QApplication::sendEvent(GridPort(), &move);
             QTest::mouseRelease(GridPort(), Qt::LeftButton, Qt::ShiftModifier, CellCentre(33, 31));
         }},
        {"Cut", [&] { Click(Find<QToolButton>("ToolButton28")), ClickCell(20, 20), Trigger(Find<QAction>("Cut")); }},
        {"Paste", [&] { ClickCell(40, 40), Trigger(Find<QAction>("Paste")); }},
        {"Undo", [&] { Trigger(Find<QAction>("Undo")); }},
        {"Random map", [&] { QTest::keyClick(win, Qt::Key_R, Qt::ControlModifier); }},
        {"Random maplet", [&] { ClickCell(0, 0), Trigger(Find<QAction>("RandomMaplet1")); }},
        {"Background", [&] { Map().CurrentSymbol = 11, Trigger(Find<QAction>("SetBackground1")); }},
        {"Show Hidden", [&] { Trigger(Find<QAction>("ShowHidden")); }},
    };
    EXPECT_EQ(Steps(), QStringList{"Open"});
    for (const auto& c : commands) {
        SCOPED_TRACE(c.step);
        const int before = History().Count();
        c.run();
        ASSERT_EQ(History().Count(), before + 1);
        EXPECT_EQ(History().Name(History().Current()), c.step);
    }
    // Copy, zoom and picking a symbol are no steps.
    const int count = History().Count();
    Trigger(Find<QAction>("Copy"));
    Trigger(Find<QAction>("ZoomIn"));
    win->SymbolGridSelectCell(0, 30);
    EXPECT_EQ(History().Count(), count);
}

TEST_F(HistoryTest, RandomMapThenAnEditThenTheHistoryDockBringsTheHandMadeMapBack) {
    StartWithDefaultGeoSet();
    OpenHandMade("a.map");
    const auto handMade = ReadAll(work.File("a.map"));
    QTest::keyClick(win, Qt::Key_R, Qt::ControlModifier);
    win->SymbolGridSelectCell(0, 17);
    ClickCell(1, 1);
    QTest::keyClick(win, Qt::Key_R, Qt::ControlModifier);
    EXPECT_NE(Bytes(Map()), handMade);
    EXPECT_EQ(Caption(), "QuillMarch - a.map*");

    Trigger(Find<QAction>("History1"));
    auto* dock = Find<QDockWidget>("HistoryDock");
    auto* list = Find<QListWidget>("HistoryList");
    ASSERT_TRUE(dock->isVisible());
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(0)->text(), "Open");
    EXPECT_EQ(list->item(1)->text(), "Random map");
    EXPECT_EQ(list->item(2)->text(), "Draw");
    EXPECT_EQ(list->currentRow(), 3);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(Bytes(Map()), handMade);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(Caption(), "QuillMarch - a.map"); // the state that is in the file
    // Walking forward again shows the later states; nothing was dropped.
    QTest::keyClick(win, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(History().Current(), 1);
    EXPECT_EQ(list->currentRow(), 1);
    QTest::keyClick(list, Qt::Key_Down); // the arrow keys walk the list too
    EXPECT_EQ(History().Current(), 2);
    // The dock can be closed.
    dock->close();
    EXPECT_FALSE(dock->isVisible());
}

TEST_F(HistoryTest, StepBackwardToTheSavedStateClearsTheCaptionsMark) {
    Start();
    win->SymbolGridSelectCell(0, 17);
    ClickCell(1, 1);
    dialogs.FileAnswers = {WorkFile("s.map")};
    QTest::keyClick(win, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Caption(), "QuillMarch - s.map");
    ClickCell(2, 2);
    EXPECT_EQ(Caption(), "QuillMarch - s.map*");
    EXPECT_FALSE(Find<QAction>("StepForward1")->isEnabled());
    QTest::keyClick(win, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Caption(), "QuillMarch - s.map");
    EXPECT_EQ(Bytes(Map()), ReadAll(work.File("s.map")));
    EXPECT_TRUE(Find<QAction>("StepForward1")->isEnabled());
    Trigger(Find<QAction>("StepBackward1"));
    EXPECT_EQ(Caption(), "QuillMarch - s.map*");
    EXPECT_FALSE(Find<QAction>("StepBackward1")->isEnabled());
    // New starts a fresh history.
    dialogs.ConfirmAnswers = {qm::TConfirm::No};
    Trigger(Find<QAction>("New"));
    EXPECT_EQ(Steps(), QStringList{"New"});
}

TEST_F(HistoryTest, SaveOverAFileAnotherProgramChangedAsks) {
    const QString question = "a.map was changed by another program since it was opened. Overwrite it?";
    const struct {
        qm::TConfirm answer;
        bool mineInA; // a.map holds this window's map afterwards
        bool writesB; // Save As... wrote b.map
    } cases[] = {
        {qm::TConfirm::Cancel, false, false},
        {qm::TConfirm::Yes, true, false},
        {qm::TConfirm::No, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.answer));
        windows = {};
        QFile::remove(WorkFile("b.map"));
        Start();
        OpenHandMade("a.map");
        win->SymbolGridSelectCell(0, 17);
        ClickCell(1, 1);
        const auto mine = Bytes(Map());
        // A second copy of the program opens the same file, changes it and saves.
        auto other = std::make_unique<qm::TMapDocument>();
        other->Open(WorkFile("a.map"));
        other->Edit("Draw", [](qm::TMapRecord& m) { m.Cell(9, 9).Upper = 40; });
        other->Save(WorkFile("a.map"));
        const auto theirs = ReadAll(work.File("a.map"));

        dialogs.Confirms.clear();
        dialogs.ConfirmAnswers = {c.answer};
        dialogs.FileAnswers = {WorkFile("b.map")};
        QTest::keyClick(win, Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(dialogs.Confirms, QStringList{question});
        EXPECT_EQ(ReadAll(work.File("a.map")), c.mineInA ? mine : theirs);
        EXPECT_EQ(QFile::exists(WorkFile("b.map")), c.writesB);
        if (c.writesB) {
            EXPECT_EQ(ReadAll(work.File("b.map")), mine);
        }
        EXPECT_EQ(win->State().Document.Modified(), c.answer == qm::TConfirm::Cancel);
    }
    // A file deleted since it was opened is simply written.
    QFile::remove(WorkFile("b.map"));
    dialogs.Confirms.clear();
    win->SymbolGridSelectCell(0, 18);
    ClickCell(3, 3);
    QTest::keyClick(win, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.Confirms.isEmpty());
    EXPECT_EQ(ReadAll(work.File("b.map")), Bytes(Map()));
}

} // namespace
