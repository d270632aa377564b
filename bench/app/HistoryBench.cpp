// Step Backward / Forward to any of 1000 steps at zoom 96: the document restores the
// step, the window applies its settings, the History list follows, and the map view
// repaints (synchronously, the whole visible part).
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "app/MainWindow.h"
#include "app/Startup.h"
#include "editor/DrawGrid.h"
#include "geoset/RandomMap.h"

namespace {

void BM_StepToAnyOf1000AndRepaint(benchmark::State& state) {
    QTemporaryDir folder;
    const QString programDir = folder.path() + "/";
    QFile::copy(QStringLiteral(QM_PROGRAM_DIR "/defaultgeoset.geo"), programDir + "defaultgeoset.geo");
    qm::TApplicationWindows windows = qm::CreateApplicationWindows(programDir);
    qm::Twinviewform& win = *windows.Main;
    win.resize(1600, 1000);
    qm::ShowMainWindow(win);
    QElapsedTimer waited;
    waited.start();
    while (win.State().FirstActivation && waited.elapsed() < 5000) QApplication::processEvents();
    win.resize(1600, 1000); // a desktop screen; the offscreen one is smaller
    QApplication::processEvents();
    // As the user does it: Zoom In six times (16 -> 96), then History... shows the list.
    for (int i = 0; i < 6; ++i) win.findChild<QAction*>("ZoomIn")->trigger();
    win.findChild<QAction*>("History1")->trigger();

    qm::TMapDocument& doc = win.State().Document;
    qm::TGeoRandom rng(5);
    const qm::TGeoSetRecord& geo = win.State().GeoSetDocument.GeoSet;
    for (int n = 1; doc.History().Count() < qm::TMapHistory::MaxSteps && n < 10 * qm::TMapHistory::MaxSteps; ++n) {
        if (n % 10 == 1) doc.Edit("Random map", [&](qm::TMapRecord& m) { qm::GenerateRandomMap(m, geo, rng); });
        else doc.Edit("Draw", [n](qm::TMapRecord& m) { m.Cell(n % 16 + 1, n / 16 % 10 + 1).Upper ^= 0x55; });
    }
    QApplication::processEvents();
    auto* grid = win.findChild<qm::TDrawGrid*>("DrawGrid1");
    if (doc.History().Count() != qm::TMapHistory::MaxSteps || grid->DefaultColWidth() != 96) {
        state.SkipWithError(QStringLiteral("%1 steps at zoom %2, not %3 at 96")
                                .arg(doc.History().Count())
                                .arg(grid->DefaultColWidth())
                                .arg(qm::TMapHistory::MaxSteps)
                                .toUtf8()
                                .constData());
        return;
    }
    std::mt19937 pick(9);
    for (auto _ : state) {
        doc.StepTo(int(pick() % qm::TMapHistory::MaxSteps));
        grid->viewport()->repaint();
    }
    // Cells touched by the repaint of the visible part of the map.
    state.counters["cells"] = double(grid->viewport()->width() / 96 + 1) * (grid->viewport()->height() / 96 + 1);
    state.counters["width"] = grid->viewport()->width();
}
BENCHMARK(BM_StepToAnyOf1000AndRepaint)->Unit(benchmark::kMillisecond);

} // namespace
