// Room, Door, Fill and smart erase in the real window: menu items and shortcuts, one Undo
// step each, the status bar's word under the pointer, and tools a tileset gives nothing to.
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <cstring>

#include "editor/RoomTool.h"
#include "generate/GenerateMap.h"
#include "tests/app/AppFixture.h"
#include "tiles/BuiltInSymbols.h"
#include "tiles/TilesetChooser.h"

namespace qmtest {

namespace {

constexpr int Wall = 128;

void Drag(QWidget* port, QPoint a, QPoint b, Qt::KeyboardModifiers mods = {}) {
    QTest::mousePress(port, Qt::LeftButton, mods, a);
    QMouseEvent move(QEvent::MouseMove, b, port->mapToGlobal(b), Qt::NoButton, Qt::LeftButton, mods);
    QApplication::sendEvent(port, &move);
    QTest::mouseRelease(port, Qt::LeftButton, mods, b);
}

bool Same(const qm::TMapRecord& a, const qm::TMapRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

TEST_F(AppTest, ToolsMenuPressesTheToolButtons) {
    Start();
    const struct {
        const char* item;
        const char* caption;
        const char* shortcut;
        const char* button;
    } rows[] = {{"Room1", "Room", "Ctrl+Shift+M", "ButtonRoom"},
                {"Door1", "Door", "Ctrl+Shift+D", "ButtonDoor"},
                {"Fill1", "Fill", "Ctrl+Shift+F", "ButtonFill"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.item);
        QAction* item = Find<QAction>(r.item);
        EXPECT_EQ(item->text(), r.caption);
        EXPECT_EQ(item->shortcut(), QKeySequence(QString::fromLatin1(r.shortcut)));
        EXPECT_FALSE(item->icon().isNull());
        Trigger(item);
        EXPECT_TRUE(Find<QToolButton>(r.button)->isChecked());
        EXPECT_FALSE(Find<QToolButton>("ToolButton28")->isChecked());
    }
}

// Each use is one step Undo takes back whole, marks the map modified and names itself.
TEST_F(AppTest, EachToolUseIsOneUndoStep) {
    Start();
    Map().CurrentSymbol = qm::sym::FloorA;
    const struct {
        const char* name;
        const char* button;
        int c1, r1, c2, r2; // 0-based press and release cells
        Qt::KeyboardModifiers mods;
    } uses[] = {
        {"Room", "ButtonRoom", 10, 10, 20, 16, {}},
        {"Door", "ButtonDoor", 15, 10, 15, 10, {}},
        {"Fill", "ButtonFill", 40, 40, 40, 40, {}},
        {"Smart erase", "ButtonWall", 10, 13, 10, 13, Qt::AltModifier},
    };
    for (const auto& u : uses) {
        SCOPED_TRACE(u.name);
        Click(Find<QToolButton>(u.button));
        const qm::TMapRecord before = Map();
        Drag(GridPort(), CellCentre(u.c1, u.r1), CellCentre(u.c2, u.r2), u.mods);
        EXPECT_FALSE(Same(before, Map()));
        EXPECT_TRUE(Caption().endsWith("*"));
        EXPECT_TRUE(Find<QStatusBar>("StatusBar1")->currentMessage().startsWith(QString::fromLatin1(u.name) + ":"))
            << Find<QStatusBar>("StatusBar1")->currentMessage().toStdString();
        const qm::TMapRecord after = Map();
        Trigger(Find<QAction>("Undo"));
        EXPECT_TRUE(Same(before, Map()));
        Trigger(Find<QAction>("Undo"));
        EXPECT_TRUE(Same(after, Map()));
    }
    EXPECT_EQ(Map().Cell(16, 11).Upper, qm::sym::DoorEW);
    EXPECT_EQ(Map().Cell(41, 41).Lower, qm::sym::FloorA);
    EXPECT_EQ(Map().Cell(11, 14).Upper, 0);        // erased out of the west wall
    EXPECT_EQ(Map().Cell(11, 13).Upper, Wall + 1); // keeps the quarters whose corners stay walled
}

TEST_F(AppTest, DoorWhereThereIsNoWallSaysSo) {
    Start();
    Map().Cell(5, 5).Upper = 77;
    Click(Find<QToolButton>("ButtonDoor"));
    QTest::mouseMove(GridPort(), CellCentre(4, 4));
    EXPECT_EQ(Find<QStatusBar>("StatusBar1")->currentMessage(), "Door: no wall here.");
    const qm::TMapRecord map = Map(), undo = Undo();
    QTest::mouseClick(GridPort(), Qt::LeftButton, {}, CellCentre(4, 4));
    EXPECT_EQ(Find<QStatusBar>("StatusBar1")->currentMessage(), "No wall here for a door.");
    EXPECT_TRUE(Same(map, Map()));
    EXPECT_TRUE(Same(undo, Undo()));
    EXPECT_FALSE(Caption().endsWith("*"));
}

TEST_F(AppTest, StatusBarSaysWhatTheToolWillDo) {
    Start();
    Map().CurrentSymbol = qm::sym::Grass;
    Click(Find<QToolButton>("ButtonFill"));
    QTest::mouseMove(GridPort(), CellCentre(3, 3));
    EXPECT_EQ(Find<QStatusBar>("StatusBar1")->currentMessage(), "Fill: 5184 cells of empty take Grass.");
    Click(Find<QToolButton>("ButtonRoom"));
    QTest::mouseMove(GridPort(), CellCentre(4, 3));
    EXPECT_EQ(Find<QStatusBar>("StatusBar1")->currentMessage(),
              "Room: drag a rectangle for a ring of wall and a floor of Grass (Shift: walls only).");
    Click(Find<QToolButton>("ButtonDraw"));
    QTest::mouseMove(GridPort(), CellCentre(5, 3));
    EXPECT_EQ(Find<QStatusBar>("StatusBar1")->currentMessage(), "");
}

// A tileset whose roles table has no door kind and no wall terrain: Room and Door are
// disabled and say why; the default tileset brings them back.
TEST_F(AppTest, ToolsWithNothingToWorkWithAreDisabled) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(QM_PROGRAM_DIR "/parchment.bmp"), ProgramDir() + "cave.bmp"));
    std::string roles;
    for (int s = 129; s <= 143; ++s) roles += std::to_string(s) + " none\n";
    WriteAll(program.File("cave.roles"), std::vector<unsigned char>(roles.begin(), roles.end()));
    Start();
    Click(Find<QToolButton>("ButtonRoom"));
    QTimer::singleShot(0, [&] {
        qm::TPaletteForm* form = windows.Palette.get();
        form->FileListBox->findItems("cave.bmp", Qt::MatchExactly).first()->setSelected(true);
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
    });
    Trigger(Find<QAction>("Custom1"));
    for (const char* name : {"ButtonRoom", "ButtonDoor"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Find<QToolButton>(name)->isEnabled());
        EXPECT_TRUE(Find<QToolButton>(name)->toolTip().startsWith("This tileset's"));
    }
    EXPECT_FALSE(Find<QAction>("Room1")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>("ButtonFill")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>("ToolButton28")->isChecked()); // the disabled tool let go
    Trigger(Find<QAction>("Default1"));
    EXPECT_TRUE(Find<QToolButton>("ButtonRoom")->isEnabled());
    EXPECT_EQ(Find<QToolButton>("ButtonDoor")->toolTip(), "Door Tool");
}

} // namespace qmtest

namespace qmtest {

// A room dragged across a generated dungeon's corridors from cell (21,33) to (32,41):
// every crossing of open floor that goes on outside stays open (a door in a one-cell
// crossing, as the Door tool puts it); Shift draws today's closed ring.
TEST_F(AppTest, RoomOverACorridorLeavesDoorways) {
    Start();
    qm::TGenerateOptions options;
    options.Seed = 1;
    const qm::SymbolTable& table = win->State().Symbols;
    const qm::TRenderedTileset& ts = win->State().Tileset;
    const qm::TGenPalette palette = qm::MakeGenPalette(table, ts.HiddenFlags, ts.LayerFlags);
    qm::GenerateMap(Map(), options, palette);
    Map().CurrentSymbol = qm::sym::FloorA;
    const qm::TMapRecord dungeon = Map();
    const qm::TGridRect room{20, 32, 31, 40};
    const std::vector<qm::TRoomDoorway> crossings = qm::RoomDoorways(dungeon, room, table);
    ASSERT_GE(crossings.size(), 2u); // the example crosses corridors
    Click(Find<QToolButton>("ButtonRoom"));
    auto isWall = [&](const qm::TMapCell& c) {
        return table[c.Upper].role == qm::SymbolRole::Wall || table[c.Lower].role == qm::SymbolRole::Wall;
    };
    for (const bool shift : {false, true}) {
        SCOPED_TRACE(shift ? "Shift" : "plain");
        Map() = dungeon;
        Drag(GridPort(), CellCentre(20, 32), CellCentre(31, 40), shift ? Qt::ShiftModifier : Qt::NoModifier);
        int doors = 0;
        for (const qm::TRoomDoorway& d : crossings) {
            const qm::TMapCell& cell = Map().Cell(d.Col + 1, d.Row + 1);
            EXPECT_EQ(isWall(cell), shift) << d.Col + 1 << "," << d.Row + 1;
            doors += table[cell.Upper].role == qm::SymbolRole::Door;
            // The corridor outside is not walled off either.
            const int oc = d.Col + (d.Vertical ? (d.Col == room.Left ? -1 : 1) : 0);
            const int orow = d.Row + (d.Vertical ? 0 : (d.Row == room.Top ? -1 : 1));
            if (!shift) {
                EXPECT_FALSE(isWall(Map().Cell(oc + 1, orow + 1))) << oc + 1 << "," << orow + 1;
            }
        }
        if (!shift) {
            EXPECT_GE(doors, 1);
        }
        // The rest of the ring is wall as before.
        for (int c = room.Left; c <= room.Right; ++c)
            for (int r : {room.Top, room.Bottom}) {
                const bool crossing = std::any_of(crossings.begin(), crossings.end(),
                                                  [&](const qm::TRoomDoorway& d) { return d.Col == c && d.Row == r; });
                if (!crossing) {
                    EXPECT_TRUE(isWall(Map().Cell(c + 1, r + 1))) << c + 1 << "," << r + 1;
                }
            }
    }
}

} // namespace qmtest
