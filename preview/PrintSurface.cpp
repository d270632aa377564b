#include "preview/PrintSurface.h"

#include <cmath>
#include <cstdlib>

#include "preview/Printer.h"

namespace qm {

int32_t ScaleInches(int32_t pixelsPerInch, float inches) {
    // Extended precision from the single-precision argument; lrint rounds halves to even.
    const long double v = static_cast<long double>(pixelsPerInch) * static_cast<long double>(inches);
    return static_cast<int32_t>(std::llrint(v));
}

TSpecialCanvas::TSpecialCanvas(const QString& name, TPrinter& printer) : Name(name), printer_(&printer) {
    DisplayCanvas = nullptr;
    Mode = cmPrint;
    FFont.SetName(QStringLiteral("Arial"));
    CopyMode = SRCCOPY;
    FFont.OnChange = [this] { FontChanged(); };
    Brush.OnChange = [this] { BrushChanged(); };
    Pen.OnChange = [this] { PenChanged(); };
    PostPrinterSetup();
}

TSpecialCanvas::~TSpecialCanvas() = default;

TCanvas& TSpecialCanvas::PrinterCanvas() { return printer_->Canvas(); }

void TSpecialCanvas::TakeState(TCanvas& target) {
    target.Font.Assign(FFont);
    target.Brush.Assign(Brush);
    target.Pen.Assign(Pen);
    target.CopyMode = CopyMode;
}

void TSpecialCanvas::SetPreviewMode(TCanvas* canvas) {
    Mode = cmPreview;
    DisplayCanvas = canvas;
    if (DisplayCanvas) TakeState(*DisplayCanvas);
    SyncDisplayFont();
}

void TSpecialCanvas::SetPrintMode() {
    Mode = cmPrint;
    DisplayCanvas = nullptr;
    TakeState(PrinterCanvas());
    PrinterCanvas().SetBackgroundTransparent();
}

void TSpecialCanvas::SetPaginateMode() {
    Mode = cmPaginate;
    DisplayCanvas = nullptr;
    TakeState(PrinterCanvas());
}

void TSpecialCanvas::PostPrinterSetup() {
    TPrinter& p = *printer_;
    XRes = p.XRes();
    YRes = p.YRes();
    const QSize printable = p.PrintableSize();
    const QPoint offset = p.PrintingOffset();
    NoPrintLeft = offset.x();
    NoPrintTop = offset.y();
    const QSize sheet = p.PhysicalPageSize();
    PageWidth = sheet.width();
    PageHeight = sheet.height();
    PrintRight = printable.width() + NoPrintLeft;
    PrintBottom = printable.height() + NoPrintTop;
    SyncPrinterFont();
    SyncDisplayFont();
}

bool TSpecialCanvas::SameFont(const TFont& a, const TFont& b) {
    return a.Color() == b.Color() && a.Size() == b.Size() && a.Name() == b.Name() && a.Style() == b.Style();
}

void TSpecialCanvas::SyncPrinterFont() {
    TCanvas& pc = PrinterCanvas();
    if (SameFont(pc.Font, FFont)) return;
    pc.Font.Assign(FFont);
    // Measuring makes the device select the new font at once; the answer is not needed.
    (void)pc.TextHeight(QStringLiteral("J"));
}

void TSpecialCanvas::SyncDisplayFont() {
    if (Mode != cmPreview) return;
    const TFont& pf = PrinterCanvas().Font;
    if (pf.Height() > 0) throw PreviewException("Printer Font corrupted (Font.Height > 0)");
    if (!DisplayCanvas) return;
    DisplayCanvas->Font.Assign(pf);
    DisplayCanvas->Font.SetHeight(std::abs(pf.Height()));
}

void TSpecialCanvas::FontChanged() {
    SyncPrinterFont();
    SyncDisplayFont();
}

void TSpecialCanvas::PenChanged() {
    if (DisplayCanvas) DisplayCanvas->Pen.Assign(Pen);
    PrinterCanvas().Pen.Assign(Pen);
}

void TSpecialCanvas::BrushChanged() {
    if (DisplayCanvas) DisplayCanvas->Brush.Assign(Brush);
    PrinterCanvas().Brush.Assign(Brush);
}

void TSpecialCanvas::TextOut(int x, int y, const QString& text) {
    switch (Mode) {
    case cmPreview: {
        int cx = x;
        for (QChar c : text) {
            if (DisplayCanvas) DisplayCanvas->TextOut(cx, y, QString(c));
            // Printer advances, so the preview covers the printed extent.
            cx += TextWidth(QString(c));
        }
        if (Mode == cmPreview && DisplayCanvas && DisplayCanvas->Font.Height() < 0)
            throw PreviewException("Display Canvas Font has been corrupted.\r\nFont Height is < 0");
        break;
    }
    case cmPrint:
        SyncPrinterFont();
        PrinterCanvas().TextOut(x, y, text);
        break;
    case cmPaginate: break;
    }
}

int TSpecialCanvas::TextWidth(const QString& text) {
    SyncPrinterFont();
    TCanvas& pc = PrinterCanvas();
    if (pc.Font.Height() > 0) throw PreviewException("Printer Font corrupted (Font.Height is > 0)");
    return pc.TextWidth(text);
}

void TSpecialCanvas::MoveTo(int x, int y) {
    if (Mode == cmPreview) {
        if (DisplayCanvas) DisplayCanvas->MoveTo(x, y);
    } else if (Mode == cmPrint) {
        PrinterCanvas().MoveTo(x, y);
    }
}

void TSpecialCanvas::LineTo(int x, int y) {
    if (Mode == cmPreview) {
        if (DisplayCanvas) DisplayCanvas->LineTo(x, y);
    } else if (Mode == cmPrint) {
        PrinterCanvas().Pen.Assign(Pen);
        PrinterCanvas().LineTo(x, y);
    }
}

void TSpecialCanvas::StretchDraw(const QRect& r, const QImage& bitmap) {
    if (Mode == cmPrint) {
        if (bitmap.width() == 0 || bitmap.height() == 0) return;
        // Device-independent bits carry colour only: the transfer copies, it does not blend.
        const QImage bits = bitmap.convertToFormat(QImage::Format_RGB32);
        PrinterCanvas().StretchDIBits(r, bits);
    } else if (Mode == cmPreview) {
        if (DisplayCanvas) DisplayCanvas->StretchDraw(r, bitmap);
    }
}

void TSpecialCanvas::StretchDraw(const QRect& r, const QPicture& graphic) {
    if (Mode == cmPrint) {
        PrinterCanvas().StretchDraw(r, graphic);
    } else if (Mode == cmPreview) {
        if (DisplayCanvas) DisplayCanvas->StretchDraw(r, graphic);
    }
}

} // namespace qm
