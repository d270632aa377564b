#pragma once
// The map key's labels as the screen, prints and pictures draw them: a small disc with
// the entry's number over the cell it is pinned to.
#include <QPainter>
#include <QRectF>
#include <array>
#include <cstdint>

#include "compose/GridRect.h"
#include "model/MapKey.h"

namespace qm {

// The number over the cell, in a disc that fits inside it.
void DrawKeyLabel(QPainter& p, const QRectF& cell, int number);

// Every label pinned inside `area` (0-based cells), the area's top-left cell drawn at
// `origin`, cells `cellSize` wide.
void DrawKeyLabels(QPainter& p, const TMapKey& key, const TGridRect& area, const QPointF& origin, double cellSize);

// Which label each cell shows, for drawing cell by cell: [col][row] 0-based, 0 = none.
using TLabelIndex = std::array<std::array<uint16_t, 72>, 72>;
TLabelIndex IndexLabels(const TMapKey& key);

} // namespace qm
