#pragma once
// "Print Status": the progress window of a print run, with its Cancel button.
#include <QDialog>

#include "preview/PrintRun.h"

class QLabel;
class QPushButton;
class QFrame;

namespace qm {

class TPrintStatusForm : public QDialog {
    Q_OBJECT
public:
    explicit TPrintStatusForm(QWidget* parent = nullptr);

    QFrame* Bevel1;
    QLabel* Label1; // "Print Job:"
    QLabel* Label2; // "Page:"
    QLabel* TitleLabel;
    QLabel* PageNumLabel;
    QPushButton* CancelBtn;

    void SetTitle(const QString& text);
    void SetPage(int number);
    bool Cancelled() const { return cancelled_; }
    // Follows a print run: shown when it starts, closed when it ends; the Cancel
    // button is seen between pages.
    TPrintListener Listener();

protected:
    void showEvent(QShowEvent* e) override;
    // Escape cancels the job like the button; the window itself stays.
    void reject() override;

private:
    void CancelBtnClick();
    bool cancelled_ = false;
};

} // namespace qm
