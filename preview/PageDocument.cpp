#include "preview/PageDocument.h"

#include <algorithm>

namespace qm {

void TPageDocument::Begin() {
    if (!OnBeginPrint) throw PrintException("Begin Print Function Not Assigned!");
    OnBeginPrint(info_);
    if (!info_) throw PrintException("Begin Print Function supplied no page information!");
}

void TPageDocument::End() {
    if (!OnEndPrint) throw PrintException("End Print Function Not Assigned!");
    OnEndPrint(info_);
}

int TPageDocument::RunPage(int n, TSpecialCanvas& s) {
    if (!info_) throw PrintException("Begin Print Function supplied no page information!");
    info_->PageNumber = n;
    if (!OnPrintPage) throw PrintException("Print Page Function Not Assigned!");
    OnPrintPage(info_, s);
    if (!info_) throw PrintException("Print Page Function dropped the page information!");
    return info_->PageNumber;
}

void TPageDocument::NotePage(int n) {
    if (info_ && info_->LastPage && LastKnownPage == -1) LastKnownPage = info_->PageNumber;
    if (n > HighestPage) HighestPage = n;
}

void TPageDocument::Paginate(TPrinter& printer, int n) {
    TSpecialCanvas s(QStringLiteral("Paginate"), printer);
    s.SetPaginateMode();
    RunPage(n, s);
    NotePage(n);
}

int TPageDocument::Discover(TPrinter& printer, int n, const std::function<void(int)>& paginating) {
    auto paginate = [&](int p) {
        if (p == 0) return;
        if (paginating) paginating(p);
        Paginate(printer, p);
    };
    int page = n;
    if (n == -1) {
        for (int p = HighestPage + 1; LastKnownPage == -1; ++p) {
            // A handler that never reports a last page must not hang the caller.
            if (p > MaxPages)
                throw PrintException(
                    QStringLiteral("The document reported no last page within %1 pages.").arg(MaxPages));
            paginate(p);
        }
        page = LastKnownPage;
    } else if (n > HighestPage + 1) {
        const int last = std::min(n - 1, MaxPages);
        for (int p = HighestPage + 1; p <= last; ++p) paginate(p);
        if (n - 1 > MaxPages && LastKnownPage == -1)
            throw PrintException(QStringLiteral("The document reported no last page within %1 pages.").arg(MaxPages));
    }
    if (LastKnownPage != -1 && LastKnownPage < page) page = LastKnownPage;
    return std::max(page, 1);
}

} // namespace qm
