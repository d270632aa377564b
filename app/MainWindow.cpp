// The main window's controls: action list, menus, tool bar, grids and status bar.
#include "app/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

#include "preview/Dialogs.h"
#include "preview/PrintPreview.h"
#include "print/MapPage.h"
#include "tiles/Encoding.h"
#include "tiles/ToolIcon.h"

namespace qm {

namespace {
const char* const ImageProperty = "ImageIndex";
constexpr int ToolBarHeight = 26;
constexpr int SeparatorWidth = 8;
constexpr int PanelWidth = 82;
constexpr int SymbolRowHeight = 50;
} // namespace

QString DefaultProgramDir() {
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

Twinviewform::Twinviewform(const QString& programDir, QWidget* parent)
    : QMainWindow(parent), app_(std::make_unique<TQuillmarch>()) {
    setObjectName(QStringLiteral("winviewform"));
    QString dir = programDir.isEmpty() ? DefaultProgramDir() : programDir;
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    app_->ProgramDir = dir;
    app_->MapDialogDir = app_->GeoDialogDir = app_->PictureDialogDir = dir;

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateGrids();
    CreateDocumentCommands();
    CreateRecovery();

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    setStatusBar(StatusBar1);
    CreateWhereAmI();
    CreateSymbolNames();
    setWindowTitle(QStringLiteral("QuillMarch[*]"));
}

Twinviewform::~Twinviewform() {
    // Ending the run without a crash: nothing is left to recover.
    recoveryTimer_.stop();
    recovery_->RemoveAll();
    // The maplet editor may outlive us at shut-down; it must not call back into us.
    geoCtx_.SetGenerateEnabled = nullptr;
    geoCtx_.TilesetChanged = nullptr;
}

int Twinviewform::ImageIndexOf(const QObject* o) {
    const QVariant v = o ? o->property(ImageProperty) : QVariant();
    return v.isValid() ? v.toInt() : -1;
}

void Twinviewform::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        Dialogs().Error(this, MessageText(e));
    } catch (...) {
        Dialogs().Error(this, QStringLiteral("Unexpected failure."));
    }
}

QAction* Twinviewform::MakeAction(const char* name, const QString& caption, int image, const QString& hint) {
    auto* a = new QAction(caption, QuillmarchActions);
    a->setObjectName(QString::fromLatin1(name));
    a->setStatusTip(hint);
    a->setToolTip(hint.trimmed());
    if (image >= 0) {
        a->setProperty(ImageProperty, image);
        imaged_.push_back(a);
    }
    return a;
}

void Twinviewform::CreateActions() {
    QuillmarchActions = new QObject(this);
    QuillmarchActions->setObjectName(QStringLiteral("QuillmarchActions"));

    New = MakeAction("New", QStringLiteral("New"), 0, QStringLiteral(" Create A New Map."));
    Open = MakeAction("Open", QStringLiteral("Open..."), 1, QStringLiteral(" Open An Existing Map."));
    Save = MakeAction("Save", QStringLiteral("Save"), 2, QStringLiteral(" Save The Current Map."));
    SaveAs = MakeAction("SaveAs", QStringLiteral("Save As..."), -1,
                        QStringLiteral(" Save The Current Map Under A New Name."));
    Print = MakeAction("Print", QStringLiteral("&Print"), 23, QStringLiteral(" Print The Current Map."));
    PrintSetup = MakeAction("PrintSetup", QStringLiteral("Print &Setup"), -1,
                            QStringLiteral(" Set Printer Properties."));
    ZoomIn = MakeAction("ZoomIn", QStringLiteral("Zoom In"), 21, QStringLiteral(" View Map At Increased Detail."));
    ZoomOut = MakeAction("ZoomOut", QStringLiteral("Zoom Out"), 22, QStringLiteral(" View Map At Decreased Detail."));
    Cut = MakeAction("Cut", QStringLiteral("Cut"), 17,
                     QStringLiteral(" Cut The Current Map Selection To The Clipboard."));
    Copy = MakeAction("Copy", QStringLiteral("Copy"), 18,
                      QStringLiteral(" Copy The Current Map Selection To The Clipboard."));
    Paste = MakeAction(
        "Paste", QStringLiteral("Paste"), 19,
        QStringLiteral(" Paste A Previously Cut or Copied Map Region To The Map At The Selected Location."));
    Undo = MakeAction("Undo", QStringLiteral("Undo"), 20, QStringLiteral(" Undo The Last Change Made To The Map."));
    GeoNew = MakeAction("GeoNew", QStringLiteral("New"), 0, QStringLiteral(" Create A New GeoSet."));
    GeoOpen = MakeAction("GeoOpen", QStringLiteral("Open"), 1, QStringLiteral(" Open An Existing GeoSet."));
    GeoSave = MakeAction("GeoSave", QStringLiteral("Save"), 2, QStringLiteral(" Save The Current GeoSet."));
    ExportDisk = MakeAction("ExportDisk", QStringLiteral("Export Image..."), -1,
                            QStringLiteral(" Export Map Or Currently Selected Map Region To Disk As A BMP, JPG Or PNG "
                                           "File At The Current Level Of Detail."));
    ExportClipboard = MakeAction("ExportClipboard", QStringLiteral("Copy Image"), -1,
                                 QStringLiteral(" Export The Map Or Currently Selected Map Region To The Clipboard As "
                                                "An Image."));
    ExportDiskTiled = MakeAction("ExportDiskTiled", QStringLiteral("Export Tiled Map Images"), -1,
                                 QStringLiteral(" Export Map To Disk As Four Tiled BMP, JPG Or PNG Files At The "
                                                "Current Level Of Detail."));
    ExportVtt = MakeAction("ExportVtt", QStringLiteral("Export Virtual Tabletop Map..."), -1,
                           QStringLiteral(" Export Map Or Currently Selected Map Region With Its Walls, Doors And "
                                          "Lights As A Universal VTT File For Virtual Tabletops."));

    auto wire = [this](QAction* a, void (Twinviewform::*handler)()) {
        connect(a, &QAction::triggered, this, [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); });
    };
    wire(New, &Twinviewform::NewExecute);
    wire(Open, &Twinviewform::OpenExecute);
    wire(Save, &Twinviewform::SaveExecute);
    wire(SaveAs, &Twinviewform::SaveAsExecute);
    wire(ZoomIn, &Twinviewform::ZoomInExecute);
    wire(ZoomOut, &Twinviewform::ZoomOutExecute);
    wire(Cut, &Twinviewform::CutExecute);
    wire(Copy, &Twinviewform::CopyExecute);
    wire(Paste, &Twinviewform::PasteExecute);
    wire(Undo, &Twinviewform::UndoExecute);
}

QAction* Twinviewform::AddItem(QMenu* menu, const char* name, const QString& caption, const QString& shortcut,
                               const QString& hint, QAction* action) {
    auto* item = new QAction(caption, menu);
    item->setObjectName(QString::fromLatin1(name));
    item->setStatusTip(hint);
    if (!shortcut.isEmpty()) item->setShortcut(QKeySequence(shortcut));
    menu->addAction(item);
    if (action) {
        // A menu item that runs an action shows its image and follows its enabled state.
        const int image = ImageIndexOf(action);
        if (image >= 0) {
            item->setProperty(ImageProperty, image);
            imaged_.push_back(item);
        }
        item->setEnabled(action->isEnabled());
        connect(action, &QAction::changed, item, [item, action] { item->setEnabled(action->isEnabled()); });
        connect(item, &QAction::triggered, action, [action] { action->trigger(); });
    }
    return item;
}

void Twinviewform::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    File1 = bar->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    File1->menuAction()->setStatusTip(QStringLiteral("File related commands"));
    AddItem(File1, "New1", QStringLiteral("New"), {}, QStringLiteral(" Create A New Map."), New);
    AddItem(File1, "Open1", QStringLiteral("Open..."), {}, QStringLiteral(" Open An Existing Map."), Open);
    AddItem(File1, "Save1", QStringLiteral("Save"), QStringLiteral("Ctrl+S"), QStringLiteral(" Save The Current Map."),
            Save);
    AddItem(File1, "SaveAs1", QStringLiteral("Save As..."), {},
            QStringLiteral(" Save The Current Map Under A New Name."), SaveAs);
    File1->addSeparator();
    AddItem(File1, "PrintSetup1", QStringLiteral("Print &Setup"), {}, QStringLiteral(" Set Printer Properties."),
            PrintSetup);
    AddItem(File1, "Print1", QStringLiteral("&Print"), QStringLiteral("Ctrl+P"),
            QStringLiteral(" Print The Current Map."), Print);
    File1->addSeparator();
    Tileset1 = File1->addMenu(QStringLiteral("Tileset"));
    Tileset1->setObjectName(QStringLiteral("Tileset1"));
    Default1 = AddItem(Tileset1, "Default1", QStringLiteral("Default"), {},
                       QStringLiteral(" Select The Default Tileset For Use."), nullptr);
    Custom1 = AddItem(Tileset1, "Custom1", QStringLiteral("Custom..."), {}, QStringLiteral(" Load A Custom Tileset."),
                      nullptr);
    File1->addSeparator();
    Geoset1 = AddItem(File1, "Geoset1", QStringLiteral("GeoSet..."), {}, QStringLiteral(" Manage GeoSets."), nullptr);
    GenerateRandomMap1 = AddItem(File1, "GenerateRandomMap1", QStringLiteral("Generate Random Map"),
                                 QStringLiteral("Ctrl+R"),
                                 QStringLiteral(" Generate A Random Map Using The Currently Loaded GeoSet."), nullptr);
    AddGenerateMapItem(File1);
    File1->addSeparator();
    AddItem(File1, "ExportImage1", QStringLiteral("Export Image..."), {}, ExportDisk->statusTip(), ExportDisk);
    AddItem(File1, "ExportTiledMapImages1", QStringLiteral("Export Tiled Map Images"), {}, ExportDiskTiled->statusTip(),
            ExportDiskTiled);
    AddItem(File1, "ExportVirtualTabletopMap1", QStringLiteral("Export Virtual Tabletop Map..."), {},
            ExportVtt->statusTip(), ExportVtt);
    AddTiledMapItems(File1);
    File1->addSeparator();
    FileExitItem = AddItem(File1, "FileExitItem", QStringLiteral("E&xit"), {}, QStringLiteral(" Exit Application"),
                           nullptr);

    Edit1 = bar->addMenu(QStringLiteral("Edit"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    AddItem(Edit1, "Cut1", QStringLiteral("Cut"), QStringLiteral("Ctrl+X"), Cut->statusTip(), Cut);
    AddItem(Edit1, "Copy1", QStringLiteral("Copy"), QStringLiteral("Ctrl+C"), Copy->statusTip(), Copy);
    AddItem(Edit1, "Paste1", QStringLiteral("Paste"), QStringLiteral("Ctrl+V"), Paste->statusTip(), Paste);
    AddItem(Edit1, "Undo1", QStringLiteral("Undo"), QStringLiteral("Ctrl+Z"), Undo->statusTip(), Undo);
    Edit1->addSeparator();
    AddItem(Edit1, "CopyImage1", QStringLiteral("Copy Image"), {}, ExportClipboard->statusTip(), ExportClipboard);

    Options1 = bar->addMenu(QStringLiteral("Options"));
    Options1->setObjectName(QStringLiteral("Options1"));
    ShowHidden = AddItem(Options1, "ShowHidden", QStringLiteral("Show Hidden"), QStringLiteral("Ctrl+H"),
                         QStringLiteral(" Toggle Display Of Hidden Tiles On/Off."), nullptr);
    ShowHidden->setCheckable(true);
    ShowHidden->setChecked(true);
    Options1->addSeparator();
    AddItem(Options1, "ZoomIn1", QStringLiteral("Zoom In"), QStringLiteral("Ctrl+I"), ZoomIn->statusTip(), ZoomIn);
    AddItem(Options1, "ZoomOut1", QStringLiteral("Zoom Out"), QStringLiteral("Ctrl+O"), ZoomOut->statusTip(), ZoomOut);
    Options1->addSeparator();
    RandomMaplet1 = AddItem(Options1, "RandomMaplet1", QStringLiteral("Insert Random Maplet"), QStringLiteral("Ctrl+M"),
                            QStringLiteral(" Insert A Random Maplet From The Current Geoset At The Current Map "
                                           "Location."),
                            nullptr);
    SetBackground1 = AddItem(Options1, "SetBackground1", QStringLiteral("Set Background"), QStringLiteral("Ctrl+B"),
                             QStringLiteral(" Set Currently Selected Tile To Be Used As Background For All Map "
                                            "Tiles."),
                             nullptr);

    Help1 = bar->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Help1->menuAction()->setStatusTip(QStringLiteral("Help topics"));
    HelpAboutItem = AddItem(Help1, "HelpAboutItem", QStringLiteral("&About..."), {},
                            QStringLiteral(" Displays Program Information, Version Number And Copyright."), nullptr);

    auto wire = [this](QAction* a, void (Twinviewform::*handler)()) {
        connect(a, &QAction::triggered, this, [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); });
    };
    wire(Default1, &Twinviewform::Default1Click);
    wire(Custom1, &Twinviewform::Custom1Click);
    wire(FileExitItem, &Twinviewform::FileExit1Execute);
    wire(HelpAboutItem, &Twinviewform::HelpAbout1Execute);
    wire(ShowHidden, &Twinviewform::ShowHiddenClick);
    wire(SetBackground1, &Twinviewform::SetBackground1Click);

    // Enabled once a GeoSet file has been read.
    GenerateRandomMap1->setEnabled(false);
}

QToolButton* Twinviewform::AddButton(const char* name, QAction* action, int image, const QString& hint, bool tool) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoRaise(true);
    b->setIconSize(QSize(16, 16));
    b->setFixedSize(23, 22);
    if (action) {
        b->setDefaultAction(action);
    } else {
        b->setStatusTip(hint);
        b->setToolTip(hint.trimmed());
        if (image >= 0) {
            b->setProperty(ImageProperty, image);
            imaged_.push_back(b);
        }
    }
    if (tool) {
        b->setCheckable(true);
        ToolGroup->addButton(b);
    }
    ToolBar1->addWidget(b);
    return b;
}

void Twinviewform::AddSeparator(const char* name) {
    auto* gap = new QWidget(ToolBar1);
    gap->setObjectName(QString::fromLatin1(name));
    gap->setFixedSize(SeparatorWidth, 22);
    ToolBar1->addWidget(gap);
}

void Twinviewform::CreateToolBar() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(ToolBarHeight);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    // Two 2-pixel bevels above and below the buttons.
    ToolBar1->setStyleSheet(
        QStringLiteral("QToolBar { spacing: 0px; padding: 0px 2px; border: none; "
                       "border-top: 2px groove palette(mid); border-bottom: 2px groove palette(mid); }"));
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    ToolGroup = new QButtonGroup(this);
    ToolGroup->setObjectName(QStringLiteral("ToolGroup"));
    ToolGroup->setExclusive(true);

    AddButton("ButtonNew", New, 0, {}, false);
    AddButton("ButtonOpen", Open, 1, {}, false);
    AddButton("ButtonSave", Save, 2, {}, false);
    AddSeparator("ToolButton1");
    const QString smart = QStringLiteral(" Custom Smart Tool");
    ToolButton28 = AddButton("ToolButton28", nullptr, 3, QStringLiteral(" Selection Tool"), true);
    ButtonDraw = AddButton("ButtonDraw", nullptr, 4, QStringLiteral(" Draw Tool"), true);
    ButtonErase = AddButton("ButtonErase", nullptr, 5, QStringLiteral(" Eraser Tool"), true);
    ButtonWall = AddButton("ButtonWall", nullptr, 6, smart, true);
    ButtonWater = AddButton("ButtonWater", nullptr, 7, smart, true);
    ButtonFire = AddButton("ButtonFire", nullptr, 8, smart, true);
    ButtonHole = AddButton("ButtonHole", nullptr, 9, smart, true);
    ButtonSlime = AddButton("ButtonSlime", nullptr, 10, smart, true);
    ButtonForest = AddButton("ButtonForest", nullptr, 11, smart, true);
    ButtonMountain = AddButton("ButtonMountain", nullptr, 12, smart, true);
    ButtonDesert = AddButton("ButtonDesert", nullptr, 13, smart, true);
    ToolButton28->setChecked(true);
    AddSeparator("ToolButton2");
    LayerButton = AddButton("LayerButton", nullptr, 16, QStringLiteral(" Layer Selection Tool"), false);
    connect(LayerButton, &QToolButton::clicked, this, [this] { RunCommand([this] { LayerButtonClick(); }); });
    AddSeparator("ToolButton3");
    AddButton("ButtonCut", Cut, 17, {}, false);
    AddButton("ButtonCopy", Copy, 18, {}, false);
    AddButton("ButtonPaste", Paste, 19, {}, false);
    AddButton("ButtonUndo", Undo, 20, {}, false);
    AddSeparator("ToolButton4");
    AddButton("ToolButton24", ZoomIn, 21, {}, false);
    AddButton("ToolButton25", ZoomOut, 22, {}, false);
    AddSeparator("ToolButton5");
    AddButton("ToolButton22", Print, 23, {}, false);
}

void Twinviewform::CreateGrids() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    Panel1 = new QWidget(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(PanelWidth);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    SymbolGrid = new TDrawGrid(Panel1);
    SymbolGrid->setObjectName(QStringLiteral("SymbolGrid"));
    SymbolGrid->SetColCount(1);
    SymbolGrid->SetRowCount(256);
    SymbolGrid->SetGridLineWidth(1);
    SymbolGrid->SetCellSize(SymbolRowHeight, SymbolRowHeight);
    SymbolGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SymbolGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    panelLayout->addWidget(SymbolGrid);
    row->addWidget(Panel1);

    DrawGrid1 = new TDrawGrid(central);
    DrawGrid1->setObjectName(QStringLiteral("DrawGrid1"));
    DrawGrid1->SetColCount(MapSize);
    DrawGrid1->SetRowCount(MapSize);
    DrawGrid1->SetGridLineWidth(0);
    DrawGrid1->SetCellSize(16, 16);
    DrawGrid1->SetRangeSelect(true);
    row->addWidget(DrawGrid1, 1);
    setCentralWidget(central);

    DrawGrid1->SetDrawCell(
        [this](QPainter& p, int c, int r, const QRect& rect, bool sel) { DrawGrid1DrawCell(p, c, r, rect, sel); });
    SymbolGrid->SetDrawCell(
        [this](QPainter& p, int c, int r, const QRect& rect, bool sel) { SymbolGridDrawCell(p, c, r, rect, sel); });
    connect(SymbolGrid, &TDrawGrid::SelectCell, this,
            [this](int c, int r) { RunCommand([this, c, r] { SymbolGridSelectCell(c, r); }); });
    connect(DrawGrid1, &TDrawGrid::MouseUp, this, [this](Qt::MouseButton, Qt::KeyboardModifiers mods, const QPoint&) {
        RunCommand([this, mods] { DrawGrid1MouseUp(mods); });
    });
}

void Twinviewform::RefreshIcons() {
    for (QObject* o : imaged_) {
        const QIcon icon = ToolIcon(app_->Tileset, ImageIndexOf(o));
        if (auto* a = qobject_cast<QAction*>(o)) a->setIcon(icon);
        else if (auto* b = qobject_cast<QToolButton*>(o)) b->setIcon(icon);
    }
    // The layer button's picture follows the layer mode, not its designed image.
    LayerButton->setProperty(ImageProperty, layerImage_);
    LayerButton->setIcon(ToolIcon(app_->Tileset, layerImage_));
}

bool Twinviewform::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) RunCommand([this] { FormActivate(); });
    return QMainWindow::event(e);
}

void Twinviewform::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

} // namespace qm
