// Whole map at zoom 96 (6912 x 6912) to each format: time, and how far the peak
// resident memory rises above where it stood before the export.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "bench/BenchSupport.h"
#include "export/ExportPicture.h"
#include "tiles/Tileset.h"

using namespace qm;

namespace {

long StatusKb(const char* key) {
    std::ifstream f("/proc/self/status");
    std::string line;
    const std::string k = std::string(key) + ":";
    while (std::getline(f, line))
        if (line.rfind(k, 0) == 0) return std::atol(line.c_str() + k.size());
    return -1;
}

// Resets the peak (VmHWM) to the present resident size.
void ResetPeak() {
    std::ofstream f("/proc/self/clear_refs");
    f << "5";
}

TRenderedTileset MakeTileset() {
    TRenderedTileset ts;
    TMapRecord scratch{};
    QImage tileBitmap;
    RenderTileset(ts, scratch, QString(), tileBitmap);
    return ts;
}

void ExportWholeMap(benchmark::State& state, TPictureFormat format) {
    static const TRenderedTileset ts = MakeTileset();
    static const TMapRecord map = qmbench::FullSampleMap(96);
    char dir[] = "/tmp/qm-bench-export.XXXXXX";
    if (!::mkdtemp(dir)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string path = std::string(dir) + "/map" + FormatExtension(format);
    long peakGrowthKb = 0;
    for (auto _ : state) {
        ResetPeak();
        const long before = StatusKb("VmRSS");
        ExportMapPicture(path, format, map, ts, WholeMapArea, 96);
        peakGrowthKb = std::max(peakGrowthKb, StatusKb("VmHWM") - before);
    }
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    state.counters["peak_growth_MB"] = double(peakGrowthKb) / 1024.0;
    state.counters["file_MB"] = double(f.tellg()) / (1024.0 * 1024.0);
    std::remove(path.c_str());
    ::rmdir(dir);
}

} // namespace

BENCHMARK_CAPTURE(ExportWholeMap, png, TPictureFormat::Png)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(ExportWholeMap, jpeg, TPictureFormat::Jpeg)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(ExportWholeMap, bmp, TPictureFormat::Bmp)->Unit(benchmark::kMillisecond)->Iterations(3);
