#pragma once
// The one process-wide printer every drawing surface shares: its geometry, its canvas
// and its job control. The program uses QPrinter (a CUPS printer, or a PDF file);
// tests install a recording printer with the same interface.
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "Canvas.h"

class QPrinter;
class QPainter;

namespace qm {

class TPrinter {
public:
    virtual ~TPrinter() = default;

    // Geometry in device pixels.
    virtual int XRes() const = 0;
    virtual int YRes() const = 0;
    virtual QSize PhysicalPageSize() const = 0; // the whole sheet
    virtual QPoint PrintingOffset() const = 0;  // top-left of the printable area on the sheet
    virtual QSize PrintableSize() const = 0;

    // The canvas: usable for measuring at any time, for drawing during a job.
    virtual TCanvas& Canvas() = 0;
    // Logical coordinates (x, y) land on the device origin (the printable area's corner).
    virtual void SetWindowOrigin(int x, int y) = 0;

    // Job control. BeginDoc throws PrintException when the job cannot start.
    virtual void SetTitle(const QString& title) = 0;
    virtual QString Title() const = 0;
    virtual void BeginDoc() = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual void Abort() = 0;
    virtual bool Printing() const = 0;
    virtual int PageNumber() const = 0; // 1 on the first page of a job

    // The Qt printer behind it, for the print and set-up dialogs; null for others.
    virtual QPrinter* QtPrinter() { return nullptr; }
};

// The printer in use: the Qt printer unless a test installed another.
TPrinter& Printer();
// Installs `p` (not owned); null restores the Qt printer.
void SetPrinter(TPrinter* p);

// QPrinter at 600 dpi on Letter paper with quarter-inch unprintable margins; prints to
// the system's default printer or, when there is none, to a PDF file.
class TQtPrinter : public TPrinter {
public:
    TQtPrinter();
    ~TQtPrinter() override;

    int XRes() const override;
    int YRes() const override;
    QSize PhysicalPageSize() const override;
    QPoint PrintingOffset() const override;
    QSize PrintableSize() const override;
    TCanvas& Canvas() override { return *canvas_; }
    void SetWindowOrigin(int x, int y) override;
    void SetTitle(const QString& title) override;
    QString Title() const override;
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return painter_ != nullptr; }
    int PageNumber() const override { return page_; }
    QPrinter* QtPrinter() override { return printer_.get(); }

    // Sends the next jobs to a PDF file.
    void SetPdfFile(const QString& path);

private:
    void ApplyCanvasToPainter();
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<TPainterCanvas> canvas_;
    QString target_; // the PDF file a job writes once it ends well
    QString partial_;
    int page_ = 0;
};

// Asks the CUPS job of the next print on `printer` to print at 100 %, unscaled; and the
// job options as they stand (name, value, ...), empty for printers that are not CUPS's.
void AskForNoScaling(QPrinter& printer);
QStringList CupsJobOptions(QPrinter& printer);

// A printer that keeps pages, strokes, texts and job calls, with settable geometry.
class TRecordingPrinter : public TPrinter {
public:
    TRecordingPrinter();

    // Sheet, resolution, printable offset and size; the printable area defaults to the sheet.
    void SetGeometry(int xres, int yres, QSize sheet, QPoint offset = {}, QSize printable = {});

    int XRes() const override { return xres_; }
    int YRes() const override { return yres_; }
    QSize PhysicalPageSize() const override { return sheet_; }
    QPoint PrintingOffset() const override { return offset_; }
    QSize PrintableSize() const override { return printable_; }
    TCanvas& Canvas() override { return canvas_; }
    TRecordingCanvas& Recorder() { return canvas_; }
    void SetWindowOrigin(int x, int y) override;
    void SetTitle(const QString& title) override;
    QString Title() const override { return title_; }
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return printing_; }
    int PageNumber() const override { return canvas_.Page; }

    // Job calls in order: "Title:<t>", "BeginDoc", "NewPage", "EndDoc", "Abort",
    // "WindowOrigin:x,y".
    std::vector<QString> Calls;
    int PagesPrinted() const { return pages_; }
    // Ops recorded on page n of the last job.
    std::vector<TRecordingCanvas::Op> OpsOnPage(int n) const;
    void Clear();

private:
    int xres_ = 600, yres_ = 600;
    QSize sheet_{5100, 6600};
    QPoint offset_;
    QSize printable_{5100, 6600};
    TRecordingCanvas canvas_;
    QString title_;
    bool printing_ = false;
    int pages_ = 0;
};

} // namespace qm
