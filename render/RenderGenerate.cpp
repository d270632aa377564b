// quillmarch-render --generate: a map drawn by the generator, written as any output.
#include <QImage>
#include <random>

#include "base/Encoding.h"
#include "render/Render.h"
#include "tiled/TiledExport.h"
#include "tiles/SymbolTable.h"

namespace qm {

namespace {
// The grid's cell size at start-up: what a new map opens with, and a picture's default zoom.
constexpr int GeneratedZoom = 16;
} // namespace

void RunGenerated(const TRenderArgs& args, std::ostream& out, std::ostream& err) {
    const TRenderGenerate& g = *args.Generate;
    TMapRecord map;
    TRenderedTileset ts;
    ResetMap(map, "", GeneratedZoom);
    QString tileset;
    if (!args.TilesetPath.empty()) tileset = ChooseTilesetFile(args, map, QString());
    QImage tileBitmap;
    try {
        RenderTileset(ts, map, tileset, tileBitmap, nullptr); // names the map's tileset too
    } catch (const TTilesetError& e) {
        throw TRenderError(e.what());
    }
    const SymbolTable symbols = RolesOrTerrainOnly(ts, err);
    TGenerateOptions o;
    o.Style = g.Style;
    o.Density = g.Density;
    if (g.Area) o.Area = *g.Area;
    if (g.Seed) {
        o.Seed = *g.Seed;
    } else {
        std::random_device device;
        o.Seed = std::uint32_t(device());
        out << "seed " << o.Seed << "\n";
    }
    const TGenerateResult result = GenerateMap(map, o, MakeGenPalette(symbols, ts.HiddenFlags, ts.LayerFlags));
    for (const std::string& line : result.LeftOut) err << "quillmarch-render: left out " << line << "\n";

    TRenderArgs named = args;
    // What the title line of a PDF calls the map.
    named.MapPath = std::string(GenStyleName(g.Style)) + "-" + std::to_string(o.Seed) + ".map";
    if (args.Job == TRenderJob::Pdf && g.Area) {
        named.Print.WholeMap = false;
        named.PrintArea = *g.Area;
    }
    if (args.Job == TRenderJob::MapFile) {
        WriteMapFile(args.OutputPath, map);
        out << args.OutputPath << "\n";
    } else if (args.Job == TRenderJob::TiledExport) {
        ExportTiledMap(args.OutputPath, map, ts, symbols);
        const TTiledFileNames names = TiledFileNamesFor(args.OutputPath);
        out << names.Tmx << "\n" << names.Tsx << "\n" << names.Png << "\n";
    } else {
        WriteRendered(named, map, ts);
        PrintWritten(args, out);
    }
}

} // namespace qm
