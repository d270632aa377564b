#pragma once
// The keep's outline, shared by the castle and what lies round it: one or two wards of
// curtain wall (a plain enclosure, an L, or an outer bailey beside an inner ward), the road
// from the main gate to the edge, and whether a moat rings it all.
#include <vector>

#include "generate/GenerateMap.h"

namespace qm {

// A ward: the rectangle of plan cells its curtain stands on.
struct TKeepWard {
    int L = 0, T = 0, R = 0, B = 0;
    bool OnOrIn(int c, int r) const { return c >= L && c <= R && r >= T && r <= B; }
    bool Inside(int c, int r) const { return c > L && c < R && r > T && r < B; }
    // Side 0 north, 1 east, 2 south, 3 west: the line it stands on and where it runs.
    int Line(int side) const { return side == 0 ? T : side == 1 ? R : side == 2 ? B : L; }
    int Lo(int side) const { return side == 1 || side == 3 ? T : L; }
    int Hi(int side) const { return side == 1 || side == 3 ? B : R; }
};

struct TKeepLayout {
    std::vector<TKeepWard> Wards; // the first holds the main gate
    // Where two wards meet: a cross wall with its own gate, or in an L no wall at all.
    bool Shared = false, SharedNS = false, SharedOpen = false;
    int SharedLine = 0, SharedLo = 0, SharedHi = 0;
    bool Moat = false;
    int MoatOut = 7, MoatWidth = 1; // the ring's first line, cells beyond the curtain, and its width
    std::vector<char> Road;         // cells of the road and the bridge, MapSize x MapSize
    int RoadDc = 0, RoadDr = 0;     // the way the road leaves the gate

    // Cells from the nearest ward, counted as a king moves; 0 on or inside a curtain.
    int Distance(int c, int r) const;
    // Open ground within the curtain: inside a ward, or on the line where an L's wards meet.
    bool InYard(int c, int r) const;
    // The ward side lies on the line the wards share (no outer wall there).
    bool SideShared(const TKeepWard& w, int side) const;
    bool OnRoad(int c, int r) const;
};

// The wards' rectangles within the inner area: their size, place and plan drawn from rng. The
// margin leaves room for towers, the moat and something round them; false when the area is
// too small for any keep.
bool ChooseKeepLayout(const TGridRect& in, TGenRandom& rng, bool small, TKeepLayout& k);

// Round the keep, beyond the moat: a hamlet of small houses by the road, fields, a pond and
// copses. Terrain only here (none of it cuts off any floor); the objects come with
// DressKeepSurroundings once the keep's own doors are set.
struct TKeepOutside {
    std::vector<TGenRoom> Houses;
    std::vector<TGenDoor> Doors;
    std::vector<TGenRoom> Fields;
};
void PlaceKeepSurroundings(TGenPlan& plan, TGenRandom& rng, const TKeepLayout& k, bool small, TKeepOutside& out);
void DressKeepSurroundings(TGenPlan& plan, TGenRandom& rng, const TKeepLayout& k, const TKeepOutside& out,
                           const std::vector<TGenDoor>& doors, const TGenSwitches& sw);

} // namespace qm
