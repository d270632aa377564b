#include "geoset/MapletEditor.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "compose/CellPainters.h"
#include "editor/DrawGrid.h"
#include "editor/MapEdit.h"
#include "geoset/Maplet.h"
#include "tiles/ToolIcon.h"

namespace qm {

namespace {
constexpr int ClientWidth = 464;
constexpr int ClientHeight = 429;
constexpr int GeoCell = 32;
constexpr int SymbolPanelWidth = 64;
} // namespace

TGeoEditForm::TGeoEditForm(TGeoSetDocument& doc, QImage& cellBitmap, QAction* geoNew, QAction* geoOpen,
                           QAction* geoSave, QWidget* parent)
    : QDialog(parent), doc_(doc), cellBitmap_(cellBitmap) {
    setObjectName(QStringLiteral("GeoEditForm"));
    setWindowTitle(QStringLiteral("GeoSet Maplet Editor[*]"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->addSeparator();
    for (QAction* a : {geoNew, geoOpen, geoSave})
        if (a) ToolBar1->addAction(a);
    ToolBar1->addSeparator();
    GeoLayerButton = new QToolButton(ToolBar1);
    GeoLayerButton->setObjectName(QStringLiteral("GeoLayerButton"));
    GeoLayerButton->setStatusTip(QStringLiteral(" Layer Tool"));
    GeoLayerButton->setToolTip(QStringLiteral(" Layer Tool"));
    ToolBar1->addWidget(GeoLayerButton);

    PositionBox = new QComboBox(this);
    PositionBox->setObjectName(QStringLiteral("PositionBox"));
    PositionBox->addItems({"Upper Left", "Upper Center", "Upper Right", "Left", "Center", "Right", "Lower Left",
                           "Lower Center", "Lower Right"});
    PositionBox->setStatusTip(QStringLiteral(" Select The Position For This GeoSet Section."));
    PositionBox->setToolTip(PositionBox->statusTip());

    SectionBox = new QComboBox(this);
    SectionBox->setObjectName(QStringLiteral("SectionBox"));
    SectionBox->addItems({"1", "2", "3", "4", "5", "6"});
    SectionBox->setStatusTip(QStringLiteral(" Select The Number For This GeoSet Section."));
    SectionBox->setToolTip(SectionBox->statusTip());

    GeoSymbolGrid = new TDrawGrid(this);
    GeoSymbolGrid->setObjectName(QStringLiteral("GeoSymbolGrid"));
    GeoSymbolGrid->SetColCount(1);
    GeoSymbolGrid->SetRowCount(256);
    GeoSymbolGrid->SetCellSize(GeoCell, GeoCell);
    GeoSymbolGrid->SetGridLineWidth(1);
    GeoSymbolGrid->SetRangeSelect(false);
    GeoSymbolGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GeoSymbolGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    GeoSymbolGrid->setFixedWidth(SymbolPanelWidth);

    GeoGrid = new TDrawGrid(this);
    GeoGrid->setObjectName(QStringLiteral("GeoGrid"));
    GeoGrid->SetColCount(MapletSize);
    GeoGrid->SetRowCount(MapletSize);
    GeoGrid->SetCellSize(GeoCell, GeoCell);
    GeoGrid->SetGridLineWidth(0);
    GeoGrid->SetRangeSelect(true);
    GeoGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GeoGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GeoGrid->setFrameShape(QFrame::NoFrame);
    GeoGrid->setFixedSize(MapletSize * GeoCell, MapletSize * GeoCell);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 4, 0);
    top->setSpacing(4);
    top->addWidget(ToolBar1);
    top->addStretch(1);
    top->addWidget(PositionBox);
    top->addWidget(SectionBox);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(GeoSymbolGrid);
    body->addStretch(1);
    body->addWidget(GeoGrid);
    body->addStretch(1);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addLayout(top);
    outer->addLayout(body, 1);

    GeoSymbolGrid->SetDrawCell(
        [this](QPainter& p, int c, int r, const QRect& rect, bool sel) { GeoSymbolGridDrawCell(p, c, r, rect, sel); });
    GeoGrid->SetDrawCell(
        [this](QPainter& p, int c, int r, const QRect& rect, bool sel) { GeoGridDrawCell(p, c, r, rect, sel); });
    connect(PositionBox, &QComboBox::currentIndexChanged, this, &TGeoEditForm::PositionBoxChange);
    connect(SectionBox, &QComboBox::currentIndexChanged, this, &TGeoEditForm::SectionBoxChange);
    connect(GeoSymbolGrid, &TDrawGrid::SelectCell, this, &TGeoEditForm::GeoSymbolGridSelectCell);
    connect(GeoGrid, &TDrawGrid::MouseUp, this, [this] { GeoGridMouseUp(); });
    connect(GeoLayerButton, &QToolButton::clicked, this, &TGeoEditForm::GeoLayerButtonClick);

    listener_ = doc_.Listen([this](TGeoSetEvent e) {
        if (e == TGeoSetEvent::Replaced) SyncSelectors();
        else setWindowModified(e == TGeoSetEvent::Painted);
    });
    UpdateIcons();
}

TGeoEditForm::~TGeoEditForm() { doc_.Unlisten(listener_); }

void TGeoEditForm::UpdateIcons() { GeoLayerButton->setIcon(ToolIcon(doc_.Tileset(), layerImage_)); }

void TGeoEditForm::SyncSelectors() {
    {
        // Set from the record: these are not user changes.
        QSignalBlocker bp(PositionBox), bs(SectionBox);
        PositionBox->setCurrentIndex(ClampPosition(doc_.GeoSet.Position) - 1);
        SectionBox->setCurrentIndex(ClampSection(doc_.GeoSet.Section) - 1);
    }
    GeoGrid->viewport()->update();
}

void TGeoEditForm::FormShow() {
    UpdateIcons();
    SyncSelectors();
}

void TGeoEditForm::showEvent(QShowEvent* e) {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(e);
    FormShow();
}

void TGeoEditForm::PositionBoxChange(int index) {
    if (index < 0) return;
    doc_.GeoSet.Position = static_cast<uint8_t>(ClampPosition(index + 1));
    GeoGrid->viewport()->update();
}

void TGeoEditForm::SectionBoxChange(int index) {
    if (index < 0) return;
    doc_.GeoSet.Section = static_cast<uint8_t>(ClampSection(index + 1));
    GeoGrid->viewport()->update();
}

void TGeoEditForm::GeoSymbolGridSelectCell(int, int row) {
    if (row >= 0 && row <= 255) doc_.GeoSet.PaintSymbol = static_cast<uint8_t>(row);
}

void TGeoEditForm::GeoGridMouseUp() {
    const TGridRect sel = GeoGrid->Selection();
    TGeoSetRecord& geo = doc_.GeoSet;
    for (int c = sel.Left; c <= sel.Right; ++c)
        for (int r = sel.Top; r <= sel.Bottom; ++r)
            PaintMapletCell(geo, geo.Position, geo.Section, c, r, geo.PaintSymbol, doc_.Tileset().LayerFlags);
    GeoGrid->viewport()->update();
    doc_.Changed();
}

void TGeoEditForm::GeoLayerButtonClick() {
    const auto step = NextLayerStep(layerImage_);
    if (!step) return;
    layerImage_ = step->Image;
    doc_.GeoSet.LayerMode = step->Mode;
    UpdateIcons();
}

// Both grids paint through the main window's painters, so symbols and selections look
// the same in both windows.
void TGeoEditForm::GeoSymbolGridDrawCell(QPainter& p, int, int row, const QRect& rect, bool selected) {
    if (!doc_.Tileset().IsRendered()) return;
    DrawSymbolCell(p, row, rect, selected, doc_.Tileset(), cellBitmap_, nullptr);
}

void TGeoEditForm::GeoGridDrawCell(QPainter& p, int col, int row, const QRect& rect, bool selected) {
    if (!doc_.Tileset().IsRendered()) return;
    const TGeoSetRecord& geo = doc_.GeoSet;
    DrawMapletCell(cellBitmap_, doc_.Tileset(), geo, geo.Position, geo.Section, col + 1, row + 1);
    DrawComposedGridCell(p, rect, selected, cellBitmap_);
}

} // namespace qm
