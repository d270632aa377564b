#pragma once
// Drafting maplets on a grid of cell corners, shared by the GeoSet designs.
//
// The barrier (wall, cliff or forest edge) and terrain are decided per cell corner (13 x 13
// corners per maplet): a quarter of a cell is covered when the corner it touches is. Every
// boundary between terrain and floor then runs along the middle of cells, where the tileset
// draws its rims, and two maplets side by side share the corners of their common border.
// The border corners are fixed per GeoSet: barrier everywhere except a run of corners (5..7
// in most sets, giving a passage over the middle cells 6 and 7) on a side that faces
// another maplet.
#include <array>
#include <cstdint>
#include <functional>

#include "model/GeoSetRecord.h"
#include "tiles/BuiltInSymbols.h"
#include "tools/GeoSetGenerator.h"

namespace gen {

enum Side { N = 1, E = 2, S = 4, W = 8 };

// The default tileset's symbols and terrain rows, by name.
using namespace qm::sym;

bool IsGround(uint8_t s);

struct Draft {
    Draft(int sides_, uint8_t barrier_, uint8_t floor, int gapLo_ = 5, int gapHi_ = 7);

    int sides;
    int gapLo, gapHi;                                // open border corners of an inner side
    uint8_t barrier;                                 // terrain of the corners left closed
    std::array<std::array<bool, 13>, 13> wall;       // [i][j] corner, 0..12
    std::array<std::array<uint8_t, 13>, 13> feature; // terrain base at a corner, 0 none
    std::array<std::array<uint8_t, 13>, 13> ground;  // [x][y] cell, 1..12
    std::array<std::array<uint8_t, 13>, 13> object;  // [x][y] cell, 1..12

    bool Has(int side) const { return (sides & side) != 0; }

    // Corner ranges (i, j in 0..12).
    void Open(int i0, int j0, int i1, int j1);
    void Close(int i0, int j0, int i1, int j1);
    void Feature(int i0, int j0, int i1, int j1, uint8_t base);
    // Cells x0..x1, y0..y1 (1..12) made whole floor: their corners opened.
    void Cells(int x0, int y0, int x1, int y1) { Open(x0 - 1, y0 - 1, x1, y1); }
    // The passage from an inner side over the open border corners, `depth` cells deep;
    // nothing for a closed side.
    void Lane(int side, int depth);
    void Lanes(int depth) {
        for (int s : {N, E, S, W}) Lane(s, depth);
    }
    void Ground(int x0, int y0, int x1, int y1, uint8_t s);
    // The two stone floor variants alternate by row, as the map background does.
    void Floor(int x0, int y0, int x1, int y1);
    // Ground along the passages of the inner sides, from the border to the middle.
    void LaneGround(uint8_t s);
    void Put(int x, int y, uint8_t s) { object[x][y] = s; }
    // Closed doors where a passage from an inner side, narrow between two barrier rims,
    // opens into a wider space.
    void MouthDoors();
    // Every run of doors (or a portcullis) closes its doorway exactly: the corners at the
    // run's two ends are closed and those between its cells opened, on both sides of the
    // door line, so the barrier meets each end of the run. A lone door is joined by a
    // second in the passage cell beside it. Throws naming the cell when it cannot be done.
    void SealDoors();
    // The two cells of every passage next to an inner border get this ground, so grounds
    // meet alike at every border whatever lies on either side.
    void BorderGround(uint8_t s);
};

// Checks the design rules and writes the maplet; throws naming position and section.
void Finish(const Draft& d, qm::TMaplet& m, int position, int section);

using Design = std::function<void(Draft&)>;

struct ThemeDesigns {
    uint8_t barrier;             // terrain that closes the map
    uint8_t floor;               // ground a draft starts with
    uint8_t borderGround;        // ground of the passage cells at every inner border, 0 none
    uint8_t paintSymbol;         // what the maplet editor paints with
    const Design (*sections)[6]; // [9][6]
    int gapLo = 5, gapHi = 7;    // open corners of every inner border
};

ThemeDesigns DungeonDesigns();
ThemeDesigns CaveDesigns();
ThemeDesigns WildernessDesigns();
ThemeDesigns KeepDesigns();

} // namespace gen
