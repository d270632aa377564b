#pragma once
// The internal map clipboard and single-level undo, as functions over records.
// Copy, Cut and Paste run as edits of the map document, which takes the undo snapshot;
// Undo never takes one.
#include <vector>

#include "compose/GridRect.h"
#include "model/MapKey.h"
#include "model/MapRecord.h"

namespace qm {

struct TMapClipboard {
    // Whole-map room, laid out like TMapRecord::Cells; the region is columns
    // 1..Width, rows 1..Height, everything else 0.
    TMapCell Cells[MapSize][MapSize]{};
    int Width = 0, Height = 0; // both 0 until the first Cut or Copy
    TLayerMode SourceLayerMode = lmAuto;
    // The key's labels pinned inside the region, X and Y counted from its top-left (1, 1).
    std::vector<TKeyEntry> Labels;

    const TMapCell& Cell(int x, int y) const { return Cells[x - 1][y - 1]; }
};

// All three bytes of every selected cell into the clipboard.
void CopySelection(const TMapRecord& map, TMapClipboard& clip, const TGridRect& sel, TLayerMode current);
// Copy, then empties the layers of `current` in the map; Spare stays.
void CutSelection(TMapRecord& map, TMapClipboard& clip, const TGridRect& sel, TLayerMode current);
// Writes the region at the selection's top-left cell by the paste layer table, clipped
// at the map edge; Spare is never written.
void PasteClipboard(TMapRecord& map, const TMapClipboard& clip, const TGridRect& sel, TLayerMode current);
// The labels of the key go with the region whatever the layer mode: Copy takes them,
// Cut takes them out of the key, Paste pins them at the same places of the new region
// (clipped at the map edge), replacing a label on the same cell; a pasted number that
// is in use elsewhere takes the next free one.
void CopyLabels(const TMapKey& key, TMapClipboard& clip, const TGridRect& sel);
void CutLabels(TMapKey& key, TMapClipboard& clip, const TGridRect& sel);
void PasteLabels(TMapKey& key, const TMapClipboard& clip, const TGridRect& sel);
// Exchanges the two records whole.
void UndoExchange(TMapRecord& map, TMapRecord& undo);

} // namespace qm
