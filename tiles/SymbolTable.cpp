#include "tiles/SymbolTable.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "tiles/BuiltInSymbols.h"
#include "tiles/SymbolCatalogue.h"

namespace qm {

namespace {

constexpr const char* TerrainNames[8] = {"Wall", "Water", "Fire", "Hole", "Slime", "Forest", "Mountain", "Desert"};
constexpr const char* ShapeNames[16] = {"lone patch",
                                        "top half",
                                        "bottom half",
                                        "left half",
                                        "right half",
                                        "south-west corner",
                                        "north-west corner",
                                        "north-east corner",
                                        "south-east corner",
                                        "all but south-west",
                                        "all but north-west",
                                        "all but south-east",
                                        "all but north-east",
                                        "full",
                                        "north-west and south-east",
                                        "north-east and south-west"};
// Quarters covered by terrain shape k, as the stamp's shape table gives them.
constexpr std::uint8_t ShapeQuarters[16] = {0,
                                            QuarterNW | QuarterNE,
                                            QuarterSW | QuarterSE,
                                            QuarterNW | QuarterSW,
                                            QuarterNE | QuarterSE,
                                            QuarterSW,
                                            QuarterNW,
                                            QuarterNE,
                                            QuarterSE,
                                            QuarterNW | QuarterNE | QuarterSE,
                                            QuarterNE | QuarterSW | QuarterSE,
                                            QuarterNW | QuarterNE | QuarterSW,
                                            QuarterNW | QuarterSW | QuarterSE,
                                            QuarterNW | QuarterNE | QuarterSW | QuarterSE,
                                            QuarterNW | QuarterSE,
                                            QuarterNE | QuarterSW};

constexpr std::size_t MaxRolesFile = 1 << 20;

class LineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// Splits off the next blank-separated word.
std::string_view NextWord(std::string_view& rest) {
    rest = Trim(rest);
    std::size_t n = 0;
    while (n < rest.size() && !std::isspace(static_cast<unsigned char>(rest[n]))) ++n;
    const std::string_view word = rest.substr(0, n);
    rest.remove_prefix(n);
    return word;
}

float Number(std::string_view key, std::string_view v, float lo, float hi) {
    float f = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), f);
    if (ec != std::errc() || end != v.data() + v.size() || !std::isfinite(f) || f < lo || f > hi) {
        std::ostringstream m;
        m << key << "=" << v << ": expected a number from " << lo << " to " << hi;
        throw LineError(m.str());
    }
    return f;
}

std::uint8_t Edges(std::string_view v) {
    std::uint8_t e = 0;
    for (char c : v) {
        const char u = char(std::toupper(static_cast<unsigned char>(c)));
        const std::uint8_t bit = u == 'N' ? EdgeN : u == 'E' ? EdgeE : u == 'S' ? EdgeS : u == 'W' ? EdgeW : 0;
        if (!bit || (e & bit)) throw LineError("edges=" + std::string(v) + ": expected some of the letters N, E, S, W");
        e |= bit;
    }
    if (!e) throw LineError("edges= needs at least one of N, E, S, W");
    return e;
}

std::uint8_t Quarters(std::string_view v) {
    std::uint8_t q = 0;
    std::string_view rest = v;
    while (!rest.empty()) {
        const std::size_t plus = rest.find('+');
        std::string part(rest.substr(0, plus));
        for (char& c : part) c = char(std::toupper(static_cast<unsigned char>(c)));
        const std::uint8_t bit = part == "NW"   ? QuarterNW
                                 : part == "NE" ? QuarterNE
                                 : part == "SW" ? QuarterSW
                                 : part == "SE" ? QuarterSE
                                                : 0;
        if (!bit) throw LineError("quarters=" + std::string(v) + ": expected quarters NW, NE, SW, SE joined by +");
        q |= bit;
        rest = plus == std::string_view::npos ? std::string_view() : rest.substr(plus + 1);
        if (plus != std::string_view::npos && rest.empty())
            throw LineError("quarters=" + std::string(v) + ": expected quarters NW, NE, SW, SE joined by +");
    }
    if (!q) throw LineError("quarters= needs at least one quarter");
    return q;
}

std::uint32_t Colour(std::string_view v) {
    std::uint32_t c = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), c, 16);
    if (v.size() != 8 || ec != std::errc() || end != v.data() + v.size())
        throw LineError("color=" + std::string(v) + ": expected 8 hex digits AARRGGBB");
    return c;
}

// `player=`: a symbol 0..255 other than the line's own (0 = nothing), or `wall`.
int PlayerValue(std::string_view v, int own) {
    if (v == "wall") return PlayerWallPiece;
    int p = -1;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), p);
    if (ec != std::errc() || end != v.data() + v.size() || p < 0 || p > 255)
        throw LineError("player=" + std::string(v) + ": expected a symbol from 0 to 255 or wall");
    if (p == own) throw LineError("player=" + std::string(v) + ": a symbol cannot stand in for itself");
    return p;
}

// doorcycle=h|v|hv|none: which walls' door kinds the symbol is among.
std::uint8_t DoorCycleSetting(std::string_view v) {
    if (v == "h") return DoorCycleH;
    if (v == "v") return DoorCycleV;
    if (v == "hv") return DoorCycleH | DoorCycleV;
    if (v == "none") return 0;
    throw LineError("doorcycle=" + std::string(v) + ": expected h, v, hv or none");
}

// Without doorcycle=: a door or window is a kind of its own wall direction.
std::uint8_t DefaultDoorCycle(const SymbolTraits& t) {
    if (t.role != SymbolRole::Door && t.role != SymbolRole::Window) return 0;
    return t.vertical ? DoorCycleV : DoorCycleH;
}

SymbolRole RoleOf(std::string_view word) {
    for (SymbolRole r :
         {SymbolRole::Wall, SymbolRole::Door, SymbolRole::Window, SymbolRole::Obstacle, SymbolRole::Light})
        if (word == RoleName(r)) return r;
    if (word == "none") return SymbolRole::None;
    throw LineError("unknown role \"" + std::string(word) + "\" (use none, wall, door, window, obstacle or light)");
}

// One line "SYMBOL ROLE [KEY=VALUE ...] [NAME]" into t; returns the symbol.
int ParseLine(std::string_view line, SymbolTable& table) {
    std::string_view rest = line;
    const std::string_view symWord = NextWord(rest);
    int sym = 0;
    const auto [end, ec] = std::from_chars(symWord.data(), symWord.data() + symWord.size(), sym);
    if (ec != std::errc() || end != symWord.data() + symWord.size() || sym < 1 || sym > 255)
        throw LineError("\"" + std::string(symWord) + "\" is not a symbol number from 1 to 255");
    const std::string_view roleWord = NextWord(rest);
    if (roleWord.empty())
        throw LineError("symbol " + std::to_string(sym) +
                        " has no role (use none, wall, door, window, obstacle or light)");
    SymbolTraits t;
    t.role = RoleOf(roleWord);
    bool haveRange = false, haveDoorCycle = false;
    for (;;) {
        std::string_view probe = rest;
        const std::string_view word = NextWord(probe);
        const std::size_t eq = word.find('=');
        if (word.empty() || eq == std::string_view::npos) break;
        rest = probe;
        const std::string_view key = word.substr(0, eq), v = word.substr(eq + 1);
        const SymbolRole r = t.role;
        auto only = [&](SymbolRole a, SymbolRole b = SymbolRole::None) {
            if (r != a && (b == SymbolRole::None || r != b))
                throw LineError(
                    std::string(key) + "= does not apply to " +
                    (r == SymbolRole::None ? std::string("a symbol without a role") : "a " + std::string(RoleName(r))));
        };
        if (key == "edges") {
            only(SymbolRole::Wall);
            t.edges = Edges(v);
        } else if (key == "quarters") {
            only(SymbolRole::Wall);
            t.quarters = Quarters(v);
        } else if (key == "inset") {
            only(SymbolRole::Wall);
            t.inset = Number(key, v, 0, 0.5f);
        } else if (key == "axis") {
            only(SymbolRole::Door, SymbolRole::Window);
            if (v != "h" && v != "v")
                throw LineError("axis=" + std::string(v) +
                                ": expected h (in an east-west wall) or v (in a north-south wall)");
            t.vertical = v == "v";
        } else if (key == "state") {
            only(SymbolRole::Door);
            if (v != "open" && v != "closed") throw LineError("state=" + std::string(v) + ": expected open or closed");
            t.open = v == "open";
        } else if (key == "player") {
            t.player = PlayerValue(v, sym);
        } else if (key == "at") {
            only(SymbolRole::Door, SymbolRole::Window);
            t.across = Number(key, v, 0, 1);
        } else if (key == "box") {
            only(SymbolRole::Obstacle);
            std::array<float, 4> b{};
            std::string_view list = v;
            for (int i = 0; i < 4; ++i) {
                const std::size_t comma = list.find(',');
                if ((i < 3) != (comma != std::string_view::npos))
                    throw LineError("box=" + std::string(v) + ": expected four numbers L,T,R,B");
                b[i] = Number("box", list.substr(0, comma), 0, 1);
                list = i < 3 ? list.substr(comma + 1) : std::string_view();
            }
            if (b[0] >= b[2] || b[1] >= b[3])
                throw LineError("box=" + std::string(v) + ": left must be below right and top below bottom");
            t.box = b;
        } else if (key == "shape") {
            only(SymbolRole::Obstacle);
            if (v != "square" && v != "round")
                throw LineError("shape=" + std::string(v) + ": expected square or round");
            t.round = v == "round";
        } else if (key == "range") {
            only(SymbolRole::Light);
            t.range = Number(key, v, 0.5f, 100);
            haveRange = true;
        } else if (key == "color") {
            only(SymbolRole::Light);
            t.color = Colour(v);
        } else if (key == "doorcycle") {
            if (r != SymbolRole::None) only(SymbolRole::Door, SymbolRole::Window);
            t.doorCycle = DoorCycleSetting(v);
            haveDoorCycle = true;
        } else throw LineError("unknown setting \"" + std::string(key) + "\"");
    }
    if (!haveDoorCycle) t.doorCycle = DefaultDoorCycle(t);
    if (t.role == SymbolRole::Wall && !t.edges && !t.quarters) throw LineError("a wall needs edges= or quarters=");
    if (t.role == SymbolRole::Light && !haveRange) throw LineError("a light needs range=");
    if (t.role == SymbolRole::Light && !t.color) t.color = 0xffffffffu;
    t.name = std::string(Trim(rest));
    if (t.name.size() > 80) throw LineError("the name is longer than 80 characters");
    table[sym] = std::move(t);
    return sym;
}

} // namespace

const char* RoleName(SymbolRole role) {
    switch (role) {
    case SymbolRole::Wall: return "wall";
    case SymbolRole::Door: return "door";
    case SymbolRole::Window: return "window";
    case SymbolRole::Obstacle: return "obstacle";
    case SymbolRole::Light: return "light";
    case SymbolRole::None: break;
    }
    return "";
}

SymbolTable TerrainSymbolTable() {
    SymbolTable t;
    for (int family = 0; family < 8; ++family)
        for (int k = 0; k < 16; ++k)
            t[sym::TerrainSymbol(family, k)].name = std::string(TerrainNames[family]) + ", " + ShapeNames[k];
    for (int k = 1; k < 16; ++k) {
        SymbolTraits& w = t[sym::WallBase + k];
        w.role = SymbolRole::Wall;
        w.quarters = ShapeQuarters[k];
    }
    // The lone wall patch is a free-standing block in the middle of its cell.
    t[sym::WallBase].role = SymbolRole::Obstacle;
    t[sym::WallBase].box = {0.14f, 0.14f, 0.86f, 0.86f};
    // Mountain is rock: it walls off its quarters as wall terrain does.
    for (int k = 0; k < 16; ++k) t[sym::MountainBase + k] = SymbolTraits{t[sym::WallBase + k]};
    for (int k = 0; k < 16; ++k) t[sym::MountainBase + k].name = std::string(TerrainNames[6]) + ", " + ShapeNames[k];
    for (int k = 0; k < 16; ++k) {
        SymbolTraits& f = t[sym::FireBase + k];
        f.role = SymbolRole::Light;
        f.range = 3;
        f.color = 0xffff9a3cu;
    }
    return t;
}

SymbolTable ParseSymbolTable(std::string_view text, const std::string& fileName) {
    SymbolTable table = TerrainSymbolTable();
    std::array<int, 256> seenOn{};
    int lineNo = 0;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        ++lineNo;
        const std::size_t hash = line.find('#');
        // A line whose first non-blank character is '#' is a comment; elsewhere '#' belongs to the name.
        if (hash != std::string_view::npos && (hash == 0 || Trim(line.substr(0, hash)).empty()))
            line = line.substr(0, hash);
        if (Trim(line).empty()) continue;
        try {
            if (line.find('\0') != std::string_view::npos) throw LineError("the line holds a zero byte");
            const int sym = ParseLine(line, table);
            if (seenOn[sym])
                throw LineError("symbol " + std::to_string(sym) + " is already given on line " +
                                std::to_string(seenOn[sym]));
            seenOn[sym] = lineNo;
            table[sym].line = lineNo;
        } catch (const LineError& e) {
            throw std::runtime_error(fileName + ", line " + std::to_string(lineNo) + ": " + e.what() + ".");
        }
    }
    return table;
}

void CheckPlayerSymbols(const SymbolTable& table, const std::array<std::uint8_t, 256>& hidden,
                        const std::string& fileName) {
    for (int s = 1; s < 256; ++s) {
        const int p = table[s].player;
        if (!hidden[s] || p <= 0 || !hidden[p]) continue;
        throw std::runtime_error(fileName + ", line " + std::to_string(table[s].line) +
                                 ": player=" + std::to_string(p) + ": symbol " + std::to_string(p) +
                                 " is hidden too; players must see a symbol that is shown.");
    }
}

namespace {
bool IsThinWall(const SymbolTraits& t) { return t.role == SymbolRole::Wall && t.edges && !t.quarters; }
} // namespace

std::uint8_t PlayerSymbolAt(const SymbolTable& table, std::uint8_t s, const TMapRecord& map, int c, int r) {
    const int p = table[s].player;
    if (p != PlayerWallPiece) return std::uint8_t(std::max(p, 0));
    // Each neighbour lends the walls that run on into this cell: one to the west or east
    // its north and south sides (and upper or lower quarters), one to the north or south
    // its east and west sides (and left or right quarters).
    std::uint8_t edges = 0, quarters = 0;
    float inset = 0;
    int row = -1; // the terrain row of the first neighbour that lends quarters
    struct {
        int dc, dr;
        std::uint8_t edgeMask, qTop, qBottom;
    } const near[] = {{-1, 0, EdgeN | EdgeS, QuarterNE, QuarterSE},
                      {1, 0, EdgeN | EdgeS, QuarterNW, QuarterSW},
                      {0, -1, EdgeE | EdgeW, QuarterSW, QuarterSE},
                      {0, 1, EdgeE | EdgeW, QuarterNW, QuarterNE}};
    for (const auto& n : near) {
        const int nc = c + n.dc, nr = r + n.dr;
        if (nc < 0 || nr < 0 || nc >= 72 || nr >= 72) continue;
        const TMapCell& cell = map.Cell(nc + 1, nr + 1);
        for (std::uint8_t q : {cell.Upper, cell.Lower}) {
            const SymbolTraits& t = table[q];
            if (q == 0 || t.role != SymbolRole::Wall) continue;
            if (IsThinWall(t) && (t.edges & n.edgeMask)) {
                edges |= t.edges & n.edgeMask;
                inset = t.inset;
            }
            // Quarters on the shared side carry on across the whole cell, in that terrain.
            const bool horizontal = n.dc != 0;
            if (t.quarters & (n.qTop | n.qBottom) && q >= 128 && row < 0) row = q - (q - 128) % 16;
            if (t.quarters & n.qTop) quarters |= horizontal ? (QuarterNW | QuarterNE) : (QuarterNW | QuarterSW);
            if (t.quarters & n.qBottom) quarters |= horizontal ? (QuarterSW | QuarterSE) : (QuarterNE | QuarterSE);
        }
    }
    auto find = [&](auto match) -> std::uint8_t {
        for (int q = 1; q < 256; ++q)
            if (table[q].role == SymbolRole::Wall && match(table[q])) return std::uint8_t(q);
        return 0;
    };
    if (edges) {
        // The straight piece of one side, else the corner piece of both.
        for (std::uint8_t e : {EdgeN, EdgeS, EdgeW, EdgeE})
            if (edges == e)
                return find([&](const SymbolTraits& t) { return IsThinWall(t) && t.edges == e && t.inset == inset; });
        if (const std::uint8_t q = find(
                [&](const SymbolTraits& t) { return IsThinWall(t) && t.edges == edges && t.inset == inset; }))
            return q;
    }
    if (quarters) {
        for (int k = 0; row >= 0 && k < 16; ++k)
            if (table[row + k].role == SymbolRole::Wall && !table[row + k].edges && table[row + k].quarters == quarters)
                return std::uint8_t(row + k);
        return find([&](const SymbolTraits& t) { return !t.edges && t.quarters == quarters; });
    }
    return 0;
}

bool IsSecretDoorAt(const SymbolTable& table, const std::array<std::uint8_t, 256>& hidden, std::uint8_t s,
                    const TMapRecord& map, int c, int r) {
    if (s == 0 || !hidden[s]) return false;
    const int p = table[s].player;
    if (p != PlayerWallPiece && (p <= 0 || table[p].role != SymbolRole::Wall)) return false;
    const std::uint8_t stand = PlayerSymbolAt(table, s, map, c, r);
    return stand != 0 && table[stand].role == SymbolRole::Wall;
}

std::uint8_t PlayerFrameAt(const SymbolTable& table, const std::array<std::uint8_t, 256>& hidden, std::uint8_t s,
                           const TMapRecord& map, int c, int r) {
    const SymbolTraits& t = table[s];
    constexpr std::uint8_t All = QuarterNW | QuarterNE | QuarterSW | QuarterSE;
    if (s < 128 || t.role != SymbolRole::Wall || t.edges || t.quarters == All) return s;
    // A piece framing the passage in the door's own cell gives way to the door's stand-in.
    const TMapCell& own = map.Cell(c + 1, r + 1);
    for (std::uint8_t q : {own.Upper, own.Lower})
        if (q != s && IsSecretDoorAt(table, hidden, q, map, c, r)) {
            const std::uint8_t stand = PlayerSymbolAt(table, q, map, c, r);
            return (table[stand].quarters & t.quarters) == t.quarters ? stand : s;
        }
    // The quarters a secret door beside the cell walls off on their shared side carry on
    // into this cell's half on that side: the notch the passage cut is filled.
    std::uint8_t quarters = t.quarters;
    struct {
        int dc, dr;
        std::uint8_t theirA, oursA, theirB, oursB;
    } const near[] = {{-1, 0, QuarterNE, QuarterNW, QuarterSE, QuarterSW},
                      {1, 0, QuarterNW, QuarterNE, QuarterSW, QuarterSE},
                      {0, -1, QuarterSW, QuarterNW, QuarterSE, QuarterNE},
                      {0, 1, QuarterNW, QuarterSW, QuarterNE, QuarterSE}};
    for (const auto& n : near) {
        const int nc = c + n.dc, nr = r + n.dr;
        if (nc < 0 || nr < 0 || nc >= MapSize || nr >= MapSize) continue;
        const TMapCell& cell = map.Cell(nc + 1, nr + 1);
        for (std::uint8_t q : {cell.Upper, cell.Lower}) {
            if (!IsSecretDoorAt(table, hidden, q, map, nc, nr)) continue;
            const std::uint8_t stand = table[PlayerSymbolAt(table, q, map, nc, nr)].quarters;
            if (stand & n.theirA) quarters |= n.oursA;
            if (stand & n.theirB) quarters |= n.oursB;
        }
    }
    if (quarters == t.quarters) return s;
    const int row = s - (s - 128) % 16;
    for (int k = 0; k < 16; ++k)
        if (table[row + k].role == SymbolRole::Wall && !table[row + k].edges && table[row + k].quarters == quarters)
            return std::uint8_t(row + k);
    return s;
}

std::vector<std::uint8_t> SecretDoorsFor(const SymbolTable& table, const std::array<std::uint8_t, 256>& hidden,
                                         std::uint8_t wall) {
    std::vector<std::uint8_t> out;
    for (int s = 1; s < 256; ++s)
        if (hidden[s] && (table[s].player == PlayerWallPiece || (wall != 0 && table[s].player == wall)))
            out.push_back(std::uint8_t(s));
    return out;
}

SymbolTable BuiltInSymbolTable() { return ParseSymbolTable(BuiltInCatalogue(), "built-in tileset"); }

SymbolTable SymbolTableFor(const std::string& tilesetPath, const std::array<std::uint8_t, 256>& hidden) {
    namespace fs = std::filesystem;
    SymbolTable t = SymbolTableFor(tilesetPath);
    fs::path roles(tilesetPath);
    roles.replace_extension(".roles");
    std::error_code ec;
    const bool ownFile = !tilesetPath.empty() && fs::is_regular_file(tilesetPath, ec) && fs::is_regular_file(roles, ec);
    CheckPlayerSymbols(t, hidden, ownFile ? roles.filename().string() : std::string("built-in tileset"));
    return t;
}

SymbolTable SymbolTableFor(const std::string& tilesetPath) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (tilesetPath.empty() || !fs::is_regular_file(tilesetPath, ec)) return BuiltInSymbolTable();
    fs::path roles(tilesetPath);
    roles.replace_extension(".roles");
    if (fs::is_regular_file(roles, ec)) {
        const std::string name = roles.string();
        std::ifstream in(roles, std::ios::binary);
        if (!in) throw std::runtime_error("Cannot read \"" + name + "\".");
        std::string text;
        text.resize(MaxRolesFile + 1);
        in.read(text.data(), std::streamsize(text.size()));
        if (in.bad()) throw std::runtime_error("Cannot read \"" + name + "\".");
        text.resize(std::size_t(in.gcount()));
        if (text.size() > MaxRolesFile)
            throw std::runtime_error("\"" + name + "\" is too large for a symbol table (over 1 MB).");
        return ParseSymbolTable(text, roles.filename().string());
    }
    std::string file = fs::path(tilesetPath).filename().string();
    std::transform(file.begin(), file.end(), file.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (file == "parchment.bmp") return BuiltInSymbolTable();
    return TerrainSymbolTable();
}

const char* TerrainName(int terrain) { return terrain >= 0 && terrain < 8 ? TerrainNames[terrain] : ""; }

} // namespace qm
