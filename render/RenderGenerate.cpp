// quillmarch-render --generate: a map drawn by the generator, written as any output.
#include <QImage>
#include <random>

#include "base/Encoding.h"
#include "generate/GenStack.h"
#include "model/MapKey.h"
#include "model/RecordFile.h"
#include "render/Render.h"
#include "tiled/TiledExport.h"
#include "tiles/SymbolTable.h"

namespace qm {

namespace {
// The grid's cell size at start-up: what a new map opens with, and a picture's default zoom.
constexpr int GeneratedZoom = 16;

void WriteGeneratedKey(const std::string& path, const TMapKey& key) {
    const std::string text = KeyFileText(key);
    TAtomicFile file(path);
    file.Write(text.data(), text.size());
    file.Commit();
}

// One generated map (one level of a stack) written as the output asks.
void WriteGeneratedLevel(const TRenderArgs& args, const TGenLevel& level, const TRenderedTileset& ts,
                         const SymbolTable& symbols, std::ostream& out) {
    const TRenderGenerate& g = *args.Generate;
    const TMapRecord& map = level.Map;
    TRenderArgs named = args;
    // What the title line of a PDF calls the map.
    named.MapPath = std::string(GenStyleName(level.Options.Style)) + "-" + std::to_string(level.Options.Seed) +
                    (g.Levels > 1 ? "-level-" + std::to_string(level.Options.Level) : std::string()) + ".map";
    if (args.Job == TRenderJob::Pdf && g.Area) {
        named.Print.WholeMap = false;
        named.PrintArea = *g.Area;
    }
    if (args.Job == TRenderJob::MapFile) {
        WriteMapFile(args.OutputPath, map);
        out << args.OutputPath << "\n";
        if (!level.Result.Key.Empty()) {
            const std::string keyPath = KeyPathFor(args.OutputPath);
            WriteGeneratedKey(keyPath, level.Result.Key);
            out << keyPath << "\n";
        }
    } else if (args.Job == TRenderJob::TiledExport) {
        ExportTiledMap(args.OutputPath, map, ts, symbols, &level.Result.Key);
        const TTiledFileNames names = TiledFileNamesFor(args.OutputPath);
        out << names.Tmx << "\n" << names.Tsx << "\n" << names.Png << "\n";
    } else {
        // The key as a saved map would give it: labels, key pages, Foundry notes.
        WriteRendered(named, map, ts, &level.Result.Key);
        PrintWritten(args, out);
    }
}
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
    const TGenPalette palette = MakeGenPalette(symbols, ts.HiddenFlags, ts.LayerFlags);
    std::vector<TGenLevel> levels;
    if (g.Levels > 1) {
        levels = GenerateStack(map, o, g.Levels, g.Below, palette);
        NameStackLevels(levels, args.OutputPath);
    } else {
        levels.resize(1);
        levels[0].Options = o;
        levels[0].Map = map;
        levels[0].Result = GenerateMap(levels[0].Map, o, palette);
    }
    for (size_t k = 0; k < levels.size(); ++k)
        for (const std::string& line : levels[k].Result.LeftOut)
            err << "quillmarch-render: " << (levels.size() > 1 ? "level " + std::to_string(k + 1) + ": " : "")
                << "left out " << line << "\n";
    for (size_t k = 0; k < levels.size(); ++k) {
        TRenderArgs one = args;
        if (levels.size() > 1) one.OutputPath = LevelPath(args.OutputPath, int(k) + 1);
        WriteGeneratedLevel(one, levels[k], ts, symbols, out);
    }
}

} // namespace qm
