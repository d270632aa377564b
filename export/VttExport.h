#pragma once
// The virtual-tabletop export (Universal VTT: .dd2vtt, .uvtt, .df2vtt): the map picture
// plus the geometry that blocks sight and movement, doors, windows and lights (see
// VttGeometry.h), written for the tabletop a file is meant for. Widget-free.
#include <cstdint>
#include <string>
#include <vector>

#include "compose/GridRect.h"
#include "export/PictureWriters.h"
#include "export/VttGeometry.h"
#include "model/MapKey.h"
#include "model/MapRecord.h"
#include "tiles/SymbolTable.h"
#include "tiles/Tileset.h"

namespace qm {

// Pixels per cell a tabletop picture may use: at most 16384 pixels a side for the whole map.
constexpr int MinVttPixelsPerCell = 16;
constexpr int MaxVttPixelsPerCell = 227;
constexpr int DefaultVttPixelsPerCell = 100;

// The tabletop a file is meant for. Generic writes the format as it is; the others keep
// within what that tabletop's importer takes (README: Tabletop targets).
enum class TVttTarget { Generic, Foundry, Owlbear, Roll20, Fgu };

struct TVttTargetInfo {
    TVttTarget Target;
    const char* Id;   // "foundry", as --vtt-target takes it
    const char* Name; // "Foundry VTT", as the dialog and messages show it
    int DefaultPixelsPerCell;
    int MaxSide = 0;                               // pixels a side of the picture, 0 = no limit
    double MaxMegapixels = 0;                      // 0 = no limit
    std::uint64_t MaxBytes = 0;                    // of the whole file, 0 = no limit
    bool TakesJpeg = false;                        // a JPEG picture inside the file is read
    int MaxWalls = 0, MaxDoors = 0, MaxLights = 0; // 0 = no limit
};
const TVttTargetInfo& VttTargetInfo(TVttTarget target);
// Generic, Foundry, Owlbear, Roll20, Fgu in that order.
const std::vector<TVttTargetInfo>& VttTargets();
// The target named by its id; nullptr when there is none.
const TVttTargetInfo* VttTargetById(const std::string& id);

// A file the target would not take. `FittingPixelsPerCell` is the largest cell size whose
// file it takes (0 when no size would do: too many walls, doors or lights).
class TVttLimitError : public TFileError {
public:
    TVttLimitError(const std::string& message, int fitting) : TFileError(message), FittingPixelsPerCell(fitting) {}
    int FittingPixelsPerCell;
};

struct TVttOptions {
    TVttTarget Target = TVttTarget::Generic;
    int PixelsPerCell = DefaultVttPixelsPerCell;
    bool IncludeHidden = false;   // hidden symbols in the picture, secret doors as doors
    int Rock = 0;                 // TRockPrint: solid rock in the picture as drawn, hatched or white
    bool RoomNumbers = false;     // the map key's numbers in the picture (the game master's copy)
    const TMapKey* Key = nullptr; // the key they come from; none: no numbers
};

// Writes the whole file through a temporary file and a rename. Throws TFileError (a
// cell size outside MinVttPixelsPerCell..MaxVttPixelsPerCell included), TVttLimitError
// when the target would not take the file, or TExportCancelled when the progress
// callback says stop; nothing is left behind then. A target with a byte limit gets a
// JPEG picture where it reads one and the PNG would not fit.
void ExportVttMap(const std::string& path, const TMapRecord& map, const TRenderedTileset& ts,
                  const SymbolTable& symbols, const TGridRect& area, const TVttOptions& options,
                  const TProgressFn& progress = {});
// The same for the limits of `target` in place of options.Target's own.
void ExportVttMap(const std::string& path, const TMapRecord& map, const TRenderedTileset& ts,
                  const SymbolTable& symbols, const TGridRect& area, const TVttOptions& options,
                  const TVttTargetInfo& target, const TProgressFn& progress = {});

} // namespace qm
