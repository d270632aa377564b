#include "preview/QtPrinter.h"

#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>

#include "preview/PrintSurface.h"

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
    target_.clear();
    partial_.clear();
    if (printer_->outputFormat() == QPrinter::PdfFormat) {
        target_ = printer_->outputFileName();
        if (target_.isEmpty()) throw PrintException("No PDF file was chosen to print to.");
        // The job writes beside the target and takes its place only when it ends well.
        partial_ = target_ + QStringLiteral(".part");
        printer_->setOutputFileName(partial_);
    }
    if (printer_->outputFormat() == QPrinter::NativeFormat) AskForNoScaling(*printer_);
    if (!StartPainting(printer_.get(), printer_->resolution())) {
        if (!partial_.isEmpty()) {
            printer_->setOutputFileName(target_);
            QFile::remove(partial_);
            throw PrintException(QStringLiteral("Cannot print to %1: the file cannot be written.").arg(target_));
        }
        throw PrintException(QStringLiteral("Cannot start printing on %1.").arg(printer_->printerName()));
    }
}

void TQtPrinter::DeviceNewPage() { printer_->newPage(); }

void TQtPrinter::EndDoc() {
    if (!painter_) return;
    StopPainting();
    if (!partial_.isEmpty()) {
        printer_->setOutputFileName(target_);
        const QString part = partial_;
        partial_.clear();
        FinishPartialFile(part, target_);
    }
}

void TQtPrinter::Abort() {
    if (!painter_) return;
    // QPrinter::abort does nothing for PDF output; there the half-written file is dropped.
    if (partial_.isEmpty()) printer_->abort();
    StopPainting();
    if (!partial_.isEmpty()) {
        QFile::remove(partial_);
        printer_->setOutputFileName(target_);
        partial_.clear();
    }
}

namespace {
std::unique_ptr<TPrinter> MakeQtPrinter() { return std::make_unique<TQtPrinter>(); }
} // namespace

void UseQtPrinter() { SetDefaultPrinterFactory(MakeQtPrinter); }

} // namespace qm
