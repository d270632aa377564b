#include "preview/Canvas.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qm {

namespace {
// Rounded a * b / c, as the classic MulDiv.
int MulDiv(int a, int b, int c) {
    if (c == 0) return 0;
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}
} // namespace

// ---- TFont ----

TFont::TFont(int pixelsPerInch) : name_(QStringLiteral("MS Sans Serif")) {
    SetPixelsPerInch(pixelsPerInch);
    height_ = -MulDiv(size_, ppi_, 72);
}

void TFont::Changed() {
    if (OnChange) OnChange();
}

void TFont::SetName(const QString& n) {
    if (n == name_) return;
    name_ = n;
    Changed();
}
void TFont::SetSize(int points) {
    size_ = points;
    height_ = -MulDiv(points, ppi_, 72);
    Changed();
}
void TFont::SetHeight(int h) {
    height_ = h;
    size_ = -MulDiv(h, 72, ppi_);
    Changed();
}
void TFont::SetColor(QColor c) {
    if (c == color_) return;
    color_ = c;
    Changed();
}
void TFont::SetStyle(uint8_t s) {
    if (s == style_) return;
    style_ = s;
    Changed();
}
void TFont::Assign(const TFont& src) {
    name_ = src.name_;
    size_ = src.size_;
    height_ = -MulDiv(size_, ppi_, 72);
    color_ = src.color_;
    style_ = src.style_;
    Changed();
}

// ---- TPen, TBrush ----

void TPen::SetColor(QColor c) {
    color_ = c;
    Changed();
}
void TPen::SetWidth(int w) {
    width_ = w;
    Changed();
}
void TPen::SetMode(TPenMode m) {
    mode_ = m;
    Changed();
}
void TPen::SetStyle(TPenStyle s) {
    style_ = s;
    Changed();
}
void TPen::Assign(const TPen& src) {
    color_ = src.color_;
    width_ = src.width_;
    mode_ = src.mode_;
    style_ = src.style_;
    Changed();
}

void TBrush::SetColor(QColor c) {
    color_ = c;
    Changed();
}
void TBrush::SetStyle(TBrushStyle s) {
    style_ = s;
    Changed();
}
void TBrush::Assign(const TBrush& src) {
    color_ = src.color_;
    style_ = src.style_;
    Changed();
}

// ---- QFont mapping ----

QFont ToQFont(const TFont& f) {
    QFont q(f.Name());
    q.setBold(f.Style() & fsBold);
    q.setItalic(f.Style() & fsItalic);
    q.setUnderline(f.Style() & fsUnderline);
    q.setStrikeOut(f.Style() & fsStrikeOut);
    const int h = f.Height();
    if (h < 0) {
        q.setPixelSize(-h);
    } else if (h > 0) {
        // A cell height: pick the em so that ascent + descent comes to h.
        static QHash<QString, double> cellPerEm;
        const QString key = f.Name() + QChar('/') + QString::number(f.Style());
        auto it = cellPerEm.find(key);
        if (it == cellPerEm.end()) {
            QFont ref(q);
            ref.setPixelSize(1000);
            QFontMetricsF m(ref);
            const double cell = m.ascent() + m.descent();
            it = cellPerEm.insert(key, cell > 0 ? cell / 1000.0 : 1.0);
        }
        q.setPixelSize(std::max(1, static_cast<int>(std::lround(h / it.value()))));
    } else {
        q.setPixelSize(std::max(1, MulDiv(f.Size(), f.PixelsPerInch(), 72)));
    }
    return q;
}

// ---- TCanvas ----

TCanvas::TCanvas(int pixelsPerInch) : Font(pixelsPerInch) {}

// ---- TPainterCanvas ----

TPainterCanvas::TPainterCanvas(QPainter* p, int pixelsPerInch) : TCanvas(pixelsPerInch), painter_(p) {
    Font.OnChange = [this] { fontDirty_ = true; };
}

const QFont& TPainterCanvas::CurrentQFont() {
    if (fontDirty_) {
        qfont_ = ToQFont(Font);
        fontDirty_ = false;
    }
    return qfont_;
}

void TPainterCanvas::ApplyPen() {
    if (!painter_) return;
    QPen pen(Shown(Pen.Color()));
    pen.setWidth(std::max(0, Pen.Width()));
    // Width 0 and 1 are one device pixel wide, as on any classic device.
    if (Pen.Width() <= 1) pen.setCosmetic(true);
    switch (Pen.Style()) {
    case psSolid: pen.setStyle(Qt::SolidLine); break;
    case psDash: pen.setStyle(Qt::DashLine); break;
    case psDot: pen.setStyle(Qt::DotLine); break;
    case psClear: pen.setStyle(Qt::NoPen); break;
    }
    painter_->setPen(pen);
    // Raster operations exist only on raster devices; elsewhere they draw as copies.
    const bool raster = painter_->device() && painter_->device()->devType() != QInternal::Printer &&
                        painter_->paintEngine() && painter_->paintEngine()->type() == QPaintEngine::Raster;
    QPainter::CompositionMode cm = QPainter::CompositionMode_SourceOver;
    if (raster) {
        switch (Pen.Mode()) {
        case pmMask: cm = QPainter::RasterOp_SourceAndDestination; break;
        case pmMerge: cm = QPainter::RasterOp_SourceOrDestination; break;
        case pmXor: cm = QPainter::RasterOp_SourceXorDestination; break;
        case pmNot: cm = QPainter::RasterOp_NotDestination; break;
        case pmCopy: break;
        }
    }
    painter_->setCompositionMode(cm);
}

void TPainterCanvas::TextOut(int x, int y, const QString& text) {
    if (!painter_ || text.isEmpty()) return;
    const QFont& f = CurrentQFont();
    painter_->save();
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->setFont(f);
    painter_->setPen(Shown(Font.Color()));
    QFontMetricsF m(f);
    painter_->drawText(QPointF(x, y + m.ascent()), text);
    painter_->restore();
}

int TPainterCanvas::TextWidth(const QString& text) {
    return static_cast<int>(std::lround(QFontMetricsF(CurrentQFont()).horizontalAdvance(text)));
}

int TPainterCanvas::TextHeight(const QString&) {
    QFontMetricsF m(CurrentQFont());
    return static_cast<int>(std::lround(m.ascent() + m.descent()));
}

void TPainterCanvas::MoveTo(int x, int y) { pos_ = QPoint(x, y); }

void TPainterCanvas::LineTo(int x, int y) {
    if (painter_) {
        ApplyPen();
        painter_->drawLine(pos_, QPoint(x, y));
        painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    pos_ = QPoint(x, y);
}

// Under a scaling mapping (the preview maps the sheet onto a small box) each image's
// edges are snapped to whole device pixels from the mapped sheet coordinates, so cells
// that share an edge in sheet units share it on screen too: no hairline gaps between them.
static void DrawImageSnapped(QPainter& p, const QRect& r, const QImage& img) {
    const QTransform t = p.combinedTransform();
    if (t.type() > QTransform::TxScale) {
        p.drawImage(r, img);
        return;
    }
    const QRectF d = t.mapRect(QRectF(r));
    const QRect dev(QPoint(qRound(d.left()), qRound(d.top())), QPoint(qRound(d.right()) - 1, qRound(d.bottom()) - 1));
    if (dev.width() <= 0 || dev.height() <= 0) return; // smaller than a device pixel
    p.save();
    p.setWorldMatrixEnabled(false);
    p.setViewTransformEnabled(false);
    p.drawImage(dev, img);
    p.restore();
}

void TPainterCanvas::StretchDraw(const QRect& r, const QImage& bitmap) {
    if (!painter_ || bitmap.isNull()) return;
    DrawImageSnapped(*painter_, r, Shown(bitmap));
}

void TPainterCanvas::StretchDraw(const QRect& r, const QPicture& graphic) {
    if (!painter_ || graphic.isNull()) return;
    const QRect b = graphic.boundingRect();
    if (b.width() <= 0 || b.height() <= 0) return;
    painter_->save();
    painter_->translate(r.topLeft());
    painter_->scale(double(r.width()) / b.width(), double(r.height()) / b.height());
    painter_->translate(-b.topLeft());
    // A picture plays itself scaled by the device's resolution over its own; undone here,
    // so the graphic fills r on a printer as on the screen.
    const QPaintDevice* device = painter_->device();
    if (device && device->logicalDpiX() > 0 && device->logicalDpiY() > 0)
        painter_->scale(double(graphic.logicalDpiX()) / device->logicalDpiX(),
                        double(graphic.logicalDpiY()) / device->logicalDpiY());
    painter_->drawPicture(0, 0, graphic);
    painter_->restore();
}

void TPainterCanvas::StretchDIBits(const QRect& dest, const QImage& bits) {
    if (!painter_ || bits.isNull()) return;
    painter_->save();
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    DrawImageSnapped(*painter_, dest, Shown(bits));
    painter_->restore();
}

namespace {
// Cell images repeat all over a map: a few hundred recent grey copies cover them.
constexpr qint64 GrayCacheBytes = 64 << 20;

// Kept in RGB: the PDF writer does not carry an 8-bit grey image's tones over unchanged.
QImage GrayCopy(const QImage& src) {
    QImage g = src.convertToFormat(src.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < g.height(); ++y) {
        auto* p = reinterpret_cast<QRgb*>(g.scanLine(y));
        for (int x = 0; x < g.width(); ++x) {
            const int v = qGray(p[x]);
            p[x] = qRgba(v, v, v, qAlpha(p[x]));
        }
    }
    return g;
}
} // namespace

void TPainterCanvas::SetGrayscale(bool on) {
    grayscale_ = on;
    grays_.clear();
    grayBytes_ = 0;
}

QColor TPainterCanvas::Shown(QColor c) const {
    if (!grayscale_) return c;
    const int v = qGray(c.rgb());
    return QColor(v, v, v, c.alpha());
}

QImage TPainterCanvas::Shown(const QImage& image) {
    if (!grayscale_) return image;
    const qint64 key = image.cacheKey();
    for (auto it = grays_.begin(); it != grays_.end(); ++it)
        if (it->first == key) {
            std::rotate(it, it + 1, grays_.end()); // the newest last
            return grays_.back().second;
        }
    QImage g = GrayCopy(image);
    grayBytes_ += g.sizeInBytes();
    grays_.emplace_back(key, g);
    while (grayBytes_ > GrayCacheBytes && grays_.size() > 1) {
        grayBytes_ -= grays_.front().second.sizeInBytes();
        grays_.erase(grays_.begin());
    }
    return g;
}

void TPainterCanvas::SetBackgroundTransparent() {
    if (painter_) painter_->setBackgroundMode(Qt::TransparentMode);
}

} // namespace qm
