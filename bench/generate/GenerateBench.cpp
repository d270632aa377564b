// The map generator: one whole 72 x 72 map per style (the preview redraws on every change
// of the dialog's controls, so this must stay well under 20 ms), and a run over many seeds
// of each style that checks every generated-map property (QM_GENERATE_SEEDS, default
// 10000 a style; a failure names the seed and ends the run with an error).
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <string>

#include "generate/GenStack.h"
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

// Stacks of three levels (dungeon, caves, a dungeon over caves): every one of 1000 seeds is
// timed, the slowest reported (each must stay under 100 ms).
static void BM_GenerateStackOverSeeds(benchmark::State& state) {
    const qmtest::TBuiltInGenerator& s = SetUp();
    const int kind = int(state.range(0));
    static TMapRecord start;
    ClearMapRecord(start);
    double slowest = 0, total = 0;
    for (auto _ : state)
        for (std::uint32_t seed = 1; seed <= 1000; ++seed) {
            TGenerateOptions o;
            o.Style = kind == 1 ? TGenStyle::Caves : TGenStyle::Dungeon;
            o.Seed = seed;
            const auto t0 = std::chrono::steady_clock::now();
            const std::vector<TGenLevel> stack = GenerateStack(
                start, o, 3, kind == 2 ? std::optional(TGenStyle::Caves) : std::nullopt, s.palette);
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            benchmark::DoNotOptimize(stack.back().Map.Cells[0][0]);
            slowest = std::max(slowest, ms);
            total += ms;
        }
    state.counters["slowest_ms"] = slowest;
    state.counters["mean_ms"] = total / 1000;
    state.SetLabel(kind == 0 ? "dungeon x3" : kind == 1 ? "caves x3" : "dungeon over caves x3");
}
BENCHMARK(BM_GenerateStackOverSeeds)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kSecond);

// Every property of a generated map and its key on every level of QM_STACK_SEEDS stacks
// (default 200) of each kind, and the stairs of consecutive levels on one cell.
static void BM_StackProperties(benchmark::State& state) {
    const qmtest::TBuiltInGenerator& s = SetUp();
    const int kind = int(state.range(0));
    const QByteArray v = qgetenv("QM_STACK_SEEDS");
    const int seeds = v.isEmpty() ? 200 : v.toInt();
    static TMapRecord start;
    ClearMapRecord(start);
    for (auto _ : state)
        for (int n = 1; n <= seeds; ++n) {
            TGenerateOptions o;
            o.Style = kind == 1 ? TGenStyle::Caves : TGenStyle::Dungeon;
            o.Seed = std::uint32_t(n) * 2654435761u;
            o.Density = TGenDensity(n % 3);
            const std::vector<TGenLevel> stack = GenerateStack(
                start, o, 3, kind == 2 ? std::optional(TGenStyle::Caves) : std::nullopt, s.palette);
            for (size_t k = 0; k < stack.size(); ++k) {
                const TGenLevel& l = stack[k];
                std::string failed = qmtest::CheckGeneratedMap(start, l.Map, l.Options, l.Result, s.ts, s.table);
                if (failed.empty()) failed = qmtest::CheckGeneratedKey(l.Map, l.Result, s.palette, s.table);
                if (failed.empty() && k + 1 < stack.size() &&
                    (l.Result.StairsDown.c < 0 || !(stack[k + 1].Result.Entrance == l.Result.StairsDown)))
                    failed = "the stairs of levels " + std::to_string(k + 1) + " and " + std::to_string(k + 2) +
                             " are not on one cell";
                if (!failed.empty()) {
                    state.SkipWithError(
                        ("seed " + std::to_string(o.Seed) + " level " + std::to_string(k + 1) + ": " + failed).c_str());
                    return;
                }
            }
        }
    state.SetLabel(std::string(kind == 0   ? "dungeon"
                               : kind == 1 ? "caves"
                                           : "dungeon over caves") +
                   ", " + std::to_string(seeds) + " stacks of 3");
}
BENCHMARK(BM_StackProperties)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kSecond);
