// Drawing on the real map grid with the mouse, the symbol column, layer button and view commands.
#include "tests/app/AppFixture.h"

using namespace qmtest;

namespace {

// Presses at cell a, drags to cell b and releases there, all with the left button.
void Drag(QWidget* port, QPoint a, QPoint b) {
    QTest::mousePress(port, Qt::LeftButton, {}, a);
    QMouseEvent move(QEvent::MouseMove, b, port->mapToGlobal(b), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(port, &move);
    QTest::mouseRelease(port, Qt::LeftButton, {}, b);
}

void PickSymbol(qm::Twinviewform* win, int row) {
    auto* column = win->findChild<qm::TDrawGrid*>("SymbolGrid");
    column->ScrollToCell(0, row);
    QTest::mouseClick(column->viewport(), Qt::LeftButton, {}, column->CellRect(0, row).center());
}

int CountChanged(const qm::TMapRecord& a, const qm::TMapRecord& b) {
    int n = 0;
    for (int x = 1; x <= qm::MapSize; ++x)
        for (int y = 1; y <= qm::MapSize; ++y) n += std::memcmp(&a.Cell(x, y), &b.Cell(x, y), 3) != 0;
    return n;
}

TEST_F(AppTest, PickingASymbolPressesDraw) {
    Start();
    for (int row : {0, 17, 200}) {
        SCOPED_TRACE(row);
        Click(Find<QToolButton>("ButtonWater"));
        PickSymbol(win, row);
        EXPECT_EQ(Map().CurrentSymbol, row);
        EXPECT_TRUE(Find<QToolButton>("ButtonDraw")->isChecked());
        EXPECT_FALSE(Find<QToolButton>("ButtonWater")->isChecked());
    }
}

TEST_F(AppTest, NewKeepsTheHighlightedSymbolRowWhileCurrentSymbolIsZero) {
    Start();
    PickSymbol(win, 17);
    Trigger(Find<QAction>("New"));
    EXPECT_EQ(Map().CurrentSymbol, 0);
    EXPECT_EQ(SymbolGrid()->Selection().Top, 17);
    // The highlight is drawn: the row's outline is red.
    const QImage shot = SymbolGrid()->viewport()->grab().toImage();
    const QRect r = SymbolGrid()->CellRect(0, 17);
    EXPECT_EQ(QColor(shot.pixel(r.left() + r.width() / 2, r.top())), QColor(Qt::red));
}

TEST_F(AppTest, DrawClickPaintsOneCellAndDragPaintsTheRectangle) {
    Start();
    PickSymbol(win, 17); // a lower-layer symbol of the default tileset
    QTest::mouseClick(GridPort(), Qt::LeftButton, {}, CellCentre(3, 4));
    qm::TMapRecord empty;
    qm::ResetMap(empty, "", 16);
    empty.CurrentSymbol = 17;
    EXPECT_EQ(CountChanged(Map(), empty), 1);
    EXPECT_EQ(Map().Cell(4, 5).Lower, 17);
    EXPECT_EQ(Undo().Cell(4, 5).Lower, 0); // snapshot taken before the stroke

    PickSymbol(win, 40); // an upper-layer symbol
    Drag(GridPort(), CellCentre(6, 2), CellCentre(8, 5));
    for (int c = 5; c <= 9; ++c)
        for (int r = 1; r <= 6; ++r) {
            const bool inside = c >= 6 && c <= 8 && r >= 2 && r <= 5;
            EXPECT_EQ(Map().Cell(c + 1, r + 1).Upper, inside ? 40 : 0) << c << "," << r;
        }
    EXPECT_EQ(CountChanged(Map(), Undo()), 12);
}

TEST_F(AppTest, ReleaseOfAnyButtonAppliesTheTool) {
    Start();
    PickSymbol(win, 40);
    QTest::mouseClick(GridPort(), Qt::LeftButton, {}, CellCentre(10, 10));
    Map().Cell(11, 11).Upper = 0;
    // A right-button press does not move the selection; its release still paints it.
    QTest::mouseClick(GridPort(), Qt::RightButton, {}, CellCentre(30, 30));
    EXPECT_EQ(Map().Cell(11, 11).Upper, 40);
    EXPECT_EQ(Map().Cell(31, 31).Upper, 0);
}

struct ToolCase {
    const char* button;
    int base; // 0: not a smart tool
};

const ToolCase SmartTools[] = {
    {"ButtonWall", 128},  {"ButtonWater", 144},  {"ButtonFire", 160},     {"ButtonHole", 176},
    {"ButtonSlime", 192}, {"ButtonForest", 208}, {"ButtonMountain", 224}, {"ButtonDesert", 240},
};

TEST_F(AppTest, SmartToolsStampTheirTerrainAtTheSelectionsTopLeft) {
    Start();
    for (const ToolCase& t : SmartTools) {
        SCOPED_TRACE(t.button);
        dialogs.ConfirmAnswers = {qm::TConfirm::No}; // discard the previous stamp
        Trigger(Find<QAction>("New"));
        Click(win->findChild<QToolButton*>(t.button));
        Drag(GridPort(), CellCentre(10, 10), CellCentre(14, 14)); // 5 x 5 selection
        EXPECT_EQ(Map().Cell(11, 11).Upper, t.base + 13);         // centre: the top-left cell
        EXPECT_EQ(Map().Cell(10, 10).Upper, t.base + 8);          // NW outer corner
        EXPECT_EQ(Map().Cell(12, 12).Upper, t.base + 6);          // SE outer corner
        EXPECT_EQ(Map().Cell(15, 15).Upper, 0);
        EXPECT_EQ(CountChanged(Map(), Undo()), 9);
    }
}

TEST_F(AppTest, EraserEmptiesTheLayersOfTheMode) {
    Start();
    Map().Cell(3, 3) = {40, 17, 9};
    Click(Find<QToolButton>("ButtonErase"));
    QTest::mouseClick(GridPort(), Qt::LeftButton, {}, CellCentre(2, 2));
    EXPECT_EQ(Map().Cell(3, 3).Upper, 0);
    EXPECT_EQ(Map().Cell(3, 3).Lower, 0);
    EXPECT_EQ(Map().Cell(3, 3).Spare, 9);
}

TEST_F(AppTest, SelectionToolChangesNeitherMapNorUndo) {
    Start();
    Map().Cell(5, 5).Upper = 33;
    Undo().Cell(6, 6).Lower = 44;
    const qm::TMapRecord map = Map(), undo = Undo();
    ASSERT_TRUE(Find<QToolButton>("ToolButton28")->isChecked());
    Drag(GridPort(), CellCentre(2, 2), CellCentre(9, 9));
    QTest::mouseClick(GridPort(), Qt::RightButton, {}, CellCentre(4, 4));
    EXPECT_EQ(std::memcmp(&map, &Map(), sizeof map), 0);
    EXPECT_EQ(std::memcmp(&undo, &Undo(), sizeof undo), 0);
    EXPECT_EQ(DrawGrid1()->Selection().Right, 9);
}

TEST_F(AppTest, LayerButtonCyclesImageAndMode) {
    Start();
    const QImage& upper = win->State().Tileset.ToolPalette[14];
    struct Step {
        int image;
        qm::TLayerMode mode;
    } steps[] = {{14, qm::lmUpper}, {15, qm::lmLower}, {16, qm::lmAuto}};
    for (const Step& s : steps) {
        Click(Find<QToolButton>("LayerButton"));
        EXPECT_EQ(win->LayerImage(), s.image);
        EXPECT_EQ(win->State().CurrentLayerMode, s.mode);
        EXPECT_EQ(qm::Twinviewform::ImageIndexOf(Find<QToolButton>("LayerButton")), s.image);
    }
    Click(Find<QToolButton>("LayerButton"));
    EXPECT_EQ(Find<QToolButton>("LayerButton")->icon().pixmap(16, 16).toImage().convertToFormat(upper.format()), upper);
    // The mode reaches drawing: symbol 40 goes to the lower layer in lmLower.
    Click(Find<QToolButton>("LayerButton"));
    PickSymbol(win, 40);
    QTest::mouseClick(GridPort(), Qt::LeftButton, {}, CellCentre(0, 0));
    EXPECT_EQ(Map().Cell(1, 1).Lower, 40);
    EXPECT_EQ(Map().Cell(1, 1).Upper, 0);
}

TEST_F(AppTest, ZoomStepsThroughTheTable) {
    Start();
    struct Step {
        const char* action;
        int size;
    };
    const char* in = "ZoomIn1";
    const char* out = "ZoomOut1";
    const Step steps[] = {{in, 32},  {in, 48},  {in, 64},  {in, 80},  {in, 96}, {in, 96}, {out, 80},
                          {out, 64}, {out, 48}, {out, 32}, {out, 16}, {out, 8}, {out, 8}, {in, 16}};
    for (const Step& s : steps) {
        Find<QAction>(s.action)->trigger();
        EXPECT_EQ(DrawGrid1()->DefaultColWidth(), s.size);
        EXPECT_EQ(DrawGrid1()->DefaultRowHeight(), s.size);
        EXPECT_EQ(Map().Zoom, s.size);
    }
    EXPECT_EQ(Undo().Zoom, 0); // zooming takes no snapshot
}

TEST_F(AppTest, ShortcutsReachTheCommands) {
    Start();
    DrawGrid1()->setFocus();
    QTest::keyClick(win, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(Map().Zoom, 32);
    QTest::keyClick(win, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Map().Zoom, 16);
    QTest::keyClick(win, Qt::Key_H, Qt::ControlModifier);
    EXPECT_FALSE(Find<QAction>("ShowHidden")->isChecked());
    EXPECT_EQ(Map().ShowHidden, 0);
    QTest::keyClick(win, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(Map().ShowHidden, 1);
    Map().CurrentSymbol = 11;
    QTest::keyClick(win, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(Map().Background, 11);
    dialogs.ConfirmAnswers = {qm::TConfirm::No};          // discard the changes
    QTest::keyClick(win, Qt::Key_N, Qt::ControlModifier); // New; Ctrl+O stays Zoom Out
    EXPECT_EQ(Map().Background, 0);
}

TEST_F(AppTest, CutCopyPasteUndoFromTheToolBar) {
    Start();
    Map().Cell(2, 2) = {40, 17, 5};
    QTest::mouseClick(GridPort(), Qt::LeftButton, {}, CellCentre(1, 1));
    Click(Find<QToolButton>("ButtonCopy"));
    QTest::mouseClick(GridPort(), Qt::LeftButton, {}, CellCentre(20, 20));
    Click(Find<QToolButton>("ButtonPaste"));
    EXPECT_EQ(Map().Cell(21, 21).Upper, 40);
    EXPECT_EQ(Map().Cell(21, 21).Lower, 17);
    EXPECT_EQ(Map().Cell(21, 21).Spare, 0);
    Click(Find<QToolButton>("ButtonUndo"));
    EXPECT_EQ(Map().Cell(21, 21).Upper, 0);
    QTest::mouseClick(GridPort(), Qt::LeftButton, {}, CellCentre(1, 1));
    Click(Find<QToolButton>("ButtonCut"));
    EXPECT_EQ(Map().Cell(2, 2).Upper, 0);
    EXPECT_EQ(Map().Cell(2, 2).Spare, 5);
    for (const char* name : {"ButtonCut", "ButtonCopy", "ButtonPaste", "ButtonUndo"})
        EXPECT_TRUE(Find<QToolButton>(name)->isEnabled()) << name;
}

TEST_F(AppTest, MapGridShowsTheComposedCells) {
    Start();
    Map().Background = 11;
    DrawGrid1()->viewport()->update();
    const QImage shot = DrawGrid1()->viewport()->grab().toImage();
    // Rows alternate 11 and 10 from the top: neighbouring rows differ, rows two apart match.
    auto cell = [&](int c, int r) { return shot.copy(DrawGrid1()->CellRect(c, r)); };
    EXPECT_EQ(cell(5, 0), cell(5, 2));
    EXPECT_NE(cell(5, 0), cell(5, 1));
    // The selected cell carries its outline.
    EXPECT_EQ(QColor(shot.pixel(DrawGrid1()->CellRect(0, 0).topLeft() + QPoint(1, 1))), QColor(Qt::black));
}

} // namespace
