#include "editor/DrawGrid.h"

#include <QColor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <climits>

namespace qm {

namespace {
// Large enough for any zoom, small enough that cols * pitch stays far from overflow.
constexpr int MaxCellSize = 8192;
constexpr int MaxCount = 100000;
// Colour of the lines between cells and of the area beyond the last cell.
const QColor LineColor(192, 192, 192);

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

// Content length along one axis without int overflow.
int ContentLength(int count, int pitch) {
    const long long len = static_cast<long long>(count) * pitch;
    return static_cast<int>(std::min<long long>(len, INT_MAX / 2));
}
} // namespace

TDrawGrid::TDrawGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    horizontalScrollBar()->setTracking(true); // the view follows the thumb while it is dragged
    verticalScrollBar()->setTracking(true);
    UpdateScrollBars();
}

void TDrawGrid::SetColCount(int n) {
    cols_ = Clamp(n, 1, MaxCount);
    SetSelection(sel_);
    UpdateScrollBars();
    viewport()->update();
}

void TDrawGrid::SetRowCount(int n) {
    rows_ = Clamp(n, 1, MaxCount);
    SetSelection(sel_);
    UpdateScrollBars();
    viewport()->update();
}

void TDrawGrid::SetCellSize(int width, int height) {
    cellW_ = Clamp(width, 0, MaxCellSize);
    cellH_ = Clamp(height, 0, MaxCellSize);
    UpdateScrollBars();
    viewport()->update();
    NotePointer(pointerAt_);
}

void TDrawGrid::SetGridLineWidth(int w) {
    line_ = Clamp(w, 0, MaxCellSize);
    UpdateScrollBars();
    viewport()->update();
}

void TDrawGrid::SetSelection(const TGridRect& r) {
    const TGridRect n = NormalisedGridRect(r.Left, r.Top, r.Right, r.Bottom, cols_, rows_);
    if (n == sel_) {
        anchorCol_ = Clamp(anchorCol_, 0, cols_ - 1);
        anchorRow_ = Clamp(anchorRow_, 0, rows_ - 1);
        return;
    }
    // The keys move on from a selection set by the program as from one clicked.
    sel_ = n;
    anchorCol_ = n.Left;
    anchorRow_ = n.Top;
    viewport()->update();
}

QRect TDrawGrid::CellRect(int c, int r) const {
    const int x = c * PitchX() - horizontalScrollBar()->value();
    const int y = r * PitchY() - verticalScrollBar()->value();
    return QRect(x, y, cellW_, cellH_);
}

bool TDrawGrid::CellAt(const QPoint& p, int& c, int& r) const {
    c = r = -1;
    if (PitchX() <= 0 || PitchY() <= 0) return false;
    const long long x = static_cast<long long>(p.x()) + horizontalScrollBar()->value();
    const long long y = static_cast<long long>(p.y()) + verticalScrollBar()->value();
    if (x < 0 || y < 0) return false;
    const long long cc = x / PitchX(), rr = y / PitchY();
    if (cc >= cols_ || rr >= rows_) return false;
    c = static_cast<int>(cc);
    r = static_cast<int>(rr);
    return true;
}

void TDrawGrid::ScrollToCell(int c, int r) {
    c = Clamp(c, 0, cols_ - 1);
    r = Clamp(r, 0, rows_ - 1);
    const int x = c * PitchX(), y = r * PitchY();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    const int vw = viewport()->width(), vh = viewport()->height();
    if (x < h->value()) h->setValue(x);
    else if (x + cellW_ > h->value() + vw) h->setValue(x + cellW_ - vw);
    if (y < v->value()) v->setValue(y);
    else if (y + cellH_ > v->value() + vh) v->setValue(y + cellH_ - vh);
}

void TDrawGrid::UpdateScrollBars() {
    const int w = ContentLength(cols_, PitchX());
    const int h = ContentLength(rows_, PitchY());
    const QSize vp = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, w - vp.width()));
    verticalScrollBar()->setRange(0, std::max(0, h - vp.height()));
    horizontalScrollBar()->setPageStep(std::max(1, vp.width()));
    verticalScrollBar()->setPageStep(std::max(1, vp.height()));
    horizontalScrollBar()->setSingleStep(std::max(1, PitchX()));
    verticalScrollBar()->setSingleStep(std::max(1, PitchY()));
}

void TDrawGrid::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    UpdateScrollBars();
}

void TDrawGrid::scrollContentsBy(int, int) {
    viewport()->update();
    NotePointer(pointerAt_); // another cell now lies under the pointer
}

QSize TDrawGrid::sizeHint() const {
    const int w = std::min(ContentLength(cols_, PitchX()), 800);
    const int h = std::min(ContentLength(rows_, PitchY()), 600);
    return QSize(std::max(w, 32) + 2 * frameWidth(), std::max(h, 32) + 2 * frameWidth());
}

void TDrawGrid::paintEvent(QPaintEvent* e) {
    QPainter p(viewport());
    const QRect exposed = e->rect();
    const int hs = horizontalScrollBar()->value(), vs = verticalScrollBar()->value();
    const int contentW = ContentLength(cols_, PitchX()) - hs;
    const int contentH = ContentLength(rows_, PitchY()) - vs;

    // Lines and the area beyond the last cell; with no lines only the latter needs it.
    if (line_ > 0 || cellW_ <= 0 || cellH_ <= 0) {
        p.fillRect(exposed, LineColor);
    } else {
        if (exposed.right() >= contentW)
            p.fillRect(QRect(QPoint(contentW, exposed.top()), exposed.bottomRight()), LineColor);
        if (exposed.bottom() >= contentH)
            p.fillRect(QRect(QPoint(exposed.left(), contentH), exposed.bottomRight()), LineColor);
    }
    if (cellW_ <= 0 || cellH_ <= 0 || !drawCell_) return;

    const int c0 = std::max(0, (exposed.left() + hs) / PitchX());
    const int c1 = std::min(cols_ - 1, (exposed.right() + hs) / PitchX());
    const int r0 = std::max(0, (exposed.top() + vs) / PitchY());
    const int r1 = std::min(rows_ - 1, (exposed.bottom() + vs) / PitchY());
    for (int r = r0; r <= r1; ++r) {
        for (int c = c0; c <= c1; ++c) {
            const QRect cell(c * PitchX() - hs, r * PitchY() - vs, cellW_, cellH_);
            drawCell_(p, c, r, cell, sel_.Contains(c, r));
        }
    }
}

void TDrawGrid::MoveSelectionTo(int c, int r, bool extend) {
    c = Clamp(c, 0, cols_ - 1);
    r = Clamp(r, 0, rows_ - 1);
    const TGridRect before = sel_;
    if (extend && rangeSelect_) {
        sel_ = NormalisedGridRect(anchorCol_, anchorRow_, c, r, cols_, rows_);
    } else {
        anchorCol_ = c;
        anchorRow_ = r;
        sel_ = TGridRect{c, r, c, r};
    }
    if (!(before == sel_)) {
        viewport()->update();
        emit SelectCell(c, r);
    }
}

void TDrawGrid::mousePressEvent(QMouseEvent* e) {
    pressed_ = true;
    setFocus(Qt::MouseFocusReason);
    if (e->button() != Qt::LeftButton) return;
    int c, r;
    if (!CellAt(e->position().toPoint(), c, r)) return;
    const TGridRect before = sel_;
    MoveSelectionTo(c, r, false);
    if (before == sel_) emit SelectCell(c, r); // a click on the selected cell still picks it
}

void TDrawGrid::NotePointer(const QPoint& p) {
    pointerAt_ = p;
    int c = -1, r = -1;
    if (!viewport()->rect().contains(p) || !CellAt(p, c, r)) c = r = -1;
    if (c == pointerCol_ && r == pointerRow_) return;
    pointerCol_ = c;
    pointerRow_ = r;
    emit PointerCell(c, r);
}

bool TDrawGrid::viewportEvent(QEvent* e) {
    if (e->type() == QEvent::ToolTip && toolTip_) {
        auto* help = static_cast<QHelpEvent*>(e);
        int c, r;
        const QString text = CellAt(help->pos(), c, r) ? toolTip_(c, r) : QString();
        if (text.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(help->globalPos(), text, viewport(), CellRect(c, r));
        return true;
    }
    return QAbstractScrollArea::viewportEvent(e);
}

void TDrawGrid::leaveEvent(QEvent* e) {
    QAbstractScrollArea::leaveEvent(e);
    NotePointer(QPoint(-1, -1));
}

void TDrawGrid::wheelEvent(QWheelEvent* e) {
    if (!(e->modifiers() & Qt::ControlModifier)) {
        wheelAngle_ = 0;
        QAbstractScrollArea::wheelEvent(e);
        return;
    }
    e->accept();
    // High-resolution wheels send parts of a notch; zoom once per whole notch.
    wheelAngle_ += e->angleDelta().y();
    const int notches = wheelAngle_ / 120;
    wheelAngle_ -= notches * 120;
    if (notches) emit WheelZoom(notches, e->position().toPoint());
}

void TDrawGrid::mouseMoveEvent(QMouseEvent* e) {
    NotePointer(e->position().toPoint());
    if (!pressed_ || !(e->buttons() & Qt::LeftButton)) return;
    if (PitchX() <= 0 || PitchY() <= 0) return;
    // Outside the grid the drag sticks to the nearest cell, so the selection stays inside.
    const QPoint p = e->position().toPoint();
    const long long x = static_cast<long long>(p.x()) + horizontalScrollBar()->value();
    const long long y = static_cast<long long>(p.y()) + verticalScrollBar()->value();
    const int c = static_cast<int>(std::clamp<long long>(x < 0 ? 0 : x / PitchX(), 0, cols_ - 1));
    const int r = static_cast<int>(std::clamp<long long>(y < 0 ? 0 : y / PitchY(), 0, rows_ - 1));
    MoveSelectionTo(c, r, true);
    if (!viewport()->rect().contains(p)) ScrollToCell(c, r);
}

void TDrawGrid::mouseReleaseEvent(QMouseEvent* e) {
    if (!pressed_) return;
    if (e->buttons() == Qt::NoButton) pressed_ = false;
    emit MouseUp(e->button(), e->modifiers(), e->position().toPoint());
}

void TDrawGrid::keyPressEvent(QKeyEvent* e) {
    const int pageRows = PitchY() > 0 ? std::max(1, viewport()->height() / PitchY()) : 1;
    int c = anchorCol_, r = anchorRow_;
    switch (e->key()) {
    case Qt::Key_Up: --r; break;
    case Qt::Key_Down: ++r; break;
    case Qt::Key_Left: --c; break;
    case Qt::Key_Right: ++c; break;
    case Qt::Key_PageUp: r -= pageRows; break;
    case Qt::Key_PageDown: r += pageRows; break;
    case Qt::Key_Home:
        if (cols_ > 1) c = 0;
        else r = 0;
        break;
    case Qt::Key_End:
        if (cols_ > 1) c = cols_ - 1;
        else r = rows_ - 1;
        break;
    default:
        if (!e->text().isEmpty() && e->text().at(0).isPrint() &&
            !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            emit TypedText(e->text());
            return;
        }
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    MoveSelectionTo(c, r, false);
    ScrollToCell(anchorCol_, anchorRow_);
}

} // namespace qm
