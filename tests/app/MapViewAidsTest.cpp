// Finding one's way on the map and maps that come from outside: the pointer's cell in the
// status bar, Ctrl + wheel zoom, the cell lines, Shift-drag terrain, start argument and drop.
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QToolTip>
#include <QUrl>
#include <cstring>

#include "editor/SmartTerrain.h"
#include "model/RecordFile.h"
#include "tests/app/AppFixture.h"
#include "tiles/BuiltInSymbols.h"

using namespace qmtest;

namespace {

void Move(QWidget* port, QPoint to, Qt::MouseButtons held = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, to, port->mapToGlobal(to), Qt::NoButton, held, {});
    QApplication::sendEvent(port, &move);
}

void Wheel(QWidget* port, QPoint at, int delta, Qt::KeyboardModifiers mods) {
    QWheelEvent wheel(at, port->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(port, &wheel);
}

qm::TMapRecord SampleMap(uint8_t mark, uint8_t zoom = 32) {
    qm::TMapRecord m;
    qm::ClearMapRecord(m);
    m.Cell(5, 7).Upper = mark;
    m.Zoom = zoom;
    return m;
}

bool SameCells(const qm::TMapRecord& a, const qm::TMapRecord& b) {
    return std::memcmp(a.Cells, b.Cells, sizeof a.Cells) == 0;
}

// Sends a drag of the given file's URL over the window and drops it.
bool DropOn(QWidget* target, const QString& path) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

} // namespace

TEST_F(AppTest, ShiftDragStampsEveryCellAsOneUndoStep) {
    Start();
    Click(Find<QToolButton>("ButtonWall"));
    Map().Cell(30, 30).Upper = 77; // something the undo must bring back
    const auto before = Map();
    // A 1 x 6 line down column 21 (grid column 20), rows 11..16.
    QTest::mousePress(GridPort(), Qt::LeftButton, Qt::ShiftModifier, CellCentre(20, 10));
    Move(GridPort(), CellCentre(20, 15), Qt::LeftButton);
    QTest::mouseRelease(GridPort(), Qt::LeftButton, Qt::ShiftModifier, CellCentre(20, 15));

    static qm::TMapRecord expected;
    expected = before;
    for (int row = 11; row <= 16; ++row) qm::StampSmartTerrain(expected, 21, row, 128, qm::lmAuto);
    EXPECT_TRUE(SameCells(Map(), expected));
    EXPECT_EQ(Map().Cell(21, 16).Upper, 128 + 13); // the line reaches the bottom cell
    EXPECT_TRUE(SameCells(Undo(), before));        // one snapshot, taken before the first stamp
    Trigger(Find<QAction>("Undo"));
    EXPECT_TRUE(SameCells(Map(), before));

    // Without Shift the same drag stamps once, at the top-left cell.
    QTest::mousePress(GridPort(), Qt::LeftButton, {}, CellCentre(20, 10));
    Move(GridPort(), CellCentre(20, 15), Qt::LeftButton);
    QTest::mouseRelease(GridPort(), Qt::LeftButton, {}, CellCentre(20, 15));
    expected = before;
    qm::StampSmartTerrain(expected, 21, 11, 128, qm::lmAuto);
    EXPECT_TRUE(SameCells(Map(), expected));
}

TEST_F(AppTest, StatusBarShowsThePointersCellAndTheDraggedSize) {
    Start();
    ASSERT_NE(Find<QLabel>("CellPanel"), nullptr);
    EXPECT_TRUE(Find<QLabel>("CellPanel")->text().isEmpty());
    Move(GridPort(), CellCentre(4, 9));
    EXPECT_EQ(Find<QLabel>("CellPanel")->text(), "Col 5, Row 10");
    QTest::mousePress(GridPort(), Qt::LeftButton, {}, CellCentre(4, 9));
    Move(GridPort(), CellCentre(7, 10), Qt::LeftButton);
    EXPECT_EQ(Find<QLabel>("CellPanel")->text(), "Col 8, Row 11   4 x 2");
    QTest::mouseRelease(GridPort(), Qt::LeftButton, {}, CellCentre(7, 10));
    EXPECT_EQ(Find<QLabel>("CellPanel")->text(), "Col 8, Row 11");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(DrawGrid1(), &leave);
    EXPECT_TRUE(Find<QLabel>("CellPanel")->text().isEmpty());
}

TEST_F(AppTest, CtrlWheelZoomsKeepingTheCellUnderThePointer) {
    Start();
    Find<QAction>("ZoomIn")->trigger(); // 32: the map is larger than the view, so it can scroll
    DrawGrid1()->horizontalScrollBar()->setValue(300);
    DrawGrid1()->verticalScrollBar()->setValue(200);
    struct Step {
        int delta;
        int size;
    };
    const Step steps[] = {{120, 48}, {120, 64}, {-120, 48}, {-240, 16}, {60, 16}, {60, 32}};
    const QPoint at(137, 91);
    for (const Step& s : steps) {
        int c0, r0, c1, r1;
        ASSERT_TRUE(DrawGrid1()->CellAt(at, c0, r0));
        Wheel(GridPort(), at, s.delta, Qt::ControlModifier);
        EXPECT_EQ(DrawGrid1()->DefaultColWidth(), s.size) << s.delta;
        EXPECT_EQ(Map().Zoom, s.size);
        ASSERT_TRUE(DrawGrid1()->CellAt(at, c1, r1));
        EXPECT_EQ(c1, c0) << s.delta;
        EXPECT_EQ(r1, r0) << s.delta;
    }
    // A plain wheel scrolls and leaves the zoom alone.
    const int top = DrawGrid1()->verticalScrollBar()->value();
    Wheel(GridPort(), at, -120, {});
    EXPECT_EQ(DrawGrid1()->DefaultColWidth(), 32);
    EXPECT_GT(DrawGrid1()->verticalScrollBar()->value(), top);
}

TEST_F(AppTest, GridLinesAreOffAtStartAndDrawnOnScreenOnly) {
    Start();
    ASSERT_NE(Find<QAction>("ShowGridLines1"), nullptr);
    EXPECT_TRUE(Find<QAction>("ShowGridLines1")->isCheckable());
    EXPECT_FALSE(Find<QAction>("ShowGridLines1")->isChecked());
    Find<QAction>("ZoomIn")->trigger();
    const QRect cell = DrawGrid1()->CellRect(2, 2);
    const QImage plain = GridPort()->grab().toImage();
    Find<QAction>("ShowGridLines1")->trigger();
    EXPECT_TRUE(Find<QAction>("ShowGridLines1")->isChecked());
    const QImage lined = GridPort()->grab().toImage();
    const QPoint edge(cell.right(), cell.center().y()), inside = cell.center();
    EXPECT_NE(lined.pixel(edge * plain.devicePixelRatio()), plain.pixel(edge * plain.devicePixelRatio()));
    EXPECT_EQ(lined.pixel(inside * plain.devicePixelRatio()), plain.pixel(inside * plain.devicePixelRatio()));
}

TEST(StartArguments, PathOrFileUrlBecomesAnAbsolutePath) {
    const QString cwd = QDir::currentPath();
    struct Case {
        QStringList args;
        QString want;
    };
    const Case cases[] = {
        {{"quillmarch"}, ""},
        {{"quillmarch", "/maps/a.map"}, "/maps/a.map"},
        {{"quillmarch", "rel.map"}, cwd + "/rel.map"},
        {{"quillmarch", "file:///maps/with%20space.map"}, "/maps/with space.map"},
        {{"quillmarch", "/maps/a.map", "/maps/b.map"}, "/maps/a.map"},
    };
    for (const Case& c : cases) EXPECT_EQ(qm::StartFileFromArguments(c.args), c.want) << c.args.join(' ').toStdString();
}

TEST_F(AppTest, MapNamedAtStartOpensAfterTheSetUp) {
    qm::WriteMapFile(work.File("start.map"), SampleMap(20, 48));
    windows = qm::CreateApplicationWindows(ProgramDir());
    win = windows.Main.get();
    win->SetStartFile(
        qm::StartFileFromArguments({"quillmarch", QUrl::fromLocalFile(WorkFile("start.map")).toString()}));
    qm::ShowMainWindow(*win);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !win->State().FirstActivation; }, 5000));
    EXPECT_EQ(Map().Cell(5, 7).Upper, 20);
    EXPECT_EQ(DrawGrid1()->DefaultColWidth(), 48);
    EXPECT_EQ(Caption(), "QuillMarch - start.map");
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(AppTest, MissingStartMapIsReportedAndTheMapStaysEmpty) {
    windows = qm::CreateApplicationWindows(ProgramDir());
    win = windows.Main.get();
    win->SetStartFile(qm::StartFileFromArguments({"quillmarch", WorkFile("gone.map")}));
    qm::ShowMainWindow(*win);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !win->State().FirstActivation; }, 5000));
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors[0].startsWith("Cannot open file")) << dialogs.Errors[0].toStdString();
    EXPECT_TRUE(dialogs.Errors[0].contains("gone.map"));
    static qm::TMapRecord empty;
    qm::ResetMap(empty, "", 16);
    EXPECT_TRUE(SameCells(Map(), empty));
    EXPECT_EQ(Caption(), "QuillMarch");
    EXPECT_TRUE(win->State().Document.FileName().isEmpty());
}

TEST_F(AppTest, DroppedMapOpensOtherFilesAreRefused) {
    Start();
    qm::WriteMapFile(work.File("dropped.map"), SampleMap(20));
    std::FILE* f = std::fopen(work.File("notes.txt").c_str(), "w");
    std::fputs("not a map", f);
    std::fclose(f);
    EXPECT_FALSE(DropOn(GridPort(), WorkFile("notes.txt")));
    EXPECT_EQ(Map().Cell(5, 7).Upper, 0);
    EXPECT_TRUE(DropOn(GridPort(), WorkFile("dropped.map")));
    EXPECT_EQ(Map().Cell(5, 7).Upper, 20);
    EXPECT_EQ(win->State().Document.FileName(), WorkFile("dropped.map"));
    EXPECT_EQ(Caption(), "QuillMarch - dropped.map");
}

TEST_F(AppTest, SymbolColumnNamesItsRowsInTipsAndStatusBar) {
    Start();
    QWidget* column = SymbolGrid()->viewport();
    struct Row {
        int symbol;
        const char* name;
    };
    const Row rows[] = {{10, "Stone floor"}, {13, "Wooden door, east-west wall"}, {34, "Trap marker"}};
    for (const Row& r : rows) {
        SymbolGrid()->ScrollToCell(0, r.symbol);
        const QPoint at = SymbolGrid()->CellRect(0, r.symbol).center();
        Move(column, at);
        EXPECT_EQ(Find<QLabel>("CellPanel")->text(), r.name);
        QHelpEvent tip(QEvent::ToolTip, at, column->mapToGlobal(at));
        QApplication::sendEvent(column, &tip);
        EXPECT_EQ(QToolTip::text(), r.name);
    }
    // Over the map the panel names what the cell shows on top.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(SymbolGrid(), &leave);
    Map().Cell(3, 4) = {34, 10, 0};
    Move(GridPort(), CellCentre(2, 3));
    EXPECT_EQ(Find<QLabel>("CellPanel")->text(), "Col 3, Row 4   Trap marker");
}

TEST_F(AppTest, StatusBarFollowsThePointerAfterZoomAndTypeAhead) {
    Start();
    QLabel* panel = Find<QLabel>("CellPanel");
    const QPoint at = CellCentre(4, 6); // "Col 5, Row 7" at zoom 16
    Move(GridPort(), at);
    EXPECT_EQ(panel->text(), "Col 5, Row 7");
    QTest::keyClick(win, Qt::Key_I, Qt::ControlModifier); // zoom 32: the pointer is over (3, 4)
    int c = -1, r = -1;
    ASSERT_TRUE(DrawGrid1()->CellAt(at, c, r));
    EXPECT_EQ(panel->text(), QStringLiteral("Col %1, Row %2").arg(c + 1).arg(r + 1));
    EXPECT_EQ(panel->text(), "Col 3, Row 4");

    // Type-ahead scrolls the symbol column under a resting pointer.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(DrawGrid1(), &leave);
    const QPoint row2 = SymbolGrid()->CellRect(0, 2).center();
    Move(SymbolGrid()->viewport(), row2);
    EXPECT_EQ(panel->text(), qm::SymbolName(win->State().Symbols, 2));
    SymbolGrid()->setFocus();
    QTest::keyClicks(SymbolGrid(), "trap"); // far down the column: it scrolls
    ASSERT_TRUE(SymbolGrid()->CellAt(row2, c, r));
    EXPECT_GT(r, 2);
    EXPECT_EQ(panel->text(), qm::SymbolName(win->State().Symbols, r));
}

TEST_F(AppTest, TypingInTheSymbolColumnJumpsToTheNextNameWithThoseLetters) {
    Start();
    SymbolGrid()->setFocus();
    QTest::keyClicks(SymbolGrid(), "st"); // "Stone floor" is the first "st" after row 0
    EXPECT_EQ(SymbolGrid()->Row(), 10);
    QTest::keyClicks(SymbolGrid(), "a"); // "sta": the prefix goes on from the current row
    EXPECT_EQ(SymbolGrid()->Row(), 22);
    EXPECT_EQ(Map().CurrentSymbol, 22); // picked as by a click, Draw pressed
    EXPECT_TRUE(Find<QToolButton>("ButtonDraw")->isChecked());
    QTest::qWait(1100); // a pause starts a new search after the current row
    QTest::keyClicks(SymbolGrid(), "s");
    EXPECT_EQ(SymbolGrid()->Row(), 23);
    QTest::keyClicks(SymbolGrid(), "s"); // the same letter again steps on
    EXPECT_GT(SymbolGrid()->Row(), 23);
    EXPECT_TRUE(qm::NameMatches(qm::SymbolName(win->State().Symbols, SymbolGrid()->Row()), "s")); // a word starts so
    const int before = SymbolGrid()->Row();
    QTest::qWait(1100);
    QTest::keyClicks(SymbolGrid(), "qqz"); // no name starts so: nothing moves
    EXPECT_EQ(SymbolGrid()->Row(), before);
}

namespace qmtest {

// Ctrl+F goes to the Find Symbol box; its words narrow the column, Enter picks the first
// symbol found, an empty box shows every symbol again; Ctrl + click with Draw picks up the
// symbol in a map cell (upper, else lower), listed among the gestures.
TEST_F(AppTest, FindSymbolBoxAndEyedropper) {
    Start();
    auto* box = Find<QLineEdit>("FindSymbolBox");
    QTest::keyClick(win, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(box->hasFocus());
    QTest::keyClicks(box, "wooden");
    EXPECT_EQ(SymbolGrid()->RowCount(), 4);
    QTest::keyClicks(box, " pl");
    EXPECT_EQ(SymbolGrid()->RowCount(), 1);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(Map().CurrentSymbol, qm::sym::Planks);
    EXPECT_TRUE(Find<QToolButton>("ButtonDraw")->isChecked());
    box->clear();
    EXPECT_EQ(SymbolGrid()->RowCount(), 256);
    EXPECT_EQ(SymbolGrid()->Row(), qm::sym::Planks);

    box->setText("trap"); // narrowed to others: the pick widens the column again
    Map().Cell(3, 4) = {0, 17, 0};
    Map().Cell(5, 4) = {30, 17, 0};
    const struct {
        int col, row, symbol;
    } picks[] = {{2, 3, 17}, {4, 3, 30}, {6, 3, 30}}; // an empty cell leaves the symbol as it was
    for (const auto& p : picks) {
        QTest::mouseClick(GridPort(), Qt::LeftButton, Qt::ControlModifier, CellCentre(p.col, p.row));
        EXPECT_EQ(Map().CurrentSymbol, p.symbol) << p.col;
        EXPECT_EQ(SymbolGrid()->RowCount(), 256);
        EXPECT_EQ(SymbolGrid()->Row(), p.symbol);
    }
    EXPECT_EQ(Map().Cell(7, 4).Upper, 0); // nothing was drawn
    const auto list = win->ShortcutList();
    EXPECT_TRUE(std::any_of(list.begin(), list.end(),
                            [](const auto& e) { return e.first == "Ctrl+F" && e.second.endsWith("Find Symbol"); }));
    EXPECT_TRUE(
        std::any_of(list.begin(), list.end(), [](const auto& e) { return e.first == "Ctrl + click with Draw"; }));
}

} // namespace qmtest
