// PNG: signature, IHDR, IDAT chunks as the deflate stream fills its buffer, IEND.
// Colour type 2 (RGB), 8 bits, no interlace; each row gets the filter that makes
// its bytes smallest, the usual heuristic that keeps maps with flat colour small.
#include <QImage>
#include <cstdlib>
#include <zlib.h>

#include "PictureWriters.h"
#include "WriterSupport.h"

namespace qm {

namespace {

using detail::PutBE32;

void WriteChunk(const TByteSink& out, const char type[4], const uint8_t* data, uint32_t size) {
    std::vector<uint8_t> head;
    PutBE32(head, size);
    head.insert(head.end(), type, type + 4);
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type), 4);
    // crc32 takes a uInt length; chunks here are far below that.
    if (size > 0) crc = crc32(crc, data, size);
    std::vector<uint8_t> tail;
    PutBE32(tail, uint32_t(crc));
    out(head.data(), head.size());
    if (size > 0) out(data, size);
    out(tail.data(), tail.size());
}

// Compression level of a fast write.
constexpr int FastLevel = 3;

inline uint8_t Paeth(int a, int b, int c) {
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return uint8_t(a);
    if (pb <= pc) return uint8_t(b);
    return uint8_t(c);
}

// Filtered byte i of the row under filter type k.
inline uint8_t Filtered(int k, const uint8_t* cur, const uint8_t* prev, size_t i) {
    constexpr size_t bpp = 3;
    const int x = cur[i];
    const int a = i >= bpp ? cur[i - bpp] : 0;
    const int b = prev[i];
    const int c = i >= bpp ? prev[i - bpp] : 0;
    switch (k) {
    case 1: return uint8_t(x - a);
    case 2: return uint8_t(x - b);
    case 3: return uint8_t(x - ((a + b) >> 1));
    case 4: return uint8_t(x - Paeth(a, b, c));
    default: return uint8_t(x);
    }
}

// Fills out[0] with the filter type and out[1..] with the filtered row: first the
// cost of every filter (sum of the bytes taken as signed), then the cheapest one.
void FilterRow(const uint8_t* cur, const uint8_t* prev, size_t n, std::vector<uint8_t>& out, bool fixedPaeth) {
    constexpr size_t bpp = 3;
    if (fixedPaeth) { // one pass instead of six, for a file a fraction of a percent larger
        out[0] = 4;
        for (size_t i = 0; i < n; ++i) {
            const int a = i >= bpp ? cur[i - bpp] : 0, c = i >= bpp ? prev[i - bpp] : 0;
            out[i + 1] = uint8_t(cur[i] - Paeth(a, prev[i], c));
        }
        return;
    }
    uint64_t cost[5] = {};
    for (size_t i = 0; i < n; ++i) {
        const int x = cur[i];
        const int a = i >= bpp ? cur[i - bpp] : 0;
        const int b = prev[i];
        const int c = i >= bpp ? prev[i - bpp] : 0;
        cost[0] += uint64_t(std::abs(int(int8_t(uint8_t(x)))));
        cost[1] += uint64_t(std::abs(int(int8_t(uint8_t(x - a)))));
        cost[2] += uint64_t(std::abs(int(int8_t(uint8_t(x - b)))));
        cost[3] += uint64_t(std::abs(int(int8_t(uint8_t(x - ((a + b) >> 1))))));
        cost[4] += uint64_t(std::abs(int(int8_t(uint8_t(x - Paeth(a, b, c))))));
    }
    int best = 0;
    for (int k = 1; k < 5; ++k)
        if (cost[k] < cost[best]) best = k;
    out[0] = uint8_t(best);
    for (size_t i = 0; i < n; ++i) out[i + 1] = Filtered(best, cur, prev, i);
}

// Level 4 with the strategy meant for filtered rows: a whole map at the largest zoom
// in about half the time of the default level, for a file a few percent larger.
class TDeflater {
public:
    TDeflater(const TByteSink& out, const std::string& path, int level = 4) : out_(out), buf_(1 << 16) {
        z_.zalloc = Z_NULL;
        z_.zfree = Z_NULL;
        z_.opaque = Z_NULL;
        if (deflateInit2(&z_, level, Z_DEFLATED, 15, 8, Z_FILTERED) != Z_OK)
            throw TFileError(CannotCreateMessage(path, "Not enough memory for compression."));
    }
    ~TDeflater() { deflateEnd(&z_); }
    TDeflater(const TDeflater&) = delete;
    TDeflater& operator=(const TDeflater&) = delete;

    void Feed(const uint8_t* data, size_t n, int flush) {
        z_.next_in = const_cast<Bytef*>(data);
        z_.avail_in = uInt(n);
        for (;;) {
            z_.next_out = buf_.data() + used_;
            z_.avail_out = uInt(buf_.size() - used_);
            int rc = deflate(&z_, flush);
            if (rc == Z_STREAM_ERROR) throw std::logic_error("deflate stream error");
            used_ = buf_.size() - z_.avail_out;
            if (used_ == buf_.size()) {
                WriteChunk(out_, "IDAT", buf_.data(), uint32_t(used_));
                used_ = 0;
                continue;
            }
            if (flush == Z_FINISH ? rc == Z_STREAM_END : z_.avail_in == 0) break;
        }
        if (flush == Z_FINISH && used_ > 0) {
            WriteChunk(out_, "IDAT", buf_.data(), uint32_t(used_));
            used_ = 0;
        }
    }

private:
    const TByteSink& out_;
    z_stream z_{};
    std::vector<uint8_t> buf_;
    size_t used_ = 0;
};

} // namespace

void WritePng(TAtomicFile& file, const TPictureSource& src, const TProgressFn& progress) {
    WritePng([&file](const void* data, size_t n) { file.Write(data, n); }, file.Path(), src, progress);
}

void WritePng(const TByteSink& out, const std::string& path, const TPictureSource& src, const TProgressFn& progress,
              bool fast) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    out(signature, sizeof signature);

    std::vector<uint8_t> ihdr;
    PutBE32(ihdr, uint32_t(src.Width));
    PutBE32(ihdr, uint32_t(src.Height));
    ihdr.push_back(8); // bit depth
    ihdr.push_back(2); // colour type: RGB
    ihdr.push_back(0); // deflate
    ihdr.push_back(0); // adaptive filtering
    ihdr.push_back(0); // no interlace
    WriteChunk(out, "IHDR", ihdr.data(), uint32_t(ihdr.size()));

    const size_t n = size_t(src.Width) * 3;
    std::vector<uint8_t> cur(n), prev(n, 0), filtered(n + 1);

    TDeflater z(out, path, fast ? FastLevel : 4);
    const int bands = src.BandCount();
    for (int index = 0; index < bands; ++index) {
        const QImage band = detail::FetchBand(src, index);
        for (int y = 0; y < band.height(); ++y) {
            const auto* px = reinterpret_cast<const QRgb*>(band.constScanLine(y));
            uint8_t* d = cur.data();
            for (int x = 0; x < src.Width; ++x, d += 3) {
                d[0] = uint8_t(qRed(px[x]));
                d[1] = uint8_t(qGreen(px[x]));
                d[2] = uint8_t(qBlue(px[x]));
            }
            FilterRow(cur.data(), prev.data(), n, filtered, fast);
            z.Feed(filtered.data(), filtered.size(), Z_NO_FLUSH);
            cur.swap(prev);
        }
        detail::Report(progress, index + 1, bands);
    }
    z.Feed(nullptr, 0, Z_FINISH);
    WriteChunk(out, "IEND", nullptr, 0);
}

} // namespace qm
