#include "preview/PrintPreview.h"

#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "dialogs/Dialogs.h"
#include "preview/PreviewWindow.h"
#include "preview/PrintRun.h"
#include "preview/PrintStatusWindow.h"
#include "preview/Printer.h"

namespace qm {

void TZoomOptions::SetMinZoom(int v) { minZoom_ = std::clamp(v, 1, 100); }
void TZoomOptions::SetMaxZoom(int v) { maxZoom_ = std::clamp(v, 100, 5000); }
void TZoomOptions::SetZoomStep(int v) { zoomStep_ = std::clamp(v, 0, 5000); }

TPrintPreview::TPrintPreview(QWidget* owner) : owner_(owner) {}
TPrintPreview::~TPrintPreview() = default;

namespace {
// Clears a reference to a window when the operation that made it ends, however it ends.
template <typename T> struct ClearOnExit {
    T*& ref;
    ~ClearOnExit() { ref = nullptr; }
};
} // namespace

void TPrintPreview::Preview() {
    auto form = std::make_unique<TPreviewForm>(Printer(), owner_);
    previewForm_ = form.get();
    ClearOnExit<TPreviewForm> clear{previewForm_};

    form->Document.OnBeginPrint = OnBeginPrint;
    form->Document.OnPrintPage = OnPrintPage;
    form->Document.OnEndPrint = OnEndPrint;
    form->ZoomMin = static_cast<float>(zoomOptions_.MinZoom()) / 100.0f;
    form->ZoomMax = static_cast<float>(zoomOptions_.MaxZoom()) / 100.0f;
    form->ZoomFactor = 1.0f + static_cast<float>(zoomOptions_.ZoomStep()) / 100.0f;
    form->PrintBut->setVisible(visibleButtons_.Print);
    form->NextPageBut->setVisible(visibleButtons_.Next);
    form->PrevPageBut->setVisible(visibleButtons_.Prev);
    form->ZoomInBut->setVisible(visibleButtons_.ZoomIn);
    form->ZoomOutBut->setVisible(visibleButtons_.ZoomOut);
    form->CloseBut->setVisible(visibleButtons_.Close);
    form->GridBut->setVisible(visibleButtons_.Grid);
    form->CurPage = CurrentPage;
    form->GridColor = GridColor;
    form->GridWidth = GridWidth;
    form->setWindowTitle(Title);
    form->GridBut->setChecked(ShowGrid);

    form->Run();
    const bool print = form->PrintRequested;
    // The next preview opens with the grid as the user left it, even if printing fails.
    ShowGrid = form->GridBut->isChecked();
    if (print) PrintDocument();
}

void TPrintPreview::PrintDocument() {
    TPrintRange range; // pages 1 to 999 offered, all of them asked
    auto status = std::make_unique<TPrintStatusForm>(owner_);
    statusForm_ = status.get();
    ClearOnExit<TPrintStatusForm> clear{statusForm_};
    // The printer the print dialog sets up.
    TPrinter& printer = Printer();
    if (!Dialogs().PrintDialog(owner_, printer.QtPrinter(), range)) return;

    TPageDocument doc;
    doc.OnBeginPrint = OnBeginPrint;
    doc.OnPrintPage = OnPrintPage;
    doc.OnEndPrint = OnEndPrint;
    RunPrintJob(doc, printer, range.FromPage, range.ToPage, status->Listener());
}

} // namespace qm
