#include "compose/KeyLabels.h"

#include <QFont>
#include <QPen>
#include <algorithm>

namespace qm {

void DrawKeyLabel(QPainter& p, const QRectF& cell, int number) {
    const QString text = QString::number(number);
    // Three digits need a wider disc than one: an oval of the cell's width then.
    const double d = std::min(cell.width(), cell.height()) * 0.84;
    const double w = text.size() > 2 ? cell.width() * 0.94 : d;
    const QRectF disc(cell.center().x() - w / 2, cell.center().y() - d / 2, w, d);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    // Dark ink with a light rim: it reads on rock and floor alike, and stands apart from
    // the red rings of the tileset's markers.
    QPen rim(QColor(255, 252, 240));
    rim.setWidthF(std::max(0.5, d * 0.07));
    p.setPen(rim);
    p.setBrush(QColor(24, 40, 96));
    p.drawEllipse(disc);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(std::max(1, int(d * (text.size() > 2 ? 0.46 : text.size() > 1 ? 0.56 : 0.66))));
    p.setFont(font);
    p.setPen(QColor(255, 255, 255));
    p.drawText(disc, Qt::AlignCenter, text);
    p.restore();
}

void DrawKeyLabels(QPainter& p, const TMapKey& key, const TGridRect& area, const QPointF& origin, double cellSize) {
    for (const TKeyEntry& e : key.Entries) {
        if (!area.Contains(e.X - 1, e.Y - 1)) continue;
        const QRectF cell(origin.x() + (e.X - 1 - area.Left) * cellSize, origin.y() + (e.Y - 1 - area.Top) * cellSize,
                          cellSize, cellSize);
        DrawKeyLabel(p, cell, e.Number);
    }
}

TLabelIndex IndexLabels(const TMapKey& key) {
    TLabelIndex index{};
    // The lowest number shows where several share a cell: entries come in number order.
    for (auto it = key.Entries.rbegin(); it != key.Entries.rend(); ++it)
        if (it->X >= 1 && it->X <= 72 && it->Y >= 1 && it->Y <= 72)
            index[size_t(it->X - 1)][size_t(it->Y - 1)] = uint16_t(it->Number);
    return index;
}

} // namespace qm
