#include "preview/Printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "base/Encoding.h"
#include "preview/PrintErrors.h"

namespace qm {

namespace {
TPrinter* gDefaultPrinter = nullptr;
TPrinter* gPrinter = nullptr;
TPrinterFactory gFactory = nullptr;

void DropDefaultPrinter() {
    delete gDefaultPrinter;
    gDefaultPrinter = nullptr;
}
} // namespace

TPrinter& Printer() {
    if (gPrinter) return *gPrinter;
    if (!gDefaultPrinter) {
        gDefaultPrinter = gFactory ? gFactory().release() : new TPdfPrinter;
        // The printer must go before the application object does.
        qAddPostRoutine(DropDefaultPrinter);
    }
    return *gDefaultPrinter;
}

void SetPrinter(TPrinter* p) { gPrinter = p; }

void SetDefaultPrinterFactory(TPrinterFactory factory) { gFactory = factory; }

// ---- TPainterPrinter ----

TPainterPrinter::TPainterPrinter(int pixelsPerInch)
    : canvas_(std::make_unique<TPainterCanvas>(nullptr, pixelsPerInch)) {}

TPainterPrinter::~TPainterPrinter() = default;

void TPainterPrinter::SetWindowOrigin(int x, int y) {
    if (!painter_) return;
    const QRect vp = painter_->viewport();
    painter_->setWindow(QRect(x, y, vp.width(), vp.height()));
}

void TPainterPrinter::NewPage() {
    if (!painter_) return;
    const QRect window = painter_->window();
    DeviceNewPage();
    painter_->setWindow(window);
    ++page_;
}

bool TPainterPrinter::StartPainting(QPaintDevice* device, int pixelsPerInch) {
    canvas_->Font.SetPixelsPerInch(pixelsPerInch);
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(device)) {
        painter_.reset();
        return false;
    }
    canvas_->SetPainter(painter_.get());
    page_ = 1;
    return true;
}

void TPainterPrinter::StopPainting() {
    painter_->end();
    painter_.reset();
    canvas_->SetPainter(nullptr);
    canvas_->SetGrayscale(false);
    page_ = 0;
}

// ---- TPdfPrinter ----

TPdfPrinter::TPdfPrinter(const QString& path)
    : TPainterPrinter(600), layout_(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                    QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch),
      target_(path.isEmpty() ? QDir::home().filePath(QStringLiteral("Map.pdf")) : path) {}

TPdfPrinter::~TPdfPrinter() {
    if (painter_) Abort();
}

void TPdfPrinter::SetResolution(int dpi) {
    resolution_ = dpi;
    canvas_->Font.SetPixelsPerInch(dpi);
}

QSize TPdfPrinter::PhysicalPageSize() const { return layout_.fullRectPixels(resolution_).size(); }
QPoint TPdfPrinter::PrintingOffset() const { return layout_.paintRectPixels(resolution_).topLeft(); }
QSize TPdfPrinter::PrintableSize() const { return layout_.paintRectPixels(resolution_).size(); }

void TPdfPrinter::BeginDoc() {
    if (painter_) throw PrintException("A print job is already running.");
    if (target_.isEmpty()) throw PrintException("No PDF file was chosen to print to.");
    // The job writes beside the target and takes its place only when it ends well.
    file_ = std::make_unique<TPdfFile>(target_);
    writer_ = std::make_unique<QPdfWriter>(file_.get());
    writer_->setResolution(resolution_);
    writer_->setPageLayout(layout_);
    writer_->setTitle(title_);
    if (!StartPainting(writer_.get(), resolution_)) {
        writer_.reset();
        file_.reset();
        throw PrintException(QStringLiteral("Cannot print to %1: the file cannot be written.").arg(target_));
    }
}

void TPdfPrinter::DeviceNewPage() {
    // A disk that failed stops the job at the next page rather than at its end.
    file_->Check();
    writer_->newPage();
}

void TPdfPrinter::Close() {
    StopPainting();
    writer_.reset();
}

void TPdfPrinter::EndDoc() {
    if (!painter_) return;
    Close();
    std::unique_ptr<TPdfFile> file = std::move(file_);
    file->Commit();
}

void TPdfPrinter::Abort() {
    if (!painter_) return;
    Close();
    file_.reset(); // removes the temporary file
}

// ---- TPdfFile ----

namespace {
std::unique_ptr<TAtomicFile> OpenAtomic(const QString& target) {
    try {
        return std::make_unique<TAtomicFile>(PathBytes(target));
    } catch (const TFileError& e) {
        throw PrintException(e.what());
    }
}
} // namespace

TPdfFile::TPdfFile(const QString& target) : target_(target), file_(OpenAtomic(target)) { open(QIODevice::WriteOnly); }

qint64 TPdfFile::writeData(const char* data, qint64 len) {
    if (!error_.empty()) return len; // the job ends at the next check; nothing more is written
    try {
        file_->Write(data, size_t(len));
    } catch (const TFileError& e) {
        error_ = e.what();
        return len;
    }
    const qint64 keep = std::min<qint64>(len, 16);
    tail_.append(data + len - keep, qsizetype(keep));
    if (tail_.size() > 16) tail_.remove(0, tail_.size() - 16);
    return len;
}

void TPdfFile::Check() const {
    if (!error_.empty()) throw PrintException(error_.c_str());
}

void TPdfFile::Commit() {
    Check();
    close();
    if (!tail_.trimmed().endsWith("%%EOF"))
        throw PrintException(CannotCreateMessage(PathBytes(target_), "The PDF was not finished.").c_str());
    try {
        file_->Commit();
    } catch (const TFileError& e) {
        throw PrintException(e.what());
    }
}

} // namespace qm
