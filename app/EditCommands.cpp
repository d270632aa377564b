// The map view and the editing commands of the main window.
#include <QAction>
#include <QPainter>
#include <QToolButton>

#include "app/MainWindow.h"
#include "compose/CellPainters.h"
#include "compose/MapClamp.h"
#include "editor/Clipboard.h"
#include "editor/MapEdit.h"

namespace qm {

void Twinviewform::DrawGrid1DrawCell(QPainter& p, int col, int row, const QRect& rect, bool selected) {
    TQuillmarch& a = *app_;
    if (!a.Tileset.IsRendered() || !InsideMapGrid(col, row)) return;
    DrawMapGridCell(p, col, row, rect, selected, a.Document.CurrentMap, a.Tileset, a.CellBitmap, &a.CellCache);
    if (ShowGridLines1->isChecked()) {
        // Faint lines on each cell's right and bottom edge; the screen only, never the
        // composed cell that exports and prints use.
        p.setPen(QColor(0, 0, 0, 96));
        p.drawLine(rect.topRight(), rect.bottomRight());
        p.drawLine(rect.bottomLeft(), rect.bottomRight());
    }
    DrawCellLabel(p, col, row, rect);
}

void Twinviewform::SymbolGridDrawCell(QPainter& p, int, int row, const QRect& rect, bool selected) {
    TQuillmarch& a = *app_;
    const int symbol = SymbolAtRow(row);
    if (!a.Tileset.IsRendered() || symbol < 0) return;
    // Narrowed, the column marks the current symbol, wherever the grid's own selection is.
    if (narrowed_) selected = symbol == a.Document.CurrentMap.CurrentSymbol;
    DrawSymbolCell(p, symbol, rect, selected, a.Tileset, a.CellBitmap, &a.CellCache);
}

void Twinviewform::SymbolGridSelectCell(int, int row) {
    const int symbol = SymbolAtRow(row);
    if (symbol < 0) return;
    app_->Document.CurrentMap.CurrentSymbol = static_cast<uint8_t>(symbol); // no change to the map
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

void Twinviewform::EditMap(const QString& stepName, const std::function<void(TMapRecord&)>& change,
                           TSnapshot snapshot) {
    // A command that changed nothing still repaints (the selection may have moved).
    if (!app_->Document.Edit(stepName, change, snapshot)) RepaintMap();
}

void Twinviewform::EditMapAndKey(const QString& stepName, const std::function<void(TMapRecord&, TMapKey&)>& change) {
    if (!app_->Document.Edit(stepName, change)) RepaintMap();
}

void Twinviewform::LayerButtonClick() {
    const auto step = NextLayerStep(layerImage_);
    if (!step) return;
    layerImage_ = step->Image;
    app_->CurrentLayerMode = step->Mode;
    RefreshIcons();
}

void Twinviewform::ApplyZoom(int size) {
    app_->Document.CurrentMap.Zoom = static_cast<uint8_t>(size); // a view setting, no change
    DrawGrid1->SetCellSize(size, size);
    RepaintMap();
}

void Twinviewform::ZoomInExecute() { ApplyZoom(ZoomInSize(DrawGrid1->DefaultColWidth())); }

void Twinviewform::ZoomOutExecute() { ApplyZoom(ZoomOutSize(DrawGrid1->DefaultColWidth())); }

void Twinviewform::ShowHiddenClick() {
    // The item's own toggle has already inverted the check mark.
    // Saved with the map and used by printing: a change to the map.
    const bool on = ShowHidden->isChecked();
    EditMap(
        QStringLiteral("Show Hidden"), [on](TMapRecord& map) { SetShowHidden(map, on); }, TSnapshot::Keep);
}

void Twinviewform::SetBackground1Click() {
    EditMap(
        QStringLiteral("Background"), [](TMapRecord& map) { SetBackground(map); }, TSnapshot::Keep);
}

void Twinviewform::CutExecute() {
    TQuillmarch& a = *app_;
    const TGridRect sel = DrawGrid1->Selection();
    EditMapAndKey(QStringLiteral("Cut"), [&](TMapRecord& map, TMapKey& key) {
        CutSelection(map, a.MapClipboard, sel, a.CurrentLayerMode);
        CutLabels(key, a.MapClipboard, sel);
    });
}

void Twinviewform::CopyExecute() {
    // Copy takes the undo snapshot too, though it changes nothing.
    TQuillmarch& a = *app_;
    const TGridRect sel = DrawGrid1->Selection();
    EditMapAndKey(QStringLiteral("Copy"), [&](TMapRecord& map, TMapKey& key) {
        CopySelection(map, a.MapClipboard, sel, a.CurrentLayerMode);
        CopyLabels(key, a.MapClipboard, sel);
    });
}

void Twinviewform::PasteExecute() {
    TQuillmarch& a = *app_;
    const TGridRect sel = DrawGrid1->Selection();
    EditMapAndKey(QStringLiteral("Paste"), [&](TMapRecord& map, TMapKey& key) {
        PasteClipboard(map, a.MapClipboard, sel, a.CurrentLayerMode);
        PasteLabels(key, a.MapClipboard, sel);
    });
}

void Twinviewform::UndoExecute() {
    if (!app_->Document.Undo()) RepaintMap();
}

void Twinviewform::RepaintMap() { DrawGrid1->viewport()->update(); }

void Twinviewform::RepaintBoth() {
    app_->CellCache.Clear();
    DrawGrid1->viewport()->update();
    SymbolGrid->viewport()->update();
}

} // namespace qm
