#pragma once
// Random maps and random maplets built from the GeoSet. Cells are copied byte for
// byte (Upper, Lower and Spare); nothing is matched between neighbouring maplets.
#include <cstdint>
#include <functional>
#include <random>

#include "model/GeoSetRecord.h"
#include "model/MapRecord.h"

namespace qm {

// The generator of one command; every command seeds a fresh one.
using TGeoRandom = std::mt19937;

// The seed of a new command: the steady high-resolution clock, unless a test has
// installed its own source.
uint32_t CommandSeed();
// Installs a seed source for tests; an empty function restores the clock.
void SetSeedSourceForTesting(std::function<uint32_t()> source);

// A section 1..6 / a position 1..9, uniform; the result is forced into range.
int RandomSection(TGeoRandom& rng);
int RandomPosition(TGeoRandom& rng);

// The GeoSet position that fills slot (i, j) of a generated map, i the slot column
// and j the slot row, both 1..6.
int SlotPosition(int i, int j);

struct TSlot {
    int I, J;
};
// The 36 slots in the order generation fills them: corners, top and bottom edges,
// left and right edges, then the centre column by column.
extern const TSlot GenerationOrder[36];

// Copies all three bytes of every maplet cell onto the map with maplet cell (1, 1) at
// 0-based grid column `left`, row `top`; cells that fall outside the map are dropped.
void PlaceMaplet(TMapRecord& map, const TMaplet& maplet, int left, int top);

// Overwrites all 72 x 72 cells from 36 maplets, one random section per slot, drawn
// just before the slot is filled. Takes no undo snapshot; nothing but the cells changes.
void GenerateRandomMap(TMapRecord& map, const TGeoSetRecord& geo);
void GenerateRandomMap(TMapRecord& map, const TGeoSetRecord& geo, TGeoRandom& rng);

struct TMapletChoice {
    int Position, Section;
};
// One random maplet (position first, then section) anchored at the selection's top-left
// cell (0-based), clipped at the right and bottom edges. Takes no undo snapshot.
TMapletChoice InsertRandomMaplet(TMapRecord& map, const TGeoSetRecord& geo, int left, int top);

} // namespace qm
