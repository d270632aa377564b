// One use of the Door tool: one step named "Door"; a click that finds no wall says so.
#include <QStatusBar>

#include "app/MainWindow.h"
#include "editor/DoorTool.h"

namespace qm {

namespace {
const QString DoorStep = QStringLiteral("Door");
}

void Twinviewform::DoorToolUse(int col, int row) {
    const TQuillmarch& a = *app_;
    const TDoorAction action = PlanDoor(a.Document.CurrentMap, col, row, a.Symbols).Action;
    if (action == TDoorAction::NoWall || action == TDoorAction::NoKind) {
        StatusBar1->showMessage(toolStatus_ = action == TDoorAction::NoWall
                                                  ? QStringLiteral("No wall here for a door.")
                                                  : QStringLiteral("This tileset has no door for this wall."));
        return;
    }
    ApplyToolStep(DoorStep, [&](TMapRecord& map) { return PlaceDoor(map, col, row, a.Symbols); });
}

} // namespace qm
