#pragma once
// Test doubles of the printing layer: a canvas that keeps every call and a printer
// with settable geometry that keeps pages, strokes, texts and job calls.
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

#include "preview/Canvas.h"
#include "preview/Printer.h"

namespace qm {

// Keeps every call, with the state it was made in, for tests.
class TRecordingCanvas : public TCanvas {
public:
    enum class Kind { TextOut, MoveTo, LineTo, StretchDraw, StretchPicture, StretchDIBits };
    struct Op {
        Kind kind;
        int page; // the page the printer was on (0 outside a job)
        QPoint pt;
        QRect rect;
        QString text;
        QSize imageSize;
        QColor imageCentre; // colour of the image's centre pixel
        QString fontName;
        int fontHeight;
        QColor penColor;
        int penWidth;
        TPenMode penMode;
    };

    explicit TRecordingCanvas(int pixelsPerInch = 96);
    std::vector<Op> Ops;
    int Page = 0;
    int TextHeightCalls = 0;
    bool BackgroundTransparent = false;

    // Deterministic widths: each character is |height| * (2 + code % 3) / 4 wide.
    static int CharWidth(QChar c, int height);
    int Count(Kind k) const;

    void TextOut(int x, int y, const QString& text) override;
    int TextWidth(const QString& text) override;
    int TextHeight(const QString& text) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void StretchDraw(const QRect& r, const QImage& bitmap) override;
    void StretchDraw(const QRect& r, const QPicture& graphic) override;
    void StretchDIBits(const QRect& dest, const QImage& bits) override;
    void SetBackgroundTransparent() override { BackgroundTransparent = true; }

private:
    Op Make(Kind k) const;
};

// A printer that keeps pages, strokes, texts and job calls, with settable geometry.
class TRecordingPrinter : public TPrinter {
public:
    TRecordingPrinter();

    // Sheet, resolution, printable offset and size; the printable area defaults to the sheet.
    void SetGeometry(int xres, int yres, QSize sheet, QPoint offset = {}, QSize printable = {});

    int XRes() const override { return xres_; }
    int YRes() const override { return yres_; }
    QSize PhysicalPageSize() const override { return sheet_; }
    QPoint PrintingOffset() const override { return offset_; }
    QSize PrintableSize() const override { return printable_; }
    TCanvas& Canvas() override { return canvas_; }
    TRecordingCanvas& Recorder() { return canvas_; }
    void SetWindowOrigin(int x, int y) override;
    void SetTitle(const QString& title) override;
    QString Title() const override { return title_; }
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return printing_; }
    int PageNumber() const override { return canvas_.Page; }

    // Job calls in order: "Title:<t>", "BeginDoc", "NewPage", "EndDoc", "Abort",
    // "WindowOrigin:x,y".
    std::vector<QString> Calls;
    int PagesPrinted() const { return pages_; }
    // Ops recorded on page n of the last job.
    std::vector<TRecordingCanvas::Op> OpsOnPage(int n) const;
    void Clear();

private:
    int xres_ = 600, yres_ = 600;
    QSize sheet_{5100, 6600};
    QPoint offset_;
    QSize printable_{5100, 6600};
    TRecordingCanvas canvas_;
    QString title_;
    bool printing_ = false;
    int pages_ = 0;
};

} // namespace qm
