// The Generate Map window offscreen: from a changed control to the repainted preview,
// through the window's own code (a new seed from "New seed", another style, density or
// switch). ui_ms is the part spent in the change itself, while the window cannot react.
#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <chrono>

#include "generate/GenerateMapDialog.h"
#include "tests/support/GeneratedMapChecks.h"

using namespace qm;

namespace {

enum TChange { NewSeed, Style, Density, Switch };

// Runs the event loop until the dialog shows a preview after `shownBefore`, at most 10 s.
bool WaitForPreview(TGenerateMapDialog& d, const int& shown, int shownBefore) {
    if (shown > shownBefore) return true;
    QEventLoop loop;
    QObject::connect(&d, &TGenerateMapDialog::PreviewShown, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return shown > shownBefore;
}

void BM_GenerateDialogPreview(benchmark::State& state) {
    const qmtest::TBuiltInGenerator& g = qmtest::BuiltInGenerator();
    static TMapRecord map;
    ClearMapRecord(map);
    TGenerateOptions start;
    start.Seed = 4711;
    TGenerateMapDialog d(nullptr, map, g.ts, g.palette, TGridRect{0, 0, 0, 0}, start);
    d.show();
    int shown = 0;
    QObject::connect(&d, &TGenerateMapDialog::PreviewShown, [&] { ++shown; });
    if (!WaitForPreview(d, shown, 0)) state.SkipWithError("no first preview");
    const auto change = TChange(state.range(0));
    double uiSeconds = 0;
    int n = 0;
    for (auto _ : state) {
        const int before = shown;
        const auto t0 = std::chrono::steady_clock::now();
        switch (change) {
        case NewSeed: d.NewSeedButton->click(); break;
        case Style: d.StyleCombo->setCurrentIndex((d.StyleCombo->currentIndex() + 1) % d.StyleCombo->count()); break;
        case Density: d.DensityCombo->setCurrentIndex((d.DensityCombo->currentIndex() + 1) % 3); break;
        case Switch: d.DressingCheck->toggle(); break;
        }
        const auto t1 = std::chrono::steady_clock::now();
        if (!WaitForPreview(d, shown, before)) {
            state.SkipWithError("no preview");
            break;
        }
        d.Preview->repaint();
        const auto t2 = std::chrono::steady_clock::now();
        uiSeconds += std::chrono::duration<double>(t1 - t0).count();
        ++n;
        state.SetIterationTime(std::chrono::duration<double>(t2 - t0).count());
    }
    static const char* names[] = {"new seed", "style", "density", "switch"};
    state.SetLabel(names[change]);
    if (n > 0) state.counters["ui_ms"] = uiSeconds / n * 1000;
}
BENCHMARK(BM_GenerateDialogPreview)->DenseRange(0, 3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
