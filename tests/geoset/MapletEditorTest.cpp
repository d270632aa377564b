#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <cstring>

#include "editor/DrawGrid.h"
#include "geoset/MapletEditor.h"
#include "model/RecordFile.h"
#include "tests/TestSupport.h"
#include "tests/geoset/GeoSetFixture.h"

using namespace qm;

namespace {
struct Editor {
    Editor()
        : newAct("New"), openAct("Open"), saveAct("Save"), form(st->doc, cellBitmap, &newAct, &openAct, &saveAct) {}
    std::unique_ptr<qmtest::GeoSetState> st = std::make_unique<qmtest::GeoSetState>();
    QImage cellBitmap;
    QAction newAct, openAct, saveAct;
    TGeoEditForm form;

    QPoint CellCentre(int c, int r) const { return form.GeoGrid->CellRect(c, r).center(); }
    void Drag(int c0, int r0, int c1, int r1, Qt::MouseButton button) {
        QWidget* vp = form.GeoGrid->viewport();
        QTest::mousePress(vp, button, {}, CellCentre(c0, r0));
        QTest::mouseMove(vp, CellCentre(c1, r1));
        QTest::mouseRelease(vp, button, {}, CellCentre(c1, r1));
    }
};
} // namespace

TEST(GeoEdit, WindowAndControls) {
    Editor e;
    EXPECT_EQ(e.form.objectName(), "GeoEditForm");
    EXPECT_EQ(e.form.windowTitle(), "GeoSet Maplet Editor[*]"); // shown without [*] until painted
    EXPECT_EQ(e.form.size(), QSize(464, 429));
    EXPECT_TRUE(e.form.isModal());
    ASSERT_EQ(e.form.PositionBox->count(), 9);
    EXPECT_EQ(e.form.PositionBox->itemText(0), "Upper Left");
    EXPECT_EQ(e.form.PositionBox->itemText(7), "Lower Center");
    ASSERT_EQ(e.form.SectionBox->count(), 6);
    EXPECT_EQ(e.form.SectionBox->itemText(5), "6");
    EXPECT_EQ(e.form.PositionBox->statusTip(), " Select The Position For This GeoSet Section.");
    EXPECT_EQ(e.form.SectionBox->statusTip(), " Select The Number For This GeoSet Section.");
    EXPECT_EQ(e.form.GeoLayerButton->statusTip(), " Layer Tool");
    const auto acts = e.form.ToolBar1->actions();
    ASSERT_EQ(acts.size(), 6);
    EXPECT_TRUE(acts[0]->isSeparator());
    EXPECT_EQ(acts[1], &e.newAct);
    EXPECT_EQ(acts[2], &e.openAct);
    EXPECT_EQ(acts[3], &e.saveAct);
    EXPECT_TRUE(acts[4]->isSeparator());
    EXPECT_EQ(e.form.ToolBar1->widgetForAction(acts[5]), e.form.GeoLayerButton);
    EXPECT_EQ(e.form.GeoGrid->ColCount(), 12);
    EXPECT_EQ(e.form.GeoGrid->DefaultColWidth(), 32);
    EXPECT_EQ(e.form.GeoGrid->GridLineWidth(), 0);
    EXPECT_EQ(e.form.GeoSymbolGrid->RowCount(), 256);
}

TEST(GeoEdit, DragPaintsTheRectangleOfTheSelectedMaplet) {
    Editor e;
    e.form.show();
    e.form.PositionBox->setCurrentIndex(3);
    e.form.SectionBox->setCurrentIndex(2);
    ASSERT_EQ(e.st->geo.Position, 4);
    ASSERT_EQ(e.st->geo.Section, 3);
    static TGeoSetRecord before;
    before = e.st->geo;

    // Left drag selects and paints; a right-button release paints the same selection.
    struct Step {
        uint8_t symbol;
        Qt::MouseButton button;
        bool drag;
    } steps[] = {{40, Qt::LeftButton, true}, {41, Qt::RightButton, false}};
    for (const Step& step : steps) {
        e.st->geo.PaintSymbol = step.symbol;
        if (step.drag) e.Drag(2, 3, 5, 4, step.button);
        else QTest::mouseClick(e.form.GeoGrid->viewport(), step.button, {}, e.CellCentre(9, 9));
        int painted = 0;
        for (int p = 1; p <= 9; ++p)
            for (int s = 1; s <= 6; ++s)
                for (int x = 1; x <= 12; ++x)
                    for (int y = 1; y <= 12; ++y) {
                        const bool inside = p == 4 && s == 3 && x >= 3 && x <= 6 && y >= 4 && y <= 5;
                        const TMapCell& c = e.st->geo.Maplet(p, s).Cell(x, y);
                        if (inside) {
                            ++painted;
                            EXPECT_EQ(c.Upper, step.symbol); // upper-layer symbols
                            EXPECT_EQ(c.Lower, 0);
                        } else {
                            ASSERT_EQ(std::memcmp(&c, &before.Maplet(p, s).Cell(x, y), 3), 0) << p << s << x << y;
                        }
                    }
        EXPECT_EQ(painted, 8);
    }
}

TEST(GeoEdit, ClickPaintsOneCellWithThePickedSymbol) {
    Editor e;
    e.form.show();
    QWidget* symbols = e.form.GeoSymbolGrid->viewport();
    QTest::mouseClick(symbols, Qt::LeftButton, {}, e.form.GeoSymbolGrid->CellRect(0, 3).center());
    EXPECT_EQ(e.st->geo.PaintSymbol, 3);
    e.Drag(7, 7, 7, 7, Qt::LeftButton);
    EXPECT_EQ(e.st->geo.Maplet(1, 1).Cell(8, 8).Upper, 3);
    EXPECT_EQ(e.st->geo.Maplet(1, 1).Cell(7, 8).Upper, 0);
}

TEST(GeoEdit, LayerButtonCyclesThroughTheThreeModes) {
    Editor e;
    e.form.show();
    struct Step {
        int image;
        uint8_t mode;
    } steps[] = {{14, lmUpper}, {15, lmLower}, {16, lmAuto}};
    EXPECT_EQ(e.form.LayerImage(), 16);
    for (const Step& s : steps) {
        QTest::mouseClick(e.form.GeoLayerButton, Qt::LeftButton);
        EXPECT_EQ(e.form.LayerImage(), s.image);
        EXPECT_EQ(e.st->geo.LayerMode, s.mode);
    }
}

TEST(GeoEdit, SelectorsFollowTheRecordAndChangeOnlyTheirByte) {
    Editor e;
    e.st->geo.Position = 7;
    e.st->geo.Section = 2;
    e.form.show();
    EXPECT_EQ(e.form.PositionBox->currentIndex(), 6);
    EXPECT_EQ(e.form.SectionBox->currentIndex(), 1);

    static TGeoSetRecord before;
    before = e.st->geo;
    e.form.SectionBox->setCurrentIndex(5);
    EXPECT_EQ(e.st->geo.Section, 6);
    before.Section = 6;
    EXPECT_EQ(std::memcmp(&before, &e.st->geo, sizeof before), 0);

    // A GeoSet opened under the editor moves its selectors.
    TGeoSetRecord moved = e.st->geo;
    moved.Position = 9;
    moved.Section = 4;
    qmtest::TempDir dir;
    WriteGeoSetFile(dir.File("moved.geo"), moved);
    e.st->doc.Open(QString::fromStdString(dir.File("moved.geo")));
    EXPECT_EQ(e.form.PositionBox->currentIndex(), 8);
    EXPECT_EQ(e.form.SectionBox->currentIndex(), 3);
    EXPECT_EQ(e.st->geo.Position, 9);
}
