#pragma once
// The keep's steps and what they share; GenerateKeep (KeepStyle.cpp) runs them in order, the
// buildings and their dressing are in KeepBuildings.cpp.
#include <vector>

#include "generate/KeepLayout.h"

namespace qm {

// What the keep's steps share, in the order they are drawn: every step draws from rng in
// its turn, so the same seed gives the same keep.
struct TKeep : TGenStyleSteps {
    // A ward side: 0 north, 1 east, 2 south, 3 west.
    struct TSide {
        int ward, side;
    };

    struct TSpot {
        TGenPoint at;
        bool paired; // a gatehouse tower: the size of its pair
    };

    bool small = false; // a small area gets a small fort: one enclosure, three-cell towers at the corners only
    TKeepLayout k;
    int courtyard = 0;
    int t = 3;      // the gatehouse towers' size (every tower's in a small fort)
    TSide gs{0, 2}; // the main gate's ward and side
    bool gateNS = false;
    int gateLine = 0, gateLo = 0, gateHi = 0, gateAt = 0; // the gate's line, its range along it, its place
    int innerAt = -1;                                     // along the cross wall, its gate; -1 without one
    std::vector<TSpot> spots;
    std::vector<TGenRoom> towers, buildings, rooms;
    std::vector<TGenRoom> approaches; // kept free of buildings
    std::vector<TGenDoor> doors;
    TGenDoor gate;
    bool haveGate = false;
    size_t hallWard = 0;
    TKeepOutside outside;

    using TGenStyleSteps::TGenStyleSteps;

    const TKeepWard& GateWard() const { return k.Wards[gs.ward]; }
    bool InYard(TGenPoint q) const { return k.InYard(q.c, q.r); }
    bool CrossWall() const { return k.Shared && !k.SharedOpen; }

    static bool Overlaps(const TGenRoom& a, const TGenRoom& b, int gap) {
        return !(a.x0 > b.x1 + gap || a.x1 < b.x0 - gap || a.y0 > b.y1 + gap || a.y1 < b.y0 - gap);
    }

    void Grass();
    bool Outline();
    void Curtain();
    void ChooseGate();
    void TowerSpots();
    void WallTowerSpots();
    void Towers();
    void FillNooks();
    static constexpr int OpenPartSize = 60; // corners: smaller parts of floor are nooks
    void GateAndMoat();
    void Road();
    void InnerGate();
    bool Fits(const TGenRoom& b, const TKeepWard& w) const;
    bool ProposeBuilding(const TKeepWard& w, bool cramped, TGenRoom& b);
    void RaiseBuilding(const TGenRoom& b, const TKeepWard& w);
    void Buildings();
    void ArrowSlits();
    void HangDoors();
    void DressRooms();
    void DressCourtyard();
    void Places();
};

} // namespace qm
