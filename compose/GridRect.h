#pragma once
// A rectangle of grid cells, 0-based and inclusive. Kept apart from the grid widget
// so the editing functions can take a selection without pulling in a window class.

namespace qm {

struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0; // 0-based columns/rows, inclusive, normalised
    bool Contains(int c, int r) const { return c >= Left && c <= Right && r >= Top && r <= Bottom; }
    int Width() const { return Right - Left + 1; }
    int Height() const { return Bottom - Top + 1; }
    bool operator==(const TGridRect&) const = default;
};

// Corners in any order, put in order and clamped into cols x rows (each at least 1).
inline TGridRect NormalisedGridRect(int c1, int r1, int c2, int r2, int cols, int rows) {
    auto clamp = [](int v, int hi) { return v < 0 ? 0 : (v > hi ? hi : v); };
    const int maxC = cols > 0 ? cols - 1 : 0, maxR = rows > 0 ? rows - 1 : 0;
    c1 = clamp(c1, maxC);
    c2 = clamp(c2, maxC);
    r1 = clamp(r1, maxR);
    r2 = clamp(r2, maxR);
    TGridRect g;
    g.Left = c1 < c2 ? c1 : c2;
    g.Right = c1 < c2 ? c2 : c1;
    g.Top = r1 < r2 ? r1 : r2;
    g.Bottom = r1 < r2 ? r2 : r1;
    return g;
}

} // namespace qm
