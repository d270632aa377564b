// quillmarch-render's Tiled jobs as whole processes, judged by Tiled's own tools:
// tmxrasterizer must draw the export exactly as quillmarch-render draws the map, and
// Tiled must convert it to JSON and back without a complaint and without a loss.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <cstring>

#include "model/MapKey.h"
#include "model/RecordFile.h"
#include "tests/RunProgram.h"
#include "tests/TestSupport.h"
#include "tiled/TmxReader.h"

using namespace qm;

namespace {

using TResult = qmtest::TRunResult;

TResult RunTool(const QString& program, const QStringList& args) { return qmtest::RunProgram(program, args, 300000); }

const QString Render = QStringLiteral(QM_PROGRAM_DIR "/quillmarch-render");
QString Q(const std::string& s) { return QString::fromStdString(s); }

// Ground, walls of smart terrain, objects, a hidden marker shown, the alternating floor.
TMapRecord SampleMap() {
    TMapRecord m;
    ClearMapRecord(m);
    m.Background = 11;
    m.Zoom = 16;
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            if ((x + y) % 3 == 0) m.Cell(x, y).Lower = 17;
            if ((x * y) % 7 == 0) m.Cell(x, y).Upper = uint8_t(26 + x % 6);
            if (x > 40 && y > 40) m.Cell(x, y).Upper = uint8_t(128 + (x * 3 + y) % 128);
        }
    m.Cell(3, 3).Upper = 35;
    return m;
}

TEST(TiledCommandLine, ExportsThreeFilesAndImportsThemBack) {
    qmtest::TempDir dir;
    const TMapRecord m = SampleMap();
    WriteMapFile(dir.File("s.map"), m);
    TResult r = RunTool(Render, {Q(dir.File("s.map")), Q(dir.File("s.tmx"))});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, dir.File("s.tmx") + "\n" + dir.File("s-tileset.tsx") + "\n" + dir.File("s-tileset.png") + "\n");
    r = RunTool(Render, {Q(dir.File("s.tmx")), Q(dir.File("back.map"))});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(qmtest::ReadAll(dir.File("back.map")), qmtest::ReadAll(dir.File("s.map")));

    // A broken map writes nothing and says why.
    qmtest::WriteAll(dir.File("bad.tmx"), {'<', 'm', 'a', 'p', '>'});
    r = RunTool(Render, {Q(dir.File("bad.tmx")), Q(dir.File("bad.map"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "quillmarch-render: " + dir.File("bad.tmx") +
                         ": Only orthogonal maps can be imported; this map's orientation is \"\".\n");
    EXPECT_FALSE(QFile::exists(Q(dir.File("bad.map"))));
}

TEST(TiledTools, TmxRasterizerDrawsTheExportAsQuillmarchDoes) {
    const QString rasterizer = QStandardPaths::findExecutable("tmxrasterizer");
    if (rasterizer.isEmpty()) GTEST_SKIP() << "tmxrasterizer is not installed (Debian package tiled)";
    qmtest::TempDir dir;
    WriteMapFile(dir.File("s.map"), SampleMap());
    ASSERT_EQ(RunTool(Render, {Q(dir.File("s.map")), Q(dir.File("s.tmx"))}).code, 0);
    ASSERT_EQ(
        RunTool(Render, {"--zoom", "48", "--show-hidden", "on", Q(dir.File("s.map")), Q(dir.File("ours.png"))}).code,
        0);
    const TResult t = RunTool(rasterizer, {"--no-smoothing", Q(dir.File("s.tmx")), Q(dir.File("tiled.png"))});
    ASSERT_EQ(t.code, 0) << t.err;

    const QImage ours = QImage(Q(dir.File("ours.png"))).convertToFormat(QImage::Format_RGB32);
    QImage theirs = QImage(Q(dir.File("tiled.png"))).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(ours.size(), QSize(72 * 48, 72 * 48));
    ASSERT_EQ(theirs.size(), ours.size());
    // Empty cells are transparent in Tiled's picture and white in ours.
    QImage flat(theirs.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter p(&flat);
        p.drawImage(0, 0, theirs);
    }
    long differing = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < ours.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(ours.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(flat.constScanLine(y));
        for (int x = 0; x < ours.width(); ++x)
            if (a[x] != b[x] && differing++ == 0) first = QPoint(x, y);
    }
    EXPECT_EQ(differing, 0) << "first at " << first.x() << "," << first.y();
}

TEST(TiledTools, TiledConvertsTheExportToJsonAndBack) {
    const QString tiled = QStandardPaths::findExecutable("tiled");
    if (tiled.isEmpty()) GTEST_SKIP() << "tiled is not installed (Debian package tiled)";
    qmtest::TempDir dir;
    const TMapRecord m = SampleMap();
    // The map key goes along: a point object a label, the text a property.
    TMapKey key;
    key.Fields = {{"Level", "1 of 2"}};
    key.Put({3, 20, 31, "Guard room", "Two bunks & a <table>.\n\n\\## not a heading"});
    key.Put({12, 72, 72, "", "Corner."});
    WriteMapAndKey(dir.File("s.map"), m, key);
    ASSERT_EQ(RunTool(Render, {Q(dir.File("s.map")), Q(dir.File("s.tmx"))}).code, 0);
    TResult r = RunTool(tiled, {"--export-map", "json", Q(dir.File("s.tmx")), Q(dir.File("s.json"))});
    ASSERT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_EQ(r.err.find("rror"), std::string::npos) << r.err;
    QFile json(Q(dir.File("s.json")));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    const QByteArray j = json.readAll();
    EXPECT_TRUE(j.contains("\"name\":\"3. Guard room\"") && j.contains("\"point\":true") &&
                j.contains("\"type\":\"objectgroup\"") && j.contains("Two bunks & a <table>."))
        << j.left(400).toStdString();
    r = RunTool(tiled, {"--export-map", "tmx", Q(dir.File("s.json")), Q(dir.File("again.tmx"))});
    ASSERT_EQ(r.code, 0) << r.out << r.err;
    const TTmxImport back = ReadTmxFile(dir.File("again.tmx"), 16);
    EXPECT_TRUE(back.Notes.empty());
    EXPECT_EQ(std::memcmp(&back.Map, &m, MapRecordSize), 0);
    EXPECT_EQ(KeyFileText(back.Key), KeyFileText(key));
}

} // namespace
