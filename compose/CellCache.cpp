#include "compose/CellCache.h"

#include <algorithm>

namespace qm {

namespace {
// Beyond this many bytes of cells a bucket starts afresh rather than grow without bound;
// a map has at most 5184 distinct cells, a viewport shows far fewer.
constexpr size_t MaxBytes = size_t(64) << 20;

size_t MaxEntries(const QSize& cellSize) {
    const size_t perCell = size_t(cellSize.width()) * size_t(cellSize.height()) * 4 + 1;
    return std::max<size_t>(256, MaxBytes / perCell);
}
} // namespace

void TCellCache::Clear() {
    cells_.images.clear();
    symbols_.images.clear();
    variants_.images.clear();
}

template <class ComposeFn> const QImage& TCellCache::Lookup(TBucket& b, const TRenderedTileset& ts, uint32_t key,
                                                            const QSize& cellSize, QImage& cellBitmap,
                                                            ComposeFn compose) {
    if (ts.Generation != b.generation || ts.TileSize != b.tileSize || cellSize != b.cellSize) {
        b.images.clear();
        b.generation = ts.Generation;
        b.tileSize = ts.TileSize;
        b.cellSize = cellSize;
    }
    auto it = b.images.find(key);
    if (it != b.images.end()) return it->second;
    if (b.images.size() >= MaxEntries(cellSize)) b.images.clear();
    compose();
    return b.images.emplace(key, ScaleCellBitmap(cellBitmap, cellSize)).first->second;
}

const QImage& TCellCache::MapCell(const TMapRecord& map, const TRenderedTileset& ts, int c, int r,
                                  const QSize& cellSize, QImage& cellBitmap) {
    const TCellLayers l = VisibleLayers(map, ts, c, r);
    // Equal visible layers compose to equal pixels, whatever cell they come from.
    const uint32_t key = uint32_t(l.Background) << 16 | uint32_t(l.Lower) << 8 | l.Upper;
    return Lookup(cells_, ts, key, cellSize, cellBitmap,
                  [&] { ComposeCell(cellBitmap, ts, l.Background, l.Lower, l.Upper); });
}

const QImage& TCellCache::Variant(uint8_t variant, const TCellLayers& l, const TRenderedTileset& ts,
                                  const QSize& cellSize, QImage& cellBitmap, const std::function<void()>& compose) {
    const uint32_t key = uint32_t(variant) << 24 | uint32_t(l.Background) << 16 | uint32_t(l.Lower) << 8 | l.Upper;
    return Lookup(variants_, ts, key, cellSize, cellBitmap, compose);
}

const QImage& TCellCache::Symbol(const TRenderedTileset& ts, uint8_t s, const QSize& cellSize, QImage& cellBitmap) {
    return Lookup(symbols_, ts, s, cellSize, cellBitmap, [&] { ComposeSymbol(cellBitmap, ts, s); });
}

} // namespace qm
