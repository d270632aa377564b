#include "editor/CellCache.h"

namespace qm {

namespace {
// Keys: background << 16 | lower << 8 | upper for map cells; symbols get a bit of their
// own because symbol 0 on its own is drawn while an empty map cell is plain white.
constexpr uint32_t SymbolKeyBit = 1u << 24;
// Beyond this many distinct cells start afresh rather than grow without bound.
constexpr size_t MaxEntries = 8192;
} // namespace

void TCellCache::Clear() { images_.clear(); }

void TCellCache::Revalidate(const TRenderedTileset& ts, const QSize& cellSize) {
    if (ts.Generation == generation_ && ts.TileSize == tileSize_ && cellSize == cellSize_) return;
    images_.clear();
    generation_ = ts.Generation;
    tileSize_ = ts.TileSize;
    cellSize_ = cellSize;
}

template <class ComposeFn>
const QImage& TCellCache::Lookup(uint32_t key, const QSize& cellSize, QImage& cellBitmap, ComposeFn compose) {
    auto it = images_.find(key);
    if (it != images_.end()) return it->second;
    if (images_.size() >= MaxEntries) images_.clear();
    compose();
    return images_.emplace(key, ScaleCellBitmap(cellBitmap, cellSize)).first->second;
}

const QImage& TCellCache::MapCell(const TMapRecord& map, const TRenderedTileset& ts, int c, int r,
                                  const QSize& cellSize, QImage& cellBitmap) {
    Revalidate(ts, cellSize);
    const TCellLayers l = VisibleLayers(map, ts, c, r);
    const uint32_t key = uint32_t(l.Background) << 16 | uint32_t(l.Lower) << 8 | l.Upper;
    return Lookup(key, cellSize, cellBitmap,
                  [&] { ComposeCell(cellBitmap, ts, l.Background, l.Lower, l.Upper); });
}

const QImage& TCellCache::Symbol(const TRenderedTileset& ts, uint8_t s, const QSize& cellSize,
                                 QImage& cellBitmap) {
    Revalidate(ts, cellSize);
    return Lookup(SymbolKeyBit | s, cellSize, cellBitmap, [&] { ComposeSymbol(cellBitmap, ts, s); });
}

} // namespace qm
