// The Foundry VTT scene: the documents of a small map exactly, the rules every generated
// scene keeps (whole pixels inside the scene, door ends on walls, the same bytes twice),
// the type check against Foundry's published data types, and the command line.
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <set>

#include "export/ExportPicture.h"
#include "export/FoundryScene.h"
#include "render/RenderArgs.h"
#include "tests/RunProgram.h"
#include "tests/TestSupport.h"
#include "tests/support/GeneratedMapChecks.h"

namespace {

QJsonObject Read(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

QByteArray Bytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class FoundryTest : public ::testing::Test {
protected:
    void SetUp() override { qm::ClearMapRecord(map); }
    void Put(int x, int y, uint8_t upper, uint8_t lower = 10) { map.Cell(x, y) = {upper, lower, 0}; }
    std::string Export(const qm::TGridRect& area, bool hidden, std::vector<qm::TFoundryNote> notes = {},
                       const std::string& name = "t.json") {
        qm::TFoundryOptions o;
        o.PixelsPerCell = 50;
        o.IncludeHidden = hidden;
        o.Notes = std::move(notes);
        o.PictureFolder = "worlds/keep/";
        const std::string path = dir.File(name);
        qm::ExportFoundryScene(path, map, gen.ts, gen.table, area, o);
        return path;
    }
    const qmtest::TBuiltInGenerator& gen = qmtest::BuiltInGenerator();
    qm::TMapRecord map{};
    qmtest::TempDir dir;
};

// A terrain room (columns 2..6, rows 2..5) with a door, a window, a pillar and a torch; a
// secret door in the thin wall of a room beside it.
TEST_F(FoundryTest, DocumentsOfASmallMap) {
    for (int x = 2; x <= 6; ++x)
        for (int y = 2; y <= 5; ++y) Put(x, y, (x == 2 || x == 6 || y == 2 || y == 5) ? 141 : 0);
    Put(4, 2, 13);
    Put(4, 5, 33, 141);
    Put(3, 3, 39);
    Put(5, 4, 46);
    const uint8_t thin[3][3] = {{6, 35, 7}, {5, 0, 12}, {9, 4, 8}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) Put(9 + c, 2 + r, thin[r][c]);
    const qm::TGridRect area{1, 0, 11, 5};
    const std::string path = Export(area, true, {{3, 2, "3. Guard room"}, {40, 40, "9. Outside the area"}});
    const QJsonObject s = Read(path);
    EXPECT_EQ(s["name"].toString(), "t");
    EXPECT_EQ(s["width"].toInt(), 550);
    EXPECT_EQ(s["height"].toInt(), 300);
    EXPECT_EQ(s["padding"].toInt(-1), 0);
    EXPECT_EQ(s["background"].toObject()["src"].toString(), "worlds/keep/t.png");
    EXPECT_EQ(s["grid"].toObject(), (QJsonObject{{"type", 1}, {"size", 50}, {"distance", 5}, {"units", "ft"}}));
    EXPECT_EQ(s["_stats"].toObject()["coreVersion"].toString(), "13.345");
    const QImage picture(QString::fromStdString(dir.File("t.png")));
    EXPECT_EQ(picture.size(), QSize(550, 300));

    // Walls by kind: {move, sight, door, ds} -> count.
    std::map<std::array<int, 4>, int> kinds;
    for (const auto& w : s["walls"].toArray()) {
        const QJsonObject o = w.toObject();
        EXPECT_EQ(o["sight"].toInt(), o["light"].toInt());
        ++kinds[{o["move"].toInt(), o["sight"].toInt(), o["door"].toInt(), o["ds"].toInt()}];
    }
    EXPECT_EQ(kinds[(std::array<int, 4>{20, 20, 1, 0})], 2); // the door and the thin room's door
    EXPECT_EQ(kinds[(std::array<int, 4>{20, 20, 2, 0})], 1); // the secret door
    EXPECT_EQ(kinds[(std::array<int, 4>{20, 0, 0, 0})], 1);  // the window
    EXPECT_EQ(kinds[(std::array<int, 4>{0, 20, 0, 0})], 4);  // the pillar's four sides
    // The secret door spans the thin wall's north side, 0.145 cells in: whole pixels.
    bool found = false;
    for (const auto& w : s["walls"].toArray())
        if (w.toObject()["door"].toInt() == 2) found = w.toObject()["c"].toArray() == QJsonArray{400, 57, 450, 57};
    EXPECT_TRUE(found);

    const QJsonArray lights = s["lights"].toArray();
    ASSERT_EQ(lights.size(), 1);
    EXPECT_EQ(lights[0].toObject()["x"].toInt(), 175);
    EXPECT_EQ(lights[0].toObject()["y"].toInt(), 175);
    EXPECT_EQ(lights[0].toObject()["config"].toObject(),
              (QJsonObject{{"dim", 20}, {"bright", 10}, {"color", "#ffb25a"}, {"alpha", 0.5}}));

    const QJsonArray notes = s["notes"].toArray();
    ASSERT_EQ(notes.size(), 1);
    const QJsonObject note = notes[0].toObject();
    EXPECT_EQ(note["x"].toInt(), 125);
    EXPECT_EQ(note["y"].toInt(), 125);
    EXPECT_EQ(note["text"].toString(), "3. Guard room");
    EXPECT_TRUE(note["entryId"].isNull());

    // Ids: 16 letters and digits, none twice; the same map gives the same bytes.
    std::set<QString> ids{s["_id"].toString()};
    int documents = 1;
    const QRegularExpression shape("^[A-Za-z0-9]{16}$");
    for (const char* list : {"walls", "lights", "notes"})
        for (const auto& d : s[list].toArray()) {
            ++documents;
            EXPECT_TRUE(shape.match(d.toObject()["_id"].toString()).hasMatch());
            ids.insert(d.toObject()["_id"].toString());
        }
    EXPECT_EQ(int(ids.size()), documents);
    const QByteArray first = Bytes(path);
    EXPECT_EQ(Bytes(Export(area, true, {{3, 2, "3. Guard room"}, {40, 40, "9. Outside the area"}})), first);

    // The players' scene: the secret door is a wall; no key given, no notes.
    const QJsonObject players = Read(Export(area, false));
    for (const auto& w : players["walls"].toArray()) EXPECT_NE(w.toObject()["door"].toInt(), 2);
    EXPECT_TRUE(players["notes"].toArray().isEmpty());
}

// A point on a wall (ends included), in whole pixels.
bool OnWall(const QJsonArray& c, long long x, long long y) {
    const long long x0 = c[0].toInteger(), y0 = c[1].toInteger(), x1 = c[2].toInteger(), y1 = c[3].toInteger();
    const long long cross = (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0);
    return cross == 0 && x >= std::min(x0, x1) && x <= std::max(x0, x1) && y >= std::min(y0, y1) &&
           y <= std::max(y0, y1);
}

// Whole-map and region scenes of generated maps, for game masters and players.
TEST_F(FoundryTest, GeneratedScenesKeepWallsInsideAndDoorsOnWalls) {
    for (qm::TGenStyle style : qm::AllGenStyles)
        for (std::uint32_t seed : {1u, 2u}) {
            qm::ClearMapRecord(map);
            qm::TGenerateOptions o;
            o.Style = style;
            o.Seed = seed;
            qm::GenerateMap(map, o, gen.palette);
            for (const qm::TGridRect& area : {qm::WholeMapArea, qm::TGridRect{10, 20, 45, 50}})
                for (bool hidden : {false, true}) {
                    // The scene's JSON alone: the picture is the tabletop export's, tested there.
                    const qm::TVttGeometry g = qm::VttGeometry(map, gen.ts, gen.table, area, hidden);
                    const QJsonObject s = QJsonDocument::fromJson(QByteArray::fromStdString(qm::FoundrySceneJson(
                                                                      g, area, 50, "t.png", "t", {})))
                                              .object();
                    const int W = s["width"].toInt(), H = s["height"].toInt();
                    const QJsonArray walls = s["walls"].toArray();
                    for (int i = 0; i < walls.size(); ++i) {
                        const QJsonArray c = walls[i].toObject()["c"].toArray();
                        ASSERT_EQ(c.size(), 4);
                        for (int k = 0; k < 4; ++k) {
                            ASSERT_TRUE(c[k].isDouble() && c[k].toDouble() == double(c[k].toInteger()));
                            EXPECT_GE(c[k].toInteger(), 0);
                            EXPECT_LE(c[k].toInteger(), k % 2 ? H : W);
                        }
                        const QJsonObject w = walls[i].toObject();
                        const bool opening = w["door"].toInt() != 0 ||
                                             (w["sight"].toInt() == 0 && w["move"].toInt() != 0);
                        if (!opening) continue;
                        for (int end : {0, 2}) {
                            // Where the area cuts a wall, the door's jamb may lie outside it.
                            const long long x = c[end].toInteger(), y = c[end + 1].toInteger();
                            bool on = x == 0 || y == 0 || x == W || y == H;
                            for (int j = 0; j < walls.size() && !on; ++j)
                                on = j != i && OnWall(walls[j].toObject()["c"].toArray(), x, y);
                            EXPECT_TRUE(on) << qm::GenStyleName(style) << " seed " << seed << " hidden " << hidden
                                            << " at " << c[end].toInteger() << "," << c[end + 1].toInteger();
                        }
                    }
                }
        }
}

// The scene assigned to Foundry's own data types compiles with tsc --strict; a door type
// Foundry does not have does not.
TEST_F(FoundryTest, ScenePassesFoundrysTypeCheck) {
    const QString types = QStringLiteral(QM_FOUNDRY_TYPES_DIR);
    const QString node = QStandardPaths::findExecutable("node");
    if (node.isEmpty()) GTEST_SKIP() << "node is not installed (Debian packages nodejs, npm)";
    if (!QFileInfo::exists(types + "/ready-13.345.1"))
        GTEST_SKIP() << "Foundry's types are not installed in " << types.toStdString()
                     << ": make test installs them (tools/install-foundry-types.sh; needs npm and its registry)";
    // The first keep with a secret door, so every kind of wall is checked.
    std::string path;
    QJsonObject s;
    int secret = 0;
    for (std::uint32_t seed = 1; seed <= 40 && secret == 0; ++seed) {
        qm::TGenerateOptions o;
        o.Style = qm::TGenStyle::Keep;
        o.Seed = seed;
        qm::ClearMapRecord(map);
        qm::GenerateMap(map, o, gen.palette);
        path = Export(qm::WholeMapArea, true, {{33, 36, "3. Guard room"}, {10, 10, "4. \"Gate\""}});
        s = Read(path);
        for (const auto& w : s["walls"].toArray()) secret += w.toObject()["door"].toInt() == 2;
    }
    ASSERT_GT(secret, 0);
    ASSERT_FALSE(s["lights"].toArray().isEmpty());
    const QString script = QStringLiteral(QM_SOURCE_DIR "/tests/export/foundry-typecheck.mjs");
    const qmtest::TRunResult good = qmtest::RunProgram(node, {script, QString::fromStdString(path), types}, 300000);
    EXPECT_EQ(good.code, 0) << good.out << good.err;

    QByteArray bad = Bytes(path);
    bad.replace("\"door\":2,", "\"door\":7,");
    QFile f(QString::fromStdString(dir.File("bad.json")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bad);
    f.close();
    const qmtest::TRunResult refused = qmtest::RunProgram(node, {script, f.fileName(), types}, 300000);
    EXPECT_NE(refused.code, 0);
    EXPECT_NE(refused.out.find("WALL_DOOR_TYPES"), std::string::npos) << refused.out;
}

// Obstacle outlines are not counted as walls: a generated map of every style keeps within
// Fantasy Grounds Unity's 500 walls.
TEST_F(FoundryTest, FantasyGroundsTakesAGeneratedMapOfEveryStyle) {
    for (qm::TGenStyle style : qm::AllGenStyles) {
        qm::ClearMapRecord(map);
        qm::TGenerateOptions o;
        o.Style = style;
        qm::GenerateMap(map, o, gen.palette);
        qm::TVttOptions v;
        v.Target = qm::TVttTarget::Fgu;
        v.PixelsPerCell = 16;
        EXPECT_NO_THROW(qm::ExportVttMap(dir.File("fgu.dd2vtt"), map, gen.ts, gen.table, qm::WholeMapArea, v))
            << qm::GenStyleName(style);
    }
}

TEST(FoundryRenderArgs, Options) {
    struct Row {
        std::vector<std::string> args;
        qm::TRenderParse::TKind kind;
        std::string message;
    } rows[] = {
        {{"--vtt-target", "foundry", "m.map", "s.json"}, qm::TRenderParse::Run, ""},
        {{"--vtt-target", "foundry", "--foundry-folder", "worlds/keep", "m.map", "s.json"}, qm::TRenderParse::Run, ""},
        {{"m.map", "s.json"},
         qm::TRenderParse::Usage,
         "OUTPUT ending in .json is a Foundry VTT scene: give --vtt-target foundry: s.json"},
        {{"--vtt-target", "roll20", "m.map", "s.json"}, qm::TRenderParse::Usage, ""},
        {{"--foundry-folder", "w", "m.map", "s.dd2vtt"},
         qm::TRenderParse::Usage,
         "--foundry-folder applies to Foundry VTT scenes (.json) only"},
        {{"--vtt-target", "foundry", "--foundry-folder", "../x", "m.map", "s.json"}, qm::TRenderParse::BadValue, ""},
        {{"--vtt-target", "foundry", "--zoom", "4", "m.map", "s.json"}, qm::TRenderParse::Usage, ""},
    };
    for (const Row& r : rows) {
        const qm::TRenderParse p = qm::ParseRenderArgs(r.args);
        EXPECT_EQ(p.Kind, r.kind) << r.args[r.args.size() - 1] << " " << p.Message;
        if (!r.message.empty()) {
            EXPECT_EQ(p.Message, r.message);
        }
        if (p.Kind == qm::TRenderParse::Run) {
            EXPECT_EQ(p.Args.Job, qm::TRenderJob::Foundry);
            EXPECT_EQ(p.Args.PixelsPerGrid, 100);
        }
    }
    EXPECT_EQ(qm::FoundryPicturePath("a/b.c/scene.json"), "a/b.c/scene.png");
}

} // namespace
