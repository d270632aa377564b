#pragma once
// The system's printer through QPrinter, for the windows and their print dialogs.
#include <QPoint>
#include <QSize>
#include <QString>
#include <memory>

#include "Printer.h"

namespace qm {

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

// Makes the Qt printer the default of Printer(); the windowed program calls this first.
void UseQtPrinter();

} // namespace qm
