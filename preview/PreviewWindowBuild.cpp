// Building the preview window's widgets; what they do lives in PreviewWindow.cpp.
#include "preview/PreviewWindow.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/Encoding.h"
#include "preview/Cursors.h"

namespace qm {

namespace {
const char* const PageViewHint =
    "Page View.  With Zoom Tool, left or right click to zoom in/out.  Click && drag with Hand Tool to pan.";

void SetHint(QWidget* w, const QString& hint) {
    w->setToolTip(hint);
    w->setStatusTip(hint);
}
} // namespace

void TPaintBox::paintEvent(QPaintEvent*) {
    if (!OnPaint) return;
    QPainter p(this);
    OnPaint(p);
}

TPreviewForm::TPreviewForm(TPrinter& printer, QWidget* parent) : QDialog(parent), printer_(printer) {
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
    { TSpecialCanvas probe(QStringLiteral("Preview Form Create"), printer_); }
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
    PrintBut = button("PrintBut", QStringLiteral("&Print"), QRect(5, 4, 50, 24),
                      QStringLiteral("Print the Current Document"));
    NextPageBut = button("NextPageBut", QStringLiteral("&Next"), QRect(60, 4, 50, 24),
                         QStringLiteral("Advance to Next Page in Document"));
    PrevPageBut = button("PrevPageBut", QStringLiteral("Pre&v"), QRect(115, 4, 50, 24),
                         QStringLiteral("Move to Previous Page in Document"));
    PrevPageBut->setEnabled(false);
    ZoomInBut = button("ZoomInBut", QStringLiteral("Zoom &In"), QRect(170, 4, 60, 24),
                       QStringLiteral("Zoom In on the page"));
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
    OnePageBut = speed("OnePageBut", QStringLiteral("&1"), QRect(483, 3, 25, 25),
                       QStringLiteral("Display One page at a time"));
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
    FirstPageSpeed = glyphButton("FirstPageSpeed", 1, TGlyph::FirstPage,
                                 QStringLiteral("Go to First Page in Document"));
    PrevPageSpeed = glyphButton("PrevPageSpeed", 25, TGlyph::PrevPage,
                                QStringLiteral("Move to Previous Page in Document"));
    NextPageSpeed = glyphButton("NextPageSpeed", 49, TGlyph::NextPage,
                                QStringLiteral("Advance to Next Page in Document"));
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
    SheetsLabel = sunken("SheetsLabel", QStringLiteral("Displays How Many Sheets Will Print, and on Which Paper"));
    // Never narrower than its text: the hint beside it gives way.
    SheetsLabel->setMinimumWidth(0);
    SheetsLabel->setMaximumWidth(QWIDGETSIZE_MAX);
    SheetsLabel->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    SheetsLabel->setContentsMargins(6, 0, 6, 0);
    SheetsLabel->hide();
    Panel1 = new QFrame(StatBarPanel);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* hintRow = new QHBoxLayout(Panel1);
    hintRow->setContentsMargins(4, 0, 4, 0);
    HintLabel = new QLabel(Panel1);
    HintLabel->setObjectName(QStringLiteral("HintLabel"));
    SetHint(HintLabel, QStringLiteral("Displays Help for the object beneath the mouse"));
    HintLabel->setMinimumWidth(1); // a long hint is cut rather than the labels before it
    hintRow->addWidget(HintLabel);
    row->addWidget(MoveButPanel);
    row->addWidget(CurPageLabel);
    row->addWidget(ZoomLabel);
    row->addWidget(SheetsLabel);
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
            ReportPaintError(asked, MessageText(e));
        }
    };
    PB2->OnPaint = [this](QPainter& p) {
        int page = CurPage + 1;
        try {
            PaintPage(page, PB2, p);
        } catch (const std::exception& e) {
            ReportPaintError(CurPage + 1, MessageText(e));
        }
    };
    PB1->OnMouseDown = [this](QMouseEvent* e) { PB1MouseDown(e); };
    PB1->OnMouseMove = [this](QMouseEvent* e) { PB1MouseMove(e); };
    PB1->OnMouseUp = [this](QMouseEvent* e) { PB1MouseUp(e); };
    PB1->setMouseTracking(false);
}

} // namespace qm
