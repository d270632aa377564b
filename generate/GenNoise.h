#pragma once
// Smooth value noise on integers, for patches of ground and masses of terrain: lattice
// values every `step` cells, blended linearly. The same on every machine.
#include <cstdint>

#include "generate/GenRandom.h"

namespace qm {

class TValueNoise {
public:
    TValueNoise(TGenRandom& rng, int step) : step_(step), salt_(rng.Next()) {}
    // 0..255 at a cell; cells are 0 or more.
    int At(int c, int r) const {
        const int gc = c / step_, gr = r / step_, fc = c % step_, fr = r % step_;
        const int top = Lerp(Lattice(gc, gr), Lattice(gc + 1, gr), fc);
        const int bottom = Lerp(Lattice(gc, gr + 1), Lattice(gc + 1, gr + 1), fc);
        return Lerp(top, bottom, fr);
    }

private:
    int Lerp(int a, int b, int f) const { return a + (b - a) * f / step_; }
    int Lattice(int gc, int gr) const {
        std::uint64_t z = salt_ ^ (std::uint64_t(gc) * 0x9e3779b97f4a7c15ull) ^ (std::uint64_t(gr) << 32);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return int((z ^ (z >> 31)) & 255);
    }
    int step_;
    std::uint64_t salt_;
};

} // namespace qm
