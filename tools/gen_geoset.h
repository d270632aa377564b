#pragma once
// The GeoSet that ships with the program: 54 maplets of rooms, corridors, caves and
// courtyards for the default tileset. Every inner maplet border is crossed by a corridor
// at the same fixed cells, and the sides that face the map's edge are closed, so any
// random combination makes one connected, closed map.
#include <stdexcept>

#include "model/GeoSetRecord.h"

namespace gen {

// Builds the default GeoSet (deterministic). Throws std::runtime_error naming the
// maplet when a design breaks the border or layer rules.
void BuildDefaultGeoSet(qm::TGeoSetRecord& geo);

// Which sides of a maplet at this position face other maplets: bits N 1, E 2, S 4, W 8.
int InnerSides(int position);

} // namespace gen
