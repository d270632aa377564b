// Secret doors in tabletop files of generated maps: for the game master one closed door
// across each passage, which it closes and which opens it; for players a straight wall
// with no door and no corner where the passage would be, in the walls and in the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "compose/Compose.h"
#include "compose/MapClamp.h"
#include "export/ExportPicture.h"
#include "export/VttGeometry.h"
#include "generate/GenerateMap.h"
#include "tests/support/GeneratedMapChecks.h"

namespace {

using qm::TVttPoint;

// Runs of secret-door cells side by side: their bounding boxes (0-based, inclusive).
std::vector<qm::TGridRect> SecretRuns(const qm::TMapRecord& map, const qm::TRenderedTileset& ts,
                                      const qm::SymbolTable& table) {
    std::vector<int> secret(72 * 72, 0);
    for (int r = 0; r < 72; ++r)
        for (int c = 0; c < 72; ++c) {
            const qm::TMapCell& cell = map.Cell(c + 1, r + 1);
            secret[r * 72 + c] = qm::IsSecretDoorAt(table, ts.HiddenFlags, cell.Upper, map, c, r) ||
                                 qm::IsSecretDoorAt(table, ts.HiddenFlags, cell.Lower, map, c, r);
        }
    std::vector<qm::TGridRect> runs;
    for (int start = 0; start < 72 * 72; ++start) {
        if (secret[start] != 1) continue;
        qm::TGridRect box{start % 72, start / 72, start % 72, start / 72};
        std::vector<int> todo{start};
        secret[start] = 2;
        while (!todo.empty()) {
            const int i = todo.back(), c = i % 72, r = i / 72;
            todo.pop_back();
            box = {std::min(box.Left, c), std::min(box.Top, r), std::max(box.Right, c), std::max(box.Bottom, r)};
            for (int j : {c > 0 ? i - 1 : -1, c < 71 ? i + 1 : -1, r > 0 ? i - 72 : -1, r < 71 ? i + 72 : -1})
                if (j >= 0 && secret[j] == 1) secret[j] = 2, todo.push_back(j);
        }
        runs.push_back(box);
    }
    return runs;
}

// Whether `from` reaches `to` on a fine grid inside `window` (cells), every square a wall
// segment (or a door, unless left out) touches being blocked.
bool Reaches(const qm::TVttGeometry& g, const qm::TVttPortal* leftOut, const qm::TGridRect& window, TVttPoint from,
             TVttPoint to) {
    constexpr int N = 20; // squares a cell
    const int W = window.Width() * N, H = window.Height() * N;
    std::vector<char> blocked(size_t(W) * H, 0);
    auto block = [&](TVttPoint a, TVttPoint b) {
        const double x0 = (std::min(a.x, b.x) - window.Left) * N, x1 = (std::max(a.x, b.x) - window.Left) * N;
        const double y0 = (std::min(a.y, b.y) - window.Top) * N, y1 = (std::max(a.y, b.y) - window.Top) * N;
        for (int y = std::max(0, int(std::floor(y0 - 1e-9))); y <= std::min(H - 1, int(std::floor(y1 + 1e-9))); ++y)
            for (int x = std::max(0, int(std::floor(x0 - 1e-9))); x <= std::min(W - 1, int(std::floor(x1 + 1e-9))); ++x)
                blocked[size_t(y) * W + x] = 1;
    };
    for (const auto& l : g.Walls)
        for (size_t i = 0; i + 1 < l.size(); ++i) block(l[i], l[i + 1]);
    for (const auto& p : g.Portals)
        if (&p != leftOut && p.closed) block(p.a, p.b);
    auto at = [&](TVttPoint p) {
        return std::pair<int, int>{int((p.x - window.Left) * N), int((p.y - window.Top) * N)};
    };
    const auto [fx, fy] = at(from);
    const auto [tx, ty] = at(to);
    if (blocked[size_t(fy) * W + fx] || blocked[size_t(ty) * W + tx]) return false;
    std::vector<char> seen(blocked.size(), 0);
    std::vector<std::pair<int, int>> todo{{fx, fy}};
    seen[size_t(fy) * W + fx] = 1;
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        if (x == tx && y == ty) return true;
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= W || ny >= H) continue;
            const size_t k = size_t(ny) * W + nx;
            if (!blocked[k] && !seen[k]) seen[k] = 1, todo.push_back({nx, ny});
        }
    }
    return false;
}

bool Inside(TVttPoint p, double l, double t, double r, double b) { return p.x > l && p.x < r && p.y > t && p.y < b; }

TEST(SecretDoors, EveryGeneratedSecretDoorClosesItsPassageAndIsAStraightWallForPlayers) {
    const qmtest::TBuiltInGenerator& gen = qmtest::BuiltInGenerator();
    for (qm::TGenStyle style : qm::AllGenStyles) {
        int doors = 0;
        for (std::uint32_t seed = 1; seed <= 20; ++seed) {
            qm::TMapRecord map{};
            qm::ClearMapRecord(map);
            qm::TGenerateOptions o;
            o.Style = style;
            o.Seed = seed;
            qm::GenerateMap(map, o, gen.palette);
            const std::vector<qm::TGridRect> runs = SecretRuns(map, gen.ts, gen.table);
            const qm::TVttGeometry master = qm::VttGeometry(map, gen.ts, gen.table, qm::WholeMapArea, true);
            const qm::TVttGeometry players = qm::VttGeometry(map, gen.ts, gen.table, qm::WholeMapArea, false);
            const std::string where = std::string(qm::GenStyleName(style)) + " seed " + std::to_string(seed);
            int secretPortals = 0;
            for (const qm::TVttPortal& p : master.Portals) secretPortals += p.secret;
            EXPECT_EQ(secretPortals, int(runs.size())) << where;
            for (const qm::TGridRect& run : runs) {
                ++doors;
                const std::string at = where + " run at (" + std::to_string(run.Left + 1) + "," +
                                       std::to_string(run.Top + 1) + ")";
                const auto door = std::find_if(master.Portals.begin(), master.Portals.end(), [&](const auto& p) {
                    const TVttPoint m{(p.a.x + p.b.x) / 2, (p.a.y + p.b.y) / 2};
                    return p.secret && Inside(m, run.Left, run.Top, run.Right + 1, run.Bottom + 1);
                });
                ASSERT_NE(door, master.Portals.end()) << at;
                EXPECT_TRUE(door->closed) << at;
                // Just either side of the door's middle: apart while it is shut, joined when open.
                const TVttPoint m{(door->a.x + door->b.x) / 2, (door->a.y + door->b.y) / 2};
                const double dx = door->vertical ? 0.1 : 0, dy = door->vertical ? 0 : 0.1;
                const qm::TGridRect window = qm::ClipAreaToMap(
                    {run.Left - 3, run.Top - 3, run.Right + 3, run.Bottom + 3});
                EXPECT_FALSE(Reaches(master, nullptr, window, {m.x - dx, m.y - dy}, {m.x + dx, m.y + dy})) << at;
                EXPECT_TRUE(Reaches(master, &*door, window, {m.x - dx, m.y - dy}, {m.x + dx, m.y + dy})) << at;

                // Players: no door there, and the passage is solid wall: the run and the half
                // of each framing cell beside it, along the door's span.
                for (const qm::TVttPortal& p : players.Portals)
                    EXPECT_FALSE(Inside({(p.a.x + p.b.x) / 2, (p.a.y + p.b.y) / 2}, run.Left, run.Top, run.Right + 1,
                                        run.Bottom + 1))
                        << at;
                const double l = door->vertical ? run.Left - 0.5 : door->a.x,
                             r = door->vertical ? run.Right + 1.5 : door->b.x;
                const double t = door->vertical ? door->a.y : run.Top - 0.5,
                             b = door->vertical ? door->b.y : run.Bottom + 1.5;
                for (const auto& line : players.Walls)
                    for (size_t i = 0; i + 1 < line.size(); ++i) {
                        const TVttPoint p = line[i], q = line[i + 1];
                        const bool crosses = p.y == q.y ? p.y > t && p.y < b && std::max(p.x, q.x) > l &&
                                                              std::min(p.x, q.x) < r
                                                        : p.x > l && p.x < r && std::max(p.y, q.y) > t &&
                                                              std::min(p.y, q.y) < b;
                        EXPECT_FALSE(crosses) << at << " (" << p.x << "," << p.y << ")-(" << q.x << "," << q.y << ")";
                    }
                // The picture shows wall in every quarter of it.
                map.ShowHidden = 0;
                for (double qy = t + 0.25; qy < b; qy += 0.5)
                    for (double qx = l + 0.25; qx < r; qx += 0.5) {
                        const int c = int(qx), rr = int(qy);
                        const uint8_t bit = uint8_t((qx - c > 0.5 ? 2 : 1) << (qy - rr > 0.5 ? 2 : 0));
                        const qm::TCellLayers shown = qm::VisibleLayers(map, gen.ts, c, rr);
                        uint8_t walled = 0;
                        for (uint8_t sym : {shown.Lower, shown.Upper})
                            if (gen.table[sym].role == qm::SymbolRole::Wall) walled |= gen.table[sym].quarters;
                        EXPECT_TRUE(walled & bit)
                            << at << " cell (" << c + 1 << "," << rr + 1 << ") quarter " << int(bit);
                    }
            }
        }
        if (style == qm::TGenStyle::Dungeon || style == qm::TGenStyle::Keep) {
            EXPECT_GT(doors, 5) << qm::GenStyleName(style);
        }
    }
}

} // namespace
