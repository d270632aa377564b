#pragma once
// Composed, scaled cells kept for repainting. A scaled cell depends only on the layers
// it shows (after row alternation and hidden test), the tileset rendering and the cell
// size, so cells with equal layers share one image. The cache drops everything when
// the tileset generation or the cell size changes.
#include <QImage>
#include <QSize>
#include <cstdint>
#include <unordered_map>

#include "editor/Compose.h"

namespace qm {

class TCellCache {
public:
    // The map cell at grid column c, row r, composed through cellBitmap on a miss.
    const QImage& MapCell(const TMapRecord& map, const TRenderedTileset& ts, int c, int r,
                          const QSize& cellSize, QImage& cellBitmap);
    // Symbol s as the symbol columns show it (ComposeSymbol, then scaled).
    const QImage& Symbol(const TRenderedTileset& ts, uint8_t s, const QSize& cellSize, QImage& cellBitmap);

    void Clear();
    size_t Count() const { return images_.size(); }

private:
    void Revalidate(const TRenderedTileset& ts, const QSize& cellSize);
    template <class ComposeFn>
    const QImage& Lookup(uint32_t key, const QSize& cellSize, QImage& cellBitmap, ComposeFn compose);

    std::unordered_map<uint32_t, QImage> images_;
    uint64_t generation_ = 0;
    int tileSize_ = -1;
    QSize cellSize_;
};

} // namespace qm
