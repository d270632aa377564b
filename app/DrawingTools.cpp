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
#include "editor/RoomTool.h"
#include "tiles/SymbolTable.h"
#include "tiles/ToolIcon.h"

namespace qm {

namespace {

// Button, menu item and icon of each tool; captions, hints and shortcuts are in the command table.
struct TDrawingToolControls {
    const char* button;
    const char* item;
    const char* icon;
};

constexpr TDrawingToolControls DrawingTools[] = {
    {"ButtonRoom", "Room1", "room"},
    {"ButtonDoor", "Door1", "door"},
    {"ButtonFill", "Fill1", "fill"},
    {"ButtonLabel", "Label1", "label"},
};

} // namespace

void Twinviewform::CreateDrawingTools() {
    QToolButton* buttons[] = {ButtonRoom, ButtonDoor, ButtonFill, ButtonLabel};
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
        {ButtonLabel, ""},
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

TToolGesture Twinviewform::Gesture(Qt::KeyboardModifiers mods, bool atPointer) const {
    TToolGesture g;
    g.Tool = CurrentTool();
    g.Drawing = ButtonRoom->isChecked()   ? TDrawingTool::Room
                : ButtonDoor->isChecked() ? TDrawingTool::Door
                : ButtonFill->isChecked() ? TDrawingTool::Fill
                                          : TDrawingTool::None;
    g.Selection = DrawGrid1->Selection();
    g.Col = atPointer ? pointer_.Col : DrawGrid1->Col();
    g.Row = atPointer ? pointer_.Row : DrawGrid1->Row();
    g.Shift = (mods & Qt::ShiftModifier) != 0;
    g.Alt = (mods & Qt::AltModifier) != 0;
    g.Dragging = pointer_.Dragging;
    return g;
}

TToolContext Twinviewform::ToolContext() const {
    return {app_->CurrentLayerMode, app_->Tileset.LayerFlags, app_->Symbols};
}

void Twinviewform::DrawGrid1MouseUp(Qt::KeyboardModifiers mods) {
    if (LabelToolMouseUp()) return;
    // The eyedropper: Ctrl + click with Draw takes the symbol instead of drawing.
    const TToolGesture g = Gesture(mods, false);
    if ((mods & Qt::ControlModifier) && g.Tool == TTool::Draw && g.Drawing == TDrawingTool::None &&
        PickSymbolFromMap(g.Col, g.Row)) {
        RepaintMap(); // the selection moved to the cell
        return;
    }
    const TToolOutcome out = UseTool(app_->Document, Gesture(mods, false), ToolContext());
    // A use that changed nothing still repaints (the selection may have moved).
    if (out.Used && !out.Changed) RepaintMap();
    if (!out.Status.isEmpty()) StatusBar1->showMessage(toolStatus_ = out.Status);
}

void Twinviewform::ShowDrawingToolStatus() {
    // Off the map (and while the window is still being built) there is nothing to say.
    const bool onMap = pointer_.Col >= 0 && pointer_.Row >= 0;
    const QString text = !onMap ? QString()
                         : ButtonLabel->isChecked()
                             ? LabelToolHint()
                             : ToolHint(app_->Document.CurrentMap, Gesture(QGuiApplication::keyboardModifiers(), true),
                                        ToolContext());
    if (text.isEmpty()) {
        if (!toolStatus_.isEmpty() && StatusBar1->currentMessage() == toolStatus_) StatusBar1->clearMessage();
    } else StatusBar1->showMessage(text);
    toolStatus_ = text;
}

} // namespace qm
