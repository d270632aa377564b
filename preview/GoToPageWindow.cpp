#include "preview/GoToPageWindow.h"

#include <QFrame>
#include <QPushButton>
#include <QSpinBox>
#include <climits>

#include "dialogs/DialogStyle.h"

namespace qm {

TGoPageForm::TGoPageForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("GoPageForm"));
    setWindowTitle(QStringLiteral("Go to Page Number"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(231, 116);
    setFont(DialogFont());

    Bevel1 = MakeBevel(this, QRect(11, 8, 209, 57));

    PageNum = new QSpinBox(this);
    PageNum->setObjectName(QStringLiteral("PageNum"));
    PageNum->setRange(INT_MIN, INT_MAX);
    PageNum->setGeometry(87, 27, 57, 22);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(35, 76, 77, 27);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(119, 76, 77, 27);
    CancelBtn->setAutoDefault(false);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    OKBtn->setFocus();
}

} // namespace qm
