// Objects of caves, camps and the open land: debris, plants, fences, crystals, overland places.
#include <QPainterPath>
#include <cmath>

#include "tools/ObjectArt.h"

namespace gen {

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

} // namespace gen
