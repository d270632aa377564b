#include "generate/GenPalette.h"

#include <algorithm>
#include <cctype>

#include "base/Encoding.h"

namespace qm {

namespace {

// "wooden door" contains "door" at a word start; "indoor" does not.
bool HasWord(const std::string& name, const std::string& word) {
    for (size_t at = name.find(word); at != std::string::npos; at = name.find(word, at + 1))
        if (at == 0 || !std::isalpha(static_cast<unsigned char>(name[at - 1]))) return true;
    return false;
}

template <class Ok> int FindIn(const TGenPalette& p, std::initializer_list<const char*> names, Ok ok) {
    if (!p.Table) return 0;
    for (const char* want : names)
        for (int s = 1; s < 128; ++s)
            if (ok(s) && AsciiLower((*p.Table)[s].name) == want) return s;
    for (const char* want : names)
        for (int s = 1; s < 128; ++s)
            if (ok(s) && HasWord(AsciiLower((*p.Table)[s].name), want)) return s;
    return 0;
}

// A door or window of the given role in an east-west (h) or north-south (v) wall.
int Portal(const TGenPalette& p, SymbolRole role, bool vertical, std::initializer_list<const char*> prefer) {
    const auto fits = [&](int s) {
        const SymbolTraits& t = (*p.Table)[s];
        // An open door closes nothing.
        return t.role == role && t.vertical == vertical && !p.Hidden[s] && !HasWord(AsciiLower(t.name), "open");
    };
    if (const int s = FindIn(p, prefer, fits)) return s;
    for (int s = 1; s < 128; ++s)
        if (fits(s)) return s;
    return 0;
}

} // namespace

int TGenPalette::Find(std::initializer_list<const char*> names) const {
    return FindIn(*this, names, [](int) { return true; });
}

int TGenPalette::Object(std::initializer_list<const char*> names) const {
    return FindIn(*this, names, [this](int s) { return Upper[s] && !Hidden[s]; });
}

int TGenPalette::Ground(std::initializer_list<const char*> names) const {
    return FindIn(*this, names, [this](int s) { return !Upper[s] && !Hidden[s]; });
}

void TGenPalette::Note(const std::string& what) {
    if (std::find(Missing.begin(), Missing.end(), what) == Missing.end()) Missing.push_back(what);
}

namespace {

// Floors and grounds by name, each falling back where the tileset names fewer.
void FindGrounds(TGenPalette& p) {
    p.StoneA = p.Ground({"stone floor", "floor"});
    p.StoneB = p.Ground({"stone floor, cracked"});
    if (!p.StoneB) p.StoneB = p.StoneA;
    p.Flagstone = p.Ground({"flagstone floor", "flagstone"});
    if (!p.Flagstone) p.Flagstone = p.StoneA;
    p.Marble = p.Ground({"marble floor", "marble"});
    p.Planks = p.Ground({"wooden planks", "planks", "wooden floor"});
    p.Carpet = p.Ground({"carpet", "rug"});
    p.CaveFloor = p.Ground({"cave floor"});
    if (!p.CaveFloor) p.CaveFloor = p.Ground({"dirt", "gravel"});
    p.Mud = p.Ground({"mud"});
    p.Grass = p.Ground({"grass"});
    p.GrassDark = p.Ground({"dark grass"});
    p.GrassDry = p.Ground({"dry grass"});
    p.Flowers = p.Ground({"flower meadow", "flowers"});
    p.Dirt = p.Ground({"dirt"});
    p.Road = p.Ground({"dirt road", "road"});
    p.Cobbles = p.Ground({"cobblestones", "cobbles"});
    p.Shallows = p.Ground({"shallow water", "ford"});
    p.Deck = p.Ground({"wooden deck", "deck", "bridge"});
}

// Doors, locked doors and windows for each wall by role and axis.
void FindPortals(TGenPalette& p, const SymbolTable& table) {
    p.DoorH = Portal(p, SymbolRole::Door, false, {"wooden door, east-west wall", "wooden door", "door"});
    p.DoorV = Portal(p, SymbolRole::Door, true, {"wooden door, north-south wall", "wooden door", "door"});
    p.LockedH = Portal(p, SymbolRole::Door, false, {"locked door", "locked"});
    p.LockedV = Portal(p, SymbolRole::Door, true, {"locked door", "locked"});
    if (p.LockedH && !HasWord(AsciiLower(table[p.LockedH].name), "locked")) p.LockedH = 0;
    if (p.LockedV && !HasWord(AsciiLower(table[p.LockedV].name), "locked")) p.LockedV = 0;
    p.WindowH = Portal(p, SymbolRole::Window, false, {"arrow slit", "window"});
    p.WindowV = Portal(p, SymbolRole::Window, true, {"arrow slit", "window"});
}

// A secret door for each wall: by its door axis, else by a name that says the wall, else
// one marker for both.
void FindSecretDoors(TGenPalette& p, const SymbolTable& table, const std::array<std::uint8_t, 256>& hidden) {
    for (const bool ns : {false, true}) {
        const auto secret = [&](int s) { return hidden[s] && HasWord(AsciiLower(table[s].name), "secret"); };
        const auto axis = [&](int s) {
            return secret(s) && table[s].role == SymbolRole::Door && table[s].vertical == ns;
        };
        const auto named = [&](int s) {
            return secret(s) && table[s].role != SymbolRole::Door &&
                   HasWord(AsciiLower(table[s].name), ns ? "north" : "east");
        };
        const auto plain = [&](int s) {
            const std::string n = AsciiLower(table[s].name);
            return secret(s) && table[s].role != SymbolRole::Door && !HasWord(n, "north") && !HasWord(n, "east");
        };
        int& to = ns ? p.SecretV : p.SecretH;
        for (int s = 1; s < 128 && !to; ++s)
            if (axis(s)) to = s;
        for (int s = 1; s < 128 && !to; ++s)
            if (named(s)) to = s;
        for (int s = 1; s < 128 && !to; ++s)
            if (plain(s)) to = s;
    }
}

// Lights, stairs and the hidden markers.
void FindLightsAndMarkers(TGenPalette& p, const SymbolTable& table, const std::array<std::uint8_t, 256>& hidden,
                          const std::array<std::uint8_t, 256>& upper) {
    p.Torch = FindIn(p, {"torch", "brazier", "lamp", "lantern"},
                     [&](int s) { return table[s].role == SymbolRole::Light && upper[s] && !hidden[s]; });
    if (!p.Torch)
        for (int s = 1; s < 128 && !p.Torch; ++s)
            if (table[s].role == SymbolRole::Light && upper[s] && !hidden[s]) p.Torch = s;
    p.Campfire = p.Object({"campfire", "fire"});
    if (p.Campfire && table[p.Campfire].role != SymbolRole::Light) p.Campfire = 0;
    p.Crystal = p.Object({"crystal"});
    if (p.Crystal && table[p.Crystal].role != SymbolRole::Light) p.Crystal = 0;
    p.StairsUp = p.Object({"stairs up", "ladder"});
    p.StairsDown = p.Object({"stairs down"});
    const auto marker = [&](std::initializer_list<const char*> names) {
        return FindIn(p, names, [&](int s) { return hidden[s] != 0; });
    };
    p.Trap = marker({"trap marker", "trap"});
    p.Treasure = marker({"treasure marker", "treasure"});
    p.Monster = marker({"monster marker", "monster"});
}

} // namespace

TGenPalette MakeGenPalette(const SymbolTable& table, const std::array<std::uint8_t, 256>& hidden,
                           const std::array<std::uint8_t, 256>& upper) {
    TGenPalette p;
    p.Table = &table;
    p.Hidden = hidden;
    p.Upper = upper;
    FindGrounds(p);
    FindPortals(p, table);
    FindSecretDoors(p, table, hidden);
    FindLightsAndMarkers(p, table, hidden, upper);
    return p;
}

} // namespace qm
