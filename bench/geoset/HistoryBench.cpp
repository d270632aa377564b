// Recording one step of the map document's history: a small edit and a whole random
// map (snapshot, change detection, compression of the record and its undo copy).
#include <benchmark/benchmark.h>

#include <memory>

#include "editor/MapDocument.h"
#include "geoset/RandomMap.h"
#include "tools/GeoSetGenerator.h"

using namespace qm;

namespace {

const TGeoSetRecord& Geo() {
    static const auto geo = [] {
        auto g = std::make_unique<TGeoSetRecord>();
        gen::BuildDefaultGeoSet(*g);
        return g;
    }();
    return *geo;
}

// A document whose history is already full, so every step also drops the oldest.
std::unique_ptr<TMapDocument> FullDocument() {
    auto doc = std::make_unique<TMapDocument>();
    doc->New("", 96);
    TGeoRandom rng(7);
    for (int n = 0; n < TMapHistory::MaxSteps; ++n) {
        if (n % 10 == 0) doc->Edit("Random map", [&](TMapRecord& m) { GenerateRandomMap(m, Geo(), rng); });
        else doc->Edit("Draw", [n](TMapRecord& m) { m.Cell(n % 72 + 1, n / 72 % 72 + 1).Upper = uint8_t(n); });
    }
    return doc;
}

void BM_RecordStepDraw(benchmark::State& state) {
    auto doc = FullDocument();
    int n = 0;
    for (auto _ : state) {
        ++n;
        doc->Edit("Draw", [n](TMapRecord& m) { m.Cell(n % 72 + 1, n / 72 % 72 + 1).Upper = uint8_t(n | 1); });
    }
    state.counters["bytes"] = double(doc->History().Bytes());
    state.counters["steps"] = doc->History().Count();
}
BENCHMARK(BM_RecordStepDraw)->Unit(benchmark::kMicrosecond);

// The map is generated outside the timing; what is timed is the edit that puts it in.
void BM_RecordStepRandomMap(benchmark::State& state) {
    auto doc = FullDocument();
    TGeoRandom rng(11);
    auto maps = std::make_unique<TMapRecord[]>(16);
    for (int i = 0; i < 16; ++i) {
        maps[size_t(i)] = doc->CurrentMap;
        GenerateRandomMap(maps[size_t(i)], Geo(), rng);
    }
    int i = 0;
    for (auto _ : state) {
        const TMapRecord& next = maps[size_t(i++ % 16)];
        doc->Edit("Random map", [&](TMapRecord& m) { m = next; });
    }
    state.counters["bytes"] = double(doc->History().Bytes());
    state.counters["steps"] = doc->History().Count();
}
BENCHMARK(BM_RecordStepRandomMap)->Unit(benchmark::kMicrosecond);

// 1000 random maps in a row: the memory the history then holds.
void BM_RandomMapHistoryMemory(benchmark::State& state) {
    for (auto _ : state) {
        auto doc = std::make_unique<TMapDocument>();
        TGeoRandom rng(3);
        for (int n = 0; n < TMapHistory::MaxSteps; ++n)
            doc->Edit("Random map", [&](TMapRecord& m) { GenerateRandomMap(m, Geo(), rng); });
        state.counters["MB"] = double(doc->History().Bytes()) / (1 << 20);
        state.counters["steps"] = doc->History().Count();
    }
}
BENCHMARK(BM_RandomMapHistoryMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
