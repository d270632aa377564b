// Upper-layer objects: the shared painting helpers, and the sheet's objects family by family.
#include "tools/ObjectArt.h"

#include <QPainterPath>

namespace gen {

// A sphere-like fill: bright towards the light, dark away from it.
QBrush Lit(QPointF c, double r, QColor base) {
    QRadialGradient g(c, r * 1.15, c - QPointF(r * 0.4, r * 0.4));
    g.setColorAt(0, base.lighter(150));
    g.setColorAt(0.55, base);
    g.setColorAt(1, base.darker(150));
    return QBrush(g);
}
QBrush Bevel(const QRectF& r, QColor base) {
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, base.lighter(130));
    g.setColorAt(1, base.darker(130));
    return QBrush(g);
}
void Ball(QPainter& p, double x, double y, double r, QColor base) {
    p.setPen(Qt::NoPen);
    p.setBrush(Lit(QPointF(x, y), r, base));
    p.drawEllipse(QPointF(x, y), r, r);
}
void Box(QPainter& p, const QRectF& r, QColor base, double radius) {
    p.setPen(Qt::NoPen);
    p.setBrush(Bevel(r, base));
    p.drawRoundedRect(r, radius, radius);
}
void Line(QPainter& p, QPointF a, QPointF b, QColor c, double w) {
    p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(a, b);
}
void Poly(QPainter& p, std::initializer_list<QPointF> pts, const QBrush& fill) {
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPolygon(QPolygonF(QList<QPointF>(pts)));
}

// Digit strokes on a 4 x 6 grid, for room numbers.
void Digit(QPainter& p, int d, QRectF box, QColor c, double w) {
    static const char* const paths[10] = {"0 0 4 0 4 6 0 6 0 0",           "1 1 2 0 2 6",
                                          "0 0 4 0 4 3 0 3 0 6 4 6",       "0 0 4 0 4 6 0 6 M 1 3 4 3",
                                          "0 0 0 3 4 3 M 4 0 4 6",         "4 0 0 0 0 3 4 3 4 6 0 6",
                                          "4 0 0 0 0 6 4 6 4 3 0 3",       "0 0 4 0 1 6",
                                          "0 0 4 0 4 6 0 6 0 0 M 0 3 4 3", "4 3 0 3 0 0 4 0 4 6 0 6"};
    QPainterPath path;
    bool move = true;
    QStringList tok = QString(paths[d]).split(' ');
    for (int i = 0; i < tok.size();) {
        if (tok[i] == "M") {
            move = true;
            ++i;
            continue;
        }
        const QPointF pt(box.left() + tok[i].toDouble() / 4 * box.width(),
                         box.top() + tok[i + 1].toDouble() / 6 * box.height());
        if (move) path.moveTo(pt);
        else path.lineTo(pt);
        move = false;
        i += 2;
    }
    p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

// Hidden markers share one look: a red ring on a pale disc with a dark red glyph.
void MarkerRing(QPainter& p) {
    p.setPen(QPen(Marker, 4.5));
    p.setBrush(C(252, 236, 226));
    p.drawEllipse(QPointF(24, 24), 17, 17);
}

// A house seen from above: a pitched roof with its ridge along the longer side.
void Roof(QPainter& p, QRectF r, QColor tile) {
    const bool wide = r.width() >= r.height();
    p.setPen(Qt::NoPen);
    if (wide) {
        const double my = r.center().y();
        Poly(p, {r.topLeft(), r.topRight(), QPointF(r.right(), my), QPointF(r.left(), my)}, tile.lighter(125));
        Poly(p, {QPointF(r.left(), my), QPointF(r.right(), my), r.bottomRight(), r.bottomLeft()}, tile.darker(125));
        for (double x = r.left() + 3; x < r.right() - 1; x += 3.5) {
            Line(p, QPointF(x, r.top() + 0.5), QPointF(x, my - 0.5), tile.darker(115), 0.6);
            Line(p, QPointF(x, my + 0.5), QPointF(x, r.bottom() - 0.5), tile.darker(160), 0.6);
        }
        Line(p, QPointF(r.left(), my), QPointF(r.right(), my), tile.darker(180), 1.2);
    } else {
        const double mx = r.center().x();
        Poly(p, {r.topLeft(), QPointF(mx, r.top()), QPointF(mx, r.bottom()), r.bottomLeft()}, tile.lighter(125));
        Poly(p, {QPointF(mx, r.top()), r.topRight(), r.bottomRight(), QPointF(mx, r.bottom())}, tile.darker(125));
        Line(p, QPointF(mx, r.top()), QPointF(mx, r.bottom()), tile.darker(180), 1.2);
    }
}

void Tent(QPainter& p, QPointF c, double r, QColor cloth) {
    Poly(p, {c + QPointF(-r, -r), c + QPointF(r, -r), c}, cloth.lighter(120));
    Poly(p, {c + QPointF(-r, -r), c, c + QPointF(-r, r)}, cloth.lighter(105));
    Poly(p, {c + QPointF(r, -r), c + QPointF(r, r), c}, cloth.darker(125));
    Poly(p, {c + QPointF(-r, r), c, c + QPointF(r, r)}, cloth.darker(145));
}

void Crate(QPainter& p, QRectF r) {
    Box(p, r, Wood, 0.8);
    p.setPen(QPen(DarkWood, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(1.2, 1.2, -1.2, -1.2));
    p.drawLine(r.topLeft() + QPointF(1.5, 1.5), r.bottomRight() - QPointF(1.5, 1.5));
}

void Tree(QPainter& p, double x, double y, double r) {
    Ball(p, x, y, r, Leaf);
    Ball(p, x - r * 0.35, y - r * 0.3, r * 0.45, Leaf.lighter(115));
    Ball(p, x + r * 0.35, y + r * 0.2, r * 0.4, Leaf.darker(110));
}

void Flame(QPainter& p, QPointF c, double s) {
    QPainterPath f;
    f.moveTo(c + QPointF(0, -s));
    f.cubicTo(c + QPointF(s * 0.8, -s * 0.2), c + QPointF(s * 0.7, s * 0.7), c + QPointF(0, s * 0.7));
    f.cubicTo(c + QPointF(-s * 0.7, s * 0.7), c + QPointF(-s * 0.8, -s * 0.2), c + QPointF(0, -s));
    p.setPen(Qt::NoPen);
    p.setBrush(C(236, 96, 24));
    p.drawPath(f);
    p.setBrush(C(252, 214, 80));
    p.drawPath(QTransform().translate(c.x(), c.y() + s * 0.3).scale(0.55, 0.55).translate(-c.x(), -c.y()).map(f));
}

void Stones(QPainter& p, std::initializer_list<std::array<double, 3>> s, QColor base) {
    for (auto& v : s) Ball(p, v[0], v[1], v[2], base);
}

void DrawObjects(QImage& sheet, const Style& st) {
    DrawWallPieces(sheet, st);
    const Objects obj{sheet, st};
    DrawDoors(obj);
    DrawStairs(obj);
    DrawFurniture(obj);
    DrawOpenings(obj);
    DrawHiddenMarkers(obj);
    DrawHallFurnishings(obj);
    DrawDebrisAndCamp(obj);
    DrawPlantsAndRocks(obj);
    DrawSignAndFences(obj);
    DrawRoomNumbersAndArrows(obj);
    DrawCaveAndMagic(obj);
    DrawMechanisms(obj);
    DrawCrateStacks(obj);
    DrawWorkshop(obj);
    DrawOverlandPlaces(obj);
}

} // namespace gen
