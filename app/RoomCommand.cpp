// One use of the Room tool: one step named "Room".
#include "app/MainWindow.h"
#include "editor/RoomTool.h"

namespace qm {

namespace {
const QString RoomStep = QStringLiteral("Room");
}

void Twinviewform::RoomToolUse(const TGridRect& sel, bool keepInside) {
    const TQuillmarch& a = *app_;
    ApplyToolStep(RoomStep, [&](TMapRecord& map) {
        return DrawRoom(map, sel, map.CurrentSymbol, keepInside, a.CurrentLayerMode, a.Tileset.LayerFlags, a.Symbols);
    });
}

} // namespace qm
