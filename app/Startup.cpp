#include "app/Startup.h"

#include <QFileInfo>
#include <QScreen>
#include <QUrl>
#include <exception>

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "base/Encoding.h"
#include "dialogs/Dialogs.h"
#include "geoset/MapletEditor.h"
#include "preview/QtPrinter.h"
#include "print/PrintOptionsDialog.h"
#include "tiles/TilesetChooser.h"
#include "tiles/TilesetProgressWindow.h"

namespace qm {

TQuillmarchApplication::TQuillmarchApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Quillmarch"));
}

bool TQuillmarchApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        Dialogs().Error(activeWindow(), MessageText(e));
    } catch (...) {
        Dialogs().Error(activeWindow(), QStringLiteral("Unexpected failure."));
    }
    return false;
}

TApplicationWindows::TApplicationWindows() = default;
TApplicationWindows::TApplicationWindows(TApplicationWindows&&) noexcept = default;
// Windows go in the reverse order of their creation: the later ones hold on to the main window.
static void CloseWindows(TApplicationWindows& w) {
    w.GeoEdit.reset();
    w.Palette.reset();
    w.Splash.reset();
    w.PrintOptions.reset();
    w.About.reset();
    w.Main.reset();
}

TApplicationWindows& TApplicationWindows::operator=(TApplicationWindows&& o) noexcept {
    CloseWindows(*this);
    Main = std::move(o.Main);
    About = std::move(o.About);
    PrintOptions = std::move(o.PrintOptions);
    Splash = std::move(o.Splash);
    Palette = std::move(o.Palette);
    GeoEdit = std::move(o.GeoEdit);
    return *this;
}

TApplicationWindows::~TApplicationWindows() { CloseWindows(*this); }

TApplicationWindows CreateApplicationWindows(const QString& programDir) {
    // The print and page set-up dialogs work on the Qt printer, so it is the printer in use.
    UseQtPrinter();
    TApplicationWindows w;
    w.Main = std::make_unique<Twinviewform>(programDir);
    w.About = std::make_unique<TqmAboutBox>();
    w.PrintOptions = std::make_unique<TPrintOptions>();
    w.Splash = std::make_unique<TSplashForm>();
    w.Palette = std::make_unique<TPaletteForm>();
    Twinviewform& m = *w.Main;
    const Twinviewform::TGeoSetActions geo = m.GeoSetActions();
    w.GeoEdit = std::make_unique<TGeoEditForm>(m.GeoSetDocument(), m.State().CellBitmap, geo.New, geo.Open, geo.Save);
    m.SetAboutBox(w.About.get());
    m.SetPrintOptions(w.PrintOptions.get());
    m.SetSplash(w.Splash.get());
    m.SetPaletteForm(w.Palette.get());
    m.SetGeoEditForm(w.GeoEdit.get());
    return w;
}

QString StartFileFromArguments(const QStringList& args) {
    if (args.size() < 2 || args.at(1).isEmpty()) return {};
    QString path = args.at(1);
    if (path.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) path = QUrl(path).toLocalFile();
    if (path.isEmpty()) return args.at(1); // a file: URL naming no local file is reported as given
    return QFileInfo(path).absoluteFilePath();
}

void ShowMainWindow(Twinviewform& main) {
    if (QScreen* screen = main.screen()) main.setGeometry(screen->availableGeometry());
    main.showMaximized();
    main.raise();
    main.activateWindow();
}

} // namespace qm
