#include <gtest/gtest.h>

#include <cstring>

#include "model/MapRecord.h"
#include "model/RecordFile.h"
#include "tests/TestSupport.h"

using namespace qm;

namespace {
size_t OffsetOf(const TMapRecord& rec, const void* p) {
    return static_cast<size_t>(static_cast<const uint8_t*>(p) - reinterpret_cast<const uint8_t*>(&rec));
}

// A record whose every byte differs from its neighbours', so misplaced bytes show.
TMapRecord Patterned(uint8_t seed) {
    TMapRecord rec;
    auto* b = reinterpret_cast<uint8_t*>(&rec);
    for (size_t i = 0; i < sizeof rec; ++i) b[i] = static_cast<uint8_t>(i * 7 + seed);
    return rec;
}
} // namespace

TEST(MapRecord, CellAddressingIsColumnMajor) {
    static TMapRecord rec;
    struct Case {
        int x, y;
        size_t offset;
    } cases[] = {
        {1, 1, 0}, {2, 1, 216}, {1, 2, 3}, {72, 72, 15549}, {10, 5, 9 * 216 + 4 * 3},
    };
    for (auto c : cases) EXPECT_EQ(OffsetOf(rec, &rec.Cell(c.x, c.y)), c.offset) << c.x << "," << c.y;
    EXPECT_EQ(OffsetOf(rec, &rec.Cell(72, 72).Spare), 15551u);
}

TEST(MapRecord, ClearAndReset) {
    TMapRecord rec = Patterned(3);
    ClearMapRecord(rec);
    auto* b = reinterpret_cast<const uint8_t*>(&rec);
    for (size_t i = 0; i < sizeof rec; ++i) ASSERT_EQ(b[i], i == 15553 ? 1 : 0) << "byte " << i;

    rec = Patterned(5);
    ResetMap(rec, "dungeon.bmp", 16);
    EXPECT_EQ(rec.Zoom, 16);
    EXPECT_EQ(rec.ShowHidden, 1);
    EXPECT_EQ(rec.CurrentSymbol, 0);
    EXPECT_EQ(MapTilesetName(rec), "dungeon.bmp");
    EXPECT_EQ(rec.Cell(40, 40).Upper, 0);
    for (uint8_t r : rec.Reserved2) ASSERT_EQ(r, 0);
}

TEST(MapRecord, TilesetNameTruncationAndStaleTail) {
    static TMapRecord rec;
    ClearMapRecord(rec);
    SetMapTilesetName(rec, std::string(300, 'x'));
    EXPECT_EQ(rec.TilesetName[0], 255);
    EXPECT_EQ(MapTilesetName(rec), std::string(255, 'x'));

    ClearMapRecord(rec);
    SetMapTilesetName(rec, "ABCDEFGHIJ");
    SetMapTilesetName(rec, "vwxyz");
    auto* b = reinterpret_cast<const uint8_t*>(&rec);
    EXPECT_EQ(b[15562], 5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 15563), 5), "vwxyz");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 15568), 5), "FGHIJ");
    EXPECT_EQ(MapTilesetName(rec), "vwxyz");
}

TEST(MapFile, ReadTakesTheFirstRecordBytes) {
    qmtest::TempDir dir;
    const TMapRecord source = Patterned(11);
    std::vector<unsigned char> bytes(reinterpret_cast<const unsigned char*>(&source),
                                     reinterpret_cast<const unsigned char*>(&source) + sizeof source);
    struct Case {
        const char* what;
        size_t length;
    } cases[] = {
        {"empty file", 0},
        {"one byte", 1},
        {"short", 100},
        {"one short", 16017},
        {"exact", 16018},
        {"one long", 16019},
        {"record and a bitmap", 16018 + 5000},
    };
    for (auto c : cases) {
        std::vector<unsigned char> file(c.length);
        for (size_t i = 0; i < c.length; ++i) file[i] = i < bytes.size() ? bytes[i] : 0xEE;
        qmtest::WriteAll(dir.File("m.map"), file);
        TMapRecord rec = Patterned(200); // previous content
        const TMapRecord before = rec;
        ReadMapFile(dir.File("m.map"), rec);
        auto* got = reinterpret_cast<const uint8_t*>(&rec);
        auto* old = reinterpret_cast<const uint8_t*>(&before);
        for (size_t i = 0; i < sizeof rec; ++i) {
            uint8_t want = i < c.length ? bytes[i] : old[i];
            ASSERT_EQ(got[i], want) << c.what << " byte " << i;
        }
    }
}

TEST(MapFile, SaveOfAnOpenedFileReproducesItsRecordBytes) {
    qmtest::TempDir dir;
    const TMapRecord source = Patterned(42); // spare, reserved and stale name bytes all non-zero
    std::vector<unsigned char> file(reinterpret_cast<const unsigned char*>(&source),
                                    reinterpret_cast<const unsigned char*>(&source) + sizeof source);
    file.insert(file.end(), 300, 0x55); // trailing data is ignored
    qmtest::WriteAll(dir.File("in.map"), file);
    static TMapRecord rec;
    ClearMapRecord(rec);
    ReadMapFile(dir.File("in.map"), rec);
    WriteMapFile(dir.File("out.map"), rec);
    auto out = qmtest::ReadAll(dir.File("out.map"));
    ASSERT_EQ(out.size(), 16018u);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), file.begin()));
    EXPECT_EQ(dir.List(), (std::vector<std::string>{"in.map", "out.map"})); // no temporary left
}

TEST(MapFile, ReadOnlyMapOpens) {
    qmtest::TempDir dir;
    TMapRecord source = Patterned(9);
    WriteMapFile(dir.File("ro.map"), source);
    ASSERT_EQ(::chmod(dir.File("ro.map").c_str(), 0444), 0);
    TMapRecord rec{};
    ReadMapFile(dir.File("ro.map"), rec);
    EXPECT_EQ(std::memcmp(&rec, &source, sizeof rec), 0);
}

TEST(MapFile, FailuresNameTheFileAndKeepTheRecord) {
    qmtest::TempDir dir;
    TMapRecord rec = Patterned(1);
    const TMapRecord before = rec;
    struct Case {
        std::string path;
        const char* reason;
    } cases[] = {
        {dir.File("missing.map"), "No such file or directory"},
        {dir.Path(), "Is a directory"},
        {"/dev/zero", "Not a regular file"},
    };
    for (auto& c : cases) {
        try {
            ReadMapFile(c.path, rec);
            ADD_FAILURE() << "no error for " << c.path;
        } catch (const TFileError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + c.path + "\". " + c.reason);
        }
        EXPECT_EQ(std::memcmp(&rec, &before, sizeof rec), 0);
    }
}
