#pragma once
// The print run: pre-pass to the first page asked for, then the printed pages, on any
// printer. It reports progress and takes a cancel request through callbacks, so a
// status window (or nothing, on the command line) only listens.
#include <QString>
#include <functional>

#include "preview/PageDocument.h"
#include "preview/Printer.h"

namespace qm {

struct TPrintListener {
    std::function<void()> Started;             // the job is about to begin
    std::function<void(const QString&)> Title; // "Initializing", "Paginating Page n", the job's title
    std::function<void(int)> Page;             // page n is being printed
    std::function<bool()> Cancelled;           // asked once before each printed page
    std::function<void()> Finished;            // the run ended, well or not, after Started
};

// Prints pages fromPage..toPage (fewer when the document ends first). Errors abort the
// job and propagate; a cancel request aborts the job and ends the run normally.
void RunPrintJob(TPageDocument& doc, TPrinter& printer, int fromPage, int toPage, const TPrintListener& listener = {});

} // namespace qm
