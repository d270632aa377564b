#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <set>

#include "compose/CellCache.h"
#include "compose/CellPainters.h"
#include "editor/DrawGrid.h"
#include "editor/MapEdit.h"
#include "tests/editor/EditorTestSupport.h"

using namespace qm;

namespace {

// A map grid as the main window sets it up: 72 x 72, range selection, no lines.
struct MapGrid {
    TDrawGrid grid;
    explicit MapGrid(int cell = 16, int w = 400, int h = 300) {
        grid.SetColCount(72);
        grid.SetRowCount(72);
        grid.SetCellSize(cell, cell);
        grid.SetGridLineWidth(0);
        grid.SetRangeSelect(true);
        grid.resize(w, h);
        grid.show();
    }
    QWidget* vp() { return grid.viewport(); }
    QPoint Center(int c, int r) { return grid.CellRect(c, r).center(); }
};

void Drag(QWidget* w, QPoint from, QPoint to, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mousePress(w, b, {}, from);
    QTest::mouseMove(w, (from + to) / 2);
    QTest::mouseMove(w, to);
    QTest::mouseRelease(w, b, {}, to);
}

} // namespace

TEST(TDrawGrid, DragSelectionIsNormalisedAndClamped) {
    const struct {
        const char* name;
        QPoint from, to; // in cells; the target may lie outside the viewport
        TGridRect want;
    } cases[] = {
        {"click", {3, 4}, {3, 4}, {3, 4, 3, 4}},
        {"drag down right", {2, 3}, {5, 6}, {2, 3, 5, 6}},
        {"drag up left", {5, 6}, {2, 3}, {2, 3, 5, 6}},
        {"drag up right", {1, 6}, {4, 2}, {1, 2, 4, 6}},
        {"drag out to the left and top", {4, 4}, {-9, -9}, {0, 0, 4, 4}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        MapGrid g;
        const QPoint to = QPoint(k.to.x() * 16 + 8, k.to.y() * 16 + 8);
        Drag(g.vp(), g.Center(k.from.x(), k.from.y()), to);
        EXPECT_EQ(g.grid.Selection(), k.want);
        EXPECT_EQ(g.grid.Col(), k.from.x());
        EXPECT_EQ(g.grid.Row(), k.from.y());
    }
    // A small grid in a large viewport: a drag past the last cell stops at it.
    TDrawGrid small;
    small.SetColCount(5);
    small.SetRowCount(4);
    small.SetCellSize(20, 20);
    small.SetRangeSelect(true);
    small.resize(300, 300);
    small.show();
    Drag(small.viewport(), QPoint(30, 30), QPoint(290, 290));
    EXPECT_EQ(small.Selection(), (TGridRect{1, 1, 4, 3}));
}

TEST(TDrawGrid, SetSelectionClampsAndOrders) {
    TDrawGrid g;
    g.SetColCount(72);
    g.SetRowCount(72);
    g.SetSelection(TGridRect{80, 5, -3, 2});
    EXPECT_EQ(g.Selection(), (TGridRect{0, 2, 71, 5}));
    g.SetRowCount(3); // shrinking the grid pulls the selection in
    EXPECT_EQ(g.Selection(), (TGridRect{0, 2, 71, 2}));
}

TEST(TDrawGrid, AnyButtonReleaseSignalsAndOnlyTheLeftSelects) {
    MapGrid g;
    QSignalSpy up(&g.grid, &TDrawGrid::MouseUp);
    QTest::mouseClick(g.vp(), Qt::LeftButton, {}, g.Center(2, 2));
    ASSERT_EQ(up.count(), 1);
    EXPECT_EQ(up.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
    QTest::mouseClick(g.vp(), Qt::RightButton, Qt::ShiftModifier, g.Center(9, 9));
    ASSERT_EQ(up.count(), 2);
    EXPECT_EQ(up.at(1).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(up.at(1).at(1).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    EXPECT_EQ(g.grid.Selection(), (TGridRect{2, 2, 2, 2}));
    QTest::mouseClick(g.vp(), Qt::MiddleButton, {}, g.Center(9, 9));
    EXPECT_EQ(up.count(), 3);
}

TEST(TDrawGrid, DrawToolClickPaintsOneCellAndDragTheRectangle) {
    TLayerFlags flags{};
    flags[44] = 1;
    const struct {
        const char* name;
        QPoint from, to;
        Qt::MouseButton button;
        int painted;
        TGridRect rect;
    } cases[] = {
        {"click", {3, 3}, {3, 3}, Qt::LeftButton, 1, {3, 3, 3, 3}},
        {"drag", {6, 2}, {3, 5}, Qt::LeftButton, 16, {3, 2, 6, 5}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        MapGrid g;
        auto map = qmtest::NewMap();
        map->CurrentSymbol = 44;
        QObject::connect(&g.grid, &TDrawGrid::MouseUp,
                         [&] { ApplyTool(TTool::Draw, *map, g.grid.Selection(), lmAuto, flags); });
        Drag(g.vp(), g.Center(k.from.x(), k.from.y()), g.Center(k.to.x(), k.to.y()), k.button);
        int painted = 0;
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y)
                if (map->Cell(x, y).Upper == 44) {
                    ++painted;
                    EXPECT_TRUE(k.rect.Contains(x - 1, y - 1)) << x << "," << y;
                }
        EXPECT_EQ(painted, k.painted);
        // A right click afterwards applies the tool to the same selection again.
        map->CurrentSymbol = 0;
        QTest::mouseClick(g.vp(), Qt::RightButton, {}, g.Center(30, 15));
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) EXPECT_NE(map->Cell(x, y).Upper, 44);
    }
}

TEST(TDrawGrid, SingleCellModeFollowsTheDragAndSignalsTheRow) {
    TDrawGrid g;
    g.SetColCount(1);
    g.SetRowCount(256);
    g.SetCellSize(50, 50);
    g.SetGridLineWidth(1);
    g.resize(82, 400);
    g.show();
    QSignalSpy sel(&g, &TDrawGrid::SelectCell);
    Drag(g.viewport(), g.CellRect(0, 1).center(), g.CellRect(0, 4).center());
    EXPECT_EQ(g.Selection(), (TGridRect{0, 4, 0, 4}));
    ASSERT_GE(sel.count(), 2);
    EXPECT_EQ(sel.last().at(1).toInt(), 4);
    // The pixel on the line between rows 1 and 2 belongs to row 1.
    int c, r;
    ASSERT_TRUE(g.CellAt(QPoint(10, 101), c, r));
    EXPECT_EQ(r, 1);
    ASSERT_TRUE(g.CellAt(QPoint(10, 102), c, r));
    EXPECT_EQ(r, 2);
    QTest::keyClick(&g, Qt::Key_Down);
    EXPECT_EQ(g.Selection().Top, 5);
    EXPECT_EQ(sel.last().at(1).toInt(), 5);
}

TEST(TDrawGrid, PaintsOnlyExposedCellsAfterScrolling) {
    MapGrid g(16, 300, 300);
    std::set<std::pair<int, int>> seen;
    g.grid.SetDrawCell([&](QPainter&, int c, int r, const QRect&, bool) { seen.insert({c, r}); });
    g.grid.horizontalScrollBar()->setValue(16 * 20 + 4);
    g.grid.verticalScrollBar()->setValue(16 * 30);
    // Exposed: viewport x 40..89, y 40..71, i.e. content x 364..413, y 520..551.
    g.vp()->grab(QRect(40, 40, 50, 32));
    std::set<std::pair<int, int>> want;
    for (int c = 364 / 16; c <= 413 / 16; ++c)
        for (int r = 520 / 16; r <= 551 / 16; ++r) want.insert({c, r});
    EXPECT_EQ(seen, want);
}

TEST(TDrawGrid, OddCellSizesNeverCrashOrHang) {
    for (int size : {0, -5, 1, 3, 100000}) {
        SCOPED_TRACE(size);
        MapGrid g(size);
        int calls = 0;
        g.grid.SetDrawCell([&](QPainter&, int, int, const QRect& r, bool) {
            ++calls;
            EXPECT_FALSE(r.isEmpty());
        });
        const QImage shot = g.grid.grab().toImage();
        EXPECT_FALSE(shot.isNull());
        Drag(g.vp(), QPoint(5, 5), QPoint(200, 150));
        int c, r;
        if (size <= 0) {
            EXPECT_EQ(calls, 0);
            EXPECT_FALSE(g.grid.CellAt(QPoint(5, 5), c, r));
        }
        const TGridRect s = g.grid.Selection();
        EXPECT_TRUE(s.Left >= 0 && s.Right <= 71 && s.Top >= 0 && s.Bottom <= 71 && s.Left <= s.Right);
    }
}

TEST(TDrawGrid, MapGridShowsComposedCellsAndTheSelection) {
    TRenderedTileset ts;
    qmtest::MakeTileset(ts, 8);
    auto map = qmtest::NewMap();
    map->Background = 11;
    map->Cell(2, 1).Upper = 30;
    MapGrid g(16, 200, 200);
    QImage bmp;
    TCellCache cache;
    g.grid.SetDrawCell([&](QPainter& p, int c, int r, const QRect& rect, bool selected) {
        DrawMapGridCell(p, c, r, rect, selected, *map, ts, bmp, &cache);
    });
    g.grid.SetSelection(TGridRect{0, 1, 0, 1});
    const QImage shot = g.vp()->grab().toImage();
    EXPECT_EQ(shot.pixel(8, 8) | 0xff000000u, qmtest::SymbolColor(11));
    EXPECT_EQ(shot.pixel(8, 24) | 0xff000000u, qmtest::SymbolColor(10) | 0xff000000u);
    EXPECT_EQ(shot.pixel(24, 8) | 0xff000000u, qmtest::SymbolColor(30));
    EXPECT_EQ(shot.pixel(1, 17) | 0xff000000u, qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(8, 33) | 0xff000000u, qmtest::SymbolColor(11));
}

TEST(TDrawGrid, ScrollThumbMovesTheViewWhileDragged) {
    MapGrid g(16, 200, 200);
    QScrollBar* v = g.grid.verticalScrollBar();
    ASSERT_GT(v->maximum(), 0);
    v->setSliderDown(true); // the user holds the thumb
    v->setSliderPosition(16 * 10);
    EXPECT_EQ(g.grid.CellRect(0, 10).top(), 0); // moved before the thumb is let go
    int c, r;
    ASSERT_TRUE(g.grid.CellAt(QPoint(3, 3), c, r));
    EXPECT_EQ(r, 10);
    v->setSliderDown(false);
    // Zooming out keeps the scroll range within the smaller content.
    g.grid.SetCellSize(8, 8);
    EXPECT_LE(v->maximum(), 72 * 8);
    EXPECT_LE(v->value(), v->maximum());
}
