#include "tiles/TilesetProgressWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace qm {

TSplashForm::TSplashForm(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("SplashForm");
    setWindowTitle("Rendering Tileset");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(260, 44);
    Progress = new QProgressBar(this);
    Progress->setObjectName("Progress");
    Progress->setRange(0, 255);
    Progress->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(Progress);
}

bool TSplashForm::Follow(int done, int total) {
    if (done >= total) {
        hide();
        return true;
    }
    if (done == 0) {
        Progress->setRange(0, total - 1);
        Progress->setValue(0);
        ShowCentred();
    }
    Progress->setValue(done);
    return true;
}

void TSplashForm::ShowCentred() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(0, 0), size());
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    show();
    repaint();
}

} // namespace qm
