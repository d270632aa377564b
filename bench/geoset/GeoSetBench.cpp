// Random maps and the maplet editor's grid, with the default GeoSet and tileset.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "compose/Compose.h"
#include "geoset/GeoSet.h"
#include "geoset/RandomMap.h"
#include "tools/GeoSetGenerator.h"

using namespace qm;

namespace {
TGeoSetRecord& Geo() {
    static TGeoSetRecord geo;
    static bool built = false;
    if (!built) {
        gen::BuildDefaultGeoSet(geo);
        built = true;
    }
    return geo;
}
} // namespace

static void BM_GenerateRandomMap(benchmark::State& state) {
    static TMapRecord map;
    TGeoRandom rng(1);
    for (auto _ : state) {
        GenerateRandomMap(map, Geo(), rng);
        benchmark::DoNotOptimize(map.Cells[71][71].Upper);
    }
}
BENCHMARK(BM_GenerateRandomMap);

static void BM_InsertRandomMaplet(benchmark::State& state) {
    static TMapRecord map;
    for (auto _ : state) {
        InsertRandomMaplet(map, Geo(), 30, 30);
        benchmark::DoNotOptimize(map.Cells[30][30].Upper);
    }
}
BENCHMARK(BM_InsertRandomMaplet);

// One repaint of the maplet editor's 12 x 12 grid of 32-pixel cells.
static void BM_MapletGridFrame(benchmark::State& state) {
    static TRenderedTileset ts;
    static TMapRecord map;
    QImage tileBitmap, cell;
    RenderTileset(ts, map, QString(), tileBitmap);
    QImage frame(12 * 32, 12 * 32, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&frame);
        for (int c = 0; c < 12; ++c)
            for (int r = 0; r < 12; ++r) {
                DrawMapletCell(cell, ts, Geo(), 5, 3, c + 1, r + 1);
                DrawScaledCell(p, QRect(c * 32, r * 32, 32, 32), cell);
            }
    }
}
BENCHMARK(BM_MapletGridFrame)->Unit(benchmark::kMicrosecond);
