#pragma once
// Owner-drawn grid: the map grid, the symbol columns and the maplet grid. It knows
// nothing of maps; a per-cell paint callback draws every visible cell.
#include <QAbstractScrollArea>
#include <QRect>
#include <QString>
#include <functional>

#include "compose/GridRect.h"

namespace qm {

class TDrawGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    // (painter, column, row, cell rectangle in viewport pixels, selected)
    using DrawCellFn = std::function<void(QPainter&, int, int, const QRect&, bool)>;

    explicit TDrawGrid(QWidget* parent = nullptr);

    void SetColCount(int n);
    void SetRowCount(int n);
    int ColCount() const { return cols_; }
    int RowCount() const { return rows_; }
    // Cell size in pixels; 0 or less paints nothing and never divides by zero.
    void SetCellSize(int width, int height);
    int DefaultColWidth() const { return cellW_; }
    int DefaultRowHeight() const { return cellH_; }
    void SetGridLineWidth(int w);
    int GridLineWidth() const { return line_; }
    // Range selection by click and drag; otherwise one cell at a time.
    void SetRangeSelect(bool on) { rangeSelect_ = on; }

    TGridRect Selection() const { return sel_; }
    void SetSelection(const TGridRect& r); // clamped into the grid and normalised
    int Row() const { return anchorRow_; } // the cell of the last press or SetSelection
    int Col() const { return anchorCol_; }

    void SetDrawCell(DrawCellFn fn) { drawCell_ = std::move(fn); }
    // Tool tip of a cell (column, row); empty = none.
    void SetToolTipFn(std::function<QString(int, int)> fn) { toolTip_ = std::move(fn); }
    // Rectangle of a cell in viewport coordinates (may lie outside the viewport).
    QRect CellRect(int c, int r) const;
    // Column and row under a viewport point, or -1.
    bool CellAt(const QPoint& p, int& c, int& r) const;
    void ScrollToCell(int c, int r);

signals:
    // Selection changed by the user (press or drag); SelectCell for single cells.
    void SelectCell(int col, int row);
    // Any mouse button released over the grid after a press in it.
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers mods, const QPoint& pos);
    // The cell under the pointer changed (with mouse tracking on); -1, -1 when it left.
    void PointerCell(int col, int row);
    // Ctrl + wheel: whole notches up (positive) or down, at a viewport point. The grid
    // does not scroll for it.
    void WheelZoom(int notches, const QPoint& pos);
    // Printable text typed while the grid has focus (no Ctrl or Alt), for type-ahead.
    void TypedText(const QString& text);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    bool viewportEvent(QEvent*) override;
    void leaveEvent(QEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void scrollContentsBy(int dx, int dy) override;
    QSize sizeHint() const override;

private:
    void UpdateScrollBars();
    int PitchX() const { return cellW_ + line_; }
    int PitchY() const { return cellH_ + line_; }
    void MoveSelectionTo(int c, int r, bool extend);

    int cols_ = 1, rows_ = 1;
    int cellW_ = 16, cellH_ = 16;
    int line_ = 0;
    bool rangeSelect_ = false;
    bool pressed_ = false;
    int anchorCol_ = 0, anchorRow_ = 0;
    TGridRect sel_;
    int pointerCol_ = -1, pointerRow_ = -1;
    QPoint pointerAt_{-1, -1}; // the pointer in the viewport; outside when it left
    int wheelAngle_ = 0;       // eighths of a degree towards the next whole notch
    void NotePointer(const QPoint& p);
    DrawCellFn drawCell_;
    std::function<QString(int, int)> toolTip_;
};

} // namespace qm
