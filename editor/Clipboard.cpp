#include "editor/Clipboard.h"

#include <cstring>
#include <type_traits>

#include "compose/MapClamp.h"
#include "editor/EraseCell.h"

namespace qm {

namespace {

// Steps 2 to 5 of Copy; Cut runs the same and empties the map cells as it goes.
template <typename TRecord>
void TakeRegion(TRecord& map, TMapClipboard& clip, const TGridRect& sel, TLayerMode current, bool cut) {
    const TGridRect g = ClampSelectionToMap(sel);
    std::memset(clip.Cells, 0, sizeof clip.Cells);
    clip.SourceLayerMode = current;
    clip.Width = g.Width();
    clip.Height = g.Height();
    for (int i = 1; i <= clip.Width; ++i) {
        for (int j = 1; j <= clip.Height; ++j) {
            auto& cell = map.Cell(g.Left + i, g.Top + j);
            clip.Cells[i - 1][j - 1] = cell;
            if constexpr (!std::is_const_v<TRecord>)
                if (cut) EraseCell(cell, current);
        }
    }
}

} // namespace

void CopySelection(const TMapRecord& map, TMapClipboard& clip, const TGridRect& sel, TLayerMode current) {
    TakeRegion(map, clip, sel, current, false);
}

void CutSelection(TMapRecord& map, TMapClipboard& clip, const TGridRect& sel, TLayerMode current) {
    TakeRegion(map, clip, sel, current, true);
}

void PasteClipboard(TMapRecord& map, const TMapClipboard& clip, const TGridRect& sel, TLayerMode current) {
    const TGridRect g = ClampSelectionToMap(sel);
    // A clipboard filled by hand could claim more than its room; never read past it.
    const int w = clip.Width < 0 ? 0 : (clip.Width > MapSize ? MapSize : clip.Width);
    const int h = clip.Height < 0 ? 0 : (clip.Height > MapSize ? MapSize : clip.Height);
    for (int i = 1; i <= w; ++i) {
        for (int j = 1; j <= h; ++j) {
            const int x = g.Left + i, y = g.Top + j;
            if (!InsideMap(x, y)) continue;
            const TMapCell& from = clip.Cell(i, j);
            TMapCell& to = map.Cell(x, y);
            switch (current) {
            case lmUpper: to.Upper = clip.SourceLayerMode == lmLower ? from.Lower : from.Upper; break;
            case lmLower: to.Lower = clip.SourceLayerMode == lmUpper ? from.Upper : from.Lower; break;
            default:
                to.Upper = from.Upper;
                to.Lower = from.Lower;
                break;
            }
        }
    }
}

void CopyLabels(const TMapKey& key, TMapClipboard& clip, const TGridRect& sel) {
    const TGridRect g = ClampSelectionToMap(sel);
    clip.Labels.clear();
    for (const TKeyEntry& e : key.Entries) {
        if (!g.Contains(e.X - 1, e.Y - 1)) continue;
        TKeyEntry label = e;
        label.X -= g.Left;
        label.Y -= g.Top;
        clip.Labels.push_back(std::move(label));
    }
}

void CutLabels(TMapKey& key, TMapClipboard& clip, const TGridRect& sel) {
    CopyLabels(key, clip, sel);
    const TGridRect g = ClampSelectionToMap(sel);
    std::erase_if(key.Entries, [&](const TKeyEntry& e) { return g.Contains(e.X - 1, e.Y - 1); });
}

void PasteLabels(TMapKey& key, const TMapClipboard& clip, const TGridRect& sel) {
    const TGridRect g = ClampSelectionToMap(sel);
    for (TKeyEntry label : clip.Labels) {
        label.X += g.Left;
        label.Y += g.Top;
        if (!InsideMap(label.X, label.Y)) continue;
        std::erase_if(key.Entries, [&](const TKeyEntry& e) { return e.X == label.X && e.Y == label.Y; });
        if (key.Find(label.Number)) label.Number = key.NextFreeNumber();
        if (label.Number == 0) return; // all 999 numbers are taken
        key.Put(std::move(label));
    }
}

void UndoExchange(TMapRecord& map, TMapRecord& undo) {
    // The scratch record lives for the run, like the other two.
    static TMapRecord scratch;
    scratch = map;
    map = undo;
    undo = scratch;
}

} // namespace qm
