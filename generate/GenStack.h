#pragma once
// A stack of levels linked by stairs: level k's stairs down stand on the very cell of level
// k+1's stairs up, so the maps lie on one grid; each level below is made round that cell.
// The same options give the same stack byte for byte.
#include <optional>
#include <string>
#include <vector>

#include "generate/GenerateMap.h"

namespace qm {

constexpr int MaxGenLevels = 5;

struct TGenLevel {
    TGenerateOptions Options; // as this level was made (its style, level number, arrival cell)
    TMapRecord Map;
    TGenerateResult Result; // its key says where the stairs lead
};

// Levels 1..count (1..MaxGenLevels) drawn into copies of `start`; level 1 with `first`'s style,
// those below with `below` (dungeon or caves), else the first's. A one-level stack is the
// map GenerateMap makes.
std::vector<TGenLevel> GenerateStack(const TMapRecord& start, const TGenerateOptions& first, int count,
                                     std::optional<TGenStyle> below, const TGenPalette& palette);

// OUT.map -> OUT-2.map (the level number before the extension, any extension).
std::string LevelPath(const std::string& path, int level);

// Records the stack in each level's key header: "Level: k of N", "Above" and "Below" naming
// the neighbouring levels' map files (`mapPath` the name given, as for LevelPath; the names
// are relative to the key file's folder).
void NameStackLevels(std::vector<TGenLevel>& levels, const std::string& mapPath);

} // namespace qm
