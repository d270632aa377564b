// 24-bit BMP, rows stored bottom-up and padded to four bytes. The bands are asked for
// last to first, so the file is written front to back without seeking and still
// holds only one band at a time.
#include <QImage>

#include "export/PictureBands.h"
#include "export/PictureWriters.h"
#include "export/WriterSupport.h"

namespace qm {

void WriteBmp(TAtomicFile& out, const TPictureSource& src, const TProgressFn& progress) {
    using namespace detail;
    const uint32_t rowSize = (uint32_t(src.Width) * 3 + 3) / 4 * 4;
    const uint32_t imageSize = rowSize * uint32_t(src.Height);

    std::vector<uint8_t> head;
    head.push_back('B');
    head.push_back('M');
    PutLE32(head, 54 + imageSize); // file size
    PutLE32(head, 0);              // reserved
    PutLE32(head, 54);             // offset of the pixels
    PutLE32(head, 40);             // BITMAPINFOHEADER
    PutLE32(head, uint32_t(src.Width));
    PutLE32(head, uint32_t(src.Height)); // positive: bottom-up
    PutLE16(head, 1);                    // planes
    PutLE16(head, 24);                   // bits per pixel
    PutLE32(head, 0);                    // BI_RGB
    PutLE32(head, imageSize);
    PutLE32(head, 3780); // 96 dpi
    PutLE32(head, 3780);
    PutLE32(head, 0);
    PutLE32(head, 0);

    TBufferedOut buf(out);
    buf.Put(head.data(), head.size());

    std::vector<uint8_t> row(rowSize, 0);
    ForEachBand(
        src,
        [&](const QImage& band, int) {
            for (int y = band.height() - 1; y >= 0; --y) {
                const auto* px = reinterpret_cast<const QRgb*>(band.constScanLine(y));
                uint8_t* d = row.data();
                for (int x = 0; x < src.Width; ++x, d += 3) {
                    d[0] = uint8_t(qBlue(px[x]));
                    d[1] = uint8_t(qGreen(px[x]));
                    d[2] = uint8_t(qRed(px[x]));
                }
                buf.Put(row.data(), rowSize);
            }
        },
        progress, TBandOrder::BottomUp);
    buf.Flush();
}

} // namespace qm
