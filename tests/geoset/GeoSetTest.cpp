#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstring>

#include "compose/Compose.h"
#include "geoset/GeoSet.h"
#include "geoset/GeoSetCommands.h"
#include "geoset/Maplet.h"
#include "model/RecordFile.h"
#include "model/ShortString.h"
#include "tests/TestSupport.h"
#include "tests/geoset/GeoSetFixture.h"

using namespace qm;
using qmtest::GeoSetState;

namespace {
std::unique_ptr<GeoSetState> State() { return std::make_unique<GeoSetState>(); }

void Pattern(TGeoSetRecord& geo, uint8_t seed) {
    auto* b = reinterpret_cast<uint8_t*>(&geo);
    for (size_t k = 0; k < sizeof geo; ++k) b[k] = uint8_t(k * 31 + seed);
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Makes the current folder `dir` for the life of the object (bare tileset names are
// looked up there).
struct InFolder {
    explicit InFolder(const std::string& dir) : old(QDir::currentPath()) { QDir::setCurrent(Q(dir)); }
    ~InFolder() { QDir::setCurrent(old); }
    QString old;
};

// A small custom tileset: 16 x 16 symbols of `tile` pixels, no marker strip.
void WriteTileset(const std::string& path, int tile) {
    QImage img(16 * tile, 16 * tile, QImage::Format_RGB32);
    img.fill(QColor(90, 140, 60));
    ASSERT_TRUE(img.save(Q(path), "BMP"));
}
} // namespace

TEST(GeoSet, ClearKeepsOnlyTheTilesetNameAndSelectors) {
    auto st = State();
    Pattern(st->geo, 5);
    st->tileset.CurrentTilesetName = "cave.bmp";
    ClearGeoSet(st->doc);
    const auto* b = reinterpret_cast<const uint8_t*>(&st->geo);
    for (size_t k = 0; k < sizeof st->geo; ++k) {
        if (k >= 23382 && k <= 23382 + 8) continue; // the name
        if (k == 23639 || k == 23640) continue;     // Position, Section
        ASSERT_EQ(b[k], 0) << k;
    }
    EXPECT_EQ(GeoTilesetName(st->geo), "cave.bmp");
    EXPECT_EQ(st->geo.Position, 1);
    EXPECT_EQ(st->geo.Section, 1);
    EXPECT_EQ(st->enabled, 0);
}

// Only a file of exactly one record is a GeoSet: any other length is refused with its name
// and size, and the GeoSet loaded before stays whole (record, file name, menu, tileset).
TEST(GeoSet, FileOfAnyOtherLengthIsRefusedAndTheLoadedOneStays) {
    qmtest::TempDir dir;
    auto st = State();
    Pattern(st->geo, 9);
    SetShortString(st->geo.TilesetName, ""); // same tileset: nothing to render
    st->geo.Position = 4;
    st->geo.Section = 2;
    WriteGeoSetFile(dir.File("loaded.geo"), st->geo);
    LoadGeoSet(st->doc, Q(dir.File("loaded.geo")));
    static TGeoSetRecord before;
    before = st->geo;
    const uint64_t generation = st->tileset.Generation;
    for (size_t length :
         {size_t(0), size_t(100), size_t(9000), GeoSetRecordSize - 1, GeoSetRecordSize + 1, 2 * GeoSetRecordSize}) {
        SCOPED_TRACE(length);
        qmtest::WriteAll(dir.File("t.geo"), std::vector<unsigned char>(length, 0x77));
        try {
            LoadGeoSet(st->doc, Q(dir.File("t.geo")));
            ADD_FAILURE() << "read as a GeoSet";
        } catch (const TFileError& e) {
            EXPECT_EQ(std::string(e.what()), "t.geo is not a Quillmarch GeoSet (" + std::to_string(length) +
                                                 " bytes); the GeoSet stays as it was.");
        }
        ASSERT_EQ(std::memcmp(&st->geo, &before, sizeof before), 0);
        EXPECT_EQ(st->fileName(), Q(dir.File("loaded.geo")));
        EXPECT_EQ(st->selectorUpdates, 1);
        EXPECT_TRUE(st->doc.Loaded());
        EXPECT_EQ(st->tileset.Generation, generation);
    }
}

TEST(GeoSet, UnreadableFileChangesNothingButTheFileName) {
    qmtest::TempDir dir;
    auto st = State();
    Pattern(st->geo, 3);
    static TGeoSetRecord before;
    before = st->geo;
    const uint64_t generation = st->tileset.Generation;
    struct Case {
        std::string path, reason;
    } cases[] = {
        {dir.File("missing.geo"), "No such file or directory"},
        {dir.Path(), "Is a directory"},
    };
    for (const auto& c : cases) {
        try {
            LoadGeoSet(st->doc, Q(c.path));
            ADD_FAILURE() << "no error for " << c.path;
        } catch (const TFileError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + c.path + "\". " + c.reason);
        }
        EXPECT_EQ(std::memcmp(&st->geo, &before, sizeof before), 0);
        EXPECT_EQ(st->enabled, -1);
        EXPECT_EQ(st->selectorUpdates, 0);
        EXPECT_EQ(st->tileset.Generation, generation);
        EXPECT_EQ(st->fileName(), Q(c.path));
    }
}

TEST(GeoSet, TilesetIsRenderedOnlyWhenTheNameDiffersBeyondLetterCase) {
    qmtest::TempDir dir;
    WriteTileset(dir.File("Tiny.bmp"), 8);
    WriteTileset(dir.File("other.bmp"), 4);
    InFolder here(dir.Path());
    struct Case {
        QString current;     // name of the tileset in use
        std::string geoName; // name in the GeoSet file
        bool renders;
        int tileSize; // after loading
    } cases[] = {
        {"Tiny.bmp", "TINY.BMP", false, 8},
        {"Tiny.bmp", "tiny.bmp", false, 8},
        {"Tiny.bmp", "other.bmp", true, 4},
        {"Tiny.bmp", "", true, 48},
        {"", "Tiny.bmp", true, 8},
        {"caf\u00e9.bmp", "CAF\xc9.BMP", true, 48}, // only a..z fold: e-acute differs
    };
    for (const Case& c : cases) {
        auto st = State();
        RenderTileset(st->tileset, st->map, "Tiny.bmp", st->tileBitmap);
        st->tileset.CurrentTilesetName = c.current;
        static TGeoSetRecord file;
        ClearGeoSetRecord(file, c.geoName);
        file.PaintSymbol = 42;
        WriteGeoSetFile(dir.File("g.geo"), file);
        const uint64_t generation = st->tileset.Generation;

        LoadGeoSet(st->doc, Q(dir.File("g.geo")));

        SCOPED_TRACE(c.geoName);
        EXPECT_EQ(st->tileset.Generation != generation, c.renders);
        EXPECT_EQ(st->tilesetChanges, c.renders ? 1 : 0);
        EXPECT_EQ(st->tileset.TileSize, c.tileSize);
        EXPECT_EQ(st->geo.PaintSymbol, 42);
        if (c.renders) {
            EXPECT_EQ(st->tileset.CurrentTilesetName, QString::fromLatin1(c.geoName.c_str()));
            EXPECT_EQ(MapTilesetName(st->map), c.geoName); // the map follows the GeoSet's tileset
        }
        EXPECT_EQ(st->enabled, 1);
    }
}

TEST(GeoSet, UnusableTilesetIsReportedAfterTheGeoSetIsIn) {
    qmtest::TempDir dir;
    qmtest::WriteAll(dir.File("broken.bmp"), {'B', 'M', 1, 2, 3});
    InFolder here(dir.Path());
    auto st = State();
    static TGeoSetRecord file;
    ClearGeoSetRecord(file, "broken.bmp");
    file.Position = 6;
    WriteGeoSetFile(dir.File("g.geo"), file);
    EXPECT_THROW(LoadGeoSet(st->doc, Q(dir.File("g.geo"))), TTilesetError);
    EXPECT_EQ(st->geo.Position, 6);
    EXPECT_EQ(st->tileset.TileSize, 48); // the old symbols stay in use
    EXPECT_EQ(st->enabled, 1);
    EXPECT_EQ(st->selectorUpdates, 1);
}

TEST(GeoSet, SaveAsksBeforeReplacingAndRemembersThePath) {
    qmtest::TempDir dir;
    const std::string target = dir.File("kept.geo");
    struct Case {
        bool exists;
        TConfirm answer;
        bool written;
    } cases[] = {
        {false, TConfirm::No, true}, // nothing to replace: no question
        {true, TConfirm::Yes, true},
        {true, TConfirm::No, false},
        {true, TConfirm::Cancel, false},
    };
    for (const Case& c : cases) {
        auto st = State();
        QFile::remove(Q(target));
        if (c.exists) qmtest::WriteAll(target, {1, 2, 3});
        st->geo.PaintSymbol = 77;
        st->dialogs.FileAnswers = {Q(target)};
        st->dialogs.ConfirmAnswers = {c.answer};

        EXPECT_EQ(GeoSaveExecute(st->doc), c.written);

        EXPECT_EQ(st->dialogs.LastFilter, "Quillmarch GeoSets (*.geo)");
        EXPECT_EQ(st->dialogs.LastSuffix, "geo");
        EXPECT_EQ(st->dialogs.FileDirs, QStringList{st->doc.DialogDir}); // nothing read or saved yet
        if (c.exists) {
            ASSERT_EQ(st->dialogs.Confirms.size(), 1);
            EXPECT_EQ(st->dialogs.Confirms[0], "OK to overwrite " + Q(target));
        } else {
            EXPECT_TRUE(st->dialogs.Confirms.isEmpty());
        }
        const auto bytes = qmtest::ReadAll(target);
        if (c.written) {
            ASSERT_EQ(bytes.size(), sizeof(TGeoSetRecord));
            EXPECT_EQ(std::memcmp(bytes.data(), &st->geo, bytes.size()), 0);
            EXPECT_EQ(st->fileName(), Q(target));
        } else {
            EXPECT_EQ(bytes, (std::vector<unsigned char>{1, 2, 3}));
            EXPECT_TRUE(st->fileName().isEmpty());
        }
        EXPECT_EQ(st->enabled, -1); // saving is not reading: generation stays as it was
    }
}

TEST(GeoSet, SaveOffersTheFileLastReadAndCancelWritesNothing) {
    qmtest::TempDir dir;
    auto st = State();
    WriteGeoSetFile(dir.File("a.geo"), st->geo);
    LoadGeoSet(st->doc, Q(dir.File("a.geo")));
    EXPECT_FALSE(GeoSaveExecute(st->doc));
    EXPECT_EQ(st->dialogs.FileDirs, QStringList{Q(dir.File("a.geo"))});
    EXPECT_EQ(dir.List(), std::vector<std::string>{"a.geo"});
}

TEST(GeoSet, FailedSaveIsReportedAndKeepsTheOldFile) {
    qmtest::TempDir dir;
    auto st = State();
    const std::string nowhere = dir.File("no/such/folder.geo");
    st->dialogs.FileAnswers = {Q(nowhere)};
    try {
        GeoSaveExecute(st->doc);
        ADD_FAILURE() << "no error";
    } catch (const TFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + nowhere + "\". No such file or directory");
    }
    EXPECT_TRUE(st->fileName().isEmpty());

    // A write that breaks off midway leaves the previous file whole.
    qmtest::WriteAll(dir.File("old.geo"), {9, 9, 9});
    st->dialogs.FileAnswers = {Q(dir.File("old.geo"))};
    st->dialogs.ConfirmAnswers = {TConfirm::Yes};
    SetWriteFailureAfterForTesting(1000);
    EXPECT_THROW(GeoSaveExecute(st->doc), TFileError);
    SetWriteFailureAfterForTesting(-1);
    EXPECT_EQ(qmtest::ReadAll(dir.File("old.geo")), (std::vector<unsigned char>{9, 9, 9}));
    EXPECT_EQ(dir.List(), std::vector<std::string>{"old.geo"}); // no temporary file left behind
}

TEST(GeoSet, OpenNewAndStartUp) {
    qmtest::TempDir dir;
    auto st = State();
    static TGeoSetRecord file;
    ClearGeoSetRecord(file, "");
    file.Position = 8;
    file.Section = 3;
    file.Maplet(2, 2).Cell(1, 1).Upper = 99;
    WriteGeoSetFile(dir.File("defaultgeoset.geo"), file);

    EXPECT_FALSE(GeoOpenExecute(st->doc));
    EXPECT_EQ(st->enabled, -1);
    EXPECT_EQ(st->dialogs.LastFilter, "Quillmarch GeoSets (*.geo)");

    st->dialogs.FileAnswers = {Q(dir.File("defaultgeoset.geo"))};
    EXPECT_TRUE(GeoOpenExecute(st->doc));
    EXPECT_EQ(std::memcmp(&st->geo, &file, sizeof file), 0);
    EXPECT_EQ(st->enabled, 1);

    GeoNewExecute(st->doc);
    EXPECT_EQ(st->enabled, 0);
    EXPECT_EQ(st->geo.Maplet(2, 2).Cell(1, 1).Upper, 0);
    EXPECT_EQ(st->geo.Position, 1);
    EXPECT_EQ(st->selectorUpdates, 2);

    auto withFile = State();
    GeoSetStartup(withFile->doc, Q(dir.Path()));
    EXPECT_EQ(withFile->enabled, 1);
    EXPECT_EQ(withFile->geo.Position, 8);
    EXPECT_EQ(withFile->geo.Section, 3);

    qmtest::TempDir empty;
    auto without = State();
    Pattern(without->geo, 1);
    GeoSetStartup(without->doc, Q(empty.Path()));
    EXPECT_EQ(without->enabled, 0);
    EXPECT_EQ(without->geo.Maplet(9, 6).Cell(12, 12).Upper, 0);
    EXPECT_TRUE(without->fileName().isEmpty());
}

TEST(MapletPaint, LayerModeDecidesTheByteWritten) {
    static TGeoSetRecord geo;
    std::array<uint8_t, 256> flags{};
    flags[40] = 1; // an upper-layer symbol; 17 stays a lower-layer one
    struct Case {
        uint8_t mode, symbol;
        TMapCell before, after;
    } cases[] = {
        {lmAuto, 40, {5, 6, 7}, {40, 6, 7}},
        {lmAuto, 17, {5, 6, 7}, {5, 17, 7}}, // the upper symbol stays above the new ground
        {lmAuto, 0, {5, 6, 7}, {0, 0, 7}},
        {lmUpper, 17, {5, 6, 7}, {17, 6, 7}},
        {lmUpper, 0, {5, 6, 7}, {0, 6, 7}},
        {lmLower, 40, {5, 6, 7}, {5, 40, 7}},
        {lmLower, 0, {5, 6, 7}, {5, 0, 7}},
        {9, 40, {5, 6, 7}, {40, 6, 7}}, // a foreign mode byte paints as automatic
    };
    for (const Case& c : cases) {
        ClearGeoSetRecord(geo, "");
        geo.LayerMode = c.mode;
        geo.Maplet(3, 4).Cell(2, 5) = c.before;
        PaintMapletCell(geo, 3, 4, 1, 4, c.symbol, flags);
        const TMapCell& got = geo.Maplet(3, 4).Cell(2, 5);
        EXPECT_EQ(got.Upper, c.after.Upper) << int(c.mode) << " " << int(c.symbol);
        EXPECT_EQ(got.Lower, c.after.Lower) << int(c.mode) << " " << int(c.symbol);
        EXPECT_EQ(got.Spare, c.after.Spare);
    }
    // Outside the 12 x 12 grid nothing is written.
    static TGeoSetRecord before;
    before = geo;
    for (auto [c, r] : {std::pair{-1, 0}, {12, 0}, {0, 12}, {0, -1}}) PaintMapletCell(geo, 3, 4, c, r, 40, flags);
    EXPECT_EQ(std::memcmp(&geo, &before, sizeof geo), 0);
}

TEST(MapletPaint, MapletCellsShowHiddenSymbolsAndNoBackground) {
    auto st = State();
    ASSERT_EQ(st->tileset.HiddenFlags[34], 1);
    st->map.ShowHidden = 0;
    st->geo.Maplet(1, 1).Cell(3, 3) = {34, 1, 0};
    QImage maplet, ground;
    DrawMapletCell(maplet, st->tileset, st->geo, 1, 1, 3, 3);
    ComposeSymbol(ground, st->tileset, 1);
    ASSERT_EQ(maplet.size(), QSize(48, 48));
    EXPECT_NE(maplet.convertToFormat(QImage::Format_RGB32), ground.convertToFormat(QImage::Format_RGB32));
    // An empty cell is plain white, whatever the map's background.
    st->map.Background = 1;
    DrawMapletCell(maplet, st->tileset, st->geo, 1, 1, 4, 4);
    EXPECT_EQ(maplet.pixelColor(10, 10), QColor(Qt::white));
    EXPECT_EQ(maplet.pixelColor(47, 47), QColor(Qt::white));
}

TEST(GeoSet, SaveOverItsFileChangedByAnotherProgramAsksFirst) {
    const QString question = "a.geo was changed by another program since it was opened. Overwrite it?";
    const struct {
        TConfirm answer;
        bool mineInA, writesB;
    } cases[] = {{TConfirm::Cancel, false, false}, {TConfirm::Yes, true, false}, {TConfirm::No, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.answer));
        qmtest::TempDir dir;
        auto st = State();
        WriteGeoSetFile(dir.File("a.geo"), st->geo);
        LoadGeoSet(st->doc, Q(dir.File("a.geo")));
        st->geo.PaintSymbol = 77;
        // A second copy of the program opens the same file, changes it and saves.
        auto other = std::make_unique<TGeoSetDocument>(st->tileset);
        other->Open(Q(dir.File("a.geo")));
        other->GeoSet.PaintSymbol = 99;
        other->Save(Q(dir.File("a.geo")));
        const auto theirs = qmtest::ReadAll(dir.File("a.geo"));

        st->dialogs.FileAnswers = {Q(dir.File("a.geo")), Q(dir.File("b.geo"))};
        st->dialogs.ConfirmAnswers = {c.answer};
        EXPECT_EQ(GeoSaveExecute(st->doc), c.answer != TConfirm::Cancel);
        EXPECT_EQ(st->dialogs.Confirms, QStringList{question});
        EXPECT_EQ(qmtest::ReadAll(dir.File("a.geo"))[offsetof(TGeoSetRecord, PaintSymbol)], c.mineInA ? 77 : 99);
        EXPECT_EQ(qmtest::ReadAll(dir.File("a.geo")) == theirs, !c.mineInA);
        EXPECT_EQ(QFile::exists(Q(dir.File("b.geo"))), c.writesB);
    }
}
