// PNG: signature, IHDR, IDAT chunks as the deflate stream fills its buffer, IEND.
// Colour type 2 (RGB), 8 bits, no interlace; every row is Paeth-filtered: on maps
// about one percent larger than choosing a filter per row, in one straight pass.
//
// The filtered rows are cut into segments of about half a megabyte at whole rows, and
// the segments are deflated on worker threads while the next bands are composed.
// Each segment is a raw deflate stream primed with the last 32 KB of the segment
// before it and ends on a sync flush (the last one on the final block), so the
// pieces join into one zlib stream. Where the cuts fall depends on the picture
// alone, never on timing: the file is the same, byte for byte, on any machine.
//
// Maps drawn above the tile size repeat whole pixel rows, and a repeated row filters
// to zeros. Hashing every byte of those rows into the match finder is most of what a
// lazy deflate level spends on a map, so the segments use greedy matching that keeps
// every string of a changing row but only the tail of a zero row: half the time of
// level 4, in a file of about the same size.
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <zlib.h>

#include "export/PictureBands.h"
#include "export/PictureWriters.h"
#include "export/Workers.h"
#include "export/WriterSupport.h"

namespace qm {

namespace {

using detail::PutBE32;

// Greedy matching (levels 1 to 3 share it; the tuning below replaces their table).
constexpr int Level = 3;
constexpr int GoodLength = 4, NiceLength = 258, MaxChain = 16;
// A zero row keeps only its last bytes in the match finder: enough for the next row to
// find runs of zeros close by.
constexpr size_t ZeroRowTail = 8192;
constexpr size_t SegmentBytes = size_t(1) << 19;
constexpr size_t Window = size_t(1) << 15;
constexpr size_t IdatBytes = size_t(1) << 16;
constexpr uInt MaxMatch = 258;

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

// The Paeth-filtered row: out[0] = 4, out[1..n] = cur - predictor. Written without
// branches on 16-bit lanes so the compiler can vectorise it.
void PaethRow(const uint8_t* cur, const uint8_t* prev, size_t n, uint8_t* out) {
    constexpr size_t bpp = 3;
    out[0] = 4;
    uint8_t* f = out + 1;
    // Left of the first pixel a and c are 0, and the predictor is the byte above.
    for (size_t i = 0; i < bpp && i < n; ++i) f[i] = uint8_t(cur[i] - prev[i]);
    for (size_t i = bpp; i < n; ++i) {
        const int16_t a = cur[i - bpp], b = prev[i], c = prev[i - bpp];
        const int16_t pa = int16_t(std::abs(b - c));
        const int16_t pb = int16_t(std::abs(a - c));
        const int16_t pc = int16_t(std::abs(a + b - 2 * c));
        const int16_t bc = pb <= pc ? b : c;
        const int16_t pred = (pa <= pb && pa <= pc) ? a : bc;
        f[i] = uint8_t(cur[i] - pred);
    }
}

// Whole filtered rows of one width. A row equal to the one above filters to its filter
// byte and zeros; such a row is only marked, not stored.
struct TRows {
    std::vector<uint8_t> bytes;  // the other rows, one after another
    std::vector<uint8_t> repeat; // a flag for every row, in order
    size_t Length(size_t rowBytes) const { return repeat.size() * rowBytes; }
    void Clear() {
        bytes.clear();
        repeat.clear();
    }
};

// The last `count` bytes of the rows as the stream sees them.
std::vector<uint8_t> RowsTail(const TRows& rows, size_t rowBytes, size_t count) {
    size_t first = rows.repeat.size(), taken = 0, stored = 0;
    while (first > 0 && taken < count) {
        --first;
        taken += rowBytes;
        if (!rows.repeat[first]) stored += rowBytes;
    }
    std::vector<uint8_t> out;
    out.reserve(taken);
    const uint8_t* p = rows.bytes.data() + rows.bytes.size() - stored;
    for (size_t r = first; r < rows.repeat.size(); ++r) {
        if (rows.repeat[r]) {
            out.push_back(4);
            out.resize(out.size() + rowBytes - 1, 0);
        } else {
            out.insert(out.end(), p, p + rowBytes);
            p += rowBytes;
        }
    }
    out.erase(out.begin(), out.end() - std::ptrdiff_t(std::min(count, out.size())));
    return out;
}

struct TSegment {
    TRows spent; // the input, handed back for the next segment to fill
    std::vector<uint8_t> data;
    uLong adler = 1;
    bool noMemory = false;
};

// Adler-32 of the filter byte followed by n - 1 zeros: the sum A stays, B adds A each byte.
uLong ZeroRowAdler(uint8_t filter, size_t n) {
    constexpr uLong Base = 65521;
    const uLong a = (1 + filter) % Base;
    return (a * (n % Base)) % Base << 16 | a;
}

// Each worker keeps its deflate state from one segment to the next: a reset is the
// same stream as a new one, without allocating and touching its tables again.
struct TWorkerStream {
    z_stream z{};
    bool ready = false;
    ~TWorkerStream() {
        if (ready) deflateEnd(&z);
    }
};

z_stream* FreshStream() {
    thread_local TWorkerStream s;
    if (s.ready) return deflateReset(&s.z) == Z_OK ? &s.z : nullptr;
    if (deflateInit2(&s.z, Level, Z_DEFLATED, -15, 8, Z_FILTERED) != Z_OK) return nullptr;
    s.ready = true;
    return &s.z;
}

// Deflates one segment of whole filtered rows of `rowBytes`: raw deflate primed with
// `dictionary`, ending on a sync flush, or on the final block when `last`.
TSegment DeflateSegment(TRows input, size_t rowBytes, const std::vector<uint8_t>& dictionary, bool last) {
    TSegment s;
    // A repeated row as the stream reads it.
    thread_local std::vector<uint8_t> zeroRow;
    if (zeroRow.size() != rowBytes) zeroRow.assign(rowBytes, 0);
    zeroRow[0] = 4;
    z_stream* stream = FreshStream();
    if (!stream) {
        s.noMemory = true;
        return s;
    }
    z_stream& z = *stream;
    if (!dictionary.empty() && deflateSetDictionary(&z, dictionary.data(), uInt(dictionary.size())) != Z_OK)
        throw std::logic_error("deflate dictionary refused");
    // Maps pack well: start small, so the pieces in flight stay a few MB in all.
    s.data.resize(input.Length(rowBytes) / 8 + 4096);
    size_t used = 0;
    // Feeds n bytes; the last call flushes. Done when all input is in and the flush has
    // room left over behind it.
    const auto feed = [&](const uint8_t* p, size_t n, int flush) {
        z.next_in = const_cast<Bytef*>(p);
        z.avail_in = uInt(n);
        for (;;) {
            z.next_out = s.data.data() + used;
            z.avail_out = uInt(s.data.size() - used);
            const int rc = deflate(&z, flush);
            if (rc == Z_STREAM_ERROR) throw std::logic_error("deflate stream error");
            used = s.data.size() - z.avail_out;
            if (flush == Z_FINISH ? rc == Z_STREAM_END : z.avail_in == 0 && z.avail_out > 0) break;
            s.data.resize(s.data.size() * 2);
        }
    };
    // Tuning changes only which matches the encoder looks for, never what the stream
    // means; it takes effect from the bytes not yet consumed.
    const auto keepStrings = [&](bool keep) { deflateTune(&z, GoodLength, keep ? MaxMatch : 0, NiceLength, MaxChain); };
    bool keeping = true;
    keepStrings(true);
    const uint8_t* p = input.bytes.data();
    const size_t n = rowBytes;
    for (const uint8_t repeat : input.repeat) {
        const bool zero = repeat && n > ZeroRowTail;
        const uint8_t* row = repeat ? zeroRow.data() : p;
        if (!repeat) p += n;
        s.adler = repeat ? adler32_combine(s.adler, ZeroRowAdler(4, n), z_off_t(n)) : adler32(s.adler, row, uInt(n));
        if (zero) {
            if (keeping) keepStrings(keeping = false);
            feed(row, n - ZeroRowTail, Z_NO_FLUSH);
        }
        if (!keeping) keepStrings(keeping = true);
        const size_t rest = zero ? ZeroRowTail : n;
        feed(row + n - rest, rest, Z_NO_FLUSH);
    }
    feed(nullptr, 0, last ? Z_FINISH : Z_SYNC_FLUSH);
    s.data.resize(used);
    s.spent = std::move(input);
    return s;
}

// The zlib stream in IDAT chunks: header, the segments in order as they finish,
// Adler-32 of everything. At most `inFlight` segments are compressing at a time.
class TParallelDeflater {
public:
    TParallelDeflater(const TByteSink& out, const std::string& path, size_t rowBytes, size_t inFlight)
        : out_(out), path_(path), rowBytes_(rowBytes), inFlight_(std::max<size_t>(1, inFlight)) {
        // CMF: deflate, 32 KB window; FLG: the "fast" level class, check bits.
        unsigned header = 0x7800 | 1u << 6;
        header += 31 - header % 31;
        Put(uint8_t(header >> 8));
        Put(uint8_t(header));
        idat_.reserve(IdatBytes);
    }

    // Hands one filtered segment over; writes whatever has finished in order.
    void Add(TRows segment, bool last) {
        std::vector<uint8_t> dictionary = std::move(window_);
        window_ = RowsTail(segment, rowBytes_, Window);
        const size_t keep = window_.size();
        if (keep < Window && !dictionary.empty()) {
            // A segment shorter than the window: the older bytes still count.
            const size_t older = std::min(Window - keep, dictionary.size());
            window_.insert(window_.begin(), dictionary.end() - std::ptrdiff_t(older), dictionary.end());
        }
        pending_.Push([in = std::move(segment), rowBytes = rowBytes_, dictionary = std::move(dictionary),
                       last]() mutable { return DeflateSegment(std::move(in), rowBytes, dictionary, last); });
        while (pending_.Size() >= inFlight_ || (!pending_.Empty() && pending_.FrontReady())) WriteOldest();
    }

    // An empty buffer for the next segment, one that a finished segment gave back where
    // there is one.
    TRows Spare() {
        if (spares_.empty()) return {};
        TRows b = std::move(spares_.back());
        spares_.pop_back();
        b.Clear();
        return b;
    }

    void Finish() {
        while (!pending_.Empty()) WriteOldest();
        Put(uint8_t(adler_ >> 24));
        Put(uint8_t(adler_ >> 16));
        Put(uint8_t(adler_ >> 8));
        Put(uint8_t(adler_));
        if (!idat_.empty()) WriteChunk(out_, "IDAT", idat_.data(), uint32_t(idat_.size()));
        idat_.clear();
    }

private:
    void WriteOldest() {
        TSegment s = pending_.Pop();
        if (s.noMemory) throw TFileError(CannotCreateMessage(path_, "Not enough memory for compression."));
        adler_ = adler32_combine(adler_, s.adler, z_off_t(s.spent.Length(rowBytes_)));
        spares_.push_back(std::move(s.spent));
        for (size_t at = 0; at < s.data.size();) {
            const size_t n = std::min(IdatBytes - idat_.size(), s.data.size() - at);
            idat_.insert(idat_.end(), s.data.begin() + std::ptrdiff_t(at), s.data.begin() + std::ptrdiff_t(at + n));
            at += n;
            if (idat_.size() == IdatBytes) {
                WriteChunk(out_, "IDAT", idat_.data(), uint32_t(idat_.size()));
                idat_.clear();
            }
        }
    }
    void Put(uint8_t b) {
        idat_.push_back(b);
        if (idat_.size() == IdatBytes) {
            WriteChunk(out_, "IDAT", idat_.data(), uint32_t(idat_.size()));
            idat_.clear();
        }
    }

    const TByteSink& out_;
    const std::string path_;
    const size_t rowBytes_;
    const size_t inFlight_;
    std::vector<uint8_t> window_;
    std::vector<uint8_t> idat_;
    std::vector<TRows> spares_;
    uLong adler_ = 1;
    // Destroyed before the members above: an unfinished export waits for its workers.
    TJobQueue<TSegment> pending_;
};

} // namespace

void WritePng(TAtomicFile& file, const TPictureSource& src, const TProgressFn& progress) {
    WritePng([&file](const void* data, size_t n) { file.Write(data, n); }, file.Path(), src, progress);
}

void WritePng(const TByteSink& out, const std::string& path, const TPictureSource& src, const TProgressFn& progress) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    out(signature, sizeof signature);

    std::vector<uint8_t> ihdr;
    PutBE32(ihdr, uint32_t(src.Width));
    PutBE32(ihdr, uint32_t(src.Height));
    ihdr.push_back(8); // bit depth
    ihdr.push_back(2); // colour type: RGB
    ihdr.push_back(0); // deflate
    ihdr.push_back(0); // filter method 0 (the five row filters)
    ihdr.push_back(0); // no interlace
    WriteChunk(out, "IHDR", ihdr.data(), uint32_t(ihdr.size()));

    const size_t n = size_t(src.Width) * 3;
    const size_t rowBytes = n + 1;
    const size_t rowsPerSegment = std::max<size_t>(1, SegmentBytes / rowBytes);
    std::vector<uint8_t> cur(n), prev(n, 0);
    TRows segment;
    // The band before, for its last row: a repeated row is spotted across bands too.
    QImage before;

    // Every worker busy and two more segments queued, while this thread filters.
    TParallelDeflater z(out, path, rowBytes, WorkerCount() + 2);
    int row = 0;
    ForEachBand(
        src,
        [&](const QImage& band, int) {
            for (int y = 0; y < band.height(); ++y, ++row) {
                const auto* px = reinterpret_cast<const QRgb*>(band.constScanLine(y));
                const QRgb* above = nullptr;
                if (y > 0) above = reinterpret_cast<const QRgb*>(band.constScanLine(y - 1));
                else if (row > 0) above = reinterpret_cast<const QRgb*>(before.constScanLine(before.height() - 1));
                const bool repeat = above && std::memcmp(px, above, size_t(src.Width) * sizeof(QRgb)) == 0;
                segment.repeat.push_back(repeat);
                if (!repeat) {
                    if (segment.bytes.capacity() == 0) segment.bytes.reserve(rowsPerSegment * rowBytes);
                    segment.bytes.resize(segment.bytes.size() + rowBytes);
                    uint8_t* filtered = segment.bytes.data() + segment.bytes.size() - rowBytes;
                    uint8_t* d = cur.data();
                    for (int x = 0; x < src.Width; ++x, d += 3) {
                        d[0] = uint8_t(qRed(px[x]));
                        d[1] = uint8_t(qGreen(px[x]));
                        d[2] = uint8_t(qBlue(px[x]));
                    }
                    PaethRow(cur.data(), prev.data(), n, filtered);
                    cur.swap(prev);
                }
                const bool last = row + 1 == src.Height;
                if (last || segment.repeat.size() >= rowsPerSegment) {
                    z.Add(std::move(segment), last);
                    segment = z.Spare();
                }
            }
            before = band;
        },
        progress);
    z.Finish();
    WriteChunk(out, "IEND", nullptr, 0);
}

} // namespace qm
