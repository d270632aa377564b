#include "export/VttGeometry.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "compose/MapClamp.h"

namespace qm {

namespace {

// Geometry is built in thousandths of a cell, so lines from different symbols meet and
// merge exactly.
constexpr int Unit = VttUnitsPerCell;

int Milli(float cells) { return int(std::lround(double(cells) * Unit)); }

struct Pt {
    int x = 0, y = 0;
    bool operator==(const Pt&) const = default;
    bool operator<(const Pt& o) const { return std::tie(x, y) < std::tie(o.x, o.y); }
};

// An axis-parallel segment with a <= b.
struct Seg {
    Pt a, b;
    bool Horizontal() const { return a.y == b.y; }
};

Seg MakeSeg(Pt p, Pt q) {
    if (q < p) std::swap(p, q);
    return {p, q};
}

bool OnSeg(const Seg& s, Pt p) {
    if (s.Horizontal()) return p.y == s.a.y && p.x >= s.a.x && p.x <= s.b.x;
    return p.x == s.a.x && p.y >= s.a.y && p.y <= s.b.y;
}

// Joins overlapping and touching pieces on one line into one segment each, which also
// leaves no stretch covered twice.
std::vector<Seg> MergeCollinear(std::vector<Seg> segs) {
    auto key = [](const Seg& s) {
        return std::make_tuple(!s.Horizontal(), s.Horizontal() ? s.a.y : s.a.x, s.Horizontal() ? s.a.x : s.a.y);
    };
    segs.erase(std::remove_if(segs.begin(), segs.end(), [](const Seg& s) { return s.a == s.b; }), segs.end());
    std::sort(segs.begin(), segs.end(), [&](const Seg& l, const Seg& r) { return key(l) < key(r); });
    std::vector<Seg> out;
    for (const Seg& s : segs) {
        if (!out.empty()) {
            Seg& last = out.back();
            const bool sameLine = last.Horizontal() == s.Horizontal() &&
                                  (s.Horizontal() ? last.a.y == s.a.y : last.a.x == s.a.x);
            if (sameLine && OnSeg(last, s.a)) {
                if (last.b < s.b) last.b = s.b;
                continue;
            }
        }
        out.push_back(s);
    }
    return out;
}

// Chains segments end to end where exactly two meet; a chain that comes back to its
// start is a closed loop.
std::vector<std::vector<Pt>> Chain(const std::vector<Seg>& segs) {
    std::map<Pt, std::vector<int>> ends;
    for (int i = 0; i < int(segs.size()); ++i) {
        ends[segs[i].a].push_back(i);
        ends[segs[i].b].push_back(i);
    }
    std::vector<bool> used(segs.size(), false);
    std::vector<std::vector<Pt>> lines;
    auto walk = [&](int seg, Pt at) {
        std::vector<Pt> pts{at};
        for (;;) {
            used[seg] = true;
            const Pt next = segs[seg].a == at ? segs[seg].b : segs[seg].a;
            pts.push_back(next);
            const std::vector<int>& there = ends[next];
            if (there.size() != 2) break;
            const int other = there[0] == seg ? there[1] : there[0];
            if (used[other]) break;
            seg = other;
            at = next;
        }
        lines.push_back(std::move(pts));
    };
    for (const auto& [p, list] : ends)
        if (list.size() != 2)
            for (int s : list)
                if (!used[s]) walk(s, p);
    for (int i = 0; i < int(segs.size()); ++i)
        if (!used[i]) walk(i, segs[i].a);
    return lines;
}

struct Portal {
    Seg span;
    bool vertical, closed;
    bool secret = false, window = false;
};

struct Layout {
    std::vector<Seg> walls;
    std::vector<std::vector<Pt>> objects;
    std::vector<Portal> portals;
    std::vector<TVttLight> lights;
};

bool IsTerrainRow(int s) { return s >= 128; }

// The symbols of a cell that may give geometry: both layers. The background symbol is
// paint under every cell, not a thing standing in it. A hidden symbol gives what players
// see in its place, and the frame of a secret door's passage the wall running past it;
// with hidden symbols shown, a secret door in a thin wall is a closed door across that
// wall, one in wall terrain gives nothing here (its run gets one door, AddTerrainSecretDoors),
// and other hidden symbols give nothing.
struct ShownSymbols {
    const TMapRecord& map;
    const TRenderedTileset& ts;
    const SymbolTable& table;
    bool includeHidden = false;
    template <class F> void operator()(int c, int r, F&& f) const {
        const TMapCell& cell = map.Cell(c + 1, r + 1);
        for (uint8_t s : {cell.Lower, cell.Upper}) {
            if (s == 0) continue;
            if (!ts.HiddenFlags[s]) {
                const uint8_t shown = includeHidden ? s : PlayerFrameAt(table, ts.HiddenFlags, s, map, c, r);
                f(int(shown), table[shown]);
                continue;
            }
            const uint8_t stand = PlayerSymbolAt(table, s, map, c, r);
            if (stand == 0) continue;
            if (!includeHidden) f(int(stand), table[stand]);
            else if (table[stand].role == SymbolRole::Wall && table[stand].edges) f(int(s), SecretDoor(table[stand]));
        }
    }
    // Whether cell (c, r) holds a secret door in wall terrain (hidden symbols shown).
    bool TerrainSecretDoor(int c, int r) const {
        if (!includeHidden) return false;
        const TMapCell& cell = map.Cell(c + 1, r + 1);
        for (uint8_t s : {cell.Lower, cell.Upper})
            if (IsSecretDoorAt(table, ts.HiddenFlags, s, map, c, r) &&
                !table[PlayerSymbolAt(table, s, map, c, r)].edges)
                return true;
        return false;
    }
    // The closed door that crosses the wall line of thin wall piece `w`.
    static SymbolTraits SecretDoor(const SymbolTraits& w) {
        SymbolTraits d;
        d.role = SymbolRole::Door;
        d.vertical = !(w.edges & (EdgeN | EdgeS));
        const bool far = d.vertical ? !(w.edges & EdgeW) : !(w.edges & EdgeN);
        d.across = far ? 1 - w.inset : w.inset;
        return d;
    }
};

// Wall quarters at half-cell resolution; every boundary between a walled and an open
// quarter inside the area becomes a wall. A door or window opens its cell: full wall
// terrain lies on the lower layer, so a door drawn into a wall sits on top of it.
std::vector<uint8_t> AddTerrainWalls(const ShownSymbols& symbolsOf, const TGridRect& a, Layout& out) {
    const int W = a.Width(), H = a.Height();
    const int QW = 2 * W, QH = 2 * H;
    std::vector<uint8_t> walled(size_t(QW) * QH, 0);
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c) {
            bool opening = false;
            symbolsOf(a.Left + c, a.Top + r, [&](int, const SymbolTraits& t) {
                opening |= t.role == SymbolRole::Door || t.role == SymbolRole::Window;
            });
            if (opening) continue;
            symbolsOf(a.Left + c, a.Top + r, [&](int, const SymbolTraits& t) {
                if (t.role != SymbolRole::Wall) return;
                const uint8_t q = t.quarters;
                if (q & QuarterNW) walled[size_t(2 * r) * QW + 2 * c] = 1;
                if (q & QuarterNE) walled[size_t(2 * r) * QW + 2 * c + 1] = 1;
                if (q & QuarterSW) walled[size_t(2 * r + 1) * QW + 2 * c] = 1;
                if (q & QuarterSE) walled[size_t(2 * r + 1) * QW + 2 * c + 1] = 1;
            });
        }
    const int half = Unit / 2, x0 = a.Left * Unit, y0 = a.Top * Unit;
    for (int qy = 0; qy < QH; ++qy)
        for (int qx = 0; qx < QW; ++qx) {
            const bool w = walled[size_t(qy) * QW + qx];
            if (qx + 1 < QW && w != bool(walled[size_t(qy) * QW + qx + 1])) {
                const int x = x0 + (qx + 1) * half;
                out.walls.push_back(MakeSeg({x, y0 + qy * half}, {x, y0 + (qy + 1) * half}));
            }
            if (qy + 1 < QH && w != bool(walled[size_t(qy + 1) * QW + qx])) {
                const int y = y0 + (qy + 1) * half;
                out.walls.push_back(MakeSeg({x0 + qx * half, y}, {x0 + (qx + 1) * half, y}));
            }
        }
    return walled;
}

// The cells joined to `start` in the four directions whose `in` holds, marked in `seen`, each
// handed to `visit` (column, row, index) in the order a stack takes them.
template <typename TIn, typename TVisit>
void FloodCells(size_t start, int W, int H, const TIn& in, std::vector<bool>& seen, const TVisit& visit) {
    std::vector<size_t> todo{start};
    seen[start] = true;
    while (!todo.empty()) {
        const size_t i = todo.back();
        todo.pop_back();
        const int c = int(i % size_t(W)), r = int(i / size_t(W));
        visit(c, r, i);
        const int dc[4] = {1, -1, 0, 0}, dr[4] = {0, 0, 1, -1};
        for (int k = 0; k < 4; ++k) {
            const int nc = c + dc[k], nr = r + dr[k];
            if (nc < 0 || nr < 0 || nc >= W || nr >= H) continue;
            const size_t j = size_t(nr) * W + nc;
            if (in[j] && !seen[j]) {
                seen[j] = true;
                todo.push_back(j);
            }
        }
    }
}

// A run of secret doors side by side in wall terrain (hidden symbols shown) is one closed
// door: across the passage that the wall pieces framing the run leave open (the passage
// runs between the two sides of the run with more open quarters beyond them), on the
// middle line of the run, spanning the open part of that line. `walled` is the area's
// quarter grid from AddTerrainWalls.
void AddTerrainSecretDoors(const ShownSymbols& symbolsOf, const TGridRect& a, const std::vector<uint8_t>& walled,
                           Layout& out) {
    const int W = a.Width(), H = a.Height(), QW = 2 * W, QH = 2 * H;
    std::vector<uint8_t> secret(size_t(W) * H, 0);
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c) secret[size_t(r) * W + c] = symbolsOf.TerrainSecretDoor(a.Left + c, a.Top + r);
    // Quarters outside the area count as walled: no passage is known there.
    auto open = [&](int qx, int qy) {
        return qx >= 0 && qy >= 0 && qx < QW && qy < QH && !walled[size_t(qy) * QW + qx];
    };
    const int half = Unit / 2, x0 = a.Left * Unit, y0 = a.Top * Unit;
    std::vector<bool> seen(secret.size(), false);
    for (size_t start = 0; start < secret.size(); ++start) {
        if (!secret[start] || seen[start]) continue;
        int c0 = W, c1 = -1, r0 = H, r1 = -1;
        FloodCells(start, W, H, secret, seen, [&](int c, int r, size_t) {
            c0 = std::min(c0, c), c1 = std::max(c1, c), r0 = std::min(r0, r), r1 = std::max(r1, r);
        });
        int openWE = 0, openNS = 0;
        for (int qy = 2 * r0; qy <= 2 * r1 + 1; ++qy) openWE += open(2 * c0 - 1, qy) + open(2 * c1 + 2, qy);
        for (int qx = 2 * c0; qx <= 2 * c1 + 1; ++qx) openNS += open(qx, 2 * r0 - 1) + open(qx, 2 * r1 + 2);
        // No passage to tell by: the door lies along the run.
        const bool vertical = openWE != openNS ? openWE > openNS : r1 - r0 > c1 - c0;
        // The door line, in quarters: between the run's two middle quarter columns (rows).
        const int line = vertical ? c0 + c1 + 1 : r0 + r1 + 1;
        const int lo = vertical ? 2 * r0 : 2 * c0, hi = vertical ? 2 * r1 + 1 : 2 * c1 + 1;
        int first = -1, last = -1;
        for (int q = lo; q <= hi; ++q) {
            const bool gap = vertical ? open(line - 1, q) || open(line, q) : open(q, line - 1) || open(q, line);
            if (!gap) continue;
            if (first < 0) first = q;
            last = q;
        }
        if (first < 0) first = lo, last = hi;
        const Seg span = vertical ? MakeSeg({x0 + line * half, y0 + first * half},
                                            {x0 + line * half, y0 + (last + 1) * half})
                                  : MakeSeg({x0 + first * half, y0 + line * half},
                                            {x0 + (last + 1) * half, y0 + line * half});
        out.portals.push_back({span, vertical, true, true});
    }
}

// What one symbol of the cell whose top left is (L, T) stands for: thin walls, a door
// or window, an obstacle's outline or a light.
void AddSymbolGeometry(int s, const SymbolTraits& t, bool hidden, int L, int T, Layout& out) {
    const int R = L + Unit, B = T + Unit, half = Unit / 2;
    switch (t.role) {
    case SymbolRole::Wall: {
        // Thin walls along the sides, meeting where two of them turn a corner.
        const int d = Milli(t.inset);
        const uint8_t e = t.edges;
        const int west = e & EdgeW ? L + d : L, east = e & EdgeE ? R - d : R;
        const int north = e & EdgeN ? T + d : T, south = e & EdgeS ? B - d : B;
        if (e & EdgeN) out.walls.push_back(MakeSeg({west, T + d}, {east, T + d}));
        if (e & EdgeS) out.walls.push_back(MakeSeg({west, B - d}, {east, B - d}));
        if (e & EdgeW) out.walls.push_back(MakeSeg({L + d, north}, {L + d, south}));
        if (e & EdgeE) out.walls.push_back(MakeSeg({R - d, north}, {R - d, south}));
        break;
    }
    case SymbolRole::Door:
    case SymbolRole::Window: {
        const int at = Milli(t.across);
        const Seg span = t.vertical ? MakeSeg({L + at, T}, {L + at, B}) : MakeSeg({L, T + at}, {R, T + at});
        out.portals.push_back(
            {span, t.vertical, t.role == SymbolRole::Door && !t.open, hidden, t.role == SymbolRole::Window});
        break;
    }
    case SymbolRole::Obstacle: {
        const int bl = L + Milli(t.box[0]), bt = T + Milli(t.box[1]), br = L + Milli(t.box[2]),
                  bb = T + Milli(t.box[3]);
        std::vector<Pt> outline;
        if (t.round) {
            const double cx = (bl + br) / 2.0, cy = (bt + bb) / 2.0, rx = (br - bl) / 2.0, ry = (bb - bt) / 2.0;
            for (int i = 0; i < 12; ++i) {
                const double ang = i * 3.14159265358979323846 / 6;
                outline.push_back(
                    {int(std::lround(cx + rx * std::cos(ang))), int(std::lround(cy + ry * std::sin(ang)))});
            }
        } else {
            outline = {{bl, bt}, {br, bt}, {br, bb}, {bl, bb}};
        }
        outline.push_back(outline.front());
        out.objects.push_back(std::move(outline));
        break;
    }
    case SymbolRole::Light:
        // Terrain fire lights once per patch (AddTerrainLights): a lava lake of
        // single-cell lights would slow a tabletop down.
        if (!IsTerrainRow(s))
            out.lights.push_back({{(L + half) / double(Unit), (T + half) / double(Unit)}, t.range, t.color});
        break;
    case SymbolRole::None: break;
    }
}

// Terrain lights: one per connected patch of fire (cells joined side to side), at the
// middle of its cells, reaching as far as one cell of it does plus the patch's half width.
void AddTerrainLights(const ShownSymbols& symbolsOf, const TGridRect& a, Layout& out) {
    const int W = a.Width(), H = a.Height();
    std::vector<const SymbolTraits*> fire(size_t(W) * H, nullptr);
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c)
            symbolsOf(a.Left + c, a.Top + r, [&](int s, const SymbolTraits& t) {
                // Fire on both layers of a cell counts once.
                if (t.role == SymbolRole::Light && IsTerrainRow(s) && !fire[size_t(r) * W + c])
                    fire[size_t(r) * W + c] = &t;
            });
    std::vector<bool> seen(fire.size(), false);
    for (size_t start = 0; start < fire.size(); ++start) {
        if (!fire[start] || seen[start]) continue;
        double sx = 0, sy = 0;
        int n = 0;
        float range = 0;
        std::uint32_t color = 0;
        FloodCells(start, W, H, fire, seen, [&](int c, int r, size_t i) {
            sx += a.Left + c + 0.5;
            sy += a.Top + r + 0.5;
            ++n;
            range = std::max(range, fire[i]->range);
            color = fire[i]->color;
        });
        const double reach = std::min(100.0, range + (std::sqrt(double(n)) - 1) / 2);
        out.lights.push_back({{sx / n, sy / n}, reach, color});
    }
}

// Leaves side by side on one line are one door: a double door (or a generated doorway
// of two leaves) opens as one, and its ends are the doorway's jambs. The first leaf keeps
// its place in the list, so files without such leaves stay as they were.
void MergeTouchingPortals(std::vector<Portal>& portals) {
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < portals.size() && !merged; ++i)
            for (size_t j = i + 1; j < portals.size() && !merged; ++j) {
                Portal& p = portals[i];
                const Portal& q = portals[j];
                if (p.closed != q.closed || p.vertical != q.vertical || p.span.Horizontal() != q.span.Horizontal() ||
                    p.secret != q.secret || p.window != q.window)
                    continue;
                if (!OnSeg(p.span, q.span.a) && !OnSeg(p.span, q.span.b) && !OnSeg(q.span, p.span.a)) continue;
                p.span = {std::min(p.span.a, q.span.a), std::max(p.span.b, q.span.b)};
                portals.erase(portals.begin() + std::ptrdiff_t(j));
                merged = true;
            }
    }
}

// Jambs: a door or window end that does not meet a wall is joined, along the cell
// border, to the nearest wall end on that border in the cell beside it (a thin wall
// running along the side of the neighbour, a terrain edge). Walls are merged already.
void AddJambs(const TGridRect& a, Layout& out) {
    std::vector<Seg> jambs;
    for (const Portal& p : out.portals) {
        for (const Pt end : {p.span.a, p.span.b}) {
            const bool touches = std::any_of(out.walls.begin(), out.walls.end(),
                                             [&](const Seg& w) { return OnSeg(w, end); });
            if (touches) continue;
            // The border the end lies on, and the span of it shared with the neighbour.
            const bool onVerticalBorder = !p.vertical; // a horizontal span ends on a west or east border
            const int cellLo = onVerticalBorder ? (end.y / Unit) * Unit : (end.x / Unit) * Unit;
            const int neighbourCol = onVerticalBorder ? (end.x == p.span.a.x ? end.x / Unit - 1 : end.x / Unit)
                                                      : end.x / Unit;
            const int neighbourRow = onVerticalBorder ? end.y / Unit
                                                      : (end.y == p.span.a.y ? end.y / Unit - 1 : end.y / Unit);
            if (!a.Contains(neighbourCol, neighbourRow)) continue;
            std::optional<Pt> best;
            auto consider = [&](Pt q) {
                const int along = onVerticalBorder ? q.y : q.x;
                const bool onBorder = onVerticalBorder ? q.x == end.x : q.y == end.y;
                if (!onBorder || along < cellLo || along > cellLo + Unit || q == end) return;
                const int dist = std::abs(along - (onVerticalBorder ? end.y : end.x));
                const int bestDist = best ? std::abs((onVerticalBorder ? best->y : best->x) -
                                                     (onVerticalBorder ? end.y : end.x))
                                          : 1 << 30;
                if (dist < bestDist) best = q;
            };
            for (const Seg& w : out.walls) {
                consider(w.a);
                consider(w.b);
            }
            if (best) jambs.push_back(MakeSeg(end, *best));
        }
    }
    if (!jambs.empty()) {
        out.walls.insert(out.walls.end(), jambs.begin(), jambs.end());
        out.walls = MergeCollinear(std::move(out.walls));
    }
}

Layout BuildLayout(const TMapRecord& map, const TRenderedTileset& ts, const SymbolTable& table, const TGridRect& a,
                   bool includeHidden) {
    Layout out;
    const ShownSymbols symbolsOf{map, ts, table, includeHidden};
    const std::vector<uint8_t> walled = AddTerrainWalls(symbolsOf, a, out);
    for (int r = a.Top; r <= a.Bottom; ++r)
        for (int c = a.Left; c <= a.Right; ++c)
            symbolsOf(c, r, [&](int s, const SymbolTraits& t) {
                AddSymbolGeometry(s, t, ts.HiddenFlags[size_t(s)] != 0, c * Unit, r * Unit, out);
            });
    AddTerrainSecretDoors(symbolsOf, a, walled, out);
    AddTerrainLights(symbolsOf, a, out);
    out.walls = MergeCollinear(std::move(out.walls));
    MergeTouchingPortals(out.portals);
    AddJambs(a, out);
    return out;
}

TVttPoint ToCells(Pt p) { return {p.x / double(Unit), p.y / double(Unit)}; }

} // namespace

TVttGeometry VttGeometry(const TMapRecord& map, const TRenderedTileset& ts, const SymbolTable& symbols,
                         const TGridRect& area, bool includeHidden) {
    const TGridRect a = ClipAreaToMap(area);
    TVttGeometry g;
    if (a.Width() < 1 || a.Height() < 1) return g;
    Layout l = BuildLayout(map, ts, symbols, a, includeHidden);
    for (const auto& line : Chain(l.walls)) {
        TVttPolyline pl;
        for (Pt p : line) pl.push_back(ToCells(p));
        g.Walls.push_back(std::move(pl));
    }
    for (const auto& o : l.objects) {
        TVttPolyline pl;
        for (Pt p : o) pl.push_back(ToCells(p));
        g.Objects.push_back(std::move(pl));
    }
    for (const Portal& p : l.portals)
        g.Portals.push_back({ToCells(p.span.a), ToCells(p.span.b), p.vertical, p.closed, p.secret, p.window});
    g.Lights = std::move(l.lights);
    return g;
}

} // namespace qm
