#pragma once
// A document the application draws page by page through three handlers, and the page
// discovery the preview window and the print run share: the page count is found by
// running the page handler until it reports the last page.
#include <functional>
#include <memory>

#include "preview/PrintSurface.h"
#include "preview/Printer.h"

namespace qm {

class TPageDocument {
public:
    TBeginPrintEvent OnBeginPrint;
    TPrintPageEvent OnPrintPage;
    TEndPrintEvent OnEndPrint;

    // -1 until a page reported itself the last one.
    int LastKnownPage = -1;
    // The highest page run so far; -1 before the first.
    int HighestPage = -1;

    // Pages paginated in search of a last page before giving up.
    static constexpr int MaxPages = 9999;

    // The begin handler must supply the page information; the end handler frees it.
    void Begin();
    void End();
    const TPageInfo* Info() const { return info_.get(); }
    std::unique_ptr<TPageInfo>& InfoRef() { return info_; }

    // Runs the page handler for page n on `s`; returns the page number it reports.
    int RunPage(int n, TSpecialCanvas& s);
    // Records what the page just run says about the end of the document.
    void NotePage(int n);
    // Runs page n on a surface of `printer` that draws nothing, to learn where the document ends.
    void Paginate(TPrinter& printer, int n);
    // The page to show for a request (-1 = the last page): paginates the pages before
    // it not yet seen, reporting each to `paginating`, then clamps to 1..last known.
    int Discover(TPrinter& printer, int n, const std::function<void(int)>& paginating = {});

private:
    std::unique_ptr<TPageInfo> info_;
};

} // namespace qm
