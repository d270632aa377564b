// A Tiled map as the user imports it: read under the limits, and when it is accepted,
// exported again and read back to the very same record. The exported map is written
// plainly beside a tileset written once (the atomic writer's fsync would dominate).
#include <QString>
#include <cstring>

#include "fuzz/FuzzSupport.h"
#include "tiled/TiledExport.h"
#include "tiled/TmxReader.h"

using namespace qm;
using namespace qmfuzz;

namespace {
struct World {
    TRenderedTileset ts;
    SymbolTable symbols = BuiltInSymbolTable();
    World() {
        // A small tileset keeps the round trip's picture cheap.
        const std::vector<uint8_t> bmp = TinyTilesetBmp(32, 48, 32);
        const std::string path = ScratchFile("tiny.bmp");
        WriteBytes(path, bmp.data(), bmp.size());
        TMapRecord scratch{};
        QImage tileBitmap;
        RenderTileset(ts, scratch, QString::fromStdString(path), tileBitmap, nullptr);
        const std::string tsx = TsxText(ts, symbols, "tiny", "out-tileset.png");
        WriteBytes(ScratchFile("out-tileset.tsx"), reinterpret_cast<const uint8_t*>(tsx.data()), tsx.size());
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World world;
    static const std::string in = ScratchFile("in.tmx");
    static const std::string out = ScratchFile("out.tmx");
    WriteBytes(in, data, size);
    TTmxImport imported;
    try {
        imported = ReadTmxFile(in, 16);
    } catch (const TTiledError& e) {
        Check(std::strstr(e.what(), in.c_str()) != nullptr, "a refusal does not name the file");
        return 0;
    }
    Check(imported.FlippedTiles >= 0, "a negative count of flipped tiles");
    const std::string tmx = TmxText(imported.Map, world.ts.TileSize, "out-tileset.tsx");
    WriteBytes(out, reinterpret_cast<const uint8_t*>(tmx.data()), tmx.size());
    const TTmxImport back = ReadTmxFile(out, 16);
    Check(std::memcmp(&back.Map, &imported.Map, MapRecordSize) == 0, "an exported map does not read back the same");
    Check(back.Notes.empty(), "an exported map reads back with notes");
    return 0;
}
