#pragma once
// Drawing tools and layers as functions over the map record. Cells are addressed by
// 1-based column and row; selections by 0-based grid rectangles. Spare is never touched.
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "compose/GridRect.h"
#include "editor/EraseCell.h"
#include "model/MapRecord.h"

namespace qm {

using TLayerFlags = std::array<uint8_t, 256>;

// The layer rule for one cell: lmAuto follows layerFlags, lmUpper and lmLower write
// that layer only; symbol 0 is EraseCell. Shared with the maplet editor.
void PaintCell(TMapCell& cell, uint8_t symbol, TLayerMode mode, const TLayerFlags& layerFlags);

// Cell (col, row), each 1..72; a cell outside the map is left alone.
void PaintMapCell(TMapRecord& map, int col, int row, uint8_t symbol, TLayerMode mode, const TLayerFlags& layerFlags);

// Over a selection (clamped into the map), column by column, rows within.
void DrawSelection(TMapRecord& map, const TGridRect& sel, uint8_t symbol, TLayerMode mode,
                   const TLayerFlags& layerFlags);
void EraseSelection(TMapRecord& map, const TGridRect& sel, TLayerMode mode);

// The tool buttons of the map grid, in the order the release tests them.
enum class TTool { Selection, Draw, Eraser, Wall, Water, Fire, Hole, Slime, Forest, Mountain, Desert };

// First symbol of a smart tool's terrain row (128, 144, ..., 240); -1 for other tools.
int TerrainBaseOf(TTool tool);

// The commands run on a mouse release, as one edit of the map document each (which
// takes the undo snapshot first).
// Draw paints map.CurrentSymbol; a smart tool stamps once at the selection's top-left cell.
void DrawCommand(TMapRecord& map, const TGridRect& sel, TLayerMode mode, const TLayerFlags& layerFlags);
void EraserCommand(TMapRecord& map, const TGridRect& sel, TLayerMode mode);
void SmartTerrainCommand(TMapRecord& map, const TGridRect& sel, int base, TLayerMode mode);
// A smart tool dragged with Shift: a stamp at every cell of the selection, row by row
// from the top, left to right within a row.
void SmartTerrainAlongCommand(TMapRecord& map, const TGridRect& sel, int base, TLayerMode mode);

// The map grid's mouse release: runs the tool on the selection. Does nothing for the
// Selection tool. alongDrag: smart tools stamp every selected cell instead of the
// top-left one.
void ApplyTool(TTool tool, TMapRecord& map, const TGridRect& sel, TLayerMode mode, const TLayerFlags& layerFlags,
               bool alongDrag = false);
// The name of the step a tool's edit records: "Draw", "Erase", or the smart tool's
// terrain ("Wall terrain"); with Shift-drag a smart tool records "Stamp area".
QString ToolStepName(TTool tool, bool alongDrag);

// Zoom steps over 8, 16, 32, 48, 64, 80, 96; any other size goes to 96 (in) or 8 (out).
int ZoomInSize(int w);
int ZoomOutSize(int w);

// Layer button: image 16 -> 14 (lmUpper) -> 15 (lmLower) -> 16 (lmAuto); other images: none.
struct TLayerStep {
    int Image;
    TLayerMode Mode;
};
std::optional<TLayerStep> NextLayerStep(int image);

// View settings kept in the record; they never take the undo snapshot.
inline void SetBackground(TMapRecord& map) { map.Background = map.CurrentSymbol; }
inline void SetShowHidden(TMapRecord& map, bool on) { map.ShowHidden = on ? 1 : 0; }

} // namespace qm
