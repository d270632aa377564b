// The main window as built: menus, tool bar, action list, layout and start-up state.
#include <QButtonGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>

#include "app/AboutBox.h"
#include "model/RecordFile.h"
#include "tests/app/AppFixture.h"

using namespace qmtest;

namespace {

struct MenuRow {
    const char* name;
    const char* caption;
    const char* shortcut;
    const char* hint;
    int image; // -1: none
    bool enabled;
};

const MenuRow MenuRows[] = {
    {"New1", "New", "Ctrl+N", " Create A New Map.", 0, true},
    {"Open1", "Open...", "", " Open An Existing Map.", 1, true},
    {"Save1", "Save", "Ctrl+S", " Save The Current Map.", 2, true},
    {"SaveAs1", "Save As...", "", " Save The Current Map Under A New Name.", -1, true},
    {"PrintSetup1", "Print &Setup", "", " Set Printer Properties.", -1, true},
    {"Print1", "&Print", "Ctrl+P", " Print The Current Map.", 23, true},
    {"Default1", "Default", "", " Select The Default Tileset For Use.", -1, true},
    {"Custom1", "Custom...", "", " Load A Custom Tileset.", -1, true},
    {"Geoset1", "GeoSet...", "", " Manage GeoSets.", -1, true},
    {"GenerateRandomMap1", "Generate Random Map", "Ctrl+R", " Generate A Random Map Using The Currently Loaded GeoSet.",
     -1, false},
    {"GenerateMap1", "Generate Map...", "Ctrl+Shift+R", " Generate A Dungeon, Caves, A Keep Or Wilderness From A Seed.",
     -1, true},
    {"ExportImage1", "Export Image...", "",
     " Export Map Or Currently Selected Map Region To Disk As A BMP, JPG Or PNG File At The Current Level Of "
     "Detail.",
     -1, true},
    {"ExportTiledMapImages1", "Export Tiled Map Images", "",
     " Export Map To Disk As Four Tiled BMP, JPG Or PNG Files At The Current Level Of Detail.", -1, true},
    {"FileExitItem", "E&xit", "", " Exit Application", -1, true},
    {"Cut1", "Cut", "Ctrl+X", " Cut The Current Map Selection To The Clipboard.", 17, true},
    {"Copy1", "Copy", "Ctrl+C", " Copy The Current Map Selection To The Clipboard.", 18, true},
    {"Paste1", "Paste", "Ctrl+V", " Paste A Previously Cut or Copied Map Region To The Map At The Selected Location.",
     19, true},
    {"Undo1", "Undo", "Ctrl+Z", " Undo The Last Change Made To The Map.", 20, true},
    {"CopyImage1", "Copy Image", "", " Export The Map Or Currently Selected Map Region To The Clipboard As An Image.",
     -1, true},
    {"ShowHidden", "Show Hidden", "Ctrl+H", " Toggle Display Of Hidden Tiles On/Off.", -1, true},
    {"ZoomIn1", "Zoom In", "Ctrl+I", " View Map At Increased Detail.", 21, true},
    {"ZoomOut1", "Zoom Out", "Ctrl+O", " View Map At Decreased Detail.", 22, true},
    {"RandomMaplet1", "Insert Random Maplet", "Ctrl+M",
     " Insert A Random Maplet From The Current Geoset At The Current Map Location.", -1, true},
    {"SetBackground1", "Set Background", "Ctrl+B",
     " Set Currently Selected Tile To Be Used As Background For All Map Tiles.", -1, true},
    {"HelpAboutItem", "&About...", "", " Displays Program Information, Version Number And Copyright.", -1, true},
};

TEST_F(AppTest, MenuItemsCarryCaptionShortcutHintAndImage) {
    Start();
    for (const MenuRow& row : MenuRows) {
        SCOPED_TRACE(row.name);
        auto* item = win->findChild<QAction*>(row.name);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(), row.caption);
        EXPECT_EQ(item->shortcut(), QKeySequence(QString::fromLatin1(row.shortcut)));
        EXPECT_EQ(item->statusTip(), row.hint);
        EXPECT_EQ(qm::Twinviewform::ImageIndexOf(item), row.image);
        EXPECT_EQ(item->icon().isNull(), row.image < 0);
        EXPECT_EQ(item->isEnabled(), row.enabled);
    }
}

TEST_F(AppTest, MenusInOrderWithTheirSeparators) {
    Start();
    const QList<QAction*> top = win->menuBar()->actions();
    ASSERT_EQ(top.size(), 5);
    const char* titles[] = {"&File", "Edit", "Options", "Tools", "&Help"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(top[i]->text(), titles[i]);
    EXPECT_EQ(top[0]->statusTip(), "File related commands");
    EXPECT_EQ(top[4]->statusTip(), "Help topics");

    auto names = [](QMenu* m) {
        QStringList out;
        for (QAction* a : m->actions()) out << (a->isSeparator() ? "-" : a->menu() ? a->text() : a->objectName());
        return out;
    };
    EXPECT_EQ(names(Find<QMenu>("File1")), QStringList({"New1",
                                                        "Open1",
                                                        "Save1",
                                                        "SaveAs1",
                                                        "OpenLevelAbove1",
                                                        "OpenLevelBelow1",
                                                        "-",
                                                        "PrintSetup1",
                                                        "Print1",
                                                        "-",
                                                        "Tileset",
                                                        "-",
                                                        "Geoset1",
                                                        "GenerateRandomMap1",
                                                        "GenerateMap1",
                                                        "-",
                                                        "ExportImage1",
                                                        "ExportTiledMapImages1",
                                                        "ExportVirtualTabletopMap1",
                                                        "ExportFoundryScene1",
                                                        "ExportTiledMap1",
                                                        "ImportTiledMap1",
                                                        "-",
                                                        "FileExitItem"}));
    EXPECT_EQ(names(Find<QMenu>("Tileset1")), QStringList({"Default1", "Custom1"}));
    EXPECT_EQ(names(Find<QMenu>("Edit1")),
              QStringList({"Cut1", "Copy1", "Paste1", "Undo1", "StepBackward1", "StepForward1", "History1", "Key1",
                           "DeleteLabel1", "-", "CopyImage1", "-", "FindSymbol1"}));
    EXPECT_EQ(names(Find<QMenu>("Options1")), QStringList({"ShowHidden", "-", "ZoomIn1", "ZoomOut1", "-",
                                                           "RandomMaplet1", "SetBackground1", "-", "ShowGridLines1"}));
    EXPECT_EQ(names(Find<QMenu>("Tools1")), QStringList({"Room1", "Door1", "Fill1", "Label1"}));
    EXPECT_EQ(names(Find<QMenu>("Help1")), QStringList({"KeyboardShortcuts1", "HelpAboutItem"}));
}

TEST_F(AppTest, ShortcutListHoldsEveryMenuShortcutAndTheGestures) {
    Start();
    const auto list = win->ShortcutList();
    auto listed = [&](const QString& keys, const QString& what) {
        return std::any_of(list.begin(), list.end(),
                           [&](const auto& e) { return e.first == keys && e.second.endsWith(what); });
    };
    int shortcuts = 0;
    for (QAction* item : win->menuBar()->findChildren<QAction*>()) {
        if (item->shortcut().isEmpty()) continue;
        ++shortcuts;
        // The list names an item without its mnemonic and its trailing dots.
        const QString what = item->text().remove('&').remove(QRegularExpression("\\.+$"));
        EXPECT_TRUE(listed(item->shortcut().toString(QKeySequence::NativeText), what))
            << item->objectName().toStdString();
    }
    EXPECT_GE(shortcuts, 13);
    EXPECT_TRUE(listed("Ctrl+N", "File > New"));
    for (const char* gesture : {"Shift + drag", "Ctrl + mouse wheel", "Letters in the symbol column"})
        EXPECT_TRUE(std::any_of(list.begin(), list.end(), [&](const auto& e) { return e.first == gesture; }))
            << gesture;

    Trigger(Find<QAction>("KeyboardShortcuts1"));
    auto* table = Find<QTableWidget>("ShortcutTable");
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->isVisible());
    ASSERT_EQ(table->rowCount(), list.size());
    EXPECT_EQ(table->item(0, 0)->text(), list[0].first);
}

struct ActionRow {
    const char* name;
    const char* caption;
    int image;
    const char* hint; // "" = not checked here (the menu table covers it)
};

const ActionRow ActionRows[] = {
    {"New", "New", 0, " Create A New Map."},
    {"Open", "Open...", 1, " Open An Existing Map."},
    {"Save", "Save", 2, " Save The Current Map."},
    {"SaveAs", "Save As...", -1, " Save The Current Map Under A New Name."},
    {"Print", "&Print", 23, " Print The Current Map."},
    {"PrintSetup", "Print &Setup", -1, " Set Printer Properties."},
    {"ZoomIn", "Zoom In", 21, " View Map At Increased Detail."},
    {"ZoomOut", "Zoom Out", 22, " View Map At Decreased Detail."},
    {"Cut", "Cut", 17, ""},
    {"Copy", "Copy", 18, ""},
    {"Paste", "Paste", 19, ""},
    {"Undo", "Undo", 20, ""},
    {"GeoNew", "New", 0, " Create A New GeoSet."},
    {"GeoOpen", "Open", 1, " Open An Existing GeoSet."},
    {"GeoSave", "Save", 2, " Save The Current GeoSet."},
    {"ExportDisk", "Export Image...", -1, ""},
    {"ExportClipboard", "Copy Image", -1, ""},
    {"ExportDiskTiled", "Export Tiled Map Images", -1, ""},
    {"ExportVtt", "Export Virtual Tabletop Map...", -1, ""},
};

TEST_F(AppTest, ActionListHoldsEveryAction) {
    Start();
    const auto all = Find<QObject>("QuillmarchActions")->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
    EXPECT_EQ(all.size(), int(std::size(ActionRows)));
    for (const ActionRow& row : ActionRows) {
        SCOPED_TRACE(row.name);
        auto* a = Find<QObject>("QuillmarchActions")->findChild<QAction*>(row.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), row.caption);
        EXPECT_EQ(qm::Twinviewform::ImageIndexOf(a), row.image);
        if (*row.hint) {
            EXPECT_EQ(a->statusTip(), row.hint);
        }
        EXPECT_TRUE(a->shortcut().isEmpty()); // shortcuts belong to the menu items
    }
}

struct ButtonRow {
    const char* name;
    int image;
    const char* hint;
    bool tool;
};

const ButtonRow ButtonRows[] = {
    {"ButtonNew", 0, " Create A New Map.", false},
    {"ButtonOpen", 1, " Open An Existing Map.", false},
    {"ButtonSave", 2, " Save The Current Map.", false},
    {"|", 0, "", false},
    {"ToolButton28", 3, " Selection Tool", true},
    {"ButtonDraw", 4, " Draw Tool", true},
    {"ButtonErase", 5, " Eraser Tool", true},
    {"ButtonWall", 6, " Custom Smart Tool", true},
    {"ButtonWater", 7, " Custom Smart Tool", true},
    {"ButtonFire", 8, " Custom Smart Tool", true},
    {"ButtonHole", 9, " Custom Smart Tool", true},
    {"ButtonSlime", 10, " Custom Smart Tool", true},
    {"ButtonForest", 11, " Custom Smart Tool", true},
    {"ButtonMountain", 12, " Custom Smart Tool", true},
    {"ButtonDesert", 13, " Custom Smart Tool", true},
    {"ButtonRoom", -1, " Room Tool", true},
    {"ButtonDoor", -1, " Door Tool", true},
    {"ButtonFill", -1, " Fill Tool", true},
    {"ButtonLabel", -1, " Label Tool", true},
    {"|", 0, "", false},
    {"LayerButton", 16, " Layer Selection Tool", false},
    {"|", 0, "", false},
    {"ButtonCut", 17, " Cut The Current Map Selection To The Clipboard.", false},
    {"ButtonCopy", 18, " Copy The Current Map Selection To The Clipboard.", false},
    {"ButtonPaste", 19, " Paste A Previously Cut or Copied Map Region To The Map At The Selected Location.", false},
    {"ButtonUndo", 20, " Undo The Last Change Made To The Map.", false},
    {"|", 0, "", false},
    {"ToolButton24", 21, " View Map At Increased Detail.", false},
    {"ToolButton25", 22, " View Map At Decreased Detail.", false},
    {"|", 0, "", false},
    {"ToolButton22", 23, " Print The Current Map.", false},
};

TEST_F(AppTest, ToolBarButtonsInOrderWithImagesHintsAndGroups) {
    Start();
    EXPECT_EQ(Find<QToolBar>("ToolBar1")->height(), 26);
    // Widgets left to right as the tool bar lays them out.
    QList<QWidget*> widgets;
    QToolBar* bar = Find<QToolBar>("ToolBar1");
    for (QAction* a : bar->actions())
        if (QWidget* w = bar->widgetForAction(a)) widgets << w;
    std::sort(widgets.begin(), widgets.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    ASSERT_EQ(widgets.size(), int(std::size(ButtonRows)));
    for (int i = 0; i < widgets.size(); ++i) {
        const ButtonRow& row = ButtonRows[i];
        SCOPED_TRACE(row.name);
        if (row.name[0] == '|') {
            EXPECT_EQ(qobject_cast<QToolButton*>(widgets[i]), nullptr);
            EXPECT_EQ(widgets[i]->width(), 8);
            continue;
        }
        auto* b = qobject_cast<QToolButton*>(widgets[i]);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->objectName(), row.name);
        const QObject* source = b->defaultAction() ? static_cast<QObject*>(b->defaultAction()) : b;
        const QString hint = b->defaultAction() ? b->defaultAction()->statusTip() : b->statusTip();
        EXPECT_EQ(qm::Twinviewform::ImageIndexOf(source), row.image);
        EXPECT_EQ(hint, row.hint);
        EXPECT_FALSE(b->icon().isNull());
        EXPECT_EQ(Find<QButtonGroup>("ToolGroup")->buttons().contains(b), row.tool);
        EXPECT_EQ(b->isChecked(), std::string(row.name) == "ToolButton28");
    }
}

TEST_F(AppTest, ToolButtonsAreOneRadioGroup) {
    Start();
    Click(Find<QToolButton>("ButtonWall"));
    EXPECT_TRUE(Find<QToolButton>("ButtonWall")->isChecked());
    EXPECT_FALSE(Find<QToolButton>("ToolButton28")->isChecked());
    Click(Find<QToolButton>("ButtonWall")); // pressing the down button again keeps it down
    EXPECT_TRUE(Find<QToolButton>("ButtonWall")->isChecked());
    EXPECT_EQ(Find<QButtonGroup>("ToolGroup")->buttons().size(), 15); // the eleven, Room, Door, Fill and Label
}

TEST_F(AppTest, IconsComeFromTheToolPalette) {
    Start();
    const QImage expected = win->State().Tileset.ToolPalette[21];
    const QImage shown =
        Find<QToolButton>("ToolButton24")->icon().pixmap(16, 16).toImage().convertToFormat(expected.format());
    EXPECT_EQ(shown, expected);
}

TEST_F(AppTest, StartUpState) {
    Start();
    EXPECT_EQ(Caption(), "QuillMarch");
    EXPECT_EQ(win->State().Tileset.TileSize, 48);
    EXPECT_TRUE(win->State().Tileset.CurrentTilesetName.isEmpty());
    EXPECT_EQ(Map().Zoom, 16);
    EXPECT_EQ(Map().ShowHidden, 1);
    EXPECT_EQ(qm::MapTilesetName(Map()), "");
    EXPECT_EQ(Undo().Zoom, 0);
    EXPECT_EQ(Undo().ShowHidden, 1);
    EXPECT_TRUE(Find<QAction>("ShowHidden")->isChecked());
    EXPECT_FALSE(Find<QAction>("GenerateRandomMap1")->isEnabled());
    EXPECT_EQ(DrawGrid1()->DefaultColWidth(), 16);
    EXPECT_EQ(DrawGrid1()->ColCount(), 72);
    EXPECT_EQ(DrawGrid1()->RowCount(), 72);
    EXPECT_EQ(DrawGrid1()->GridLineWidth(), 0);
    EXPECT_EQ(SymbolGrid()->RowCount(), 256);
    EXPECT_EQ(SymbolGrid()->ColCount(), 1);
    EXPECT_EQ(SymbolGrid()->DefaultRowHeight(), 50);
    EXPECT_EQ(SymbolGrid()->GridLineWidth(), 1);
    EXPECT_EQ(Find<QWidget>("Panel1")->width(), 82);
    EXPECT_EQ(win->LayerImage(), 16);
    EXPECT_EQ(win->State().CurrentLayerMode, qm::lmAuto);
    EXPECT_TRUE(win->isMaximized() || win->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(dialogs.Errors.isEmpty());
    for (const QString& d :
         {win->State().MapDialogDir, win->State().GeoSetDocument.DialogDir, win->State().PictureDialogDir})
        EXPECT_EQ(d, ProgramDir());
}

TEST_F(AppTest, DefaultGeoSetBesideTheProgramEnablesRandomMaps) {
    qm::TGeoSetRecord geo;
    qm::ClearGeoSetRecord(geo, "");
    geo.Position = 4;
    geo.Maplet(2, 3).Cell(5, 6).Upper = 77;
    qm::WriteGeoSetFile(program.File("defaultgeoset.geo"), geo);
    Start();
    EXPECT_TRUE(Find<QAction>("GenerateRandomMap1")->isEnabled());
    EXPECT_EQ(win->State().GeoSetDocument.GeoSet.Maplet(2, 3).Cell(5, 6).Upper, 77);
    EXPECT_EQ(win->State().GeoSetDocument.FileName(), ProgramDir() + "defaultgeoset.geo");
}

TEST_F(AppTest, SecondActivationDoesNothing) {
    Start();
    const uint64_t generation = win->State().Tileset.Generation;
    Map().Cell(3, 4).Upper = 9;
    Undo().Cell(1, 1).Lower = 5;
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(win, &activate);
    EXPECT_EQ(win->State().Tileset.Generation, generation);
    EXPECT_EQ(Map().Cell(3, 4).Upper, 9);
    EXPECT_EQ(Undo().Cell(1, 1).Lower, 5);
}

TEST_F(AppTest, StatusBarShowsTheHintUnderTheMouse) {
    Start();
    struct Hover {
        QWidget* widget;
        const char* hint;
    } hovers[] = {{Find<QToolButton>("ButtonErase"), " Eraser Tool"},
                  {Find<QToolButton>("ButtonCut"), " Cut The Current Map Selection To The Clipboard."},
                  {Find<QToolButton>("LayerButton"), " Layer Selection Tool"}};
    for (const Hover& h : hovers) {
        QTest::mouseMove(h.widget);
        EXPECT_EQ(Find<QStatusBar>("StatusBar1")->currentMessage(), h.hint);
    }
}

TEST_F(AppTest, AboutBoxShowsVersionAndCloses) {
    Start();
    bool sawBox = false;
    QTimer::singleShot(0, [&] {
        auto* box = windows.About.get();
        sawBox = box->isVisible() && box->windowTitle() == "About";
        EXPECT_EQ(box->findChild<QLabel*>("Version")->text(), "Version 1.0.2.0");
        EXPECT_FALSE(box->findChild<QLabel*>("ProgramIcon")->pixmap().isNull());
        auto* ok = box->findChild<QPushButton*>("OKButton");
        EXPECT_EQ(ok->text(), "OK");
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    Trigger(Find<QAction>("HelpAboutItem"));
    EXPECT_TRUE(sawBox);
    EXPECT_FALSE(windows.About->isVisible());
}

} // namespace
