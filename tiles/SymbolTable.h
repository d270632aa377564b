#pragma once
// What each symbol of a tileset is: its name and its role on a battle map (wall, door,
// window, obstacle, light), read by the exports and shown by the editor. Widget-free.
//
// A table is written as text, one symbol a line; the built-in tileset's own catalogue is
// such a text (BuiltInCatalogue in SymbolCatalogue.h), and a custom tileset NAME.bmp may
// carry one beside it as NAME.roles. The format is described in the README.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/MapRecord.h"

namespace qm {

enum class SymbolRole : std::uint8_t { None, Wall, Door, Window, Obstacle, Light };

// Quarters of a cell, as the smart terrain's shape table names them.
enum : std::uint8_t { QuarterNW = 1, QuarterNE = 2, QuarterSW = 4, QuarterSE = 8 };
// Sides of a cell.
enum : std::uint8_t { EdgeN = 1, EdgeE = 2, EdgeS = 4, EdgeW = 8 };
// Wall directions a Door tool kind is offered for: east-west walls, north-south walls.
enum : std::uint8_t { DoorCycleH = 1, DoorCycleV = 2 };

struct SymbolTraits {
    std::string name; // "Stone floor"; empty when the tileset names none
    SymbolRole role = SymbolRole::None;

    // Wall: the quarters it walls off (terrain-like pieces), and thin walls along the
    // sides in `edges`, each running `inset` cells in from its side (parallel to it).
    std::uint8_t quarters = 0;
    std::uint8_t edges = 0;
    float inset = 0;

    // Door, window: true when it sits in a north-south wall (spans the cell from north
    // to south), false in an east-west wall; `across` is where it crosses the cell,
    // in cells from the west (vertical) or north (horizontal) side.
    bool vertical = false;
    float across = 0.5f;
    bool open = false; // a door standing open: a portal that does not close
    // Door tool: the walls (DoorCycleH, DoorCycleV) whose kind cycle offers this symbol;
    // a door or window offers itself for its own axis unless `doorcycle=` says otherwise.
    std::uint8_t doorCycle = 0;

    // Obstacle: its footprint inside the cell (left, top, right, bottom in cells),
    // an ellipse inside that box when `round`.
    std::array<float, 4> box{0.2f, 0.2f, 0.8f, 0.8f};
    bool round = false;

    // Light: reach in cells and colour 0xAARRGGBB.
    float range = 0;
    std::uint32_t color = 0;

    // A hidden symbol: what players see in its place where hidden symbols are not shown
    // (`player=` in the table): a symbol 0..255 (0 = nothing), PlayerWallPiece = the wall
    // piece its neighbours continue, NoPlayerSymbol = not given (nothing).
    int player = -1;
    int line = 0; // the table line that gave it, 0 = a default
};

constexpr int NoPlayerSymbol = -1;
constexpr int PlayerWallPiece = -2;

using SymbolTable = std::array<SymbolTraits, 256>;

// "wall", "door", "window", "obstacle", "light"; "" for None.
const char* RoleName(SymbolRole role);

// The built-in (default) tileset; the shipped parchment.bmp draws the same catalogue.
SymbolTable BuiltInSymbolTable();

// The table for a tileset picture: empty path = the built-in tileset; NAME.roles beside
// NAME.bmp when present; else the built-in catalogue for the shipped parchment.bmp; else only
// the smart-terrain rows carry roles (and names). Errors throw std::runtime_error naming
// the file and the line.
SymbolTable SymbolTableFor(const std::string& tilesetPath);

// Parses a table text. Rows not listed keep the smart-terrain defaults (TerrainSymbolTable).
SymbolTable ParseSymbolTable(std::string_view text, const std::string& fileName);

// Only the smart-terrain rows 128..255: wall quarters, fire lights, and their names.
SymbolTable TerrainSymbolTable();

// The eight smart terrains' names in tileset order, "Wall" .. "Desert"; "" for no terrain.
const char* TerrainName(int terrain);

// Checks the `player=` entries against the tileset's hidden flags: a stand-in may not be
// hidden itself. Throws std::runtime_error naming the file and the line.
void CheckPlayerSymbols(const SymbolTable& table, const std::array<std::uint8_t, 256>& hidden,
                        const std::string& fileName);

// The table for a tileset picture (as above), with its `player=` entries checked.
SymbolTable SymbolTableFor(const std::string& tilesetPath, const std::array<std::uint8_t, 256>& hidden);

// What players see in place of hidden symbol `s` in map cell (c, r) (0-based): its
// `player=` symbol, or for PlayerWallPiece the thin wall piece (else the wall terrain
// piece) that the walls of the four neighbours continue through the cell; 0 = nothing.
// The drawing and the tabletop export both go through this.
std::uint8_t PlayerSymbolAt(const SymbolTable& table, std::uint8_t s, const TMapRecord& map, int c, int r);

// Whether hidden symbol `s` of cell (c, r) is a secret door: its stand-in there is a wall piece.
bool IsSecretDoorAt(const SymbolTable& table, const std::array<std::uint8_t, 256>& hidden, std::uint8_t s,
                    const TMapRecord& map, int c, int r);

// What players see in place of the visible wall terrain piece `s` of cell (c, r): a piece
// carved for the passage of a secret door beside it (the door's frame) is drawn as the
// piece its wall continues through the cell along the wall, so the players' wall runs
// straight past the door, and one in the door's own cell as the door's stand-in; any other
// symbol is itself.
std::uint8_t PlayerFrameAt(const SymbolTable& table, const std::array<std::uint8_t, 256>& hidden, std::uint8_t s,
                           const TMapRecord& map, int c, int r);

// The hidden symbols whose stand-in is wall piece `wall` (or PlayerWallPiece, which
// stands for every wall piece): the secret doors a tool may put into that wall.
std::vector<std::uint8_t> SecretDoorsFor(const SymbolTable& table, const std::array<std::uint8_t, 256>& hidden,
                                         std::uint8_t wall);

} // namespace qm
