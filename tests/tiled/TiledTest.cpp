// The Tiled export and import: a busy map there and back byte for byte, the Wang sets'
// corner colourings, hostile files and their messages, all-or-nothing writing.
#include <gtest/gtest.h>

#include <QFile>
#include <QXmlStreamReader>
#include <cstring>
#include <map>
#include <sys/stat.h>
#include <zlib.h>

#include "model/RecordFile.h"
#include "render/RenderArgs.h"
#include "tests/TestSupport.h"
#include "tests/support/BuiltInTileset.h"
#include "tiled/TiledExport.h"
#include "tiled/TmxReader.h"

using namespace qm;

namespace {

// Every symbol on both layers, hidden markers, the alternating background, a custom
// tileset name with a stale tail, Spare and reserved bytes, view settings off their defaults.
TMapRecord BusyMap() {
    TMapRecord m;
    ClearMapRecord(m);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const int i = (x - 1) * MapSize + (y - 1);
            m.Cell(x, y) = {uint8_t(i % 256), uint8_t((i * 7 + 3) % 256), uint8_t(i % 5 == 0 ? i % 251 : 0)};
        }
    m.Cell(5, 5).Upper = 35; // hidden markers
    m.Cell(6, 5).Lower = 38;
    m.Background = 11;
    m.ShowHidden = 0;
    m.Zoom = 48;
    m.CurrentSymbol = 201;
    SetMapTilesetName(m, "my tiles longer name.bmp");
    SetMapTilesetName(m, "my tiles.bmp"); // leaves "name.bmp" behind as stale bytes
    m.Reserved1[2] = 7;
    m.Reserved2[199] = 9;
    return m;
}

std::string Slurp(const std::string& path) {
    const auto b = qmtest::ReadAll(path);
    return std::string(b.begin(), b.end());
}

void Put(const std::string& path, const std::string& text) {
    qmtest::WriteAll(path, std::vector<unsigned char>(text.begin(), text.end()));
}

TEST(TiledExport, BusyMapComesBackByteForByte) {
    qmtest::TempDir dir;
    const TMapRecord busy = BusyMap();
    ExportTiledMap(dir.File("busy.tmx"), busy, qmtest::BuiltInTileset(), BuiltInSymbolTable());
    EXPECT_EQ(dir.List(), (std::vector<std::string>{"busy-tileset.png", "busy-tileset.tsx", "busy.tmx"}));
    const TTmxImport back = ReadTmxFile(dir.File("busy.tmx"), 16);
    EXPECT_EQ(back.FlippedTiles, 0);
    EXPECT_TRUE(back.Notes.empty());
    EXPECT_EQ(std::memcmp(&back.Map, &busy, MapRecordSize), 0);
}

// The key there and back byte for byte; a hand-made key layer is read as Tiled leaves it.
TEST(TiledExport, TheKeyComesBackByteForByte) {
    qmtest::TempDir dir;
    TMapKey key;
    key.Fields = {{"Level", "2 of 3"}, {"Above", "d-1.map"}};
    for (int n = 1; n <= 40; ++n)
        key.Put({n * 3, n, 73 - n, n % 4 ? "Room " + std::to_string(n) : "",
                 n % 5 ? "Line one\n\nLine \"two\" & <three>" : ""});
    ExportTiledMap(dir.File("k.tmx"), BusyMap(), qmtest::BuiltInTileset(), BuiltInSymbolTable(), &key);
    EXPECT_EQ(KeyFileText(ReadTmxFile(dir.File("k.tmx"), 16).Key), KeyFileText(key));

    const std::string tmx = Slurp(dir.File("k.tmx"));
    const size_t layer = tmx.find("<objectgroup");
    ASSERT_NE(layer, std::string::npos);
    const std::string head = tmx.substr(0, layer);
    const struct {
        const char* what;
        std::string object;
        const char* error; // "" = read
    } cases[] = {
        {"a number only in the name", R"(<object id="1" name="7. Well" x="5" y="5"><point/></object>)", ""},
        {"off the map", R"(<object id="1" name="7. Well" x="5" y="99999"><point/></object>)", "lies off the map"},
        {"no number", R"(<object id="1" name="Well" x="5" y="5"><point/></object>)", "the number is not 1 to 999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Put(dir.File("h.tmx"), head + "<objectgroup id=\"9\" name=\"key\">" + c.object + "</objectgroup></map>");
        try {
            const TTmxImport r = ReadTmxFile(dir.File("h.tmx"), 16);
            EXPECT_STREQ(c.error, "");
            EXPECT_EQ(r.Key.Entries.at(0), (TKeyEntry{7, 1, 1, "Well", ""}));
        } catch (const TTiledError& e) {
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
            EXPECT_STRNE(c.error, "");
        }
    }
}

TEST(TiledExport, LayersAreCsvWithSymbolPlusOne) {
    qmtest::TempDir dir;
    TMapRecord m;
    ClearMapRecord(m);
    m.Background = 11;
    m.Cell(1, 1).Lower = 10;
    m.Cell(2, 1).Upper = 255;
    m.Cell(1, 2).Upper = 1;
    ExportTiledMap(dir.File("m.tmx"), m, qmtest::BuiltInTileset(), BuiltInSymbolTable());
    const std::string tmx = Slurp(dir.File("m.tmx"));
    // background alternates 11 (row 1), 10 (row 2) as the view shows it: gids 12 and 11
    EXPECT_NE(tmx.find("name=\"background\" width=\"72\" height=\"72\">\n  <data encoding=\"csv\">\n12,12,"),
              std::string::npos);
    EXPECT_NE(tmx.find("\n11,11,11,"), std::string::npos);
    EXPECT_NE(tmx.find("name=\"lower\" width=\"72\" height=\"72\">\n  <data encoding=\"csv\">\n11,0,0,"),
              std::string::npos);
    EXPECT_NE(tmx.find("name=\"upper\" width=\"72\" height=\"72\">\n  <data encoding=\"csv\">\n0,256,0,"),
              std::string::npos);
    EXPECT_NE(tmx.find("tilewidth=\"48\" tileheight=\"48\""), std::string::npos);
    EXPECT_NE(tmx.find("<tileset firstgid=\"1\" source=\"m-tileset.tsx\"/>"), std::string::npos);
    const QImage png(QString::fromStdString(dir.File("m-tileset.png")));
    ASSERT_EQ(png.size(), QSize(768, 768));
    EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0); // symbol 0 is all white
}

// The shapes' quarters as the terrain rows are drawn; the Wang tiles must colour
// exactly these corners.
TEST(TiledExport, WangTilesColourTheCoveredCorners) {
    const std::map<int, std::string> quarters = {
        {1, "NW NE"},     {2, "SW SE"},     {3, "NW SW"},        {4, "NE SE"},    {5, "SW"},
        {6, "NW"},        {7, "NE"},        {8, "SE"},           {9, "NW NE SE"}, {10, "NE SE SW"},
        {11, "NW NE SW"}, {12, "NW SE SW"}, {13, "NW NE SE SW"}, {14, "NW SE"},   {15, "NE SW"}};
    qmtest::TempDir dir;
    TMapRecord m;
    ClearMapRecord(m);
    ExportTiledMap(dir.File("w.tmx"), m, qmtest::BuiltInTileset(), BuiltInSymbolTable());
    QFile f(QString::fromStdString(dir.File("w-tileset.tsx")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    std::map<std::string, std::map<int, std::string>> found; // wang set -> tile -> wangid
    std::map<std::string, std::string> type;
    std::string set;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto a = xml.attributes();
        if (xml.name() == u"wangset") {
            set = a.value("name").toString().toStdString();
            type[set] = a.value("type").toString().toStdString();
        } else if (xml.name() == u"wangtile") {
            found[set][a.value("tileid").toInt()] = a.value("wangid").toString().toStdString();
        }
    }
    ASSERT_FALSE(xml.hasError());
    const char* names[] = {"Wall", "Water", "Fire", "Hole", "Slime", "Forest", "Mountain", "Desert"};
    ASSERT_EQ(found.size(), 8u);
    for (int t = 0; t < 8; ++t) {
        SCOPED_TRACE(names[t]);
        EXPECT_EQ(type[names[t]], "corner");
        ASSERT_EQ(found[names[t]].size(), 15u);
        for (const auto& [k, covered] : quarters) {
            // top, top-right, right, bottom-right, bottom, bottom-left, left, top-left
            const auto on = [&q = covered](const char* c) { return q.find(c) != std::string::npos ? "1" : "0"; };
            const std::string want = std::string("0,") + on("NE") + ",0," + on("SE") + ",0," + on("SW") + ",0," +
                                     on("NW");
            EXPECT_EQ(found[names[t]][128 + 16 * t + k], want) << "shape " << k;
        }
    }
}

TEST(TiledExport, TilesCarryHiddenLayerNameAndRoleProperties) {
    qmtest::TempDir dir;
    TMapRecord m;
    ClearMapRecord(m);
    ExportTiledMap(dir.File("p.tmx"), m, qmtest::BuiltInTileset(), BuiltInSymbolTable());
    const std::string tsx = Slurp(dir.File("p-tileset.tsx"));
    EXPECT_NE(tsx.find("<tile id=\"35\">\n  <properties>\n   <property name=\"hidden\" type=\"bool\" value=\"true\"/>\n"
                       "   <property name=\"layer\" value=\"upper\"/>\n"
                       "   <property name=\"name\" value=\"Secret door marker\"/>\n  </properties>"),
              std::string::npos);
    EXPECT_NE(tsx.find("<tile id=\"10\">\n  <properties>\n   <property name=\"layer\" value=\"lower\"/>\n"
                       "   <property name=\"name\" value=\"Stone floor\"/>\n  </properties>"),
              std::string::npos);
    EXPECT_NE(tsx.find("<tile id=\"12\">\n  <properties>\n   <property name=\"layer\" value=\"upper\"/>\n"
                       "   <property name=\"name\" value=\"Wooden door, north-south wall\"/>\n"
                       "   <property name=\"role\" value=\"door\"/>\n  </properties>"),
              std::string::npos);
    EXPECT_NE(tsx.find("<image source=\"p-tileset.png\" width=\"768\" height=\"768\"/>"), std::string::npos);
}

TEST(TiledExport, FailedWriteLeavesNoneOfTheThree) {
    qmtest::TempDir dir;
    TMapRecord m;
    ClearMapRecord(m);
    Put(dir.File("old-tileset.png"), "old picture");
    // Every file fails after this many bytes: the small .tsx goes through, the map does not.
    SetWriteFailureAfterForTesting(40000);
    EXPECT_THROW(ExportTiledMap(dir.File("old.tmx"), m, qmtest::BuiltInTileset(), BuiltInSymbolTable()), TFileError);
    SetWriteFailureAfterForTesting(-1);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"old-tileset.png"});
    EXPECT_EQ(Slurp(dir.File("old-tileset.png")), "old picture");

    // A folder in the way of the map: named in the message, nothing written.
    ASSERT_EQ(::mkdir(dir.File("d.tmx").c_str(), 0755), 0);
    try {
        ExportTiledMap(dir.File("d.tmx"), m, qmtest::BuiltInTileset(), BuiltInSymbolTable());
        FAIL() << "no error";
    } catch (const TFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + dir.File("d.tmx") + "\". Is a directory");
    }
    EXPECT_EQ(dir.List(), (std::vector<std::string>{"d.tmx", "old-tileset.png"}));
}

std::string Tmx(const std::string& attrs, const std::string& body) {
    return "<?xml version=\"1.0\"?>\n<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" " +
           attrs +
           " tilewidth=\"8\" tileheight=\"8\" infinite=\"0\">\n<tileset firstgid=\"1\" name=\"t\" tilecount=\"256\" "
           "columns=\"16\"/>\n" +
           body + "</map>\n";
}

std::string Layer(const std::string& name, const std::string& data) {
    return "<layer id=\"1\" name=\"" + name + "\" width=\"2\" height=\"2\">" + data + "</layer>\n";
}

std::string Base64(const std::string& bytes) {
    return QByteArray(bytes.data(), qsizetype(bytes.size())).toBase64().toStdString();
}

std::string Zlib(const std::string& raw) {
    uLongf n = compressBound(uLong(raw.size()));
    std::string out(n, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()));
    out.resize(n);
    return out;
}

std::string Gids(std::initializer_list<uint32_t> gids) {
    std::string s;
    for (uint32_t g : gids)
        for (int b = 0; b < 4; ++b) s += char((g >> (8 * b)) & 0xFF);
    return s;
}

TEST(TiledImport, SmallForeignMapsArePlacedTopLeft) {
    qmtest::TempDir dir;
    const std::string gz = [] { // gzip by hand: zlib's deflate in a gzip wrapper
        std::string raw = Gids({0, 7, 0, 0}), out(200, '\0');
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        z.next_in = reinterpret_cast<Bytef*>(raw.data());
        z.avail_in = uInt(raw.size());
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = uInt(out.size());
        deflate(&z, Z_FINISH);
        out.resize(z.total_out);
        deflateEnd(&z);
        return out;
    }();
    Put(dir.File("a.tmx"),
        Tmx("width=\"2\" height=\"2\"",
            Layer("ground", "<data encoding=\"base64\" compression=\"zlib\">" +
                                Base64(Zlib(Gids({3, 0, 0, 0x80000005}))) + "</data>") +
                Layer("things", "<data encoding=\"base64\" compression=\"gzip\">" + Base64(gz) + "</data>") +
                Layer("more", "<data encoding=\"csv\">1,2,3,4</data>")));
    const TTmxImport r = ReadTmxFile(dir.File("a.tmx"), 32);
    EXPECT_EQ(r.Map.Cell(1, 1).Lower, 2);
    EXPECT_EQ(r.Map.Cell(2, 2).Lower, 4); // flip flag cleared
    EXPECT_EQ(r.Map.Cell(2, 1).Upper, 6);
    EXPECT_EQ(r.Map.Cell(3, 1).Lower, 0);
    EXPECT_EQ(r.Map.Zoom, 32);
    EXPECT_EQ(r.Map.ShowHidden, 1);
    EXPECT_EQ(r.FlippedTiles, 1);
    EXPECT_EQ(ImportNotesText(r, "a.tmx"),
              "Imported \"a.tmx\".\nLayers not imported (a map has a lower and an upper layer): \"more\".\n"
              "1 tile was flipped or rotated in Tiled; Quillmarch draws symbols unturned, so it shows unflipped.");
}

struct THostile {
    const char* what;
    std::string tmx;
    std::string reason; // after "PATH: "
};

TEST(TiledImport, HostileFilesAreRefusedWithTheirReason) {
    std::string deep = "<group>";
    for (int i = 0; i < 40; ++i) deep += "<group>";
    const std::string laughs =
        "<?xml version=\"1.0\"?><!DOCTYPE map [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
        "\"&a;&a;&a;&a;&a;&a;&a;&a;\">]><map orientation=\"orthogonal\" width=\"2\" "
        "height=\"2\">&b;</map>";
    const std::string bomb = Zlib(std::string(1 << 20, '\0'));
    const std::vector<THostile> cases = {
        {"too wide", Tmx("width=\"73\" height=\"10\"", ""),
         "The map is 73 x 10 cells; at most 72 x 72 can be imported."},
        {"huge", Tmx("width=\"99999999999999\" height=\"2\"", ""),
         "The map is 99999999999999 x 2 cells; at most 72 x 72 can be imported."},
        {"not a number", Tmx("width=\"wide\" height=\"2\"", ""),
         "The map width is \"wide\", not a whole number of at least 1."},
        {"isometric", "<map orientation=\"isometric\" width=\"2\" height=\"2\"></map>",
         "Only orthogonal maps can be imported; this map's orientation is \"isometric\"."},
        {"infinite", "<map orientation=\"orthogonal\" infinite=\"1\" width=\"2\" height=\"2\"></map>",
         "It is an infinite map; only fixed-size maps can be imported."},
        {"deep", Tmx("width=\"2\" height=\"2\"", deep), "Its elements are nested more than 32 deep."},
        {"entities", laughs, "It declares a document type (<!DOCTYPE>), which Tiled files never do."},
        {"broken zlib",
         Tmx("width=\"2\" height=\"2\"", Layer("l", "<data encoding=\"base64\" compression=\"zlib\">" +
                                                        Base64("\x78\x9c\xff\xff\xff") + "</data>")),
         "The zlib data of layer \"l\" is broken or cut short."},
        {"bomb",
         Tmx("width=\"2\" height=\"2\"",
             Layer("l", "<data encoding=\"base64\" compression=\"zlib\">" + Base64(bomb) + "</data>")),
         "Layer \"l\" unpacks to more than the 16 bytes its size allows."},
        {"zstd",
         Tmx("width=\"2\" height=\"2\"", Layer("l", "<data encoding=\"base64\" compression=\"zstd\">AAAA</data>")),
         "Layer \"l\" is compressed with zstd, which cannot be read; save it in Tiled with CSV or zlib layer format."},
        {"bad base64", Tmx("width=\"2\" height=\"2\"", Layer("l", "<data encoding=\"base64\">A*A=</data>")),
         "The base64 data of layer \"l\" is broken."},
        {"short csv", Tmx("width=\"2\" height=\"2\"", Layer("l", "<data encoding=\"csv\">1,2,3</data>")),
         "Layer \"l\" holds 3 tiles, not 4."},
        {"big tile", Tmx("width=\"2\" height=\"2\"", Layer("l", "<data encoding=\"csv\">1,2,3,258</data>")),
         "Layer \"l\" uses tile 258, which no tileset holds."},
        {"not xml", "<map orientation=\"orthogonal\"",
         "It is not well-formed XML (line 1: Premature end of document.)."},
    };
    qmtest::TempDir dir;
    for (const THostile& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.File("h.tmx");
        Put(path, c.tmx);
        try {
            ReadTmxFile(path, 16);
            ADD_FAILURE() << "no error";
        } catch (const TTiledError& e) {
            EXPECT_EQ(std::string(e.what()), path + ": " + c.reason);
        }
    }
}

TEST(TiledImport, TilesetsOutsideTheMapFolderAreNotRead) {
    qmtest::TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("maps").c_str(), 0755), 0);
    Put(dir.File("outside.tsx"), "<tileset tilecount=\"256\"/>");
    ASSERT_EQ(::symlink(dir.File("outside.tsx").c_str(), dir.File("maps/link.tsx").c_str()), 0);
    const std::string path = dir.File("maps/m.tmx");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"../outside.tsx", "The tileset \"../outside.tsx\" lies outside the map's folder."},
        {"/etc/passwd",
         "The tileset \"/etc/passwd\" is given by an absolute path; only tilesets in the map's folder "
         "or below it are read."},
        {"link.tsx", "The tileset \"link.tsx\" lies outside the map's folder (through a link)."},
        {"none.tsx", "The tileset \"none.tsx\" does not exist."},
        {"fifo.tsx", "The tileset \"fifo.tsx\" is not a regular file."},
        {"bad.tsx", "The tileset \"bad.tsx\": Its top element is <map>, not <tileset>."},
    };
    ASSERT_EQ(::mkfifo(dir.File("maps/fifo.tsx").c_str(), 0644), 0);
    Put(dir.File("maps/bad.tsx"), "<map/>");
    for (const auto& [source, reason] : cases) {
        Put(path, "<map orientation=\"orthogonal\" width=\"2\" height=\"2\"><tileset firstgid=\"1\" source=\"" +
                      source + "\"/></map>");
        try {
            ReadTmxFile(path, 16);
            ADD_FAILURE() << source << ": no error";
        } catch (const TTiledError& e) {
            EXPECT_EQ(std::string(e.what()), path + ": " + reason);
        }
    }
}

TEST(TiledImport, OversizedFileIsRefusedBeforeReading) {
    qmtest::TempDir dir;
    const std::string path = dir.File("big.tmx");
    {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(MaxTiledFileBytes + 1));
    }
    try {
        ReadTmxFile(path, 16);
        FAIL() << "no error";
    } catch (const TTiledError& e) {
        EXPECT_EQ(std::string(e.what()), path + ": It is larger than 16 MB.");
    }
}

struct TTiledArgs {
    std::vector<std::string> args;
    TRenderParse::TKind kind;
    bool exportJob, importJob;
    std::string message;
};

TEST(TiledCommandLine, JobsFollowTheFileNames) {
    using K = TRenderParse::TKind;
    const std::vector<TTiledArgs> cases = {
        {{"m.map", "o.tmx"}, K::Run, true, false, ""},
        {{"--tileset", "t.bmp", "m.map", "o.TMX"}, K::Run, true, false, ""},
        {{"i.tmx", "o.map"}, K::Run, false, true, ""},
        {{"--zoom", "8", "m.map", "o.tmx"},
         K::Usage,
         false,
         false,
         "--zoom does not apply to Tiled maps (only --tileset does)"},
        {{"--tileset", "t.bmp", "i.tmx", "o.map"},
         K::Usage,
         false,
         false,
         "--tileset does not apply to importing a Tiled map"},
        {{"--tileset=", "m.map", "o.tmx"}, K::BadValue, false, false, "--tileset needs a file name"},
        {{"m.map", "o.map"}, K::Usage, false, false, "IN must end in .tmx to import a Tiled map into a .map: m.map"},
    };
    for (const TTiledArgs& c : cases) {
        SCOPED_TRACE(c.args.back());
        const TRenderParse p = ParseRenderArgs(c.args);
        EXPECT_EQ(p.Kind, c.kind);
        EXPECT_EQ(p.Message, c.message);
        if (c.kind == K::Run) {
            EXPECT_EQ(p.Args.Job == TRenderJob::TiledExport, c.exportJob);
            EXPECT_EQ(p.Args.Job == TRenderJob::TiledImport, c.importJob);
        }
    }
}

} // namespace
