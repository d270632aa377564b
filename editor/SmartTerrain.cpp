#include "editor/SmartTerrain.h"

#include <initializer_list>

namespace qm {

namespace {

// A set of shapes 0..15 as a bit mask.
using TShapeSet = uint16_t;
constexpr TShapeSet Set(std::initializer_list<int> shapes) {
    TShapeSet s = 0;
    for (int k : shapes) s = TShapeSet(s | (1u << k));
    return s;
}

// Shapes whose covered quarters meet a condition.
constexpr TShapeSet NorthSide = Set({1, 9, 11, 13});  // NW and NE
constexpr TShapeSet SouthSide = Set({2, 10, 12, 13}); // SW and SE
constexpr TShapeSet WestSide = Set({3, 11, 12, 13});  // NW and SW
constexpr TShapeSet EastSide = Set({4, 9, 10, 13});   // NE and SE
constexpr TShapeSet SWnotSE = Set({3, 5, 11, 15});
constexpr TShapeSet SEnotSW = Set({4, 8, 9, 14});
constexpr TShapeSet NWnotNE = Set({3, 6, 12, 14});
constexpr TShapeSet NEnotNW = Set({4, 7, 10, 15});
constexpr TShapeSet NWnotSW = Set({1, 6, 9, 14});
constexpr TShapeSet SWnotNW = Set({2, 5, 10, 15});
constexpr TShapeSet NEnotSE = Set({1, 7, 11, 15});
constexpr TShapeSet SEnotNE = Set({2, 8, 12, 14});

constexpr int Full = 13;

struct TOffset {
    int dc, dr; // from the centre: columns east, rows south
};

// Steps 2 to 5: an edge neighbour, its first shape, and at most one change by the
// shape of the cell beyond it.
struct TEdgeStep {
    TOffset cell;
    int first;
    TOffset beyond;
    struct {
        TShapeSet set;
        int shape;
    } change[3];
};

constexpr TEdgeStep EdgeSteps[] = {
    //  cell     first  beyond     if beyond in -> write
    {{0, -1}, 2, {0, -2}, {{SouthSide, 13}, {SWnotSE, 12}, {SEnotSW, 10}}}, // N
    {{+1, 0}, 3, {+2, 0}, {{WestSide, 13}, {NWnotSW, 11}, {SWnotNW, 12}}},  // E
    {{0, +1}, 1, {0, +2}, {{NorthSide, 13}, {NWnotNE, 11}, {NEnotNW, 9}}},  // S
    {{-1, 0}, 4, {-2, 0}, {{EastSide, 13}, {NEnotSE, 9}, {SEnotNE, 10}}},   // W
};

// Steps 6 to 9: a corner D with its partners P (same row) and Q (same column) and
// its outer neighbours H (beside D in its row) and V (beside D in its column).
// One row per rule of the step, as the rules read.
// clang-format off
struct TCornerStep {
    TOffset d, p, q, h, v;
    int outer;
    TShapeSet pSet; int pShape; TShapeSet vSet1, hSet1; int shape1;
    TShapeSet qSet; int qShape; TShapeSet hSet2, vSet2; int shape2;
    TShapeSet hSet3, vSet3; int shape3;
    TShapeSet hSet4, vSet4; int shape4;
};

constexpr TCornerStep CornerSteps[] = {
    // NW: P = N, Q = W
    {{-1, -1}, {0, -1}, {-1, 0}, {-2, -1}, {-1, -2}, 8,
     WestSide, 4, SouthSide, NEnotSE, 9,
     NorthSide, 2, EastSide, SWnotSE, 12,
     SEnotNE, SEnotSW, 10,
     NEnotSE, SWnotSE, 14},
    // NE: P = N, Q = E
    {{+1, -1}, {0, -1}, {+1, 0}, {+2, -1}, {+1, -2}, 5,
     EastSide, 3, SouthSide, NWnotSW, 11,
     NorthSide, 2, WestSide, SEnotSW, 10,
     SWnotNW, SWnotSE, 12,
     NWnotSW, SEnotSW, 15},
    // SE: P = S, Q = E
    {{+1, +1}, {0, +1}, {+1, 0}, {+2, +1}, {+1, +2}, 6,
     EastSide, 3, NorthSide, SWnotNW, 12,
     SouthSide, 1, WestSide, NEnotNW, 9,
     NWnotSW, NWnotNE, 11,
     SWnotNW, NEnotNW, 14},
    // SW: P = S, Q = W
    {{-1, +1}, {0, +1}, {-1, 0}, {-2, +1}, {-1, +2}, 7,
     WestSide, 4, NorthSide, SEnotNE, 10,
     SouthSide, 1, EastSide, NWnotNE, 11,
     NEnotSE, NEnotNW, 9,
     SEnotNE, NWnotNE, 15},
};
// clang-format on

class TStamp {
public:
    TStamp(const TTerrainStamp& st, int col, int row) : st_(st), col_(col), row_(row) {}

    bool In(TOffset o, TShapeSet set) const {
        const int shape = ReadTerrainCell(st_, col_ + o.dc, row_ + o.dr) - st_.Base;
        return shape >= 1 && shape <= 15 && (set & (1u << shape)) != 0;
    }
    bool Holds(TOffset o, int shape) const {
        return ReadTerrainCell(st_, col_ + o.dc, row_ + o.dr) == st_.Base + shape;
    }
    void Write(TOffset o, int shape) const { WriteTerrainCell(st_, col_ + o.dc, row_ + o.dr, st_.Base + shape); }

private:
    const TTerrainStamp& st_;
    int col_, row_;
};

} // namespace

unsigned TerrainShapeQuarters(int shape) {
    if (shape < 1 || shape > 15) return 0;
    const auto in = [shape](TShapeSet set) { return (set >> shape) & 1u; };
    return (in(NorthSide | NWnotNE) ? qNW : 0u) | (in(NorthSide | NEnotNW) ? qNE : 0u) |
           (in(SouthSide | SEnotSW) ? qSE : 0u) | (in(SouthSide | SWnotSE) ? qSW : 0u);
}

int ReadTerrainCell(const TTerrainStamp& st, int col, int row) {
    if (!InsideMap(col, row)) return st.Base + Full;
    const TMapCell& cell = st.Map.Cell(col, row);
    return st.Lower ? cell.Lower : cell.Upper;
}

void WriteTerrainCell(const TTerrainStamp& st, int col, int row, int symbol) {
    if (!InsideMap(col, row) || symbol < 0 || symbol > 255) return;
    TMapCell& cell = st.Map.Cell(col, row);
    (st.Lower ? cell.Lower : cell.Upper) = static_cast<uint8_t>(symbol);
}

void StampSmartTerrain(TMapRecord& map, int col, int row, int base, TLayerMode mode) {
    if (base < 0 || base > 240) return;
    const TTerrainStamp st{map, base, mode == lmLower};
    const TStamp s(st, col, row);

    s.Write({0, 0}, Full);

    for (const TEdgeStep& e : EdgeSteps) {
        s.Write(e.cell, e.first);
        for (const auto& ch : e.change) {
            if (s.In(e.beyond, ch.set)) {
                s.Write(e.cell, ch.shape);
                break; // the three sets are disjoint
            }
        }
    }

    for (const TCornerStep& k : CornerSteps) {
        s.Write(k.d, k.outer);   // a
        if (s.In(k.p, k.pSet)) { // b
            s.Write(k.d, k.pShape);
            if (s.In(k.v, k.vSet1) && s.In(k.h, k.hSet1)) s.Write(k.d, k.shape1);
        }
        if (s.In(k.q, k.qSet)) { // c
            s.Write(k.d, k.qShape);
            if (s.In(k.h, k.hSet2) && s.In(k.v, k.vSet2)) s.Write(k.d, k.shape2);
        }
        if (s.In(k.p, k.pSet) && s.In(k.q, k.qSet)) { // d
            s.Write(k.d, Full);
            if (s.In(k.h, k.hSet3) && s.In(k.v, k.vSet3)) s.Write(k.d, k.shape3);
        }
        if (s.Holds(k.d, k.outer) && s.In(k.h, k.hSet4) && s.In(k.v, k.vSet4)) // e
            s.Write(k.d, k.shape4);
    }
}

} // namespace qm
