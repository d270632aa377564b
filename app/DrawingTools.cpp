// The drawing tools beside the eleven: Room, Door and Fill on the tool bar and in the
// "Tools" menu, smart erase as Alt with a smart tool, and the status bar's word on what
// the tool will do under the pointer.
#include <QAction>
#include <QButtonGroup>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>

#include "app/MainWindow.h"
#include "editor/DoorTool.h"
#include "editor/FillTool.h"
#include "editor/RoomTool.h"
#include "tiles/SymbolTable.h"
#include "tiles/ToolIcon.h"

namespace qm {

namespace {

// Button, menu item and icon of each tool; captions, hints and shortcuts are in the command table.
struct TDrawingTool {
    const char* button;
    const char* item;
    const char* icon;
};

constexpr TDrawingTool DrawingTools[] = {
    {"ButtonRoom", "Room1", "room"},
    {"ButtonDoor", "Door1", "door"},
    {"ButtonFill", "Fill1", "fill"},
};

} // namespace

void Twinviewform::CreateDrawingTools() {
    QToolButton* buttons[] = {ButtonRoom, ButtonDoor, ButtonFill};
    for (size_t i = 0; i < std::size(DrawingTools); ++i) {
        buttons[i]->setIcon(DrawingToolIcon(QString::fromLatin1(DrawingTools[i].icon)));
        if (auto* item = Tools1->findChild<QAction*>(QString::fromLatin1(DrawingTools[i].item)))
            item->setIcon(buttons[i]->icon());
    }
    connect(ToolGroup, &QButtonGroup::buttonToggled, this, [this] { ShowDrawingToolStatus(); });
}

void Twinviewform::RoomItemClick() { ButtonRoom->setChecked(true); }
void Twinviewform::DoorItemClick() { ButtonDoor->setChecked(true); }
void Twinviewform::FillItemClick() { ButtonFill->setChecked(true); }

void Twinviewform::UpdateDrawingTools() {
    const std::pair<QToolButton*, const char*> why[] = {
        {ButtonRoom, RoomToolUnavailable(app_->Symbols)},
        {ButtonDoor, DoorToolUnavailable(app_->Symbols)},
        {ButtonFill, ""},
    };
    for (size_t i = 0; i < std::size(why); ++i) {
        const auto& [b, reason] = why[i];
        const bool on = *reason == 0;
        b->setEnabled(on);
        b->setToolTip(on ? b->statusTip().trimmed() : QString::fromUtf8(reason));
        if (auto* item = Tools1->findChild<QAction*>(QString::fromLatin1(DrawingTools[i].item))) item->setEnabled(on);
        if (!on && b->isChecked()) ToolButton28->setChecked(true);
    }
}

bool Twinviewform::ApplyToolStep(const QString& step, const std::function<bool(TMapRecord&)>& change) {
    // A use that changes nothing keeps the last step the one Undo takes back.
    TMapRecord result = app_->Document.CurrentMap;
    if (!change(result) || !app_->Document.Edit(step, [&](TMapRecord& map) { map = result; })) {
        RepaintMap();
        return false;
    }
    StatusBar1->showMessage(toolStatus_ = step + QStringLiteral(": done; Undo takes it back."));
    return true;
}

bool Twinviewform::DrawingToolMouseUp(Qt::KeyboardModifiers mods) {
    const TGridRect sel = DrawGrid1->Selection();
    const int base = TerrainBaseOf(CurrentTool());
    if (ButtonRoom->isChecked()) RoomToolUse(sel, (mods & Qt::ShiftModifier) != 0);
    else if (ButtonDoor->isChecked()) DoorToolUse(DrawGrid1->Col() + 1, DrawGrid1->Row() + 1);
    else if (ButtonFill->isChecked()) FillToolUse(DrawGrid1->Col(), DrawGrid1->Row(), sel);
    else if ((mods & Qt::AltModifier) && base >= 0) SmartEraseUse(sel, base);
    else return false;
    return true;
}

QString Twinviewform::DrawingToolStatus() const {
    const TQuillmarch& a = *app_;
    if (pointerCol_ < 0 || pointerRow_ < 0) return {};
    const TMapRecord& map = a.Document.CurrentMap;
    const int col = pointerCol_ + 1, row = pointerRow_ + 1;
    const auto name = [this](int s) { return s ? SymbolName(s) : QStringLiteral("empty"); };
    const TGridRect sel = DrawGrid1->Selection();
    const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
    if (ButtonRoom->isChecked()) {
        const QString inside = (mods & Qt::ShiftModifier) ? QStringLiteral("the inside untouched")
                               : IsRoomFloor(map.CurrentSymbol, a.CurrentLayerMode, a.Tileset.LayerFlags)
                                   ? QStringLiteral("a floor of ") + name(map.CurrentSymbol)
                                   : QStringLiteral("the inside keeping its ground");
        if (dragging_)
            return QStringLiteral("Room %1 x %2: a ring of wall, %3.").arg(sel.Width()).arg(sel.Height()).arg(inside);
        return QStringLiteral("Room: drag a rectangle for a ring of wall and %1 (Shift: walls only).").arg(inside);
    }
    if (ButtonDoor->isChecked()) {
        const TDoorPlan p = PlanDoor(map, col, row, a.Symbols);
        switch (p.Action) {
        case TDoorAction::NoWall: return QStringLiteral("Door: no wall here.");
        case TDoorAction::NoKind: return QStringLiteral("Door: this tileset has no door for this wall.");
        case TDoorAction::Place: return QStringLiteral("Door: %1 goes here.").arg(name(p.To));
        case TDoorAction::Cycle:
            return p.To == p.From ? QStringLiteral("Door: %1 is the only kind for this wall.").arg(name(p.To))
                                  : QStringLiteral("Door: %1 instead of %2.").arg(name(p.To), name(p.From));
        }
    }
    if (ButtonFill->isChecked()) {
        const bool inSel = dragging_ && sel.Width() * sel.Height() > 1;
        const TFillArea area = FillAreaAt(map, pointerCol_, pointerRow_,
                                          inSel ? sel : TGridRect{0, 0, MapSize - 1, MapSize - 1}, map.CurrentSymbol,
                                          a.CurrentLayerMode, a.Tileset.LayerFlags, a.Symbols);
        if (area.Cells.empty()) return QStringLiteral("Fill: nothing to fill on a wall.");
        return QStringLiteral("Fill: %1 cells of %2 take %3.")
            .arg(area.Cells.size())
            .arg(name(area.From), name(map.CurrentSymbol));
    }
    const int base = TerrainBaseOf(CurrentTool());
    if (base >= 0 && (mods & Qt::AltModifier)) {
        const TMapCell& cell = map.Cell(col, row);
        const int s = a.CurrentLayerMode == lmLower ? cell.Lower : cell.Upper;
        const QString terrain = QString::fromLatin1(TerrainName((base - 128) / 16));
        return s >= base && s < base + 16
                   ? QStringLiteral("Smart erase: takes the %1 out and fits what is around it.").arg(terrain)
                   : QStringLiteral("Smart erase: no %1 here.").arg(terrain);
    }
    return {};
}

void Twinviewform::ShowDrawingToolStatus() {
    const QString text = DrawingToolStatus();
    if (text.isEmpty()) {
        if (!toolStatus_.isEmpty() && StatusBar1->currentMessage() == toolStatus_) StatusBar1->clearMessage();
    } else StatusBar1->showMessage(text);
    toolStatus_ = text;
}

} // namespace qm
