// One use of the Fill tool: one step named "Fill", inside the selection when it holds
// more than one cell.
#include "app/MainWindow.h"
#include "editor/FillTool.h"

namespace qm {

namespace {
const QString FillStep = QStringLiteral("Fill");
}

void Twinviewform::FillToolUse(int col, int row, const TGridRect& sel) {
    const TQuillmarch& a = *app_;
    const TGridRect bound = sel.Width() * sel.Height() > 1 ? sel : TGridRect{0, 0, MapSize - 1, MapSize - 1};
    ApplyToolStep(FillStep, [&](TMapRecord& map) {
        return FillFrom(map, col, row, bound, map.CurrentSymbol, a.CurrentLayerMode, a.Tileset.LayerFlags, a.Symbols);
    });
}

} // namespace qm
