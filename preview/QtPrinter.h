#pragma once
// The system's printer through QPrinter, for the windows and their print dialogs.
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>

#include "preview/Printer.h"

namespace qm {

// QPrinter at 600 dpi on Letter paper with quarter-inch unprintable margins; prints to
// the system's default printer or, when there is none, to a PDF file.
class TQtPrinter : public TPainterPrinter {
public:
    TQtPrinter();
    ~TQtPrinter() override;

    int XRes() const override;
    int YRes() const override;
    QSize PhysicalPageSize() const override;
    QPoint PrintingOffset() const override;
    QSize PrintableSize() const override;
    void SetTitle(const QString& title) override;
    QString Title() const override;
    void BeginDoc() override;
    void EndDoc() override;
    void Abort() override;
    QPrinter* QtPrinter() override { return printer_.get(); }

    // Sends the next jobs to a PDF file.
    void SetPdfFile(const QString& path);

private:
    void DeviceNewPage() override;
    std::unique_ptr<QPrinter> printer_;
    // A job printing to a PDF file paints here instead.
    std::unique_ptr<TPdfFile> pdfFile_;
    std::unique_ptr<QPdfWriter> pdf_;
};

// Asks the CUPS job of the next print on `printer` to print at 100 %, unscaled; and the
// job options as they stand (name, value, ...), empty for printers that are not CUPS's.
void AskForNoScaling(QPrinter& printer);
QStringList CupsJobOptions(QPrinter& printer);

// Makes the Qt printer the default of Printer(); the windowed program does this at start-up,
// for the print and page set-up dialogs work on it.
void UseQtPrinter();

} // namespace qm
