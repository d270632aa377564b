#pragma once
// A small N-page document and a guard that installs a printer and dialogs.
#include <QString>
#include <memory>
#include <utility>
#include <vector>

#include "dialogs/Dialogs.h"
#include "preview/PreviewWindow.h"
#include "preview/PrintPreview.h"
#include "preview/PrintSurface.h"
#include "preview/Printer.h"
#include "tests/support/RecordingPrinter.h"
#include "tests/support/ScriptedDialogs.h"

namespace qmtest {

// Draws "Page n" and a frame on every page; page `Pages` is the last.
struct TestDocument {
    int Pages = 3;
    int Begins = 0;
    int Ends = 0;
    std::vector<std::pair<int, qm::TCanvasMode>> Calls;
    std::function<void(qm::TPageInfo&, qm::TSpecialCanvas&)> Extra;

    void Begin(std::unique_ptr<qm::TPageInfo>& info) {
        ++Begins;
        info = std::make_unique<qm::TPageInfo>();
        info->Title = QStringLiteral("Test Document");
    }
    void Page(std::unique_ptr<qm::TPageInfo>& info, qm::TSpecialCanvas& s) {
        Calls.emplace_back(info->PageNumber, s.Mode);
        s.TextOut(s.ScaleX(1.0f), s.ScaleY(1.0f), QStringLiteral("Page %1").arg(info->PageNumber));
        s.MoveTo(s.ScaleX(1.0f), s.ScaleY(2.0f));
        s.LineTo(s.ScaleX(7.0f), s.ScaleY(2.0f));
        info->LastPage = info->PageNumber >= Pages;
        if (Extra) Extra(*info, s);
    }
    void End(std::unique_ptr<qm::TPageInfo>& info) {
        ++Ends;
        info.reset();
    }
    template <typename T> void Bind(T& target) {
        target.OnBeginPrint = [this](std::unique_ptr<qm::TPageInfo>& i) { Begin(i); };
        target.OnPrintPage = [this](std::unique_ptr<qm::TPageInfo>& i, qm::TSpecialCanvas& s) { Page(i, s); };
        target.OnEndPrint = [this](std::unique_ptr<qm::TPageInfo>& i) { End(i); };
    }
    std::vector<int> PagesIn(qm::TCanvasMode m) const {
        std::vector<int> out;
        for (auto& c : Calls)
            if (c.second == m) out.push_back(c.first);
        return out;
    }
};

// Installs a printer and dialogs for one test and puts the program's back afterwards.
struct Installed {
    Installed(qm::TPrinter* p, qm::TDialogs* d) {
        qm::SetPrinter(p);
        qm::SetDialogs(d);
    }
    ~Installed() {
        qm::SetPrinter(nullptr);
        qm::SetDialogs(nullptr);
    }
};

} // namespace qmtest
