// Map printing: the whole map at 1.00 inch (121 pages) to a PDF file, a generated
// dungeon as battle-mat sheets at 1.00 inch, and one fit-to-page page painted in the
// preview window.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

#include "bench/BenchSupport.h"

#include "dialogs/Dialogs.h"
#include "generate/GenerateMap.h"
#include "preview/PreviewWindow.h"
#include "preview/PrintPreview.h"
#include "preview/Printer.h"
#include "preview/QtPrinter.h"
#include "print/MapPage.h"
#include "tests/support/GeneratedMapChecks.h"
#include "tests/support/RecordingPrinter.h"
#include "tests/support/ScriptedDialogs.h"

using namespace qm;

namespace {

// A busy map: every cell has a lower symbol, many an upper one, and a floor below.
struct BusyMap {
    TRenderedTileset ts;
    std::unique_ptr<TMapRecord> map = std::make_unique<TMapRecord>();
    QImage tileBitmap, cellBitmap;
    BusyMap() {
        ClearMapRecord(*map);
        RenderTileset(ts, *map, QString(), tileBitmap);
        map->Background = 11;
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) {
                map->Cell(x, y).Lower = static_cast<uint8_t>(16 + (x * 5 + y * 3) % 64);
                if ((x + y) % 3 == 0) map->Cell(x, y).Upper = static_cast<uint8_t>(100 + (x * y) % 60);
            }
    }
    TMapPrintSource Source(int scale) {
        TMapPrintSource s;
        s.Map = map.get();
        s.Tileset = &ts;
        s.CellBitmap = &cellBitmap;
        s.MapFileName = "bench.map";
        s.Settings.ScaleIndex = scale;
        s.Settings.GridStyle = gsAlignedSquares;
        return s;
    }
};

void BM_PrintWholeMapOneInchToPdf(benchmark::State& state) {
    BusyMap m;
    QTemporaryDir dir;
    TQtPrinter qt;
    qmtest::TScriptedDialogs dialogs;
    SetPrinter(&qt);
    SetDialogs(&dialogs);
    TMapPageHandler handler([&] { return m.Source(4); });
    TPrintPreview preview;
    handler.Bind(preview);
    const QString pdf = dir.filePath("map.pdf");
    qt.SetPdfFile(pdf);
    for (auto _ : state) preview.PrintDocument();
    state.counters["MB"] = QFileInfo(pdf).size() / 1e6;
    SetPrinter(nullptr);
    SetDialogs(nullptr);
}
BENCHMARK(BM_PrintWholeMapOneInchToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

// The generated dungeon (seed 7) at 1.00" with the paper options on, to a PDF at 150 dpi:
// time per sheet printed for Rock As Drawn (today's print), Hatched Edge and White, with
// the ink saver off (range 1 = 0) and on (1).
void BM_PrintDungeonSheetsRock(benchmark::State& state) {
    const qmtest::TBuiltInGenerator& gen = qmtest::BuiltInGenerator();
    auto map = std::make_unique<TMapRecord>();
    ClearMapRecord(*map);
    TGenerateOptions o;
    o.Seed = 7;
    GenerateMap(*map, o, gen.palette);
    QImage cellBitmap;
    TMapPrintSource src;
    src.Map = map.get();
    src.Tileset = &gen.ts;
    src.CellBitmap = &cellBitmap;
    src.MapFileName = "d.map";
    src.Settings.ScaleIndex = 4;
    src.Settings.WholeMap = false;
    src.Settings.DrawnPart = true;
    src.Settings.Mat.SkipEmpty = true;
    src.Settings.Mat.FitSheets = true;
    src.Settings.Mat.Marks = true;
    src.Settings.Mat.InkSaver = state.range(1) != 0;
    src.Settings.Rock = int(state.range(0));
    QTemporaryDir dir;
    TQtPrinter qt;
    qt.QtPrinter()->setResolution(150);
    qmtest::TScriptedDialogs dialogs;
    SetPrinter(&qt);
    SetDialogs(&dialogs);
    TMapPageHandler handler([&] { return src; });
    TPrintPreview preview;
    handler.Bind(preview);
    const QString pdf = dir.filePath("d.pdf");
    qt.SetPdfFile(pdf);
    const auto layout = SourceLayout(src, map.get(), 1275, 1650, 150, 150);
    const int sheets = layout ? layout->Pages() : 1;
    double ms = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        preview.PrintDocument();
        ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["sheets"] = sheets;
    state.counters["ms/sheet"] = ms / double(state.iterations()) / sheets;
}

// The drawn part of a generated dungeon on the sheets it needs, with overlap, marks and
// the overview, as a game master prints a battle mat.
void BM_BattleMatGeneratedDungeonToPdf(benchmark::State& state) {
    const qmtest::TBuiltInGenerator& g = qmtest::BuiltInGenerator();
    auto map = std::make_unique<TMapRecord>();
    ClearMapRecord(*map);
    TGenerateOptions o;
    o.Seed = 4711;
    GenerateMap(*map, o, g.palette);
    QImage cellBitmap;
    QTemporaryDir dir;
    TQtPrinter qt;
    qmtest::TScriptedDialogs dialogs;
    SetPrinter(&qt);
    SetDialogs(&dialogs);
    TMapPageHandler handler([&] {
        TMapPrintSource s;
        s.Map = map.get();
        s.Tileset = &g.ts;
        s.CellBitmap = &cellBitmap;
        s.MapFileName = "dungeon.map";
        s.Settings.ScaleIndex = 4;
        s.Settings.DrawnPart = true;
        s.Settings.GridStyle = gsAlignedSquares;
        s.Settings.Mat.Overlap = 1;
        s.Settings.Mat.Marks = true;
        s.Settings.Mat.Overview = true;
        s.Settings.Mat.SkipEmpty = true;
        s.Settings.Mat.FitSheets = true;
        return s;
    });
    TPrintPreview preview;
    handler.Bind(preview);
    const QString pdf = dir.filePath("mat.pdf");
    qt.SetPdfFile(pdf);
    for (auto _ : state) preview.PrintDocument();
    state.counters["MB"] = QFileInfo(pdf).size() / 1e6;
    SetPrinter(nullptr);
    SetDialogs(nullptr);
}
BENCHMARK(BM_PrintDungeonSheetsRock)
    ->ArgsProduct({{rpDrawn, rpHatched, rpWhite}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_BattleMatGeneratedDungeonToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PreviewFitToPage(benchmark::State& state) {
    BusyMap m;
    TRecordingPrinter printer;
    SetPrinter(&printer);
    TMapPageHandler handler([&] { return m.Source(0); });
    TPreviewForm form(printer);
    form.Document.OnBeginPrint = [&](std::unique_ptr<TPageInfo>& i) { handler.PrintPreview1BeginPrint(i); };
    form.Document.OnPrintPage = [&](std::unique_ptr<TPageInfo>& i, TSpecialCanvas& s) {
        handler.PrintPreview1PrintPage(i, s);
    };
    form.Document.OnEndPrint = [&](std::unique_ptr<TPageInfo>& i) { handler.PrintPreview1EndPrint(i); };
    form.Begin();
    qmbench::TimePreviewPage(state, form);
    form.End();
    SetPrinter(nullptr);
}
BENCHMARK(BM_PreviewFitToPage)->Unit(benchmark::kMillisecond);

} // namespace
