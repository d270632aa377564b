// A map file as the user opens it: read over the current record, then saved again;
// the saved file must hold exactly the record.
//
// Built twice. fuzz_map is the quick one, so a short run sees many inputs: every
// cell's visible layers are checked, and only the cells a small window shows are
// composed, through the grid's cache at a small cell size, with a small picture of a
// corner. fuzz_map_full takes the whole path on the same seeds: every cell composed
// at the tileset's size, the window and the picture at the zoom the file asks for.
#include <QImage>
#include <algorithm>
#include <cstring>

#include "compose/CellPainters.h"
#include "compose/Compose.h"
#include "export/ExportPicture.h"
#include "fuzz/FuzzSupport.h"
#include "model/MapRecord.h"
#include "model/RecordFile.h"
#include "tiles/Tileset.h"

#ifndef QM_FUZZ_MAP_FULL
#define QM_FUZZ_MAP_FULL 0
#endif

using namespace qm;
using namespace qmfuzz;

namespace {
constexpr bool Full = QM_FUZZ_MAP_FULL != 0;

struct World {
    TRenderedTileset ts;
    TMapRecord scratchMap{};
    QImage tileBitmap;
    World() { RenderTileset(ts, scratchMap, QString(), tileBitmap, nullptr); }
};

// What a cell shows: its own symbols, hidden ones left out giving way to what players see
// in their place, over the row's background.
void CheckVisibleLayers(const TMapRecord& map, const TRenderedTileset& ts) {
    for (int c = 0; c < MapSize; ++c)
        for (int r = 0; r < MapSize; ++r) {
            const TCellLayers l = VisibleLayers(map, ts, c, r);
            const TMapCell& cell = map.Cell(c + 1, r + 1);
            Check(l.Background == BackgroundForRow(map.Background, r), "a cell shows the wrong background");
            // The frame of a secret door's passage shows the wall running past it: it only
            // ever gains wall quarters.
            auto shown = [&](uint8_t s) -> uint8_t {
                if (s == 0) return s;
                if (IsHiddenSymbol(map, ts, s)) return PlayerSymbolAt(*ts.Roles, s, map, c, r);
                if (map.ShowHidden) return s;
                const uint8_t frame = PlayerFrameAt(*ts.Roles, ts.HiddenFlags, s, map, c, r);
                const uint8_t q = (*ts.Roles)[s].quarters;
                Check(frame == s || ((*ts.Roles)[frame].quarters & q) == q, "a secret door's frame loses wall");
                return frame;
            };
            Check(l.Lower == shown(cell.Lower), "a cell shows the wrong lower symbol");
            Check(l.Upper == shown(cell.Upper), "a cell shows the wrong upper symbol");
        }
}
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

    QImage cellBitmap;
    if (Full) {
        // Every cell composed at the tileset's size.
        for (int c = 0; c < MapSize; ++c)
            for (int r = 0; r < MapSize; ++r) {
                ComposeMapCell(cellBitmap, map, world.ts, c, r);
                Check(cellBitmap.width() == world.ts.TileSize, "a composed cell has the wrong size");
            }
    } else {
        CheckVisibleLayers(map, world.ts);
    }

    // The cells a 192-pixel window shows, painted as the map grid does through its
    // cache of composed cells (kept across inputs, as across repaints). The quick
    // target keeps cells and window small, the window at a corner the file picks.
    const int left = map.CurrentSymbol % (MapSize - 1), top = map.Background % (MapSize - 1);
    const int z = Full ? std::max<int>(map.Zoom, 1) : 1 + map.Zoom % 8;
    const int c0 = Full ? 0 : left, r0 = Full ? 0 : top;
    const int span = Full ? MapSize : 8;
    static TCellCache cache;
    const int side = Full ? 192 : 64;
    QImage canvas(side, side, QImage::Format_RGB32);
    {
        QPainter p(&canvas);
        for (int c = 0; c < span && c0 + c < MapSize && c * z < canvas.width(); ++c)
            for (int r = 0; r < span && r0 + r < MapSize && r * z < canvas.height(); ++r)
                DrawMapGridCell(p, c0 + c, r0 + r, QRect(c * z, r * z, z, z), (c + r) % 7 == 0, map, world.ts,
                                cellBitmap, &cache);
    }

    // The picture of a 2 x 2 corner the file also picks.
    const int zoom = Full ? map.Zoom : map.Zoom == 0 ? 0 : z;
    const QImage picture = ComposeMapPicture(map, world.ts, TGridRect{left, top, left + 1, top + 1}, zoom);
    Check(zoom == 0 ? picture.isNull() : picture.width() == 2 * zoom, "the picture has the wrong size");

    WriteMapFile(out, map);
    const std::vector<uint8_t> saved = ReadBytes(out);
    Check(saved.size() == MapRecordSize && std::memcmp(saved.data(), bytes, MapRecordSize) == 0,
          "saving did not write the record byte for byte");
    return 0;
}
