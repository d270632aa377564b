#pragma once
// The map on paper: the page layout as a pure function, and the three handlers a
// print-preview component calls to preview or print the map page by page.
#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "compose/CellCache.h"
#include "compose/GridRect.h"
#include "model/MapRecord.h"
#include "preview/PrintSurface.h"
#include "print/KeyPages.h"
#include "print/PageLayout.h"
#include "tiles/Tileset.h"

namespace qm {

// Whether 1-based map cell (x, y) holds something printed besides the background: a
// symbol on either layer; a hidden one only while the map shows hidden symbols.
bool IsDrawnCell(const TMapRecord& map, const TRenderedTileset* ts, int x, int y);

// The smallest rectangle (0-based grid cells) holding every drawn cell (with `places`,
// every cell holding a place, HoldsPlace); none on an empty map.
std::optional<TGridRect> DrawnArea(const TMapRecord& map, const TRenderedTileset* ts, bool places = false);

// Leaves the sheets of the grid that hold no drawn cell (with `places`, no place) out of
// the layout.
void LeaveOutEmptySheets(TPageLayout& l, const TMapRecord& map, const TRenderedTileset* ts, bool places = false);

// The layout a page of `src` is drawn in: its print area (the drawn part of `map`, the
// map as printed, when asked) and the sheets left out. None when the drawn part or the
// drawn sheets are asked of an area with nothing drawn in it.
std::optional<TPageLayout> SourceLayout(const TMapPrintSource& src, const TMapRecord* map, int pageWidth,
                                        int pageHeight, int xres, int yres);

// What a print of `src` comes to on the printer's paper, for the preview's status bar:
// "12 sheets (3 x 4), Letter".
QString PrintSummary(const TMapPrintSource& src, int pageWidth, int pageHeight, int xres, int yres);
// The same for a layout already made; none: nothing drawn in the print area.
QString LayoutSummary(const std::optional<TPageLayout>& l, int pageWidth, int pageHeight, int xres, int yres);

// Draws page info.PageNumber and sets info.LastPage.
void PrintMapPage(TPageInfo& info, TSpecialCanvas& s, const TMapPrintSource& src);

// The handlers bound to the component's three events. `source` is asked afresh for
// every page, so all pages see the settings and map of the moment.
class TMapPageHandler {
public:
    using SourceFn = std::function<TMapPrintSource()>;
    explicit TMapPageHandler(SourceFn source) : source_(std::move(source)) {}

    void PrintPreview1BeginPrint(std::unique_ptr<TPageInfo>& Info);
    void PrintPreview1PrintPage(std::unique_ptr<TPageInfo>& Info, TSpecialCanvas& SCanvas);
    void PrintPreview1EndPrint(std::unique_ptr<TPageInfo>& Info);

    // Binds the three handlers to the events of a print-preview component or a page document.
    template <typename T> void Bind(T& target) {
        target.OnBeginPrint = [this](std::unique_ptr<TPageInfo>& i) { PrintPreview1BeginPrint(i); };
        target.OnPrintPage = [this](std::unique_ptr<TPageInfo>& i, TSpecialCanvas& s) { PrintPreview1PrintPage(i, s); };
        target.OnEndPrint = [this](std::unique_ptr<TPageInfo>& i) { PrintPreview1EndPrint(i); };
    }

private:
    SourceFn source_;
    TCellCache cells_;
    TKeyPagesCache keyPages_;
};

} // namespace qm
