// A map file as the user opens it: read over the current record, every cell composed
// with the built-in tileset, the corner the grid shows and a small picture painted at
// the map's own zoom, then saved again. The saved file must hold exactly the record.
#include <QImage>
#include <cstring>

#include "FuzzSupport.h"
#include "editor/CellPainters.h"
#include "editor/Compose.h"
#include "export/ExportPicture.h"
#include "model/MapRecord.h"
#include "model/RecordFile.h"
#include "tiles/Tileset.h"

using namespace qm;
using namespace qmfuzz;

namespace {
struct World {
    TRenderedTileset ts;
    TMapRecord scratchMap{};
    QImage tileBitmap;
    World() { RenderTileset(ts, scratchMap, QString(), tileBitmap, nullptr); }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World world;
    static const std::string in = ScratchFile("in.map");
    static const std::string out = ScratchFile("out.map");
    WriteBytes(in, data, size);

    // What was in memory before: a short file keeps the rest of it.
    TMapRecord map;
    std::memset(&map, 0xA5, sizeof map);
    ReadMapFile(in, map);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&map);
    const size_t got = size < MapRecordSize ? size : MapRecordSize;
    Check(std::memcmp(bytes, data, got) == 0, "the record does not start with the file's bytes");
    for (size_t i = got; i < MapRecordSize; ++i) Check(bytes[i] == 0xA5, "a short file changed the rest of the record");

    // Every cell composed at the tileset's size, then the cells a 192-pixel window shows
    // at the zoom the file asks for, painted as the map grid does through its cache of
    // composed cells (kept across inputs, as across repaints).
    QImage cellBitmap;
    for (int c = 0; c < MapSize; ++c)
        for (int r = 0; r < MapSize; ++r) {
            ComposeMapCell(cellBitmap, map, world.ts, c, r);
            Check(cellBitmap.width() == world.ts.TileSize, "a composed cell has the wrong size");
        }
    static TCellCache cache;
    QImage canvas(192, 192, QImage::Format_RGB32);
    {
        QPainter p(&canvas);
        const int z = map.Zoom < 1 ? 1 : map.Zoom;
        for (int c = 0; c < MapSize && c * z < canvas.width(); ++c)
            for (int r = 0; r < MapSize && r * z < canvas.height(); ++r)
                DrawMapGridCell(p, c, r, QRect(c * z, r * z, z, z), (c + r) % 7 == 0, map, world.ts, cellBitmap, &cache);
    }

    // The picture at the zoom the file asks for, over a 2 x 2 corner it also picks.
    const int left = map.CurrentSymbol % (MapSize - 1), top = map.Background % (MapSize - 1);
    const QImage picture = ComposeMapPicture(map, world.ts, TGridRect{left, top, left + 1, top + 1}, map.Zoom);
    Check(map.Zoom == 0 ? picture.isNull() : picture.width() == 2 * map.Zoom, "the picture has the wrong size");

    WriteMapFile(out, map);
    const std::vector<uint8_t> saved = ReadBytes(out);
    Check(saved.size() == MapRecordSize && std::memcmp(saved.data(), bytes, MapRecordSize) == 0,
          "saving did not write the record byte for byte");
    return 0;
}
