#pragma once
// Set-up shared by the benchmark programs.
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "model/MapRecord.h"

namespace qmbench {

// A full map: floor background, ground everywhere, objects and terrain on most cells.
inline qm::TMapRecord FullSampleMap(int zoom) {
    qm::TMapRecord m;
    qm::ClearMapRecord(m);
    m.Background = 11;
    m.Zoom = uint8_t(zoom);
    for (int x = 1; x <= qm::MapSize; ++x)
        for (int y = 1; y <= qm::MapSize; ++y) {
            auto& c = m.Cell(x, y);
            c.Lower = uint8_t(16 + (x / 5 + y / 7) % 6);
            const int k = (x * 7 + y * 13) % 11;
            if (k > 3) c.Upper = uint8_t(128 + (x * y + k) % 128);
            else if (k > 1) c.Upper = uint8_t(26 + k);
        }
    return m;
}

// Times painting page 1 of a begun preview window on a 773 x 1000 paint box.
template <class Form> void TimePreviewPage(benchmark::State& state, Form& form) {
    form.PB1->resize(773, 1000);
    QImage target(773, 1000, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        target.fill(Qt::white);
        QPainter p(&target);
        int page = 1;
        form.PaintPage(page, form.PB1, p);
        p.end();
        benchmark::DoNotOptimize(target.bits());
    }
}

} // namespace qmbench
