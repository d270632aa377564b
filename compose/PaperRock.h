#pragma once
// Rock as paper: printed dungeons leave solid rock white and draw a band of pen hatching
// along the walls. Solid rock is what wall and mountain terrain cover (the quarters the
// roles table names) less the wall's face on the open side; everything else composes as
// it always has. Shared by the printed pages and the exported pictures.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <cstdint>
#include <functional>
#include <vector>

#include "compose/Compose.h"
#include "compose/GridRect.h"
#include "model/MapRecord.h"
#include "tiles/Tileset.h"

namespace qm {

// How solid rock prints: as the map draws it, as white paper with a hatched band along
// the walls, or all white.
enum TRockPrint { rpDrawn = 0, rpHatched = 1, rpWhite = 2 };

// The choices in TRockPrint order: the dialogs' text and the command line's word.
struct TRockChoice {
    const char* Text;
    const char* Word;
};
inline constexpr TRockChoice RockChoices[] = {{"As Drawn", "drawn"}, {"Hatched Edge", "hatched"}, {"White", "white"}};

// Depth of a wall's face, in cells from the edge of the rock: the terrain pieces draw their
// face (outline and bevel) within it.
inline constexpr double RockFaceDepth = 5.5 / 48.0;
// Reach of the hatched band from the nearest place, in cells.
inline constexpr double RockBandReach = 1.0;

// Quarters (QuarterNW..QuarterSE) that symbol s covers as rock: a wall with quarters in
// the tileset's roles (wall and mountain terrain); 0 for anything else.
uint8_t RockQuartersOf(const TRenderedTileset& ts, uint8_t s);

// The rock quarters of the shown layers of map cell (c, r), 0-based.
uint8_t CellRockQuarters(const TMapRecord& map, const TRenderedTileset& ts, int c, int r);

// Whether any cell of the map shows solid rock.
bool HasRock(const TMapRecord& map, const TRenderedTileset& ts);

// Whether 1-based map cell (x, y) holds a place: something drawn (a symbol on either layer,
// as the drawn part counts it) and a quarter that no rock covers.
bool HoldsPlace(const TMapRecord& map, const TRenderedTileset* ts, int x, int y);

// The solid part of rock covering `quarters` of a cell of 1 x 1 at the origin: the covered
// quarters less the face, rounded at the cell's centre as the terrain pieces are. Cell
// borders are taken as continued by the neighbour, as the pieces draw them.
const QPainterPath& SolidRockPath(uint8_t quarters);

// Whether the solid rock of `quarters` is the whole cell.
inline bool AllSolid(uint8_t quarters) { return quarters == 15; }

// Whether map cell (c, r), 0-based, prints as nothing but paper: solid rock all over and
// no object above it.
bool AllPaper(const TMapRecord& map, const TRenderedTileset& ts, int c, int r);

// Composes the cell's layers as ComposeCell does, with the solid rock left white: what
// lies below the rock is left out, an object above lower-layer rock stays. `ground`, when
// given, is applied after the background and the lower layer (the print's ink saver).
void ComposePaperCell(QImage& cellBitmap, const TRenderedTileset& ts, const TCellLayers& l,
                      const std::function<void(QImage&)>& ground = {});

// The hatching's colour for rock symbol s: the darkest tone of its terrain's pieces (of
// the symbol itself outside the terrain rows).
QColor RockHatchColor(const TRenderedTileset& ts, uint8_t s);

// The hatched band over `cells` (0-based, inside the map): pen lines at 45 degrees on one
// lattice for the whole map, so they run on across cells and sheets, clipped to the solid
// rock that lies within RockBandReach of a place. Cell (cells.Left, cells.Top) has its
// top-left corner at `origin`; cells are cw x ch device units.
void DrawRockHatching(QPainter& p, const TMapRecord& map, const TRenderedTileset& ts, const TGridRect& cells,
                      QPointF origin, double cw, double ch);

} // namespace qm
