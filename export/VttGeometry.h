#pragma once
// The geometry of a virtual-tabletop file: what blocks sight and movement, doors, windows
// and lights, in whole-map cell units. It comes from the symbol table: walls at half-cell
// resolution from the quarters wall symbols cover, thin walls along cell sides, door and
// window spans, obstacle outlines and light sources. Widget-free.
#include <cstdint>
#include <vector>

#include "compose/GridRect.h"
#include "model/MapRecord.h"
#include "tiles/SymbolTable.h"
#include "tiles/Tileset.h"

namespace qm {

// Geometry is built, and the file's numbers written, in thousandths of a cell.
constexpr int VttUnitsPerCell = 1000;

struct TVttPoint {
    double x = 0, y = 0;
    bool operator==(const TVttPoint&) const = default;
};
using TVttPolyline = std::vector<TVttPoint>; // a closed loop repeats its first point at the end

struct TVttPortal {
    TVttPoint a, b;        // the span, west to east or north to south
    bool vertical = false; // in a north-south wall
    bool closed = true;    // a closed door; false for a window or an open door
    bool secret = false;   // a secret door (only with hidden symbols included)
    bool window = false;   // a window: blocks movement, not sight
};

struct TVttLight {
    TVttPoint at;
    double range = 0;
    std::uint32_t color = 0; // AARRGGBB
};

struct TVttGeometry {
    std::vector<TVttPolyline> Walls;   // line_of_sight
    std::vector<TVttPolyline> Objects; // objects_line_of_sight
    std::vector<TVttPortal> Portals;
    std::vector<TVttLight> Lights;
};

// The geometry of `area` (0-based grid cells, inclusive) of the map, in whole-map cell
// units. A hidden symbol gives the geometry of what players see in its place
// (PlayerSymbolAt), and the frame of a secret door's passage that of the wall running
// past it (PlayerFrameAt); with `includeHidden`, a secret door (a hidden symbol standing in
// for a wall piece) is a closed door across that wall instead: one door for each run of
// secret doors side by side, across the passage their frame leaves open.
TVttGeometry VttGeometry(const TMapRecord& map, const TRenderedTileset& ts, const SymbolTable& symbols,
                         const TGridRect& area, bool includeHidden = false);

} // namespace qm
