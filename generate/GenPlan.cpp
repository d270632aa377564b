#include "generate/GenPlan.h"

#include <algorithm>
#include <cstdlib>

#include "editor/SmartTerrain.h"

namespace qm {

namespace {

bool IsTerrain(int s) { return s >= 128; }
int TerrainBaseOf(int s) { return s & ~15; }

TGridRect InnerOf(const TGridRect& a) {
    TGridRect in = a;
    if (a.Left > 0) in.Left += 2;
    if (a.Top > 0) in.Top += 2;
    if (a.Right < MapSize - 1) in.Right -= 2;
    if (a.Bottom < MapSize - 1) in.Bottom -= 2;
    return in;
}

} // namespace

TGenPlan::TGenPlan(const TGridRect& area, TGenPalette& palette)
    : area_(area), inner_(InnerOf(area)), palette_(palette), solid_(MapSize * MapSize, 0),
      ground_(MapSize * MapSize, 0), object_(MapSize * MapSize, 0), portal_(MapSize * MapSize, 0) {}

bool TGenPlan::SetSolid(int c, int r, int base) {
    if (!InInner(c, r)) return false;
    for (int dr = -2; dr <= 2; ++dr)
        for (int dc = -2; dc <= 2; ++dc) {
            const int s = Solid(c + dc, r + dr);
            if (s && s != base) return false;
        }
    solid_[At(c, r)] = uint8_t(base);
    return true;
}

void TGenPlan::FillSolid(int base) {
    for (int r = inner_.Top; r <= inner_.Bottom; ++r)
        for (int c = inner_.Left; c <= inner_.Right; ++c) solid_[At(c, r)] = uint8_t(base);
}

void TGenPlan::SetStone(int c, int r) {
    std::uint64_t z = Salt ^ (std::uint64_t(c) * 0x9e3779b97f4a7c15ull) ^ (std::uint64_t(r) * 0xc2b2ae3d27d4eb4full);
    z = (z ^ (z >> 31)) * 0xbf58476d1ce4e5b9ull;
    SetGround(c, r, (z >> 40) % 100 < 30 ? palette_.StoneB : palette_.StoneA);
}

bool TGenPlan::Clear(int c, int r) const {
    if (!InArea(c, r)) return false;
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc) {
            const int x = c + dc, y = r + dr;
            if (x < 0 || y < 0 || x >= MapSize || y >= MapSize) return false; // the map's edge reads as terrain
            if (Solid(x, y)) return false;
        }
    return true;
}

bool TGenPlan::CornerOpen(int i, int j) const {
    for (int r = j - 1; r <= j; ++r)
        for (int c = i - 1; c <= i; ++c)
            if (!InArea(c, r) || solid_[At(c, r)]) return false;
    return true;
}

void TGenPlan::OpenCorner(int i, int j) {
    for (int r = j - 1; r <= j; ++r)
        for (int c = i - 1; c <= i; ++c) ClearSolid(c, r);
}

void TGenPlan::CarveCorners(TGenPoint a, TGenPoint b, bool horizontalFirst) {
    const auto clampI = [&](int i) { return std::clamp(i, inner_.Left, inner_.Right); };
    const auto clampJ = [&](int j) { return std::clamp(j, inner_.Top, inner_.Bottom); };
    a = {clampI(a.c), clampJ(a.r)};
    b = {clampI(b.c), clampJ(b.r)};
    const TGenPoint bend = horizontalFirst ? TGenPoint{b.c, a.r} : TGenPoint{a.c, b.r};
    for (const auto& [from, to] : {std::pair{a, bend}, std::pair{bend, b}}) {
        const int dc = to.c > from.c ? 1 : (to.c < from.c ? -1 : 0);
        const int dr = to.r > from.r ? 1 : (to.r < from.r ? -1 : 0);
        for (TGenPoint p = from;; p = {p.c + dc, p.r + dr}) {
            OpenCorner(p.c, p.r);
            if (p == to) break;
        }
    }
}

void TGenPlan::CarveWinding(TGenPoint a, TGenPoint b, TGenRandom& rng, int width) {
    const auto clampI = [&](int i) { return std::clamp(i, inner_.Left + 1, inner_.Right); };
    const auto clampJ = [&](int j) { return std::clamp(j, inner_.Top + 1, inner_.Bottom); };
    TGenPoint p{clampI(a.c), clampJ(a.r)};
    b = {clampI(b.c), clampJ(b.r)};
    for (int steps = 0; steps < 4 * MapSize; ++steps) {
        for (int dj = 0; dj < width; ++dj)
            for (int di = 0; di < width; ++di) OpenCorner(clampI(p.c + di), clampJ(p.r + dj));
        if (p == b) break;
        const int dc = b.c - p.c, dr = b.r - p.r;
        // Mostly towards the goal along the longer way, sometimes aside.
        const int roll = rng.Below(10);
        if (roll < 4) {
            if (std::abs(dc) >= std::abs(dr)) p.c += dc > 0 ? 1 : -1;
            else p.r += dr > 0 ? 1 : -1;
        } else if (roll < 7) {
            if (dr != 0) p.r += dr > 0 ? 1 : -1;
            else p.c += dc > 0 ? 1 : -1;
        } else {
            const int side = rng.Chance(50) ? 1 : -1;
            if (std::abs(dc) >= std::abs(dr)) p.r = clampJ(p.r + side);
            else p.c = clampI(p.c + side);
        }
    }
}

int TGenPlan::CornerParts(std::vector<int>& label) const {
    const int W = area_.Width() + 1, H = area_.Height() + 1;
    label.assign(size_t(W) * H, -1);
    int parts = 0;
    std::vector<int> todo;
    for (int j = area_.Top; j <= area_.Bottom + 1; ++j)
        for (int i = area_.Left; i <= area_.Right + 1; ++i) {
            const int k = CornerIndex(i, j);
            if (label[k] >= 0 || !CornerOpen(i, j)) continue;
            label[k] = parts;
            todo.push_back(k);
            while (!todo.empty()) {
                const int at = todo.back();
                todo.pop_back();
                const int ci = area_.Left + at % W, cj = area_.Top + at / W;
                const int di[4] = {1, -1, 0, 0}, dj[4] = {0, 0, 1, -1};
                for (int d = 0; d < 4; ++d) {
                    const int ni = ci + di[d], nj = cj + dj[d];
                    if (ni < area_.Left || nj < area_.Top || ni > area_.Right + 1 || nj > area_.Bottom + 1) continue;
                    const int nk = CornerIndex(ni, nj);
                    if (label[nk] >= 0 || !CornerOpen(ni, nj)) continue;
                    label[nk] = parts;
                    todo.push_back(nk);
                }
            }
            ++parts;
        }
    return parts;
}

void TGenPlan::ConnectAll(TGenRandom& rng, bool winding) {
    const int W = area_.Width() + 1;
    for (int round = 0; round < 64; ++round) {
        std::vector<int> label;
        const int parts = CornerParts(label);
        if (parts <= 1) return;
        std::vector<int> size(parts, 0);
        for (int l : label)
            if (l >= 0) ++size[l];
        const int main = int(std::max_element(size.begin(), size.end()) - size.begin());
        // The first corner of another part, joined to the nearest corner of the main one.
        int from = -1;
        for (int k = 0; k < int(label.size()) && from < 0; ++k)
            if (label[k] >= 0 && label[k] != main) from = k;
        const int fi = area_.Left + from % W, fj = area_.Top + from / W;
        int best = -1, bestDist = 1 << 30;
        for (int k = 0; k < int(label.size()); ++k) {
            if (label[k] != main) continue;
            const int d = std::abs(area_.Left + k % W - fi) + std::abs(area_.Top + k / W - fj);
            if (d < bestDist) {
                bestDist = d;
                best = k;
            }
        }
        const TGenPoint to{area_.Left + best % W, area_.Top + best / W};
        if (winding) CarveWinding({fi, fj}, to, rng, rng.Chance(40) ? 2 : 1);
        else CarveCorners({fi, fj}, to, rng.Chance(50));
    }
}

void TGenPlan::Commit(TMapRecord& map) const {
    TMapRecord scratch = map;
    for (int r = area_.Top; r <= area_.Bottom; ++r)
        for (int c = area_.Left; c <= area_.Right; ++c) {
            TMapCell& cell = scratch.Cell(c + 1, r + 1);
            cell.Upper = 0;
            cell.Lower = portal_[At(c, r)] ? portal_[At(c, r)] : ground_[At(c, r)];
        }
    for (int r = inner_.Top; r <= inner_.Bottom; ++r)
        for (int c = inner_.Left; c <= inner_.Right; ++c)
            if (const int base = solid_[At(c, r)]) StampSmartTerrain(scratch, c + 1, r + 1, base, lmAuto);
    // The map's edge reads as terrain, which can make a cell beside it whole terrain: stamp
    // those too until stamping any whole cell again changes nothing.
    for (int pass = 0; pass < 8; ++pass) {
        bool changed = false;
        for (int r = inner_.Top; r <= inner_.Bottom; ++r)
            for (int c = inner_.Left; c <= inner_.Right; ++c) {
                const int s = scratch.Cell(c + 1, r + 1).Upper;
                if (!IsTerrain(s) || s - TerrainBaseOf(s) != 13) continue;
                TMapCell before[3][3]{};
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc)
                        if (InsideMap(c + 1 + dc, r + 1 + dr))
                            before[dc + 1][dr + 1] = scratch.Cell(c + 1 + dc, r + 1 + dr);
                StampSmartTerrain(scratch, c + 1, r + 1, TerrainBaseOf(s), lmAuto);
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc)
                        if (InsideMap(c + 1 + dc, r + 1 + dr) &&
                            scratch.Cell(c + 1 + dc, r + 1 + dr).Upper != before[dc + 1][dr + 1].Upper)
                            changed = true;
            }
        if (!changed) break;
    }
    for (int r = area_.Top; r <= area_.Bottom; ++r)
        for (int c = area_.Left; c <= area_.Right; ++c) {
            TMapCell& cell = scratch.Cell(c + 1, r + 1);
            if (object_[At(c, r)] && cell.Upper == 0) cell.Upper = object_[At(c, r)];
            map.Cell(c + 1, r + 1).Upper = cell.Upper;
            map.Cell(c + 1, r + 1).Lower = cell.Lower;
        }
}

} // namespace qm
