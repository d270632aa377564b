// Aids for finding one's way on the map: the cell under the pointer in the status bar,
// Ctrl + wheel zoom about the pointer, cell lines on screen, symbol names (tool tips, the
// status bar, type-ahead in the symbol column), and maps that arrive from outside (a
// dropped file).
#include <QAction>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QStatusBar>
#include <QUrl>
#include <cmath>

#include "app/MainWindow.h"
#include "base/Encoding.h"
#include "editor/LabelTool.h"
#include "export/FileKind.h"

namespace qm {

namespace {
// The one local .map file a drag carries, or empty.
QString DroppedMapFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return {};
    const QUrl url = mime->urls().first();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return FileKindOf(PathBytes(path)) == TFileKind::Map ? path : QString();
}
} // namespace

void Twinviewform::CreateWhereAmI() {
    CellPanel = new QLabel(StatusBar1);
    CellPanel->setObjectName(QStringLiteral("CellPanel"));
    CellPanel->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Col 72, Row 72   72 x 72")) + 12);
    StatusBar1->addPermanentWidget(CellPanel);

    DrawGrid1->viewport()->setMouseTracking(true);
    connect(DrawGrid1, &TDrawGrid::PointerCell, this, [this](int c, int r) { DrawGrid1PointerCell(c, r); });
    connect(DrawGrid1, &TDrawGrid::WheelZoom, this, [this](int notches, const QPoint& pos) {
        RunCommand([this, notches, pos] { DrawGrid1WheelZoom(notches, pos); });
    });
    // Press and drag both report the selection; the release ends the drag.
    connect(DrawGrid1, &TDrawGrid::SelectCell, this, [this](int, int) {
        pointer_.Dragging = true;
        CellPanel->setText(CellPanelText());
        ShowDrawingToolStatus(); // the hint names the size being dragged
    });
    connect(DrawGrid1, &TDrawGrid::MouseUp, this, [this] {
        pointer_.Dragging = false;
        CellPanel->setText(CellPanelText());
    });
    setAcceptDrops(true);
}

QString Twinviewform::CellPanelText() const {
    const TMapDocument& doc = app_->Document;
    QString text = qm::CellPanelText(pointer_, DrawGrid1->Selection(), doc.CurrentMap, app_->Symbols);
    // A label names its room where the labels show.
    const QString label = pointer_.Symbol < 0 && doc.CurrentMap.ShowHidden
                              ? LabelHint(doc.CurrentKey, pointer_.Col, pointer_.Row)
                              : QString();
    if (!label.isEmpty()) text += QStringLiteral("   ") + label;
    return text;
}

void Twinviewform::CreateSymbolNames() {
    SymbolGrid->SetToolTipFn([this](int, int row) { return SymbolName(SymbolAtRow(row)); });
    SymbolGrid->viewport()->setMouseTracking(true);
    connect(SymbolGrid, &TDrawGrid::PointerCell, this, [this](int c, int r) { SymbolGridPointerCell(c, r); });
    connect(SymbolGrid, &TDrawGrid::TypedText, this,
            [this](const QString& text) { RunCommand([this, text] { SymbolGridTypedText(text); }); });
}

QString Twinviewform::SymbolName(int symbol) const { return qm::SymbolName(app_->Symbols, symbol); }

void Twinviewform::SymbolGridPointerCell(int, int row) {
    pointer_.Symbol = row < 0 ? -1 : SymbolAtRow(row);
    CellPanel->setText(CellPanelText());
}

void Twinviewform::SymbolGridTypedText(const QString& text) {
    const int row = typeAhead_.Type(text, QDateTime::currentMSecsSinceEpoch(), SymbolGrid->Row(), app_->Symbols,
                                    shownSymbols_);
    if (row < 0) return;
    SymbolGrid->SetSelection({0, row, 0, row});
    SymbolGrid->ScrollToCell(0, row);
    SymbolGridSelectCell(0, row);
    SymbolGrid->viewport()->update();
}

void Twinviewform::DrawGrid1PointerCell(int col, int row) {
    pointer_.Col = col;
    pointer_.Row = row;
    CellPanel->setText(CellPanelText());
    ShowDrawingToolStatus();
}

void Twinviewform::DrawGrid1WheelZoom(int notches, const QPoint& pos) {
    const int before = DrawGrid1->DefaultColWidth();
    int size = before;
    for (int k = 0; k < std::abs(notches); ++k) size = notches > 0 ? ZoomInSize(size) : ZoomOutSize(size);
    if (size == before || before <= 0) return;
    // The content point under the pointer, in cells, stays under the pointer.
    QScrollBar* h = DrawGrid1->horizontalScrollBar();
    QScrollBar* v = DrawGrid1->verticalScrollBar();
    const double cx = double(pos.x() + h->value()) / before;
    const double cy = double(pos.y() + v->value()) / before;
    ApplyZoom(size);
    h->setValue(int(std::lround(cx * size - pos.x())));
    v->setValue(int(std::lround(cy * size - pos.y())));
}

void Twinviewform::ShowGridLinesClick() { RepaintMap(); }

void Twinviewform::dragEnterEvent(QDragEnterEvent* e) {
    if (!DroppedMapFile(e->mimeData()).isEmpty()) e->acceptProposedAction();
    else e->ignore();
}

void Twinviewform::dropEvent(QDropEvent* e) {
    const QString path = DroppedMapFile(e->mimeData());
    if (path.isEmpty()) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    RunCommand([this, path] {
        if (AskSaveChanges()) OpenMapFile(path);
    });
}

} // namespace qm
