#pragma once
// Process start: the application object and the windows, created in their fixed order.
#include <QApplication>
#include <QStringList>
#include <memory>

namespace qm {

class Twinviewform;
class TqmAboutBox;
class TSplashForm;
class TPaletteForm;
class TPrintOptions;
class TGeoEditForm;

// Catches what a command lets escape, so no exception crosses the event loop.
class TQuillmarchApplication : public QApplication {
public:
    TQuillmarchApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The windows of a run; each lives until the end of the process.
struct TApplicationWindows {
    TApplicationWindows();
    TApplicationWindows(TApplicationWindows&&) noexcept;
    TApplicationWindows& operator=(TApplicationWindows&&) noexcept;
    ~TApplicationWindows();
    std::unique_ptr<Twinviewform> Main;
    std::unique_ptr<TqmAboutBox> About;
    std::unique_ptr<TPrintOptions> PrintOptions;
    std::unique_ptr<TSplashForm> Splash;
    std::unique_ptr<TPaletteForm> Palette;
    std::unique_ptr<TGeoEditForm> GeoEdit;
};

// Main window, About box, "Print Properties", "Rendering Tileset", "Select Tileset" and
// "GeoSet Maplet Editor", in this order, joined
// to the main window. programDir empty = the executable's folder.
TApplicationWindows CreateApplicationWindows(const QString& programDir = {});

// Shows the main window maximised (filling the screen also where no window manager
// maximises it) and asks for activation, which runs the first-time set-up.
void ShowMainWindow(Twinviewform& main);

// The map named by the first command-line argument (a path or a file: URL), made
// absolute; empty when there is none. The program takes no options.
QString StartFileFromArguments(const QStringList& args);

} // namespace qm
