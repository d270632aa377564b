// Any bytes as a tileset picture: rendering must either succeed with a sane tileset or
// refuse with TTilesetError, leaving the previous tileset in use.
#include <QImage>

#include "fuzz/FuzzSupport.h"
#include "tiles/Tileset.h"

using namespace qm;
using namespace qmfuzz;

namespace {
struct World {
    TRenderedTileset ts;
    TMapRecord map{};
    QImage tileBitmap;
    World() { RenderTileset(ts, map, QString(), tileBitmap, nullptr); }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World world;
    static const std::string path = ScratchFile("in.bmp");
    WriteBytes(path, data, size);

    const uint64_t before = world.ts.Generation;
    const int beforeSize = world.ts.TileSize;
    try {
        RenderTileset(world.ts, world.map, QString::fromStdString(path), world.tileBitmap, nullptr);
    } catch (const TTilesetError&) {
        Check(world.ts.Generation == before && world.ts.TileSize == beforeSize,
              "a refused tileset changed the one in use");
        return 0;
    }
    const int n = world.ts.TileSize;
    Check(n >= 1 && n <= MaxTileSize, "a rendered tileset has an impossible tile size");
    for (const QImage& im : world.ts.DesktopPalette)
        Check(im.width() == n && im.height() == n, "a symbol image has the wrong size");
    for (const QImage& im : world.ts.ToolPalette)
        Check(im.width() == 16 && im.height() == 16, "an icon has the wrong size");
    for (int s = 0; s < 256; ++s)
        Check(world.ts.HiddenFlags[s] <= 1 && world.ts.LayerFlags[s] <= 1, "a flag is neither 0 nor 1");
    return 0;
}
