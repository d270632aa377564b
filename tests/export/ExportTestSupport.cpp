#include "tests/export/ExportTestSupport.h"

#include <QBuffer>
#include <QPainter>
#include <cstdlib>

#include "model/RecordFile.h"

namespace exporttest {

qm::TRenderedTileset MakeTileset(int size) {
    qm::TRenderedTileset ts;
    ts.TileSize = size;
    for (int s = 0; s < 256; ++s) {
        QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
        img.fill(QColor((s * 67) % 256, (s * 151 + 40) % 256, (s * 29 + 90) % 256));
        {
            QPainter p(&img);
            p.fillRect(0, size / 2, size, 1, QColor(s % 2 ? 0 : 255, 0, 0));
        }
        // Upper-left quarter transparent, as white is in a rendered tileset.
        if (s != 0)
            for (int y = 0; y < size / 2; ++y)
                for (int x = 0; x < size / 2; ++x) img.setPixel(x, y, 0);
        ts.DesktopPalette[s] = img;
    }
    ts.HiddenFlags[35] = 1;
    ts.Generation = 1;
    return ts;
}

qm::TMapRecord MakeMap() {
    qm::TMapRecord m;
    qm::ClearMapRecord(m);
    m.Background = 11;
    m.Zoom = 16;
    for (int x = 1; x <= qm::MapSize; ++x)
        for (int y = 1; y <= qm::MapSize; ++y) {
            auto& c = m.Cell(x, y);
            const int k = (x * 7 + y * 13) % 11;
            if (k < 3) continue; // background only
            c.Lower = uint8_t(16 + (x + y) % 6);
            if (k < 6) continue;
            c.Upper = k == 10 ? 35 : uint8_t(26 + (x * y) % 6);
        }
    m.Cell(72, 72).Upper = 35;
    return m;
}

TDiff Compare(const QImage& a, const QImage& b) {
    TDiff d;
    d.SameSize = a.size() == b.size() && !a.isNull();
    if (!d.SameSize) return d;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            const int dr = std::abs(qRed(p[col]) - qRed(q[col]));
            const int dg = std::abs(qGreen(p[col]) - qGreen(q[col]));
            const int db = std::abs(qBlue(p[col]) - qBlue(q[col]));
            d.Max = std::max({d.Max, dr, dg, db});
            sum += dr + dg + db;
        }
    }
    d.Mean = sum / (3.0 * x.width() * x.height());
    return d;
}

double ReferenceJpegMean(const QImage& picture) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    picture.save(&buf, "JPEG", 90);
    return Compare(QImage::fromData(bytes, "JPEG"), picture).Mean;
}

std::string FileErrorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const qm::TFileError& e) {
        return e.what();
    }
    return "";
}

} // namespace exporttest
