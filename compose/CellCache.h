#pragma once
// Composed, scaled cells kept for repainting. A scaled cell depends only on the layers
// it shows (after row alternation and hidden test), the tileset rendering and the cell
// size, so cells with equal layers share one image. The cache drops everything when
// the tileset generation or the cell size changes. Map cells and symbol-column cells
// are kept apart, so one cache can serve both grids at their different sizes.
#include <QImage>
#include <QSize>
#include <cstdint>
#include <functional>
#include <unordered_map>

#include "compose/Compose.h"

namespace qm {

class TCellCache {
public:
    // The map cell at grid column c, row r, composed through cellBitmap on a miss.
    const QImage& MapCell(const TMapRecord& map, const TRenderedTileset& ts, int c, int r, const QSize& cellSize,
                          QImage& cellBitmap);
    // Symbol s as the symbol columns show it (ComposeSymbol, then scaled).
    const QImage& Symbol(const TRenderedTileset& ts, uint8_t s, const QSize& cellSize, QImage& cellBitmap);

    // A map cell with layers `l` composed some other way (rock as paper, the print's ink
    // saver), kept apart under `variant`; `compose` fills cellBitmap on a miss.
    const QImage& Variant(uint8_t variant, const TCellLayers& l, const TRenderedTileset& ts, const QSize& cellSize,
                          QImage& cellBitmap, const std::function<void()>& compose);

    void Clear();
    size_t Count() const { return cells_.images.size() + symbols_.images.size() + variants_.images.size(); }

private:
    struct TBucket {
        std::unordered_map<uint32_t, QImage> images;
        uint64_t generation = 0;
        int tileSize = -1;
        QSize cellSize;
    };
    template <class ComposeFn> static const QImage& Lookup(TBucket& b, const TRenderedTileset& ts, uint32_t key,
                                                           const QSize& cellSize, QImage& cellBitmap,
                                                           ComposeFn compose);

    TBucket cells_, symbols_, variants_;
};

} // namespace qm
