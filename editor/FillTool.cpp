#include "editor/FillTool.h"

#include <array>

#include "compose/MapClamp.h"

namespace qm {

namespace {

constexpr uint8_t FullyWalled = CellFullyWalled, Opening = CellOpening;

} // namespace

// From both layers.
uint8_t CellBarriers(const TMapCell& cell, const SymbolTable& table) {
    uint8_t b = 0;
    for (const uint8_t s : {cell.Upper, cell.Lower}) {
        const SymbolTraits& t = table[s];
        // Door kinds without a door role (a secret door marker) keep a fill out just as well.
        if (t.role == SymbolRole::Door || t.role == SymbolRole::Window || t.doorCycle) b |= Opening;
        if (t.role != SymbolRole::Wall) continue;
        b |= t.edges;
        const uint8_t q = t.quarters;
        const auto all = [q](uint8_t m) { return (q & m) == m; };
        if (all(QuarterNW | QuarterNE)) b |= EdgeN;
        if (all(QuarterNE | QuarterSE)) b |= EdgeE;
        if (all(QuarterSW | QuarterSE)) b |= EdgeS;
        if (all(QuarterNW | QuarterSW)) b |= EdgeW;
        if (all(QuarterNW | QuarterNE | QuarterSW | QuarterSE)) b |= FullyWalled;
    }
    return b;
}

namespace {

uint8_t Barriers(const TMapCell& cell, const SymbolTable& table) { return CellBarriers(cell, table); }

// The layer a symbol goes to, as the Draw tool paints it; the empty symbol is compared
// on the lower layer unless only the upper one is worked on.
bool TargetsLower(uint8_t symbol, TLayerMode mode, const TLayerFlags& layerFlags) {
    if (mode == lmLower) return true;
    if (mode == lmUpper) return false;
    return symbol == 0 || layerFlags[symbol] == 0;
}

} // namespace

TFillArea FillAreaAt(const TMapRecord& map, int col, int row, const TGridRect& bound, uint8_t symbol, TLayerMode mode,
                     const TLayerFlags& layerFlags, const SymbolTable& table) {
    TFillArea area;
    area.Lower = TargetsLower(symbol, mode, layerFlags);
    const TGridRect g = ClampSelectionToMap(bound);
    if (!g.Contains(col, row)) return area;
    const auto layer = [&](int c, int r) {
        const TMapCell& cell = map.Cells[c][r];
        return area.Lower ? cell.Lower : cell.Upper;
    };
    const auto barriers = [&](int c, int r) { return Barriers(map.Cells[c][r], table); };
    if (barriers(col, row) & FullyWalled) return area;
    area.From = layer(col, row);

    std::array<bool, MapSize * MapSize> seen{};
    area.Cells.reserve(64);
    area.Cells.push_back(col * MapSize + row);
    seen[size_t(col * MapSize + row)] = true;
    struct TStep {
        int dc, dr;
        uint8_t leave, enter; // the side crossed, seen from each cell
    };
    constexpr TStep Steps[] = {
        {0, -1, EdgeN, EdgeS}, {1, 0, EdgeE, EdgeW}, {0, 1, EdgeS, EdgeN}, {-1, 0, EdgeW, EdgeE}};
    for (size_t i = 0; i < area.Cells.size(); ++i) {
        const int c = area.Cells[i] / MapSize, r = area.Cells[i] % MapSize;
        const uint8_t here = barriers(c, r);
        if (here & Opening) continue;
        for (const TStep& s : Steps) {
            const int nc = c + s.dc, nr = r + s.dr;
            if (!g.Contains(nc, nr) || seen[size_t(nc * MapSize + nr)] || (here & s.leave)) continue;
            if (layer(nc, nr) != area.From) continue;
            const uint8_t there = barriers(nc, nr);
            if (there & (s.enter | FullyWalled)) continue;
            seen[size_t(nc * MapSize + nr)] = true;
            area.Cells.push_back(nc * MapSize + nr);
        }
    }
    return area;
}

bool FillFrom(TMapRecord& map, int col, int row, const TGridRect& bound, uint8_t symbol, TLayerMode mode,
              const TLayerFlags& layerFlags, const SymbolTable& table) {
    const TFillArea area = FillAreaAt(map, col, row, bound, symbol, mode, layerFlags, table);
    bool changed = false;
    for (const int i : area.Cells) {
        TMapCell& cell = map.Cells[i / MapSize][i % MapSize];
        const TMapCell was = cell;
        PaintCell(cell, symbol, mode, layerFlags);
        changed |= cell.Upper != was.Upper || cell.Lower != was.Lower;
    }
    return changed;
}

} // namespace qm
