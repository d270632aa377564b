#pragma once
// Terrain seen as cell corners, to judge the editing tools from outside: a piece covers a
// quarter of its cell exactly when the terrain holds the corner that quarter touches, so
// two cells that share a corner must agree about it.
#include <set>
#include <string>
#include <utility>

#include "editor/SmartTerrain.h"
#include "model/MapRecord.h"

namespace qmtest {

// Quarters (qm::TQuarter bits) terrain `base` covers in 1-based cell (c, r) on the upper layer.
inline unsigned Quarters(const qm::TMapRecord& m, int c, int r, int base) {
    const int k = m.Cell(c, r).Upper - base;
    return k >= 1 && k <= 15 ? qm::TerrainShapeQuarters(k) : 0u;
}

// "" when every two map cells sharing a corner agree whether the terrain holds it; else
// the first disagreement.
inline std::string Disjoined(const qm::TMapRecord& m, int base) {
    using namespace qm;
    for (int c = 1; c <= MapSize; ++c)
        for (int r = 1; r <= MapSize; ++r) {
            // The corner at the cell's south-east, as each of the four cells round it sees it.
            if (c == MapSize || r == MapSize) continue;
            const bool a = Quarters(m, c, r, base) & qSE, b = Quarters(m, c + 1, r, base) & qSW,
                       d = Quarters(m, c, r + 1, base) & qNE, e = Quarters(m, c + 1, r + 1, base) & qNW;
            if (a != b || a != d || a != e)
                return "corner south-east of column " + std::to_string(c) + ", row " + std::to_string(r);
        }
    return "";
}

// The shapes terrain takes when it holds exactly the corners of `cells` (1-based): "" when
// the map's upper layer shows exactly that for terrain `base`, else the first difference.
inline std::string DiffersFromCorners(const qm::TMapRecord& m, const std::set<std::pair<int, int>>& cells, int base) {
    using namespace qm;
    // Corner (i, j) is the top-left corner of cell (i + 1, j + 1); it is held when one of
    // the four cells round it is in `cells`.
    const auto held = [&](int i, int j) {
        for (int dc = 0; dc <= 1; ++dc)
            for (int dr = 0; dr <= 1; ++dr)
                if (cells.count({i + dc, j + dr})) return true;
        return false;
    };
    for (int c = 1; c <= MapSize; ++c)
        for (int r = 1; r <= MapSize; ++r) {
            const unsigned want = (held(c - 1, r - 1) ? qNW : 0u) | (held(c, r - 1) ? qNE : 0u) |
                                  (held(c, r) ? qSE : 0u) | (held(c - 1, r) ? qSW : 0u);
            const int k = m.Cell(c, r).Upper - base;
            const unsigned got = k >= 1 && k <= 15 ? TerrainShapeQuarters(k) : (m.Cell(c, r).Upper ? 99u : 0u);
            if (got != want)
                return "column " + std::to_string(c) + ", row " + std::to_string(r) + ": quarters " +
                       std::to_string(got) + " instead of " + std::to_string(want);
        }
    return "";
}

} // namespace qmtest
