// quillmarch-render as a whole process: exit codes and messages for every kind of
// bad input, and pictures equal to the program's own composition.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <cstring>
#include <sys/stat.h>

#include "export/ExportPicture.h"
#include "model/MapKey.h"
#include "model/RecordFile.h"
#include "render/Render.h"
#include "tests/RunProgram.h"
#include "tests/TestSupport.h"
#include "tests/support/BuiltInTileset.h"
#include "tiles/TilesetLookup.h"

using namespace qm;

namespace {

using TResult = qmtest::TRunResult;

TResult RunRenderer(const QStringList& args) {
    return qmtest::RunProgram(QStringLiteral(QM_PROGRAM_DIR "/quillmarch-render"), args);
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A map drawn with the default tileset: floors, ground, objects, a hidden marker.
TMapRecord SampleMap() {
    TMapRecord m;
    ClearMapRecord(m);
    m.Background = 11;
    m.Zoom = 8;
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            if ((x + y) % 3 == 0) m.Cell(x, y).Lower = 17;
            if ((x * y) % 7 == 0) m.Cell(x, y).Upper = uint8_t(26 + x % 6);
        }
    m.Cell(3, 3).Upper = 35; // hidden
    m.Cell(72, 1).Upper = 144;
    return m;
}

int MaxDiff(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) return 999;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    int m = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c) {
            const QRgb p = x.pixel(c, r), q = y.pixel(c, r);
            m = std::max(
                {m, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return m;
}

} // namespace

TEST(RenderRun, PictureEqualsTheProgramsComposition) {
    qmtest::TempDir dir;
    TMapRecord map = SampleMap();
    WriteMapFile(dir.File("m.map"), map);
    struct Case {
        QStringList opts;
        TGridRect area;
        int zoom;
        int showHidden;
    } cases[] = {
        {{}, WholeMapArea, 8, 1},                                           // the map's own zoom
        {{"--zoom", "20", "--region", "70,1,72,2"}, {69, 0, 71, 1}, 20, 1}, // corner region
        {{"--zoom", "48", "--region", "3,3,3,3"}, {2, 2, 2, 2}, 48, 1},     // 1 x 1, hidden shown
        {{"--zoom", "48", "--region", "3,3,3,3", "--show-hidden", "off"}, {2, 2, 2, 2}, 48, 0},
    };
    for (const auto& c : cases) {
        const std::string out = dir.File("p.png");
        QStringList args = c.opts;
        args << Q(dir.File("m.map")) << Q(out);
        const TResult r = RunRenderer(args);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, out + "\n");
        EXPECT_EQ(r.err, "");
        TMapRecord shown = map;
        shown.ShowHidden = uint8_t(c.showHidden);
        EXPECT_EQ(MaxDiff(QImage(Q(out)), ComposeMapPicture(shown, qmtest::BuiltInTileset(), c.area, c.zoom)), 0)
            << args.join(' ').toStdString();
    }
    // Show Hidden off really changes the hidden cell.
    TMapRecord off = map;
    off.ShowHidden = 0;
    EXPECT_GT(MaxDiff(ComposeMapPicture(off, qmtest::BuiltInTileset(), {2, 2, 2, 2}, 48),
                      ComposeMapPicture(map, qmtest::BuiltInTileset(), {2, 2, 2, 2}, 48)),
              0);
}

TEST(RenderRun, BadInputExitCodesAndMessages) {
    qmtest::TempDir dir;
    WriteMapFile(dir.File("m.map"), SampleMap());
    qmtest::WriteAll(dir.File("notes.bmp"), {'h', 'e', 'l', 'l', 'o'});
    ASSERT_EQ(::mkdir(dir.File("folder.pdf").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(dir.File("pics.png").c_str(), 0755), 0);
    const std::string map = dir.File("m.map");
    struct Case {
        QStringList args;
        int code;
        std::string errStart;
    } cases[] = {
        {{}, 2, "quillmarch-render: expected MAP and OUTPUT\nUsage: quillmarch-render [options] MAP OUTPUT"},
        {{Q(map), Q(dir.File("o.gif"))}, 2, "quillmarch-render: OUTPUT must end in"},
        {{"--bogus", Q(map), Q(dir.File("o.png"))}, 2, "quillmarch-render: unknown option --bogus"},
        {{"--zoom", "0", Q(map), Q(dir.File("o.png"))},
         1,
         "quillmarch-render: --zoom must be a whole number from 1 to 256"},
        {{Q(dir.File("none.map")), Q(dir.File("o.png"))},
         1,
         "quillmarch-render: Cannot open file \"" + dir.File("none.map") + "\". No such file or directory"},
        {{Q(dir.Path()), Q(dir.File("o.png"))},
         1,
         "quillmarch-render: Cannot open file \"" + dir.Path() + "\". Is a directory"},
        {{"--tileset", Q(dir.File("none.bmp")), Q(map), Q(dir.File("o.png"))},
         1,
         "quillmarch-render: Cannot use tileset \"" + dir.File("none.bmp") + "\". No such file."},
        {{"--tileset", Q(dir.File("notes.bmp")), Q(map), Q(dir.File("o.png"))},
         1,
         "quillmarch-render: Cannot use tileset \"" + dir.File("notes.bmp") + "\": the file is not a BMP picture.\n"},
        {{Q(map), Q(dir.File("no/such/o.png"))},
         1,
         "quillmarch-render: Cannot create file \"" + dir.File("no/such/o.png") + "\". No such file or directory"},
        {{Q(map), Q(dir.File("no/such/o.pdf"))},
         1,
         "quillmarch-render: Cannot create file \"" + dir.File("no/such/o.pdf") + "\". No such file or directory"},
        {{Q(map), Q(dir.File("folder.pdf"))},
         1,
         "quillmarch-render: Cannot create file \"" + dir.File("folder.pdf") + "\". Is a directory"},
        {{Q(map), Q(dir.File("pics.png"))},
         1,
         "quillmarch-render: Cannot create file \"" + dir.File("pics.png") + "\". Is a directory"},
    };
    for (const auto& c : cases) {
        const TResult r = RunRenderer(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(' ').toStdString() << "\n" << r.err;
        EXPECT_EQ(r.err.substr(0, c.errStart.size()), c.errStart) << r.err;
        EXPECT_EQ(r.out, "");
        // Nothing but the inputs is left behind.
        EXPECT_EQ(dir.List(), (std::vector<std::string>{"folder.pdf", "m.map", "notes.bmp", "pics.png"}))
            << c.args.join(' ').toStdString();
    }
    const TResult help = RunRenderer({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("Usage: quillmarch-render [options] MAP OUTPUT", 0), 0u);
}

// A map file of another length than one map record ends the run, as the window's notice
// would warn, unless --accept-any-size reads it the window's way.
TEST(RenderRun, MapOfTheWrongSizeStopsUnlessAccepted) {
    qmtest::TempDir dir;
    std::vector<unsigned char> whole(sizeof(TMapRecord));
    const TMapRecord sample = SampleMap();
    std::memcpy(whole.data(), &sample, whole.size());
    struct Case {
        const char* name;
        size_t length;
    } cases[] = {{"empty.map", 0}, {"cut.map", 9000}, {"long.map", sizeof(TMapRecord) + 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> bytes(whole.begin(), whole.begin() + std::min(c.length, whole.size()));
        bytes.resize(c.length, 7);
        qmtest::WriteAll(dir.File(c.name), bytes);
        const TResult refused = RunRenderer({Q(dir.File(c.name)), Q(dir.File("o.png"))});
        EXPECT_EQ(refused.code, 1);
        EXPECT_EQ(refused.err, "quillmarch-render: " + dir.File(c.name) + " is not a Quillmarch map (" +
                                   std::to_string(c.length) + " bytes); give --accept-any-size to read it anyway.\n");
        EXPECT_FALSE(QFile::exists(Q(dir.File("o.png"))));
        // Read anyway: an empty file has no zoom of its own, so that one needs --zoom.
        const TResult read = RunRenderer(
            {"--accept-any-size", "--zoom", "2", Q(dir.File(c.name)), Q(dir.File("o.png"))});
        EXPECT_EQ(read.code, 0) << read.err;
        EXPECT_TRUE(QFile::remove(Q(dir.File("o.png"))));
    }
}

TEST(RenderRun, ExistingOutputSurvivesAFailure) {
    qmtest::TempDir dir;
    TMapRecord map = SampleMap();
    map.Zoom = 0; // no zoom of its own
    WriteMapFile(dir.File("m.map"), map);
    qmtest::WriteAll(dir.File("o.png"), {1, 2, 3});
    const TResult r = RunRenderer({Q(dir.File("m.map")), Q(dir.File("o.png"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "quillmarch-render: The map \"" + dir.File("m.map") + "\" has no zoom of its own (0); give --zoom N.\n");
    EXPECT_EQ(qmtest::ReadAll(dir.File("o.png")), (std::vector<unsigned char>{1, 2, 3}));
    EXPECT_EQ(dir.List(), (std::vector<std::string>{"m.map", "o.png"}));
}

// Where the map's tileset is looked for: beside the map, then in the program folder.
TEST(RenderRun, TilesetLookup) {
    qmtest::TempDir mapDir, progDir;
    const QString prog = Q(progDir.Path()) + "/";
    QImage sheet(256, 256, QImage::Format_RGB32);
    sheet.fill(Qt::red);
    TMapRecord map = SampleMap();
    SetMapTilesetName(map, "custom.bmp");
    WriteMapFile(mapDir.File("m.map"), map);
    TRenderArgs args;
    args.MapPath = mapDir.File("m.map");

    EXPECT_EQ(ChooseTilesetFile(args, map, prog), QString()); // nowhere: built-in
    const QString user = UserTilesetFolder();
    ASSERT_TRUE(QDir().mkpath(user));
    sheet.save(user + "custom.bmp", "BMP");
    EXPECT_EQ(ChooseTilesetFile(args, map, prog), user + "custom.bmp"); // where the program finds it too
    sheet.save(Q(progDir.File("custom.bmp")), "BMP");
    EXPECT_EQ(ChooseTilesetFile(args, map, prog), Q(progDir.File("custom.bmp")));
    sheet.save(Q(mapDir.File("custom.bmp")), "BMP");
    EXPECT_EQ(ChooseTilesetFile(args, map, prog), Q(mapDir.File("custom.bmp")));
    args.TilesetPath = progDir.File("custom.bmp");
    EXPECT_EQ(ChooseTilesetFile(args, map, prog), Q(progDir.File("custom.bmp")));
    // A name with folders in it is cut to its file name.
    args.TilesetPath.clear();
    SetMapTilesetName(map, "../../etc/custom.bmp");
    EXPECT_EQ(ChooseTilesetFile(args, map, prog), Q(mapDir.File("custom.bmp")));

    // The whole process draws with the tileset found beside the map.
    const TResult r = RunRenderer(
        {"--zoom", "4", "--region", "2,2,2,2", Q(mapDir.File("m.map")), Q(mapDir.File("c.png"))});
    ASSERT_EQ(r.code, 0) << r.err;
    const QImage cell(Q(mapDir.File("c.png")));
    ASSERT_EQ(cell.size(), QSize(4, 4));
    EXPECT_EQ(cell.pixel(2, 2), qRgb(255, 0, 0));
    QFile::remove(user + "custom.bmp");
}

// A roles table beside the tileset that cannot be read: the tabletop export, which needs
// its walls, refuses naming the line; the other outputs say so and draw with the
// terrain roles only.
TEST(RenderRun, BrokenRolesTable) {
    qmtest::TempDir dir;
    QImage sheet(256, 256, QImage::Format_RGB32);
    sheet.fill(Qt::red);
    sheet.save(Q(dir.File("cave.bmp")), "BMP");
    const std::string text = "46 lamp range=3 Glow worms\n";
    qmtest::WriteAll(dir.File("cave.roles"), std::vector<unsigned char>(text.begin(), text.end()));
    WriteMapFile(dir.File("m.map"), SampleMap());
    const std::string said = "quillmarch-render: cave.roles, line 1: unknown role \"lamp\"";
    const struct {
        const char* out;
        int code;
    } cases[] = {{"m.dd2vtt", 1}, {"m.tmx", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.out);
        const TResult r = RunRenderer({"--tileset", Q(dir.File("cave.bmp")), Q(dir.File("m.map")), Q(dir.File(c.out))});
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_EQ(r.err.substr(0, said.size()), said);
        EXPECT_EQ(QFile::exists(Q(dir.File(c.out))), c.code == 0);
    }
}

namespace {
// Page objects in a PDF file ("/Type /Page", not the "/Type /Pages" tree node).
int PdfPages(const std::string& path) {
    const auto bytes = qmtest::ReadAll(path);
    const std::string s(bytes.begin(), bytes.end());
    int n = 0;
    for (size_t at = s.find("/Type /Page"); at != std::string::npos; at = s.find("/Type /Page", at + 1))
        if (at + 11 >= s.size() || s[at + 11] != 's') ++n;
    return n;
}
} // namespace

TEST(RenderRun, PdfPageCounts) {
    qmtest::TempDir dir;
    WriteMapFile(dir.File("keep.map"), SampleMap());
    const QString map = Q(dir.File("keep.map"));
    struct Case {
        QStringList opts;
        int pages;
    } cases[] = {
        {{"--scale", "1.00", "--paper", "letter", "--resolution", "600"}, 121}, // 11 x 11 pages
        {{"--scale", "1.00", "--pages", "12-12"}, 1},
        {{"--scale", "1.00", "--pages", "120-999"}, 2}, // stops at the last page
        {{}, 1},                                        // fit to page
        {{"--area", "3,3,3,3", "--grid", "squares", "--title", "off", "--paper", "a4"}, 1},
        // 3 x 5 cells a page: 10 x 10 cells need 4 x 2 pages, so a grid of 4 x 4
        {{"--area", "1,1,10,10", "--scale", "1.50", "--margins", "1.50,1.50,1.50,1.50", "--resolution", "100"}, 16},
    };
    for (const auto& c : cases) {
        const std::string out = dir.File("keep.pdf");
        const TResult r = RunRenderer(QStringList(c.opts) << map << Q(out));
        ASSERT_EQ(r.code, 0) << c.opts.join(' ').toStdString() << "\n" << r.err;
        EXPECT_EQ(r.out, out + "\n");
        EXPECT_EQ(PdfPages(out), c.pages) << c.opts.join(' ').toStdString();
        EXPECT_EQ(dir.List(), (std::vector<std::string>{"keep.map", "keep.pdf"}));
        QFile::remove(Q(out));
    }
}

TEST(RenderRun, BattleMatSheetsAndThePlayerCopy) {
    qmtest::TempDir dir;
    WriteMapFile(dir.File("keep.map"), SampleMap());
    const QString map = Q(dir.File("keep.map"));
    const std::string out = dir.File("keep.pdf");
    struct Case {
        QStringList opts;
        int pages;
    };
    const Case cases[] = {
        // 20 x 20 cells at 7 x 10 a sheet: a grid of 3 x 3 sheets of which 3 x 2 hold cells;
        // a half-inch overlap leaves 7 x 9 a sheet, and all 3 x 3 hold cells.
        {{"--scale", "1.00", "--area", "1,1,20,20", "--title", "off", "--resolution", "100"}, 9},
        {{"--scale", "1.00", "--area", "1,1,20,20", "--title", "off", "--skip-empty", "on", "--resolution", "100"}, 6},
        {{"--scale", "1.00", "--area", "1,1,20,20", "--title", "off", "--skip-empty", "on", "--overview", "on",
          "--marks", "on", "--resolution", "100"},
         7},
        {{"--scale", "1.00", "--area", "1,1,20,20", "--title", "off", "--skip-empty", "on", "--overlap", "0.5",
          "--resolution", "100"},
         9},
        // A one-row area: 11 sheets across, 1 down, not a square of 11 x 11; the drawn part of this
        // map is the whole map, so 11 x 8.
        {{"--scale", "1.00", "--area", "1,1,72,9", "--sheets", "fit", "--resolution", "100"}, 11},
        {{"--scale", "1.00", "--area", "drawn", "--title", "off", "--sheets", "fit", "--resolution", "100"}, 88},
    };
    for (const Case& c : cases) {
        const TResult r = RunRenderer(QStringList(c.opts) << map << Q(out));
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(PdfPages(out), c.pages) << c.opts.join(' ').toStdString();
    }
    // The hidden marker of cell (3, 3) prints as the map says, or not at all in the player copy.
    auto cell = [&](const QString& showHidden) {
        QStringList args{"--area", "3,3,3,3", "--title", "off", "--resolution", "100"};
        if (!showHidden.isEmpty()) args << "--show-hidden" << showHidden;
        const TResult r = RunRenderer(args << map << Q(out));
        EXPECT_EQ(r.code, 0) << r.err;
        QProcess raster;
        raster.start("pdftoppm", {"-png", "-r", "20", "-singlefile", Q(out), Q(dir.File("cell"))});
        raster.waitForFinished(60000);
        return QImage(Q(dir.File("cell.png"))).copy(20, 20, 120, 120);
    };
    const QImage asMap = cell(""), shown = cell("on"), player = cell("off");
    EXPECT_EQ(MaxDiff(asMap, shown), 0);
    EXPECT_GT(MaxDiff(shown, player), 40);
}

TEST(RenderRun, NothingDrawnToPrintIsAnErrorAndWritesNothing) {
    qmtest::TempDir dir;
    TMapRecord empty;
    ClearMapRecord(empty);
    empty.Background = 11;
    WriteMapFile(dir.File("e.map"), empty);
    for (const char* option : {"--area=drawn", "--skip-empty=on"}) {
        const TResult r = RunRenderer({option, Q(dir.File("e.map")), Q(dir.File("e.pdf"))});
        EXPECT_EQ(r.code, 1) << option;
        EXPECT_EQ(r.err, "quillmarch-render: Nothing is drawn in the print area of the map \"" + dir.File("e.map") +
                             "\": there is nothing to print.\n");
        EXPECT_EQ(dir.List(), std::vector<std::string>{"e.map"});
    }
}

// The key beside the map changes nothing unless asked for: --labels draws its numbers,
// --key pages adds its pages, and a broken key fails only a run that asks for it.
TEST(RenderRun, TheKeyOnlyWhenAskedFor) {
    qmtest::TempDir dir;
    const TMapRecord m = SampleMap();
    WriteMapFile(dir.File("plain.map"), m);
    TMapKey key;
    key.Put({1, 5, 5, "Hall", "Long tables."});
    key.Put({2, 60, 60, "Cellar", ""});
    WriteMapAndKey(dir.File("keyed.map"), m, key);
    const auto render = [&](const char* name, const QStringList& opts, const char* out) {
        const TResult r = RunRenderer(QStringList(opts) << Q(dir.File(name)) << Q(dir.File(out)));
        EXPECT_EQ(r.code, 0) << r.err;
        return qmtest::ReadAll(dir.File(out));
    };
    EXPECT_EQ(render("keyed.map", {"--zoom", "16"}, "a.png"), render("plain.map", {"--zoom", "16"}, "b.png"));
    EXPECT_NE(render("keyed.map", {"--zoom", "16", "--labels", "on"}, "c.png"),
              render("plain.map", {"--zoom", "16"}, "b.png"));
    const QImage labelled(Q(dir.File("c.png")));
    int disc = 0; // the disc's dark ink over cell 5, 5
    for (int y = 64; y < 80; ++y)
        for (int x = 64; x < 80; ++x) disc += labelled.pixel(x, y) == qRgb(24, 40, 96);
    EXPECT_GT(disc, 40);
    // A tabletop file too: the numbers only in the game master's copy asked for (small
    // cells: the picture's size is not what is tested).
    const QStringList small = {"--ppg", "24"};
    EXPECT_EQ(render("keyed.map", small, "a.dd2vtt"), render("plain.map", small, "b.dd2vtt"));
    EXPECT_NE(render("keyed.map",
                     QStringList(small) << "--labels"
                                        << "on",
                     "c.dd2vtt"),
              render("plain.map", small, "b.dd2vtt"));
    render("keyed.map", {"--key", "pages"}, "k.pdf");
    EXPECT_EQ(PdfPages(dir.File("k.pdf")), 2);
    QProcess text;
    text.start("pdftotext", {Q(dir.File("k.pdf")), "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains("Map Key - keyed.map") && printed.contains("1. Hall") &&
                printed.contains("Long tables.") && printed.contains("2. Cellar"))
        << printed.toStdString();

    qmtest::WriteAll(dir.File("keyed.key.md"), std::vector<unsigned char>{'x', '\n'});
    EXPECT_EQ(RunRenderer({Q(dir.File("keyed.map")), Q(dir.File("d.png"))}).code, 0);
    const TResult bad = RunRenderer({"--labels", "on", Q(dir.File("keyed.map")), Q(dir.File("e.png"))});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("keyed.key.md\", line 1"), std::string::npos) << bad.err;
    EXPECT_EQ(RunRenderer({"--key", "maybe", Q(dir.File("keyed.map")), Q(dir.File("k.pdf"))}).code, 1);
}

namespace {
QByteArray WithoutDate(const std::string& pdf) {
    QFile f(Q(pdf));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QByteArray b = f.readAll();
    const qsizetype at = b.indexOf("/CreationDate (");
    if (at >= 0) b.remove(at, b.indexOf(')', at) - at);
    return b;
}
} // namespace

TEST(RenderRun, RockAsDrawnIsTodaysOutputAndPaperPrintsTheRooms) {
    qmtest::TempDir dir;
    ASSERT_EQ(RunRenderer({"--generate", "dungeon", "--seed", "7", Q(dir.File("d.map"))}).code, 0);
    const QString map = Q(dir.File("d.map"));
    // No title: no font in the file, whose choice among equal fonts may vary from run to run.
    const QStringList pdf = {"--scale", "0.50",    "--area", "drawn",       "--sheets", "fit",          "--skip-empty",
                             "on",      "--title", "off",    "--ink-saver", "on",       "--resolution", "72"};
    struct Case {
        const char* rock; // nullptr: no --rock
        int pages;
    } const cases[] = {{nullptr, 20}, {"drawn", 20}, {"hatched", 17}, {"white", 17}};
    for (const Case& c : cases) {
        const QStringList rock = c.rock ? QStringList{"--rock", c.rock} : QStringList{};
        const std::string name = c.rock ? c.rock : "default";
        ASSERT_EQ(RunRenderer(QStringList(pdf) << rock << map << Q(dir.File(name + ".pdf"))).code, 0);
        ASSERT_EQ(RunRenderer(QStringList{"--zoom", "8"} << rock << map << Q(dir.File(name + ".png"))).code, 0);
        EXPECT_EQ(PdfPages(dir.File(name + ".pdf")), c.pages) << name;
    }
    EXPECT_EQ(WithoutDate(dir.File("drawn.pdf")), WithoutDate(dir.File("default.pdf")));
    EXPECT_EQ(qmtest::ReadAll(dir.File("drawn.png")), qmtest::ReadAll(dir.File("default.png")));
    // Paper rock: a fraction of the ink saver's PDF (whose cells are each an image), rock white
    // in the picture.
    EXPECT_LT(QFileInfo(Q(dir.File("hatched.pdf"))).size() * 4, QFileInfo(Q(dir.File("drawn.pdf"))).size());
    const QImage drawn(Q(dir.File("drawn.png"))), white(Q(dir.File("white.png")));
    EXPECT_NE(drawn.pixel(4, 4), qRgb(255, 255, 255));
    EXPECT_EQ(white.pixel(4, 4), qRgb(255, 255, 255));
}
