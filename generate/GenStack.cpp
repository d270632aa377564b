#include "generate/GenStack.h"

#include <algorithm>

#include "generate/GenKey.h"

namespace qm {

namespace {

// The entry whose place holds the cell, or null.
TKeyEntry* EntryAt(TGenLevel& level, TGenPoint q) {
    if (q.c < 0) return nullptr;
    return level.Result.Key.Find(level.Result.PlaceOf[q.r * MapSize + q.c]);
}

void Replace(std::string& text, const std::string& what, const std::string& with) {
    const size_t at = text.find(what);
    if (at != std::string::npos) text.replace(at, what.size(), with);
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::vector<TGenLevel> GenerateStack(const TMapRecord& start, const TGenerateOptions& first, int count,
                                     std::optional<TGenStyle> below, const TGenPalette& palette) {
    count = std::clamp(count, 1, MaxGenLevels);
    std::vector<TGenLevel> levels(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        TGenLevel& level = levels[size_t(k)];
        level.Options = first;
        level.Options.Level = k + 1;
        if (k > 0) {
            level.Options.Style = below.value_or(first.Style);
            level.Options.ArriveAt = levels[size_t(k) - 1].Result.StairsDown;
        }
        level.Options.StairsDown = k + 1 < count;
        level.Map = start;
        level.Result = GenerateMap(level.Map, level.Options, palette);
    }
    // Where the stairs lead, in both keys.
    for (int k = 0; k + 1 < count; ++k) {
        TGenLevel &upper = levels[size_t(k)], &lower = levels[size_t(k) + 1];
        const TGenPoint stairs = upper.Result.StairsDown;
        TKeyEntry* from = EntryAt(upper, stairs);
        TKeyEntry* to = EntryAt(lower, lower.Result.Entrance);
        if (!from || !to || !(lower.Result.Entrance == stairs)) continue;
        Replace(from->Text, StairsDownSentence,
                "Stairs down to level " + std::to_string(k + 2) + ", room " + std::to_string(to->Number) + ".");
        Replace(to->Text, StairsUpSentence,
                "Stairs up to level " + std::to_string(k + 1) + ", room " + std::to_string(from->Number) + ".");
    }
    return levels;
}

std::string LevelPath(const std::string& path, int level) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    const size_t at = dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1
                          ? path.size()
                          : dot;
    return path.substr(0, at) + "-" + std::to_string(level) + path.substr(at);
}

void NameStackLevels(std::vector<TGenLevel>& levels, const std::string& mapPath) {
    const int n = int(levels.size());
    for (int k = 0; k < n; ++k) {
        TMapKey& key = levels[size_t(k)].Result.Key;
        key.SetField("Level", std::to_string(k + 1) + " of " + std::to_string(n));
        key.SetField("Above", k > 0 ? FileNameOf(LevelPath(mapPath, k)) : "");
        key.SetField("Below", k + 1 < n ? FileNameOf(LevelPath(mapPath, k + 2)) : "");
    }
}

} // namespace qm
