#pragma once
// The smart terrain stamp: a 3 x 3 patch of one terrain row (base + shape 0..15) whose
// edge and corner shapes join what of the same terrain already lies around it.
#include <cstdint>

#include "model/MapRecord.h"

namespace qm {

// One stamp in progress: the terrain and the layer it works on.
struct TTerrainStamp {
    TMapRecord& Map;
    int Base;   // TerrainBase: first symbol of the terrain's row
    bool Lower; // working layer: Lower in lmLower, otherwise Upper
};

// Working-layer symbol of (col, row); outside the map it reads as Base + 13 (full).
int ReadTerrainCell(const TTerrainStamp& st, int col, int row);
// Stores symbol on the working layer; outside the map the write is dropped.
void WriteTerrainCell(const TTerrainStamp& st, int col, int row, int symbol);

// The quarters a terrain shape covers, read off the same shape sets the stamp's rules
// use; shape 0 and anything outside 1..15 cover none.
enum TQuarter : unsigned { qNW = 1, qNE = 2, qSE = 4, qSW = 8 };
unsigned TerrainShapeQuarters(int shape);

// Stamps terrain `base` centred on (col, row), 1-based. Changes only the working layer
// of the 3 x 3 patch. A base outside 0..240 (no room for 16 shapes) changes nothing.
void StampSmartTerrain(TMapRecord& map, int col, int row, int base, TLayerMode mode);

} // namespace qm
