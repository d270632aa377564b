#pragma once
// What quillmarch-render does once its command line is parsed: read the map, render
// its tileset, and write the picture or print the PDF through the program's own
// composition, writers, page handler and print-preview component.
#include <QString>
#include <ostream>

#include "model/MapKey.h"
#include "model/MapRecord.h"
#include "render/RenderArgs.h"
#include "tiles/SymbolTable.h"
#include "tiles/Tileset.h"

namespace qm {

// A failure that ends the run with exit status 1; the message is shown as it is.
class TRenderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The tileset file to render for this map: --tileset when given (it must be a
// readable file), else the map's TilesetName beside the map file, then in the
// program folder, then in the user's tileset folder; empty for the built-in tileset.
QString ChooseTilesetFile(const TRenderArgs& args, const TMapRecord& map, const QString& programFolder);

// Reads the map and renders the chosen tileset. A file that is not one whole map record
// is refused unless --accept-any-size (then a short file fills only the start of a cleared
// record, as Open does). Throws TRenderError.
void LoadMapAndTileset(const TRenderArgs& args, const QString& programFolder, TMapRecord& map, TRenderedTileset& ts);

// The roles table beside the chosen tileset. A broken one costs the names and roles, not
// the job: the reason goes to `err` and only the terrain roles remain.
SymbolTable RolesOrTerrainOnly(const TRenderedTileset& ts, std::ostream& err);

// The Tiled jobs: MAP OUT.tmx writes the three Tiled files, IN.tmx OUT.map imports.
// Import notes (flipped tiles, layers left out) go to `err` without failing the run.
void RunTiledJob(const TRenderArgs& args, const QString& programFolder, std::ostream& out, std::ostream& err);

// The key beside the map (MAP.key.md), when the job draws labels or key pages: a key
// that cannot be read fails the run then; otherwise it is not read at all.
TMapKey LoadKeyFor(const TRenderArgs& args);

// Writes the picture, the tabletop map or the PDF that the output's extension asks for;
// `key` gives the labels and key pages asked for.
void WriteRendered(const TRenderArgs& args, const TMapRecord& map, const TRenderedTileset& ts,
                   const TMapKey* key = nullptr);
// One line naming each file the run wrote (a Foundry scene's picture too).
void PrintWritten(const TRenderArgs& args, std::ostream& out);

// --generate: draws the map with the generator (the seed picked and printed when none is
// given, what the tileset lacks noted on `err`), then writes it as the output asks.
void RunGenerated(const TRenderArgs& args, std::ostream& out, std::ostream& err);

// Runs the whole job; one line per file written goes to `out`, messages to `err`.
// Returns the exit status (0 or 1).
int RunRender(const TRenderArgs& args, const QString& programFolder, std::ostream& out, std::ostream& err);

} // namespace qm
