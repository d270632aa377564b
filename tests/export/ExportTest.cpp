// Exported pictures against the program's own composition and the map grid itself.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPainter>
#include <QTimer>
#include <fstream>
#include <sys/stat.h>

#include "compose/CellPainters.h"
#include "compose/PaperRock.h"
#include "dialogs/Dialogs.h"
#include "editor/DrawGrid.h"
#include "export/ExportCommands.h"
#include "export/ExportPicture.h"
#include "export/PictureRockDialog.h"
#include "export/VttOptionsDialog.h"
#include "tests/TestSupport.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/support/BuiltInTileset.h"
#include "tests/support/ScriptedDialogs.h"

using namespace qm;
using exporttest::Compare;
using exporttest::FileErrorOf;

namespace {

QRect PixelRect(const TGridRect& a, int zoom) {
    return QRect(a.Left * zoom, a.Top * zoom, a.Width() * zoom, a.Height() * zoom);
}

QImage Read(const std::string& path) { return QImage(QString::fromStdString(path)); }

struct TDialogsGuard {
    qmtest::TScriptedDialogs fake;
    TDialogsGuard() { SetDialogs(&fake); }
    ~TDialogsGuard() { SetDialogs(nullptr); }
};

class ExportTest : public ::testing::Test {
protected:
    TRenderedTileset ts = exporttest::MakeTileset(8);
    TMapRecord map = exporttest::MakeMap();
};

} // namespace

// The picture is what the map grid paints, pixel for pixel, wherever the grid scrolls.
TEST_F(ExportTest, PictureIsWhatTheMapGridShows) {
    for (int zoom : {8, 16, 32}) {
        SCOPED_TRACE(zoom);
        TDrawGrid grid;
        grid.SetColCount(MapSize);
        grid.SetRowCount(MapSize);
        grid.SetGridLineWidth(0);
        grid.SetCellSize(zoom, zoom);
        QImage cellBitmap;
        TCellCache cache; // as the main window paints its grid
        grid.SetDrawCell([&](QPainter& p, int c, int r, const QRect& rect, bool) {
            DrawMapGridCell(p, c, r, rect, false, map, ts, cellBitmap, &cache);
        });
        grid.resize(333, 257);
        grid.show();
        grid.ScrollToCell(50, 47);
        QApplication::processEvents();
        const QImage shown = grid.viewport()->grab().toImage();
        const QPoint origin = grid.CellRect(0, 0).topLeft();
        const QImage picture = ComposeMapPicture(map, ts, WholeMapArea, zoom);
        ASSERT_EQ(picture.size(), QSize(MapSize * zoom, MapSize * zoom));
        const QRect part(-origin, shown.size());
        ASSERT_TRUE(picture.rect().contains(part));
        const auto d = Compare(shown, picture.copy(part));
        EXPECT_TRUE(d.SameSize);
        EXPECT_EQ(d.Max, 0);
    }
}

// Files of each format, for the whole map and for regions at its corners and edges,
// hold the composed picture, and a region is exactly its part of the whole map.
TEST_F(ExportTest, FilesHoldTheComposedPicture) {
    struct Area {
        TGridRect rect;
        int zoom;
    } areas[] = {
        {WholeMapArea, 8},  {{71, 71, 71, 71}, 32},                      // 1 x 1 at the bottom-right corner
        {{0, 0, 0, 0}, 16},                                              // 1 x 1 at the top-left corner
        {{0, 0, 4, 2}, 16}, {{68, 10, 71, 13}, 48}, {{3, 65, 9, 71}, 5}, // odd width: BMP rows need padding
    };
    for (const auto& a : areas) {
        const QImage whole = ComposeMapPicture(map, ts, WholeMapArea, a.zoom);
        const QImage picture = ComposeMapPicture(map, ts, a.rect, a.zoom);
        EXPECT_EQ(Compare(picture, whole.copy(PixelRect(a.rect, a.zoom))).Max, 0);
        for (auto format : {TPictureFormat::Bmp, TPictureFormat::Png, TPictureFormat::Jpeg}) {
            SCOPED_TRACE(std::string(FormatExtension(format)) + " area " + std::to_string(a.rect.Left) + "," +
                         std::to_string(a.rect.Top) + " zoom " + std::to_string(a.zoom));
            qmtest::TempDir dir;
            const std::string path = dir.File(std::string("m") + FormatExtension(format));
            ExportMapPicture(path, format, map, ts, a.rect, a.zoom);
            const auto d = Compare(Read(path), picture);
            ASSERT_TRUE(d.SameSize);
            if (format == TPictureFormat::Jpeg) EXPECT_LE(d.Mean, exporttest::ReferenceJpegMean(picture) * 1.1 + 0.5);
            else EXPECT_EQ(d.Max, 0);
        }
    }
}

TEST_F(ExportTest, ShowHiddenOfTheMapDecides) {
    // Cell (72, 72) holds hidden symbol 35 in its upper layer.
    const TGridRect corner{71, 71, 71, 71};
    map.ShowHidden = 1;
    const QImage shown = ComposeMapPicture(map, ts, corner, 8);
    map.ShowHidden = 0;
    const QImage hidden = ComposeMapPicture(map, ts, corner, 8);
    EXPECT_GT(Compare(shown, hidden).Max, 0);
    map.Cell(72, 72).Upper = 0;
    EXPECT_EQ(Compare(ComposeMapPicture(map, ts, corner, 8), hidden).Max, 0);
}

TEST(ExportAreaRule, SelectionOfMoreThanOneCellElseWholeMap) {
    struct Case {
        TGridRect selection, want;
    } cases[] = {
        {{0, 0, 0, 0}, WholeMapArea},         {{40, 12, 40, 12}, WholeMapArea},
        {{40, 12, 41, 12}, {40, 12, 41, 12}}, {{5, 5, 5, 6}, {5, 5, 5, 6}},
        {{0, 0, 71, 71}, WholeMapArea},       {{70, 70, 90, 90}, {70, 70, 71, 71}}, // clipped to the map
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExportArea(c.selection), c.want) << c.selection.Left << "," << c.selection.Top;
}

TEST(TiledNames, SuffixBeforeTheExtension) {
    struct Case {
        QString chosen;
        std::array<QString, 4> want;
    } cases[] = {
        {"/m/keep.png",
         {"/m/keep-top-left.png", "/m/keep-top-right.png", "/m/keep-bottom-left.png", "/m/keep-bottom-right.png"}},
        {"keep", {"keep-top-left", "keep-top-right", "keep-bottom-left", "keep-bottom-right"}},
        {"/a.b/keep", {"/a.b/keep-top-left", "/a.b/keep-top-right", "/a.b/keep-bottom-left", "/a.b/keep-bottom-right"}},
        {"/m/.hidden",
         {"/m/.hidden-top-left", "/m/.hidden-top-right", "/m/.hidden-bottom-left", "/m/.hidden-bottom-right"}},
        {"x.tar.jpg", {"x.tar-top-left.jpg", "x.tar-top-right.jpg", "x.tar-bottom-left.jpg", "x.tar-bottom-right.jpg"}},
    };
    for (const auto& c : cases) EXPECT_EQ(QuarterFileNames(c.chosen), c.want) << c.chosen.toStdString();
}

// The four quarters, laid side by side, are the whole map: every cell exactly once.
TEST_F(ExportTest, TiledQuartersCoverTheMapOnce) {
    const int zoom = 6;
    const QImage whole = ComposeMapPicture(map, ts, WholeMapArea, zoom);
    for (auto format : {TPictureFormat::Bmp, TPictureFormat::Png}) {
        qmtest::TempDir dir;
        const QStringList written = ExportQuarterPictures(QString::fromStdString(dir.File("t.x")), format, map, ts,
                                                          zoom);
        ASSERT_EQ(written.size(), 4);
        EXPECT_EQ(dir.List(),
                  (std::vector<std::string>{"t-bottom-left.x", "t-bottom-right.x", "t-top-left.x", "t-top-right.x"}));
        QImage stitched(whole.size(), QImage::Format_RGB32);
        stitched.fill(Qt::magenta);
        QPainter p(&stitched);
        p.setCompositionMode(QPainter::CompositionMode_Plus); // overlaps would show as sums
        stitched.fill(Qt::black);
        const QPoint at[4] = {{0, 0}, {36 * zoom, 0}, {0, 36 * zoom}, {36 * zoom, 36 * zoom}};
        for (int i = 0; i < 4; ++i) {
            const QImage q = Read(written[i].toStdString());
            EXPECT_EQ(q.size(), QSize(36 * zoom, 36 * zoom));
            p.drawImage(at[i], q);
        }
        p.end();
        EXPECT_EQ(Compare(stitched, whole).Max, 0) << FormatExtension(format);
    }
}

TEST_F(ExportTest, TiledFailureLeavesNoQuarter) {
    qmtest::TempDir dir;
    const std::vector<unsigned char> old = {7, 7};
    qmtest::WriteAll(dir.File("t-top-left.png"), old);
    // The third quarter cannot be written: a folder stands in its place.
    ASSERT_EQ(::mkdir(dir.File("t-bottom-left.png").c_str(), 0755), 0);
    const std::string err = FileErrorOf(
        [&] { ExportQuarterPictures(QString::fromStdString(dir.File("t.png")), TPictureFormat::Png, map, ts, 4); });
    EXPECT_EQ(err, "Cannot create file \"" + dir.File("t-bottom-left.png") + "\". Is a directory");
    EXPECT_EQ(dir.List(), (std::vector<std::string>{"t-bottom-left.png", "t-top-left.png"}));
    EXPECT_EQ(qmtest::ReadAll(dir.File("t-top-left.png")), old);

    // A cancel in the last quarter: nothing written either.
    qmtest::TempDir dir2;
    EXPECT_THROW(ExportQuarterPictures(QString::fromStdString(dir2.File("t.bmp")), TPictureFormat::Bmp, map, ts, 4,
                                       [](int done, int total) {
                                           EXPECT_EQ(total, 4 * 36);
                                           return done < total - 1;
                                       }),
                 TExportCancelled);
    EXPECT_TRUE(dir2.List().empty());
}

TEST_F(ExportTest, MidWriteFailureKeepsTheOldPicture) {
    for (auto format : {TPictureFormat::Bmp, TPictureFormat::Png, TPictureFormat::Jpeg}) {
        qmtest::TempDir dir;
        const std::string path = dir.File("old.pic");
        qmtest::WriteAll(path, {1, 2, 3, 4});
        SetWriteFailureAfterForTesting(2000);
        const std::string err = FileErrorOf([&] { ExportMapPicture(path, format, map, ts, WholeMapArea, 8); });
        SetWriteFailureAfterForTesting(-1);
        EXPECT_EQ(err, "Cannot create file \"" + path + "\". Input/output error") << FormatExtension(format);
        EXPECT_EQ(qmtest::ReadAll(path), (std::vector<unsigned char>{1, 2, 3, 4}));
        EXPECT_EQ(dir.List(), std::vector<std::string>{"old.pic"});
    }
}

TEST_F(ExportTest, CellSizesOutsideTheRangeAreRefused) {
    qmtest::TempDir dir;
    for (int zoom : {0, -3, 1025}) {
        EXPECT_EQ(
            FileErrorOf([&] { ExportMapPicture(dir.File("z.png"), TPictureFormat::Png, map, ts, WholeMapArea, zoom); }),
            "Cannot create file \"" + dir.File("z.png") + "\". A cell size of " + std::to_string(zoom) +
                " pixels is outside 1 to 1024.");
    }
    EXPECT_TRUE(dir.List().empty());
}

TEST_F(ExportTest, ExportImageCommand) {
    TDialogsGuard g;
    qmtest::TempDir dir;
    const TGridRect selection{10, 20, 12, 21};
    struct Case {
        std::string name, filter;
        const char* magic;
        QSize size;
    } cases[] = {
        {"a", "PNG Image File (*.png)", "\x89PNG", {3 * 16, 2 * 16}},
        {"b.png", "Bitmaps (*.bmp)", "\x89PNG", {3 * 16, 2 * 16}}, // the extension wins
        {"c", "JPEG Image File (*.jpg)", "\xff\xd8\xff", {3 * 16, 2 * 16}},
        {"d", "Bitmaps (*.bmp)", "BM", {3 * 16, 2 * 16}},
    };
    for (const auto& c : cases) {
        const QString answer = QString::fromStdString(dir.File(c.name));
        g.fake.FileAnswers = {answer};
        g.fake.SelectedFilter = QString::fromStdString(c.filter);
        EXPECT_EQ(ExportDiskExecute(nullptr, map, ts, selection, 16, "/start/"), answer);
        const auto bytes = qmtest::ReadAll(dir.File(c.name));
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + std::string(c.magic).size()), c.magic) << c.name;
        EXPECT_EQ(Read(dir.File(c.name)).size(), c.size) << c.name;
    }
    EXPECT_EQ(g.fake.LastFilter, "Bitmaps (*.bmp);;JPEG Image File (*.jpg);;PNG Image File (*.png)");
    EXPECT_EQ(g.fake.FileDirs, QStringList(std::size(cases), "/start/"));
    EXPECT_EQ(g.fake.LastSuffix, "");

    // A one-cell selection exports the whole map.
    g.fake.FileAnswers = {QString::fromStdString(dir.File("whole.png"))};
    ExportDiskExecute(nullptr, map, ts, TGridRect{5, 5, 5, 5}, 4, "");
    EXPECT_EQ(Compare(Read(dir.File("whole.png")), ComposeMapPicture(map, ts, WholeMapArea, 4)).Max, 0);

    // Cancelling the dialog writes nothing.
    const auto before = dir.List();
    EXPECT_EQ(ExportDiskExecute(nullptr, map, ts, selection, 16, ""), QString());
    EXPECT_TRUE(ExportDiskTiledExecute(nullptr, map, ts, 16, "").isEmpty());
    EXPECT_EQ(dir.List(), before);
}

TEST_F(ExportTest, TiledCommandWritesFourQuarters) {
    TDialogsGuard g;
    qmtest::TempDir dir;
    g.fake.FileAnswers = {QString::fromStdString(dir.File("q"))};
    g.fake.SelectedFilter = "JPEG Image File (*.jpg)";
    const QStringList written = ExportDiskTiledExecute(nullptr, map, ts, 8, "");
    ASSERT_EQ(written.size(), 4);
    for (const auto& f : written) {
        const auto bytes = qmtest::ReadAll(f.toStdString());
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes[0], 0xff);
        EXPECT_EQ(bytes[1], 0xd8);
        EXPECT_EQ(Read(f.toStdString()).size(), QSize(36 * 8, 36 * 8));
    }
}

TEST_F(ExportTest, CopyImagePutsThePictureOnTheClipboard) {
    struct Case {
        TGridRect selection, area;
        int zoom;
    } cases[] = {
        {{30, 30, 33, 31}, {30, 30, 33, 31}, 16},
        {{30, 30, 30, 30}, WholeMapArea, 4},
    };
    for (const auto& c : cases) {
        QGuiApplication::clipboard()->clear();
        ASSERT_TRUE(ExportImageClipboardExecute(nullptr, map, ts, c.selection, c.zoom));
        const QImage got = QGuiApplication::clipboard()->image();
        const auto d = Compare(got, ComposeMapPicture(map, ts, c.area, c.zoom));
        EXPECT_TRUE(d.SameSize);
        EXPECT_EQ(d.Max, 0);
    }
    // No picture at all: said so, and the clipboard keeps what it had.
    EXPECT_THROW(ExportImageClipboardExecute(nullptr, map, ts, WholeMapArea, 0), std::runtime_error);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(72 * 4, 72 * 4));

    // A zoom a map file can carry (255) would ask for 1.3 GB at once: refused with the size.
    try {
        ExportImageClipboardExecute(nullptr, map, ts, WholeMapArea, 255);
        ADD_FAILURE() << "no error for a 18360 x 18360 picture";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("18360 x 18360 pixels, more than the clipboard takes"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(72 * 4, 72 * 4));
}

TEST_F(ExportTest, AMapWithRockIsAskedHowTheRockPrintsBeforeTheFile) {
    TDialogsGuard g;
    qmtest::TempDir dir;
    const TRenderedTileset& built = qmtest::BuiltInTileset();
    TMapRecord rock;
    ClearMapRecord(rock);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) rock.Cell(x, y).Upper = 141; // all wall terrain
    rock.Cell(5, 5) = {0, 10, 0};
    // Picks an item of the rock dialog once it is up, or cancels it.
    auto answer = [](int item) {
        QTimer::singleShot(0, [item] {
            auto* d = qobject_cast<TPictureRockDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            if (item < 0) return d->reject();
            d->RockCombo->setCurrentIndex(item);
            d->accept();
        });
    };
    const QString path = QString::fromStdString(dir.File("rock.png"));
    answer(-1);
    g.fake.FileAnswers = {path};
    EXPECT_EQ(ExportDiskExecute(nullptr, rock, built, WholeMapArea, 4, ""), QString());
    EXPECT_TRUE(g.fake.FileDirs.isEmpty()); // no file was asked for
    answer(rpWhite);
    EXPECT_EQ(ExportDiskExecute(nullptr, rock, built, WholeMapArea, 4, ""), path);
    EXPECT_EQ(Read(dir.File("rock.png")), ComposeMapPicture(rock, built, WholeMapArea, 4, rpWhite));
    EXPECT_EQ(Read(dir.File("rock.png")).pixel(0, 0), qRgb(255, 255, 255));

    // The tabletop export's dialog has the same choice.
    TVttOptions start;
    start.Rock = rpHatched;
    TVttOptionsDialog vtt(nullptr, start);
    EXPECT_EQ(vtt.RockCombo->currentText(), "Hatched Edge");
    vtt.RockCombo->setCurrentIndex(rpWhite);
    EXPECT_EQ(vtt.Options().Rock, rpWhite);
}
