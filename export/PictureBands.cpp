#include "export/PictureBands.h"

#include <QPainter>
#include <stdexcept>

namespace qm {

namespace {

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
    for (int done = 0; done < bands; ++done) {
        const int index = order == TBandOrder::BottomUp ? bands - 1 - done : done;
        use(FetchBand(src, index), index);
        if (progress && !progress(done + 1, bands)) throw TExportCancelled();
    }
}

void DrawBandsInto(QImage& picture, const TPictureSource& src, const TProgressFn& progress) {
    QPainter p(&picture);
    ForEachBand(
        src, [&](const QImage& band, int index) { p.drawImage(0, index * src.BandHeight, band); }, progress);
}

} // namespace qm
