#include "generate/GenKey.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "base/Encoding.h"

namespace qm {

namespace {

constexpr int Far = 1 << 30;

const char* const SideNames[8] = {"north", "north-east", "east", "south-east",
                                  "south", "south-west", "west", "north-west"};

// What stands in an exit's gap.
enum TExitKind { ExitOpen, ExitDoor, ExitLocked, ExitSecret, ExitPassage };

struct TExit {
    int side = 0; // an index into SideNames
    int kind = ExitOpen;
    std::vector<int> to; // places, ascending; empty: a passage that leads nowhere else
    int passage = -1;    // for one that leads nowhere else: which stretch of passage
    bool operator<(const TExit& o) const {
        return std::tie(side, kind, to, passage) < std::tie(o.side, o.kind, o.to, o.passage);
    }
};

// "4", "4 and 7", "2, 4 and 7".
std::string NumberList(const std::vector<int>& numbers) {
    std::string out;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) out += i + 1 == numbers.size() ? " and " : ", ";
        out += std::to_string(numbers[i]);
    }
    return out;
}

// "table", "chair (2)".
std::string Counted(const std::string& name, int n) { return n > 1 ? name + " (" + std::to_string(n) + ")" : name; }

// Octant of (dx, dy) from a place's middle, rows growing south.
int Octant(int dx, int dy) {
    if (dx == 0 && dy == 0) return 0;
    // Compare against tan(22.5) ~ 5/12 without floating point.
    const int ax = std::abs(dx), ay = std::abs(dy);
    if (ay * 12 > ax * 29) return dy < 0 ? 0 : 4;
    if (ax * 12 > ay * 29) return dx > 0 ? 2 : 6;
    if (dx > 0) return dy < 0 ? 1 : 3;
    return dy < 0 ? 7 : 5;
}

class TKeyBuilder {
public:
    TKeyBuilder(const TGenPlan& plan, const TMapRecord& map)
        : plan_(plan), map_(map), p_(plan.Palette()), area_(plan.Area()), W_(area_.Width() + 1),
          H_(area_.Height() + 1) {}

    TGenKeyResult Build();

private:
    const TGenPlan& plan_;
    const TMapRecord& map_;
    const TGenPalette& p_;
    const TGridRect area_;
    const int W_, H_;
    std::vector<char> pass_;
    std::vector<int> label_, comp_, cellPlace_;
    std::vector<std::set<int>> compTouches_;
    std::vector<std::map<int, int>> compMarkers_; // hidden markers lying in each stretch of passage
    std::vector<std::set<int>> features_;         // per place: terrain bases beside it

    int Index(int i, int j) const { return plan_.CornerIndex(i, j); }
    int CornerI(int k) const { return area_.Left + k % W_; }
    int CornerJ(int k) const { return area_.Top + k / W_; }
    bool CornerIn(int i, int j) const {
        return i >= area_.Left && j >= area_.Top && i <= area_.Right + 1 && j <= area_.Bottom + 1;
    }
    const TMapCell& Cell(int c, int r) const { return map_.Cell(c + 1, r + 1); }
    const SymbolTraits* Traits(int s) const { return p_.Table ? &(*p_.Table)[s] : nullptr; }
    bool IsWindow(int s) const { return s && Traits(s) && Traits(s)->role == SymbolRole::Window; }
    bool IsDoor(int s) const { return s && Traits(s) && Traits(s)->role == SymbolRole::Door; }
    bool IsMarker(int s) const { return s && (s == p_.Trap || s == p_.Treasure || s == p_.Monster); }

    void Corners();
    void Label();
    void Cells();
    void Passages();
    void Features();
    std::vector<TExit> Exits(int place) const;
    int GapKind(int k, int n) const;
    std::vector<int> Numbering() const;
    std::string Text(int place, const std::vector<TExit>& exits, const std::vector<int>& number) const;
    std::string Title(int place) const;
    TGenPoint Pin(int place) const;
};

void TKeyBuilder::Corners() {
    pass_.assign(size_t(W_) * H_, 0);
    for (int j = area_.Top; j <= area_.Bottom + 1; ++j)
        for (int i = area_.Left; i <= area_.Right + 1; ++i) {
            bool ok = plan_.CornerOpen(i, j);
            // A window shuts its gap: the corners beside it lead nowhere.
            for (int r = j - 1; r <= j && ok; ++r)
                for (int c = i - 1; c <= i && ok; ++c)
                    if (plan_.InArea(c, r) && IsWindow(plan_.Portal(c, r))) ok = false;
            pass_[Index(i, j)] = ok;
        }
}

void TKeyBuilder::Label() {
    label_.assign(pass_.size(), -1);
    for (size_t k = 0; k < plan_.Places.size(); ++k) {
        const TGenPlace& place = plan_.Places[k];
        const auto take = [&](int idx) {
            if (idx >= 0 && idx < int(pass_.size()) && pass_[idx] && label_[idx] < 0) label_[idx] = int(k);
        };
        if (place.Kind == TGenPlaceKind::Room) {
            for (int j = place.y0 + 1; j <= place.y1; ++j)
                for (int i = place.x0 + 1; i <= place.x1; ++i)
                    if (CornerIn(i, j)) take(Index(i, j));
        }
        for (int idx : place.Corners) take(idx);
    }
}

// A cell belongs to the place most of its four corners belong to, when all four are floor.
void TKeyBuilder::Cells() {
    cellPlace_.assign(MapSize * MapSize, -1);
    for (int r = area_.Top; r <= area_.Bottom; ++r)
        for (int c = area_.Left; c <= area_.Right; ++c) {
            int got[4], n = 0;
            bool floor = true;
            for (const int idx : {Index(c, r), Index(c + 1, r), Index(c, r + 1), Index(c + 1, r + 1)}) {
                floor = floor && pass_[idx];
                if (label_[idx] >= 0) got[n++] = label_[idx];
            }
            if (!floor || n == 0) continue;
            int best = got[0], bestCount = 0;
            for (int a = 0; a < n; ++a) {
                const int count = int(std::count(got, got + n, got[a]));
                if (count > bestCount || (count == bestCount && got[a] < best)) best = got[a], bestCount = count;
            }
            cellPlace_[r * MapSize + c] = best;
        }
}

// The floor no place takes: corridors and gaps, each joined stretch with the places it touches.
void TKeyBuilder::Passages() {
    comp_.assign(pass_.size(), -1);
    compTouches_.clear();
    std::vector<int> todo;
    for (int k = 0; k < int(pass_.size()); ++k) {
        if (!pass_[k] || label_[k] >= 0 || comp_[k] >= 0) continue;
        const int id = int(compTouches_.size());
        compTouches_.emplace_back();
        comp_[k] = id;
        todo.push_back(k);
        while (!todo.empty()) {
            const int at = todo.back();
            todo.pop_back();
            const int i = CornerI(at), j = CornerJ(at);
            const int ni[4] = {i + 1, i - 1, i, i}, nj[4] = {j, j, j + 1, j - 1};
            for (int d = 0; d < 4; ++d) {
                if (!CornerIn(ni[d], nj[d])) continue;
                const int n = Index(ni[d], nj[d]);
                if (!pass_[n]) continue;
                if (label_[n] >= 0) compTouches_[id].insert(label_[n]);
                else if (comp_[n] < 0) {
                    comp_[n] = id;
                    todo.push_back(n);
                }
            }
        }
    }
    compMarkers_.assign(compTouches_.size(), {});
    for (int r = area_.Top; r <= area_.Bottom; ++r)
        for (int c = area_.Left; c <= area_.Right; ++c) {
            const int s = Cell(c, r).Lower;
            if (!IsMarker(s) || cellPlace_[r * MapSize + c] >= 0) continue;
            int in = -1;
            for (const int idx : {Index(c, r), Index(c + 1, r), Index(c, r + 1), Index(c + 1, r + 1)})
                if (comp_[idx] >= 0) in = comp_[idx];
            if (in >= 0) ++compMarkers_[in][s];
        }
}

// Water and chasms that border a place.
void TKeyBuilder::Features() {
    features_.assign(plan_.Places.size(), {});
    for (int r = area_.Top; r <= area_.Bottom; ++r)
        for (int c = area_.Left; c <= area_.Right; ++c) {
            const int base = plan_.Solid(c, r);
            if (base != p_.Water && base != p_.Hole) continue;
            for (int j = r - 1; j <= r + 2; ++j)
                for (int i = c - 1; i <= c + 2; ++i)
                    if (CornerIn(i, j) && label_[Index(i, j)] >= 0) features_[label_[Index(i, j)]].insert(base);
        }
}

// What stands in the gap between corner k of a place and corner n beyond it.
int TKeyBuilder::GapKind(int k, int n) const {
    int kind = ExitOpen;
    for (const int idx : {k, n}) {
        const int i = CornerI(idx), j = CornerJ(idx);
        for (int r = j - 1; r <= j; ++r)
            for (int c = i - 1; c <= i; ++c) {
                if (!plan_.InArea(c, r)) continue;
                const int s = Cell(c, r).Lower;
                if (p_.IsSecret(s)) return ExitSecret;
                if (IsDoor(s)) kind = (s == p_.LockedH || s == p_.LockedV) ? ExitLocked : std::max(kind, int(ExitDoor));
            }
    }
    return kind;
}

std::vector<TExit> TKeyBuilder::Exits(int place) const {
    const TGenPlace& pl = plan_.Places[place];
    if (pl.Kind == TGenPlaceKind::Open) return {};
    // The place's middle, for naming exits of an irregular place by compass.
    long sumI = 0, sumJ = 0, count = 0;
    for (int k = 0; k < int(label_.size()); ++k)
        if (label_[k] == place) sumI += CornerI(k), sumJ += CornerJ(k), ++count;
    if (count == 0) return {};
    const int mi = int(sumI / count), mj = int(sumJ / count);
    struct TAcc {
        long i = 0, j = 0, n = 0;
    };
    std::map<TExit, TAcc> found; // exits of an irregular place gather all their contacts first
    for (int k = 0; k < int(label_.size()); ++k) {
        if (label_[k] != place) continue;
        const int i = CornerI(k), j = CornerJ(k);
        const int di[4] = {0, 1, 0, -1}, dj[4] = {-1, 0, 1, 0}, side[4] = {0, 2, 4, 6};
        for (int d = 0; d < 4; ++d) {
            const int ni = i + di[d], nj = j + dj[d];
            if (!CornerIn(ni, nj)) continue;
            const int n = Index(ni, nj);
            if (!pass_[n] || label_[n] == place) continue;
            TExit e;
            if (label_[n] >= 0) {
                e.to = {label_[n]};
                e.kind = GapKind(k, n);
                if (e.kind == ExitOpen && pl.Kind == TGenPlaceKind::Cavern) e.kind = ExitPassage;
            } else {
                const std::set<int>& t = compTouches_[comp_[n]];
                for (int x : t)
                    if (x != place) e.to.push_back(x);
                e.kind = GapKind(k, n);
                if (e.to.empty()) e.passage = comp_[n];
                if (e.kind == ExitOpen && pl.Kind == TGenPlaceKind::Cavern) e.kind = ExitPassage;
            }
            // Outside places only: what lies beyond is open floor no place takes.
            if (plan_.Places[place].Kind != TGenPlaceKind::Room && e.to.empty()) continue;
            e.side = pl.Kind == TGenPlaceKind::Room ? side[d] : -1;
            TAcc& acc = found[e];
            acc.i += ni;
            acc.j += nj;
            ++acc.n;
        }
    }
    std::set<TExit> exits;
    for (const auto& [e, acc] : found) {
        TExit x = e;
        if (x.side < 0) x.side = Octant(int(acc.i / acc.n) - mi, int(acc.j / acc.n) - mj);
        exits.insert(x);
    }
    return {exits.begin(), exits.end()};
}

// Breadth-first through the exits from the place the party comes in by, nearer places first.
std::vector<int> TKeyBuilder::Numbering() const {
    const int n = int(plan_.Places.size());
    std::vector<int> dist(pass_.size(), Far);
    std::vector<int> queue;
    TGenPoint e = plan_.Entrance;
    if (!area_.Contains(e.c, e.r)) e = {area_.Left, area_.Top};
    int start = -1;
    for (const int idx : {Index(e.c, e.r), Index(e.c + 1, e.r), Index(e.c, e.r + 1), Index(e.c + 1, e.r + 1)})
        if (pass_[idx] && dist[idx] == Far) {
            dist[idx] = 0;
            queue.push_back(idx);
        }
    for (size_t q = 0; q < queue.size(); ++q) {
        const int at = queue[q], i = CornerI(at), j = CornerJ(at);
        const int ni[4] = {i + 1, i - 1, i, i}, nj[4] = {j, j, j + 1, j - 1};
        for (int d = 0; d < 4; ++d) {
            if (!CornerIn(ni[d], nj[d])) continue;
            const int nb = Index(ni[d], nj[d]);
            if (pass_[nb] && dist[nb] == Far) {
                dist[nb] = dist[at] + 1;
                queue.push_back(nb);
            }
        }
    }
    std::vector<int> placeDist(n, Far);
    for (int k = 0; k < int(label_.size()); ++k)
        if (label_[k] >= 0) placeDist[label_[k]] = std::min(placeDist[label_[k]], dist[k]);
    if (e.c >= 0 && cellPlace_[e.r * MapSize + e.c] >= 0) start = cellPlace_[e.r * MapSize + e.c];
    const auto nearer = [&](int a, int b) { return std::tie(placeDist[a], a) < std::tie(placeDist[b], b); };
    std::vector<int> order(n);
    for (int k = 0; k < n; ++k) order[k] = k;
    std::sort(order.begin(), order.end(), nearer);
    if (start < 0 && n > 0) start = order[0];
    std::vector<int> number(n, 0), walk;
    std::vector<char> has(n, 0);
    // Places without a floor cell get no entry.
    for (int c = 0; c < MapSize * MapSize; ++c)
        if (cellPlace_[c] >= 0) has[cellPlace_[c]] = 1;
    std::vector<char> seen(n, 0);
    const auto visit = [&](int from) {
        if (seen[from]) return;
        seen[from] = 1;
        size_t q = walk.size();
        walk.push_back(from);
        for (; q < walk.size(); ++q) {
            std::vector<int> next;
            for (const TExit& x : Exits(walk[q]))
                for (int t : x.to)
                    if (!seen[t]) next.push_back(t);
            std::sort(next.begin(), next.end(), nearer);
            next.erase(std::unique(next.begin(), next.end()), next.end());
            for (int t : next) {
                seen[t] = 1;
                walk.push_back(t);
            }
        }
    };
    if (start >= 0) visit(start);
    for (int k : order) visit(k);
    int next = 1;
    for (int k : walk)
        if (has[k] && next <= MaxKeyNumber) number[k] = next++;
    return number;
}

std::string TKeyBuilder::Title(int place) const {
    const TGenPlace& pl = plan_.Places[place];
    if (!pl.Title.empty() || pl.Kind != TGenPlaceKind::Cavern) return pl.Title;
    // A cavern is named by what it holds.
    bool entrance = false;
    int crystal = 0, mushrooms = 0;
    const int mush = p_.Object({"mushroom patch", "mushrooms"});
    for (int c = 0; c < MapSize * MapSize; ++c) {
        if (cellPlace_[c] != place) continue;
        const int u = Cell(c % MapSize, c / MapSize).Upper;
        entrance |= c == plan_.Entrance.r * MapSize + plan_.Entrance.c;
        crystal += u && u == p_.Crystal;
        mushrooms += u && u == mush;
    }
    if (entrance) return "Cave mouth";
    if (features_[place].count(p_.Water)) return "Flooded cavern";
    if (features_[place].count(p_.Hole)) return "Chasm";
    if (crystal >= 2) return "Crystal grotto";
    if (mushrooms >= 2) return "Mushroom cave";
    return "Cavern";
}

TGenPoint TKeyBuilder::Pin(int place) const {
    long sc = 0, sr = 0, n = 0;
    for (int c = 0; c < MapSize * MapSize; ++c)
        if (cellPlace_[c] == place) sc += c % MapSize, sr += c / MapSize, ++n;
    if (n == 0) return {-1, -1};
    const int mc = int(sc / n), mr = int(sr / n);
    TGenPoint best{-1, -1};
    int bestScore = Far;
    for (int c = 0; c < MapSize * MapSize; ++c) {
        if (cellPlace_[c] != place) continue;
        const int x = c % MapSize, y = c / MapSize;
        const TMapCell& cell = Cell(x, y);
        // A bare floor cell near the middle, so the number covers nothing.
        const bool taken = cell.Upper != 0 || IsDoor(cell.Lower) || IsMarker(cell.Lower) || p_.IsSecret(cell.Lower);
        const int score = (taken ? 10000 : 0) + std::abs(x - mc) + std::abs(y - mr);
        if (score < bestScore) bestScore = score, best = {x, y};
    }
    return best;
}

std::string TKeyBuilder::Text(int place, const std::vector<TExit>& exits, const std::vector<int>& number) const {
    const TGenPlace& pl = plan_.Places[place];
    std::map<int, int> things, lights, markers;
    bool up = false, down = false, entrance = false;
    for (int c = 0; c < MapSize * MapSize; ++c) {
        if (cellPlace_[c] != place) continue;
        const TMapCell& cell = Cell(c % MapSize, c / MapSize);
        entrance |= c == plan_.Entrance.r * MapSize + plan_.Entrance.c;
        if (IsMarker(cell.Lower)) ++markers[cell.Lower]; // the rest of the lower layer is ground
        const int s = cell.Upper;
        if (s == 0 || s >= 128) continue;
        if (IsMarker(s)) ++markers[s];
        else if (s == p_.StairsUp) up = true;
        else if (s == p_.StairsDown) down = true;
        else if (Traits(s) && Traits(s)->role == SymbolRole::Light) ++lights[s];
        else ++things[s];
    }
    const auto listOf = [&](const std::map<int, int>& m) {
        std::string out;
        for (const auto& [s, n] : m) {
            const std::string name = Traits(s) ? AsciiLower(Traits(s)->name) : std::string();
            if (name.empty()) continue;
            out += (out.empty() ? "" : ", ") + Counted(name, n);
        }
        return out;
    };
    std::vector<std::string> facts;
    if (entrance) facts.push_back("The way in.");
    if (up) facts.push_back(StairsUpSentence);
    if (down) facts.push_back(StairsDownSentence);
    if (const std::string t = listOf(things); !t.empty()) facts.push_back("In it: " + t + ".");
    if (const std::string t = listOf(lights); !t.empty()) facts.push_back("Light: " + t + ".");
    if (const std::string t = listOf(markers); !t.empty()) facts.push_back("Hidden: " + t + ".");
    if (features_[place].count(p_.Water)) facts.push_back("Water lies beside it.");
    if (features_[place].count(p_.Hole)) facts.push_back("A chasm opens beside it.");
    for (const std::string& line : pl.Lines) facts.push_back(line);

    // Exits: doors, open ways and passages by side; secret doors and blind passages one by one.
    std::vector<std::string> doors, locked, open, passages, single;
    const bool walled = pl.Kind == TGenPlaceKind::Room;
    for (const TExit& e : exits) {
        std::vector<int> to;
        for (int t : e.to)
            if (number[t] > 0) to.push_back(number[t]);
        std::sort(to.begin(), to.end());
        if (to.empty() && !e.to.empty()) continue;
        const std::string where = walled ? std::string("in the ") + SideNames[e.side] + " wall"
                                         : std::string("to the ") + SideNames[e.side];
        if (e.kind == ExitSecret) {
            single.push_back(to.empty() ? "A secret door " + where + " opens on a passage that leads nowhere else."
                                        : "A secret door " + where + " leads to " + NumberList(to) + ".");
            continue;
        }
        if (to.empty()) {
            // A stretch of passage only this place opens on: a dead end, or a loop back here.
            std::string end = std::string("A passage ") + SideNames[e.side] + " leads nowhere else";
            if (e.passage >= 0)
                if (const std::string t = listOf(compMarkers_[e.passage]); !t.empty()) end += "; in it: " + t;
            single.push_back(end + ".");
            continue;
        }
        const std::string item = std::string(SideNames[e.side]) + " to " + NumberList(to);
        (e.kind == ExitDoor      ? doors
         : e.kind == ExitLocked  ? locked
         : e.kind == ExitPassage ? passages
                                 : open)
            .push_back(item);
    }
    const auto sentence = [](const char* head, const std::vector<std::string>& items) {
        std::string s;
        for (const std::string& i : items) s += (s.empty() ? std::string(head) + ": " : std::string(", ")) + i;
        return s.empty() ? s : s + ".";
    };
    std::vector<std::string> ways;
    for (const auto& [head, items] : {std::pair{"Doors", doors}, std::pair{"Locked doors", locked},
                                      std::pair{"Open ways", open}, std::pair{"Passages", passages}})
        if (!items.empty()) ways.push_back(sentence(head, items));
    ways.insert(ways.end(), single.begin(), single.end());

    std::string text = pl.Mood;
    if (pl.Kind == TGenPlaceKind::Cavern) {
        static const std::map<std::string, const char*> moods = {
            {"Cave mouth", "Fresh air from the way in; ahead the dark."},
            {"Flooded cavern", "The air is wet and cold."},
            {"Chasm", "A draught rises from below."},
            {"Crystal grotto", "Faint light glints on wet stone."},
            {"Mushroom cave", "An earthy, musty smell."},
            {"Cavern", "Water drips somewhere in the dark."}};
        const auto it = moods.find(Title(place));
        if (it != moods.end()) text = it->second;
    }
    for (const std::vector<std::string>* para : {&facts, &ways}) {
        std::string line;
        for (const std::string& s : *para) line += (line.empty() ? "" : " ") + s;
        if (line.empty()) continue;
        text += (text.empty() ? "" : "\n\n") + line;
    }
    return text;
}

TGenKeyResult TKeyBuilder::Build() {
    TGenKeyResult out;
    out.PlaceOf.assign(MapSize * MapSize, 0);
    if (plan_.Places.empty()) return out;
    Corners();
    Label();
    Cells();
    Passages();
    Features();
    const std::vector<int> number = Numbering();
    for (int k = 0; k < int(plan_.Places.size()); ++k) {
        if (number[k] == 0) continue;
        const TGenPoint pin = Pin(k);
        if (pin.c < 0) continue;
        TKeyEntry entry;
        entry.Number = number[k];
        entry.X = pin.c + 1;
        entry.Y = pin.r + 1;
        entry.Title = CleanKeyTitle(Title(k));
        entry.Text = CleanKeyText(Text(k, Exits(k), number));
        out.Key.Put(entry);
    }
    for (int c = 0; c < MapSize * MapSize; ++c)
        if (cellPlace_[c] >= 0) out.PlaceOf[c] = std::uint16_t(number[cellPlace_[c]]);
    return out;
}

} // namespace

TGenKeyResult BuildGenKey(const TGenPlan& plan, const TMapRecord& map) { return TKeyBuilder(plan, map).Build(); }

const char* PurposeTitle(TRoomPurpose purpose) {
    switch (purpose) {
    case TRoomPurpose::Plain: return "Chamber";
    case TRoomPurpose::Hall: return "Hall";
    case TRoomPurpose::Throne: return "Throne room";
    case TRoomPurpose::Shrine: return "Shrine";
    case TRoomPurpose::Library: return "Library";
    case TRoomPurpose::Barracks: return "Guard room";
    case TRoomPurpose::Storeroom: return "Storeroom";
    case TRoomPurpose::Crypt: return "Crypt";
    case TRoomPurpose::Kitchen: return "Kitchen";
    case TRoomPurpose::Armoury: return "Armoury";
    case TRoomPurpose::Prison: return "Prison";
    case TRoomPurpose::Bedchamber: return "Bedchamber";
    case TRoomPurpose::Chapel: return "Chapel";
    case TRoomPurpose::Tower: return "Tower room";
    }
    return "Chamber";
}

// Sound, smell and air only: nothing the map would have to show.
const char* PurposeMood(TRoomPurpose purpose) {
    switch (purpose) {
    case TRoomPurpose::Plain: return "Dust, and the smell of damp stone.";
    case TRoomPurpose::Hall: return "Every step echoes here.";
    case TRoomPurpose::Throne: return "A cold, proud room, built to make visitors feel small.";
    case TRoomPurpose::Shrine: return "The air is still and smells of old incense.";
    case TRoomPurpose::Library: return "It smells of dust and old paper.";
    case TRoomPurpose::Barracks: return "It smells of old sweat and leather.";
    case TRoomPurpose::Storeroom: return "Something small scurries away in the dark.";
    case TRoomPurpose::Crypt: return "It is cold here, and very quiet.";
    case TRoomPurpose::Kitchen: return "Old grease and cold ashes.";
    case TRoomPurpose::Armoury: return "The smell of oil and iron.";
    case TRoomPurpose::Prison: return "Somewhere water drips.";
    case TRoomPurpose::Bedchamber: return "Stale air, and a faint old perfume.";
    case TRoomPurpose::Chapel: return "Quiet, but for the wind outside.";
    case TRoomPurpose::Tower: return "The wind moans round the stones.";
    }
    return "";
}

void AddRoomPlace(TGenPlan& plan, const TGenRoom& room, const char* title) {
    TGenPlace place;
    place.Kind = TGenPlaceKind::Room;
    place.Title = title ? title : PurposeTitle(room.purpose);
    place.Mood = PurposeMood(room.purpose);
    place.x0 = room.x0;
    place.y0 = room.y0;
    place.x1 = room.x1;
    place.y1 = room.y1;
    plan.Places.push_back(std::move(place));
}

void MarkCaverns(TGenPlan& plan) {
    const TGridRect a = plan.Area();
    const int W = a.Width() + 1, H = a.Height() + 1, N = W * H;
    const auto ci = [&](int k) { return a.Left + k % W; };
    const auto cj = [&](int k) { return a.Top + k / W; };
    // Steps from rock, corner by corner: wide floor lies far from it.
    std::vector<int> depth(N, Far), queue;
    for (int k = 0; k < N; ++k)
        if (!plan.CornerOpen(ci(k), cj(k))) {
            depth[k] = 0;
            queue.push_back(k);
        }
    const auto neighbours = [&](int k, auto&& fn) {
        const int i = ci(k), j = cj(k);
        if (i > a.Left) fn(k - 1);
        if (i <= a.Right) fn(k + 1);
        if (j > a.Top) fn(k - W);
        if (j <= a.Bottom) fn(k + W);
    };
    for (size_t q = 0; q < queue.size(); ++q)
        neighbours(queue[q], [&](int n) {
            if (depth[n] == Far) {
                depth[n] = depth[queue[q]] + 1;
                queue.push_back(n);
            }
        });
    // Cores: the floor at least three steps from rock, split where it narrows: a part splits
    // wherever the floor a step deeper falls apart into two or more parts of some size.
    constexpr size_t MinCore = 8;
    std::vector<int> member(N, -1), seen(N, -1);
    int calls = 0;
    const auto split = [&](const std::vector<int>& within, int t) {
        const int id = calls++;
        for (int k : within)
            if (depth[k] >= t) member[k] = id;
        std::vector<std::vector<int>> out;
        for (int k : within) {
            if (member[k] != id || seen[k] == id) continue;
            std::vector<int> part{k};
            seen[k] = id;
            for (size_t q = 0; q < part.size(); ++q)
                neighbours(part[q], [&](int n) {
                    if (member[n] == id && seen[n] != id) {
                        seen[n] = id;
                        part.push_back(n);
                    }
                });
            if (part.size() >= MinCore) out.push_back(std::move(part));
        }
        return out;
    };
    std::vector<std::vector<int>> cores;
    const std::function<void(std::vector<int>, int)> refine = [&](std::vector<int> part, int t) {
        std::vector<std::vector<int>> kids = split(part, t + 1);
        if (kids.empty()) cores.push_back(std::move(part));
        for (std::vector<int>& kid : kids) refine(std::move(kid), t + 1);
    };
    std::vector<int> floor;
    for (int k = 0; k < N; ++k)
        if (depth[k] > 0 && depth[k] != Far) floor.push_back(k);
    for (std::vector<int>& part : split(floor, 3)) refine(std::move(part), 3);
    std::vector<int> keep;
    for (int c = 0; c < int(cores.size()); ++c) keep.push_back(c);
    // Grow the kept cores over the floor together, so every floor corner has its cavern.
    std::vector<int> grown(N, -1);
    queue.clear();
    for (int x = 0; x < int(keep.size()); ++x)
        for (int k : cores[keep[x]]) {
            grown[k] = x;
            queue.push_back(k);
        }
    for (size_t q = 0; q < queue.size(); ++q)
        neighbours(queue[q], [&](int n) {
            if (grown[n] < 0 && depth[n] > 0) {
                grown[n] = grown[queue[q]];
                queue.push_back(n);
            }
        });
    // Open floor no core reached (a cave too narrow for any): one cavern of its own.
    int extra = int(keep.size());
    std::vector<std::vector<int>> corners(keep.size());
    for (int k = 0; k < N; ++k) {
        if (depth[k] == 0) continue;
        if (grown[k] < 0) {
            grown[k] = extra;
            std::vector<int> part{k};
            for (size_t q = 0; q < part.size(); ++q)
                neighbours(part[q], [&](int n) {
                    if (grown[n] < 0 && depth[n] > 0) {
                        grown[n] = extra;
                        part.push_back(n);
                    }
                });
            corners.push_back(std::move(part));
            ++extra;
            continue;
        }
        if (grown[k] < int(keep.size())) corners[grown[k]].push_back(k);
    }
    for (std::vector<int>& c : corners) {
        TGenPlace place;
        place.Kind = TGenPlaceKind::Cavern;
        place.Corners = std::move(c);
        plan.Places.push_back(std::move(place));
    }
}

} // namespace qm
