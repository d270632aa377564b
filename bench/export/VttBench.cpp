// A whole random map from the default GeoSet to a Universal VTT file at 100 pixels a cell:
// time for geometry, picture and base64 together, and the file's size.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

#include "export/ExportPicture.h"
#include "export/VttExport.h"
#include "geoset/RandomMap.h"
#include "tiles/Tileset.h"
#include "tools/GeoSetGenerator.h"

using namespace qm;

namespace {

struct World {
    TRenderedTileset ts;
    TMapRecord map{};
    SymbolTable symbols = BuiltInSymbolTable();
    World() {
        TMapRecord scratch{};
        QImage tileBitmap;
        RenderTileset(ts, scratch, QString(), tileBitmap, nullptr);
        TGeoSetRecord geo{};
        gen::BuildDefaultGeoSet(geo);
        ClearMapRecord(map);
        TGeoRandom rng(1);
        GenerateRandomMap(map, geo, rng);
    }
};

void VttWholeMap(benchmark::State& state) {
    static const World w;
    char dir[] = "/tmp/qm-bench-vtt.XXXXXX";
    if (!::mkdtemp(dir)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string path = std::string(dir) + "/map.dd2vtt";
    for (auto _ : state) ExportVttMap(path, w.map, w.ts, w.symbols, TGridRect{0, 0, MapSize - 1, MapSize - 1}, {});
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    state.counters["file_MB"] = double(f.tellg()) / (1024.0 * 1024.0);
    std::remove(path.c_str());
    ::rmdir(dir);
}

void VttGeometryOnly(benchmark::State& state) {
    static const World w;
    size_t walls = 0;
    for (auto _ : state) {
        const TVttGeometry g = VttGeometry(w.map, w.ts, w.symbols, TGridRect{0, 0, MapSize - 1, MapSize - 1});
        walls = g.Walls.size();
        benchmark::DoNotOptimize(walls);
    }
    state.counters["polylines"] = double(walls);
}

// The picture alone, composed band by band as the export does, without encoding.
void VttPictureOnly(benchmark::State& state) {
    static const World w;
    TMapRecord shown = w.map;
    shown.ShowHidden = 0;
    for (auto _ : state) {
        const TPictureSource src = MapPictureSource(shown, w.ts, TGridRect{0, 0, MapSize - 1, MapSize - 1}, 100);
        for (int i = 0; i < src.BandCount(); ++i)
            benchmark::DoNotOptimize(src.Band(i * src.BandHeight, src.BandHeight).constBits());
    }
}

} // namespace

BENCHMARK(VttPictureOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(VttWholeMap)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(VttGeometryOnly)->Unit(benchmark::kMillisecond);
