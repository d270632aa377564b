// Painting one preview page: a 72 x 72 cell document drawn in 600 dpi sheet
// coordinates onto a paint box 1000 pixels high.
#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "bench/BenchSupport.h"

#include "preview/PreviewWindow.h"
#include "preview/Printer.h"
#include "tests/support/RecordingPrinter.h"

using namespace qm;

namespace {

void BM_PreviewPage72x72(benchmark::State& state) {
    TRecordingPrinter printer; // Letter at 600 dpi
    SetPrinter(&printer);
    std::vector<QImage> tiles;
    for (int i = 0; i < 8; ++i) {
        QImage im(48, 48, QImage::Format_RGB32);
        im.fill(QColor::fromHsv(i * 40, 120, 200));
        QPainter p(&im);
        p.drawLine(0, 0, 47, 47);
        tiles.push_back(im);
    }
    TPreviewForm form(printer);
    form.Document.OnBeginPrint = [](std::unique_ptr<TPageInfo>& i) { i = std::make_unique<TPageInfo>(); };
    form.Document.OnPrintPage = [&](std::unique_ptr<TPageInfo>& info, TSpecialCanvas& s) {
        const int cell = 62, left = s.ScaleX(0.5f), top = s.ScaleY(0.5f);
        for (int y = 0; y < 72; ++y)
            for (int x = 0; x < 72; ++x)
                s.StretchDraw(QRect(left + x * cell, top + y * cell, cell, cell), tiles[(x + y) % tiles.size()]);
        s.TextOut(left, top / 2, "A 72 x 72 document");
        info->LastPage = true;
    };
    form.Document.OnEndPrint = [](std::unique_ptr<TPageInfo>& i) { i.reset(); };
    form.Begin();
    qmbench::TimePreviewPage(state, form);
    form.End();
    SetPrinter(nullptr);
}
BENCHMARK(BM_PreviewPage72x72)->Unit(benchmark::kMillisecond);

} // namespace
