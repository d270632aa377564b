#include "tests/support/RecordingPrinter.h"

#include <cstdlib>

namespace qm {

// ---- TRecordingCanvas ----

TRecordingCanvas::TRecordingCanvas(int pixelsPerInch) : TCanvas(pixelsPerInch) {}

int TRecordingCanvas::CharWidth(QChar c, int height) { return std::abs(height) * (2 + c.unicode() % 3) / 4; }

int TRecordingCanvas::Count(Kind k) const {
    int n = 0;
    for (const Op& o : Ops) n += o.kind == k;
    return n;
}

TRecordingCanvas::Op TRecordingCanvas::Make(Kind k) const {
    Op o{};
    o.kind = k;
    o.page = Page;
    o.fontName = Font.Name();
    o.fontHeight = Font.Height();
    o.penColor = Pen.Color();
    o.penWidth = Pen.Width();
    o.penMode = Pen.Mode();
    return o;
}

void TRecordingCanvas::TextOut(int x, int y, const QString& text) {
    Op o = Make(Kind::TextOut);
    o.pt = QPoint(x, y);
    o.text = text;
    Ops.push_back(o);
}

int TRecordingCanvas::TextWidth(const QString& text) {
    int w = 0;
    for (QChar c : text) w += CharWidth(c, Font.Height());
    return w;
}

int TRecordingCanvas::TextHeight(const QString&) {
    ++TextHeightCalls;
    return std::abs(Font.Height());
}

void TRecordingCanvas::MoveTo(int x, int y) {
    Op o = Make(Kind::MoveTo);
    o.pt = QPoint(x, y);
    Ops.push_back(o);
}

void TRecordingCanvas::LineTo(int x, int y) {
    Op o = Make(Kind::LineTo);
    o.pt = QPoint(x, y);
    Ops.push_back(o);
}

namespace {
QColor Centre(const QImage& img) {
    if (img.isNull()) return {};
    return img.pixelColor(img.width() / 2, img.height() / 2);
}
} // namespace

void TRecordingCanvas::StretchDraw(const QRect& r, const QImage& bitmap) {
    Op o = Make(Kind::StretchDraw);
    o.rect = r;
    o.imageSize = bitmap.size();
    o.imageCentre = Centre(bitmap);
    Ops.push_back(o);
}

void TRecordingCanvas::StretchDraw(const QRect& r, const QPicture& graphic) {
    Op o = Make(Kind::StretchPicture);
    o.rect = r;
    o.imageSize = graphic.boundingRect().size();
    Ops.push_back(o);
}

void TRecordingCanvas::StretchDIBits(const QRect& dest, const QImage& bits) {
    Op o = Make(Kind::StretchDIBits);
    o.rect = dest;
    o.imageSize = bits.size();
    o.imageCentre = Centre(bits);
    Ops.push_back(o);
}

// ---- TRecordingPrinter ----

TRecordingPrinter::TRecordingPrinter() : canvas_(600) {}

void TRecordingPrinter::SetGeometry(int xres, int yres, QSize sheet, QPoint offset, QSize printable) {
    xres_ = xres;
    yres_ = yres;
    sheet_ = sheet;
    offset_ = offset;
    printable_ = printable.isEmpty() ? QSize(sheet.width() - offset.x(), sheet.height() - offset.y()) : printable;
    canvas_.Font.SetPixelsPerInch(yres);
}

void TRecordingPrinter::SetWindowOrigin(int x, int y) {
    Calls.push_back(QStringLiteral("WindowOrigin:%1,%2").arg(x).arg(y));
}

void TRecordingPrinter::SetTitle(const QString& title) {
    title_ = title;
    Calls.push_back(QStringLiteral("Title:") + title);
}

void TRecordingPrinter::BeginDoc() {
    Calls.push_back(QStringLiteral("BeginDoc"));
    printing_ = true;
    canvas_.Ops.clear();
    canvas_.Page = 1;
    pages_ = 1;
}

void TRecordingPrinter::NewPage() {
    Calls.push_back(QStringLiteral("NewPage"));
    ++canvas_.Page;
    ++pages_;
}

void TRecordingPrinter::EndDoc() {
    Calls.push_back(QStringLiteral("EndDoc"));
    printing_ = false;
    canvas_.Page = 0;
}

void TRecordingPrinter::Abort() {
    Calls.push_back(QStringLiteral("Abort"));
    printing_ = false;
    canvas_.Page = 0;
}

std::vector<TRecordingCanvas::Op> TRecordingPrinter::OpsOnPage(int n) const {
    std::vector<TRecordingCanvas::Op> out;
    for (const auto& o : canvas_.Ops)
        if (o.page == n) out.push_back(o);
    return out;
}

void TRecordingPrinter::Clear() {
    Calls.clear();
    canvas_.Ops.clear();
    canvas_.TextHeightCalls = 0;
    pages_ = 0;
}

} // namespace qm
