#include "preview/Cursors.h"

#include <QFont>
#include <QMap>
#include <QPainter>
#include <QPainterPath>

namespace qm {

namespace {
QMap<int, QCursor>& Table() {
    static QMap<int, QCursor> t;
    return t;
}

QPixmap Blank(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    return pm;
}

void Magnifier(QPainter& p, QPointF c, qreal r) {
    p.setBrush(QColor(230, 240, 255));
    p.drawEllipse(c, r, r);
    p.setBrush(Qt::NoBrush);
    const qreal d = r * 0.7071;
    QPen handle(Qt::black, 3);
    handle.setCapStyle(Qt::RoundCap);
    p.save();
    p.setPen(handle);
    p.drawLine(QPointF(c.x() + d, c.y() + d), QPointF(c.x() + 2.1 * r, c.y() + 2.1 * r));
    p.restore();
}

// An open hand, palm at the bottom, four fingers and a thumb, in a 24-pixel box.
void Hand(QPainter& p, qreal s) {
    p.save();
    p.scale(s, s);
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::black, 1.2 / s > 1 ? 1 : 1.2));
    QPainterPath path;
    path.addRoundedRect(QRectF(6, 11, 11, 10), 3, 3);
    const qreal xs[4] = {6.2, 8.9, 11.6, 14.3};
    const qreal tops[4] = {5, 3, 3.5, 5.5};
    for (int i = 0; i < 4; ++i) path.addRoundedRect(QRectF(xs[i], tops[i], 2.5, 10), 1.2, 1.2);
    QPainterPath thumb;
    thumb.moveTo(6.5, 17);
    thumb.lineTo(2.5, 12.5);
    thumb.lineTo(4, 11);
    thumb.lineTo(7.5, 14);
    thumb.closeSubpath();
    path.addPath(thumb);
    p.drawPath(path.simplified());
    p.restore();
}
} // namespace

void RegisterCursor(int id, const QCursor& cursor) { Table()[id] = cursor; }

QCursor CursorById(int id) {
    auto it = Table().find(id);
    return it == Table().end() ? QCursor(Qt::ArrowCursor) : it.value();
}

QCursor MakeZoomCursor() {
    QPixmap pm = Blank(32);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    Magnifier(p, QPointF(10, 10), 7);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(10, 6), QPointF(10, 14));
    p.drawLine(QPointF(6, 10), QPointF(14, 10));
    p.end();
    return QCursor(pm, 10, 10);
}

QCursor MakeHandCursor() {
    QPixmap pm = Blank(32);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    Hand(p, 1.0);
    p.end();
    return QCursor(pm, 7, 14);
}

QPixmap Glyph(TGlyph g) {
    QPixmap pm = Blank(18);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.4));
    auto chevron = [&p](qreal x, bool left) {
        QPolygonF tri;
        if (left) tri << QPointF(x + 5, 4) << QPointF(x, 9) << QPointF(x + 5, 14);
        else tri << QPointF(x, 4) << QPointF(x + 5, 9) << QPointF(x, 14);
        p.setBrush(QColor(0, 0, 128));
        p.drawPolygon(tri);
    };
    switch (g) {
    case TGlyph::ZoomTool:
        Magnifier(p, QPointF(7, 7), 5);
        p.drawLine(QPointF(7, 4.5), QPointF(7, 9.5));
        p.drawLine(QPointF(4.5, 7), QPointF(9.5, 7));
        break;
    case TGlyph::HandTool: Hand(p, 0.75); break;
    case TGlyph::FirstPage:
        chevron(3, true);
        chevron(9, true);
        break;
    case TGlyph::PrevPage: chevron(6, true); break;
    case TGlyph::NextPage: chevron(7, false); break;
    case TGlyph::LastPage:
        chevron(4, false);
        chevron(10, false);
        break;
    case TGlyph::PageNumber: {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 1.5, 12, 15));
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(10);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(3, 1.5, 12, 15), Qt::AlignCenter, QStringLiteral("#"));
        break;
    }
    }
    p.end();
    return pm;
}

} // namespace qm
