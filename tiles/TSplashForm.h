#pragma once
// The small progress window shown while a tileset is cut into its symbols.
#include <QProgressBar>
#include <QWidget>

namespace qm {

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashForm(QWidget* parent = nullptr);

    // Shows the window centred on the screen, without taking the focus or input.
    void ShowCentred();

    QProgressBar* Progress;
};

} // namespace qm
