#include "preview/PrintStatusWindow.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "dialogs/DialogStyle.h"

namespace qm {

TPrintStatusForm::TPrintStatusForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PrintStatusForm"));
    setWindowTitle(QStringLiteral("Print Status"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(278, 118);
    setFont(DialogFont());

    Bevel1 = MakeBevel(this, QRect(8, 8, 265, 65));

    auto label = [this](const char* name, const QString& text, QRect r, Qt::Alignment a) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(r);
        l->setAlignment(a);
        return l;
    };
    Label1 = label("Label1", QStringLiteral("Print Job:"), QRect(11, 16, 62, 13), Qt::AlignRight | Qt::AlignTop);
    Label2 = label("Label2", QStringLiteral("Page:"), QRect(11, 48, 62, 13), Qt::AlignRight | Qt::AlignTop);
    TitleLabel = label("TitleLabel", QString(), QRect(80, 16, 177, 25), Qt::AlignLeft | Qt::AlignTop);
    TitleLabel->setWordWrap(true);
    PageNumLabel = label("PageNumLabel", QString(), QRect(80, 48, 177, 13), Qt::AlignLeft | Qt::AlignTop);

    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(100, 84, 77, 27);
    CancelBtn->setAutoDefault(false);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
}

void TPrintStatusForm::showEvent(QShowEvent* e) {
    PageNumLabel->setText(QStringLiteral("Initializing..."));
    TitleLabel->setText(QStringLiteral("(No Title)"));
    CancelBtn->setFocus();
    QDialog::showEvent(e);
}

void TPrintStatusForm::SetTitle(const QString& text) {
    TitleLabel->setText(text);
    TitleLabel->repaint();
}

void TPrintStatusForm::SetPage(int number) {
    PageNumLabel->setText(QString::number(number));
    PageNumLabel->repaint();
}

void TPrintStatusForm::CancelBtnClick() {
    cancelled_ = true;
    SetTitle(QStringLiteral("Cancelling..."));
}

void TPrintStatusForm::reject() { CancelBtnClick(); }

TPrintListener TPrintStatusForm::Listener() {
    TPrintListener l;
    l.Started = [this] { show(); };
    l.Title = [this](const QString& t) {
        SetTitle(t);
        repaint();
    };
    l.Page = [this](int n) { SetPage(n); };
    l.Cancelled = [this] {
        // The only point where the Cancel button is seen.
        QCoreApplication::processEvents();
        return Cancelled();
    };
    l.Finished = [this] { close(); };
    return l;
}

} // namespace qm
