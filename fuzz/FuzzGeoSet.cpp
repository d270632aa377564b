// A GeoSet file as the user opens it: loaded over the current GeoSet (its tileset name
// may make the program look for a tileset), a random map generated from it, one random
// maplet inserted, every maplet painted and drawn, then saved and read back.
#include <QDir>
#include <QImage>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "fuzz/FuzzSupport.h"
#include "geoset/GeoSet.h"
#include "geoset/Maplet.h"
#include "geoset/RandomMap.h"
#include "model/RecordFile.h"

using namespace qm;
using namespace qmfuzz;

namespace {
struct World {
    TRenderedTileset ts;
    TMapRecord map{};
    QImage tileBitmap;
    World() {
        // Bare tileset names are looked up in the working folder: make it ours, with a
        // usable tileset, a broken one, a device behind a link, a pipe and a folder for
        // GeoSets to name. (Give libFuzzer absolute paths: the folder changes.)
        QDir::setCurrent(QString::fromStdString(ScratchDir()));
        const std::vector<uint8_t> good = TinyTilesetBmp(32, 48, 32);
        WriteBytes("t.bmp", good.data(), good.size());
        WriteBytes("bad.bmp", good.data(), 60);
        Check(::symlink("/dev/zero", "zero.bmp") == 0, "cannot make zero.bmp");
        Check(::mkfifo("fifo.bmp", 0600) == 0, "cannot make fifo.bmp");
        Check(::mkdir("dir.bmp", 0700) == 0, "cannot make dir.bmp");
        RenderTileset(ts, map, QString(), tileBitmap, nullptr);
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World world;
    static const std::string in = ScratchFile("in.geo");
    static const std::string out = ScratchFile("out.geo");
    WriteBytes(in, data, size);

    auto doc = std::make_unique<TGeoSetDocument>(world.ts);
    TGeoSetRecord& geo = doc->GeoSet;
    std::memset(&geo, 0x5A, sizeof geo);
    doc->SetUseTileset([](const QString& name) { RenderTileset(world.ts, world.map, name, world.tileBitmap); });
    try {
        LoadGeoSet(*doc, QString::fromStdString(in));
    } catch (const TTilesetError&) {
        // The GeoSet named a tileset that exists but cannot be used: still loaded.
    } catch (const TNotARecordError&) {
        // Not one GeoSet long: refused, the record as it was (fuzz_open_over looks closer).
        Check(size != GeoSetRecordSize && !doc->Loaded(), "a GeoSet was refused wrongly");
        return 0;
    }
    Check(doc->Loaded(), "a loaded GeoSet did not enable random maps");
    Check(world.ts.IsRendered(), "no tileset is in use after loading");

    TGeoRandom rng(size);
    TMapRecord map;
    std::memset(&map, 0, sizeof map);
    GenerateRandomMap(map, geo, rng);
    InsertRandomMaplet(map, geo, data && size ? data[0] % 80 : 0, size > 1 ? data[1] % 80 : 0);

    // The editor addresses maplets by the stored position and section, whatever they hold.
    QImage cellBitmap;
    DrawMapletCell(cellBitmap, world.ts, geo, geo.Position, geo.Section, 1, 1);
    const uint8_t symbol = geo.PaintSymbol;
    for (int p = 0; p <= GeoPositions + 1; ++p)
        for (int s = 0; s <= GeoSections + 1; ++s)
            for (int col = -1; col <= MapletSize; ++col) {
                for (int row = -1; row <= MapletSize; ++row)
                    PaintMapletCell(geo, p, s, col, row, symbol, world.ts.LayerFlags);
                // Drawing composes a whole cell: one per column is plenty.
                DrawMapletCell(cellBitmap, world.ts, geo, p, s, col + 1, (col + p + s) % (MapletSize + 2));
            }

    SaveGeoSet(geo, QString::fromStdString(out));
    const std::vector<uint8_t> saved = ReadBytes(out);
    Check(saved.size() == GeoSetRecordSize && std::memcmp(saved.data(), &geo, GeoSetRecordSize) == 0,
          "saving did not write the record byte for byte");
    return 0;
}
