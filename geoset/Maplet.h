#pragma once
// Painting one maplet cell of the GeoSet, by the GeoSet's own layer mode.
#include <array>
#include <cstdint>

#include "model/GeoSetRecord.h"
#include "model/LayerMode.h"

namespace qm {

// The GeoSet's layer-mode byte as a mode; a value outside 0..2 (a foreign file) counts
// as lmAuto rather than making painting do nothing.
TLayerMode GeoLayerMode(uint8_t stored);

// Cell x = col + 1, y = row + 1 (0-based grid column and row) of maplet (position,
// section), stored by geo.LayerMode with the same rule as drawing on the map.
// Spare is never touched; a column or row outside 0..11 is ignored.
void PaintMapletCell(TGeoSetRecord& geo, int position, int section, int col, int row, uint8_t symbol,
                     const std::array<uint8_t, 256>& layerFlags);

} // namespace qm
