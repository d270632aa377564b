#pragma once
// Small hand-made tilesets for the editor tests: every symbol a solid colour of its
// own, a few with transparent (former white) areas, hidden and layer flags as asked.
#include <QColor>
#include <QImage>
#include <memory>

#include "model/MapRecord.h"
#include "tiles/Tileset.h"

namespace qmtest {

// The colour symbol s is drawn in (never white, distinct for every s).
inline QRgb SymbolColor(int s) { return qRgb(s, 255 - s, (s * 37 + 11) & 0x7f); }

// Symbol 200 is transparent on its left half; 201 is a 1-pixel vertical stripe pattern
// of its colour and black; symbols >= `provided` are left null (a small tileset).
inline void MakeTileset(qm::TRenderedTileset& ts, int tileSize, int provided = 256, uint64_t generation = 1) {
    ts.TileSize = tileSize;
    ts.Generation = generation;
    for (int s = 0; s < 256; ++s) {
        if (s >= provided) {
            ts.DesktopPalette[s] = QImage();
            continue;
        }
        QImage im(tileSize, tileSize, QImage::Format_ARGB32_Premultiplied);
        im.fill(SymbolColor(s));
        if (s == 200)
            for (int y = 0; y < tileSize; ++y)
                for (int x = 0; x < tileSize / 2; ++x) im.setPixel(x, y, 0);
        if (s == 201)
            for (int y = 0; y < tileSize; ++y)
                for (int x = 0; x < tileSize; x += 2) im.setPixel(x, y, qRgb(0, 0, 0));
        ts.DesktopPalette[s] = im;
    }
    ts.HiddenFlags.fill(0);
    ts.LayerFlags.fill(0);
}

inline std::unique_ptr<qm::TMapRecord> NewMap() {
    auto m = std::make_unique<qm::TMapRecord>();
    qm::ClearMapRecord(*m);
    m->Zoom = 16;
    return m;
}

} // namespace qmtest
