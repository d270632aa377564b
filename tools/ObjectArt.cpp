// Upper-layer objects: drawn on white in a 48-unit square, lit from the top left.
#include <QPainterPath>
#include <cmath>

#include "tools/TilesetArt.h"

namespace gen {

namespace {

constexpr double Pi = 3.14159265358979323846;

QColor C(int r, int g, int b) { return QColor(r, g, b); }

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
void Box(QPainter& p, const QRectF& r, QColor base, double radius = 1.5) {
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

const QColor Wood(150, 100, 56), DarkWood(104, 68, 38), Iron(110, 114, 124), Stone(150, 146, 138), Gold(226, 182, 58),
    Cloth(170, 40, 44), Leaf(70, 136, 50), Marker(204, 32, 36);

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

// Draws symbol s of the sheet with the painter function, in the sheet's style.
struct Objects {
    QImage& sheet;
    const Style& st;
    void operator()(int s, const std::function<void(QPainter&)>& f) const { DrawObject(sheet, s, st, f); }
};

void DrawWallPieces(QImage& sheet, const Style& st) {
    const int S = st.S;

    // 2..9 wall pieces: the wall terrain's stone, in a band along the cell's sides.
    const double t = S * 0.29;
    struct Sides {
        bool n, e, s, w;
    };
    const Sides walls[8] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1},
                            {1, 0, 0, 1}, {1, 1, 0, 0}, {0, 1, 1, 0}, {0, 0, 1, 1}};
    for (int i = 0; i < 8; ++i) {
        const Sides w = walls[i];
        auto sd = [&](double x, double y) {
            double d = 1e9;
            if (w.n) d = std::min(d, y - t);
            if (w.s) d = std::min(d, (S - t) - y);
            if (w.w) d = std::min(d, x - t);
            if (w.e) d = std::min(d, (S - t) - x);
            return d;
        };
        FillCell(sheet, sym::WallN + i, S, [&](double x, double y) { return ShadeTerrain(0, sd, x, y, S); });
    }
}

void DrawDoors(const Objects& obj) {
    // 12..15 doors
    auto door = [&](QPainter& p, bool vertical, bool open, bool locked) {
        p.save();
        if (vertical) {
            p.translate(48, 0);
            p.rotate(90);
        }
        Box(p, QRectF(0, 17, 8, 14), C(96, 92, 104), 0.5);
        Box(p, QRectF(40, 17, 8, 14), C(96, 92, 104), 0.5);
        if (!open) {
            Box(p, QRectF(8, 20, 32, 8), Wood, 0.5);
            for (double x = 14; x < 40; x += 6) Line(p, QPointF(x, 20.5), QPointF(x, 27.5), DarkWood, 0.8);
            Line(p, QPointF(10, 24), QPointF(38, 24), Iron, 1.0);
            if (locked) {
                Box(p, QRectF(20, 18, 8, 9), Gold, 1.5);
                Ball(p, 24, 21.5, 1.2, C(40, 30, 20));
                Line(p, QPointF(24, 21.5), QPointF(24, 25), C(40, 30, 20), 1);
            }
        } else {
            p.setPen(QPen(C(120, 110, 100), 1.0, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(8 - 28, 24 - 28, 56, 56), 0, -90 * 16);
            Box(p, QRectF(8, 24, 5, 24), Wood, 0.5);
            Line(p, QPointF(10.5, 27), QPointF(10.5, 45), DarkWood, 0.8);
        }
        p.restore();
    };
    obj(sym::DoorNS, [&](QPainter& p) { door(p, true, false, false); });
    obj(sym::DoorEW, [&](QPainter& p) { door(p, false, false, false); });
    obj(sym::DoorOpen, [&](QPainter& p) { door(p, false, true, false); });
    obj(sym::DoorLocked, [&](QPainter& p) { door(p, false, false, true); });
}

void DrawStairs(const Objects& obj) {
    // 22..24 stairs and ladder
    auto stairs = [&](QPainter& p, bool up) {
        for (int i = 0; i < 6; ++i) {
            const double shade = up ? 1.25 - i * 0.1 : 0.95 - i * 0.12;
            QColor c = Stone;
            c = QColor::fromRgbF(std::min(1.0, c.redF() * shade), std::min(1.0, c.greenF() * shade),
                                 std::min(1.0, c.blueF() * shade));
            Box(p, QRectF(8, 5 + i * 6.4, 32, 6.0), c, 0.3);
        }
        Line(p, QPointF(6, 4), QPointF(6, 44), C(90, 86, 80), 2);
        Line(p, QPointF(42, 4), QPointF(42, 44), C(90, 86, 80), 2);
        const double ay = up ? 10 : 38, by = up ? 38 : 10;
        Poly(p, {QPointF(24, ay - (up ? 4 : -4)), QPointF(30, ay + (up ? 4 : -4)), QPointF(18, ay + (up ? 4 : -4))},
             QBrush(C(60, 54, 50)));
        Line(p, QPointF(24, ay), QPointF(24, by), C(60, 54, 50), 2);
    };
    obj(sym::StairsUp, [&](QPainter& p) { stairs(p, true); });
    obj(sym::StairsDown, [&](QPainter& p) { stairs(p, false); });
    obj(sym::Ladder, [&](QPainter& p) {
        Line(p, QPointF(15, 3), QPointF(15, 45), Wood, 3);
        Line(p, QPointF(33, 3), QPointF(33, 45), Wood, 3);
        for (double y = 8; y < 45; y += 7) Line(p, QPointF(15, y), QPointF(33, y), Wood.lighter(115), 2.4);
    });
}

void DrawFurniture(const Objects& obj) {
    // 26..31 furniture
    obj(sym::Table, [&](QPainter& p) {
        Box(p, QRectF(6, 12, 36, 24), Wood, 2);
        Line(p, QPointF(8, 20), QPointF(40, 20), DarkWood, 0.7);
        Line(p, QPointF(8, 28), QPointF(40, 28), DarkWood, 0.7);
    });
    obj(sym::Chair, [&](QPainter& p) {
        Box(p, QRectF(14, 16, 20, 20), Wood, 2);
        Box(p, QRectF(13, 10, 22, 5), DarkWood, 1);
    });
    obj(sym::Bed, [&](QPainter& p) {
        Box(p, QRectF(10, 4, 28, 40), DarkWood, 2);
        Box(p, QRectF(12, 6, 24, 9), C(236, 232, 220), 3);
        Box(p, QRectF(12, 17, 24, 25), C(60, 90, 160), 1.5);
        Line(p, QPointF(12, 19), QPointF(36, 19), C(220, 220, 230), 1.2);
    });
    obj(sym::Chest, [&](QPainter& p) {
        Box(p, QRectF(8, 14, 32, 22), Wood, 1.5);
        for (double x : {14.0, 34.0}) Line(p, QPointF(x, 14), QPointF(x, 36), Iron, 2);
        Line(p, QPointF(8, 22), QPointF(40, 22), DarkWood, 1);
        Box(p, QRectF(21, 19, 6, 6), Gold, 1);
    });
    obj(sym::Barrel, [&](QPainter& p) {
        Ball(p, 24, 24, 15, Wood);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Iron, 1.8));
        p.drawEllipse(QPointF(24, 24), 13.5, 13.5);
        p.drawEllipse(QPointF(24, 24), 8, 8);
        Ball(p, 24, 24, 2, DarkWood);
    });
    obj(sym::Crate, [&](QPainter& p) { Crate(p, QRectF(9, 9, 30, 30)); });
}

void DrawOpenings(const Objects& obj) {
    // 32, 33 portcullis and arrow slit
    obj(sym::Portcullis, [&](QPainter& p) {
        Box(p, QRectF(0, 18, 6, 12), C(96, 92, 104), 0.5);
        Box(p, QRectF(42, 18, 6, 12), C(96, 92, 104), 0.5);
        Line(p, QPointF(6, 21), QPointF(42, 21), Iron.darker(130), 2);
        Line(p, QPointF(6, 27), QPointF(42, 27), Iron.darker(130), 2);
        for (double x = 9; x < 42; x += 5) Line(p, QPointF(x, 18), QPointF(x, 30), Iron, 1.8);
    });
    obj(sym::ArrowSlit, [&](QPainter& p) { // an arrow slit in an east-west wall, widening inwards
        Box(p, QRectF(0, 17, 48, 14), C(96, 92, 104), 0.5);
        for (double x : {8.0, 20.0, 32.0, 44.0}) Line(p, QPointF(x, 18), QPointF(x, 30), C(70, 66, 76), 0.8);
        Line(p, QPointF(0, 24), QPointF(48, 24), C(70, 66, 76), 0.8);
        Poly(p, {QPointF(22.5, 17), QPointF(25.5, 17), QPointF(31, 31), QPointF(17, 31)}, QBrush(C(30, 28, 34)));
    });
}

void DrawHiddenMarkers(const Objects& obj) {
    // 34..38 hidden markers
    obj(sym::Trap, [&](QPainter& p) { // trap: a warning triangle with its exclamation mark
        MarkerRing(p);
        const QColor mark(120, 16, 20);
        p.setPen(QPen(mark, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(C(250, 214, 96));
        p.drawPolygon(QPolygonF({QPointF(24, 12), QPointF(35, 32), QPointF(13, 32)}));
        Line(p, QPointF(24, 18), QPointF(24, 25), mark, 3);
        Ball(p, 24, 29, 1.6, mark);
    });
    obj(sym::SecretDoor, [&](QPainter& p) { // secret door: S
        MarkerRing(p);
        QPainterPath s;
        s.moveTo(30, 16);
        s.cubicTo(26, 12, 16, 13, 17, 19);
        s.cubicTo(18, 25, 31, 23, 31, 29);
        s.cubicTo(31, 36, 20, 36, 16, 32);
        p.setPen(QPen(C(120, 16, 20), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(s);
    });
    obj(sym::Treasure, [&](QPainter& p) { // treasure: a gem
        MarkerRing(p);
        Poly(p, {QPointF(16, 20), QPointF(20, 15), QPointF(28, 15), QPointF(32, 20), QPointF(24, 33)},
             QBrush(C(60, 170, 220)));
        Poly(p, {QPointF(16, 20), QPointF(32, 20), QPointF(24, 33)}, QBrush(C(30, 110, 180)));
        Poly(p, {QPointF(20, 15), QPointF(24, 20), QPointF(28, 15)}, QBrush(C(180, 230, 250)));
    });
    obj(sym::Monster, [&](QPainter& p) { // monster: a skull
        MarkerRing(p);
        p.setPen(Qt::NoPen);
        p.setBrush(C(120, 16, 20));
        p.drawEllipse(QRectF(15, 12, 18, 16));
        p.drawRoundedRect(QRectF(18.5, 25, 11, 8), 2, 2);
        p.setBrush(C(252, 236, 226));
        p.drawEllipse(QRectF(18, 18, 5, 5));
        p.drawEllipse(QRectF(25, 18, 5, 5));
        Line(p, QPointF(22, 29), QPointF(22, 33), C(252, 236, 226), 1);
        Line(p, QPointF(26, 29), QPointF(26, 33), C(252, 236, 226), 1);
    });
    obj(sym::Note, [&](QPainter& p) { // note: a written slip
        MarkerRing(p);
        Box(p, QRectF(16, 13, 16, 22), C(244, 232, 196), 1);
        for (double y = 18; y < 33; y += 4) Line(p, QPointF(19, y), QPointF(29, y), C(120, 16, 20), 1.3);
    });
}

void DrawHallFurnishings(const Objects& obj) {
    // 39..46 furnishings of halls and temples
    obj(sym::Pillar, [&](QPainter& p) {
        Box(p, QRectF(9, 9, 30, 30), Stone.darker(110), 2);
        Ball(p, 24, 24, 11, Stone.lighter(110));
        p.setPen(QPen(Stone.darker(140), 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(24, 24), 7, 7);
    });
    obj(sym::Statue, [&](QPainter& p) { // a robed figure in stone on its plinth
        Box(p, QRectF(8, 8, 32, 34), Stone.darker(125), 1);
        Box(p, QRectF(13, 35, 22, 5), Stone.darker(105), 0.5);
        const QColor marble(204, 200, 192);
        Poly(p, {QPointF(19, 19), QPointF(29, 19), QPointF(32, 35), QPointF(16, 35)},
             Bevel(QRectF(16, 19, 16, 16), marble));
        Line(p, QPointF(19, 21), QPointF(14, 29), marble.darker(110), 2.6);
        Line(p, QPointF(29, 21), QPointF(34, 12), marble.darker(110), 2.6);
        Line(p, QPointF(35, 7), QPointF(33, 17), C(150, 146, 140), 1.6);
        Ball(p, 24, 15, 4.6, marble.lighter(106));
    });
    obj(sym::Altar, [&](QPainter& p) {
        Box(p, QRectF(6, 14, 36, 20), Stone, 1);
        Box(p, QRectF(16, 14, 16, 20), Cloth, 0.5);
        Ball(p, 10, 18, 2.5, C(240, 230, 200));
        Ball(p, 38, 18, 2.5, C(240, 230, 200));
        Flame(p, QPointF(10, 16), 2.5);
        Flame(p, QPointF(38, 16), 2.5);
        Ball(p, 24, 24, 3.5, Gold);
    });
    obj(sym::Fountain, [&](QPainter& p) {
        Ball(p, 24, 24, 20, Stone);
        p.setPen(Qt::NoPen);
        p.setBrush(Lit(QPointF(24, 24), 16, C(70, 140, 200)));
        p.drawEllipse(QPointF(24, 24), 16, 16);
        p.setPen(QPen(C(170, 214, 236), 0.9));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(24, 24), 11, 11);
        p.drawEllipse(QPointF(24, 24), 7, 7);
        Ball(p, 24, 24, 4, Stone.lighter(110));
    });
    obj(sym::Well, [&](QPainter& p) {
        Ball(p, 24, 24, 16, Stone);
        p.setPen(Qt::NoPen);
        p.setBrush(C(20, 30, 44));
        p.drawEllipse(QPointF(24, 24), 10, 10);
        Line(p, QPointF(6, 24), QPointF(42, 24), Wood, 3);
        Box(p, QRectF(21, 21, 6, 6), DarkWood, 1);
    });
    obj(sym::Throne, [&](QPainter& p) {
        Box(p, QRectF(10, 8, 28, 8), Gold.darker(110), 2);
        Box(p, QRectF(10, 14, 28, 26), Gold, 2);
        Box(p, QRectF(15, 17, 18, 18), Cloth, 2);
        Ball(p, 12, 10, 3, Gold.lighter(110));
        Ball(p, 36, 10, 3, Gold.lighter(110));
    });
    obj(sym::Bookshelf, [&](QPainter& p) {
        Box(p, QRectF(2, 14, 44, 20), DarkWood, 0.8);
        const QColor books[6] = {C(150, 40, 40),  C(50, 90, 150),  C(60, 120, 60),
                                 C(180, 140, 50), C(110, 60, 120), C(140, 80, 40)};
        for (int i = 0; i < 13; ++i) Box(p, QRectF(4 + i * 3.1, 16, 2.8, 16), books[(i * 5) % 6], 0.3);
    });
    obj(sym::Torch, [&](QPainter& p) {
        Box(p, QRectF(21, 28, 6, 14), DarkWood, 1);
        Box(p, QRectF(19, 26, 10, 4), Iron, 1);
        Flame(p, QPointF(24, 18), 9);
    });
}

void DrawDebrisAndCamp(const Objects& obj) {
    // 49..56 debris and camp
    obj(sym::Rubble, [&](QPainter& p) {
        Stones(p, {{14, 16, 7}, {28, 12, 5}, {32, 28, 8}, {16, 32, 5.5}, {24, 22, 4}, {38, 38, 3.5}, {9, 26, 3}},
               Stone);
    });
    obj(sym::Bones, [&](QPainter& p) {
        const QColor bone(232, 224, 200);
        Line(p, QPointF(10, 34), QPointF(36, 14), bone, 3);
        Line(p, QPointF(12, 14), QPointF(38, 34), bone, 3);
        for (QPointF e : {QPointF(10, 34), QPointF(36, 14), QPointF(12, 14), QPointF(38, 34)})
            Ball(p, e.x(), e.y(), 2.6, bone);
        p.setPen(Qt::NoPen);
        p.setBrush(Lit(QPointF(24, 24), 7, bone));
        p.drawEllipse(QRectF(17, 16, 14, 13));
        p.setBrush(C(60, 50, 40));
        p.drawEllipse(QRectF(19.5, 20, 3.5, 3.5));
        p.drawEllipse(QRectF(25, 20, 3.5, 3.5));
    });
    obj(sym::Web, [&](QPainter& p) {
        const QColor silk(190, 192, 200);
        for (int i = 0; i < 8; ++i) {
            const double a = i * Pi / 4 + 0.2;
            Line(p, QPointF(24, 24), QPointF(24 + 23 * std::cos(a), 24 + 23 * std::sin(a)), silk, 1.1);
        }
        for (double r = 5; r < 22; r += 5) {
            QPolygonF ring;
            for (int i = 0; i <= 8; ++i) {
                const double a = i * Pi / 4 + 0.2;
                ring << QPointF(24 + r * std::cos(a), 24 + r * std::sin(a));
            }
            p.setPen(QPen(silk, 1.0));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(ring);
        }
    });
    obj(sym::Campfire, [&](QPainter& p) {
        for (int i = 0; i < 8; ++i) Ball(p, 24 + 14 * std::cos(i * Pi / 4), 24 + 14 * std::sin(i * Pi / 4), 4, Stone);
        Line(p, QPointF(16, 30), QPointF(32, 18), DarkWood, 3);
        Line(p, QPointF(16, 18), QPointF(32, 30), DarkWood, 3);
        Flame(p, QPointF(24, 23), 9);
    });
    obj(sym::Tent, [&](QPainter& p) {
        for (QPointF c : {QPointF(3, 3), QPointF(45, 3), QPointF(3, 45), QPointF(45, 45)})
            Line(p, QPointF(24, 24), c, C(120, 100, 70), 0.9);
        Tent(p, QPointF(24, 24), 16, C(196, 172, 120));
        Poly(p, {QPointF(24, 30), QPointF(29, 40), QPointF(19, 40)}, QBrush(C(70, 54, 36)));
        Ball(p, 24, 24, 1.8, DarkWood);
    });
    obj(sym::Cart, [&](QPainter& p) {
        Box(p, QRectF(6, 12, 26, 24), Wood, 1);
        for (double x = 11; x < 32; x += 5) Line(p, QPointF(x, 13), QPointF(x, 35), DarkWood, 0.8);
        Box(p, QRectF(10, 7, 8, 4), C(60, 50, 40), 1);
        Box(p, QRectF(10, 37, 8, 4), C(60, 50, 40), 1);
        Line(p, QPointF(32, 20), QPointF(46, 20), DarkWood, 2);
        Line(p, QPointF(32, 28), QPointF(46, 28), DarkWood, 2);
    });
    obj(sym::Boat, [&](QPainter& p) {
        QPainterPath hull;
        hull.moveTo(24, 4);
        hull.cubicTo(36, 14, 36, 34, 32, 44);
        hull.lineTo(16, 44);
        hull.cubicTo(12, 34, 12, 14, 24, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(Bevel(QRectF(12, 4, 24, 40), Wood));
        p.drawPath(hull);
        p.setBrush(DarkWood.lighter(110));
        p.drawPath(QTransform().translate(24, 26).scale(0.75, 0.8).translate(-24, -24).map(hull));
        for (double y : {18.0, 30.0}) Box(p, QRectF(14, y, 20, 3), Wood.lighter(115), 0.5);
        Line(p, QPointF(4, 22), QPointF(44, 26), C(200, 170, 120), 1.6);
    });
    obj(sym::RopeBridge, [&](QPainter& p) {
        for (double y = 2; y < 47; y += 5) Box(p, QRectF(12, y, 24, 3.6), Wood, 0.5);
        Line(p, QPointF(11, 0), QPointF(11, 48), C(190, 160, 110), 1.4);
        Line(p, QPointF(37, 0), QPointF(37, 48), C(190, 160, 110), 1.4);
    });
}

void DrawPlantsAndRocks(const Objects& obj) {
    // 58..62 plants and rocks
    obj(sym::Tree, [&](QPainter& p) { Tree(p, 24, 24, 17); });
    obj(sym::Bush, [&](QPainter& p) {
        for (auto v : {std::array<double, 3>{17, 20, 8}, {30, 18, 7}, {24, 30, 9}, {14, 31, 5}, {34, 31, 6}})
            Ball(p, v[0], v[1], v[2], Leaf.lighter(108));
    });
    obj(sym::Rock, [&](QPainter& p) {
        Poly(p, {QPointF(14, 20), QPointF(22, 12), QPointF(33, 15), QPointF(36, 28), QPointF(27, 36), QPointF(15, 32)},
             Bevel(QRectF(14, 12, 22, 24), Stone));
    });
    obj(sym::Boulder, [&](QPainter& p) {
        Poly(p,
             {QPointF(6, 22), QPointF(14, 8), QPointF(32, 6), QPointF(43, 18), QPointF(40, 36), QPointF(24, 43),
              QPointF(9, 36)},
             Bevel(QRectF(6, 6, 37, 37), Stone.darker(105)));
        Line(p, QPointF(14, 8), QPointF(22, 24), Stone.lighter(120), 1);
        Line(p, QPointF(22, 24), QPointF(40, 36), Stone.darker(140), 1);
    });
    obj(sym::Stalagmite, [&](QPainter& p) {
        const QColor rock(156, 130, 104);
        for (int i = 0; i < 4; ++i)
            Ball(p, 24 - i * 0.8, 24 - i * 0.8, 14 - i * 3.4, QColor(rock).lighter(100 + i * 10));
    });
}

void DrawSignAndFences(const Objects& obj) {
    // 65..67 sign and fences
    obj(sym::Signpost, [&](QPainter& p) {
        Box(p, QRectF(22, 8, 4, 34), DarkWood, 1);
        Poly(p, {QPointF(8, 12), QPointF(34, 12), QPointF(40, 17), QPointF(34, 22), QPointF(8, 22)},
             Bevel(QRectF(8, 12, 32, 10), Wood));
        Line(p, QPointF(12, 17), QPointF(30, 17), DarkWood, 1);
    });
    auto fence = [&](QPainter& p, bool vertical) {
        p.save();
        if (vertical) {
            p.translate(48, 0);
            p.rotate(90);
        }
        Line(p, QPointF(0, 21), QPointF(48, 21), Wood, 2.2);
        Line(p, QPointF(0, 27), QPointF(48, 27), Wood, 2.2);
        for (double x : {6.0, 24.0, 42.0}) Box(p, QRectF(x - 3, 20, 6, 8), DarkWood, 1);
        p.restore();
    };
    obj(sym::FenceNS, [&](QPainter& p) { fence(p, true); });
    obj(sym::FenceEW, [&](QPainter& p) { fence(p, false); });
}

void DrawRoomNumbersAndArrows(const Objects& obj) {
    // 69..78 room numbers
    for (int d = 0; d < 10; ++d)
        obj(sym::RoomNumber0 + d, [&](QPainter& p) {
            p.setPen(QPen(C(70, 44, 24), 2.4));
            p.setBrush(C(246, 236, 206));
            p.drawEllipse(QPointF(24, 24), 15, 15);
            Digit(p, d, QRectF(19, 16, 10, 16), C(70, 44, 24), 3.2);
        });

    // 79..82 arrows north, east, south, west
    for (int a = 0; a < 4; ++a)
        obj(sym::ArrowNorth + a, [&](QPainter& p) {
            p.translate(24, 24);
            p.rotate(90 * a);
            Poly(p,
                 {QPointF(0, -18), QPointF(13, -3), QPointF(5, -3), QPointF(5, 17), QPointF(-5, 17), QPointF(-5, -3),
                  QPointF(-13, -3)},
                 QBrush(C(196, 40, 36)));
        });
}

void DrawCaveAndMagic(const Objects& obj) {
    // 86..90 cave and magic
    obj(sym::Crystal, [&](QPainter& p) {
        const QColor cr(110, 200, 230);
        auto shard = [&](QPointF base, double ang, double len, double w) {
            const QPointF d(std::cos(ang), std::sin(ang)), n(-d.y(), d.x());
            Poly(p,
                 {base + n * w, base + d * (len * 0.8) + n * w, base + d * len, base + d * (len * 0.8) - n * w,
                  base - n * w},
                 QBrush(cr));
            Poly(p, {base, base + d * (len * 0.8) + n * w, base + d * len}, QBrush(cr.lighter(130)));
        };
        shard(QPointF(24, 30), -Pi / 2, 22, 4);
        shard(QPointF(22, 32), -Pi * 0.8, 16, 3.5);
        shard(QPointF(27, 32), -Pi * 0.2, 16, 3.5);
        shard(QPointF(24, 34), Pi * 0.45, 10, 3);
    });
    obj(sym::Mushrooms, [&](QPainter& p) {
        for (auto v : {std::array<double, 3>{16, 18, 7}, {31, 16, 5}, {28, 31, 8}, {14, 33, 4.5}}) {
            Ball(p, v[0], v[1], v[2], C(196, 50, 40));
            Ball(p, v[0] - v[2] * 0.3, v[1] - v[2] * 0.3, v[2] * 0.18, C(250, 240, 230));
            Ball(p, v[0] + v[2] * 0.35, v[1] + v[2] * 0.1, v[2] * 0.15, C(250, 240, 230));
        }
    });
    obj(sym::Grave, [&](QPainter& p) {
        Box(p, QRectF(12, 18, 24, 26), C(112, 88, 60), 8);
        p.setPen(Qt::NoPen);
        p.setBrush(Bevel(QRectF(12, 4, 24, 14), Stone));
        QPainterPath stone;
        stone.moveTo(12, 16);
        stone.lineTo(12, 10);
        stone.arcTo(QRectF(12, 4, 24, 12), 180, -180);
        stone.lineTo(36, 16);
        stone.closeSubpath();
        p.drawPath(stone);
        Line(p, QPointF(24, 7), QPointF(24, 14), Stone.darker(150), 1.2);
        Line(p, QPointF(21, 9.5), QPointF(27, 9.5), Stone.darker(150), 1.2);
    });
    obj(sym::Obelisk, [&](QPainter& p) {
        Poly(p, {QPointF(12, 12), QPointF(36, 12), QPointF(24, 24)}, QBrush(C(200, 196, 188)));
        Poly(p, {QPointF(12, 12), QPointF(24, 24), QPointF(12, 36)}, QBrush(C(170, 166, 158)));
        Poly(p, {QPointF(36, 12), QPointF(36, 36), QPointF(24, 24)}, QBrush(C(118, 114, 108)));
        Poly(p, {QPointF(12, 36), QPointF(24, 24), QPointF(36, 36)}, QBrush(C(96, 92, 88)));
    });
    obj(sym::Teleport, [&](QPainter& p) {
        const QColor glow(150, 90, 210);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(glow, 2.4));
        p.drawEllipse(QPointF(24, 24), 20, 20);
        p.setPen(QPen(glow.lighter(130), 1.4));
        p.drawEllipse(QPointF(24, 24), 15, 15);
        QPolygonF star;
        for (int i = 0; i < 5; ++i)
            star << QPointF(24 + 15 * std::cos(-Pi / 2 + i * 4 * Pi / 5), 24 + 15 * std::sin(-Pi / 2 + i * 4 * Pi / 5));
        p.setPen(QPen(glow, 1.6));
        p.drawPolygon(star);
        for (int i = 0; i < 12; ++i)
            Line(p, QPointF(24 + 17.5 * std::cos(i * Pi / 6), 24 + 17.5 * std::sin(i * Pi / 6)),
                 QPointF(24 + 19.5 * std::cos(i * Pi / 6 + 0.1), 24 + 19.5 * std::sin(i * Pi / 6 + 0.1)),
                 glow.darker(130), 1.2);
    });
}

void DrawMechanisms(const Objects& obj) {
    // 92..95 mechanisms
    obj(sym::Spikes, [&](QPainter& p) {
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 3; ++i) {
                const double x = 10 + i * 14, y = 10 + j * 14;
                Poly(p, {QPointF(x, y - 5), QPointF(x + 4.5, y + 4), QPointF(x - 4.5, y + 4)},
                     Bevel(QRectF(x - 5, y - 5, 10, 9), Iron.lighter(110)));
            }
    });
    obj(sym::Plate, [&](QPainter& p) {
        Box(p, QRectF(10, 10, 28, 28), C(126, 122, 116), 1);
        Box(p, QRectF(13, 13, 22, 22), C(150, 146, 138), 1);
        for (double x : {18.0, 24.0, 30.0}) Ball(p, x, 24, 1.5, C(90, 86, 80));
    });
    obj(sym::Lever, [&](QPainter& p) {
        Box(p, QRectF(14, 26, 20, 12), Iron.darker(110), 2);
        Line(p, QPointF(24, 30), QPointF(34, 10), DarkWood, 3);
        Ball(p, 34, 10, 4, Cloth);
    });
    obj(sym::Chain, [&](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 6; ++i) {
            p.setPen(QPen(i % 2 ? Iron.darker(120) : Iron.lighter(120), 2.4));
            if (i % 2) p.drawRoundedRect(QRectF(21, 2 + i * 7.5, 6, 10), 3, 3);
            else p.drawRoundedRect(QRectF(19, 2 + i * 7.5, 10, 10), 5, 5);
        }
    });
}

void DrawCrateStacks(const Objects& obj) {
    // 100, 101 crate stacks
    obj(sym::CrateStack, [&](QPainter& p) {
        Crate(p, QRectF(6, 16, 18, 18));
        Crate(p, QRectF(25, 12, 16, 16));
        Crate(p, QRectF(22, 29, 14, 14));
    });
    obj(sym::BigCrateStack, [&](QPainter& p) {
        Crate(p, QRectF(3, 3, 21, 21));
        Crate(p, QRectF(24, 3, 21, 21));
        Crate(p, QRectF(3, 24, 21, 21));
        Crate(p, QRectF(24, 24, 21, 21));
        Crate(p, QRectF(14, 14, 20, 20));
    });
}

void DrawWorkshop(const Objects& obj) {
    // 104..108 workshop
    obj(sym::Cage, [&](QPainter& p) {
        p.setPen(QPen(C(90, 86, 80), 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(9.5, 9.5, 29, 29));
        for (double x = 11; x < 38; x += 5.2) Line(p, QPointF(x, 9), QPointF(x, 39), Iron, 1.8);
    });
    obj(sym::Anvil, [&](QPainter& p) {
        Poly(p,
             {QPointF(6, 18), QPointF(36, 18), QPointF(44, 22), QPointF(36, 26), QPointF(30, 26), QPointF(30, 32),
              QPointF(34, 36), QPointF(14, 36), QPointF(18, 32), QPointF(18, 26), QPointF(10, 26)},
             Bevel(QRectF(6, 18, 38, 18), C(82, 84, 92)));
    });
    obj(sym::Forge, [&](QPainter& p) {
        Box(p, QRectF(6, 6, 36, 36), C(150, 74, 54), 3);
        for (double y = 12; y < 42; y += 6) Line(p, QPointF(7, y), QPointF(41, y), C(110, 54, 40), 0.8);
        p.setPen(Qt::NoPen);
        p.setBrush(Lit(QPointF(24, 24), 11, C(250, 130, 30)));
        p.drawRoundedRect(QRectF(13, 13, 22, 22), 4, 4);
        for (auto v : {std::array<double, 3>{19, 20, 3}, {28, 22, 3.5}, {22, 29, 3}, {30, 30, 2.5}})
            Ball(p, v[0], v[1], v[2], C(70, 40, 30));
    });
    obj(sym::Loom, [&](QPainter& p) {
        Box(p, QRectF(8, 8, 32, 6), Wood, 1);
        Box(p, QRectF(8, 34, 32, 6), Wood, 1);
        Line(p, QPointF(9, 8), QPointF(9, 40), DarkWood, 3);
        Line(p, QPointF(39, 8), QPointF(39, 40), DarkWood, 3);
        for (double x = 13; x < 37; x += 2.6) Line(p, QPointF(x, 14), QPointF(x, 34), C(214, 200, 160), 0.9);
        Box(p, QRectF(11, 24, 26, 6), C(70, 100, 170), 0.5);
    });
    obj(sym::Cauldron, [&](QPainter& p) {
        Ball(p, 24, 26, 17, C(58, 56, 60));
        p.setPen(Qt::NoPen);
        p.setBrush(Lit(QPointF(24, 26), 12, C(90, 190, 60)));
        p.drawEllipse(QPointF(24, 26), 12, 12);
        Ball(p, 20, 23, 2.5, C(170, 240, 120));
        Ball(p, 28, 29, 1.8, C(170, 240, 120));
        Line(p, QPointF(10, 8), QPointF(38, 8), C(58, 56, 60), 2);
    });
}

void DrawOverlandPlaces(const Objects& obj) {
    // 110..127 places on overland maps
    obj(sym::House, [&](QPainter& p) { Roof(p, QRectF(8, 12, 32, 24), C(178, 70, 50)); });
    obj(sym::Tower, [&](QPainter& p) {
        Ball(p, 24, 24, 16, Stone);
        p.setPen(Qt::NoPen);
        QConicalGradient g(QPointF(24, 24), 135);
        g.setColorAt(0, C(80, 80, 130).lighter(150));
        g.setColorAt(0.5, C(80, 80, 130).darker(150));
        g.setColorAt(1, C(80, 80, 130).lighter(150));
        p.setBrush(g);
        p.drawEllipse(QPointF(24, 24), 12, 12);
    });
    obj(sym::Castle, [&](QPainter& p) {
        p.setPen(QPen(Stone, 5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(10.5, 10.5, 27, 27));
        Roof(p, QRectF(17, 17, 14, 14), C(80, 80, 130));
        for (QPointF c : {QPointF(9, 9), QPointF(39, 9), QPointF(9, 39), QPointF(39, 39)})
            Ball(p, c.x(), c.y(), 6, Stone.lighter(105));
        Box(p, QRectF(20, 36, 8, 5), DarkWood, 0.5);
    });
    obj(sym::Temple, [&](QPainter& p) {
        Box(p, QRectF(8, 10, 32, 30), C(214, 206, 186), 0.5);
        Roof(p, QRectF(11, 13, 26, 18), C(196, 186, 160));
        for (double x = 11; x < 38; x += 6.5) Ball(p, x, 36, 2.2, C(236, 230, 214));
    });
    obj(sym::Village, [&](QPainter& p) {
        Roof(p, QRectF(4, 6, 18, 13), C(178, 70, 50));
        Roof(p, QRectF(26, 10, 17, 12), C(160, 110, 60));
        Roof(p, QRectF(12, 28, 20, 14), C(178, 90, 56));
        Tree(p, 39, 35, 6);
    });
    obj(sym::Ruins, [&](QPainter& p) {
        Box(p, QRectF(6, 8, 22, 5), Stone, 0.5);
        Box(p, QRectF(6, 8, 5, 18), Stone, 0.5);
        Box(p, QRectF(30, 24, 5, 16), Stone, 0.5);
        Box(p, QRectF(18, 35, 17, 5), Stone, 0.5);
        Stones(p, {{20, 22, 2.5}, {38, 12, 3}, {14, 36, 2}, {28, 18, 2}}, Stone);
    });
    obj(sym::CaveMouth, [&](QPainter& p) {
        Poly(p, {QPointF(4, 40), QPointF(10, 14), QPointF(24, 4), QPointF(38, 14), QPointF(44, 40)},
             Bevel(QRectF(4, 4, 40, 36), C(140, 120, 100)));
        p.setPen(Qt::NoPen);
        p.setBrush(C(20, 16, 16));
        QPainterPath mouth;
        mouth.moveTo(14, 40);
        mouth.cubicTo(14, 22, 34, 22, 34, 40);
        mouth.closeSubpath();
        p.drawPath(mouth);
    });
    obj(sym::Mine, [&](QPainter& p) {
        Poly(p, {QPointF(4, 40), QPointF(12, 14), QPointF(24, 6), QPointF(36, 14), QPointF(44, 40)},
             Bevel(QRectF(4, 6, 40, 34), C(130, 116, 100)));
        Box(p, QRectF(14, 22, 20, 18), C(30, 24, 20), 0.5);
        Line(p, QPointF(14, 22), QPointF(14, 40), Wood, 3);
        Line(p, QPointF(34, 22), QPointF(34, 40), Wood, 3);
        Line(p, QPointF(12, 22), QPointF(36, 22), Wood, 3);
        Line(p, QPointF(20, 34), QPointF(30, 28), C(160, 160, 170), 1.6);
    });
    obj(sym::Camp, [&](QPainter& p) {
        Tent(p, QPointF(14, 14), 9, C(196, 172, 120));
        Tent(p, QPointF(34, 16), 8, C(150, 120, 80));
        Ball(p, 24, 34, 6, Stone);
        Flame(p, QPointF(24, 34), 5);
    });
    obj(sym::Port, [&](QPainter& p) {
        Box(p, QRectF(4, 18, 40, 10), Wood, 0.5);
        for (double x = 8; x < 44; x += 4) Line(p, QPointF(x, 18), QPointF(x, 28), DarkWood, 0.6);
        for (double x : {6.0, 16.0, 26.0, 36.0}) Ball(p, x + 2, 30, 1.8, DarkWood);
        QPainterPath hull;
        hull.moveTo(10, 38);
        hull.cubicTo(18, 33, 30, 33, 40, 38);
        hull.cubicTo(30, 43, 18, 43, 10, 38);
        p.setBrush(Bevel(QRectF(10, 33, 30, 10), Wood));
        p.drawPath(hull);
        Line(p, QPointF(24, 30), QPointF(24, 46), C(230, 224, 200), 2);
    });
    obj(sym::Bridge, [&](QPainter& p) {
        Box(p, QRectF(2, 16, 44, 16), Stone, 2);
        Line(p, QPointF(2, 17), QPointF(46, 17), Stone.darker(140), 1.4);
        Line(p, QPointF(2, 31), QPointF(46, 31), Stone.darker(140), 1.4);
        for (double x = 6; x < 44; x += 6) Line(p, QPointF(x, 19), QPointF(x, 29), Stone.darker(115), 0.6);
    });
    obj(sym::StandingStones, [&](QPainter& p) {
        for (int i = 0; i < 8; ++i) {
            const double a = i * Pi / 4;
            Box(p, QRectF(24 + 16 * std::cos(a) - 3.5, 24 + 16 * std::sin(a) - 3.5, 7, 7), Stone, 1.5);
        }
        Ball(p, 24, 24, 3, Stone.darker(110));
    });
    obj(sym::Farm, [&](QPainter& p) {
        for (int i = 0; i < 5; ++i)
            Box(p, QRectF(4, 26 + i * 3.6, 40, 2.6), i % 2 ? C(180, 160, 70) : C(110, 150, 60), 0.3);
        Roof(p, QRectF(10, 4, 24, 18), C(178, 70, 50));
    });
    obj(sym::Windmill, [&](QPainter& p) {
        Ball(p, 24, 24, 10, C(190, 180, 160));
        p.save();
        p.translate(24, 24);
        p.rotate(20);
        for (int i = 0; i < 4; ++i) {
            p.rotate(90);
            Box(p, QRectF(-2.5, -22, 5, 18), Wood, 0.5);
            for (double y = -21; y < -5; y += 3) Line(p, QPointF(-2.5, y), QPointF(2.5, y), DarkWood, 0.5);
        }
        p.restore();
        Ball(p, 24, 24, 3, DarkWood);
    });
    obj(sym::Lighthouse, [&](QPainter& p) {
        Ball(p, 24, 24, 16, C(230, 226, 214));
        p.setPen(QPen(C(190, 40, 40), 3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(24, 24), 11, 11);
        Ball(p, 24, 24, 7, C(252, 220, 100));
        p.setPen(QPen(C(250, 210, 90), 1.2));
        for (int i = 0; i < 8; ++i)
            p.drawLine(QPointF(24 + 8 * std::cos(i * Pi / 4), 24 + 8 * std::sin(i * Pi / 4)),
                       QPointF(24 + 10 * std::cos(i * Pi / 4), 24 + 10 * std::sin(i * Pi / 4)));
    });
    obj(sym::Tavern, [&](QPainter& p) {
        Roof(p, QRectF(6, 10, 36, 24), C(120, 80, 56));
        Box(p, QRectF(32, 32, 12, 10), Gold, 1);
        Box(p, QRectF(35, 35, 5, 5), Wood, 1);
    });
    obj(sym::Shrine, [&](QPainter& p) {
        Box(p, QRectF(12, 14, 24, 24), C(214, 206, 186), 1);
        Poly(p, {QPointF(8, 16), QPointF(24, 4), QPointF(40, 16)}, QBrush(C(150, 60, 50)));
        Ball(p, 24, 27, 5, C(252, 220, 100));
    });
    obj(sym::Gate, [&](QPainter& p) {
        Box(p, QRectF(2, 14, 12, 20), Stone, 1);
        Box(p, QRectF(34, 14, 12, 20), Stone, 1);
        Box(p, QRectF(14, 20, 20, 8), Wood, 0.5);
        for (double x = 17; x < 33; x += 4) Line(p, QPointF(x, 20), QPointF(x, 28), Iron, 1.2);
    });
}

} // namespace

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
