#include "Preview.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
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
#include <QVBoxLayout>
#include <cmath>

#include "Cursors.h"
#include "Dialogs.h"
#include "Gopage.h"
#include "Printer.h"

namespace qm {

namespace {
const char* const PageViewHint =
    "Page View.  With Zoom Tool, left or right click to zoom in/out.  Click && drag with Hand Tool to pan.";

void SetHint(QWidget* w, const QString& hint) {
    w->setToolTip(hint);
    w->setStatusTip(hint);
}

// Nearest integer, halves to even.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// The cursor shown while the hourglass is up; restored however the work ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

void TPaintBox::paintEvent(QPaintEvent*) {
    if (!OnPaint) return;
    QPainter p(this);
    OnPaint(p);
}

TPreviewForm::TPreviewForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowTitle(QStringLiteral("Print Preview"));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(648, 518);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildToolBar();
    BuildPageArea();
    BuildStatusBar();
    layout->addWidget(ToolBarPanel);
    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(StatBarPanel);

    PrintRequested = false;
    LastKnownPage = -1;
    HighestPage = -1;
    { TSpecialCanvas probe(QStringLiteral("Preview Form Create")); }
    RegisterCursor(crZoom, MakeZoomCursor());
    RegisterCursor(crHand, MakeHandCursor());
}

TPreviewForm::~TPreviewForm() = default;

void TPreviewForm::BuildToolBar() {
    ToolBarPanel = new QFrame(this);
    ToolBarPanel->setObjectName(QStringLiteral("ToolBarPanel"));
    ToolBarPanel->setFixedHeight(31);
    ToolBarPanel->setFrameShape(QFrame::StyledPanel);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(9);
    ToolBarPanel->setFont(f);

    auto button = [this](const char* name, const QString& caption, QRect r, const QString& hint) {
        auto* b = new QPushButton(caption, ToolBarPanel);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(r);
        b->setAutoDefault(false);
        SetHint(b, hint);
        return b;
    };
    auto speed = [this](const char* name, const QString& caption, QRect r, const QString& hint) {
        auto* b = new QToolButton(ToolBarPanel);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setGeometry(r);
        b->setAutoRaise(true);
        b->setCheckable(true);
        SetHint(b, hint);
        return b;
    };
    PrintBut = button("PrintBut", QStringLiteral("&Print"), QRect(5, 4, 50, 24), QStringLiteral("Print the Current Document"));
    NextPageBut = button("NextPageBut", QStringLiteral("&Next"), QRect(60, 4, 50, 24),
                         QStringLiteral("Advance to Next Page in Document"));
    PrevPageBut = button("PrevPageBut", QStringLiteral("Pre&v"), QRect(115, 4, 50, 24),
                         QStringLiteral("Move to Previous Page in Document"));
    PrevPageBut->setEnabled(false);
    ZoomInBut = button("ZoomInBut", QStringLiteral("Zoom &In"), QRect(170, 4, 60, 24), QStringLiteral("Zoom In on the page"));
    ZoomOutBut = button("ZoomOutBut", QStringLiteral("Zoom &Out"), QRect(235, 4, 65, 24),
                        QStringLiteral("Zoom Out of the page"));
    CloseBut = button("CloseBut", QStringLiteral("&Close"), QRect(306, 4, 50, 24),
                      QStringLiteral("Close the Print Preview window"));
    GridBut = speed("GridBut", QStringLiteral("Grid"), QRect(369, 4, 33, 24), QStringLiteral("Turns Grid On/Off"));
    ZoomCursorBut = speed("ZoomCursorBut", QString(), QRect(419, 3, 25, 25),
                          QStringLiteral("Selects the Zoom Tool to zoom in or out"));
    ZoomCursorBut->setIcon(Glyph(TGlyph::ZoomTool));
    HandCursorBut = speed("HandCursorBut", QString(), QRect(443, 3, 25, 25),
                          QStringLiteral("Selects the Hand Tool to pan across the Page"));
    HandCursorBut->setIcon(Glyph(TGlyph::HandTool));
    OnePageBut = speed("OnePageBut", QStringLiteral("&1"), QRect(483, 3, 25, 25), QStringLiteral("Display One page at a time"));
    TwoPageBut = speed("TwoPageBut", QStringLiteral("&2"), QRect(507, 3, 25, 25),
                       QStringLiteral("Display Two pages side by side"));
    auto* tools = new QButtonGroup(this);
    tools->addButton(ZoomCursorBut);
    tools->addButton(HandCursorBut);
    ZoomCursorBut->setChecked(true);
    auto* views = new QButtonGroup(this);
    views->addButton(OnePageBut);
    views->addButton(TwoPageBut);
    OnePageBut->setChecked(true);

    connect(PrintBut, &QPushButton::clicked, this, [this] {
        PrintRequested = true;
        close();
    });
    connect(NextPageBut, &QPushButton::clicked, this, [this] { NextPage(); });
    connect(PrevPageBut, &QPushButton::clicked, this, [this] { PrevPage(); });
    connect(ZoomInBut, &QPushButton::clicked, this, [this] { ZoomIn(); });
    connect(ZoomOutBut, &QPushButton::clicked, this, [this] { ZoomOut(); });
    connect(CloseBut, &QPushButton::clicked, this, [this] { close(); });
    connect(GridBut, &QToolButton::clicked, this, [this] { RepaintBoth(); });
    connect(ZoomCursorBut, &QToolButton::clicked, this, [this] { SetPB1Cursor(crZoom); });
    connect(HandCursorBut, &QToolButton::clicked, this, [this] { SetPB1Cursor(crHand); });
    connect(OnePageBut, &QToolButton::clicked, this, [this] { OnePageView(); });
    connect(TwoPageBut, &QToolButton::clicked, this, [this] { TwoPageView(); });
}

void TPreviewForm::BuildStatusBar() {
    StatBarPanel = new QFrame(this);
    StatBarPanel->setObjectName(QStringLiteral("StatBarPanel"));
    StatBarPanel->setFixedHeight(28);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(9);
    StatBarPanel->setFont(f);
    auto* row = new QHBoxLayout(StatBarPanel);
    row->setContentsMargins(0, 1, 0, 1);
    row->setSpacing(0);

    MoveButPanel = new QFrame(StatBarPanel);
    MoveButPanel->setObjectName(QStringLiteral("MoveButPanel"));
    MoveButPanel->setFixedWidth(124);
    auto glyphButton = [this](const char* name, int x, TGlyph g, const QString& hint) {
        auto* b = new QToolButton(MoveButPanel);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(x, 0, 25, 25);
        b->setIcon(Glyph(g));
        b->setAutoRaise(true);
        b->setFont(QFont(QStringLiteral("Times New Roman")));
        SetHint(b, hint);
        return b;
    };
    FirstPageSpeed = glyphButton("FirstPageSpeed", 1, TGlyph::FirstPage, QStringLiteral("Go to First Page in Document"));
    PrevPageSpeed = glyphButton("PrevPageSpeed", 25, TGlyph::PrevPage, QStringLiteral("Move to Previous Page in Document"));
    NextPageSpeed = glyphButton("NextPageSpeed", 49, TGlyph::NextPage, QStringLiteral("Advance to Next Page in Document"));
    LastPageSpeed = glyphButton("LastPageSpeed", 73, TGlyph::LastPage, QStringLiteral("Go to Last Page in Document"));
    PageNumSpeed = glyphButton("PageNumSpeed", 97, TGlyph::PageNumber, QStringLiteral("Go to Page by Page Number"));
    PrevPageSpeed->setEnabled(false);
    FirstPageSpeed->setEnabled(false);

    auto sunken = [this](const char* name, const QString& hint) {
        auto* l = new QLabel(StatBarPanel);
        l->setObjectName(QString::fromLatin1(name));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setFixedWidth(88);
        l->setAlignment(Qt::AlignCenter);
        SetHint(l, hint);
        return l;
    };
    CurPageLabel = sunken("CurPageLabel", QStringLiteral("Displays the Current Page of the Document"));
    ZoomLabel = sunken("ZoomLabel", QStringLiteral("Displays the Current Zoom Level (100% = normal)"));
    Panel1 = new QFrame(StatBarPanel);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* hintRow = new QHBoxLayout(Panel1);
    hintRow->setContentsMargins(4, 0, 4, 0);
    HintLabel = new QLabel(Panel1);
    HintLabel->setObjectName(QStringLiteral("HintLabel"));
    SetHint(HintLabel, QStringLiteral("Displays Help for the object beneath the mouse"));
    hintRow->addWidget(HintLabel);
    row->addWidget(MoveButPanel);
    row->addWidget(CurPageLabel);
    row->addWidget(ZoomLabel);
    row->addWidget(Panel1, 1);

    connect(FirstPageSpeed, &QToolButton::clicked, this, [this] {
        CurPage = 1;
        RepaintBoth();
    });
    connect(PrevPageSpeed, &QToolButton::clicked, this, [this] { PrevPage(); });
    connect(NextPageSpeed, &QToolButton::clicked, this, [this] { NextPage(); });
    connect(LastPageSpeed, &QToolButton::clicked, this, [this] {
        Guard([this] { GoToPage(-1); });
        RepaintBoth();
    });
    connect(PageNumSpeed, &QToolButton::clicked, this, [this] { GoToPageDialog(); });
}

void TPreviewForm::BuildPageArea() {
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->installEventFilter(this);

    ContainPanel = new QWidget;
    ContainPanel->setObjectName(QStringLiteral("ContainPanel"));
    ContainPanel->setAutoFillBackground(true);
    QPalette pal = ContainPanel->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Dark));
    ContainPanel->setPalette(pal);

    auto page = [this](const char* name, const char* boxName, TPaintBox*& box) {
        auto* panel = new QFrame(ContainPanel);
        panel->setObjectName(QString::fromLatin1(name));
        panel->setFrameShape(QFrame::Box);
        panel->setLineWidth(1);
        panel->setAutoFillBackground(true);
        QPalette pp = panel->palette();
        pp.setColor(QPalette::Window, Qt::white);
        pp.setColor(QPalette::WindowText, Qt::black);
        panel->setPalette(pp);
        auto* fill = new QVBoxLayout(panel);
        fill->setContentsMargins(1, 1, 1, 1);
        box = new TPaintBox(panel);
        box->setObjectName(QString::fromLatin1(boxName));
        SetHint(box, QString::fromLatin1(PageViewHint));
        fill->addWidget(box);
        return panel;
    };
    PagePanel = page("PagePanel", "PB1", PB1);
    PagePanel2 = page("PagePanel2", "PB2", PB2);
    PagePanel2->hide();
    ScrollBox1->setWidget(ContainPanel);

    PB1->OnPaint = [this](QPainter& p) {
        const int asked = CurPage;
        try {
            PaintPage(CurPage, PB1, p);
        } catch (const std::exception& e) {
            ReportPaintError(asked, QString::fromStdString(e.what()));
        }
    };
    PB2->OnPaint = [this](QPainter& p) {
        int page = CurPage + 1;
        try {
            PaintPage(page, PB2, p);
        } catch (const std::exception& e) {
            ReportPaintError(CurPage + 1, QString::fromStdString(e.what()));
        }
    };
    PB1->OnMouseDown = [this](QMouseEvent* e) { PB1MouseDown(e); };
    PB1->OnMouseMove = [this](QMouseEvent* e) { PB1MouseMove(e); };
    PB1->OnMouseUp = [this](QMouseEvent* e) { PB1MouseUp(e); };
    PB1->setMouseTracking(false);
}

// ---- running ----

void TPreviewForm::Run() {
    Begin();
    setWindowState(windowState() | Qt::WindowMaximized);
    exec();
    End();
}

void TPreviewForm::Begin() {
    if (!OnBeginPrint) throw PrintException("Begin Print Function Not Assigned!");
    OnBeginPrint(info_);
    if (!info_) throw PrintException("Begin Print Function supplied no page information!");
    GoToPage(CurPage);
    SetZoom(1.0f);
}

void TPreviewForm::End() {
    if (!OnEndPrint) throw PrintException("End Print Function Not Assigned!");
    OnEndPrint(info_);
}

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
    if (TwoPages())
        TwoPageView();
    else
        SetZoom(zoom_);
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
        Dialogs().Error(this, QString::fromStdString(e.what()));
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

void TPreviewForm::PaginatePage(int n) {
    if (n == 0) return;
    HintLabel->setText(QStringLiteral("Paginating Page ") + QString::number(n));
    HintLabel->repaint();
    {
        TSpecialCanvas s(QStringLiteral("Paginate"));
        s.SetPaginateMode();
        if (!info_) throw PrintException("Begin Print Function supplied no page information!");
        info_->PageNumber = n;
        if (!OnPrintPage) throw PrintException("Print Page Function Not Assigned!");
        OnPrintPage(info_, s);
        if (!info_) throw PrintException("Print Page Function dropped the page information!");
        if (info_->LastPage && LastKnownPage == -1) LastKnownPage = info_->PageNumber;
        if (n > HighestPage) HighestPage = n;
    }
    HintLabel->clear();
}

void TPreviewForm::GoToPage(int n) {
    WaitCursor wait;
    if (n == -1) {
        for (int p = HighestPage + 1; LastKnownPage == -1; ++p) {
            // A handler that never reports a last page must not hang the window.
            if (p > MaxPages)
                throw PrintException(QStringLiteral("The document reported no last page within %1 pages.").arg(MaxPages));
            PaginatePage(p);
        }
        CurPage = LastKnownPage;
    } else {
        if (n > HighestPage + 1) {
            const int last = std::min(n - 1, MaxPages);
            for (int p = HighestPage + 1; p <= last; ++p) PaginatePage(p);
            if (n - 1 > MaxPages && LastKnownPage == -1)
                throw PrintException(QStringLiteral("The document reported no last page within %1 pages.").arg(MaxPages));
        }
        CurPage = n;
    }
    if (LastKnownPage != -1 && LastKnownPage < CurPage) CurPage = LastKnownPage;
    if (CurPage < 1) CurPage = 1;
}

// ---- painting ----

void TPreviewForm::PaintPage(int& p, TPaintBox* box, QPainter& painter) {
    if (PrintRequested) return;
    if (LastKnownPage != -1 && LastKnownPage < p) return;

    TSpecialCanvas s(QStringLiteral("Display Page"));
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

    if (!info_) throw PrintException("Begin Print Function supplied no page information!");
    info_->PageNumber = p;
    if (!OnPrintPage) throw PrintException("Print Page Function Not Assigned!");
    s.Dump();
    OnPrintPage(info_, s);
    if (!info_) throw PrintException("Print Page Function dropped the page information!");
    p = info_->PageNumber;

    CurPageLabel->setText(QStringLiteral("Page ") + QString::number(p));
    const bool back = p > 1;
    PrevPageBut->setEnabled(back);
    PrevPageSpeed->setEnabled(back);
    FirstPageSpeed->setEnabled(back);
    const bool forward = !info_->LastPage;
    NextPageBut->setEnabled(forward);
    NextPageSpeed->setEnabled(forward);
    LastPageSpeed->setEnabled(forward);
    if (info_->LastPage && LastKnownPage == -1) LastKnownPage = info_->PageNumber;
    if (p > HighestPage) HighestPage = p;
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

    TPrinter& pr = Printer();
    const QSize printable = pr.PrintableSize();
    float aspect = 1.0f;
    if (printable.height() > 0 && pr.XRes() > 0) {
        const float wh = static_cast<float>(printable.width()) / static_cast<float>(printable.height());
        const float res = static_cast<float>(pr.YRes()) / static_cast<float>(pr.XRes());
        aspect = wh * res;
    }
    const float bz = static_cast<float>(baseHeight_) * zoom_;
    const int pw = std::max(1, RoundEven(bz * aspect));
    const int ph = std::max(1, RoundEven(bz));

    // Room for the page: the scroll box less any scroll bar the other direction needs,
    // so a centred page stays centred in what is visible.
    const int bar = ScrollBox1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ScrollBox1);
    int sbw = ScrollBox1->width();
    int sbh = ScrollBox1->height();
    bool needH = !(pw + 6 < sbw - 1);
    bool needV = !(ph + 6 < sbh - 1);
    if (needV && !needH) needH = !(pw + 6 < sbw - bar - 1);
    if (needH && !needV) needV = !(ph + 6 < sbh - bar - 1);
    if (needV) sbw -= bar;
    if (needH) sbh -= bar;
    int cw, ch, left, top;
    if (!needH) {
        cw = sbw - 1;
        ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        left = cw / 2 - pw / 2;
    } else {
        cw = pw + 6;
        ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        left = 3;
    }
    if (!needV) {
        ch = sbh - 1;
        ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        top = ch / 2 - ph / 2;
    } else {
        ch = ph + 6;
        ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        top = 3;
    }
    ContainPanel->resize(cw, ch);
    PagePanel->setGeometry(left, top, pw, ph);
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
    if (id == 0)
        PB1->unsetCursor();
    else
        PB1->setCursor(CursorById(id));
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
