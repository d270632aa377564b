// Files of the wrong size where a whole record belongs: a GeoSet opened over a loaded one
// is either taken whole or refused whole, never a mix of the two; the renderer refuses a
// map that is not one map record long unless told to read it anyway.
#include <QDir>
#include <QImage>
#include <cstring>

#include "fuzz/FuzzSupport.h"
#include "geoset/GeoSet.h"
#include "model/RecordFile.h"
#include "render/Render.h"

using namespace qm;
using namespace qmfuzz;

namespace {
struct World {
    TRenderedTileset ts;
    TMapRecord map{};
    QImage tileBitmap;
    TGeoSetRecord loaded; // the GeoSet open before the input
    std::string loadedPath;
    World() {
        QDir::setCurrent(QString::fromStdString(ScratchDir()));
        RenderTileset(ts, map, QString(), tileBitmap, nullptr);
        auto* b = reinterpret_cast<uint8_t*>(&loaded);
        for (size_t k = 0; k < sizeof loaded; ++k) b[k] = uint8_t(k * 37 + 11);
        loaded.TilesetName[0] = 0; // the tileset in use: nothing to render
        loaded.Position = 2;
        loaded.Section = 3;
        loadedPath = ScratchFile("loaded.geo");
        WriteGeoSetFile(loadedPath, loaded);
    }
};

void OpenGeoSetOverLoaded(World& world, const std::string& in, const uint8_t* data, size_t size) {
    auto doc = std::make_unique<TGeoSetDocument>(world.ts);
    // The input never names a tileset to render: bytes 23382.. are the name, kept empty.
    LoadGeoSet(*doc, QString::fromStdString(world.loadedPath));
    Check(std::memcmp(&doc->GeoSet, &world.loaded, sizeof world.loaded) == 0, "the loaded GeoSet did not read back");
    bool refused = false;
    try {
        LoadGeoSet(*doc, QString::fromStdString(in));
    } catch (const TNotARecordError&) {
        refused = true;
    }
    const auto* rec = reinterpret_cast<const uint8_t*>(&doc->GeoSet);
    if (refused) {
        Check(size != GeoSetRecordSize, "a whole GeoSet was refused");
        Check(std::memcmp(rec, &world.loaded, sizeof world.loaded) == 0, "a refused GeoSet changed the loaded one");
        Check(doc->FileName() == QString::fromStdString(world.loadedPath), "a refused GeoSet took the file name");
        return;
    }
    Check(size == GeoSetRecordSize, "a GeoSet of the wrong size was read");
    // Taken whole: every byte the file's, but for an out-of-range Position or Section.
    for (size_t k = 0; k < GeoSetRecordSize; ++k)
        if (k != offsetof(TGeoSetRecord, Position) && k != offsetof(TGeoSetRecord, Section))
            Check(rec[k] == data[k], "a read GeoSet mixes in the old one's bytes");
}

void RenderMap(const std::string& in, size_t size, bool acceptAnySize) {
    TRenderArgs args;
    args.MapPath = in;
    args.AcceptAnySize = acceptAnySize;
    TMapRecord map;
    TRenderedTileset ts;
    try {
        LoadMapAndTileset(args, QString::fromStdString(ScratchDir()) + "/", map, ts);
    } catch (const TRenderError& e) {
        const bool wrongSize = std::strstr(e.what(), " is not a Quillmarch map (") != nullptr;
        Check(wrongSize == (!acceptAnySize && size != sizeof(TMapRecord)), "a map's size was judged wrongly");
        return;
    }
    Check(acceptAnySize || size == sizeof(TMapRecord), "the renderer read a map of the wrong size");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World world;
    static const std::string geo = ScratchFile("in.geo");
    static const std::string map = ScratchFile("in.map");
    // GeoSet input: its tileset name is cleared so that only the size decides.
    std::vector<uint8_t> bytes(data, data + size);
    const size_t name = offsetof(TGeoSetRecord, TilesetName);
    if (bytes.size() > name) bytes[name] = 0;
    WriteBytes(geo, bytes.data(), bytes.size());
    OpenGeoSetOverLoaded(world, geo, bytes.data(), bytes.size());

    // Map input: a tileset name would send the renderer looking for files; clear it too.
    bytes.assign(data, data + size);
    const size_t mapName = offsetof(TMapRecord, TilesetName);
    if (bytes.size() > mapName) bytes[mapName] = 0;
    WriteBytes(map, bytes.data(), bytes.size());
    RenderMap(map, bytes.size(), size % 2 == 1);
    return 0;
}
