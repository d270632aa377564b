#pragma once
// The Foundry VTT scene export: the scene as the JSON that Foundry's "Import Data" on a
// scene reads (V13 data; later versions migrate it on import) and its background picture
// beside it. Walls, doors, windows, obstacles and lights come from the tabletop geometry
// (VttGeometry.h); secret doors are Foundry's secret doors, map notes are pinned to cells.
// Widget-free.
#include <string>
#include <vector>

#include "compose/GridRect.h"
#include "export/PictureWriters.h"
#include "export/VttExport.h"
#include "export/VttGeometry.h"
#include "model/MapKey.h"
#include "model/MapRecord.h"
#include "tiles/SymbolTable.h"
#include "tiles/Tileset.h"

namespace qm {

// The Foundry version whose data the scene is written as (`_stats.coreVersion`).
extern const char* const FoundryCoreVersion;
// Feet a grid cell stands for (the scene's grid distance); light ranges follow it.
constexpr int FoundryFeetPerCell = 5;

// A map note: a pin at the centre of cell (Col, Row) (0-based, whole map) with its text,
// e.g. "3. Guard room". It links no journal entry, so only the game master sees it.
struct TFoundryNote {
    int Col = 0, Row = 0;
    std::string Text;
};

// One note per entry of the map key, at its cell, named as its heading ("3. Guard room").
std::vector<TFoundryNote> FoundryNotes(const TMapKey& key);

struct TFoundryOptions {
    int PixelsPerCell = DefaultVttPixelsPerCell;
    bool IncludeHidden = false; // hidden symbols in the picture, secret doors as secret doors
    std::string Name;           // the scene's name; empty: the file's name without its extension
    // The folder inside Foundry's user data the picture is uploaded to ("worlds/keep"); empty:
    // the top of the user data.
    std::string PictureFolder;
    std::vector<TFoundryNote> Notes; // outside the area: left out
};

// The picture written beside `jsonPath`: the same name ending in .png.
std::string FoundryPicturePath(const std::string& jsonPath);

// The scene's JSON for geometry `g` of `area` (whole-map cell units), its picture at
// `pictureSrc`, `name`, notes and cell size. The same input gives the same bytes.
std::string FoundrySceneJson(const TVttGeometry& g, const TGridRect& area, int pixelsPerCell,
                             const std::string& pictureSrc, const std::string& name,
                             const std::vector<TFoundryNote>& notes);

// Writes OUT.json and its picture (FoundryPicturePath), each through a temporary file and
// a rename, the picture first. Throws TFileError (a cell size outside
// MinVttPixelsPerCell..MaxVttPixelsPerCell, which keeps a whole map within Foundry's 16384
// pixels a side; a folder name Foundry cannot take) or TExportCancelled; nothing new is
// left behind then.
void ExportFoundryScene(const std::string& path, const TMapRecord& map, const TRenderedTileset& ts,
                        const SymbolTable& symbols, const TGridRect& area, const TFoundryOptions& options,
                        const TProgressFn& progress = {});

} // namespace qm
