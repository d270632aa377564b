// The map generator: one whole 72 x 72 map per style (the preview redraws on every change
// of the dialog's controls, so this must stay well under 20 ms), and a run over many seeds
// of each style that checks every generated-map property (QM_GENERATE_SEEDS, default
// 10000 a style; a failure names the seed and ends the run with an error).
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <cstring>
#include <string>

#include "generate/GenerateMap.h"
#include "tests/support/BuiltInTileset.h"
#include "tests/support/GeneratedMapChecks.h"

using namespace qm;

namespace {

const qmtest::TBuiltInGenerator& SetUp() { return qmtest::BuiltInGenerator(); }

int SeedsToCheck() {
    const QByteArray v = qgetenv("QM_GENERATE_SEEDS");
    return v.isEmpty() ? 10000 : v.toInt();
}

} // namespace

static void BM_GenerateWholeMap(benchmark::State& state) {
    const TGenStyle style = TGenStyle(state.range(0));
    const qmtest::TBuiltInGenerator& s = SetUp();
    static TMapRecord map;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        ClearMapRecord(map);
        TGenerateOptions o;
        o.Style = style;
        o.Seed = seed++;
        GenerateMap(map, o, s.palette);
        benchmark::DoNotOptimize(map.Cells[0][0]);
    }
    state.SetLabel(GenStyleName(style));
}
BENCHMARK(BM_GenerateWholeMap)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

static void BM_GeneratedMapProperties(benchmark::State& state) {
    const TGenStyle style = TGenStyle(state.range(0));
    const qmtest::TBuiltInGenerator& s = SetUp();
    const int seeds = SeedsToCheck();
    static TMapRecord before, after;
    for (auto _ : state) {
        for (int n = 1; n <= seeds; ++n) {
            TGenerateOptions o;
            o.Style = style;
            o.Seed = std::uint32_t(n) * 2654435761u;
            o.Density = TGenDensity(n % 3);
            ClearMapRecord(before);
            after = before;
            const TGenerateResult r = GenerateMap(after, o, s.palette);
            const std::string failed = qmtest::CheckGeneratedMap(before, after, o, r, s.ts, s.table);
            if (!failed.empty()) {
                state.SkipWithError(
                    (std::string(GenStyleName(style)) + " seed " + std::to_string(o.Seed) + ": " + failed).c_str());
                return;
            }
        }
    }
    state.SetLabel(std::string(GenStyleName(style)) + ", " + std::to_string(seeds) + " seeds");
}
BENCHMARK(BM_GeneratedMapProperties)->DenseRange(0, 3)->Iterations(1)->Unit(benchmark::kSecond);
