#include "editor/ToolUse.h"

#include <functional>

#include "editor/DoorTool.h"
#include "editor/FillTool.h"
#include "editor/RoomTool.h"
#include "editor/SmartErase.h"
#include "editor/WhereAmI.h"

namespace qm {

namespace {

const TGridRect WholeMap{0, 0, MapSize - 1, MapSize - 1};

bool ManyCells(const TGridRect& r) { return r.Width() * r.Height() > 1; }

// A drawing tool's use as one step; one that changes nothing keeps the last step the
// one Undo takes back.
TToolOutcome ToolStep(TMapDocument& doc, const QString& step, const std::function<void(TMapRecord&)>& change) {
    if (!doc.Edit(step, change, TSnapshot::IfChanged)) return {true, false, {}};
    return {true, true, step + QStringLiteral(": done; Undo takes it back.")};
}

} // namespace

TToolOutcome UseTool(TMapDocument& doc, const TToolGesture& g, const TToolContext& c) {
    const int base = TerrainBaseOf(g.Tool);
    switch (g.Drawing) {
    case TDrawingTool::Room:
        return ToolStep(doc, QStringLiteral("Room"), [&](TMapRecord& map) {
            DrawRoom(map, g.Selection, map.CurrentSymbol, g.Shift, c.Mode, c.LayerFlags, c.Symbols, !g.Shift);
        });
    case TDrawingTool::Door: {
        const TDoorAction action = PlanDoor(doc.CurrentMap, g.Col + 1, g.Row + 1, c.Symbols).Action;
        if (action == TDoorAction::NoWall) return {true, false, QStringLiteral("No wall here for a door.")};
        if (action == TDoorAction::NoKind)
            return {true, false, QStringLiteral("This tileset has no door for this wall.")};
        return ToolStep(doc, QStringLiteral("Door"),
                        [&](TMapRecord& map) { PlaceDoor(map, g.Col + 1, g.Row + 1, c.Symbols); });
    }
    case TDrawingTool::Fill: {
        const TGridRect bound = ManyCells(g.Selection) ? g.Selection : WholeMap;
        return ToolStep(doc, QStringLiteral("Fill"), [&](TMapRecord& map) {
            FillFrom(map, g.Col, g.Row, bound, map.CurrentSymbol, c.Mode, c.LayerFlags, c.Symbols);
        });
    }
    case TDrawingTool::None: break;
    }
    if (g.Alt && base >= 0)
        return ToolStep(doc, QStringLiteral("Smart erase"),
                        [&](TMapRecord& map) { SmartEraseTerrain(map, g.Selection, base, c.Mode); });
    if (g.Tool == TTool::Selection) return {};
    const bool changed = doc.Edit(ToolStepName(g.Tool, g.Shift), [&](TMapRecord& map) {
        ApplyTool(g.Tool, map, g.Selection, c.Mode, c.LayerFlags, g.Shift);
    });
    return {true, changed, {}};
}

QString ToolHint(const TMapRecord& map, const TToolGesture& g, const TToolContext& c) {
    if (g.Col < 0 || g.Row < 0 || g.Col >= MapSize || g.Row >= MapSize) return {};
    const auto name = [&](int s) { return s ? SymbolName(c.Symbols, s) : QStringLiteral("empty"); };
    switch (g.Drawing) {
    case TDrawingTool::Room: {
        const QString inside = g.Shift ? QStringLiteral("the inside untouched")
                               : IsRoomFloor(map.CurrentSymbol, c.Mode, c.LayerFlags)
                                   ? QStringLiteral("a floor of ") + name(map.CurrentSymbol)
                                   : QStringLiteral("the inside keeping its ground");
        if (g.Dragging) {
            const size_t doorways = g.Shift ? 0 : RoomDoorways(map, g.Selection, c.Symbols).size();
            const QString ring = doorways == 0 ? QStringLiteral("a ring of wall")
                                 : doorways == 1
                                     ? QStringLiteral("a ring of wall open to the floor it crosses in 1 place")
                                     : QStringLiteral("a ring of wall open to the floor it crosses in %1 places")
                                           .arg(doorways);
            return QStringLiteral("Room %1 x %2: %3, %4.")
                .arg(g.Selection.Width())
                .arg(g.Selection.Height())
                .arg(ring, inside);
        }
        return QStringLiteral("Room: drag a rectangle for a ring of wall and %1 (Shift: walls only).").arg(inside);
    }
    case TDrawingTool::Door: {
        const TDoorPlan p = PlanDoor(map, g.Col + 1, g.Row + 1, c.Symbols);
        switch (p.Action) {
        case TDoorAction::NoWall: return QStringLiteral("Door: no wall here.");
        case TDoorAction::NoKind: return QStringLiteral("Door: this tileset has no door for this wall.");
        case TDoorAction::Place: return QStringLiteral("Door: %1 goes here.").arg(name(p.To));
        case TDoorAction::Cycle:
            return p.To == p.From ? QStringLiteral("Door: %1 is the only kind for this wall.").arg(name(p.To))
                                  : QStringLiteral("Door: %1 instead of %2.").arg(name(p.To), name(p.From));
        }
        return {};
    }
    case TDrawingTool::Fill: {
        const TGridRect bound = g.Dragging && ManyCells(g.Selection) ? g.Selection : WholeMap;
        const TFillArea area = FillAreaAt(map, g.Col, g.Row, bound, map.CurrentSymbol, c.Mode, c.LayerFlags, c.Symbols);
        if (area.Cells.empty()) return QStringLiteral("Fill: nothing to fill on a wall.");
        return QStringLiteral("Fill: %1 cells of %2 take %3.")
            .arg(area.Cells.size())
            .arg(name(area.From), name(map.CurrentSymbol));
    }
    case TDrawingTool::None: break;
    }
    const int base = TerrainBaseOf(g.Tool);
    if (base < 0 || !g.Alt) return {};
    const TMapCell& cell = map.Cell(g.Col + 1, g.Row + 1);
    const int s = c.Mode == lmLower ? cell.Lower : cell.Upper;
    const QString terrain = QString::fromLatin1(TerrainName((base - 128) / 16));
    return s >= base && s < base + 16
               ? QStringLiteral("Smart erase: takes the %1 out and fits what is around it.").arg(terrain)
               : QStringLiteral("Smart erase: no %1 here.").arg(terrain);
}

} // namespace qm
