#include "tests/support/GeneratedMapChecks.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <regex>
#include <set>
#include <vector>

#include "compose/MapClamp.h"
#include "editor/SmartTerrain.h"
#include "export/VttExport.h"

namespace qmtest {

const TBuiltInGenerator& BuiltInGenerator() {
    static const TBuiltInGenerator g;
    return g;
}

using namespace qm;

namespace {

std::string At(int c, int r) { return " at column " + std::to_string(c + 1) + ", row " + std::to_string(r + 1); }

bool IsTerrain(int s) { return s >= 128; }

} // namespace

std::string CheckOutsideUnchanged(const TMapRecord& before, const TMapRecord& after, const TGridRect& area) {
    for (int r = 0; r < MapSize; ++r)
        for (int c = 0; c < MapSize; ++c)
            if (!area.Contains(c, r) &&
                std::memcmp(&before.Cell(c + 1, r + 1), &after.Cell(c + 1, r + 1), sizeof(TMapCell)) != 0)
                return "cell outside the area changed" + At(c, r);
    if (std::memcmp(&before.ShowHidden, &after.ShowHidden, MapRecordSize - offsetof(TMapRecord, ShowHidden)) != 0)
        return "record fields after the cells changed";
    return "";
}

std::string CheckRestampChangesNothing(const TMapRecord& map, const TGridRect& area) {
    TMapRecord work = map;
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) {
            const int s = map.Cell(c + 1, r + 1).Upper;
            if (!IsTerrain(s) || (s & 15) != 13) continue;
            StampSmartTerrain(work, c + 1, r + 1, s & ~15, lmAuto);
            for (int dr = -1; dr <= 1; ++dr)
                for (int dc = -1; dc <= 1; ++dc) {
                    if (!InsideMap(c + 1 + dc, r + 1 + dr)) continue;
                    TMapCell& w = work.Cell(c + 1 + dc, r + 1 + dr);
                    const TMapCell& m = map.Cell(c + 1 + dc, r + 1 + dr);
                    if (w.Upper != m.Upper)
                        return "stamping again" + At(c, r) + " changes" + At(c + dc, r + dr) + " from " +
                               std::to_string(m.Upper) + " to " + std::to_string(w.Upper);
                }
        }
    return "";
}

std::string CheckReachable(const TMapRecord& map, const TGridRect& area, TGenPoint entrance, const SymbolTable& table) {
    if (!area.Contains(entrance.c, entrance.r)) return "no entrance";
    const int QW = 2 * area.Width(), QH = 2 * area.Height();
    // 0 floor, 1 covered by terrain or shut by a window.
    std::vector<uint8_t> blocked(size_t(QW) * QH, 0), seen(size_t(QW) * QH, 0);
    for (int r = area.Top; r <= area.Bottom; ++r)
        for (int c = area.Left; c <= area.Right; ++c) {
            const TMapCell& cell = map.Cell(c + 1, r + 1);
            bool door = false, window = false;
            unsigned quarters = 0;
            for (int s : {int(cell.Lower), int(cell.Upper)}) {
                door |= table[s].role == SymbolRole::Door;
                window |= table[s].role == SymbolRole::Window;
                if (IsTerrain(s)) quarters |= TerrainShapeQuarters(s & 15);
            }
            if (door) quarters = 0;
            if (window) quarters = qNW | qNE | qSE | qSW;
            const int qx = 2 * (c - area.Left), qy = 2 * (r - area.Top);
            blocked[size_t(qy) * QW + qx] = (quarters & qNW) != 0;
            blocked[size_t(qy) * QW + qx + 1] = (quarters & qNE) != 0;
            blocked[size_t(qy + 1) * QW + qx] = (quarters & qSW) != 0;
            blocked[size_t(qy + 1) * QW + qx + 1] = (quarters & qSE) != 0;
        }
    const int sx = 2 * (entrance.c - area.Left), sy = 2 * (entrance.r - area.Top);
    if (blocked[size_t(sy) * QW + sx]) return "the entrance" + At(entrance.c, entrance.r) + " is not on floor";
    std::vector<int> todo{sy * QW + sx};
    seen[todo[0]] = 1;
    while (!todo.empty()) {
        const int k = todo.back();
        todo.pop_back();
        const int x = k % QW, y = k / QW;
        const int nx[4] = {x + 1, x - 1, x, x}, ny[4] = {y, y, y + 1, y - 1};
        for (int d = 0; d < 4; ++d) {
            if (nx[d] < 0 || ny[d] < 0 || nx[d] >= QW || ny[d] >= QH) continue;
            const int n = ny[d] * QW + nx[d];
            if (seen[n] || blocked[n]) continue;
            seen[n] = 1;
            todo.push_back(n);
        }
    }
    for (int k = 0; k < QW * QH; ++k)
        if (!blocked[k] && !seen[k]) {
            const int c = area.Left + (k % QW) / 2, r = area.Top + (k / QW) / 2;
            return "floor cannot be reached from the entrance" + At(c, r);
        }
    return "";
}

std::string CheckPortalEnds(const TMapRecord& map, const TGridRect& area, const TRenderedTileset& ts,
                            const SymbolTable& table) {
    const TVttGeometry g = VttGeometry(map, ts, table, area);
    const auto onWall = [&](const TVttPoint& p) {
        for (const TVttPolyline& line : g.Walls)
            for (size_t i = 0; i + 1 < line.size(); ++i) {
                const TVttPoint a = line[i], b = line[i + 1];
                if (a.x == b.x && p.x == a.x && p.y >= std::min(a.y, b.y) && p.y <= std::max(a.y, b.y)) return true;
                if (a.y == b.y && p.y == a.y && p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x)) return true;
            }
        return false;
    };
    for (const TVttPortal& portal : g.Portals)
        for (const TVttPoint& end : {portal.a, portal.b})
            if (!onWall(end)) {
                std::string around;
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc) {
                        const int c = int(end.x) + dc, r = int(end.y) + dr;
                        // Appended piece by piece: GCC 12 warns (-Wrestrict) on the chained + at -O2.
                        if (InsideMap(c + 1, r + 1))
                            around.append(" ")
                                .append(std::to_string(map.Cell(c + 1, r + 1).Upper))
                                .append("/")
                                .append(std::to_string(map.Cell(c + 1, r + 1).Lower));
                    }
                return "a door or window end is off the walls at x " + std::to_string(end.x) + ", y " +
                       std::to_string(end.y) + " (upper/lower around:" + around + ")";
            }
    return "";
}

std::string CheckNoRepeatedBlock(const TMapRecord& map) {
    constexpr int B = 12, N = MapSize - B + 1;
    // A block counts when it holds something besides plain ground, whole terrain and
    // straight terrain edges (an object or a corner piece), and is not mostly solid: a
    // corridor's bend in rock looks alike wherever it is.
    std::vector<int> feature((MapSize + 1) * (MapSize + 1), 0), solid((MapSize + 1) * (MapSize + 1), 0);
    std::vector<uint64_t> value(MapSize * MapSize);
    for (int r = 0; r < MapSize; ++r)
        for (int c = 0; c < MapSize; ++c) {
            const TMapCell& cell = map.Cell(c + 1, r + 1);
            const int u = cell.Upper, shape = u & 15;
            const bool f = (u && !IsTerrain(u)) || (IsTerrain(u) && shape >= 5 && shape != 13);
            feature[(r + 1) * (MapSize + 1) + c + 1] = feature[r * (MapSize + 1) + c + 1] +
                                                       feature[(r + 1) * (MapSize + 1) + c] -
                                                       feature[r * (MapSize + 1) + c] + (f ? 1 : 0);
            solid[(r + 1) * (MapSize + 1) + c + 1] = solid[r * (MapSize + 1) + c + 1] +
                                                     solid[(r + 1) * (MapSize + 1) + c] - solid[r * (MapSize + 1) + c] +
                                                     (IsTerrain(u) && shape == 13 ? 1 : 0);
            value[r * MapSize + c] = (uint64_t(cell.Upper) << 8 | cell.Lower) + 1;
        }
    // Rolling hashes: along rows over B columns, then down the columns over B rows.
    constexpr uint64_t P = 1000003, Q = 998244353;
    uint64_t pB = 1, qB = 1;
    for (int i = 0; i < B; ++i) {
        pB *= P;
        qB *= Q;
    }
    std::vector<uint64_t> rowHash(MapSize * N);
    for (int r = 0; r < MapSize; ++r) {
        uint64_t h = 0;
        for (int c = 0; c < MapSize; ++c) {
            h = h * P + value[r * MapSize + c];
            if (c >= B) h -= pB * value[r * MapSize + c - B];
            if (c >= B - 1) rowHash[r * N + c - B + 1] = h;
        }
    }
    struct TBlock {
        uint64_t hash;
        int c, r;
    };
    std::vector<TBlock> blocks;
    for (int c = 0; c < N; ++c) {
        uint64_t h = 0;
        for (int r = 0; r < MapSize; ++r) {
            h = h * Q + rowHash[r * N + c];
            if (r >= B) h -= qB * rowHash[(r - B) * N + c];
            if (r < B - 1) continue;
            const int top = r - B + 1;
            const auto sum = [&](const std::vector<int>& s) {
                return s[(top + B) * (MapSize + 1) + c + B] - s[top * (MapSize + 1) + c + B] -
                       s[(top + B) * (MapSize + 1) + c] + s[top * (MapSize + 1) + c];
            };
            if (sum(feature) >= 4 && sum(solid) <= B * B - 48) blocks.push_back({h, c, top});
        }
    }
    std::sort(blocks.begin(), blocks.end(), [](const TBlock& a, const TBlock& b) {
        return a.hash != b.hash ? a.hash < b.hash : (a.c != b.c ? a.c < b.c : a.r < b.r);
    });
    for (size_t i = 0; i < blocks.size(); ++i)
        for (size_t j = i + 1; j < blocks.size() && blocks[j].hash == blocks[i].hash; ++j) {
            const TBlock &a = blocks[i], &b = blocks[j];
            if (std::abs(a.c - b.c) < B && std::abs(a.r - b.r) < B) continue; // overlapping
            bool same = true;
            for (int y = 0; y < B && same; ++y)
                for (int x = 0; x < B && same; ++x)
                    same = value[(a.r + y) * MapSize + a.c + x] == value[(b.r + y) * MapSize + b.c + x];
            if (same) return "the 12 x 12 block" + At(a.c, a.r) + " repeats" + At(b.c, b.r);
        }
    return "";
}

std::string CheckGeneratedMap(const TMapRecord& before, const TMapRecord& after, const TGenerateOptions& options,
                              const TGenerateResult& result, const TRenderedTileset& ts, const SymbolTable& table) {
    const TGridRect area = ClipAreaToMap(options.Area);
    std::string e = CheckOutsideUnchanged(before, after, area);
    if (e.empty()) e = CheckRestampChangesNothing(after, area);
    if (e.empty()) e = CheckReachable(after, area, result.Entrance, table);
    if (e.empty()) e = CheckPortalEnds(after, area, ts, table);
    if (e.empty()) e = CheckNoRepeatedBlock(after);
    return e;
}

namespace {

// The numbers an entry's text names as where its exits lead.
std::set<int> ExitNumbers(const std::string& text) {
    static const std::regex list(R"(to (\d+(?:, \d+)*(?: and \d+)?)[.,;])");
    static const std::regex number(R"(\d+)");
    std::set<int> out;
    for (auto m = std::sregex_iterator(text.begin(), text.end(), list); m != std::sregex_iterator(); ++m) {
        const std::string l = (*m)[1];
        for (auto n = std::sregex_iterator(l.begin(), l.end(), number); n != std::sregex_iterator(); ++n)
            out.insert(std::stoi(n->str()));
    }
    return out;
}

// The sentence starting with `head` ("Hidden: ..."), or "".
std::string Sentence(const std::string& text, const std::string& head) {
    const size_t at = text.find(head);
    return at == std::string::npos ? "" : text.substr(at, text.find('.', at) - at);
}

} // namespace

// Every fact the key states about its places, checked against the map; "" when all hold.
std::string CheckGeneratedKey(const TMapRecord& map, const TGenerateResult& r, const TGenPalette& p,
                              const SymbolTable& t) {
    const TMapKey& key = r.Key;
    std::map<int, std::set<int>> exits;
    for (size_t k = 0; k < key.Entries.size(); ++k) {
        const TKeyEntry& e = key.Entries[k];
        const std::string at = "entry " + std::to_string(e.Number) + " (" + e.Title + "): ";
        if (e.Number != int(k) + 1) return at + "numbers are not 1.." + std::to_string(key.Entries.size());
        if (e.Title.empty() || e.Title.size() > MaxKeyTitleLength) return at + "bad title";
        const int pc = e.X - 1, pr = e.Y - 1;
        if (r.PlaceOf[pr * MapSize + pc] != e.Number) return at + "pinned outside its place";
        const TMapCell& pin = map.Cell(e.X, e.Y);
        if (pin.Upper >= 128 || t[pin.Lower].role == SymbolRole::Door || t[pin.Lower].role == SymbolRole::Window)
            return at + "pinned off the floor";
        bool up = false, down = false, trap = false, treasure = false, secret = false;
        for (int c = 0; c < MapSize; ++c)
            for (int y = 0; y < MapSize; ++y) {
                const TMapCell& cell = map.Cell(c + 1, y + 1);
                if (r.PlaceOf[y * MapSize + c] == e.Number) {
                    up |= cell.Upper == p.StairsUp;
                    down |= cell.Upper == p.StairsDown;
                    trap |= cell.Upper == p.Trap || cell.Lower == p.Trap;
                    treasure |= cell.Upper == p.Treasure || cell.Lower == p.Treasure;
                }
                // A secret door stands in the wall, two cells from the floor of its place.
                if (p.IsSecret(cell.Lower))
                    for (int dy = -2; dy <= 2; ++dy)
                        for (int dc = -2; dc <= 2; ++dc)
                            if (c + dc >= 0 && y + dy >= 0 && c + dc < MapSize && y + dy < MapSize &&
                                r.PlaceOf[(y + dy) * MapSize + c + dc] == e.Number)
                                secret = true;
            }
        const std::string hidden = Sentence(e.Text, "Hidden: ");
        const struct {
            const char* what;
            bool present, said;
        } facts[] = {{"stairs up", up, e.Text.find("Stairs up") != std::string::npos},
                     {"stairs down", down, e.Text.find("Stairs down") != std::string::npos},
                     {"trap marker", trap, hidden.find("trap marker") != std::string::npos},
                     {"treasure marker", treasure, hidden.find("treasure marker") != std::string::npos}};
        for (const auto& f : facts)
            if (f.present != f.said) return at + f.what + (f.present ? " there but not said" : " said but not there");
        if (e.Text.find("A secret door") != std::string::npos && !secret) return at + "a secret door said, none there";
        exits[e.Number] = ExitNumbers(e.Text);
    }
    for (const auto& [from, to] : exits)
        for (int n : to) {
            if (n == from || !key.Find(n))
                return "entry " + std::to_string(from) + " leads to no entry " + std::to_string(n);
            if (!exits[n].count(from))
                return "entry " + std::to_string(from) + " leads to " + std::to_string(n) + " but not back";
        }
    return "";
}

} // namespace qmtest
