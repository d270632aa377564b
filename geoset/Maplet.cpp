#include "geoset/Maplet.h"

#include "editor/MapEdit.h"

namespace qm {

TLayerMode GeoLayerMode(uint8_t stored) { return stored == lmUpper ? lmUpper : (stored == lmLower ? lmLower : lmAuto); }

void PaintMapletCell(TGeoSetRecord& geo, int position, int section, int col, int row, uint8_t symbol,
                     const std::array<uint8_t, 256>& layerFlags) {
    if (col < 0 || col >= MapletSize || row < 0 || row >= MapletSize) return;
    PaintCell(geo.Maplet(position, section).Cell(col + 1, row + 1), symbol, GeoLayerMode(geo.LayerMode), layerFlags);
}

} // namespace qm
