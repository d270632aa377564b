#include <gtest/gtest.h>

#include <cstring>

#include "model/GeoSetRecord.h"
#include "model/RecordFile.h"
#include "tests/TestSupport.h"

using namespace qm;

namespace {
size_t OffsetOf(const TGeoSetRecord& rec, const void* p) {
    return static_cast<size_t>(static_cast<const uint8_t*>(p) - reinterpret_cast<const uint8_t*>(&rec));
}
} // namespace

TEST(GeoSetRecord, MapletOffsets) {
    static TGeoSetRecord rec;
    struct Case {
        int p, s, x, y;
        size_t offset;
    } cases[] = {
        {1, 1, 1, 1, 0},
        {1, 2, 2, 1, 469},
        {1, 2, 1, 2, 436},
        {2, 1, 1, 1, 2598},
        {9, 6, 12, 12, 8 * 2598 + 5 * 433 + 11 * 36 + 11 * 3},
    };
    for (auto c : cases) EXPECT_EQ(OffsetOf(rec, &rec.Maplet(c.p, c.s).Cell(c.x, c.y)), c.offset);
    EXPECT_EQ(OffsetOf(rec, &rec.Maplet(3, 4).Reserved), 2 * 2598 + 3 * 433 + 432u);
}

TEST(GeoSetRecord, OutOfRangeSelectorsNeverLeaveTheRecord) {
    static TGeoSetRecord rec;
    EXPECT_EQ(&rec.Maplet(0, 0), &rec.Maplet(1, 1));
    EXPECT_EQ(&rec.Maplet(255, 200), &rec.Maplet(9, 6));
}

TEST(GeoSetFile, ClearRoundTripAndClamping) {
    qmtest::TempDir dir;
    static TGeoSetRecord rec, back;
    ClearGeoSetRecord(rec, "cave.bmp");
    EXPECT_EQ(rec.Position, 1);
    EXPECT_EQ(rec.Section, 1);
    EXPECT_EQ(GeoTilesetName(rec), "cave.bmp");
    auto* b = reinterpret_cast<uint8_t*>(&rec);
    for (size_t i = 0; i < sizeof rec; ++i) b[i] = static_cast<uint8_t>(i * 13 + 1);
    rec.Position = 4;
    rec.Section = 6;
    WriteGeoSetFile(dir.File("a.geo"), rec);
    std::memset(&back, 0, sizeof back);
    ReadGeoSetFile(dir.File("a.geo"), back);
    EXPECT_EQ(std::memcmp(&rec, &back, sizeof rec), 0);

    struct Case {
        uint8_t pos, sec, wantPos, wantSec;
    } cases[] = {
        {0, 0, 1, 1},
        {10, 7, 1, 1},
        {9, 6, 9, 6},
        {255, 3, 1, 3},
    };
    for (auto c : cases) {
        rec.Position = c.pos;
        rec.Section = c.sec;
        WriteGeoSetFile(dir.File("b.geo"), rec);
        ReadGeoSetFile(dir.File("b.geo"), back);
        EXPECT_EQ(back.Position, c.wantPos);
        EXPECT_EQ(back.Section, c.wantSec);
    }
}

TEST(GeoSetFile, HundredByteFileReplacesOnlyItsBytes) {
    qmtest::TempDir dir;
    static TGeoSetRecord rec;
    ClearGeoSetRecord(rec, "");
    rec.Maplet(5, 5).Cell(3, 3).Upper = 77;
    qmtest::WriteAll(dir.File("s.geo"), std::vector<unsigned char>(100, 9));
    ReadGeoSetFile(dir.File("s.geo"), rec);
    auto* b = reinterpret_cast<uint8_t*>(&rec);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(b[i], 9);
    EXPECT_EQ(b[100], 0);
    EXPECT_EQ(rec.Maplet(5, 5).Cell(3, 3).Upper, 77);
}
