// What the user sees at the edges of what the program accepts: tileset pictures that
// promise too much or too little, tileset names that point elsewhere, devices and
// links where files belong, files of every length, and very large exports.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "export/ExportPicture.h"
#include "geoset/GeoSet.h"
#include "model/GeoSetRecord.h"
#include "model/MapRecord.h"
#include "model/RecordFile.h"
#include "model/ShortString.h"
#include "tests/harden/HardenSupport.h"
#include "tiles/Tileset.h"

using namespace qm;
using qmharden::BmpBytes;
using qmharden::GreyBmp;
using qmharden::TBmpHeader;

namespace {

std::string TilesetFailure(TRenderedTileset& ts, const std::string& path) {
    TMapRecord map{};
    QImage tileBitmap;
    try {
        RenderTileset(ts, map, QString::fromStdString(path), tileBitmap);
    } catch (const TTilesetError& e) {
        return e.what();
    }
    return {};
}

TBmpHeader Header(int32_t w, int32_t h, uint16_t bpp = 8, uint32_t compression = 0, uint32_t colours = 0) {
    TBmpHeader hd;
    hd.Width = w;
    hd.Height = h;
    hd.Bpp = bpp;
    hd.Compression = compression;
    hd.ColoursUsed = colours;
    return hd;
}

// Pictures that cannot be a tileset are refused with a reason, before anything large
// is allocated, and the tileset in use stays.
TEST(Limits, TilesetPicturesThatPromiseTooMuchOrTooLittle) {
    const std::vector<unsigned char> someRows(32 * 40, 7);
    std::vector<unsigned char> truncated = GreyBmp(32, 48);
    truncated.resize(truncated.size() - 100);
    std::vector<unsigned char> tiny(2048, 1);
    // RLE8 that claims 4096 x 65535 and holds one run: too many pixels by far.
    std::vector<unsigned char> rle = {255, 1, 0, 1};
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        std::string reason;
    } cases[] = {
        {"empty file", {}, "the file is not a BMP picture"},
        {"not a BMP", {'G', 'I', 'F', '8', '9', 'a'}, "the file is not a BMP picture"},
        {"headers cut off", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0}, "the file is truncated"},
        {"huge width and height", BmpBytes(Header(100000, 100000), 256, tiny),
         "the picture is too large (100000 x 100000 pixels)"},
        {"largest height", BmpBytes(Header(32, INT32_MIN), 256, tiny),
         "the picture is too large (32 x 2147483648 pixels)"},
        {"huge RLE picture in a tiny file", BmpBytes(Header(4096, 65535, 8, 1), 256, rle),
         "the picture is too large (4096 x 65535 pixels)"},
        {"zero width", BmpBytes(Header(0, 32), 256, someRows), "the picture has no pixels"},
        {"zero height", BmpBytes(Header(32, 0), 256, someRows), "the picture has no pixels"},
        {"negative width", BmpBytes(Header(-32, 32), 256, someRows), "the picture has no pixels"},
        {"pixel data cut short", truncated, "the file is truncated"},
        {"narrower than 16 pixels", GreyBmp(8, 8), "the picture is narrower than 16 pixels"},
        {"symbols larger than 256 pixels", BmpBytes(Header(4112, 16), 256, std::vector<unsigned char>(4112 * 16, 3)),
         "its symbols would be larger than 256 pixels"},
    };
    qmtest::TempDir dir;
    TRenderedTileset ts;
    ASSERT_EQ(TilesetFailure(ts, ""), "");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File("t.bmp");
        qmtest::WriteAll(path, c.bytes);
        const uint64_t generation = ts.Generation;
        EXPECT_EQ(TilesetFailure(ts, path), "Cannot use tileset \"" + path + "\": " + c.reason + ".");
        EXPECT_EQ(ts.Generation, generation);
        EXPECT_EQ(ts.TileSize, 48);
    }
}

// Palettes that are too short or claim too many colours still give a usable tileset or
// a refusal, never a read past the palette.
TEST(Limits, TilesetPalettes) {
    std::vector<unsigned char> pixels(32 * 32);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = (unsigned char)(i * 7);
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        bool rendered;
    } cases[] = {
        {"3 colours, indices up to 255", BmpBytes(Header(32, 32, 8, 0, 3), 3, pixels), true},
        {"palette missing: its place holds the pixels", BmpBytes(Header(32, 32, 8, 0, 0), 0, pixels), false},
        {"palette claims 2^31 colours", BmpBytes(Header(32, 32, 8, 0, 0x80000000u), 256, pixels), false},
    };
    qmtest::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRenderedTileset ts;
        const std::string path = dir.File("t.bmp");
        qmtest::WriteAll(path, c.bytes);
        const std::string failure = TilesetFailure(ts, path);
        if (c.rendered) {
            EXPECT_EQ(failure, "");
            EXPECT_EQ(ts.TileSize, 2);
        } else {
            EXPECT_EQ(failure.rfind("Cannot use tileset \"" + path + "\": ", 0), 0u) << failure;
        }
    }
}

// Tileset names read from a GeoSet are looked up as bare names in the working folder;
// what the user then sees for names that try to point elsewhere or at odd files.
TEST(Limits, TilesetNamesFromAGeoSet) {
    qmtest::TempDir outer;
    const std::string work = outer.File("work");
    ASSERT_EQ(::mkdir(work.c_str(), 0755), 0);
    qmtest::WriteAll(outer.File("outside.bmp"), GreyBmp(32, 48, 32));
    qmtest::WriteAll(work + "/own.bmp", GreyBmp(64, 64));
    ASSERT_EQ(::symlink("/dev/zero", (work + "/zero.bmp").c_str()), 0);
    ASSERT_EQ(::symlink(outer.File("outside.bmp").c_str(), (work + "/link.bmp").c_str()), 0);
    ASSERT_EQ(::mkfifo((work + "/fifo.bmp").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir((work + "/dir.bmp").c_str(), 0755), 0);
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(work)));

    struct Case {
        const char* stored;   // tileset name in the GeoSet file
        const char* recorded; // the name the program keeps
        int tileSize;         // 48: the built-in tileset is shown
    } cases[] = {
        {"../outside.bmp", "outside.bmp", 48}, // folder parts are dropped
        {"..\\outside.bmp", "outside.bmp", 48},
        {"/dev/zero", "zero", 48},
        {"own.bmp", "own.bmp", 4},
        {"zero.bmp", "zero.bmp", 48}, // a link to a device is no tileset
        {"fifo.bmp", "fifo.bmp", 48}, // nor is a pipe: nothing waits on it
        {"dir.bmp", "dir.bmp", 48},
        {"link.bmp", "link.bmp", 2}, // a link the user made to a real picture is followed
        {"..", "..", 48},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        TGeoSetRecord geo{};
        ClearGeoSetRecord(geo, "");
        SetShortString(geo.TilesetName, c.stored);
        const std::string file = outer.File("named.geo");
        WriteGeoSetFile(file, geo);

        TRenderedTileset ts;
        TMapRecord map{};
        QImage tileBitmap;
        RenderTileset(ts, map, QString(), tileBitmap);
        auto doc = std::make_unique<TGeoSetDocument>(ts);
        doc->SetUseTileset([&](const QString& name) { RenderTileset(ts, map, name, tileBitmap); });
        LoadGeoSet(*doc, QString::fromStdString(file));
        EXPECT_EQ(ts.TileSize, c.tileSize);
        EXPECT_EQ(ts.CurrentTilesetName.toStdString(), c.recorded);
        EXPECT_EQ(MapTilesetName(map), c.recorded);
    }
    QDir::setCurrent(before);
}

// Devices, pipes, folders and links to them where a map or GeoSet belongs: refused at
// once with the file's name and the reason, the record untouched.
TEST(Limits, MapAndGeoSetFilesThatAreNotFiles) {
    qmtest::TempDir dir;
    ASSERT_EQ(::symlink("/dev/zero", dir.File("zero.map").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.File("fifo.map").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(dir.File("dir.map").c_str(), 0755), 0);
    ASSERT_EQ(::symlink(dir.File("missing.map").c_str(), dir.File("dangling.map").c_str()), 0);
    struct Case {
        std::string path, reason;
    } cases[] = {
        {"/dev/zero", "Not a regular file"},
        {dir.File("zero.map"), "Not a regular file"},
        {dir.File("fifo.map"), "Not a regular file"},
        {dir.File("dir.map"), "Is a directory"},
        {dir.File("dangling.map"), "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        TMapRecord map;
        std::memset(&map, 0x33, sizeof map);
        const TMapRecord mapBefore = map;
        TGeoSetRecord geo;
        std::memset(&geo, 0x44, sizeof geo);
        const TGeoSetRecord geoBefore = geo;
        const std::string expected = "Cannot open file \"" + c.path + "\". " + c.reason;
        try {
            ReadMapFile(c.path, map);
            ADD_FAILURE() << "map read";
        } catch (const TFileError& e) {
            EXPECT_EQ(e.what(), expected);
        }
        try {
            ReadGeoSetFile(c.path, geo);
            ADD_FAILURE() << "GeoSet read";
        } catch (const TFileError& e) {
            EXPECT_EQ(e.what(), expected);
        }
        EXPECT_EQ(std::memcmp(&map, &mapBefore, sizeof map), 0);
        EXPECT_EQ(std::memcmp(&geo, &geoBefore, sizeof geo), 0);
    }
    // Saving over a device or a folder is refused too, and the device is not written.
    for (const std::string& target : {std::string("/dev/null"), dir.File("dir.map"), dir.File("zero.map")}) {
        TMapRecord map{};
        try {
            WriteMapFile(target, map);
            ADD_FAILURE() << target;
        } catch (const TFileError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + target + "\". ", 0), 0u) << e.what();
        }
    }
    EXPECT_EQ(dir.List(), (std::vector<std::string>{"dangling.map", "dir.map", "fifo.map", "zero.map"}));
}

// Files of every length from empty to twice the record: the bytes the file has replace
// the start of the record, the rest keeps what it held, bytes past the record are ignored.
// `settle` applies what the reader does after reading to the expected record.
template <class Record, class Read, class Settle> void EveryLength(Read read, Settle settle) {
    const size_t size = sizeof(Record);
    std::vector<unsigned char> bytes(2 * size);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = (unsigned char)(i * 31 + i / 251);
    qmtest::TempDir dir;
    const std::string path = dir.File("f");
    qmtest::WriteAll(path, bytes);
    Record rec, expected;
    for (size_t len = bytes.size() + 1; len-- > 0;) {
        ASSERT_EQ(::truncate(path.c_str(), off_t(len)), 0);
        std::memset(&rec, 0xC3, size);
        std::memset(&expected, 0xC3, size);
        std::memcpy(&expected, bytes.data(), std::min(len, size));
        settle(expected);
        read(path, rec);
        ASSERT_EQ(std::memcmp(&rec, &expected, size), 0) << "length " << len;
    }
}

TEST(Limits, MapFilesOfEveryLength) {
    EveryLength<TMapRecord>([](const std::string& p, TMapRecord& r) { ReadMapFile(p, r); }, [](TMapRecord&) {});
}

// A GeoSet of any length: the same, except that a position or section outside its range
// (from the file or left from before) reads as 1, so the maplet editor never addresses
// outside the record.
TEST(Limits, GeoSetFilesOfEveryLength) {
    EveryLength<TGeoSetRecord>([](const std::string& p, TGeoSetRecord& r) { ReadGeoSetFile(p, r); },
                               [](TGeoSetRecord& r) {
                                   if (r.Position < 1 || r.Position > 9) r.Position = 1;
                                   if (r.Section < 1 || r.Section > 6) r.Section = 1;
                               });
}

// Large exports stream through a band at a time; pictures no format can hold are
// refused before a file is created.
TEST(Limits, ExportsAtTheLargestZooms) {
    TRenderedTileset ts;
    TMapRecord map{};
    QImage tileBitmap;
    RenderTileset(ts, map, QString(), tileBitmap);
    ClearMapRecord(map);
    map.Cell(3, 3).Upper = 130;
    qmtest::TempDir dir;
    const TGridRect region{0, 0, 5, 3};
    for (auto f : {TPictureFormat::Bmp, TPictureFormat::Jpeg, TPictureFormat::Png}) {
        SCOPED_TRACE(FormatExtension(f));
        const std::string path = dir.File(std::string("z256") + FormatExtension(f));
        ExportMapPicture(path, f, map, ts, region, 256);
        const QImage back(QString::fromStdString(path));
        EXPECT_EQ(back.size(), QSize(6 * 256, 4 * 256));
    }
    struct Refused {
        TPictureFormat format;
        int zoom;
        std::string reason;
    } refused[] = {
        {TPictureFormat::Bmp, 1024, "The picture is 73728 x 73728 pixels; a BMP file holds at most 4 GB of pixels."},
        {TPictureFormat::Jpeg, 1024,
         "The picture is 73728 x 73728 pixels; a JPEG file holds at most 65500 pixels in each direction."},
        {TPictureFormat::Png, 1025, "A cell size of 1025 pixels is outside 1 to 1024."},
        {TPictureFormat::Png, 0, "A cell size of 0 pixels is outside 1 to 1024."},
    };
    for (const Refused& r : refused) {
        const std::string path = dir.File("big");
        try {
            ExportMapPicture(path, r.format, map, ts, WholeMapArea, r.zoom);
            ADD_FAILURE() << r.zoom;
        } catch (const TFileError& e) {
            EXPECT_EQ(e.what(), "Cannot create file \"" + path + "\". " + r.reason);
        }
    }
    EXPECT_EQ(dir.List().size(), 3u);
}

} // namespace
