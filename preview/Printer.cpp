#include "Printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrintEngine>
#include <QPrinterInfo>

#include "Prevtype.h"

namespace qm {

namespace {
TQtPrinter* gQtPrinter = nullptr;
TPrinter* gPrinter = nullptr;

void DropQtPrinter() {
    delete gQtPrinter;
    gQtPrinter = nullptr;
}
} // namespace

TPrinter& Printer() {
    if (gPrinter) return *gPrinter;
    if (!gQtPrinter) {
        gQtPrinter = new TQtPrinter;
        // QPrinter must go before the application object does.
        qAddPostRoutine(DropQtPrinter);
    }
    return *gQtPrinter;
}

void SetPrinter(TPrinter* p) { gPrinter = p; }

// ---- TQtPrinter ----

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

TQtPrinter::TQtPrinter()
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      canvas_(std::make_unique<TPainterCanvas>(nullptr, 600)) {
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

QSize TQtPrinter::PhysicalPageSize() const {
    return printer_->paperRect(QPrinter::DevicePixel).toRect().size();
}

QPoint TQtPrinter::PrintingOffset() const {
    const QRectF paper = printer_->paperRect(QPrinter::DevicePixel);
    const QRectF page = printer_->pageRect(QPrinter::DevicePixel);
    return (page.topLeft() - paper.topLeft()).toPoint();
}

QSize TQtPrinter::PrintableSize() const {
    return printer_->pageRect(QPrinter::DevicePixel).toRect().size();
}

void TQtPrinter::SetWindowOrigin(int x, int y) {
    if (!painter_) return;
    const QRect vp = painter_->viewport();
    painter_->setWindow(QRect(x, y, vp.width(), vp.height()));
}

void TQtPrinter::SetTitle(const QString& title) { printer_->setDocName(title); }
QString TQtPrinter::Title() const { return printer_->docName(); }

void TQtPrinter::SetPdfFile(const QString& path) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(path);
}

void TQtPrinter::BeginDoc() {
    if (painter_) throw PrintException("A print job is already running.");
    canvas_->Font.SetPixelsPerInch(printer_->resolution());
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
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        painter_.reset();
        if (!partial_.isEmpty()) {
            printer_->setOutputFileName(target_);
            QFile::remove(partial_);
            throw PrintException(QStringLiteral("Cannot print to %1: the file cannot be written.").arg(target_));
        }
        throw PrintException(QStringLiteral("Cannot start printing on %1.").arg(printer_->printerName()));
    }
    canvas_->SetPainter(painter_.get());
    page_ = 1;
}

void TQtPrinter::NewPage() {
    if (!painter_) return;
    const QRect window = painter_->window();
    printer_->newPage();
    painter_->setWindow(window);
    ++page_;
}

void TQtPrinter::EndDoc() {
    if (!painter_) return;
    painter_->end();
    painter_.reset();
    canvas_->SetPainter(nullptr);
    page_ = 0;
    if (!partial_.isEmpty()) {
        printer_->setOutputFileName(target_);
        QFile::remove(target_);
        const bool moved = QFile::rename(partial_, target_);
        const QString part = partial_;
        partial_.clear();
        if (!moved) {
            QFile::remove(part);
            throw PrintException(QStringLiteral("Cannot write %1: the file cannot be replaced.").arg(target_));
        }
    }
}

void TQtPrinter::Abort() {
    if (!painter_) return;
    // QPrinter::abort does nothing for PDF output; there the half-written file is dropped.
    if (partial_.isEmpty()) printer_->abort();
    painter_->end();
    painter_.reset();
    canvas_->SetPainter(nullptr);
    page_ = 0;
    if (!partial_.isEmpty()) {
        QFile::remove(partial_);
        printer_->setOutputFileName(target_);
        partial_.clear();
    }
}

// ---- TRecordingPrinter ----

TRecordingPrinter::TRecordingPrinter() : canvas_(600) {}

void TRecordingPrinter::SetGeometry(int xres, int yres, QSize sheet, QPoint offset, QSize printable) {
    xres_ = xres;
    yres_ = yres;
    sheet_ = sheet;
    offset_ = offset;
    printable_ = printable.isEmpty() ? QSize(sheet.width() - offset.x(), sheet.height() - offset.y()) : printable;
    canvas_.Font.SetPixelsPerInch(yres);
}

void TRecordingPrinter::SetWindowOrigin(int x, int y) {
    Calls.push_back(QStringLiteral("WindowOrigin:%1,%2").arg(x).arg(y));
}

void TRecordingPrinter::SetTitle(const QString& title) {
    title_ = title;
    Calls.push_back(QStringLiteral("Title:") + title);
}

void TRecordingPrinter::BeginDoc() {
    Calls.push_back(QStringLiteral("BeginDoc"));
    printing_ = true;
    canvas_.Ops.clear();
    canvas_.Page = 1;
    pages_ = 1;
}

void TRecordingPrinter::NewPage() {
    Calls.push_back(QStringLiteral("NewPage"));
    ++canvas_.Page;
    ++pages_;
}

void TRecordingPrinter::EndDoc() {
    Calls.push_back(QStringLiteral("EndDoc"));
    printing_ = false;
    canvas_.Page = 0;
}

void TRecordingPrinter::Abort() {
    Calls.push_back(QStringLiteral("Abort"));
    printing_ = false;
    canvas_.Page = 0;
}

std::vector<TRecordingCanvas::Op> TRecordingPrinter::OpsOnPage(int n) const {
    std::vector<TRecordingCanvas::Op> out;
    for (const auto& o : canvas_.Ops)
        if (o.page == n) out.push_back(o);
    return out;
}

void TRecordingPrinter::Clear() {
    Calls.clear();
    canvas_.Ops.clear();
    canvas_.TextHeightCalls = 0;
    pages_ = 0;
}

} // namespace qm
