#include "Unit3.h"

#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "preview/Dialogs.h"
#include "preview/FormStyle.h"
#include "preview/Prevcomp.h"

namespace qm {

namespace {
QString Inches(float v) { return QString::number(v, 'f', 2) + QChar('"'); }
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

    auto label = [this](const char* name, const QString& text, int x, int y) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(x, y, 100, 14);
        return l;
    };
    auto combo = [this](const char* name, int x, int y, int w) {
        auto* c = new QComboBox(this);
        c->setObjectName(QString::fromLatin1(name));
        c->setGeometry(x, y, w, 22);
        return c;
    };

    ScaleLabel = label("ScaleLabel", QStringLiteral("Scale"), 8, 8);
    ScaleCombo = combo("ScaleCombo", 8, 23, 100);
    ScaleCombo->addItem(QStringLiteral("Fit To Page"));
    for (int i = 1; i <= 6; ++i) ScaleCombo->addItem(Inches(ScaleItemInches(i)));
    ScaleLabel->setBuddy(ScaleCombo);

    TitleCB = new QCheckBox(QStringLiteral("Print Title"), this);
    TitleCB->setObjectName(QStringLiteral("TitleCB"));
    TitleCB->setGeometry(120, 25, 100, 18);
    TitleCB->setChecked(true);

    RadioGroup1 = new QGroupBox(QStringLiteral("Print Area"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(120, 52, 97, 62);
    MapRB = new QRadioButton(QStringLiteral("Map"), RadioGroup1);
    MapRB->setObjectName(QStringLiteral("MapRB"));
    MapRB->setGeometry(8, 18, 85, 18);
    MapRB->setChecked(true);
    SelectedRB = new QRadioButton(QStringLiteral("Selection"), RadioGroup1);
    SelectedRB->setObjectName(QStringLiteral("SelectedRB"));
    SelectedRB->setGeometry(8, 38, 85, 18);

    struct Margin { const char* labelName; const char* comboName; const char* text; QLabel** l; QComboBox** c; };
    const Margin margins[] = {
        {"LeftMarginLabel", "LeftMarginCombo", "Left Margin", &LeftMarginLabel, &LeftMarginCombo},
        {"TopMarginLabel", "TopMarginCombo", "Top Margin", &TopMarginLabel, &TopMarginCombo},
        {"RightMarginLabel", "RightMarginCombo", "Right Margin", &RightMarginLabel, &RightMarginCombo},
        {"BottomMarginLabel", "BottomMarginCombo", "Bottom Margin", &BottomMarginLabel, &BottomMarginCombo},
    };
    int y = 52;
    for (const Margin& m : margins) {
        *m.l = label(m.labelName, QString::fromLatin1(m.text), 8, y);
        // Narrow enough to leave the Grid Style box room for its longest item.
        *m.c = combo(m.comboName, 8, y + 15, 76);
        (*m.l)->resize((*m.l)->fontMetrics().horizontalAdvance((*m.l)->text()) + 4, 14);
        for (int i = 0; i < 4; ++i) (*m.c)->addItem(Inches(MarginItemInches(i)));
        (*m.l)->setBuddy(*m.c);
        y += 44;
    }

    // Level with the right margin box, so that it can reach further left than a label allows.
    GridStyleLabel = label("GridStyleLabel", QStringLiteral("Grid Style"), 120, 141);
    GridStyleCombo = combo("GridStyleCombo", 120, 156, 97);
    GridStyleCombo->addItems({QStringLiteral("None"), QStringLiteral("Aligned Squares"), QStringLiteral("Aligned Hexes"),
                              QStringLiteral("Offset Squares"), QStringLiteral("Hex Overlay")});
    // A pick list, wide enough for its longest item: it grows to the left, up to the
    // margin column, and the list that drops down is never narrower than its items.
    {
        QStyleOptionComboBox opt;
        opt.initFrom(GridStyleCombo);
        opt.rect = QRect(0, 0, 100, 22);
        const QRect field = GridStyleCombo->style()->subControlRect(QStyle::CC_ComboBox, &opt,
                                                                     QStyle::SC_ComboBoxEditField, GridStyleCombo);
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
    GridStyleLabel->setBuddy(GridStyleCombo);

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

    FormCreate();
}

void TPrintOptions::FormCreate() {
    ScaleCombo->setCurrentIndex(0);
    LeftMarginCombo->setCurrentIndex(1);
    TopMarginCombo->setCurrentIndex(1);
    RightMarginCombo->setCurrentIndex(1);
    BottomMarginCombo->setCurrentIndex(1);
    GridStyleCombo->setCurrentIndex(0);
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
    s.LeftMargin = LeftMarginCombo->currentIndex();
    s.TopMargin = TopMarginCombo->currentIndex();
    s.RightMargin = RightMarginCombo->currentIndex();
    s.BottomMargin = BottomMarginCombo->currentIndex();
    s.GridStyle = GridStyleIndex();
    return s;
}

void PrintExecute(TPrintOptions& dialog, TPrintPreview& preview) {
    if (dialog.exec() != QDialog::Accepted) return;
    preview.Preview();
}

void PrintSetupExecute(QWidget* parent) { Dialogs().PrinterSetup(parent); }

} // namespace qm
