// quillmarch-render: draws a map as a picture or prints it to PDF, without a window.
#include <QGuiApplication>
#include <cstdlib>
#include <iostream>

#include "base/Encoding.h"
#include "render/Render.h"
#include "render/RenderArgs.h"

namespace {
// stderr carries the renderer's own messages only; Qt's notices about the headless
// environment (no runtime folder, no fonts cache, ...) would bury them.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << qm::MessageBytes(msg) << "\n";
}
} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const qm::TRenderParse parsed = qm::ParseRenderArgs(args);
    switch (parsed.Kind) {
    case qm::TRenderParse::Help: std::cout << qm::RenderUsage(); return 0;
    case qm::TRenderParse::Usage:
        std::cerr << "quillmarch-render: " << parsed.Message << "\n"
                  << "Usage: quillmarch-render [options] MAP OUTPUT (see --help)\n";
        return 2;
    case qm::TRenderParse::BadValue: std::cerr << "quillmarch-render: " << parsed.Message << "\n"; return 1;
    case qm::TRenderParse::Run: break;
    }
    // Headless unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQtMessages);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    return qm::RunRender(parsed.Args, QCoreApplication::applicationDirPath() + "/", std::cout, std::cerr);
}
