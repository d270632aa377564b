// quillmarch-render --generate: its options, its mistakes, and a run that writes the same
// map the generator draws.
#include <gtest/gtest.h>

#include <QFile>
#include <cstring>

#include "model/MapKey.h"
#include "render/RenderArgs.h"
#include "tests/RunProgram.h"
#include "tests/TestSupport.h"
#include "tests/support/BuiltInTileset.h"

using namespace qm;

namespace {

TRenderParse Parse(std::vector<std::string> args) { return ParseRenderArgs(args); }

TEST(RenderGenerate, OptionsAndOutputs) {
    auto p = Parse(
        {"--generate", "caves", "--seed", "4294967295", "--density", "many", "--area", "3,4,40,50", "o.png"});
    ASSERT_EQ(p.Kind, TRenderParse::Run) << p.Message;
    ASSERT_TRUE(p.Args.Generate);
    EXPECT_EQ(p.Args.Generate->Style, TGenStyle::Caves);
    EXPECT_EQ(p.Args.Generate->Seed, 4294967295u);
    EXPECT_EQ(p.Args.Generate->Density, TGenDensity::Many);
    EXPECT_EQ(p.Args.Generate->Area, (TGridRect{2, 3, 39, 49}));
    EXPECT_FALSE(p.Args.Region) << "the area is where the map is drawn, not which part of the picture";

    p = Parse({"--generate", "keep", "--area", "map", "--scale", "1.00", "--marks", "on", "o.pdf"});
    ASSERT_EQ(p.Kind, TRenderParse::Run) << p.Message;
    EXPECT_EQ(p.Args.Job, TRenderJob::Pdf);
    EXPECT_FALSE(p.Args.Generate->Seed);
    EXPECT_FALSE(p.Args.Generate->Area);
    EXPECT_TRUE(p.Args.Print.Mat.Marks);

    p = Parse({"--generate", "wilderness", "o.map"});
    ASSERT_EQ(p.Kind, TRenderParse::Run) << p.Message;
    EXPECT_EQ(p.Args.Job, TRenderJob::MapFile);
    p = Parse({"--generate", "dungeon", "--tileset", "t.bmp", "o.tmx"});
    ASSERT_EQ(p.Kind, TRenderParse::Run) << p.Message;
    EXPECT_EQ(p.Args.Job, TRenderJob::TiledExport);
    p = Parse({"--generate", "dungeon", "--ppg", "50", "o.uvtt"});
    ASSERT_EQ(p.Kind, TRenderParse::Run) << p.Message;
    EXPECT_EQ(p.Args.Job, TRenderJob::Vtt);
}

TEST(RenderGenerate, MistakesAndTheirKind) {
    using K = TRenderParse::TKind;
    struct Case {
        std::vector<std::string> args;
        K kind;
        const char* message;
    } cases[] = {
        {{"--generate", "castle", "o.png"},
         K::BadValue,
         "--generate must be dungeon, caves, keep or wilderness, not \"castle\""},
        {{"--generate", "keep", "--seed", "-1", "o.png"},
         K::BadValue,
         "--seed must be a whole number from 0 to 4294967295, not \"-1\""},
        {{"--generate", "keep", "--seed", "4294967296", "o.png"},
         K::BadValue,
         "--seed must be a whole number from 0 to 4294967295, not \"4294967296\""},
        {{"--generate", "keep", "--density", "lots", "o.png"},
         K::BadValue,
         "--density must be few, some or many, not \"lots\""},
        {{"--generate", "keep", "--area", "1,1,11,40", "o.png"},
         K::BadValue,
         "--area must be at least 12 x 12 cells to generate into, not \"1,1,11,40\""},
        {{"--generate", "keep", "--area", "0,1,20,20", "o.png"},
         K::BadValue,
         "--area must be map or L,T,R,B with 1 <= L <= R <= 72 and 1 <= T <= B <= 72, not \"0,1,20,20\""},
        {{"--generate", "keep"}, K::Usage, "expected OUTPUT after --generate STYLE"},
        {{"--generate", "keep", "m.map", "o.png"}, K::Usage, "--generate takes OUTPUT only, not a MAP too"},
        {{"--generate", "keep", "--zoom", "8", "o.map"}, K::Usage, "--zoom does not apply to .map output"},
        {{"--generate", "keep", "--scale", "fit", "o.png"}, K::Usage, "--scale applies to PDF output only"},
        {{"--seed", "3", "m.map", "o.png"}, K::Usage, "--seed applies to --generate only"},
        {{"--density", "few", "m.map", "o.png"}, K::Usage, "--density applies to --generate only"},
        {{"--generate", "caves", "--levels", "6", "o.map"},
         K::BadValue,
         "--levels must be a whole number from 1 to 5, not \"6\""},
        {{"--generate", "caves", "--levels", "2", "--below", "keep", "o.map"},
         K::BadValue,
         "--below must be dungeon or caves, not \"keep\""},
        {{"--generate", "caves", "--below", "dungeon", "o.map"}, K::Usage, "--below needs --levels 2 or more"},
        {{"--generate", "keep", "--levels", "2", "o.png"},
         K::Usage,
         "--levels applies to dungeon and caves only, not \"keep\""},
        {{"--levels", "2", "m.map", "o.png"}, K::Usage, "--levels applies to --generate only"},
    };
    for (const Case& c : cases) {
        const auto p = Parse(c.args);
        EXPECT_EQ(p.Kind, c.kind) << c.message;
        EXPECT_EQ(p.Message, c.message);
    }
}

using TResult = qmtest::TRunResult;

TResult RunRenderer(const QStringList& args) {
    return qmtest::RunProgram(QStringLiteral(QM_PROGRAM_DIR "/quillmarch-render"), args);
}

// The map written is the generator's, byte for byte; without --seed the seed printed
// gives the same map again.
TEST(RenderGenerate, WritesTheGeneratorsMapAndPrintsAPickedSeed) {
    const qmtest::TempDir dir;
    const QString a = QString::fromStdString(dir.File("a.map")), b = QString::fromStdString(dir.File("b.map"));
    const TResult first = RunRenderer({"--generate", "keep", "--density", "few", a});
    ASSERT_EQ(first.code, 0) << first.err;
    ASSERT_EQ(first.out.rfind("seed ", 0), 0u) << first.out;
    const std::string seed = first.out.substr(5, first.out.find('\n') - 5);
    const TResult second = RunRenderer(
        {"--generate", "keep", "--density", "few", "--seed", QString::fromStdString(seed), b});
    ASSERT_EQ(second.code, 0) << second.err;
    EXPECT_EQ(second.out, b.toStdString() + "\n" + KeyPathFor(b.toStdString()) + "\n") << "the map and its key";
    QFile fa(a), fb(b);
    ASSERT_TRUE(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
    const QByteArray bytes = fa.readAll();
    EXPECT_EQ(bytes, fb.readAll());
    ASSERT_EQ(bytes.size(), int(MapRecordSize));

    TMapRecord expected;
    ResetMap(expected, "", 16);
    TGenerateOptions o;
    o.Style = TGenStyle::Keep;
    o.Density = TGenDensity::Few;
    o.Seed = std::uint32_t(std::stoul(seed));
    const auto& ts = qmtest::BuiltInTileset();
    const SymbolTable table = BuiltInSymbolTable();
    GenerateMap(expected, o, MakeGenPalette(table, ts.HiddenFlags, ts.LayerFlags));
    EXPECT_EQ(std::memcmp(bytes.constData(), &expected, MapRecordSize), 0);
}

// --levels: one file per level, each map with its key, the stairs of one on the next's.
TEST(RenderGenerate, LevelsWriteOneFilePerLevel) {
    const qmtest::TempDir dir;
    const TResult maps = RunRenderer({"--generate", "dungeon", "--seed", "5", "--levels", "2", "--below", "caves",
                                      QString::fromStdString(dir.File("deep.map"))});
    ASSERT_EQ(maps.code, 0) << maps.err;
    const TResult pics = RunRenderer({"--generate", "dungeon", "--seed", "5", "--levels", "2", "--below", "caves",
                                      "--zoom", "2", QString::fromStdString(dir.File("deep.png"))});
    ASSERT_EQ(pics.code, 0) << pics.err;
    EXPECT_EQ(dir.List(), (std::vector<std::string>{"deep-1.key.md", "deep-1.map", "deep-1.png", "deep-2.key.md",
                                                    "deep-2.map", "deep-2.png"}));
    const TMapKey below = ReadKeyFile(dir.File("deep-2.key.md"));
    EXPECT_EQ(below.Field("Level"), "2 of 2");
    EXPECT_EQ(below.Field("Above"), "deep-1.map");
    EXPECT_EQ(below.Entries[0].Title, "Cave mouth");
    EXPECT_NE(below.Entries[0].Text.find("Stairs up to level 1, room "), std::string::npos) << below.Entries[0].Text;
}

TEST(RenderGenerate, BadValueExitsOneAndWritesNothing) {
    const qmtest::TempDir dir;
    const QString x = QString::fromStdString(dir.File("x.png"));
    const TResult r = RunRenderer({"--generate", "castle", x});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "quillmarch-render: --generate must be dungeon, caves, keep or wilderness, not \"castle\"\n");
    EXPECT_FALSE(QFile::exists(x));
    EXPECT_EQ(RunRenderer({"--generate", "keep", "a.map", x}).code, 2);
}

} // namespace
