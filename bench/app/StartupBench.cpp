// Cold start to the first painted main window: create the windows, show the main
// window, run the first-time set-up on its activation, paint it once.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "app/MainWindow.h"
#include "app/Startup.h"

namespace {

void ColdStartToFirstPaint(benchmark::State& state) {
    QTemporaryDir folder; // an empty program folder: no default GeoSet
    const QString programDir = folder.path() + "/";
    for (auto _ : state) {
        qm::TApplicationWindows windows = qm::CreateApplicationWindows(programDir);
        qm::Twinviewform& win = *windows.Main;
        qm::ShowMainWindow(win);
        QElapsedTimer waited;
        waited.start();
        while (win.State().FirstActivation && waited.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        if (win.State().FirstActivation) {
            state.SkipWithError("the main window was never activated");
            break;
        }
        win.repaint();
        benchmark::DoNotOptimize(win.State().Tileset.TileSize);
        state.PauseTiming();
        windows = {};
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(ColdStartToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
