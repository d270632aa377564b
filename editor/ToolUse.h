#pragma once
// One use of the map grid's tools on a mouse release, as one named edit of the map
// document, and what the status bar says a tool will do under the pointer. Widget-free:
// the window says which tool is checked and where, these decide the rest.
#include <QString>

#include "compose/GridRect.h"
#include "editor/MapDocument.h"
#include "editor/MapEdit.h"
#include "tiles/SymbolTable.h"

namespace qm {

// The drawing tools beside the eleven buttons of TTool.
enum class TDrawingTool { None, Room, Door, Fill };

struct TToolGesture {
    TTool Tool = TTool::Selection;             // the checked one of the eleven
    TDrawingTool Drawing = TDrawingTool::None; // or the checked drawing tool
    TGridRect Selection;                       // 0-based
    int Col = -1, Row = -1;                    // 0-based: the grid's cell at the release, the pointer's cell for a hint
    bool Shift = false, Alt = false;
    bool Dragging = false; // a drag is under way (hints only)
};

struct TToolContext {
    TLayerMode Mode;
    const TLayerFlags& LayerFlags;
    const SymbolTable& Symbols;
};

struct TToolOutcome {
    bool Used = false;    // a tool took the release (the Selection tool does not)
    bool Changed = false; // the map changed: a new step is current
    QString Status;       // for the status bar; "" = nothing to say
};

// Room (Shift: walls only), Door at the cell, Fill from the cell (inside a selection of
// more than one cell), smart erase (Alt with a smart tool), else the tool on the selection
// (Shift: a smart tool stamps along it). A use that changes nothing records no step.
TToolOutcome UseTool(TMapDocument& doc, const TToolGesture& gesture, const TToolContext& context);

// What the drawing tool or smart erase will do at the gesture's cell; "" for other tools
// or when the pointer is off the map.
QString ToolHint(const TMapRecord& map, const TToolGesture& gesture, const TToolContext& context);

} // namespace qm
