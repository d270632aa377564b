// Caves: rock grown by a cellular automaton into caverns and winding passages, every
// part joined, with pools and chasms, rubble, stalagmites, crystals that glow, and a way in.
#include <algorithm>
#include <cstdlib>

#include "generate/GenKey.h"
#include "generate/GenNoise.h"
#include "generate/GenerateMap.h"

namespace qm {

namespace {

// One step of the cave automaton on a w x h grid of cells (1 rock): rock where five of the
// eight neighbours are rock, or four and it was rock already; with `pillars`, also in the
// middle of a wide open space, so great caverns keep a column or two.
void Automaton(std::vector<uint8_t>& cells, std::vector<uint8_t>& out, int w, int h, bool pillars) {
    const auto at = [&](int x, int y) { return x < 0 || y < 0 || x >= w || y >= h || cells[y * w + x]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int n = 0, far = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) n += (dx || dy) && at(x + dx, y + dy);
            if (pillars)
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx) far += at(x + dx, y + dy);
            out[y * w + x] = n >= 5 || (pillars && far <= 1) || (cells[y * w + x] && n >= 4);
        }
    cells.swap(out);
}

// What the caves' steps share, in the order they are drawn.
struct TCaves : TGenStyleSteps {
    using TGenStyleSteps::TGenStyleSteps;

    void Floor();
    void Rock();
    void Pools();
    void WayIn();
    bool NearArrival(TGenPoint q) const;
    void StairsDown();
    void Dress();
};

void TCaves::Floor() {
    if (!p.CaveFloor) p.Note("cave floors (no cave floor, dirt or gravel symbol named)");
    if (sw.Lights && !p.Crystal && !p.Torch) p.Note("lights (no light symbol to stand in a cave)");
    plan.BaseGround = p.CaveFloor;
    const TValueNoise mud(rng, 6);
    const int gravel = p.Ground({"gravel"}) != p.CaveFloor ? p.Ground({"gravel"}) : 0;
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) {
            // Loose stones here and there, so no two stretches of floor are alike.
            const int stones = gravel && rng.Chance(3) ? gravel : p.CaveFloor;
            plan.SetGround(c, r, p.Mud && mud.At(c, r) > 200 ? p.Mud : stones);
        }
}

// Rock: noise-seeded cells of two by two plan cells, the automaton's rule of five, then
// one pass at full size to round the steps off.
void TCaves::Rock() {
    const int W = (in.Width() + 1) / 2, H = (in.Height() + 1) / 2;
    const int fill = density == TGenDensity::Few ? 50 : density == TGenDensity::Some ? 46 : 43;
    const TValueNoise big(rng, 7);
    std::vector<uint8_t> rock(size_t(W) * H), next(size_t(W) * H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool edge = x < 1 || y < 1 || x >= W - 1 || y >= H - 1;
            // Large-scale noise tilts the odds so caverns and rock masses come in sizes.
            const int bias = (big.At(x, y) - 128) / 5;
            rock[y * W + x] = edge || rng.Below(100) < fill + bias;
        }
    for (int step = 0; step < 4; ++step) Automaton(rock, next, W, H, step < 2);
    const int FW = in.Width(), FH = in.Height();
    std::vector<uint8_t> fine(size_t(FW) * FH), fineNext(size_t(FW) * FH);
    for (int y = 0; y < FH; ++y)
        for (int x = 0; x < FW; ++x) fine[y * FW + x] = rock[(y / 2) * W + x / 2];
    Automaton(fine, fineNext, FW, FH, false);
    for (int y = 0; y < FH; ++y)
        for (int x = 0; x < FW; ++x)
            if (fine[y * FW + x]) plan.SetSolid(in.Left + x, in.Top + y, p.Mountain);
    // A level below: open floor round the stairs from above.
    const TGenPoint a = plan.Arrive;
    if (a.c >= 0)
        for (int dr = -3; dr <= 3; ++dr)
            for (int dc = -3; dc <= 3; ++dc)
                if (dc * dc + dr * dr <= 10) plan.ClearSolid(a.c + dc, a.r + dr);
}

bool TCaves::NearArrival(TGenPoint q) const {
    return plan.Arrive.c >= 0 && std::abs(q.c - plan.Arrive.c) <= 4 && std::abs(q.r - plan.Arrive.r) <= 4;
}

// Stairs down for a level below: the free floor farthest to walk from the way in, with
// floor all round it and well inside the area, so the level below has room round them.
void TCaves::StairsDown() {
    if (!plan.WantStairsDown || !p.StairsDown || plan.Entrance.c < 0) return;
    const int W = area.Width() + 1, N = W * (area.Height() + 1);
    std::vector<int> dist(N, -1), queue{plan.CornerIndex(plan.Entrance.c, plan.Entrance.r)};
    dist[queue[0]] = 0;
    for (size_t q = 0; q < queue.size(); ++q) {
        const int i = area.Left + queue[q] % W, j = area.Top + queue[q] / W;
        const int ni[4] = {i + 1, i - 1, i, i}, nj[4] = {j, j, j + 1, j - 1};
        for (int d = 0; d < 4; ++d) {
            if (ni[d] < area.Left || nj[d] < area.Top || ni[d] > area.Right + 1 || nj[d] > area.Bottom + 1) continue;
            const int n = plan.CornerIndex(ni[d], nj[d]);
            if (dist[n] < 0 && plan.CornerOpen(ni[d], nj[d])) {
                dist[n] = dist[queue[q]] + 1;
                queue.push_back(n);
            }
        }
    }
    int best = -1;
    for (int r = in.Top + 8; r <= in.Bottom - 8; ++r)
        for (int c = in.Left + 8; c <= in.Right - 8; ++c) {
            const int d = dist[plan.CornerIndex(c, r)];
            if (d <= best || !plan.Free(c, r)) continue;
            bool room = true;
            for (int dr = -1; dr <= 1 && room; ++dr)
                for (int dc = -1; dc <= 1 && room; ++dc) room = plan.Clear(c + dc, r + dr);
            if (!room) continue;
            best = d;
            plan.StairsDown = {c, r};
        }
    if (plan.StairsDown.c >= 0) plan.SetObject(plan.StairsDown.c, plan.StairsDown.r, p.StairsDown);
    else p.Note("stairs down (no open floor far enough inside the area)");
}

// Pools and chasms in open ground, kept only where the floor stays in one piece.
void TCaves::Pools() {
    const int features = density == TGenDensity::Few ? 2 : density == TGenDensity::Some ? 4 : 7;
    std::vector<int> label;
    for (int k = 0, tries = 0; k < features && tries < 60; ++tries) {
        const int c = rng.Range(in.Left + 3, in.Right - 3), r = rng.Range(in.Top + 3, in.Bottom - 3);
        const int base = rng.Chance(70) ? p.Water : p.Hole;
        std::vector<TGenPoint> put;
        TGenPoint at{c, r};
        const int size = rng.Range(6, 24);
        for (int s = 0; s < size; ++s) {
            if (!NearArrival(at) && plan.SetSolid(at.c, at.r, base)) put.push_back(at);
            const int d = rng.Below(4);
            at = {at.c + (d == 0) - (d == 1), at.r + (d == 2) - (d == 3)};
        }
        if (put.empty()) continue;
        if (plan.CornerParts(label) != 1) {
            for (const TGenPoint& q : put) plan.ClearSolid(q.c, q.r);
            continue;
        }
        ++k;
    }
}

// The way in: stairs up on free floor nearest one side of the area.
void TCaves::WayIn() {
    const int side = rng.Below(4);
    if (plan.Arrive.c >= 0) {
        plan.Entrance = plan.Arrive;
        if (p.StairsUp) plan.SetObject(plan.Entrance.c, plan.Entrance.r, p.StairsUp);
        return;
    }
    int best = 1 << 30;
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) {
            if (!plan.Free(c, r)) continue;
            const int d = side == 0   ? r - area.Top
                          : side == 1 ? area.Right - c
                          : side == 2 ? area.Bottom - r
                                      : c - area.Left;
            const int key = d * 128 + std::abs(c - (area.Left + area.Right) / 2) +
                            std::abs(r - (area.Top + area.Bottom) / 2);
            if (key < best) {
                best = key;
                plan.Entrance = {c, r};
            }
        }
    if (plan.Entrance.c >= 0 && p.StairsUp) plan.SetObject(plan.Entrance.c, plan.Entrance.r, p.StairsUp);
}

// Dressing: free cells beside rock get rubble and stalagmites, open ones the rest.
void TCaves::Dress() {
    std::vector<TGenPoint> byRock, open;
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) {
            if (!plan.Free(c, r)) continue;
            if (std::abs(c - plan.Entrance.c) <= 1 && std::abs(r - plan.Entrance.r) <= 1) continue;
            const bool near = !plan.Clear(c - 1, r) || !plan.Clear(c + 1, r) || !plan.Clear(c, r - 1) ||
                              !plan.Clear(c, r + 1);
            (near ? byRock : open).push_back({c, r});
        }
    const int n = int(byRock.size() + open.size());
    const int per = density == TGenDensity::Few ? 90 : density == TGenDensity::Some ? 60 : 40;
    if (sw.Dressing) {
        PutOn(plan, rng, byRock, p.Object({"rubble"}), n / per + 2);
        PutOn(plan, rng, byRock, p.Object({"stalagmite"}), n / per + 2);
        PutOn(plan, rng, byRock, p.Object({"boulder"}), n / (2 * per) + 1);
        PutOn(plan, rng, open, p.Object({"rock"}), n / per);
        PutOn(plan, rng, byRock, p.Object({"mushroom patch", "mushrooms"}), n / (2 * per) + 1);
        PutOn(plan, rng, byRock, p.Object({"bones"}), n / (3 * per) + 1);
        PutOn(plan, rng, byRock, p.Object({"spider web", "web"}), n / (3 * per) + 1);
        if (p.Monster) PutOn(plan, rng, open, p.Monster, 1 + int(density));
        if (p.Treasure) PutOn(plan, rng, byRock, p.Treasure, 1);
    }
    if (sw.Lights) PutOn(plan, rng, byRock, p.Crystal ? p.Crystal : p.Torch, n / (2 * per) + 2);
}

} // namespace

void GenerateCaves(TGenPlan& plan, TGenRandom& rng, TGenDensity density, const TGenSwitches& sw) {
    TCaves caves(plan, rng, density, sw);
    caves.Floor();
    caves.Rock();
    plan.ConnectAll(rng, true);
    caves.Pools();
    caves.WayIn();
    caves.StairsDown();
    caves.Dress();
    MarkCaverns(plan);
}

} // namespace qm
