#include "app/Startup.h"

#include <QScreen>
#include <exception>

#include "app/TqmAboutBox.h"
#include "app/Twinviewform.h"
#include "preview/Dialogs.h"
#include "tiles/TPaletteForm.h"
#include "tiles/TSplashForm.h"

namespace qm {

TQuillmarchApplication::TQuillmarchApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Quillmarch"));
}

bool TQuillmarchApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        Dialogs().Error(activeWindow(), QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Dialogs().Error(activeWindow(), QStringLiteral("Unexpected failure."));
    }
    return false;
}

TApplicationWindows::TApplicationWindows() = default;
TApplicationWindows::TApplicationWindows(TApplicationWindows&&) noexcept = default;
TApplicationWindows& TApplicationWindows::operator=(TApplicationWindows&&) noexcept = default;
TApplicationWindows::~TApplicationWindows() = default;

TApplicationWindows CreateApplicationWindows(const QString& programDir) {
    TApplicationWindows w;
    w.Main = std::make_unique<Twinviewform>(programDir);
    w.About = std::make_unique<TqmAboutBox>();
    w.Splash = std::make_unique<TSplashForm>();
    w.Palette = std::make_unique<TPaletteForm>();
    w.Main->SetAboutBox(w.About.get());
    w.Main->SetSplash(w.Splash.get());
    w.Main->SetPaletteForm(w.Palette.get());
    return w;
}

void ShowMainWindow(Twinviewform& main) {
    if (QScreen* screen = main.screen()) main.setGeometry(screen->availableGeometry());
    main.showMaximized();
    main.raise();
    main.activateWindow();
}

} // namespace qm
