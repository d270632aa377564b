// The main window's commands in one table: the action list, the menus with their items
// and shortcuts, the tool bar, and the keyboard shortcut list that is made from them.
#include <QAction>
#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/MainWindow.h"

namespace qm {

namespace {
constexpr int SeparatorWidth = 8;

// What a caption says without its mnemonic marks and trailing dots.
QString Plain(QString caption) {
    caption.remove(QLatin1Char('&'));
    while (caption.endsWith(QLatin1Char('.'))) caption.chop(1);
    return caption;
}
} // namespace

// clang-format off
// One line a command, in menu order. A row with `menu` "" and the flag Menu is a menu of
// the menu bar; a row with item "-" is a separator; a row with an action is also an entry
// of the action list (the menu item runs that action); keep names the member that holds it.
// A new item is one row where it shows, e.g. {"Edit1", "StepBackward1", "", "Step Backward",
// "Ctrl+Shift+Z", " Hint.", -1, &T::StepBackwardClick}; a new menu is {"", "Tools1", "", "&Tools"}.
std::span<const Twinviewform::TCommandRow> Twinviewform::CommandRows() {
    using T = Twinviewform;
    static const TCommandRow rows[] = {
        {"", "File1", "", "&File", "", "File related commands", -1, nullptr, nullptr, TCommandRow::Menu},
        {"File1", "New1", "New", "New", "Ctrl+N", " Create A New Map.", 0, &T::NewExecute},
        {"File1", "Open1", "Open", "Open...", "", " Open An Existing Map.", 1, &T::OpenExecute},
        {"File1", "Save1", "Save", "Save", "Ctrl+S", " Save The Current Map.", 2, &T::SaveExecute},
        {"File1", "SaveAs1", "SaveAs", "Save As...", "", " Save The Current Map Under A New Name.", -1, &T::SaveAsExecute},
        // A level of a generated stack names its neighbours in its key; Ctrl+Shift keeps the letters for type-ahead.
        {"File1", "OpenLevelAbove1", "", "Open Level Above", "Ctrl+Shift+PgUp", " Open The Level Above This One In Its Stack.", -1, &T::OpenLevelAboveClick, &T::OpenLevelAbove1},
        {"File1", "OpenLevelBelow1", "", "Open Level Below", "Ctrl+Shift+PgDown", " Open The Level Below This One In Its Stack.", -1, &T::OpenLevelBelowClick, &T::OpenLevelBelow1},
        {"File1", "-"},
        {"File1", "PrintSetup1", "PrintSetup", "Print &Setup", "", " Set Printer Properties.", -1, &T::PrintSetupExecute},
        {"File1", "Print1", "Print", "&Print", "Ctrl+P", " Print The Current Map.", 23, &T::PrintExecute},
        {"File1", "-"},
        {"File1", "Tileset1", "", "Tileset", "", "", -1, nullptr, nullptr, TCommandRow::Menu},
        {"Tileset1", "Default1", "", "Default", "", " Select The Default Tileset For Use.", -1, &T::Default1Click},
        {"Tileset1", "Custom1", "", "Custom...", "", " Load A Custom Tileset.", -1, &T::Custom1Click},
        {"File1", "-"},
        {"File1", "Geoset1", "", "GeoSet...", "", " Manage GeoSets.", -1, &T::GeoSet1Click},
        // Enabled once a GeoSet file has been read.
        {"File1", "GenerateRandomMap1", "", "Generate Random Map", "Ctrl+R", " Generate A Random Map Using The Currently Loaded GeoSet.", -1, &T::GenerateRandomMap1Click, &T::GenerateRandomMap1, TCommandRow::Disabled},
        {"File1", "GenerateMap1", "", "Generate Map...", "Ctrl+Shift+R", " Generate A Dungeon, Caves, A Keep Or Wilderness From A Seed.", -1, &T::GenerateMap1Click},
        {"File1", "-"},
        {"File1", "ExportImage1", "ExportDisk", "Export Image...", "", " Export Map Or Currently Selected Map Region To Disk As A BMP, JPG Or PNG File At The Current Level Of Detail.", -1, &T::ExportDiskExecute},
        {"File1", "ExportTiledMapImages1", "ExportDiskTiled", "Export Tiled Map Images", "", " Export Map To Disk As Four Tiled BMP, JPG Or PNG Files At The Current Level Of Detail.", -1, &T::ExportDiskTiledExecute},
        {"File1", "ExportVirtualTabletopMap1", "ExportVtt", "Export Virtual Tabletop Map...", "", " Export Map Or Currently Selected Map Region With Its Walls, Doors And Lights As A Universal VTT File For Virtual Tabletops.", -1, &T::ExportVttExecute},
        {"File1", "ExportFoundryScene1", "", "Export Foundry Scene...", "", " Export Map Or Currently Selected Map Region As A Foundry VTT Scene With Its Walls, Doors, Secret Doors, Lights And Notes.", -1, &T::ExportFoundryExecute},
        {"File1", "ExportTiledMap1", "", "Export Tiled Map...", "", " Export The Map With Its Tileset And Smart Terrains For The Tiled Map Editor (TMX).", -1, &T::ExportTiledMap1Click},
        {"File1", "ImportTiledMap1", "", "Import Tiled Map...", "", " Replace The Map With A Map From The Tiled Map Editor (TMX).", -1, &T::ImportTiledMap1Click},
        {"File1", "-"},
        {"File1", "FileExitItem", "", "E&xit", "", " Exit Application", -1, &T::FileExit1Execute},

        {"", "Edit1", "", "Edit", "", "", -1, nullptr, nullptr, TCommandRow::Menu},
        {"Edit1", "Cut1", "Cut", "Cut", "Ctrl+X", " Cut The Current Map Selection To The Clipboard.", 17, &T::CutExecute},
        {"Edit1", "Copy1", "Copy", "Copy", "Ctrl+C", " Copy The Current Map Selection To The Clipboard.", 18, &T::CopyExecute},
        {"Edit1", "Paste1", "Paste", "Paste", "Ctrl+V", " Paste A Previously Cut or Copied Map Region To The Map At The Selected Location.", 19, &T::PasteExecute},
        {"Edit1", "Undo1", "Undo", "Undo", "Ctrl+Z", " Undo The Last Change Made To The Map.", 20, &T::UndoExecute},
        {"Edit1", "StepBackward1", "", "Step Backward", "Ctrl+Alt+Z", " Show The Map As It Was One Step Earlier.", -1, &T::StepBackwardExecute, &T::StepBackward1},
        {"Edit1", "StepForward1", "", "Step Forward", "Ctrl+Shift+Z", " Show The Map As It Was One Step Later.", -1, &T::StepForwardExecute, &T::StepForward1},
        {"Edit1", "History1", "", "History...", "", " Show Every Step Of This Session And Go Back To Any Of Them.", -1, &T::HistoryClick},
        {"Edit1", "Key1", "", "Key...", "", " Show The Map Key: The Numbered Rooms With Their Titles And Texts.", -1, &T::KeyClick},
        {"Edit1", "DeleteLabel1", "", "Delete Label", "Del", " Delete The Picked Label And Its Key Entry.", -1, &T::DeleteLabelExecute},
        {"Edit1", "-"},
        {"Edit1", "CopyImage1", "ExportClipboard", "Copy Image", "", " Export The Map Or Currently Selected Map Region To The Clipboard As An Image.", -1, &T::ExportImageClipboardExecute},
        {"Edit1", "-"},
        {"Edit1", "FindSymbol1", "", "Find Symbol", "Ctrl+F", " Find A Symbol By Name: Narrow The Symbol Column To The Symbols Whose Names Have The Words Typed.", -1, &T::FindSymbolExecute},

        {"", "Options1", "", "Options", "", "", -1, nullptr, nullptr, TCommandRow::Menu},
        {"Options1", "ShowHidden", "", "Show Hidden", "Ctrl+H", " Toggle Display Of Hidden Tiles On/Off.", -1, &T::ShowHiddenClick, &T::ShowHidden, TCommandRow::Checkable | TCommandRow::Checked},
        {"Options1", "-"},
        {"Options1", "ZoomIn1", "ZoomIn", "Zoom In", "Ctrl+I", " View Map At Increased Detail.", 21, &T::ZoomInExecute},
        {"Options1", "ZoomOut1", "ZoomOut", "Zoom Out", "Ctrl+O", " View Map At Decreased Detail.", 22, &T::ZoomOutExecute},
        {"Options1", "-"},
        {"Options1", "RandomMaplet1", "", "Insert Random Maplet", "Ctrl+M", " Insert A Random Maplet From The Current Geoset At The Current Map Location.", -1, &T::RandomMaplet1Click},
        {"Options1", "SetBackground1", "", "Set Background", "Ctrl+B", " Set Currently Selected Tile To Be Used As Background For All Map Tiles.", -1, &T::SetBackground1Click},
        {"Options1", "-"},
        // Off at start; the screen only.
        {"Options1", "ShowGridLines1", "", "Show Grid Lines", "", " Toggle Thin Lines Between The Map Cells On The Screen On/Off.", -1, &T::ShowGridLinesClick, &T::ShowGridLines1, TCommandRow::Checkable},

        // Ctrl+Shift: no letter is taken from the symbol column's type-ahead.
        {"", "Tools1", "", "Tools", "", "", -1, nullptr, nullptr, TCommandRow::Menu},
        {"Tools1", "Room1", "", "Room", "Ctrl+Shift+M", " Draw A Room: Drag A Rectangle For Its Wall Ring And Floor (Shift: Walls Only).", -1, &T::RoomItemClick},
        {"Tools1", "Door1", "", "Door", "Ctrl+Shift+D", " Put A Door In A Wall With A Click; Click It Again For The Next Kind.", -1, &T::DoorItemClick},
        {"Tools1", "Fill1", "", "Fill", "Ctrl+Shift+F", " Fill The Area Around A Cell, Up To Its Walls Or Within The Selection.", -1, &T::FillItemClick},
        {"Tools1", "Label1", "", "Label", "Ctrl+Shift+L", " Number A Room For The Map Key: Click A Cell To Pin The Next Number, Drag A Label To Move It.", -1, &T::LabelItemClick},

        {"", "Help1", "", "&Help", "", "Help topics", -1, nullptr, nullptr, TCommandRow::Menu},
        {"Help1", "KeyboardShortcuts1", "", "Keyboard Shortcuts", "", " List Every Keyboard Shortcut And Mouse Gesture.", -1, &T::KeyboardShortcutsClick},
        {"Help1", "HelpAboutItem", "", "&About...", "", " Displays Program Information, Version Number And Copyright.", -1, &T::HelpAbout1Execute},

        // The maplet editor's tool bar runs these.
        {"", "", "GeoNew", "New", "", " Create A New GeoSet.", 0, &T::GeoNewExecute},
        {"", "", "GeoOpen", "Open", "", " Open An Existing GeoSet.", 1, &T::GeoOpenExecute},
        {"", "", "GeoSave", "Save", "", " Save The Current GeoSet.", 2, &T::GeoSaveExecute},
    };
    return rows;
}

// What the mouse and keys do beyond the menus, one line a gesture.
std::span<const Twinviewform::TGestureRow> Twinviewform::GestureRows() {
    static const TGestureRow rows[] = {
        {"Shift + drag", "With a smart tool: stamp every cell of the dragged rectangle (one Undo takes it back)"},
        {"Alt + click or drag", "With a smart tool: smart erase, removing that terrain so what remains still joins"},
        {"Shift + drag with Room", "Draw only the room's closed wall ring (no doorways into what it crosses), leaving its inside as it is"},
        {"Drag a label with Label", "Move the label to the cell where the button comes up"},
        {"Ctrl + mouse wheel", "Zoom in or out, keeping the cell under the pointer in place"},
        {"Letters in the symbol column", "Pick the next symbol with a word of its name starting with them (more words: later words)"},
        {"Ctrl + click with Draw", "Pick up the symbol in that map cell (the upper one, or the lower where the upper is empty)"},
        {"Arrow keys, Page Up/Down, Home, End", "Move the selected cell or symbol"},
    };
    return rows;
}

// The tool bar from left to right: "|" is a gap; a button either shows an action of
// the list or is one of the tools (a radio group).
std::span<const Twinviewform::TButtonRow> Twinviewform::ButtonRows() {
    using T = Twinviewform;
    static const TButtonRow rows[] = {
        {"ButtonNew", "New"}, {"ButtonOpen", "Open"}, {"ButtonSave", "Save"}, {"ToolButton1"},
        {"ToolButton28", nullptr, 3, " Selection Tool", &T::ToolButton28},
        {"ButtonDraw", nullptr, 4, " Draw Tool", &T::ButtonDraw},
        {"ButtonErase", nullptr, 5, " Eraser Tool", &T::ButtonErase},
        {"ButtonWall", nullptr, 6, " Custom Smart Tool", &T::ButtonWall},
        {"ButtonWater", nullptr, 7, " Custom Smart Tool", &T::ButtonWater},
        {"ButtonFire", nullptr, 8, " Custom Smart Tool", &T::ButtonFire},
        {"ButtonHole", nullptr, 9, " Custom Smart Tool", &T::ButtonHole},
        {"ButtonSlime", nullptr, 10, " Custom Smart Tool", &T::ButtonSlime},
        {"ButtonForest", nullptr, 11, " Custom Smart Tool", &T::ButtonForest},
        {"ButtonMountain", nullptr, 12, " Custom Smart Tool", &T::ButtonMountain},
        {"ButtonDesert", nullptr, 13, " Custom Smart Tool", &T::ButtonDesert},
        {"ButtonRoom", nullptr, -1, " Room Tool", &T::ButtonRoom},
        {"ButtonDoor", nullptr, -1, " Door Tool", &T::ButtonDoor},
        {"ButtonFill", nullptr, -1, " Fill Tool", &T::ButtonFill},
        {"ButtonLabel", nullptr, -1, " Label Tool", &T::ButtonLabel},
        {"ToolButton2"},
        {"LayerButton", nullptr, 16, " Layer Selection Tool", &T::LayerButton, false},
        {"ToolButton3"},
        {"ButtonCut", "Cut"}, {"ButtonCopy", "Copy"}, {"ButtonPaste", "Paste"}, {"ButtonUndo", "Undo"},
        {"ToolButton4"},
        {"ToolButton24", "ZoomIn"}, {"ToolButton25", "ZoomOut"},
        {"ToolButton5"},
        {"ToolButton22", "Print"},
    };
    return rows;
}
// clang-format on

void Twinviewform::Wire(QAction* a, void (Twinviewform::*run)()) {
    connect(a, &QAction::triggered, this, [this, run] { RunCommand([this, run] { (this->*run)(); }); });
}

void Twinviewform::SetImage(QAction* a, int image) {
    if (image < 0) return;
    a->setProperty(ImageProperty, image);
    imaged_.push_back(a);
}

QAction* Twinviewform::AddMenuEntry(const TCommandRow& row, QAction* action) {
    const QString name = QString::fromLatin1(row.item);
    const QString caption = QString::fromUtf8(row.caption);
    if (!*row.menu) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(name);
        menu->menuAction()->setStatusTip(QString::fromUtf8(row.hint));
        return nullptr;
    }
    QMenu* menu = menuBar()->findChild<QMenu*>(QString::fromLatin1(row.menu));
    Q_ASSERT_X(menu, row.item, "the command table names a menu that comes later or not at all");
    if (name == QLatin1String("-")) {
        menu->addSeparator();
        return nullptr;
    }
    if (row.flags & TCommandRow::Menu) {
        menu->addMenu(caption)->setObjectName(name);
        return nullptr;
    }
    auto* item = new QAction(caption, menu);
    item->setObjectName(name);
    item->setStatusTip(QString::fromUtf8(row.hint));
    if (*row.shortcut) item->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
    item->setCheckable(row.flags & TCommandRow::Checkable);
    item->setChecked(row.flags & TCommandRow::Checked);
    menu->addAction(item);
    if (action) {
        // The item shows the action's image and follows its enabled state.
        SetImage(item, row.image);
        connect(action, &QAction::changed, item, [item, action] { item->setEnabled(action->isEnabled()); });
        connect(item, &QAction::triggered, action, [action] { action->trigger(); });
    } else if (row.run) {
        Wire(item, row.run);
    }
    return item;
}

QAction* Twinviewform::AddCommand(const TCommandRow& row) {
    QAction* action = nullptr;
    if (*row.action) {
        const QString hint = QString::fromUtf8(row.hint);
        action = new QAction(QString::fromUtf8(row.caption), QuillmarchActions);
        action->setObjectName(QString::fromLatin1(row.action));
        action->setStatusTip(hint);
        action->setToolTip(hint.trimmed());
        SetImage(action, row.image);
        if (row.run) Wire(action, row.run);
    }
    QAction* item = *row.item ? AddMenuEntry(row, action) : nullptr;
    QAction* kept = action ? action : item;
    if (kept && (row.flags & TCommandRow::Disabled)) kept->setEnabled(false);
    if (row.keep) this->*row.keep = kept;
    return kept;
}

void Twinviewform::CreateCommands() {
    QuillmarchActions = new QObject(this);
    QuillmarchActions->setObjectName(QStringLiteral("QuillmarchActions"));
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    for (const TCommandRow& row : CommandRows()) AddCommand(row);
    Tools1 = menuBar()->findChild<QMenu*>(QStringLiteral("Tools1"));
}

Twinviewform::TGeoSetActions Twinviewform::GeoSetActions() const {
    const auto find = [this](const char* name) {
        return QuillmarchActions->findChild<QAction*>(QString::fromLatin1(name));
    };
    return {find("GeoNew"), find("GeoOpen"), find("GeoSave")};
}

void Twinviewform::AddButtons() {
    for (const TButtonRow& row : ButtonRows()) {
        if (!row.action && !row.keep) {
            auto* gap = new QWidget(ToolBar1);
            gap->setObjectName(QString::fromLatin1(row.name));
            gap->setFixedSize(SeparatorWidth, 22);
            ToolBar1->addWidget(gap);
            continue;
        }
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(row.name));
        b->setAutoRaise(true);
        b->setIconSize(QSize(16, 16));
        b->setFixedSize(23, 22);
        if (row.action) {
            b->setDefaultAction(QuillmarchActions->findChild<QAction*>(QString::fromLatin1(row.action)));
        } else {
            const QString hint = QString::fromUtf8(row.hint);
            b->setStatusTip(hint);
            b->setToolTip(hint.trimmed());
            if (row.image >= 0) { // the drawing tools beside the eleven bring their own icons
                b->setProperty(ImageProperty, row.image);
                imaged_.push_back(b);
            }
        }
        if (row.tool && !row.action) {
            b->setCheckable(true);
            ToolGroup->addButton(b);
        }
        if (row.keep) this->*row.keep = b;
        ToolBar1->addWidget(b);
    }
}

QList<QPair<QString, QString>> Twinviewform::ShortcutList() const {
    QList<QPair<QString, QString>> list;
    for (const TCommandRow& row : CommandRows()) {
        if (!*row.shortcut || !*row.menu) continue;
        QString where = Plain(QString::fromUtf8(row.caption));
        // The menu path, innermost last: "File > Tileset > Default".
        for (QString menu = QString::fromLatin1(row.menu); !menu.isEmpty();) {
            QString parent;
            for (const TCommandRow& m : CommandRows())
                if ((m.flags & TCommandRow::Menu) && menu == QLatin1String(m.item)) {
                    where = Plain(QString::fromUtf8(m.caption)) + QStringLiteral(" > ") + where;
                    parent = QString::fromLatin1(m.menu);
                }
            menu = parent;
        }
        list.append({QKeySequence(QString::fromLatin1(row.shortcut)).toString(QKeySequence::NativeText), where});
    }
    for (const TGestureRow& g : GestureRows()) list.append({QString::fromUtf8(g.keys), QString::fromUtf8(g.what)});
    return list;
}

void Twinviewform::KeyboardShortcutsClick() {
    auto* box = findChild<QDialog*>(QStringLiteral("KeyboardShortcuts"));
    if (!box) {
        box = new QDialog(this);
        box->setObjectName(QStringLiteral("KeyboardShortcuts"));
        box->setWindowTitle(QStringLiteral("Keyboard Shortcuts"));
        const auto list = ShortcutList();
        auto* table = new QTableWidget(int(list.size()), 2, box);
        table->setObjectName(QStringLiteral("ShortcutTable"));
        table->setHorizontalHeaderLabels({QStringLiteral("Keys"), QStringLiteral("Does")});
        table->verticalHeader()->hide();
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setSelectionMode(QAbstractItemView::NoSelection);
        for (int r = 0; r < list.size(); ++r) {
            table->setItem(r, 0, new QTableWidgetItem(list[r].first));
            table->setItem(r, 1, new QTableWidgetItem(list[r].second));
        }
        table->resizeColumnsToContents();
        table->resizeRowsToContents();
        table->horizontalHeader()->setStretchLastSection(true);
        auto* close = new QDialogButtonBox(QDialogButtonBox::Close, box);
        connect(close, &QDialogButtonBox::rejected, box, &QDialog::reject);
        auto* layout = new QVBoxLayout(box);
        layout->addWidget(table);
        layout->addWidget(close);
        // The whole list at once where the screen allows.
        const int rows = table->verticalHeader()->length() + table->horizontalHeader()->sizeHint().height() + 4;
        const int room = screen() ? screen()->availableGeometry().height() * 4 / 5 : 600;
        box->resize(table->horizontalHeader()->length() + 40, std::min(rows + 80, room));
    }
    box->show();
    box->raise();
}

} // namespace qm
