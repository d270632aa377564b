// quillmarch: the map-drawing program.
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "tiles/AppIcon.h"

int main(int argc, char** argv) {
    qm::TQuillmarchApplication app(argc, argv);
    app.setWindowIcon(qm::AppIcon());
    qm::TApplicationWindows windows = qm::CreateApplicationWindows();
    windows.Main->SetStartFile(qm::StartFileFromArguments(app.arguments()));
    qm::ShowMainWindow(*windows.Main);
    return app.exec();
}
