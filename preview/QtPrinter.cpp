#include "preview/QtPrinter.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>

#include "preview/PrintErrors.h"

namespace qm {

// The job options the CUPS print engine hands to the job, as name, value, name, value.
static const auto CupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);

QStringList CupsJobOptions(QPrinter& printer) {
    return printer.printEngine() ? printer.printEngine()->property(CupsOptionsKey).toStringList() : QStringList();
}

void AskForNoScaling(QPrinter& printer) {
    QPrintEngine* engine = printer.printEngine();
    if (!engine) return;
    QStringList options = engine->property(CupsOptionsKey).toStringList();
    // CUPS gets the pages as PDF and would fit them to the printable area unless told
    // not to; the map's cells must keep their size in inches.
    const std::pair<const char*, const char*> wanted[] = {{"print-scaling", "none"}, {"fit-to-page", "false"}};
    for (const auto& [name, value] : wanted) {
        bool set = false;
        for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
            if (options[i] == QLatin1String(name)) {
                options[i + 1] = QString::fromLatin1(value);
                set = true;
            }
        }
        if (!set) options << QString::fromLatin1(name) << QString::fromLatin1(value);
    }
    engine->setProperty(CupsOptionsKey, options);
}

// ---- TQtPrinter ----

TQtPrinter::TQtPrinter() : TPainterPrinter(600), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(QDir::home().filePath(QStringLiteral("Map.pdf")));
    }
    // QPrinter would otherwise work at 1200 dpi on whatever page the locale suggests.
    printer_->setResolution(600);
    printer_->setFullPage(false);
    printer_->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                        QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
    canvas_->Font.SetPixelsPerInch(printer_->resolution());
}

TQtPrinter::~TQtPrinter() {
    if (painter_) Abort();
}

int TQtPrinter::XRes() const { return printer_->resolution(); }
int TQtPrinter::YRes() const { return printer_->resolution(); }

QSize TQtPrinter::PhysicalPageSize() const { return printer_->paperRect(QPrinter::DevicePixel).toRect().size(); }

QPoint TQtPrinter::PrintingOffset() const {
    const QRectF paper = printer_->paperRect(QPrinter::DevicePixel);
    const QRectF page = printer_->pageRect(QPrinter::DevicePixel);
    return (page.topLeft() - paper.topLeft()).toPoint();
}

QSize TQtPrinter::PrintableSize() const { return printer_->pageRect(QPrinter::DevicePixel).toRect().size(); }

void TQtPrinter::SetTitle(const QString& title) { printer_->setDocName(title); }
QString TQtPrinter::Title() const { return printer_->docName(); }

void TQtPrinter::SetPdfFile(const QString& path) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(path);
}

void TQtPrinter::BeginDoc() {
    if (painter_) throw PrintException("A print job is already running.");
    if (printer_->outputFormat() == QPrinter::PdfFormat) {
        const QString target = printer_->outputFileName();
        if (target.isEmpty()) throw PrintException("No PDF file was chosen to print to.");
        // QPrinter ignores failed writes: the pages go through a PDF writer of the same
        // page layout into a file that notices them, and take the target's place only
        // when the job ends well.
        pdfFile_ = std::make_unique<TPdfFile>(target);
        pdf_ = std::make_unique<QPdfWriter>(pdfFile_.get());
        pdf_->setResolution(printer_->resolution());
        pdf_->setPageLayout(printer_->pageLayout());
        pdf_->setTitle(printer_->docName());
        pdf_->setCreator(printer_->creator());
        pdf_->setPdfVersion(printer_->pdfVersion());
        if (!StartPainting(pdf_.get(), printer_->resolution())) {
            pdf_.reset();
            pdfFile_.reset();
            throw PrintException(QStringLiteral("Cannot print to %1: the file cannot be written.").arg(target));
        }
        // The print dialog's Grayscale: the PDF writer has no such setting, so the canvas
        // draws in grey itself (a printer's own driver does it for printed sheets).
        canvas_->SetGrayscale(printer_->colorMode() == QPrinter::GrayScale);
        return;
    }
    if (printer_->outputFormat() == QPrinter::NativeFormat) AskForNoScaling(*printer_);
    if (!StartPainting(printer_.get(), printer_->resolution()))
        throw PrintException(QStringLiteral("Cannot start printing on %1.").arg(printer_->printerName()));
}

void TQtPrinter::DeviceNewPage() {
    if (pdf_) {
        pdfFile_->Check(); // a failing disk ends the job here rather than at its end
        pdf_->newPage();
        return;
    }
    printer_->newPage();
}

void TQtPrinter::EndDoc() {
    if (!painter_) return;
    StopPainting();
    if (pdf_) {
        pdf_.reset();
        std::unique_ptr<TPdfFile> file = std::move(pdfFile_);
        file->Commit();
    }
}

void TQtPrinter::Abort() {
    if (!painter_) return;
    if (!pdf_) printer_->abort();
    StopPainting();
    pdf_.reset();
    pdfFile_.reset(); // removes the half-written file
}

namespace {
std::unique_ptr<TPrinter> MakeQtPrinter() { return std::make_unique<TQtPrinter>(); }
} // namespace

void UseQtPrinter() { SetDefaultPrinterFactory(MakeQtPrinter); }

} // namespace qm
