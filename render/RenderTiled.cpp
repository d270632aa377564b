// quillmarch-render's Tiled jobs: export a map for Tiled, import a Tiled map.
#include "base/Encoding.h"
#include "model/MapKey.h"
#include "render/Render.h"
#include "tiled/TiledExport.h"
#include "tiled/TmxReader.h"

namespace qm {

namespace {
// The grid's cell size at start-up: what a map from elsewhere opens with.
constexpr int ImportZoom = 16;
} // namespace

void RunTiledJob(const TRenderArgs& args, const QString& programFolder, std::ostream& out, std::ostream& err) {
    if (args.Job == TRenderJob::TiledExport) {
        TMapRecord map;
        TRenderedTileset ts;
        LoadMapAndTileset(args, programFolder, map, ts);
        // The key goes with the map to Tiled.
        TMapKey key;
        try {
            key = ReadKeyFile(KeyPathFor(args.MapPath));
        } catch (const TFileError& e) {
            throw TRenderError(e.what());
        }
        ExportTiledMap(args.OutputPath, map, ts, RolesOrTerrainOnly(ts, err), &key);
        const TTiledFileNames names = TiledFileNamesFor(args.OutputPath);
        out << names.Tmx << "\n" << names.Tsx << "\n" << names.Png << "\n";
        return;
    }
    const TTmxImport imported = ReadTmxFile(args.MapPath, ImportZoom);
    WriteMapAndKey(args.OutputPath, imported.Map, imported.Key);
    for (const std::string& note : imported.Notes) err << "quillmarch-render: " << args.MapPath << ": " << note << "\n";
    out << args.OutputPath << "\n";
}

} // namespace qm
