// The three encoders on synthetic pictures: read back by Qt's readers, container
// structure checked byte by byte, failures leaving nothing behind.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "export/FileKind.h"
#include "export/PictureWriters.h"
#include "tests/TestSupport.h"
#include "tests/export/ExportTestSupport.h"

using namespace qm;
using exporttest::Compare;
using exporttest::FileErrorOf;

namespace {

// Flat areas, sharp edges and some noise: a fair stand-in for a map.
QImage Synthetic(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            QRgb c = ((x / 5 + y / 3) % 2) ? qRgb(200, 40 + x % 50, 30) : qRgb(20, 90, 220 - y % 60);
            if ((x * 31 + y * 17) % 23 == 0) c = qRgb(int(rng.bounded(256)), int(rng.bounded(256)), 0);
            img.setPixel(x, y, c);
        }
    return img;
}

uint32_t BE32(const std::vector<unsigned char>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
uint32_t LE32(const std::vector<unsigned char>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

// CRC-32 as PNG defines it, computed here independently of zlib.
uint32_t Crc32(const unsigned char* p, size_t n) {
    uint32_t c = 0xffffffffu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1)));
    }
    return c ^ 0xffffffffu;
}

struct TChunk {
    std::string type;
    uint32_t length;
    bool crcOk;
};

// Walks the PNG container; fails the test on a chunk that runs past the file.
std::vector<TChunk> Chunks(const std::vector<unsigned char>& b) {
    static const unsigned char sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<TChunk> out;
    if (b.size() < 8 || std::memcmp(b.data(), sig, 8) != 0) {
        ADD_FAILURE() << "no PNG signature";
        return out;
    }
    size_t at = 8;
    while (at < b.size()) {
        if (at + 12 > b.size()) {
            ADD_FAILURE() << "truncated chunk header at " << at;
            break;
        }
        const uint32_t len = BE32(b, at);
        if (at + 12 + len > b.size()) {
            ADD_FAILURE() << "chunk runs past the end at " << at;
            break;
        }
        TChunk c{std::string(reinterpret_cast<const char*>(&b[at + 4]), 4), len,
                 Crc32(&b[at + 4], len + 4) == BE32(b, at + 8 + len)};
        out.push_back(c);
        at += 12 + len;
    }
    return out;
}

} // namespace

TEST(PictureWriters, ReadBackEqualsTheSource) {
    struct Case {
        TPictureFormat format;
        int w, h, band;
        int maxDiff; // JPEG is lossy
    } cases[] = {
        {TPictureFormat::Bmp, 37, 29, 8, 0},    {TPictureFormat::Bmp, 1, 1, 1, 0},
        {TPictureFormat::Bmp, 64, 5, 5, 0},     {TPictureFormat::Png, 37, 29, 8, 0},
        {TPictureFormat::Png, 1, 1, 1, 0},      {TPictureFormat::Png, 300, 70, 16, 0},
        {TPictureFormat::Jpeg, 37, 29, 8, 0},   {TPictureFormat::Jpeg, 1, 1, 1, 0},
        {TPictureFormat::Jpeg, 300, 70, 16, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(FormatExtension(c.format)) + " " + std::to_string(c.w) + "x" + std::to_string(c.h));
        qmtest::TempDir dir;
        const std::string path = dir.File(std::string("p") + FormatExtension(c.format));
        const QImage src = Synthetic(c.w, c.h);
        WritePictureFile(path, c.format, ImageSource(src, c.band));
        const QImage back(QString::fromStdString(path));
        const auto d = Compare(back, src);
        ASSERT_TRUE(d.SameSize);
        if (c.format == TPictureFormat::Jpeg) {
            EXPECT_LE(d.Mean, exporttest::ReferenceJpegMean(src) * 1.1 + 0.5);
        } else {
            EXPECT_EQ(d.Max, 0);
        }
    }
}

TEST(PictureWriters, JpegIsCloseOnFlatColour) {
    // Large flat regions, as floors are: quality 90 must keep them nearly exact.
    QImage img(96, 64, QImage::Format_RGB32);
    img.fill(qRgb(120, 160, 90));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 96; ++x) img.setPixel(x, y, qRgb(60, 60, 200));
    qmtest::TempDir dir;
    WritePictureFile(dir.File("f.jpg"), TPictureFormat::Jpeg, ImageSource(img, 16));
    const auto d = Compare(QImage(QString::fromStdString(dir.File("f.jpg"))), img);
    ASSERT_TRUE(d.SameSize);
    EXPECT_LT(d.Mean, 1.5);
}

TEST(PictureWriters, PngContainerAndCrcs) {
    qmtest::TempDir dir;
    const std::string path = dir.File("c.png");
    // Wide enough that the deflate stream spreads over several IDAT chunks.
    QImage noisy(700, 300, QImage::Format_RGB32);
    QRandomGenerator rng(3);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x) noisy.setPixel(x, y, rng.generate() | 0xff000000u);
    WritePictureFile(path, TPictureFormat::Png, ImageSource(noisy, 17));
    const auto bytes = qmtest::ReadAll(path);
    const auto chunks = Chunks(bytes);
    ASSERT_GE(chunks.size(), 4u);
    EXPECT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks.front().length, 13u);
    EXPECT_EQ(chunks.back().type, "IEND");
    EXPECT_EQ(chunks.back().length, 0u);
    int idat = 0;
    for (size_t i = 0; i < chunks.size(); ++i) {
        EXPECT_TRUE(chunks[i].crcOk) << "chunk " << i << " " << chunks[i].type;
        if (i > 0 && i + 1 < chunks.size()) {
            EXPECT_EQ(chunks[i].type, "IDAT") << i;
            ++idat;
        }
    }
    EXPECT_GT(idat, 1);
    // IHDR: width, height, 8 bits, colour type 2, deflate, adaptive filters, no interlace.
    EXPECT_EQ(BE32(bytes, 16), 700u);
    EXPECT_EQ(BE32(bytes, 20), 300u);
    EXPECT_EQ((std::vector<unsigned char>(bytes.begin() + 24, bytes.begin() + 29)),
              (std::vector<unsigned char>{8, 2, 0, 0, 0}));
    EXPECT_EQ(Compare(QImage(QString::fromStdString(path)), noisy).Max, 0);
}

TEST(PictureWriters, BmpHeaderAndPaddedBottomUpRows) {
    struct Case {
        int w;
        uint32_t rowSize;
    } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.w);
        qmtest::TempDir dir;
        QImage img(c.w, 3, QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < c.w; ++x) img.setPixel(x, y, qRgb(10 * x + 1, 50 + y, 200 - y));
        WritePictureFile(dir.File("b.bmp"), TPictureFormat::Bmp, ImageSource(img, 2));
        const auto b = qmtest::ReadAll(dir.File("b.bmp"));
        ASSERT_EQ(b.size(), 54 + c.rowSize * 3);
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(LE32(b, 2), b.size());
        EXPECT_EQ(LE32(b, 10), 54u);
        EXPECT_EQ(LE32(b, 18), uint32_t(c.w));
        EXPECT_EQ(LE32(b, 22), 3u); // positive height: bottom-up
        EXPECT_EQ(b[28], 24);
        // First stored row is the picture's last: blue, green, red of (0, 2).
        EXPECT_EQ(b[54], 198);
        EXPECT_EQ(b[55], 52);
        EXPECT_EQ(b[56], 1);
        // Padding bytes are zero.
        for (uint32_t k = uint32_t(c.w) * 3; k < c.rowSize; ++k) EXPECT_EQ(b[54 + k], 0) << k;
    }
}

TEST(PictureWriters, FormatFromExtensionThenFilter) {
    const QString png = "PNG Image File (*.png)", jpg = "JPEG Image File (*.jpg)", bmp = "Bitmaps (*.bmp)";
    struct Case {
        const char* path;
        QString filter;
        TPictureFormat want;
    } cases[] = {
        {"a.png", bmp, TPictureFormat::Png},      {"a.PNG", jpg, TPictureFormat::Png},
        {"a.jpg", png, TPictureFormat::Jpeg},     {"a.jpeg", png, TPictureFormat::Jpeg},
        {"a.JPEG", bmp, TPictureFormat::Jpeg},    {"a.bmp", png, TPictureFormat::Bmp},
        {"a", png, TPictureFormat::Png},          {"a", jpg, TPictureFormat::Jpeg},
        {"a.txt", png, TPictureFormat::Png},      {"a", "", TPictureFormat::Bmp},
        {"dir.png/a", jpg, TPictureFormat::Jpeg}, {"a.png.gz", jpg, TPictureFormat::Jpeg},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatForFile(c.path, c.filter), c.want) << c.path;
}

TEST(FileKind, FromTheExtensionOfTheFileNamePartInAnyCase) {
    using K = TFileKind;
    const struct {
        const char* path;
        K want;
    } cases[] = {
        {"a.bmp", K::Bmp},     {"a.JPG", K::Jpeg},   {"a.JpEg", K::Jpeg},   {"d/a.PNG", K::Png},
        {"a.pdf", K::Pdf},     {"a.TMX", K::Tmx},    {"a.Map", K::Map},     {"a.DD2VTT", K::Vtt},
        {"a.uvtt", K::Vtt},    {"a.df2vtt", K::Vtt}, {"a", K::Other},       {"", K::Other},
        {"a.", K::Other},      {"pdf", K::Other},    {"d.png/a", K::Other}, {"a.png.gz", K::Other},
        {"a.jpg.PNG", K::Png}, {"d/.png", K::Png},   {"a.pngx", K::Other},  {"a.vtt", K::Other},
    };
    for (const auto& c : cases) EXPECT_EQ(int(FileKindOf(c.path)), int(c.want)) << c.path;
    EXPECT_EQ(PictureFormatOf("a.JPEG"), TPictureFormat::Jpeg);
    EXPECT_EQ(PictureFormatOf("a.pdf"), std::nullopt);
}

TEST(PictureWriters, PicturesBeyondAFormatsLimitsAreRefusedUpFront) {
    struct Case {
        TPictureFormat format;
        int w, h;
        const char* reason;
    } cases[] = {
        {TPictureFormat::Jpeg, 70000, 1,
         "The picture is 70000 x 1 pixels; a JPEG file holds at most 65500 pixels in each direction."},
        {TPictureFormat::Jpeg, 2, 65501,
         "The picture is 2 x 65501 pixels; a JPEG file holds at most 65500 pixels in each direction."},
        {TPictureFormat::Bmp, 40000, 40000,
         "The picture is 40000 x 40000 pixels; a BMP file holds at most 4 GB of pixels."},
        {TPictureFormat::Png, 0, 10, "The picture would be empty (0 x 10 pixels)."},
    };
    for (const auto& c : cases) {
        qmtest::TempDir dir;
        qmtest::WriteAll(dir.File("old"), {1, 2, 3});
        TPictureSource src;
        src.Width = c.w;
        src.Height = c.h;
        src.BandHeight = 1;
        int asked = 0;
        src.Band = [&](int, int rows) {
            ++asked;
            return QImage(c.w, rows, QImage::Format_RGB32);
        };
        EXPECT_EQ(FileErrorOf([&] { WritePictureFile(dir.File("old"), c.format, src); }),
                  "Cannot create file \"" + dir.File("old") + "\". " + c.reason);
        EXPECT_EQ(asked, 0);
        EXPECT_EQ(dir.List(), std::vector<std::string>{"old"});
        EXPECT_EQ(qmtest::ReadAll(dir.File("old")), (std::vector<unsigned char>{1, 2, 3}));
    }
}

// A disk failing part way, a missing folder, and a cancel: the old file stays, no
// temporary file is left, and the failure names the file.
TEST(PictureWriters, FailuresLeaveNothingBehind) {
    const QImage img = Synthetic(200, 120);
    const std::vector<unsigned char> old = {9, 9, 9, 9};
    for (auto format : {TPictureFormat::Bmp, TPictureFormat::Jpeg, TPictureFormat::Png}) {
        for (long failAfter : {0L, 100L, 5000L}) {
            SCOPED_TRACE(std::string(FormatExtension(format)) + " after " + std::to_string(failAfter));
            qmtest::TempDir dir;
            const std::string path = dir.File("x");
            qmtest::WriteAll(path, old);
            SetWriteFailureAfterForTesting(failAfter);
            const std::string err = FileErrorOf([&] { WritePictureFile(path, format, ImageSource(img, 10)); });
            SetWriteFailureAfterForTesting(-1);
            EXPECT_EQ(err, "Cannot create file \"" + path + "\". Input/output error");
            EXPECT_EQ(qmtest::ReadAll(path), old);
            EXPECT_EQ(dir.List(), std::vector<std::string>{"x"});
        }
        qmtest::TempDir dir;
        const std::string missing = dir.File("none/p.png");
        EXPECT_EQ(FileErrorOf([&] { WritePictureFile(missing, format, ImageSource(img, 10)); }),
                  "Cannot create file \"" + missing + "\". No such file or directory");

        qmtest::WriteAll(dir.File("x"), old);
        int calls = 0;
        EXPECT_THROW(WritePictureFile(dir.File("x"), format, ImageSource(img, 10),
                                      [&](int done, int total) {
                                          ++calls;
                                          EXPECT_EQ(total, 12);
                                          return done < 5;
                                      }),
                     TExportCancelled);
        EXPECT_EQ(calls, 5);
        EXPECT_EQ(qmtest::ReadAll(dir.File("x")), old);
        EXPECT_EQ(dir.List(), std::vector<std::string>{"x"});
    }
}

TEST(PictureWriters, BmpAsksForBandsBottomUpOthersTopDown) {
    const QImage img = Synthetic(10, 25);
    for (auto format : {TPictureFormat::Bmp, TPictureFormat::Jpeg, TPictureFormat::Png}) {
        TPictureSource src = ImageSource(img, 10);
        std::vector<int> tops;
        auto inner = src.Band;
        src.Band = [&](int top, int rows) {
            tops.push_back(top);
            return inner(top, rows);
        };
        qmtest::TempDir dir;
        WritePictureFile(dir.File("o"), format, src);
        const std::vector<int> want = format == TPictureFormat::Bmp ? std::vector<int>{20, 10, 0}
                                                                    : std::vector<int>{0, 10, 20};
        EXPECT_EQ(tops, want) << FormatExtension(format);
    }
}

// Bands drawn on the workers ahead of their use: the same bytes as one at a time, and a
// cancel or a failure waits for every band in flight before the writer returns.
TEST(PictureWriters, BandsDrawnAheadGiveTheSameFileAndNeverOutliveTheWriter) {
    const QImage img = Synthetic(64, 90);
    for (auto format : {TPictureFormat::Bmp, TPictureFormat::Jpeg, TPictureFormat::Png}) {
        SCOPED_TRACE(FormatExtension(format));
        qmtest::TempDir dir;
        WritePictureFile(dir.File("serial"), format, ImageSource(img, 7));
        std::atomic<int> drawing{0}, drawn{0};
        TPictureSource src = ImageSource(img, 7);
        src.ConcurrentBands = true;
        auto inner = src.Band;
        src.Band = [&](int top, int rows) {
            ++drawing;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            QImage band = inner(top, rows);
            --drawing;
            ++drawn;
            return band;
        };
        WritePictureFile(dir.File("ahead"), format, src);
        EXPECT_EQ(qmtest::ReadAll(dir.File("ahead")), qmtest::ReadAll(dir.File("serial")));
        EXPECT_EQ(drawn.load(), 13);

        drawn = 0;
        EXPECT_THROW(WritePictureFile(dir.File("cancelled"), format, src, [](int done, int) { return done < 3; }),
                     TExportCancelled);
        EXPECT_EQ(drawing.load(), 0);
        const int after = drawn;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(drawn.load(), after);
        EXPECT_LT(after, 13);
    }
}

namespace {

// The pixels of a PNG as an independent decoder sees them: the project's zlib-only
// Python decoder writes them out as a PPM. Null when it refused the file.
QImage PythonDecoded(const std::string& png, const std::string& ppm) {
    QProcess p;
    p.start("python3",
            {QM_SOURCE_DIR "/tools/png_pixels.py", QString::fromStdString(png), QString::fromStdString(ppm)});
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << "python decoder: " << p.readAllStandardError().toStdString();
        return {};
    }
    const auto b = qmtest::ReadAll(ppm);
    int w = 0, h = 0, at = 0;
    if (std::sscanf(reinterpret_cast<const char*>(b.data()), "P6\n%d %d\n255\n%n", &w, &h, &at) < 2 || at == 0 ||
        b.size() != size_t(at) + size_t(w) * size_t(h) * 3)
        return {};
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned char* px = &b[size_t(at) + (size_t(y) * size_t(w) + size_t(x)) * 3];
            img.setPixel(x, y, qRgb(px[0], px[1], px[2]));
        }
    return img;
}

// Pillow's reading of a PNG as RGB bytes, empty when it refused the file.
QByteArray PillowRgb(const std::string& png) {
    QProcess p;
    p.start("/usr/bin/python3", {"-c",
                                 "import sys\nfrom PIL import Image\nim = Image.open(sys.argv[1])\nim.load()\n"
                                 "sys.stdout.buffer.write(im.convert('RGB').tobytes())",
                                 QString::fromStdString(png)});
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << "Pillow: " << p.readAllStandardError().toStdString();
        return {};
    }
    return p.readAllStandardOutput();
}

QByteArray RgbBytes(const QImage& img) {
    QByteArray out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            out += char(qRed(c));
            out += char(qGreen(c));
            out += char(qBlue(c));
        }
    return out;
}

} // namespace

// Pictures large enough that the rows are deflated in several pieces on worker
// threads: the same bytes on every run, and the same pixels through Qt's decoder,
// an independent zlib-only one, Pillow and pngcheck. A doubled picture repeats every
// row, as a map drawn above the tile size does.
TEST(PictureWriters, PngFromSeveralPiecesIsStableAndDecodesExactly) {
    struct Case {
        int w, h, band;
        bool doubled;
    } cases[] = {{1, 1, 1, false}, {37, 29, 8, false}, {760, 300, 17, false}, {700, 200, 48, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + (c.doubled ? " doubled" : ""));
        qmtest::TempDir dir;
        QImage src = Synthetic(c.w, c.h);
        if (c.doubled) src = src.scaled(2 * c.w, 2 * c.h);
        WritePictureFile(dir.File("a.png"), TPictureFormat::Png, ImageSource(src, c.band));
        WritePictureFile(dir.File("b.png"), TPictureFormat::Png, ImageSource(src, c.band));
        EXPECT_EQ(qmtest::ReadAll(dir.File("a.png")), qmtest::ReadAll(dir.File("b.png")));
        EXPECT_EQ(Compare(QImage(QString::fromStdString(dir.File("a.png"))), src).Max, 0);
        const QImage py = PythonDecoded(dir.File("a.png"), dir.File("a.ppm"));
        const auto d = Compare(py, src);
        ASSERT_TRUE(d.SameSize);
        EXPECT_EQ(d.Max, 0);
        EXPECT_TRUE(PillowRgb(dir.File("a.png")) == RgbBytes(src));
        QProcess check;
        check.start("pngcheck", {QString::fromStdString(dir.File("a.png"))});
        ASSERT_TRUE(check.waitForFinished(60000)) << "pngcheck did not run";
        EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
    }
}

// A failing disk and a cancel while pieces are still being compressed.
TEST(PictureWriters, PngStopsCleanlyWithPiecesInFlight) {
    const QImage img = Synthetic(3000, 900);
    const std::vector<unsigned char> old = {5, 6};
    qmtest::TempDir dir;
    const std::string path = dir.File("x.png");
    qmtest::WriteAll(path, old);
    SetWriteFailureAfterForTesting(70000);
    const std::string err = FileErrorOf([&] { WritePictureFile(path, TPictureFormat::Png, ImageSource(img, 30)); });
    SetWriteFailureAfterForTesting(-1);
    EXPECT_EQ(err, "Cannot create file \"" + path + "\". Input/output error");
    EXPECT_THROW(
        WritePictureFile(path, TPictureFormat::Png, ImageSource(img, 30), [](int done, int) { return done < 20; }),
        TExportCancelled);
    EXPECT_EQ(qmtest::ReadAll(path), old);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"x.png"});
}
