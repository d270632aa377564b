// Pictures for looking at the artwork: a labelled contact sheet, terrains stamped into
// rings, blobs and corridors over ground, and the application icon.
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "tools/SaveFile.h"
#include "tools/TilesetArt.h"

namespace gen {

namespace {

QImage Symbol(const QImage& transparentSheet, int s, int S) { return transparentSheet.copy(CellRect(s, S)); }

QImage WhiteTransparent(const QImage& indexed) {
    QImage img = indexed;
    QList<QRgb> t = img.colorTable();
    for (QRgb& c : t)
        if ((c & 0xFFFFFF) == 0xFFFFFF) c = 0;
    img.setColorTable(t);
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Shape number for a 2 x 2 block of quarters (bit 0 NW, 1 NE, 2 SW, 3 SE); -1 for none.
int ShapeFor(int quarters) {
    for (int k = 1; k < 16; ++k)
        if (ShapeQuarters(k) == quarters) return k;
    return -1;
}

// One panel: a ring, a blob and a corridor of one terrain laid out on a quarter grid.
QImage TerrainPanel(const QImage& ts, int family, int S, int ground) {
    const int N = 12;
    // Terrain laid down the way stamps lay it: 2 x 2 cell squares centred on cell centres,
    // so every edge runs along cell midlines.
    static const int stamps[][2] = {
        {2, 2},  {3, 2},  {4, 2},   {5, 2},  {6, 2},  {2, 3}, {6, 3}, {2, 4}, {6, 4},  {2, 5},  {6, 5},
        {2, 6},  {3, 6},  {4, 6},   {5, 6},  {6, 6},          // a ring
        {9, 2},  {10, 2}, {9, 3},   {10, 3}, {10, 4}, {9, 5}, // a blob touching another corner-wise
        {1, 9},  {2, 9},  {3, 9},   {4, 9},  {5, 9},  {6, 9}, {7, 9}, {8, 9}, {8, 10}, {8, 11}, {8, 8}, // a corridor
        {10, 8}, {10, 9}, {10, 10},
    };
    auto in = [](int qx, int qy) {
        for (auto& c : stamps)
            if (qx >= 2 * c[0] - 1 && qx <= 2 * c[0] + 2 && qy >= 2 * c[1] - 1 && qy <= 2 * c[1] + 2) return true;
        return false;
    };
    QImage out(N * S, N * S, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&out);
    for (int cy = 0; cy < N; ++cy)
        for (int cx = 0; cx < N; ++cx) {
            const QPoint at(cx * S, cy * S);
            p.fillRect(QRect(at, QSize(S, S)), Qt::white);
            p.drawImage(at, Symbol(ts, ground == sym::FloorA ? sym::FloorA + (cy % 2) : ground, S));
            const int q = (in(2 * cx, 2 * cy) ? 1 : 0) | (in(2 * cx + 1, 2 * cy) ? 2 : 0) |
                          (in(2 * cx, 2 * cy + 1) ? 4 : 0) | (in(2 * cx + 1, 2 * cy + 1) ? 8 : 0);
            const int k = ShapeFor(q);
            if (k > 0) p.drawImage(at, Symbol(ts, sym::TerrainSymbol(family, k), S));
        }
    return out;
}

} // namespace

bool WritePreviews(const QImage& tileset, const QString& dir, const QString& prefix) {
    const int S = tileset.width() / 16;
    const QImage ts = WhiteTransparent(tileset);

    // Contact sheet at twice the size, numbered, on a light checker so white shows as empty.
    const int cell = 2 * S + 4, label = 12;
    QImage sheet(16 * cell + 8, 16 * (cell + label) + 3 * 32 + 40, QImage::Format_RGB32);
    sheet.fill(qRgb(236, 236, 240));
    {
        QPainter p(&sheet);
        for (int s = 0; s < 256; ++s) {
            const QPoint at(4 + (s % 16) * cell, 4 + (s / 16) * (cell + label));
            for (int y = 0; y < 2 * S; y += 8)
                for (int x = 0; x < 2 * S; x += 8)
                    p.fillRect(at.x() + x, at.y() + y, 8, 8,
                               ((x + y) / 8) % 2 ? QColor(255, 255, 255) : QColor(222, 226, 232));
            p.drawImage(QRect(at, QSize(2 * S, 2 * S)), Symbol(ts, s, S));
        }
        const int iconTop = 16 * (cell + label) + 16;
        for (int i = 0; i < 24; ++i) {
            const QPoint at(4 + i * 40, iconTop);
            p.fillRect(QRect(at, QSize(32, 32)), Qt::white);
            p.drawImage(QRect(at, QSize(32, 32)), ts.copy(32 + 16 * i, 16 * S, 16, 16));
            p.drawImage(QRect(at + QPoint(0, 48), QSize(16, 16)), ts.copy(32 + 16 * i, 16 * S, 16, 16));
        }
    }
    for (int s = 0; s < 256; ++s)
        DrawTinyText(sheet, 4 + (s % 16) * cell, 4 + (s / 16) * (cell + label) + 2 * S + 3, QString::number(s),
                     qRgb(40, 40, 60));
    for (int i = 0; i < 24; ++i)
        DrawTinyText(sheet, 4 + i * 40, 16 * (cell + label) + 16 + 35, QString::number(i), qRgb(40, 40, 60));
    bool ok = SavePng(sheet, dir + "/" + prefix + "-contact-sheet.png");

    // Terrains: two rows of four panels at full size, and the same at 16 px per cell.
    const int N = 12;
    QImage demo(4 * N * S + 3 * 8, 2 * N * S + 8, QImage::Format_RGB32);
    demo.fill(qRgb(60, 60, 60));
    QImage small(4 * N * 16 + 3 * 4, 2 * N * 16 + 4, QImage::Format_RGB32);
    small.fill(qRgb(60, 60, 60));
    {
        QPainter p(&demo), q(&small);
        q.setRenderHint(QPainter::SmoothPixmapTransform);
        const int grounds[8] = {sym::FloorA,    sym::Grass, sym::CaveFloor, sym::FloorA,
                                sym::Flagstone, sym::Grass, sym::GrassC,    sym::Sand};
        for (int f = 0; f < 8; ++f) {
            const QImage panel = TerrainPanel(ts, f, S, grounds[f]);
            p.drawImage((f % 4) * (N * S + 8), (f / 4) * (N * S + 8), panel);
            q.drawImage(QRect((f % 4) * (N * 16 + 4), (f / 4) * (N * 16 + 4), N * 16, N * 16), panel);
        }
    }
    ok = SavePng(demo, dir + "/" + prefix + "-terrain.png") && ok;
    return SavePng(small, dir + "/" + prefix + "-terrain-16px.png") && ok;
}

bool WriteAppIcons(const QImage& tileset, const QString& dir) {
    const int S = tileset.width() / 16;
    const QImage ts = WhiteTransparent(tileset);
    // A little map: grass with a lake, a tree, and a red room-number marker, in a frame.
    QImage big(256, 256, QImage::Format_ARGB32_Premultiplied);
    big.fill(0);
    {
        QImage map(3 * S, 3 * S, QImage::Format_ARGB32_Premultiplied);
        QPainter m(&map);
        const int lake[3][3] = {{8, 2, 5}, {4, 13, 3}, {7, 1, 6}};
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) {
                m.drawImage(x * S, y * S, Symbol(ts, sym::Grass, S));
                m.drawImage(x * S, y * S, Symbol(ts, sym::WaterBase + lake[y][x], S));
            }
        m.drawImage(2 * S, 0, Symbol(ts, sym::Tree, S));
        m.drawImage(0, 2 * S, Symbol(ts, sym::Tree, S));
        m.end();
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        QPainterPath frame;
        frame.addRoundedRect(QRectF(8, 8, 240, 240), 36, 36);
        p.fillPath(frame, QColor(96, 64, 40));
        QPainterPath inner;
        inner.addRoundedRect(QRectF(22, 22, 212, 212), 24, 24);
        p.setClipPath(inner);
        p.drawImage(QRectF(22, 22, 212, 212), map);
        p.setClipping(false);
        p.setPen(QPen(QColor(40, 26, 16), 6));
        p.setBrush(Qt::NoBrush);
        p.drawPath(frame);
        // the quill that draws the map
        p.translate(128, 128);
        p.rotate(45);
        QPainterPath vane;
        vane.moveTo(0, -120);
        vane.cubicTo(30, -96, 28, -10, 3, 46);
        vane.lineTo(-3, 46);
        vane.cubicTo(-18, 0, -20, -90, 0, -120);
        p.setPen(QPen(QColor(40, 26, 16), 6));
        p.setBrush(QColor(246, 240, 222));
        p.drawPath(vane);
        p.setClipPath(vane);
        p.setPen(QPen(QColor(176, 160, 132), 2.5));
        for (int i = 0; i < 14; ++i) {
            const double y = -104 + i * 10.5;
            p.drawLine(QPointF(0, y + 8), QPointF(30, y - 6));
            p.drawLine(QPointF(0, y + 8), QPointF(-24, y - 4));
        }
        p.setClipping(false);
        p.setPen(QPen(QColor(40, 26, 16), 6));
        p.drawLine(QPointF(0, -112), QPointF(0, 80));
        p.setPen(QPen(QColor(226, 214, 186), 2.5));
        p.drawLine(QPointF(0, -110), QPointF(0, 78));
        p.setPen(QPen(QColor(40, 26, 16), 5));
        p.setBrush(QColor(60, 60, 70));
        QPainterPath nib;
        nib.moveTo(-6, 78);
        nib.lineTo(6, 78);
        nib.lineTo(0, 106);
        nib.closeSubpath();
        p.drawPath(nib);
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage icon = size == 256 ? big : big.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!SavePng(icon, QString("%1/quillmarch-%2.png").arg(dir).arg(size))) return false;
    }
    return true;
}

} // namespace gen
