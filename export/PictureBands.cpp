#include "export/PictureBands.h"

#include <QPainter>
#include <algorithm>
#include <stdexcept>

#include "export/Workers.h"

namespace qm {

namespace {

// Bands drawn ahead of the one in use are held here at most: a few cell rows at the
// usual sizes, none at all where a single band is larger.
constexpr size_t AheadBytes = size_t(64) << 20;

QImage FetchBand(const TPictureSource& src, int index) {
    const int top = index * src.BandHeight;
    const int rows = src.Height - top < src.BandHeight ? src.Height - top : src.BandHeight;
    QImage band = src.Band(top, rows);
    if (band.width() != src.Width || band.height() != rows) throw std::logic_error("picture band of the wrong size");
    if (band.format() != QImage::Format_RGB32) band = band.convertToFormat(QImage::Format_RGB32);
    return band;
}

} // namespace

void ForEachBand(const TPictureSource& src, const std::function<void(const QImage& band, int index)>& use,
                 const TProgressFn& progress, TBandOrder order) {
    const int bands = src.BandCount();
    const auto indexAt = [&](int done) { return order == TBandOrder::BottomUp ? bands - 1 - done : done; };
    size_t ahead = 0;
    if (src.ConcurrentBands && bands > 1) {
        const size_t bandBytes = std::max<size_t>(1, size_t(src.Width) * size_t(src.BandHeight) * 4);
        ahead = std::min<size_t>(WorkerCount(), AheadBytes / bandBytes);
    }
    TJobQueue<QImage> drawing(TJobKind::Feeds);
    int asked = 0;
    for (int done = 0; done < bands; ++done) {
        const int index = indexAt(done);
        if (ahead == 0) {
            use(FetchBand(src, index), index);
        } else {
            for (; asked < bands && size_t(asked) <= size_t(done) + ahead; ++asked)
                drawing.Push([&src, i = indexAt(asked)] { return FetchBand(src, i); });
            use(drawing.Pop(), index);
        }
        if (progress && !progress(done + 1, bands)) throw TExportCancelled();
    }
}

void DrawBandsInto(QImage& picture, const TPictureSource& src, const TProgressFn& progress) {
    QPainter p(&picture);
    ForEachBand(
        src, [&](const QImage& band, int index) { p.drawImage(0, index * src.BandHeight, band); }, progress);
}

} // namespace qm
