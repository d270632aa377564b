#pragma once
// The drawing surface every printed page goes through, the page information a page
// handler fills in, and the three print events: the contract between a page handler
// and the print-preview component.
#include <QImage>
#include <QPicture>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "base/Encoding.h"
#include "preview/Canvas.h"
#include "preview/PrintErrors.h"

namespace qm {

enum TCanvasMode : uint8_t { cmPreview = 0, cmPrint = 1, cmPaginate = 2 };

// Rounds inches at a resolution to whole pixels, halves to even, as the surface does.
int32_t ScaleInches(int32_t pixelsPerInch, float inches);

class TPrinter;

// One page's drawing surface on the printer it is given (not owned). Positions and
// lengths are printer pixels from the top-left corner of the physical sheet; the mode
// decides where strokes land.
class TSpecialCanvas {
public:
    TSpecialCanvas(const QString& name, TPrinter& printer);
    ~TSpecialCanvas();
    TSpecialCanvas(const TSpecialCanvas&) = delete;
    TSpecialCanvas& operator=(const TSpecialCanvas&) = delete;

    QString Name;
    int32_t PageWidth = 0;
    int32_t PageHeight = 0;
    int32_t XRes = 0;
    int32_t YRes = 0;
    int32_t NoPrintLeft = 0;
    int32_t NoPrintTop = 0;
    int32_t PrintRight = 0;
    int32_t PrintBottom = 0;
    TCanvasMode Mode = cmPrint;

private:
    TFont FFont;

public:
    TBrush Brush;
    TPen Pen;
    uint32_t CopyMode = SRCCOPY;
    TCanvas* DisplayCanvas = nullptr; // not owned

    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }

    void SetPreviewMode(TCanvas* canvas);
    void SetPrintMode();
    void SetPaginateMode();
    void PostPrinterSetup();

    int32_t ScaleX(float inches) const { return ScaleInches(XRes, inches); }
    int32_t ScaleY(float inches) const { return ScaleInches(YRes, inches); }

    void TextOut(int x, int y, const QString& text);
    int TextWidth(const QString& text);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // A bitmap: in print mode it goes to the device as device-independent bits.
    void StretchDraw(const QRect& r, const QImage& bitmap);
    // Any other graphic.
    void StretchDraw(const QRect& r, const QPicture& graphic);

    void SyncPrinterFont();
    void SyncDisplayFont();
    void FontChanged();
    void PenChanged();
    void BrushChanged();

    // Same colour, point size, name (case-sensitive) and style set.
    static bool SameFont(const TFont& a, const TFont& b);

private:
    TPrinter* printer_;
    TCanvas& PrinterCanvas();
    void TakeState(TCanvas& target);
};

// Filled in around each page handler call; zero-filled when created.
struct TPageInfo {
    int32_t PageNumber = 0;
    bool LastPage = false;
    QString Title;
    // What the whole document comes to, when the page handler says ("12 sheets (3 x 4), Letter").
    QString Summary;
};

// The begin handler creates the page information (or supplies one); the end handler
// frees it and clears the reference.
using TBeginPrintEvent = std::function<void(std::unique_ptr<TPageInfo>& Info)>;
using TPrintPageEvent = std::function<void(std::unique_ptr<TPageInfo>& Info, TSpecialCanvas& SCanvas)>;
using TEndPrintEvent = std::function<void(std::unique_ptr<TPageInfo>& Info)>;

} // namespace qm
