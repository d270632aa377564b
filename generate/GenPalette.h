#pragma once
// What a generator can draw with in one tileset: the symbols it finds by role and by name
// (floors, doors, windows, lights, stairs, furniture), and notes on what it had to leave out.
// Widget-free; works from the symbol table and the tileset's flags alone.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "tiles/SymbolTable.h"

namespace qm {

struct TGenPalette {
    // Terrain rows: the first symbol of each; the rows always exist.
    int Wall = 128, Water = 144, Fire = 160, Hole = 176, Slime = 192, Forest = 208, Mountain = 224, Desert = 240;

    // Ground (lower layer); 0 where the tileset names none.
    int StoneA = 0, StoneB = 0, Flagstone = 0, Marble = 0, Planks = 0, Carpet = 0, CaveFloor = 0, Mud = 0;
    int Grass = 0, GrassDark = 0, GrassDry = 0, Flowers = 0, Dirt = 0, Road = 0, Cobbles = 0, Shallows = 0, Deck = 0;

    // Doors and windows by the wall they stand in: H in an east-west wall, V in a north-south one.
    int DoorH = 0, DoorV = 0, LockedH = 0, LockedV = 0, WindowH = 0, WindowV = 0;
    // Hidden secret door symbols for each wall, the same one where the tileset has one for both.
    int SecretH = 0, SecretV = 0;
    int SecretFor(bool northSouth) const { return northSouth ? SecretV : SecretH; }
    bool IsSecret(int s) const { return s && (s == SecretH || s == SecretV); }
    int Torch = 0, Campfire = 0, Crystal = 0; // lights
    int StairsUp = 0, StairsDown = 0, Trap = 0, Treasure = 0, Monster = 0;

    std::array<std::uint8_t, 256> Hidden{}, Upper{};
    const SymbolTable* Table = nullptr;

    // A symbol by name (case ignored): the first whose name is one of `names`, else the
    // first whose name contains one of them as a word start; 0 when none. Terrain rows are
    // never returned.
    int Find(std::initializer_list<const char*> names) const;
    // The same, for an object standing on the upper layer (never a hidden marker).
    int Object(std::initializer_list<const char*> names) const;
    int Ground(std::initializer_list<const char*> names) const;

    // What this tileset lacks for the generator, one short line each, in the order met.
    std::vector<std::string> Missing;
    void Note(const std::string& what);
};

// Reads the tileset's roles, names and flags. `hidden` and `upper` are its HiddenFlags and
// LayerFlags (1 = upper layer).
TGenPalette MakeGenPalette(const SymbolTable& table, const std::array<std::uint8_t, 256>& hidden,
                           const std::array<std::uint8_t, 256>& upper);

} // namespace qm
