#pragma once
// "Print Preview": the modal window that shows one or two pages of a document by
// running its page handler again for every paint, with zoom, hand panning, a
// one-inch grid and page navigation.
#include <QColor>
#include <QDialog>
#include <QWidget>
#include <functional>
#include <memory>

#include "preview/PageDocument.h"
#include "preview/PrintSurface.h"

class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace qm {

// A paint box: a plain widget whose painting and mouse handling belong to its window.
class TPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget* parent = nullptr) : QWidget(parent) {}
    std::function<void(QPainter&)> OnPaint;
    std::function<void(QMouseEvent*)> OnMouseDown, OnMouseMove, OnMouseUp;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override {
        if (OnMouseDown) OnMouseDown(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (OnMouseMove) OnMouseMove(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (OnMouseUp) OnMouseUp(e);
    }
};

class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    // Shows the pages as `printer` (not owned) would print them.
    explicit TPreviewForm(TPrinter& printer, QWidget* parent = nullptr);
    ~TPreviewForm() override;

    // Tool bar.
    QFrame* ToolBarPanel;
    QPushButton* PrintBut;
    QPushButton* NextPageBut;
    QPushButton* PrevPageBut;
    QPushButton* ZoomInBut;
    QPushButton* ZoomOutBut;
    QPushButton* CloseBut;
    QToolButton* GridBut;
    QToolButton* ZoomCursorBut;
    QToolButton* HandCursorBut;
    QToolButton* OnePageBut;
    QToolButton* TwoPageBut;
    // Status bar.
    QFrame* StatBarPanel;
    QFrame* MoveButPanel;
    QToolButton* FirstPageSpeed;
    QToolButton* PrevPageSpeed;
    QToolButton* NextPageSpeed;
    QToolButton* LastPageSpeed;
    QToolButton* PageNumSpeed;
    QLabel* CurPageLabel;
    QLabel* ZoomLabel;
    QLabel* SheetsLabel; // what the document comes to, when its page handler says
    QFrame* Panel1;
    QLabel* HintLabel;
    // Page area.
    QScrollArea* ScrollBox1;
    QWidget* ContainPanel;
    QFrame* PagePanel;
    QFrame* PagePanel2;
    TPaintBox* PB1;
    TPaintBox* PB2;

    // The document shown: its handlers and what is known of its pages.
    TPageDocument Document;

    int CurPage = 1;
    bool PrintRequested = false;
    QColor GridColor = QColor(0xC0, 0xC0, 0xC0);
    int GridWidth = 2;
    float ZoomMin = 0.5f, ZoomMax = 20.0f, ZoomFactor = 1.5f;

    float Zoom() const { return zoom_; }
    int BaseHeight() const { return baseHeight_; }
    bool Dragging() const { return dragging_; }
    int PB1CursorId() const { return pb1Cursor_; }
    const TPageInfo* Info() const { return Document.Info(); }

    // Run = Begin, the modal display, End. Tests drive Begin, show and End themselves.
    void Run();
    void Begin();
    void End();

    void SetZoom(float z);
    void ZoomIn();
    void ZoomOut();
    void GoToPage(int n);
    void OnePageView();
    void TwoPageView();
    // Paints page p (updated to the number the handler reports) on a paint box.
    void PaintPage(int& p, TPaintBox* box, QPainter& painter);
    void DrawGrid(TSpecialCanvas& s);
    void RepaintBoth();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void BuildToolBar();
    void BuildStatusBar();
    void BuildPageArea();
    void FormResize();
    void NextPage();
    void PrevPage();
    void GoToPageDialog();
    void PB1MouseDown(QMouseEvent* e);
    void PB1MouseMove(QMouseEvent* e);
    void PB1MouseUp(QMouseEvent* e);
    void SetPB1Cursor(int id);
    bool TwoPages() const;
    // Runs a command; an error goes to the error display and leaves the window open.
    void Guard(const std::function<void()>& fn);
    void ReportPaintError(int page, const QString& msg);
    void ShowPaginating(int n);
    void UpdatePageControls();
    void ShowSummary();

    TPrinter& printer_;
    float zoom_ = 1.0f;
    int baseHeight_ = 0;
    int shownPage_ = 0; // the page painted last
    bool shownLast_ = false;
    int dragStartX_ = 0, dragStartY_ = 0;
    bool dragging_ = false;
    int pb1Cursor_ = 0;
    bool errorShowing_ = false;
    QString lastError_;
};

} // namespace qm
