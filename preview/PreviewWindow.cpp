#include "preview/PreviewWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegion>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include "base/Encoding.h"
#include "dialogs/Dialogs.h"
#include "preview/Cursors.h"
#include "preview/GoToPageWindow.h"
#include "preview/PreviewGeometry.h"
#include "preview/Printer.h"

namespace qm {

namespace {
// The cursor shown while the hourglass is up; restored however the work ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

// ---- running ----

void TPreviewForm::Run() {
    Begin();
    setWindowState(windowState() | Qt::WindowMaximized);
    exec();
    End();
}

void TPreviewForm::Begin() {
    Document.Begin();
    GoToPage(CurPage);
    SetZoom(1.0f);
}

void TPreviewForm::End() { Document.End(); }

void TPreviewForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    PagePanel->move(3, 3);
    FormResize();
    ZoomCursorBut->setChecked(true);
    SetPB1Cursor(crZoom);
    dragging_ = false;
}

void TPreviewForm::closeEvent(QCloseEvent* e) {
    HintLabel->clear();
    QDialog::closeEvent(e);
}

bool TPreviewForm::event(QEvent* e) {
    // The hint of whatever lies under the mouse travels up here as a status tip.
    if (e->type() == QEvent::StatusTip) {
        HintLabel->setText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QDialog::event(e);
}

bool TPreviewForm::eventFilter(QObject* o, QEvent* e) {
    if (o == ScrollBox1 && e->type() == QEvent::Resize) FormResize();
    return QDialog::eventFilter(o, e);
}

void TPreviewForm::FormResize() {
    baseHeight_ = ScrollBox1->height() - 8;
    if (TwoPages()) TwoPageView();
    else SetZoom(zoom_);
}

bool TPreviewForm::TwoPages() const { return TwoPageBut->isChecked(); }

void TPreviewForm::RepaintBoth() {
    PB1->update();
    PB2->update();
}

void TPreviewForm::Guard(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        Dialogs().Error(this, MessageText(e));
    }
}

void TPreviewForm::ReportPaintError(int page, const QString& msg) {
    // Each repaint would raise the same error again: tell it once per page and message.
    const QString key = QString::number(page) + QChar('\n') + msg;
    if (errorShowing_ || key == lastError_) return;
    lastError_ = key;
    errorShowing_ = true;
    QTimer::singleShot(0, this, [this, msg] {
        Dialogs().Error(this, msg);
        errorShowing_ = false;
    });
}

// ---- navigation ----

void TPreviewForm::NextPage() {
    ++CurPage;
    RepaintBoth();
}

void TPreviewForm::PrevPage() {
    if (CurPage > 1) --CurPage;
    RepaintBoth();
}

void TPreviewForm::GoToPageDialog() {
    TGoPageForm dlg(this);
    dlg.PageNum->setValue(CurPage);
    if (dlg.exec() == QDialog::Accepted) {
        const int n = dlg.PageNum->value();
        Guard([this, n] { GoToPage(n); });
        RepaintBoth();
    }
}

void TPreviewForm::ShowPaginating(int n) {
    HintLabel->setText(QStringLiteral("Paginating Page ") + QString::number(n));
    HintLabel->repaint();
}

void TPreviewForm::GoToPage(int n) {
    WaitCursor wait;
    CurPage = Document.Discover(printer_, n, [this](int p) { ShowPaginating(p); });
    HintLabel->clear();
    ShowSummary();
}

void TPreviewForm::ShowSummary() {
    const QString summary = Document.Info() ? Document.Info()->Summary : QString();
    SheetsLabel->setText(summary);
    SheetsLabel->setVisible(!summary.isEmpty());
}

// ---- painting ----

void TPreviewForm::PaintPage(int& p, TPaintBox* box, QPainter& painter) {
    if (PrintRequested) return;
    if (Document.LastKnownPage != -1 && Document.LastKnownPage < p) return;

    TSpecialCanvas s(QStringLiteral("Display Page"), printer_);
    const int w = s.PageWidth;
    const int h = s.PageHeight;
    TPainterCanvas display(&painter);
    s.SetPreviewMode(&display);

    // The whole sheet, in printer pixels, onto the paint box; x and y scale apart.
    painter.setWindow(0, 0, w, h);
    painter.setViewport(0, 0, box->width(), box->height());
    display.SetBackgroundTransparent();

    if (GridBut->isChecked()) DrawGrid(s);

    QRegion clip(0, 0, w, h);
    clip -= QRegion(0, 0, w, s.NoPrintTop);
    clip -= QRegion(0, s.PrintBottom, w, h - s.PrintBottom);
    clip -= QRegion(0, 0, s.NoPrintLeft, h);
    clip -= QRegion(s.PrintRight, 0, w - s.PrintRight, h);
    painter.setClipRegion(clip);

    p = Document.RunPage(p, s);
    Document.NotePage(p);

    // The labels and buttons follow once painting is over.
    shownPage_ = p;
    shownLast_ = Document.Info()->LastPage;
    QMetaObject::invokeMethod(
        this, [this] { UpdatePageControls(); }, Qt::QueuedConnection);
}

void TPreviewForm::UpdatePageControls() {
    if (shownPage_ < 1) return;
    CurPageLabel->setText(QStringLiteral("Page ") + QString::number(shownPage_));
    ShowSummary();
    const bool back = shownPage_ > 1;
    PrevPageBut->setEnabled(back);
    PrevPageSpeed->setEnabled(back);
    FirstPageSpeed->setEnabled(back);
    const bool forward = !shownLast_;
    NextPageBut->setEnabled(forward);
    NextPageSpeed->setEnabled(forward);
    LastPageSpeed->setEnabled(forward);
}

void TPreviewForm::DrawGrid(TSpecialCanvas& s) {
    const QColor color = s.Pen.Color();
    const int width = s.Pen.Width();
    s.Pen.SetColor(GridColor);
    s.Pen.SetWidth(GridWidth);
    if (s.XRes > 0) {
        const int n = s.PageWidth / s.XRes;
        for (int i = 1; i <= n; ++i) {
            const int x = s.ScaleX(static_cast<float>(i));
            s.MoveTo(x, 0);
            s.LineTo(x, s.PageHeight);
        }
    }
    if (s.YRes > 0) {
        const int m = s.PageHeight / s.YRes;
        for (int j = 1; j <= m; ++j) {
            const int y = s.ScaleY(static_cast<float>(j));
            s.MoveTo(0, y);
            s.LineTo(s.PageWidth, y);
        }
    }
    s.Pen.SetColor(color);
    s.Pen.SetWidth(width);
}

// ---- zoom and views ----

void TPreviewForm::SetZoom(float z) {
    zoom_ = z;
    const float percent = zoom_ * 100.0f;
    ZoomLabel->setText(QStringLiteral("Zoom = ") + QString::number(static_cast<long long>(std::floor(percent + 0.5f))) +
                       QChar('%'));
    const float in = zoom_ * ZoomFactor;
    const float out = zoom_ / ZoomFactor;
    ZoomInBut->setEnabled(in <= ZoomMax);
    ZoomOutBut->setEnabled(out >= ZoomMin);

    const TPrinter& pr = printer_;
    const int bar = ScrollBox1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ScrollBox1);
    const TZoomGeometry g = ComputeZoomGeometry(zoom_, baseHeight_, pr.PrintableSize(), pr.XRes(), pr.YRes(),
                                                ScrollBox1->size(), bar);
    ScrollBox1->setHorizontalScrollBarPolicy(g.HorizontalBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(g.VerticalBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    ContainPanel->resize(g.ContainerWidth, g.ContainerHeight);
    PagePanel->setGeometry(g.Left, g.Top, g.PageWidth, g.PageHeight);
}

void TPreviewForm::ZoomIn() {
    if (zoom_ * ZoomFactor > ZoomMax) return;
    SetZoom(zoom_ * ZoomFactor);
}

void TPreviewForm::ZoomOut() {
    if (zoom_ / ZoomFactor < ZoomMin) return;
    SetZoom(zoom_ / ZoomFactor);
}

void TPreviewForm::TwoPageView() {
    PagePanel2->show();
    SetZoom(1.0f);
    PagePanel2->resize(PagePanel->size());
    const int w = PagePanel->width();
    int left = ScrollBox1->width() / 2 - (2 * w + 10) / 2;
    if (left < 3) {
        // Two pages wider than the box: scroll to them rather than cut the first one off.
        left = 3;
        ContainPanel->resize(std::max(ContainPanel->width(), 2 * w + 10 + 6), ContainPanel->height());
        ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    PagePanel->move(left, PagePanel->y());
    PagePanel2->move(PagePanel->x() + w + 10, PagePanel->y());
    ZoomInBut->setEnabled(false);
    ZoomOutBut->setEnabled(false);
    ZoomCursorBut->setEnabled(false);
    HandCursorBut->setEnabled(false);
    PB1->setEnabled(false);
    SetPB1Cursor(0);
}

void TPreviewForm::OnePageView() {
    PagePanel2->hide();
    SetZoom(1.0f);
    PB1->setEnabled(true);
    ZoomCursorBut->setEnabled(true);
    HandCursorBut->setEnabled(true);
    SetPB1Cursor(HandCursorBut->isChecked() ? crHand : crZoom);
}

void TPreviewForm::SetPB1Cursor(int id) {
    pb1Cursor_ = id;
    if (id == 0) PB1->unsetCursor();
    else PB1->setCursor(CursorById(id));
}

// ---- mouse on the first page ----

void TPreviewForm::PB1MouseDown(QMouseEvent* e) {
    const int x = static_cast<int>(e->position().x());
    const int y = static_cast<int>(e->position().y());
    if (ZoomCursorBut->isChecked()) {
        const float fx = static_cast<float>(x) / static_cast<float>(std::max(1, PagePanel->width()));
        const float fy = static_cast<float>(y) / static_cast<float>(std::max(1, PagePanel->height()));
        if (e->button() == Qt::LeftButton) ZoomIn();
        if (e->button() == Qt::RightButton) ZoomOut();
        // Bring the clicked point to the middle of the page area.
        QWidget* vp = ScrollBox1->viewport();
        ScrollBox1->horizontalScrollBar()->setValue(static_cast<int>(PagePanel->width() * fx) - vp->width() / 2);
        ScrollBox1->verticalScrollBar()->setValue(static_cast<int>(PagePanel->height() * fy) - vp->height() / 2);
    } else if (HandCursorBut->isChecked()) {
        dragStartX_ = x;
        dragStartY_ = y;
        dragging_ = true;
    }
}

void TPreviewForm::PB1MouseMove(QMouseEvent* e) {
    if (!dragging_) return;
    const int x = static_cast<int>(e->position().x());
    const int y = static_cast<int>(e->position().y());
    QScrollBar* h = ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    h->setValue(h->value() + dragStartX_ - x);
    v->setValue(v->value() + dragStartY_ - y);
}

void TPreviewForm::PB1MouseUp(QMouseEvent*) { dragging_ = false; }

} // namespace qm
