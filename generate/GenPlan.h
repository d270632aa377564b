#pragma once
// The plan of a generated map before it is drawn: which cells are stamp centres of which
// terrain (walls, rock, water...), the ground of every cell, doors and windows in wall
// gaps, and the objects standing on clear floor. Commit draws the plan into the map through
// the smart terrain stamp, so every terrain piece is the one the stamp itself would choose.
//
// Cells are 0-based grid columns and rows of the whole map. A stamp centre covers the four
// corners of its cell; floor is where corners are uncovered, so an open passage one cell
// wide is two cells of the plan wide, and a wall one plan cell thick stands between two
// rooms. Doors sit in a gap of two plan cells cut into such a wall.
#include <cstdint>
#include <string>
#include <vector>

#include "compose/GridRect.h"
#include "generate/GenPalette.h"
#include "generate/GenRandom.h"
#include "model/MapRecord.h"

namespace qm {

struct TGenPoint {
    int c = 0, r = 0;
    bool operator==(const TGenPoint&) const = default;
};

// A place the map key numbers: a room (its interior cells), a cavern, or a stretch of open
// ground (the plan's corners it takes in); the key reads what stands there from the map.
enum class TGenPlaceKind {
    Room,   // walled: its exits are named by the wall they are in
    Cavern, // a part of the caves: titled by what is found in it
    Ground, // walled round (a courtyard, the ground outside the walls): exits by compass
    Open    // open country: no exits named
};

struct TGenPlace {
    TGenPlaceKind Kind = TGenPlaceKind::Room;
    std::string Title, Mood;
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1; // a room's interior cells
    std::vector<int> Corners;             // otherwise: corner indices (TGenPlan::CornerIndex)
    std::vector<std::string> Lines;       // what the style itself knows of it, one sentence each
};

class TGenPlan {
public:
    TGenPlan(const TGridRect& area, TGenPalette& palette);

    const TGridRect& Area() const { return area_; }
    // Where stamp centres may stand: two cells in from every side of the area that is not
    // the map's edge, so stamps neither write nor read outside the area.
    const TGridRect& Inner() const { return inner_; }
    bool InArea(int c, int r) const { return area_.Contains(c, r); }
    bool InInner(int c, int r) const { return inner_.Contains(c, r); }

    int Solid(int c, int r) const { return InArea(c, r) ? solid_[At(c, r)] : 0; }
    // Makes (c, r) a centre of terrain `base` when it may stand there and no other terrain
    // lies within two cells (two terrains side by side would overwrite each other's edges).
    bool SetSolid(int c, int r, int base);
    void ClearSolid(int c, int r) {
        if (InArea(c, r)) solid_[At(c, r)] = 0;
    }
    // The centres as they are, to go back to when a try does not work out.
    std::vector<uint8_t> SaveSolid() const { return solid_; }
    void RestoreSolid(const std::vector<uint8_t>& saved) { solid_ = saved; }
    // Every inner cell a centre of `base` (rock or wall to be carved).
    void FillSolid(int base);

    int Ground(int c, int r) const { return InArea(c, r) ? ground_[At(c, r)] : 0; }
    void SetGround(int c, int r, int s) {
        if (InArea(c, r) && s) ground_[At(c, r)] = uint8_t(s);
    }
    // Stone floor, cracked here and there: which cells, the map's own salt decides.
    void SetStone(int c, int r);
    std::uint64_t Salt = 0;

    int Object(int c, int r) const { return InArea(c, r) ? object_[At(c, r)] : 0; }
    void SetObject(int c, int r, int s) {
        if (InArea(c, r)) object_[At(c, r)] = uint8_t(s);
    }
    // A door, window or secret door standing in a wall gap: it goes to the lower layer under
    // the wall pieces that frame the gap.
    void SetPortal(int c, int r, int s) {
        if (InArea(c, r)) portal_[At(c, r)] = uint8_t(s);
    }
    int Portal(int c, int r) const { return InArea(c, r) ? portal_[At(c, r)] : 0; }

    // No terrain within one cell: the cell is whole floor once drawn.
    bool Clear(int c, int r) const;
    // Clear, free of objects and doors: a place for furniture.
    bool Free(int c, int r) const { return Clear(c, r) && !Object(c, r) && !Portal(c, r); }

    // Corner (i, j) is the top-left corner of cell (i, j). Open when no centre of any
    // terrain covers it; cells outside the area count as covering.
    bool CornerOpen(int i, int j) const;
    // Uncovers a corner: clears the four cells around it.
    void OpenCorner(int i, int j);
    // Opens an L-shaped passage of corners from a to b, first along `horizontalFirst`.
    void CarveCorners(TGenPoint a, TGenPoint b, bool horizontalFirst);
    // Opens a wandering passage of corners from a to b, `width` corners wide.
    void CarveWinding(TGenPoint a, TGenPoint b, TGenRandom& rng, int width);
    // Joins every open part to the largest one with L-shaped passages, or wandering ones.
    void ConnectAll(TGenRandom& rng, bool winding = false);
    // Labels the open corners' 4-connected parts; returns the number of parts.
    int CornerParts(std::vector<int>& label) const;
    int CornerIndex(int i, int j) const { return (j - area_.Top) * (area_.Width() + 1) + (i - area_.Left); }

    TGenPoint Entrance{-1, -1};
    TGenPoint StairsDown{-1, -1};  // where the stairs to a level below stand; -1 without
    TGenPoint Arrive{-1, -1};      // a level below: where the stairs from above must come in
    bool WantStairsDown = false;   // caves: stairs down to a level below
    std::vector<TGenPlace> Places; // for the key, in the order the style made them
    int BaseGround = 0;            // the style's ground, shown as the background of a whole map

    // Draws the plan into the area of `map`; cells outside it stay as they were.
    void Commit(TMapRecord& map) const;

    TGenPalette& Palette() const { return palette_; }

private:
    int At(int c, int r) const { return r * MapSize + c; }
    TGridRect area_, inner_;
    TGenPalette& palette_;
    std::vector<uint8_t> solid_, ground_, object_, portal_;
};

} // namespace qm
