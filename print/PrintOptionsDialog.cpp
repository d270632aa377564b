#include "print/PrintOptionsDialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "dialogs/DialogStyle.h"
#include "dialogs/Dialogs.h"
#include "preview/PrintPreview.h"
#include "preview/Printer.h"
#include "print/PrintTables.h"

namespace qm {

namespace {
QString Inches(float v) { return QString::number(v, 'f', 2) + QChar('"'); }

// Controls are found by their names, in the tests as in the described form.
template <class W> W* Named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* l = Named(new QLabel(text, parent), name);
    l->setGeometry(x, y, 100, 14);
    return l;
}

QComboBox* NamedCombo(QWidget* parent, const char* name, int x, int y, int w) {
    auto* c = Named(new QComboBox(parent), name);
    c->setGeometry(x, y, w, 22);
    return c;
}
} // namespace

TPrintOptions::TPrintOptions(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PrintOptions"));
    setWindowTitle(QStringLiteral("Print Properties"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(225, 269);
    setFont(DialogFont());
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    ScaleLabel = NamedLabel(this, "ScaleLabel", QStringLiteral("Scale"), 8, 8);
    ScaleCombo = NamedCombo(this, "ScaleCombo", 8, 23, 100);
    ScaleCombo->addItem(QString::fromLatin1(ScaleFitText));
    for (size_t i = 1; i < std::size(ScaleChoiceInches); ++i) ScaleCombo->addItem(Inches(ScaleChoiceInches[i]));
    ScaleLabel->setBuddy(ScaleCombo);

    TitleCB = new QCheckBox(QStringLiteral("Print Title"), this);
    TitleCB->setObjectName(QStringLiteral("TitleCB"));
    TitleCB->setGeometry(120, 25, 100, 18);
    TitleCB->setChecked(true);

    RadioGroup1 = new QGroupBox(QStringLiteral("Print Area"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    // Reaching left of the column above, so "Drawn Part" is not cut off.
    RadioGroup1->setGeometry(104, 52, 113, 82);
    MapRB = new QRadioButton(QStringLiteral("Map"), RadioGroup1);
    MapRB->setObjectName(QStringLiteral("MapRB"));
    MapRB->setGeometry(8, 18, 101, 18);
    MapRB->setChecked(true);
    SelectedRB = new QRadioButton(QStringLiteral("Selection"), RadioGroup1);
    SelectedRB->setObjectName(QStringLiteral("SelectedRB"));
    SelectedRB->setGeometry(8, 38, 101, 18);
    DrawnRB = new QRadioButton(QStringLiteral("Drawn Part"), RadioGroup1);
    DrawnRB->setObjectName(QStringLiteral("DrawnRB"));
    DrawnRB->setGeometry(8, 58, 101, 18);
    DrawnRB->setToolTip(QStringLiteral("The smallest rectangle holding everything drawn on the map"));

    BuildMarginControls();

    // Level with the right margin box, so that it can reach further left than a label allows.
    GridStyleLabel = NamedLabel(this, "GridStyleLabel", QStringLiteral("Grid Style"), 120, 141);
    GridStyleCombo = NamedCombo(this, "GridStyleCombo", 120, 156, 97);
    for (const TGridStyleChoice& g : GridStyleChoices) GridStyleCombo->addItem(QString::fromLatin1(g.Text));
    FitGridStyleCombo();
    GridStyleLabel->setBuddy(GridStyleCombo);

    BuildButtons();
    BuildBattleMatGroup();
    BuildMapKeyGroup();
    BuildRockControls();
    FormCreate();
}

void TPrintOptions::BuildMarginControls() {
    struct Margin {
        const char* labelName;
        const char* comboName;
        const char* text;
        QLabel** l;
        QComboBox** c;
    };
    const Margin margins[] = {
        {"LeftMarginLabel", "LeftMarginCombo", "Left Margin", &LeftMarginLabel, &LeftMarginCombo},
        {"TopMarginLabel", "TopMarginCombo", "Top Margin", &TopMarginLabel, &TopMarginCombo},
        {"RightMarginLabel", "RightMarginCombo", "Right Margin", &RightMarginLabel, &RightMarginCombo},
        {"BottomMarginLabel", "BottomMarginCombo", "Bottom Margin", &BottomMarginLabel, &BottomMarginCombo},
    };
    int y = 52;
    for (const Margin& m : margins) {
        *m.l = NamedLabel(this, m.labelName, QString::fromLatin1(m.text), 8, y);
        // Narrow enough to leave the Grid Style box room for its longest item.
        *m.c = NamedCombo(this, m.comboName, 8, y + 15, 76);
        (*m.l)->resize((*m.l)->fontMetrics().horizontalAdvance((*m.l)->text()) + 4, 14);
        for (float inches : MarginChoiceInches) (*m.c)->addItem(Inches(inches));
        (*m.l)->setBuddy(*m.c);
        y += 44;
    }
}

// A pick list, wide enough for its longest item: it grows to the left, up to the margin
// column, and the list that drops down is never narrower than its items.
void TPrintOptions::FitGridStyleCombo() {
    QStyleOptionComboBox opt;
    opt.initFrom(GridStyleCombo);
    opt.rect = QRect(0, 0, 100, 22);
    const QRect field = GridStyleCombo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField,
                                                                GridStyleCombo);
    int text = 0;
    for (int i = 0; i < GridStyleCombo->count(); ++i)
        text = std::max(text, GridStyleCombo->fontMetrics().horizontalAdvance(GridStyleCombo->itemText(i)));
    // It grows to the left up to the margin controls it sits beside.
    const int right = 217;
    int left = 0;
    const QRect row(0, 156, right, 22);
    for (QWidget* w : {static_cast<QWidget*>(RightMarginLabel), static_cast<QWidget*>(RightMarginCombo)})
        if (w->geometry().intersects(row)) left = std::max(left, w->geometry().right() + 5);
    const int width = std::clamp(text + (100 - field.width()) + 4, 97, right - left);
    GridStyleCombo->setGeometry(right - width, 156, width, 22);
    GridStyleCombo->view()->setMinimumWidth(GridStyleCombo->view()->sizeHintForColumn(0) + 8);
}

void TPrintOptions::BuildButtons() {
    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(24, 236, 75, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(124, 236, 75, 25);
    Button2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    BattleMatBut = new QPushButton(QStringLiteral("Battle Mat >>"), this);
    BattleMatBut->setObjectName(QStringLiteral("BattleMatBut"));
    BattleMatBut->setGeometry(120, 190, 97, 25);
    BattleMatBut->setAutoDefault(false);
    BattleMatBut->setCheckable(true);
    connect(BattleMatBut, &QPushButton::toggled, this, &TPrintOptions::ShowBattleMat);
}

void TPrintOptions::BuildBattleMatGroup() {
    // Placed beside the dialog's own controls when first shown; hidden, the dialog keeps its size.
    BattleMatGroup = new QGroupBox(QStringLiteral("Battle Mat"), this);
    BattleMatGroup->setObjectName(QStringLiteral("BattleMatGroup"));
    BattleMatGroup->hide();
    auto check = [this](const char* name, const QString& text, int y) {
        auto* c = new QCheckBox(text, BattleMatGroup);
        c->setObjectName(QString::fromLatin1(name));
        c->setGeometry(8, y, 158, 18);
        return c;
    };
    OverlapLabel = NamedLabel(BattleMatGroup, "OverlapLabel", QStringLiteral("Overlap"), 8, 20);
    OverlapCombo = NamedCombo(BattleMatGroup, "OverlapCombo", 8, 35, 100);
    for (const TOverlapChoice& o : OverlapChoices) OverlapCombo->addItem(QString::fromLatin1(o.Text));
    OverlapLabel->setBuddy(OverlapCombo);
    MarksCB = check("MarksCB", QStringLiteral("Cut And Glue Marks"), 64);
    OverviewCB = check("OverviewCB", QStringLiteral("Overview Sheet"), 86);
    SkipEmptyCB = check("SkipEmptyCB", QStringLiteral("Skip Empty Sheets"), 108);
    SkipEmptyCB->setToolTip(QStringLiteral("Leave out every sheet with nothing drawn on it"));
    FitSheetsCB = check("FitSheetsCB", QStringLiteral("Sheets Fit The Area"), 130);
    FitSheetsCB->setToolTip(
        QStringLiteral("As many sheets across and down as the print area needs, instead of a square of sheets"));
    PlayerCopyCB = check("PlayerCopyCB", QStringLiteral("Player Copy"), 152);
    PlayerCopyCB->setToolTip(QStringLiteral("Leave hidden symbols out, whatever Show Hidden says"));
    InkSaverCB = check("InkSaverCB", QStringLiteral("Ink Saver"), 174);
    InkSaverCB->setToolTip(QStringLiteral("Print the ground as a light wash; walls, objects and grid stay dark"));
    CorrectionLabel = new QLabel(QStringLiteral("Scale Correction"), BattleMatGroup);
    CorrectionLabel->setObjectName(QStringLiteral("CorrectionLabel"));
    CorrectionLabel->setGeometry(8, 198, 150, 14);
    CorrectionEdit = new QDoubleSpinBox(BattleMatGroup);
    CorrectionEdit->setObjectName(QStringLiteral("CorrectionEdit"));
    CorrectionEdit->setGeometry(8, 213, 100, 22);
    CorrectionEdit->setRange(95.0, 105.0);
    CorrectionEdit->setDecimals(1);
    CorrectionEdit->setSingleStep(0.1);
    CorrectionEdit->setSuffix(QStringLiteral(" %"));
    CorrectionEdit->setValue(100.0);
    CorrectionEdit->setToolTip(
        QStringLiteral("Print the overview, measure its 2\" square, and set this to "
                       "the percentage shown times 2.00 divided by the inches measured"));
    CorrectionLabel->setBuddy(CorrectionEdit);
}

void TPrintOptions::BuildMapKeyGroup() {
    MapKeyGroup = new QGroupBox(QStringLiteral("Map Key"), this);
    MapKeyGroup->setObjectName(QStringLiteral("MapKeyGroup"));
    MapKeyGroup->hide();
    RoomNumbersCB = new QCheckBox(QStringLiteral("Room Numbers"), MapKeyGroup);
    RoomNumbersCB->setObjectName(QStringLiteral("RoomNumbersCB"));
    RoomNumbersCB->setGeometry(8, 20, 150, 18);
    RoomNumbersCB->setChecked(true);
    RoomNumbersCB->setToolTip(
        QStringLiteral("Print the key's numbers over their rooms; on for the game master's copy, "
                       "off for the Player Copy unless ticked"));
    KeyPagesCB = new QCheckBox(QStringLiteral("Key Pages"), MapKeyGroup);
    KeyPagesCB->setObjectName(QStringLiteral("KeyPagesCB"));
    KeyPagesCB->setGeometry(8, 42, 150, 18);
    KeyPagesCB->setToolTip(
        QStringLiteral("After the map, the key on sheets of its own: number, title and text of every room"));
    // Until the user decides, the numbers follow the copy: none for the players.
    connect(RoomNumbersCB, &QCheckBox::clicked, this, [this] { roomNumbersTouched_ = true; });
    connect(PlayerCopyCB, &QCheckBox::toggled, this, [this](bool players) {
        if (!roomNumbersTouched_) RoomNumbersCB->setChecked(!players);
    });
}

namespace {
// Room the Rock choice adds at the foot of the battle-mat group.
constexpr int RockRowHeight = 44;
} // namespace

void TPrintOptions::BuildRockControls() {
    RockLabel = NamedLabel(BattleMatGroup, "RockLabel", QStringLiteral("Rock"), 8, 242);
    RockCombo = NamedCombo(BattleMatGroup, "RockCombo", 8, 257, 120);
    for (const TRockChoice& c : RockChoices) RockCombo->addItem(QString::fromLatin1(c.Text));
    RockCombo->setToolTip(
        QStringLiteral("Solid rock of walls and mountains as drawn, as white paper with a hatched "
                       "band along the walls, or all white; sheets then go by the rooms"));
    RockLabel->setBuddy(RockCombo);
}

void TPrintOptions::ShowBattleMat(bool shown) {
    BattleMatBut->setText(shown ? QStringLiteral("Battle Mat <<") : QStringLiteral("Battle Mat >>"));
    if (shown) {
        setFixedSize(225 + 182 + 182, 269 + RockRowHeight);
        BattleMatGroup->setGeometry(225, 8, 174, 253 + RockRowHeight);
        BattleMatGroup->show();
        MapKeyGroup->setGeometry(225 + 182, 8, 174, 70);
        MapKeyGroup->show();
    } else {
        BattleMatGroup->hide();
        MapKeyGroup->hide();
        setFixedSize(225, 269);
    }
}

void TPrintOptions::FormCreate() {
    ScaleCombo->setCurrentIndex(0);
    LeftMarginCombo->setCurrentIndex(1);
    TopMarginCombo->setCurrentIndex(1);
    RightMarginCombo->setCurrentIndex(1);
    BottomMarginCombo->setCurrentIndex(1);
    GridStyleCombo->setCurrentIndex(0);
    OverlapCombo->setCurrentIndex(0);
}

int TPrintOptions::GridStyleIndex() const {
    // What the box shows decides: text typed over an item that names none is no item.
    return GridStyleCombo->findText(GridStyleCombo->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

TPrintSettings TPrintOptions::Settings() const {
    TPrintSettings s;
    s.ScaleIndex = ScaleCombo->currentIndex();
    s.PrintTitle = TitleCB->isChecked();
    s.WholeMap = MapRB->isChecked();
    s.DrawnPart = DrawnRB->isChecked();
    s.LeftMargin = LeftMarginCombo->currentIndex();
    s.TopMargin = TopMarginCombo->currentIndex();
    s.RightMargin = RightMarginCombo->currentIndex();
    s.BottomMargin = BottomMarginCombo->currentIndex();
    s.GridStyle = GridStyleIndex();
    s.Mat.Overlap = std::max(0, OverlapCombo->currentIndex());
    s.Mat.Marks = MarksCB->isChecked();
    s.Mat.Overview = OverviewCB->isChecked();
    s.Mat.Correction = static_cast<int>(std::lround(CorrectionEdit->value() * 10.0));
    s.Mat.SkipEmpty = SkipEmptyCB->isChecked();
    s.Mat.Hidden = PlayerCopyCB->isChecked() ? hpLeaveOut : hpAsMap;
    s.Mat.InkSaver = InkSaverCB->isChecked();
    s.Mat.FitSheets = FitSheetsCB->isChecked();
    s.RoomNumbers = !roomNumbersTouched_ ? rnAsHidden : RoomNumbersCB->isChecked() ? rnOn : rnOff;
    s.KeyPages = KeyPagesCB->isChecked();
    s.Rock = std::max(0, RockCombo->currentIndex());
    return s;
}

void PrintExecute(TPrintOptions& dialog, TPrintPreview& preview) {
    if (dialog.exec() != QDialog::Accepted) return;
    preview.Preview();
}

void PrintSetupExecute(QWidget* parent) { Dialogs().PrinterSetup(parent, Printer().QtPrinter()); }

} // namespace qm
