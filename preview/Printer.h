#pragma once
// A printer: its geometry, its canvas and its job control. Page surfaces draw on the
// printer they are given; the process-wide one, Printer(), is the one the Qt print
// dialogs set up. The program uses QPrinter (a CUPS printer, or a PDF file); tests use a
// recording printer with the same interface.
#include <QIODevice>
#include <QPageLayout>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "model/RecordFile.h"
#include "preview/Canvas.h"

class QPrinter;
class QPainter;
class QPdfWriter;
class QPaintDevice;

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

// The printer the print-preview component and the Qt print dialogs use: the default
// printer unless another was installed.
TPrinter& Printer();
// Installs `p` (not owned); null restores the default printer.
void SetPrinter(TPrinter* p);

// A printer whose jobs draw with a QPainter on a paint device: the canvas, the window
// origin, pages and the painter's life, shared by the Qt printer and the PDF printer.
class TPainterPrinter : public TPrinter {
public:
    TCanvas& Canvas() override { return *canvas_; }
    void SetWindowOrigin(int x, int y) override;
    void NewPage() override;
    bool Printing() const override { return painter_ != nullptr; }
    int PageNumber() const override { return page_; }

protected:
    explicit TPainterPrinter(int pixelsPerInch);
    ~TPainterPrinter() override;
    // Starts painting on the device at its resolution; false when the device refuses.
    bool StartPainting(QPaintDevice* device, int pixelsPerInch);
    void StopPainting();
    // The device's own page break.
    virtual void DeviceNewPage() = 0;

    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<TPainterCanvas> canvas_;
    int page_ = 0;
};

// A PDF file being written: the bytes go to a temporary file beside the target through
// the atomic writer, which notices a full disk or a failing one. QPdfWriter and QPrinter
// ignore failed writes, so the device keeps the first failure for the job to report.
class TPdfFile : public QIODevice {
public:
    // Throws PrintException naming the file and the reason when it cannot be created.
    explicit TPdfFile(const QString& target);
    // Throws the first write failure, if any.
    void Check() const;
    // Puts the file in place when every byte was written and the PDF was ended; throws
    // PrintException otherwise, leaving the old file as it was.
    void Commit();

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override;

private:
    QString target_;
    std::unique_ptr<TAtomicFile> file_;
    std::string error_;
    QByteArray tail_; // the last bytes written: a complete PDF ends with "%%EOF"
};

// Letter at 600 dpi with quarter-inch unprintable margins, printed to a PDF file through
// Qt Gui alone: the default printer of a program without windows, and the command
// line's printer.
class TPdfPrinter : public TPainterPrinter {
public:
    explicit TPdfPrinter(const QString& path = QString());
    ~TPdfPrinter() override;

    int XRes() const override { return resolution_; }
    int YRes() const override { return resolution_; }
    QSize PhysicalPageSize() const override;
    QPoint PrintingOffset() const override;
    QSize PrintableSize() const override;
    void SetTitle(const QString& title) override { title_ = title; }
    QString Title() const override { return title_; }
    void BeginDoc() override;
    void EndDoc() override;
    void Abort() override;

    void SetPdfFile(const QString& path) { target_ = path; }
    void SetResolution(int dpi);
    void SetPageLayout(const QPageLayout& layout) { layout_ = layout; }

private:
    void DeviceNewPage() override;
    void Close();
    QPageLayout layout_;
    int resolution_ = 600;
    QString title_;
    QString target_;
    std::unique_ptr<TPdfFile> file_;
    std::unique_ptr<QPdfWriter> writer_;
};

// The printer Printer() makes when none is installed; the windowed program installs
// the Qt printer here. Without one it is a TPdfPrinter writing Map.pdf in the home folder.
using TPrinterFactory = std::unique_ptr<TPrinter> (*)();
void SetDefaultPrinterFactory(TPrinterFactory factory);

} // namespace qm
