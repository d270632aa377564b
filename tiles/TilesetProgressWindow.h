#pragma once
// The small progress window shown while a tileset is cut into its symbols.
#include <QProgressBar>
#include <QWidget>

#include "model/Progress.h"

namespace qm {

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashForm(QWidget* parent = nullptr);

    // Shows the window centred on the screen, without taking the focus or input.
    void ShowCentred();

    // Listens to a tileset rendering: shows at the first step, follows, hides at the end.
    bool Follow(int done, int total);
    TProgressFn Listener() {
        return [this](int done, int total) { return Follow(done, total); };
    }

    QProgressBar* Progress;
};

} // namespace qm
