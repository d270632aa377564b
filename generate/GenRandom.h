#pragma once
// The generator's own random numbers: splitmix64, integers only, so a seed gives the same
// map on every machine and build (no library distributions, no floating point).
#include <cstdint>

namespace qm {

class TGenRandom {
public:
    explicit TGenRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    // 0..n-1; n <= 0 gives 0.
    int Below(int n) { return n <= 0 ? 0 : int(Next() % std::uint64_t(n)); }
    // lo..hi inclusive.
    int Range(int lo, int hi) { return hi <= lo ? lo : lo + Below(hi - lo + 1); }
    // True with chance percent / 100.
    bool Chance(int percent) { return Below(100) < percent; }
    // A separate stream for one part of the map, so adding draws to one part leaves the others as they were.
    TGenRandom Fork(std::uint64_t salt) { return TGenRandom(Next() ^ (salt * 0xd1b54a32d192ed03ull)); }

private:
    std::uint64_t state_;
};

} // namespace qm
