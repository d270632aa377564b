#pragma once
// TPrintPreview: previews and prints a document that the application draws page by
// page through three handlers. It never knows the document: the page count is found
// by running the page handler until it reports the last page.
#include <QColor>
#include <QString>

#include "preview/PrintSurface.h"

class QWidget;

namespace qm {

class TPreviewForm;
class TPrintStatusForm;

// Zoom limits in percent; every setter clamps.
class TZoomOptions {
public:
    int MinZoom() const { return minZoom_; }
    int MaxZoom() const { return maxZoom_; }
    int ZoomStep() const { return zoomStep_; }
    void SetMinZoom(int v);  // 1..100
    void SetMaxZoom(int v);  // 100..5000
    void SetZoomStep(int v); // 0..5000

private:
    int minZoom_ = 50;
    int maxZoom_ = 2000;
    int zoomStep_ = 50;
};

// Which buttons the preview window shows. About is kept but has no button.
struct TVisibleButtons {
    bool Print = true;
    bool Next = true;
    bool Prev = true;
    bool ZoomIn = true;
    bool ZoomOut = true;
    bool Close = true;
    bool About = true;
    bool Grid = true;
};

class TPrintPreview {
public:
    // Windows the component opens are children of `owner` (may be null).
    explicit TPrintPreview(QWidget* owner = nullptr);
    ~TPrintPreview();
    TPrintPreview(const TPrintPreview&) = delete;
    TPrintPreview& operator=(const TPrintPreview&) = delete;

    TBeginPrintEvent OnBeginPrint;
    TPrintPageEvent OnPrintPage;
    TEndPrintEvent OnEndPrint;

    void SetZoomOptions(const TZoomOptions& z) { zoomOptions_ = z; }
    TVisibleButtons& VisibleButtons() { return visibleButtons_; }

    int CurrentPage = 1;
    QColor GridColor = QColor(0xC0, 0xC0, 0xC0);
    int GridWidth = 2;
    QString Title = QStringLiteral("Print Preview");
    bool ShowGrid = false;

    // Opens the preview window; prints afterwards when the user pressed Print there.
    void Preview();
    // The print run: print dialog, pre-pass, printed pages with a progress window.
    void PrintDocument();

    // The window of the operation in progress, for tests and for the application.
    TPreviewForm* PreviewForm() const { return previewForm_; }
    TPrintStatusForm* StatusForm() const { return statusForm_; }

private:
    QWidget* owner_;
    TZoomOptions zoomOptions_;
    TVisibleButtons visibleButtons_;
    TPreviewForm* previewForm_ = nullptr;
    TPrintStatusForm* statusForm_ = nullptr;
};

} // namespace qm
