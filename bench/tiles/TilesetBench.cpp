// Rendering a tileset: the built-in one at start-up, with and without the progress window,
// and a custom 24-bit picture read from disk.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "tiles/Tileset.h"
#include "tiles/TilesetProgressWindow.h"

using namespace qm;

namespace {

void BM_RenderDefault(benchmark::State& state) {
    TRenderedTileset ts;
    TMapRecord map{};
    QImage tileBitmap;
    DefaultTilesetPicture();
    for (auto _ : state) RenderTileset(ts, map, "", tileBitmap);
}
BENCHMARK(BM_RenderDefault)->Unit(benchmark::kMillisecond);

void BM_RenderDefaultWithSplash(benchmark::State& state) {
    TRenderedTileset ts;
    TMapRecord map{};
    QImage tileBitmap;
    TSplashForm splash;
    for (auto _ : state) RenderTileset(ts, map, "", tileBitmap, splash.Listener());
}
BENCHMARK(BM_RenderDefaultWithSplash)->Unit(benchmark::kMillisecond);

void BM_RenderCustomFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("custom.bmp");
    DefaultTilesetPicture().convertToFormat(QImage::Format_RGB32).save(path, "BMP");
    TRenderedTileset ts;
    TMapRecord map{};
    QImage tileBitmap;
    for (auto _ : state) RenderTileset(ts, map, path, tileBitmap);
}
BENCHMARK(BM_RenderCustomFile)->Unit(benchmark::kMillisecond);

} // namespace
