#include "editor/MapEdit.h"

#include "compose/MapClamp.h"
#include "editor/SmartTerrain.h"
#include "tiles/SymbolTable.h"

namespace qm {

void PaintCell(TMapCell& cell, uint8_t symbol, TLayerMode mode, const TLayerFlags& layerFlags) {
    // The empty symbol erases, in every mode.
    if (symbol == 0) {
        EraseCell(cell, mode);
        return;
    }
    switch (mode) {
    case lmUpper: cell.Upper = symbol; break;
    case lmLower: cell.Lower = symbol; break;
    default:
        if (layerFlags[symbol] == 1) cell.Upper = symbol;
        else cell.Lower = symbol;
        break;
    }
}

void PaintMapCell(TMapRecord& map, int col, int row, uint8_t symbol, TLayerMode mode, const TLayerFlags& layerFlags) {
    if (!InsideMap(col, row)) return;
    PaintCell(map.Cell(col, row), symbol, mode, layerFlags);
}

void DrawSelection(TMapRecord& map, const TGridRect& sel, uint8_t symbol, TLayerMode mode,
                   const TLayerFlags& layerFlags) {
    const TGridRect g = ClampSelectionToMap(sel);
    for (int c = g.Left; c <= g.Right; ++c)
        for (int r = g.Top; r <= g.Bottom; ++r) PaintMapCell(map, c + 1, r + 1, symbol, mode, layerFlags);
}

void EraseSelection(TMapRecord& map, const TGridRect& sel, TLayerMode mode) {
    const TGridRect g = ClampSelectionToMap(sel);
    for (int c = g.Left; c <= g.Right; ++c)
        for (int r = g.Top; r <= g.Bottom; ++r) EraseCell(map.Cell(c + 1, r + 1), mode);
}

int TerrainBaseOf(TTool tool) {
    switch (tool) {
    case TTool::Wall: return 128;
    case TTool::Water: return 144;
    case TTool::Fire: return 160;
    case TTool::Hole: return 176;
    case TTool::Slime: return 192;
    case TTool::Forest: return 208;
    case TTool::Mountain: return 224;
    case TTool::Desert: return 240;
    default: return -1;
    }
}

void DrawCommand(TMapRecord& map, const TGridRect& sel, TLayerMode mode, const TLayerFlags& layerFlags) {
    DrawSelection(map, sel, map.CurrentSymbol, mode, layerFlags);
}

void EraserCommand(TMapRecord& map, const TGridRect& sel, TLayerMode mode) { EraseSelection(map, sel, mode); }

void SmartTerrainCommand(TMapRecord& map, const TGridRect& sel, int base, TLayerMode mode) {
    const TGridRect g = ClampSelectionToMap(sel);
    StampSmartTerrain(map, g.Left + 1, g.Top + 1, base, mode);
}

void SmartTerrainAlongCommand(TMapRecord& map, const TGridRect& sel, int base, TLayerMode mode) {
    const TGridRect g = ClampSelectionToMap(sel);
    for (int r = g.Top; r <= g.Bottom; ++r)
        for (int c = g.Left; c <= g.Right; ++c) StampSmartTerrain(map, c + 1, r + 1, base, mode);
}

void ApplyTool(TTool tool, TMapRecord& map, const TGridRect& sel, TLayerMode mode, const TLayerFlags& layerFlags,
               bool alongDrag) {
    switch (tool) {
    case TTool::Selection: return;
    case TTool::Draw: DrawCommand(map, sel, mode, layerFlags); return;
    case TTool::Eraser: EraserCommand(map, sel, mode); return;
    default:
        if (alongDrag) SmartTerrainAlongCommand(map, sel, TerrainBaseOf(tool), mode);
        else SmartTerrainCommand(map, sel, TerrainBaseOf(tool), mode);
        return;
    }
}

QString ToolStepName(TTool tool, bool alongDrag) {
    switch (tool) {
    case TTool::Selection: return {};
    case TTool::Draw: return QStringLiteral("Draw");
    case TTool::Eraser: return QStringLiteral("Erase");
    default:
        if (alongDrag) return QStringLiteral("Stamp area");
        return QString::fromLatin1(TerrainName((TerrainBaseOf(tool) - 128) / 16)) + QStringLiteral(" terrain");
    }
}

namespace {
struct TZoomStep {
    int Size, In, Out;
};
constexpr TZoomStep ZoomTable[] = {
    {8, 16, 8}, {16, 32, 8}, {32, 48, 16}, {48, 64, 32}, {64, 80, 48}, {80, 96, 64}, {96, 96, 80},
};
} // namespace

int ZoomInSize(int w) {
    for (const TZoomStep& z : ZoomTable)
        if (z.Size == w) return z.In;
    return 96;
}

int ZoomOutSize(int w) {
    for (const TZoomStep& z : ZoomTable)
        if (z.Size == w) return z.Out;
    return 8;
}

std::optional<TLayerStep> NextLayerStep(int image) {
    switch (image) {
    case 16: return TLayerStep{14, lmUpper};
    case 14: return TLayerStep{15, lmLower};
    case 15: return TLayerStep{16, lmAuto};
    default: return std::nullopt;
    }
}

} // namespace qm
