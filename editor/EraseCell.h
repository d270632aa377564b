#pragma once
// The one erase of a cell, for the Eraser, drawing the empty symbol, Cut and the maplet
// editor: which layers empty depends on the layer mode. Spare is never touched.
#include "model/MapRecord.h"

namespace qm {

// lmUpper empties Upper, lmLower empties Lower, lmAuto (and any other value) both.
inline void EraseCell(TMapCell& cell, TLayerMode mode) {
    if (mode != lmLower) cell.Upper = 0;
    if (mode != lmUpper) cell.Lower = 0;
}

} // namespace qm
