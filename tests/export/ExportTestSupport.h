#pragma once
// A small hand-made tileset and a map that uses every composition case, so exported
// pictures can be checked against the program's own composition.
#include <QImage>
#include <functional>
#include <string>

#include "model/MapRecord.h"
#include "tiles/Tileset.h"

namespace exporttest {

// TileSize `size`; each symbol a colour of its own with a white (transparent) notch
// and a one-pixel stripe, so scaling and transparency both show in the pixels.
qm::TRenderedTileset MakeTileset(int size = 8);

// Background 11 (row alternation), lower and upper symbols, a hidden symbol (35)
// in the upper layer of some cells, empty cells; Zoom 16.
qm::TMapRecord MakeMap();

// Largest difference of any channel, and mean absolute difference per channel.
struct TDiff {
    int Max = 0;
    double Mean = 0;
    bool SameSize = false;
};
TDiff Compare(const QImage& a, const QImage& b);

// Mean difference that Qt's own JPEG writer at quality 90 leaves on this picture:
// the yardstick for our JPEG files, since how much JPEG loses depends on the art.
double ReferenceJpegMean(const QImage& picture);

// The message of a qm::TFileError thrown by fn, or "" when none was thrown.
std::string FileErrorOf(const std::function<void()>& fn);

} // namespace exporttest
