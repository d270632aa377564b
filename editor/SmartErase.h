#pragma once
// Smart erase: taking one terrain out of cells so that what remains still joins. The
// stamp's pieces join at cell corners (a quarter is covered when the terrain holds the
// corner it touches); erasing a cell frees its four corners, and every neighbour keeps
// only the quarters whose corners are still held.
#include "compose/GridRect.h"
#include "model/MapRecord.h"

namespace qm {

// The shape (1..15) covering exactly `quarters` (TQuarter bits); 0 for none.
int TerrainShapeOfQuarters(unsigned quarters);

// Removes terrain `base` (any of its 16 pieces) from the working layer of the selected
// cells (clamped into the map) and fits the cells around them. The working layer is the
// stamp's: Lower in lmLower, otherwise Upper. True when a cell changed.
bool SmartEraseTerrain(TMapRecord& map, const TGridRect& sel, int base, TLayerMode mode);

} // namespace qm
