#include "geoset/RandomMap.h"

#include <chrono>

namespace qm {

namespace {
std::function<uint32_t()>& SeedSource() {
    static std::function<uint32_t()> source;
    return source;
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }
} // namespace

uint32_t CommandSeed() {
    if (SeedSource()) return SeedSource()();
    auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<uint32_t>(ticks ^ (ticks >> 32));
}

void SetSeedSourceForTesting(std::function<uint32_t()> source) { SeedSource() = std::move(source); }

int RandomSection(TGeoRandom& rng) {
    std::uniform_int_distribution<int> d(1, GeoSections);
    return Clamp(d(rng), 1, GeoSections);
}

int RandomPosition(TGeoRandom& rng) {
    std::uniform_int_distribution<int> d(1, GeoPositions);
    return Clamp(d(rng), 1, GeoPositions);
}

int SlotPosition(int i, int j) {
    // Slot columns and rows 1, 2..5, 6 map to the three columns and rows of positions.
    auto band = [](int k) { return k <= 1 ? 0 : (k >= 6 ? 2 : 1); };
    return band(j) * 3 + band(i) + 1;
}

const TSlot GenerationOrder[36] = {
    {1, 1}, {1, 6}, {6, 1}, {6, 6}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {2, 6}, {3, 6}, {4, 6}, {5, 6},
    {1, 2}, {1, 3}, {1, 4}, {1, 5}, {6, 2}, {6, 3}, {6, 4}, {6, 5}, {2, 2}, {2, 3}, {2, 4}, {2, 5},
    {3, 2}, {3, 3}, {3, 4}, {3, 5}, {4, 2}, {4, 3}, {4, 4}, {4, 5}, {5, 2}, {5, 3}, {5, 4}, {5, 5},
};

void PlaceMaplet(TMapRecord& map, const TMaplet& maplet, int left, int top) {
    for (int x = 1; x <= MapletSize; ++x)
        for (int y = 1; y <= MapletSize; ++y) {
            const int X = left + x, Y = top + y;
            if (InsideMap(X, Y)) map.Cell(X, Y) = maplet.Cell(x, y);
        }
}

void GenerateRandomMap(TMapRecord& map, const TGeoSetRecord& geo, TGeoRandom& rng) {
    for (const TSlot& slot : GenerationOrder) {
        const int section = RandomSection(rng);
        PlaceMaplet(map, geo.Maplet(SlotPosition(slot.I, slot.J), section), MapletSize * (slot.I - 1),
                    MapletSize * (slot.J - 1));
    }
}

void GenerateRandomMap(TMapRecord& map, const TGeoSetRecord& geo) {
    TGeoRandom rng(CommandSeed());
    GenerateRandomMap(map, geo, rng);
}

TMapletChoice InsertRandomMaplet(TMapRecord& map, const TGeoSetRecord& geo, int left, int top) {
    TGeoRandom rng(CommandSeed());
    TMapletChoice choice;
    choice.Position = RandomPosition(rng);
    choice.Section = RandomSection(rng);
    PlaceMaplet(map, geo.Maplet(choice.Position, choice.Section), left, top);
    return choice;
}

} // namespace qm
