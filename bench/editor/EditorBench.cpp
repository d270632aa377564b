// Repainting the map grid and the symbol column as the user sees them, one stamp,
// whole-map Copy, Paste and Undo, and the Room, Door, Fill and smart erase tools.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <memory>
#include <random>

#include "compose/CellCache.h"
#include "compose/CellPainters.h"
#include "editor/Clipboard.h"
#include "editor/DoorTool.h"
#include "editor/DrawGrid.h"
#include "editor/FillTool.h"
#include "editor/MapEdit.h"
#include "editor/RoomTool.h"
#include "editor/SmartErase.h"
#include "editor/SmartTerrain.h"

using namespace qm;

namespace {

// 256 symbols of 48 px with some detail, white made transparent as a rendering does.
TRenderedTileset& Tileset() {
    static TRenderedTileset ts = [] {
        TRenderedTileset t;
        t.TileSize = 48;
        t.Generation = 1;
        for (int s = 0; s < 256; ++s) {
            QImage im(48, 48, QImage::Format_ARGB32_Premultiplied);
            im.fill(Qt::white);
            QPainter p(&im);
            p.setRenderHint(QPainter::Antialiasing);
            p.setBrush(QColor::fromHsv((s * 47) % 360, 160, 200));
            p.setPen(QPen(Qt::black, 2));
            if (s % 3 == 0) p.drawRect(2, 2, 44, 44);
            else p.drawEllipse(4 + s % 8, 4, 36, 36 - s % 8);
            p.end();
            if (s > 0)
                for (int y = 0; y < 48; ++y)
                    for (int x = 0; x < 48; ++x)
                        if (im.pixel(x, y) == 0xffffffffu) im.setPixel(x, y, 0);
            t.DesktopPalette[s] = im;
        }
        t.HiddenFlags[35] = 1;
        return t;
    }();
    return ts;
}

// Background, lower and upper in every cell, a few hundred distinct combinations.
std::unique_ptr<TMapRecord> EmptyMap() {
    auto m = std::make_unique<TMapRecord>();
    ClearMapRecord(*m);
    return m;
}

std::unique_ptr<TMapRecord> FullMap() {
    auto m = std::make_unique<TMapRecord>();
    ClearMapRecord(*m);
    m->Background = 11;
    std::mt19937 rng(42);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            m->Cell(x, y) = TMapCell{uint8_t(20 + rng() % 20), uint8_t(60 + rng() % 10), uint8_t(rng())};
    return m;
}

struct GridSetup {
    std::unique_ptr<TMapRecord> map = FullMap();
    QImage cellBitmap;
    TCellCache cache;
    TDrawGrid grid;
    int painted = 0;

    GridSetup(int cols, int rows, int cell, int line, QSize viewport) {
        grid.SetColCount(cols);
        grid.SetRowCount(rows);
        grid.SetCellSize(cell, cell);
        grid.SetGridLineWidth(line);
        grid.SetRangeSelect(cols > 1);
        grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid.setFrameShape(QFrame::NoFrame);
        grid.resize(viewport);
        grid.show();
        QApplication::processEvents();
    }
};

// Frames of a 1920 x 1080 map grid viewport at zoom z, cache warm (the steady state
// while the user draws) or cold (first frame after a zoom or a new tileset).
void BM_MapGridFrame(benchmark::State& state) {
    const int zoom = int(state.range(0));
    const bool cold = state.range(1) != 0;
    GridSetup g(72, 72, zoom, 0, QSize(1920, 1080));
    g.grid.SetSelection(TGridRect{10, 10, 20, 14});
    g.grid.SetDrawCell([&](QPainter& p, int c, int r, const QRect& rect, bool sel) {
        ++g.painted;
        DrawMapGridCell(p, c, r, rect, sel, *g.map, Tileset(), g.cellBitmap, &g.cache);
    });
    g.grid.viewport()->repaint();
    for (auto _ : state) {
        if (cold) g.cache.Clear();
        g.painted = 0;
        g.grid.viewport()->repaint();
    }
    if (g.painted == 0) state.SkipWithError("the viewport was not painted");
    state.counters["cells"] = g.painted;
}
BENCHMARK(BM_MapGridFrame)->ArgsProduct({{16, 48, 96}, {0}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapGridFrame)->ArgsProduct({{16, 48, 96}, {1}})->Unit(benchmark::kMillisecond);

// The symbol column's visible rows (50 px rows, 1 px lines, 1080 px high).
void BM_SymbolColumnFrame(benchmark::State& state) {
    GridSetup g(1, 256, 50, 1, QSize(82, 1080));
    g.grid.verticalScrollBar()->setValue(51 * 100);
    g.grid.SetSelection(TGridRect{0, 105, 0, 105});
    g.grid.SetDrawCell([&](QPainter& p, int, int r, const QRect& rect, bool sel) {
        ++g.painted;
        DrawSymbolCell(p, r, rect, sel, Tileset(), g.cellBitmap, &g.cache);
    });
    g.grid.viewport()->repaint();
    for (auto _ : state) {
        g.painted = 0;
        g.grid.viewport()->repaint();
    }
    if (g.painted == 0) state.SkipWithError("the viewport was not painted");
    state.counters["cells"] = g.painted;
}
BENCHMARK(BM_SymbolColumnFrame)->Unit(benchmark::kMillisecond);

void BM_Stamp(benchmark::State& state) {
    auto map = FullMap();
    int i = 0;
    for (auto _ : state) {
        StampSmartTerrain(*map, 2 + (i * 7) % 70, 2 + (i * 11) % 70, 128 + 16 * (i % 8), TLayerMode(i % 3));
        ++i;
        benchmark::DoNotOptimize(map.get());
    }
}
BENCHMARK(BM_Stamp)->Unit(benchmark::kMicrosecond);

void BM_WholeMapCopy(benchmark::State& state) {
    auto map = FullMap();
    auto clip = std::make_unique<TMapClipboard>();
    for (auto _ : state) {
        CopySelection(*map, *clip, TGridRect{0, 0, 71, 71}, lmAuto);
        benchmark::DoNotOptimize(clip.get());
    }
}
BENCHMARK(BM_WholeMapCopy)->Unit(benchmark::kMicrosecond);

void BM_WholeMapPaste(benchmark::State& state) {
    auto map = FullMap();
    auto clip = std::make_unique<TMapClipboard>();
    CopySelection(*map, *clip, TGridRect{0, 0, 71, 71}, lmUpper);
    for (auto _ : state) {
        PasteClipboard(*map, *clip, TGridRect{0, 0, 0, 0}, lmLower);
        benchmark::DoNotOptimize(map.get());
    }
}
BENCHMARK(BM_WholeMapPaste)->Unit(benchmark::kMicrosecond);

void BM_Undo(benchmark::State& state) {
    auto map = FullMap(), undo = FullMap();
    for (auto _ : state) {
        UndoExchange(*map, *undo);
        benchmark::DoNotOptimize(map.get());
    }
}
BENCHMARK(BM_Undo)->Unit(benchmark::kMicrosecond);

// The drawing tools on the whole 72 x 72 map, each use on a fresh copy of its map (the
// copy, about a microsecond, is inside the time). Target: under 5 ms a use.
const SymbolTable& Roles() {
    static const SymbolTable t = BuiltInSymbolTable();
    return t;
}
constexpr TGridRect WholeMap{0, 0, MapSize - 1, MapSize - 1};

void BM_RoomWholeMap(benchmark::State& state) {
    const auto start = FullMap();
    TMapRecord map;
    for (auto _ : state) {
        map = *start;
        benchmark::DoNotOptimize(DrawRoom(map, WholeMap, 10, false, lmAuto, TLayerFlags{}, Roles()));
    }
}
BENCHMARK(BM_RoomWholeMap)->Unit(benchmark::kMillisecond);

void BM_DoorInWholeMapRoom(benchmark::State& state) {
    auto start = EmptyMap();
    DrawRoom(*start, WholeMap, 10, false, lmAuto, TLayerFlags{}, Roles());
    DrawRoom(*start, {20, 20, 50, 50}, 10, false, lmAuto, TLayerFlags{}, Roles());
    TMapRecord map;
    for (auto _ : state) {
        map = *start;
        benchmark::DoNotOptimize(PlaceDoor(map, 35, 21, Roles()));
    }
}
BENCHMARK(BM_DoorInWholeMapRoom)->Unit(benchmark::kMillisecond);

void BM_FillWholeEmptyMap(benchmark::State& state) {
    const auto start = EmptyMap();
    TMapRecord map;
    for (auto _ : state) {
        map = *start;
        benchmark::DoNotOptimize(FillFrom(map, 36, 36, WholeMap, 17, lmAuto, TLayerFlags{}, Roles()));
    }
}
BENCHMARK(BM_FillWholeEmptyMap)->Unit(benchmark::kMillisecond);

void BM_SmartEraseWholeMap(benchmark::State& state) {
    auto start = EmptyMap();
    SmartTerrainAlongCommand(*start, WholeMap, 128, lmAuto);
    TMapRecord map;
    for (auto _ : state) {
        map = *start;
        benchmark::DoNotOptimize(SmartEraseTerrain(map, WholeMap, 128, lmAuto));
    }
}
BENCHMARK(BM_SmartEraseWholeMap)->Unit(benchmark::kMillisecond);

} // namespace
