// Objects of rooms and halls: walls, doors, stairs, furniture, markers, mechanisms, workshops.
#include <QPainterPath>

#include "tools/ObjectArt.h"

namespace gen {

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

} // namespace gen
