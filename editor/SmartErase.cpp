#include "editor/SmartErase.h"

#include "compose/MapClamp.h"
#include "editor/SmartTerrain.h"

namespace qm {

int TerrainShapeOfQuarters(unsigned quarters) {
    for (int k = 1; k <= 15; ++k)
        if (TerrainShapeQuarters(k) == (quarters & 15u)) return k;
    return 0;
}

bool SmartEraseTerrain(TMapRecord& map, const TGridRect& sel, int base, TLayerMode mode) {
    if (base < 0 || base > 240) return false;
    const TTerrainStamp st{map, base, mode == lmLower};
    const TGridRect g = ClampSelectionToMap(sel);
    // Corner (i, j) is the top-left corner of 1-based cell (i + 1, j + 1); the erased
    // cells own corners Left..Right + 1 across and Top..Bottom + 1 down.
    const auto freed = [&](int i, int j) { return i >= g.Left && i <= g.Right + 1 && j >= g.Top && j <= g.Bottom + 1; };
    bool changed = false;
    for (int c = g.Left; c <= g.Right + 2; ++c)
        for (int r = g.Top; r <= g.Bottom + 2; ++r) {
            if (!InsideMap(c, r)) continue;
            const int symbol = ReadTerrainCell(st, c, r), shape = symbol - base;
            if (shape < 0 || shape > 15) continue;
            unsigned q = g.Contains(c - 1, r - 1) ? 0u : TerrainShapeQuarters(shape);
            if (freed(c - 1, r - 1)) q &= ~unsigned(qNW);
            if (freed(c, r - 1)) q &= ~unsigned(qNE);
            if (freed(c, r)) q &= ~unsigned(qSE);
            if (freed(c - 1, r)) q &= ~unsigned(qSW);
            // The lone patch outside the erased cells touches no corner: it stays.
            const int now = shape == 0 && !g.Contains(c - 1, r - 1) ? symbol : q ? base + TerrainShapeOfQuarters(q) : 0;
            if (now == symbol) continue;
            WriteTerrainCell(st, c, r, now);
            changed = true;
        }
    return changed;
}

} // namespace qm
