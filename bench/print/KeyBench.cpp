// The map key: reading and writing a key of 999 entries, pinning and moving a label with
// its history step, and 200 entries' key pages printed into a PDF.
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "dialogs/Dialogs.h"
#include "editor/LabelTool.h"
#include "preview/PrintPreview.h"
#include "preview/Printer.h"
#include "preview/QtPrinter.h"
#include "print/MapPage.h"
#include "tests/support/ScriptedDialogs.h"

using namespace qm;

namespace {

TMapKey BigKey(int entries) {
    TMapKey key;
    for (int n = 1; n <= entries; ++n)
        key.Put({n, n % 72 + 1, n / 72 % 72 + 1, "Room " + std::to_string(n) + ", the one with the long title",
                 "A table with four chairs; a brazier burns in the corner.\n\nDoors: east to " +
                     std::to_string(n % 90 + 1) + ". A secret door in the north wall leads to " +
                     std::to_string(n % 50 + 2) + "."});
    return key;
}

void BM_KeyWriteAndRead999(benchmark::State& state) {
    const TMapKey key = BigKey(999);
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = KeyFileText(key);
        const TMapKey back = ParseKeyFile(text, "bench.key.md");
        bytes = text.size();
        benchmark::DoNotOptimize(back.Entries.size());
    }
    state.counters["KB"] = double(bytes) / 1024;
}
BENCHMARK(BM_KeyWriteAndRead999)->Unit(benchmark::kMillisecond);

// With a key of 998 labels and a long history behind it, as a busy evening leaves it.
void BM_PinAndMoveLabel(benchmark::State& state) {
    TMapDocument doc;
    doc.New("", 16);
    doc.EditKey("Key", [](TMapKey& k) { k = BigKey(998); });
    for (int i = 0; i < 200; ++i) doc.Edit("Draw", [i](TMapRecord& m) { m.Cell(i % 72 + 1, 40).Upper = uint8_t(i); });
    int n = 0;
    for (auto _ : state) {
        const int col = 10 + n % 50, row = 60 + n % 10;
        UseLabelTool(doc, col, row, col, row);         // pins 999
        UseLabelTool(doc, col, row, col + 1, row + 1); // moves it
        DeleteLabel(doc, 999);                         // and takes it away again
        ++n;
    }
    state.counters["steps"] = doc.History().Count();
}
BENCHMARK(BM_PinAndMoveLabel)->Unit(benchmark::kMicrosecond);

void BM_KeyPages200ToPdf(benchmark::State& state) {
    QTemporaryDir dir;
    TQtPrinter qt;
    qmtest::TScriptedDialogs dialogs;
    SetPrinter(&qt);
    SetDialogs(&dialogs);
    static TMapRecord map{};
    ClearMapRecord(map);
    map.Cell(1, 1).Lower = 1;
    const TMapKey key = BigKey(200);
    int pages = 0;
    TMapPageHandler handler([&] {
        TMapPrintSource s;
        s.Map = &map;
        s.MapFileName = "bench.map";
        s.Key = &key;
        s.Settings.KeyPages = true;
        s.Settings.DrawnPart = true;
        return s;
    });
    TPrintPreview preview;
    handler.Bind(preview);
    preview.OnPrintPage = [&, inner = preview.OnPrintPage](std::unique_ptr<TPageInfo>& i, TSpecialCanvas& c) {
        inner(i, c);
        pages = i->PageNumber;
    };
    const QString pdf = dir.filePath("key.pdf");
    qt.SetPdfFile(pdf);
    for (auto _ : state) preview.PrintDocument();
    state.counters["pages"] = pages;
    state.counters["KB"] = QFileInfo(pdf).size() / 1024.0;
    SetPrinter(nullptr);
    SetDialogs(nullptr);
}
BENCHMARK(BM_KeyPages200ToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
