// The map view and the editing commands of the main window.
#include <QAction>
#include <QPainter>
#include <QToolButton>
#include <cstring>

#include "app/MainWindow.h"
#include "editor/CellPainters.h"
#include "editor/Clipboard.h"
#include "editor/MapClamp.h"
#include "editor/MapEdit.h"

namespace qm {

namespace {
bool SameRecord(const TMapRecord& a, const TMapRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
} // namespace

void Twinviewform::DrawGrid1DrawCell(QPainter& p, int col, int row, const QRect& rect, bool selected) {
    TQuillmarch& a = *app_;
    if (!a.Tileset.IsRendered() || !InsideMapGrid(col, row)) return;
    DrawMapGridCell(p, col, row, rect, selected, a.CurrentMap, a.Tileset, a.CellBitmap, &a.CellCache);
    if (ShowGridLines1->isChecked()) {
        // Faint lines on each cell's right and bottom edge; the screen only, never the
        // composed cell that exports and prints use.
        p.setPen(QColor(0, 0, 0, 96));
        p.drawLine(rect.topRight(), rect.bottomRight());
        p.drawLine(rect.bottomLeft(), rect.bottomRight());
    }
}

void Twinviewform::SymbolGridDrawCell(QPainter& p, int, int row, const QRect& rect, bool selected) {
    TQuillmarch& a = *app_;
    if (!a.Tileset.IsRendered() || row < 0 || row > 255) return;
    DrawSymbolCell(p, row, rect, selected, a.Tileset, a.CellBitmap, &a.CellCache);
}

void Twinviewform::SymbolGridSelectCell(int, int row) {
    if (row < 0 || row > 255) return;
    app_->CurrentMap.CurrentSymbol = static_cast<uint8_t>(row);
    ButtonDraw->setChecked(true);
}

TTool Twinviewform::CurrentTool() const {
    const std::pair<QToolButton*, TTool> tools[] = {
        {ButtonDraw, TTool::Draw},     {ButtonErase, TTool::Eraser},  {ButtonWall, TTool::Wall},
        {ButtonWater, TTool::Water},   {ButtonFire, TTool::Fire},     {ButtonHole, TTool::Hole},
        {ButtonSlime, TTool::Slime},   {ButtonForest, TTool::Forest}, {ButtonMountain, TTool::Mountain},
        {ButtonDesert, TTool::Desert},
    };
    for (const auto& [button, tool] : tools)
        if (button->isChecked()) return tool;
    return TTool::Selection;
}

void Twinviewform::DrawGrid1MouseUp(Qt::KeyboardModifiers mods) {
    if (DrawingToolMouseUp(mods)) return;
    TQuillmarch& a = *app_;
    if (!ApplyTool(CurrentTool(), a.CurrentMap, a.UndoMap, DrawGrid1->Selection(), a.CurrentLayerMode,
                   a.Tileset.LayerFlags, (mods & Qt::ShiftModifier) != 0))
        return;
    // The tool took the undo snapshot first: a stroke that changed nothing is no change.
    if (SameRecord(a.CurrentMap, a.UndoMap)) RepaintMap();
    else MapChanged();
}

void Twinviewform::LayerButtonClick() {
    const auto step = NextLayerStep(layerImage_);
    if (!step) return;
    layerImage_ = step->Image;
    app_->CurrentLayerMode = step->Mode;
    RefreshIcons();
}

void Twinviewform::ApplyZoom(int size) {
    app_->CurrentMap.Zoom = static_cast<uint8_t>(size);
    DrawGrid1->SetCellSize(size, size);
    RepaintMap();
}

void Twinviewform::ZoomInExecute() { ApplyZoom(ZoomInSize(DrawGrid1->DefaultColWidth())); }

void Twinviewform::ZoomOutExecute() { ApplyZoom(ZoomOutSize(DrawGrid1->DefaultColWidth())); }

void Twinviewform::ShowHiddenClick() {
    // The item's own toggle has already inverted the check mark.
    // Saved with the map and used by printing: a change to the map.
    SetShowHidden(app_->CurrentMap, ShowHidden->isChecked());
    MapChanged();
}

void Twinviewform::SetBackground1Click() {
    const uint8_t before = app_->CurrentMap.Background;
    SetBackground(app_->CurrentMap);
    if (app_->CurrentMap.Background != before) MapChanged();
    else RepaintMap();
}

void Twinviewform::CutExecute() {
    TQuillmarch& a = *app_;
    CutSelection(a.CurrentMap, a.UndoMap, a.MapClipboard, DrawGrid1->Selection(), a.CurrentLayerMode);
    if (SameRecord(a.CurrentMap, a.UndoMap)) RepaintMap();
    else MapChanged();
}

void Twinviewform::CopyExecute() {
    TQuillmarch& a = *app_;
    CopySelection(a.CurrentMap, a.UndoMap, a.MapClipboard, DrawGrid1->Selection(), a.CurrentLayerMode);
    RepaintMap();
}

void Twinviewform::PasteExecute() {
    TQuillmarch& a = *app_;
    PasteClipboard(a.CurrentMap, a.UndoMap, a.MapClipboard, DrawGrid1->Selection(), a.CurrentLayerMode);
    if (SameRecord(a.CurrentMap, a.UndoMap)) RepaintMap();
    else MapChanged();
}

void Twinviewform::UndoExecute() {
    TQuillmarch& a = *app_;
    const bool same = SameRecord(a.CurrentMap, a.UndoMap);
    UndoExchange(a.CurrentMap, a.UndoMap);
    if (same) RepaintMap();
    else MapChanged();
}

void Twinviewform::RepaintMap() { DrawGrid1->viewport()->update(); }

void Twinviewform::RepaintBoth() {
    app_->CellCache.Clear();
    DrawGrid1->viewport()->update();
    SymbolGrid->viewport()->update();
}

} // namespace qm
