// The main window's controls: tool bar, grids and status bar (the commands are in CommandTable.cpp).
#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

#include "app/RecoveryWriter.h"
#include "base/Encoding.h"
#include "dialogs/Dialogs.h"
#include "preview/PrintPreview.h"
#include "print/MapPage.h"
#include "tiles/ToolIcon.h"

namespace qm {

namespace {
constexpr int ToolBarHeight = 26;
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
    app_->MapDialogDir = app_->PictureDialogDir = dir;

    CreateCommands();
    CreateToolBar();
    CreateGrids();
    CreateDocumentCommands();
    CreateRecovery();
    CreateHistory();
    CreateKey();
    app_->Document.Listen([this](TDocumentEvent e) { MapDocumentChanged(e); });

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    setStatusBar(StatusBar1);
    CreateWhereAmI();
    CreateSymbolNames();
    CreateFindSymbol();
    setWindowTitle(QStringLiteral("QuillMarch[*]"));
}

Twinviewform::~Twinviewform() {
    // Ending the run without a crash: nothing is left to recover.
    recovery_->Finish();
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

    AddButtons();
    CreateDrawingTools();
    ToolButton28->setChecked(true);
    connect(LayerButton, &QToolButton::clicked, this, [this] { RunCommand([this] { LayerButtonClick(); }); });
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
    FindSymbolBox = new QLineEdit(Panel1);
    FindSymbolBox->setObjectName(QStringLiteral("FindSymbolBox"));
    panelLayout->addWidget(FindSymbolBox);
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
    UpdateDrawingTools();
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
