// A Quillmarch run that the recovery test kills: it starts the real windows, opens a
// map, draws on it and paints a maplet cell, writes what it holds to two files for the
// test to compare with, says "ready" and waits to be killed.
// Arguments: program folder, map to open, file for the map bytes, file for the GeoSet bytes.
#include <QFile>
#include <QTest>
#include <cstdio>

#include "app/MainWindow.h"
#include "app/Startup.h"
#include "editor/DrawGrid.h"
#include "geoset/MapletEditor.h"

namespace {
bool WriteBytes(const char* path, const void* data, size_t size) {
    QFile f(QString::fromLocal8Bit(path));
    return f.open(QIODevice::WriteOnly) && f.write(static_cast<const char*>(data), qint64(size)) == qint64(size);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 5) return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qm::TQuillmarchApplication app(argc, argv);
    qm::TApplicationWindows windows = qm::CreateApplicationWindows(QString::fromLocal8Bit(argv[1]));
    qm::Twinviewform& win = *windows.Main;
    win.SetRecoveryDelay(200);
    qm::ShowMainWindow(win);
    if (!QTest::qWaitFor([&] { return !win.State().FirstActivation; }, 20000)) return 3;

    win.OpenMapFile(QString::fromLocal8Bit(argv[2]));
    win.SymbolGridSelectCell(0, 17);
    auto* grid = win.findChild<qm::TDrawGrid*>("DrawGrid1");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(6, 9).center());
    qm::TGeoEditForm& form = *windows.GeoEdit;
    form.show();
    form.GeoSymbolGridSelectCell(0, 40);
    QTest::mouseClick(form.GeoGrid->viewport(), Qt::LeftButton, {}, form.GeoGrid->CellRect(4, 7).center());
    form.hide();

    const qm::TQuillmarch& s = win.State();
    if (!WriteBytes(argv[3], &s.Document.CurrentMap, sizeof s.Document.CurrentMap) ||
        !WriteBytes(argv[4], &s.GeoSetDocument.GeoSet, sizeof s.GeoSetDocument.GeoSet))
        return 4;
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
