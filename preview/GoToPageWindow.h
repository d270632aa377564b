#pragma once
// "Go to Page Number": asks the preview window for a page to show.
#include <QDialog>

class QFrame;
class QPushButton;
class QSpinBox;

namespace qm {

class TGoPageForm : public QDialog {
    Q_OBJECT
public:
    explicit TGoPageForm(QWidget* parent = nullptr);
    QFrame* Bevel1;
    QSpinBox* PageNum; // no lower or upper limit
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
};

} // namespace qm
