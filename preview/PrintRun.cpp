#include "preview/PrintRun.h"

#include <memory>

namespace qm {

void RunPrintJob(TPageDocument& doc, TPrinter& printer, int fromPage, int toPage, const TPrintListener& listener) {
    if (!doc.OnBeginPrint) throw PrintException("Begin Print Function Not Assigned!");

    auto title = [&listener](const QString& t) {
        if (listener.Title) listener.Title(t);
    };
    if (listener.Started) listener.Started();
    title(QStringLiteral("Initializing"));
    std::unique_ptr<TSpecialCanvas> surface;
    try {
        doc.Begin();
        TPageInfo& info = *doc.InfoRef();
        printer.SetTitle(info.Title);
        printer.BeginDoc();

        {
            TSpecialCanvas pagination(QStringLiteral("Pagination"), printer);
            pagination.SetPaginateMode();
            for (int n = 1; n <= fromPage - 1; ++n) {
                title(QStringLiteral("Paginating Page ") + QString::number(n));
                doc.RunPage(n, pagination);
            }
        }

        surface = std::make_unique<TSpecialCanvas>(QStringLiteral("Print"), printer);
        surface->SetPrintMode();
        surface->PostPrinterSetup();
        title(doc.InfoRef()->Title);
        printer.SetWindowOrigin(surface->NoPrintLeft, surface->NoPrintTop);

        int p = fromPage - 1;
        for (;;) {
            if (listener.Cancelled && listener.Cancelled()) {
                printer.Abort();
                break;
            }
            ++p;
            if (listener.Page) listener.Page(p);
            doc.RunPage(p, *surface);
            if (!doc.InfoRef()->LastPage && p + 1 <= toPage) {
                printer.NewPage();
                continue;
            }
            printer.EndDoc();
            break;
        }

        doc.End();
        if (listener.Finished) listener.Finished();
        surface.reset();
    } catch (...) {
        // Nothing half-done survives the error: job dropped, listener told, surface freed.
        if (printer.Printing()) printer.Abort();
        if (listener.Finished) listener.Finished();
        surface.reset();
        throw;
    }
}

} // namespace qm
