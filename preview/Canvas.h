#pragma once
// Canvas state and the targets a drawing surface writes to: a QPainter (the preview's
// paint box or the printer); tests add a recorder that keeps every call.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPicture>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QPainter;

namespace qm {

// Raster operation for bitmap transfers: plain copy.
constexpr uint32_t SRCCOPY = 0x00CC0020;

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A logical font. Height follows the classic convention: negative = em height,
// positive = cell height (em plus internal leading), in the target's logical units.
// Size is in points; setting one derives the other through PixelsPerInch.
class TFont {
public:
    explicit TFont(int pixelsPerInch = 96);

    std::function<void()> OnChange;

    const QString& Name() const { return name_; }
    int Size() const { return size_; }
    int Height() const { return height_; }
    QColor Color() const { return color_; }
    uint8_t Style() const { return style_; }
    int PixelsPerInch() const { return ppi_; }

    void SetName(const QString& n);
    void SetSize(int points);
    void SetHeight(int h);
    void SetColor(QColor c);
    void SetStyle(uint8_t s);
    void SetPixelsPerInch(int ppi) { ppi_ = ppi > 0 ? ppi : 96; }

    // Takes name, point size, style and colour; the height is
    // realised at this font's own resolution (so it comes out negative).
    void Assign(const TFont& src);

private:
    void Changed();
    QString name_;
    int size_ = 8;
    int height_ = 0;
    QColor color_ = Qt::black;
    uint8_t style_ = 0;
    int ppi_ = 96;
};

enum TPenMode : uint8_t { pmCopy, pmMask, pmMerge, pmNot, pmXor };
enum TPenStyle : uint8_t { psSolid, psDash, psDot, psClear };

class TPen {
public:
    std::function<void()> OnChange;
    QColor Color() const { return color_; }
    int Width() const { return width_; }
    TPenMode Mode() const { return mode_; }
    TPenStyle Style() const { return style_; }
    void SetColor(QColor c);
    void SetWidth(int w);
    void SetMode(TPenMode m);
    void SetStyle(TPenStyle s);
    void Assign(const TPen& src);
    bool operator==(const TPen& o) const {
        return color_ == o.color_ && width_ == o.width_ && mode_ == o.mode_ && style_ == o.style_;
    }

private:
    void Changed() {
        if (OnChange) OnChange();
    }
    QColor color_ = Qt::black;
    int width_ = 1;
    TPenMode mode_ = pmCopy;
    TPenStyle style_ = psSolid;
};

enum TBrushStyle : uint8_t { bsSolid, bsClear };

class TBrush {
public:
    std::function<void()> OnChange;
    QColor Color() const { return color_; }
    TBrushStyle Style() const { return style_; }
    void SetColor(QColor c);
    void SetStyle(TBrushStyle s);
    void Assign(const TBrush& src);

private:
    void Changed() {
        if (OnChange) OnChange();
    }
    QColor color_ = Qt::white;
    TBrushStyle style_ = bsSolid;
};

// The QFont a logical font stands for, with its pixel size in logical units.
QFont ToQFont(const TFont& f);

// A drawing target with its own font, pen, brush and copy mode.
class TCanvas {
public:
    explicit TCanvas(int pixelsPerInch = 96);
    virtual ~TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont Font;
    TPen Pen;
    TBrush Brush;
    uint32_t CopyMode = SRCCOPY;

    virtual void TextOut(int x, int y, const QString& text) = 0;
    virtual int TextWidth(const QString& text) = 0;
    virtual int TextHeight(const QString& text) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void StretchDraw(const QRect& r, const QImage& bitmap) = 0;
    virtual void StretchDraw(const QRect& r, const QPicture& graphic) = 0;
    // Device-independent bits stretched onto the device (printers).
    virtual void StretchDIBits(const QRect& dest, const QImage& bits) { StretchDraw(dest, bits); }
    virtual void SetBackgroundTransparent() {}
};

// Draws on a QPainter that someone else owns; with no painter it only measures.
class TPainterCanvas : public TCanvas {
public:
    explicit TPainterCanvas(QPainter* p = nullptr, int pixelsPerInch = 96);
    void SetPainter(QPainter* p) { painter_ = p; }

    void TextOut(int x, int y, const QString& text) override;
    int TextWidth(const QString& text) override;
    int TextHeight(const QString& text) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void StretchDraw(const QRect& r, const QImage& bitmap) override;
    void StretchDraw(const QRect& r, const QPicture& graphic) override;
    void StretchDIBits(const QRect& dest, const QImage& bits) override;
    void SetBackgroundTransparent() override;
    // Grey tones only: pens, text and images drawn from now on show their luminance (a
    // job printed to a PDF file in grayscale, which the PDF writer cannot do itself).
    void SetGrayscale(bool on);

private:
    const QFont& CurrentQFont();
    void ApplyPen();
    QColor Shown(QColor c) const;
    // The image as drawn: itself, or its grey copy; equal images keep one copy so the
    // PDF still holds them once.
    QImage Shown(const QImage& image);
    QPainter* painter_;
    bool grayscale_ = false;
    std::vector<std::pair<qint64, QImage>> grays_; // grey copies by source cache key, newest last
    qint64 grayBytes_ = 0;
    QPoint pos_;
    QFont qfont_;
    bool fontDirty_ = true;
};

} // namespace qm
