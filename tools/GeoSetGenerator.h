#pragma once
// The GeoSets that ship with the program, for the default tileset: the default dungeon
// and themed sets of caves, wilderness and a keep with its town. Every inner maplet border
// of a set is open at the same fixed corners, and the sides that face the map's edge are
// closed, so any random combination makes one connected, closed map.
#include <stdexcept>
#include <utility>

#include "model/GeoSetRecord.h"

namespace gen {

enum class Theme { Dungeon, Caves, Wilderness, Keep };
inline constexpr Theme AllThemes[] = {Theme::Dungeon, Theme::Caves, Theme::Wilderness, Theme::Keep};

// "dungeon", "caves", "wilderness", "keep"; and the file each is shipped as.
const char* ThemeName(Theme theme);
const char* ThemeFileName(Theme theme);
// The terrain row (wall, mountain, forest) that closes maps of this theme.
int BarrierBase(Theme theme);
// The corners (first, last; 0..12) left open on every maplet side that faces another
// maplet; all other border corners are barrier.
std::pair<int, int> BorderGap(Theme theme);

// Builds a GeoSet (deterministic). Throws std::runtime_error naming the maplet when a
// design breaks the border or layer rules.
void BuildGeoSet(Theme theme, qm::TGeoSetRecord& geo);
inline void BuildDefaultGeoSet(qm::TGeoSetRecord& geo) { BuildGeoSet(Theme::Dungeon, geo); }

// Which sides of a maplet at this position face other maplets: bits N 1, E 2, S 4, W 8.
int InnerSides(int position);

} // namespace gen
