#pragma once
// The About box: a picture, the program's name, the version and an OK button.
#include <QDialog>

class QLabel;
class QPushButton;

namespace qm {

class TqmAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TqmAboutBox(QWidget* parent = nullptr);

    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Comments = nullptr;
    QLabel* Version = nullptr;
    QPushButton* OKButton = nullptr;
};

} // namespace qm
