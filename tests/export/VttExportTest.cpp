// The virtual-tabletop export: exact geometry of a small map, the rules every generated
// map keeps (walls exactly on wall/floor boundaries, never across a door, merged, no
// loose ends), the file itself (region origin, picture) and the command line.
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <set>
#include <sstream>

#include "editor/DoorTool.h"
#include "editor/RoomTool.h"
#include "export/ExportPicture.h"
#include "export/VttExport.h"
#include "geoset/RandomMap.h"
#include "model/GeoSetRecord.h"
#include "render/Render.h"
#include "render/RenderArgs.h"
#include "tests/TestSupport.h"
#include "tiles/BuiltInSymbols.h"

namespace {

using qm::TVttPoint;
using qm::TVttPolyline;

class VttTest : public ::testing::Test {
protected:
    void SetUp() override {
        qm::ClearMapRecord(map);
        QImage bitmap;
        qm::TMapRecord scratch = map;
        qm::RenderTileset(ts, scratch, QString(), bitmap, nullptr);
    }
    void Put(int x, int y, uint8_t upper, uint8_t lower = 10) { map.Cell(x, y) = {upper, lower, 0}; }

    // A room walled with wall terrain (columns 2..6, rows 2..5) with a door in its top
    // wall, a window in its bottom wall, a pillar and a torch; beside it a room drawn with
    // thin wall pieces (columns 9..11, rows 2..4) with a door in its east side.
    void DrawRooms() {
        for (int x = 2; x <= 6; ++x)
            for (int y = 2; y <= 5; ++y) Put(x, y, (x == 2 || x == 6 || y == 2 || y == 5) ? 141 : 0);
        Put(4, 2, 13);
        Put(4, 5, 33, 141); // drawn over full wall terrain, which lies on the lower layer
        Put(3, 3, 39);
        Put(5, 4, 46);
        const uint8_t thin[3][3] = {{6, 2, 7}, {5, 0, 12}, {9, 4, 8}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) Put(9 + c, 2 + r, thin[r][c]);
    }

    qm::TMapRecord map{};
    qm::TRenderedTileset ts;
    qm::SymbolTable symbols = qm::BuiltInSymbolTable();
};

// A closed loop written from its smallest point, in one fixed direction; open lines as given
// or reversed, whichever starts at the smaller end.
TVttPolyline Canonical(TVttPolyline l) {
    auto less = [](const TVttPoint& a, const TVttPoint& b) { return std::tie(a.x, a.y) < std::tie(b.x, b.y); };
    if (l.size() > 2 && l.front() == l.back()) {
        l.pop_back();
        std::rotate(l.begin(), std::min_element(l.begin(), l.end(), less), l.end());
        if (less(l.back(), l[1])) std::reverse(l.begin() + 1, l.end());
        l.push_back(l.front());
    } else if (less(l.back(), l.front())) {
        std::reverse(l.begin(), l.end());
    }
    return l;
}

std::string Text(const TVttPolyline& l) {
    std::ostringstream s;
    for (const TVttPoint& p : l) s << "(" << p.x << "," << p.y << ")";
    return s.str();
}

std::set<std::string> Lines(const std::vector<TVttPolyline>& lines) {
    std::set<std::string> out;
    for (const auto& l : lines) out.insert(Text(Canonical(l)));
    return out;
}

TEST_F(VttTest, ExactGeometryOfTwoRooms) {
    DrawRooms();
    const qm::TVttGeometry g = qm::VttGeometry(map, ts, symbols, qm::WholeMapArea);

    // The top and bottom doorways split the terrain ring into two closed halves; the thin
    // room's wall runs down the middle of its stone band and is joined to the door's ends.
    const std::set<std::string> want = {
        Text(Canonical({{1, 1}, {3, 1}, {3, 2}, {2, 2}, {2, 4}, {3, 4}, {3, 5}, {1, 5}, {1, 1}})),
        Text(Canonical({{4, 1}, {6, 1}, {6, 5}, {4, 5}, {4, 4}, {5, 4}, {5, 2}, {4, 2}, {4, 1}})),
        Text(Canonical({{10.5, 2},
                        {10.855, 2},
                        {10.855, 1.145},
                        {8.145, 1.145},
                        {8.145, 3.855},
                        {10.855, 3.855},
                        {10.855, 3},
                        {10.5, 3}})),
    };
    EXPECT_EQ(Lines(g.Walls), want);

    ASSERT_EQ(g.Portals.size(), 3u);
    struct P {
        TVttPoint a, b;
        bool vertical, closed;
    } portals[] = {
        {{3, 1.5}, {4, 1.5}, false, true}, {{3, 4.5}, {4, 4.5}, false, false}, {{10.5, 2}, {10.5, 3}, true, true}};
    for (const P& p : portals)
        EXPECT_TRUE(std::any_of(g.Portals.begin(), g.Portals.end(),
                                [&](const qm::TVttPortal& q) {
                                    return q.a == p.a && q.b == p.b && q.vertical == p.vertical && q.closed == p.closed;
                                }))
            << p.a.x << "," << p.a.y;

    EXPECT_EQ(
        Lines(g.Objects),
        std::set<std::string>{Text(Canonical({{2.19, 2.19}, {2.81, 2.19}, {2.81, 2.81}, {2.19, 2.81}, {2.19, 2.19}}))});
    ASSERT_EQ(g.Lights.size(), 1u);
    EXPECT_EQ(g.Lights[0].at, (TVttPoint{4.5, 3.5}));
    EXPECT_EQ(g.Lights[0].range, 4);
    EXPECT_EQ(g.Lights[0].color, 0xffffb25au);

    // Hidden symbols never give geometry, shown or not: a torch slot holding a trap marker.
    Put(5, 4, 34);
    map.ShowHidden = 1;
    EXPECT_TRUE(qm::VttGeometry(map, ts, symbols, qm::WholeMapArea).Lights.empty());
}

// Rules every map keeps, checked on generated dungeons.
TEST_F(VttTest, GeneratedMapsKeepTheWallRules) {
    qm::TGeoSetRecord geo{};
    qm::ReadGeoSetFile(QM_PROGRAM_DIR "/defaultgeoset.geo", geo);
    for (uint32_t seed : {1u, 2u, 3u}) {
        qm::TGeoRandom rng(seed);
        qm::GenerateRandomMap(map, geo, rng);
        // Doors and windows where corridors meet walls, over wall terrain or beside it.
        for (int k = 0; k < 60; ++k) {
            const int x = int(rng() % 70) + 2, y = int(rng() % 70) + 2;
            map.Cell(x, y).Upper = uint8_t(std::array<int, 4>{12, 13, 32, 33}[rng() % 4]);
        }
        const qm::TVttGeometry g = qm::VttGeometry(map, ts, symbols, qm::WholeMapArea);

        // Unit pieces (half a cell) of every wall, counted.
        std::map<std::tuple<int, int, int, int>, int> pieces;
        auto key = [](double v) { return int(std::lround(v * 1000)); };
        for (const auto& l : g.Walls)
            for (size_t i = 0; i + 1 < l.size(); ++i) {
                const TVttPoint a = l[i], b = l[i + 1];
                ASSERT_TRUE(a.x == b.x || a.y == b.y);
                const double len = std::abs(b.x - a.x) + std::abs(b.y - a.y);
                const bool onHalfGrid = std::fmod(a.x * 2, 1) == 0 && std::fmod(a.y * 2, 1) == 0 &&
                                        std::fmod(len * 2, 1) == 0;
                if (!onHalfGrid) continue; // thin walls and jambs
                const int n = int(len * 2);
                for (int k = 0; k < n; ++k) {
                    const double t0 = double(k) / n, t1 = double(k + 1) / n;
                    const TVttPoint p{a.x + (b.x - a.x) * t0, a.y + (b.y - a.y) * t0},
                        q{a.x + (b.x - a.x) * t1, a.y + (b.y - a.y) * t1};
                    const auto k4 = std::make_tuple(key(std::min(p.x, q.x)), key(std::min(p.y, q.y)),
                                                    key(std::max(p.x, q.x)), key(std::max(p.y, q.y)));
                    ++pieces[k4];
                }
            }
        auto walled = [&](int qx, int qy) { // quarter column/row, 0..143
            const qm::TMapCell& c = map.Cell(qx / 2 + 1, qy / 2 + 1);
            const uint8_t bit = uint8_t(1 << ((qy % 2) * 2 + qx % 2));
            auto role = [&](uint8_t s) { return s && !ts.HiddenFlags[s] ? symbols[s].role : qm::SymbolRole::None; };
            for (uint8_t s : {c.Lower, c.Upper}) // a door or window opens its cell
                if (role(s) == qm::SymbolRole::Door || role(s) == qm::SymbolRole::Window) return false;
            for (uint8_t s : {c.Lower, c.Upper})
                if (s && !ts.HiddenFlags[s] && symbols[s].role == qm::SymbolRole::Wall && (symbols[s].quarters & bit))
                    return true;
            return false;
        };
        int boundaries = 0;
        for (int qy = 0; qy < 144; ++qy)
            for (int qx = 0; qx < 144; ++qx) {
                if (qx + 1 < 144 && walled(qx, qy) != walled(qx + 1, qy)) {
                    ++boundaries;
                    EXPECT_EQ((pieces[{(qx + 1) * 500, qy * 500, (qx + 1) * 500, (qy + 1) * 500}]), 1)
                        << qx << "," << qy;
                }
                if (qy + 1 < 144 && walled(qx, qy) != walled(qx, qy + 1)) {
                    ++boundaries;
                    EXPECT_EQ((pieces[{qx * 500, (qy + 1) * 500, (qx + 1) * 500, (qy + 1) * 500}]), 1)
                        << qx << "," << qy;
                }
            }
        ASSERT_GT(boundaries, 100);

        // No wall crosses a door or window; walls on one line are merged; no wall ends loose.
        std::vector<std::pair<TVttPoint, TVttPoint>> segs;
        for (const auto& l : g.Walls)
            for (size_t i = 0; i + 1 < l.size(); ++i) segs.push_back({l[i], l[i + 1]});
        auto onSeg = [](const std::pair<TVttPoint, TVttPoint>& s, TVttPoint p, bool inside) {
            const double lo = 1e-9;
            const double minx = std::min(s.first.x, s.second.x), maxx = std::max(s.first.x, s.second.x);
            const double miny = std::min(s.first.y, s.second.y), maxy = std::max(s.first.y, s.second.y);
            if (minx == maxx)
                return p.x == minx && (inside ? p.y > miny + lo && p.y < maxy - lo : p.y >= miny && p.y <= maxy);
            return p.y == miny && (inside ? p.x > minx + lo && p.x < maxx - lo : p.x >= minx && p.x <= maxx);
        };
        for (const qm::TVttPortal& p : g.Portals) {
            const TVttPoint mid{(p.a.x + p.b.x) / 2, (p.a.y + p.b.y) / 2};
            for (const auto& s : segs) {
                const bool parallel = (s.first.x == s.second.x) == p.vertical;
                if (parallel) {
                    EXPECT_FALSE(onSeg(s, mid, false)) << "wall along a portal at " << mid.x << "," << mid.y;
                } else {
                    // a crossing wall would meet the span strictly inside it
                    const TVttPoint cross = p.vertical ? TVttPoint{p.a.x, s.first.y} : TVttPoint{s.first.x, p.a.y};
                    EXPECT_FALSE(onSeg({p.a, p.b}, cross, true) && onSeg(s, cross, true))
                        << "wall across a portal at " << mid.x << "," << mid.y;
                }
            }
        }
        for (size_t i = 0; i < segs.size(); ++i)
            for (size_t j = i + 1; j < segs.size(); ++j) {
                const auto &s = segs[i], &t = segs[j];
                const bool sh = s.first.y == s.second.y, th = t.first.y == t.second.y;
                if (sh != th || (sh ? s.first.y != t.first.y : s.first.x != t.first.x)) continue;
                const bool touch = onSeg(s, t.first, false) || onSeg(s, t.second, false) || onSeg(t, s.first, false);
                EXPECT_FALSE(touch) << "unmerged pieces on one line at " << s.first.x << "," << s.first.y;
            }
        for (const auto& l : g.Walls) {
            if (l.front() == l.back()) continue; // a closed loop
            for (const TVttPoint end : {l.front(), l.back()}) {
                int touching = 0;
                for (const auto& s : segs) touching += onSeg(s, end, false);
                bool portalEnd = false;
                for (const qm::TVttPortal& p : g.Portals) portalEnd |= p.a == end || p.b == end;
                EXPECT_TRUE(touching >= 2 || portalEnd || end.x == 0 || end.y == 0 || end.x == 72 || end.y == 72)
                    << "loose wall end at " << end.x << "," << end.y;
            }
        }
    }
}

// Doors the Door tool puts into terrain walls of both directions and into thin walls of
// both directions: each closes its opening, both ends on a wall.
TEST_F(VttTest, DoorToolDoorsEndOnWalls) {
    qm::DrawRoom(map, {4, 4, 15, 12}, qm::sym::FloorA, false, qm::lmAuto, ts.LayerFlags, symbols);
    for (int x = 30; x <= 36; ++x) Put(x, 10, qm::sym::WallN);
    for (int y = 20; y <= 26; ++y) Put(40, y, qm::sym::WallW);
    const struct { int c, r; } clicks[] = {{9, 5}, {12, 13}, {5, 8}, {16, 10}, {33, 10}, {40, 23}};
    for (const auto& k : clicks) ASSERT_TRUE(qm::PlaceDoor(map, k.c, k.r, symbols)) << k.c << "," << k.r;
    const qm::TVttGeometry g = qm::VttGeometry(map, ts, symbols, qm::WholeMapArea);
    ASSERT_EQ(g.Portals.size(), std::size(clicks));
    const auto onWall = [&](TVttPoint p) {
        for (const auto& l : g.Walls)
            for (size_t i = 0; i + 1 < l.size(); ++i) {
                const TVttPoint a = l[i], b = l[i + 1];
                if (a.x == b.x && p.x == a.x && p.y >= std::min(a.y, b.y) && p.y <= std::max(a.y, b.y)) return true;
                if (a.y == b.y && p.y == a.y && p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x)) return true;
            }
        return false;
    };
    for (const qm::TVttPortal& p : g.Portals) {
        EXPECT_TRUE(p.closed);
        EXPECT_TRUE(onWall(p.a)) << p.a.x << "," << p.a.y;
        EXPECT_TRUE(onWall(p.b)) << p.b.x << "," << p.b.y;
    }
}

QJsonObject ReadJson(const std::string& path) {
    const auto bytes = qmtest::ReadAll(path);
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size())), &err);
    EXPECT_EQ(err.error, QJsonParseError::NoError) << err.errorString().toStdString();
    return doc.object();
}

TEST_F(VttTest, RegionFileKeepsPointsInsideAndItsPictureIsThePictureExport) {
    DrawRooms();
    Put(4, 4, 36); // a hidden treasure marker: left out of the picture unless asked for
    map.ShowHidden = 1;
    qmtest::TempDir dir;
    const qm::TGridRect region{2, 1, 10, 4}; // columns 3..11, rows 2..5: cuts both rooms
    for (bool hidden : {false, true}) {
        const std::string path = dir.File(hidden ? "with.uvtt" : "keep.dd2vtt");
        qm::TVttOptions o;
        o.PixelsPerCell = 20;
        o.IncludeHidden = hidden;
        qm::ExportVttMap(path, map, ts, symbols, region, o);
        const QJsonObject j = ReadJson(path);
        EXPECT_EQ(j["format"].toDouble(), 0.3);
        const QJsonObject res = j["resolution"].toObject();
        // Points relative to the region with origin 0: every importer places them right.
        EXPECT_EQ(res["map_origin"].toObject()["x"].toInt(), 0);
        EXPECT_EQ(res["map_origin"].toObject()["y"].toInt(), 0);
        EXPECT_EQ(res["map_size"].toObject()["x"].toInt(), 9);
        EXPECT_EQ(res["map_size"].toObject()["y"].toInt(), 4);
        EXPECT_EQ(res["pixels_per_grid"].toInt(), 20);
        EXPECT_EQ(j["environment"].toObject()["ambient_light"].toString(), "ffffffff");

        int points = 0;
        auto inside = [&](const QJsonValue& v) {
            const double x = v["x"].toDouble(), y = v["y"].toDouble();
            EXPECT_TRUE(x >= 0 && x <= 9 && y >= 0 && y <= 4) << x << "," << y;
            ++points;
        };
        for (const char* key : {"line_of_sight", "objects_line_of_sight"})
            for (const QJsonValue& line : j[key].toArray())
                for (const QJsonValue& p : line.toArray()) inside(p);
        for (const QJsonValue& p : j["portals"].toArray()) {
            inside(p["position"]);
            for (const QJsonValue& b : p["bounds"].toArray()) inside(b);
        }
        for (const QJsonValue& l : j["lights"].toArray()) {
            inside(l["position"]);
            EXPECT_EQ(l["color"].toString(), "ffffb25a");
        }
        EXPECT_GT(points, 20);
        EXPECT_EQ(j["portals"].toArray().size(), 3);

        const QImage image = QImage::fromData(QByteArray::fromBase64(j["image"].toString().toLatin1()), "PNG");
        qm::TMapRecord shown = map;
        shown.ShowHidden = hidden;
        const QImage want = qm::ComposeMapPicture(shown, ts, region, 20);
        ASSERT_EQ(image.size(), QSize(180, 80));
        EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), want);
        // the marker's cell differs between the two
        EXPECT_EQ(want == qm::ComposeMapPicture(map, ts, region, 20), hidden);
    }
}

TEST_F(VttTest, CellSizeLimits) {
    // The largest cell size keeps a whole map within 16384 pixels a side.
    EXPECT_LE(qm::MapPictureSource(map, ts, qm::WholeMapArea, qm::MaxVttPixelsPerCell).Width, 16384);
    qmtest::TempDir dir;
    qm::TVttOptions o;
    o.PixelsPerCell = 228;
    try {
        qm::ExportVttMap(dir.File("big.dd2vtt"), map, ts, symbols, qm::WholeMapArea, o);
        FAIL() << "no error";
    } catch (const qm::TFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + dir.File("big.dd2vtt") +
                                             "\". A cell size of 228 pixels is outside 16 to 227.");
    }
    EXPECT_TRUE(dir.List().empty());
}

TEST(VttRenderArgs, Options) {
    struct Row {
        std::vector<std::string> args;
        qm::TRenderParse::TKind kind;
        const char* message;
        int ppg;
    } rows[] = {
        {{"m.map", "o.dd2vtt"}, qm::TRenderParse::Run, "", 100},
        {{"--ppg", "227", "--region", "1,1,10,10", "--show-hidden", "on", "m.map", "o.UVTT"},
         qm::TRenderParse::Run,
         "",
         227},
        {{"--ppg=16", "m.map", "o.df2vtt"}, qm::TRenderParse::Run, "", 16},
        {{"--ppg", "228", "m.map", "o.dd2vtt"},
         qm::TRenderParse::BadValue,
         "--ppg must be a whole number from 16 to 227, not \"228\"",
         0},
        {{"--zoom", "4", "m.map", "o.dd2vtt"},
         qm::TRenderParse::Usage,
         "--zoom applies to pictures; use --ppg for virtual tabletop maps",
         0},
        {{"--ppg", "50", "m.map", "o.png"}, qm::TRenderParse::Usage, "--ppg applies to virtual tabletop maps only", 0},
        {{"--title", "on", "m.map", "o.dd2vtt"}, qm::TRenderParse::Usage, "--title applies to PDF output only", 0},
        // A target brings its own cell size unless --ppg says otherwise.
        {{"--vtt-target", "roll20", "m.map", "o.dd2vtt"}, qm::TRenderParse::Run, "", 70},
        {{"--vtt-target", "fgu", "--ppg", "60", "m.map", "o.dd2vtt"}, qm::TRenderParse::Run, "", 60},
        {{"--vtt-target", "generic", "m.map", "o.dd2vtt"}, qm::TRenderParse::Run, "", 100},
        {{"--vtt-target", "astral", "m.map", "o.dd2vtt"},
         qm::TRenderParse::BadValue,
         "--vtt-target must be generic, foundry, owlbear, roll20 or fgu, not \"astral\"",
         0},
        {{"--vtt-target", "fgu", "m.map", "o.png"},
         qm::TRenderParse::Usage,
         "--vtt-target applies to virtual tabletop maps only",
         0},
    };
    for (const Row& r : rows) {
        const qm::TRenderParse p = qm::ParseRenderArgs(r.args);
        EXPECT_EQ(p.Kind, r.kind) << r.args[0];
        EXPECT_EQ(p.Message, r.message);
        if (p.Kind == qm::TRenderParse::Run) {
            EXPECT_EQ(p.Args.Job, qm::TRenderJob::Vtt);
            EXPECT_EQ(p.Args.PixelsPerGrid, r.ppg);
        }
    }
}

TEST_F(VttTest, RendererWritesTheFileAndNothingOnFailure) {
    DrawRooms();
    qmtest::TempDir dir;
    qm::WriteMapFile(dir.File("rooms.map"), map);
    std::ostringstream out, err;
    qm::TRenderParse p = qm::ParseRenderArgs(
        {"--ppg", "16", "--region", "1,1,12,6", dir.File("rooms.map"), dir.File("rooms.dd2vtt")});
    ASSERT_EQ(p.Kind, qm::TRenderParse::Run);
    EXPECT_EQ(qm::RunRender(p.Args, QString(), out, err), 0) << err.str();
    const QJsonObject j = ReadJson(dir.File("rooms.dd2vtt"));
    EXPECT_EQ(j["line_of_sight"].toArray().size(), 3);
    EXPECT_EQ(j["lights"].toArray().size(), 1);

    // A broken side file beside the tileset stops the export with its line, leaving nothing.
    qmtest::WriteAll(dir.File("t.bmp"), qmtest::ReadAll(QM_PROGRAM_DIR "/parchment.bmp"));
    qmtest::WriteAll(dir.File("t.roles"), {'4', '6', ' ', 'l', 'a', 'm', 'p', '\n'});
    p = qm::ParseRenderArgs({"--tileset", dir.File("t.bmp"), dir.File("rooms.map"), dir.File("again.uvtt")});
    EXPECT_EQ(qm::RunRender(p.Args, QString(), out, err), 1);
    EXPECT_NE(err.str().find("t.roles, line 1: unknown role \"lamp\""), std::string::npos) << err.str();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.File("again.uvtt"))));
}

// A point on one of the wall lines (ends included).
bool OnWall(const std::vector<TVttPolyline>& walls, TVttPoint p) {
    constexpr double eps = 1e-6;
    for (const TVttPolyline& l : walls)
        for (size_t i = 0; i + 1 < l.size(); ++i) {
            const TVttPoint a = l[i], b = l[i + 1];
            const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
            const bool within = p.x >= std::min(a.x, b.x) - eps && p.x <= std::max(a.x, b.x) + eps &&
                                p.y >= std::min(a.y, b.y) - eps && p.y <= std::max(a.y, b.y) + eps;
            if (std::abs(cross) < eps && within) return true;
        }
    return false;
}

// Every door and window of a map made with Ctrl+R closes its doorway: both ends on a wall,
// or, between the two leaves of a double door, on the other leaf.
TEST_F(VttTest, EveryPortalOfEveryShippedGeoSetEndsOnWalls) {
    for (const char* file : {"defaultgeoset.geo", "keep.geo", "caves.geo", "wilderness.geo"}) {
        qm::TGeoSetRecord geo{};
        qm::ReadGeoSetFile(std::string(QM_PROGRAM_DIR) + "/" + file, geo);
        int portals = 0;
        for (uint32_t seed = 1; seed <= 16; ++seed) {
            qm::TGeoRandom rng(seed);
            qm::GenerateRandomMap(map, geo, rng);
            for (bool hidden : {false, true}) {
                const qm::TVttGeometry g = qm::VttGeometry(map, ts, symbols, qm::WholeMapArea, hidden);
                for (const qm::TVttPortal& p : g.Portals) {
                    ++portals;
                    auto leafEnd = [&](TVttPoint end) {
                        return std::any_of(g.Portals.begin(), g.Portals.end(), [&](const qm::TVttPortal& q) {
                            return &q != &p && q.vertical == p.vertical && (q.a == end || q.b == end);
                        });
                    };
                    for (TVttPoint end : {p.a, p.b})
                        ASSERT_TRUE(OnWall(g.Walls, end) || leafEnd(end))
                            << file << " seed " << seed << ": (" << end.x << "," << end.y << ")";
                }
            }
        }
        if (std::string(file) != "wilderness.geo" && std::string(file) != "caves.geo") {
            EXPECT_GT(portals, 100) << file;
        }
    }
}

// Rock, an open door and fire: mountain walls off its quarters, forest does not, an open
// door is a portal that does not close, one light per patch of fire.
TEST_F(VttTest, MountainOpenDoorAndFirePatches) {
    Put(5, 5, 0, 224 + 13); // full mountain: a block of rock
    Put(8, 5, 0, 208 + 13); // full forest: no wall
    Put(10, 5, 14);         // open door
    for (int x : {20, 21})
        for (int y : {20, 21}) Put(x, y, 160 + 13); // a 2 x 2 fire pit
    Put(22, 21, 160 + 3);                           // half a cell of fire beside it: the same patch
    Put(40, 40, 160 + 13);                          // a lone fire
    Put(30, 30, 46);                                // a torch keeps its own light
    const qm::TVttGeometry g = qm::VttGeometry(map, ts, symbols, qm::WholeMapArea);
    EXPECT_EQ(Lines(g.Walls), std::set<std::string>{Text(Canonical({{4, 4}, {5, 4}, {5, 5}, {4, 5}, {4, 4}}))});
    ASSERT_EQ(g.Portals.size(), 1u);
    EXPECT_FALSE(g.Portals[0].closed);

    ASSERT_EQ(g.Lights.size(), 3u);
    std::set<std::tuple<double, double, double>> lights;
    for (const qm::TVttLight& l : g.Lights) lights.insert({l.at.x, l.at.y, l.range});
    const double patch = std::sqrt(5.0);
    EXPECT_EQ(lights,
              (std::set<std::tuple<double, double, double>>{
                  {(19.5 + 20.5 + 19.5 + 20.5 + 21.5) / 5, (19.5 + 19.5 + 20.5 + 20.5 + 20.5) / 5, 3 + (patch - 1) / 2},
                  {39.5, 39.5, 3},
                  {29.5, 29.5, 4}}));

    // A cave made with Ctrl+R has its rock walled.
    qm::TGeoSetRecord geo{};
    qm::ReadGeoSetFile(QM_PROGRAM_DIR "/caves.geo", geo);
    qm::TGeoRandom rng(7);
    qm::GenerateRandomMap(map, geo, rng);
    EXPECT_GT(qm::VttGeometry(map, ts, symbols, qm::WholeMapArea).Walls.size(), 10u);
}

// A secret door drawn in a thin wall: a wall for players, a closed door for the game
// master, and the wall piece in the player picture.
TEST_F(VttTest, SecretDoorIsAWallForPlayers) {
    DrawRooms();
    const qm::TVttGeometry before = qm::VttGeometry(map, ts, symbols, qm::WholeMapArea);
    const qm::TMapRecord walled = map;
    Put(10, 2, 35); // in place of the north wall piece of the thin room
    const qm::TVttGeometry players = qm::VttGeometry(map, ts, symbols, qm::WholeMapArea, false);
    EXPECT_EQ(Lines(players.Walls), Lines(before.Walls));
    EXPECT_EQ(players.Portals.size(), before.Portals.size());

    const qm::TVttGeometry master = qm::VttGeometry(map, ts, symbols, qm::WholeMapArea, true);
    ASSERT_EQ(master.Portals.size(), before.Portals.size() + 1);
    const auto secret = std::find_if(master.Portals.begin(), master.Portals.end(), [](const qm::TVttPortal& p) {
        return p.a == TVttPoint{9, 1.145};
    });
    ASSERT_NE(secret, master.Portals.end());
    EXPECT_EQ(secret->b, (TVttPoint{10, 1.145}));
    EXPECT_TRUE(secret->closed);
    EXPECT_FALSE(secret->vertical);
    for (TVttPoint end : {secret->a, secret->b}) EXPECT_TRUE(OnWall(master.Walls, end));

    // Players see the wall piece; with hidden symbols shown the marker is drawn.
    const qm::TGridRect area{8, 1, 10, 3};
    map.ShowHidden = 0;
    qm::TMapRecord wallShown = walled;
    wallShown.ShowHidden = 0;
    EXPECT_EQ(qm::ComposeMapPicture(map, ts, area, 16), qm::ComposeMapPicture(wallShown, ts, area, 16));
    map.ShowHidden = 1;
    EXPECT_NE(qm::ComposeMapPicture(map, ts, area, 16), qm::ComposeMapPicture(wallShown, ts, area, 16));
    // On open floor the marker has no wall to stand for: nothing in its place.
    EXPECT_EQ(qm::PlayerSymbolAt(symbols, 35, map, 30, 30), 0);
    EXPECT_EQ(qm::PlayerSymbolAt(symbols, 35, map, 9, 1), 2);
    // In rock it stands for the rock of its neighbours, in a wall-terrain band for that band.
    Put(40, 40, 0, 237);
    Put(42, 40, 0, 237);
    EXPECT_EQ(qm::PlayerSymbolAt(symbols, 35, map, 40, 39), 237);
    Put(40, 40, 129);
    Put(42, 40, 129);
    EXPECT_EQ(qm::PlayerSymbolAt(symbols, 35, map, 40, 39), 129);
}

// Each tabletop's limits refuse a file just past them and take one at them.
TEST_F(VttTest, TargetLimitsAtTheirEdges) {
    DrawRooms();
    qmtest::TempDir dir;
    const qm::TGridRect area{1, 0, 11, 5};
    qm::TVttOptions o;
    o.PixelsPerCell = 20;
    const std::string path = dir.File("t.dd2vtt");
    auto refused = [&](const qm::TVttTargetInfo& t, const qm::TGridRect& a = {1, 0, 11, 5}) -> int {
        QFile::remove(QString::fromStdString(path));
        try {
            qm::ExportVttMap(path, map, ts, symbols, a, o, t);
        } catch (const qm::TVttLimitError& e) {
            EXPECT_FALSE(QFile::exists(QString::fromStdString(path))) << e.what();
            return e.FittingPixelsPerCell;
        }
        return -1;
    };
    // Generic is today's file; the same picture as PNG fits a byte limit of exactly its size.
    qm::ExportVttMap(path, map, ts, symbols, area, o);
    const std::uint64_t size = QFileInfo(QString::fromStdString(path)).size();
    qm::TVttTargetInfo t = qm::VttTargetInfo(qm::TVttTarget::Roll20);
    t.MaxBytes = size;
    t.TakesJpeg = false;
    EXPECT_EQ(refused(t), -1);
    EXPECT_EQ(QFileInfo(QString::fromStdString(path)).size(), qint64(size));
    t.MaxBytes = size - 1;
    const int fit = refused(t);
    EXPECT_GE(fit, qm::MinVttPixelsPerCell);
    EXPECT_LT(fit, 20);
    // Where the tabletop reads JPEG, the picture becomes a JPEG that fits.
    t.TakesJpeg = true;
    EXPECT_EQ(refused(t), -1);
    EXPECT_TRUE(ReadJson(path)["image"].toString().startsWith("/9j/"));

    // Walls, doors and lights counted against the limits; no cell size helps. The pillar's
    // outline is an obstacle (objects_line_of_sight), not a wall: it is not counted.
    const qm::TVttGeometry g = qm::VttGeometry(map, ts, symbols, area);
    int segments = 0;
    for (const auto& l : g.Walls) segments += int(l.size()) - 1;
    ASSERT_FALSE(g.Objects.empty());
    struct Row {
        int walls, doors, lights, want;
    } rows[] = {{segments, 3, 1, -1}, {segments - 1, 3, 1, 0}, {segments, 2, 1, 0}, {segments, 3, 0, -1}};
    for (const Row& r : rows) {
        qm::TVttTargetInfo c = qm::VttTargetInfo(qm::TVttTarget::Fgu);
        c.MaxWalls = r.walls;
        c.MaxDoors = r.doors;
        c.MaxLights = r.lights; // 0 = no limit
        EXPECT_EQ(refused(c), r.want) << r.walls << " " << r.doors;
    }

    // Over a count, the message names a part of the area that the tabletop takes.
    qm::TVttTargetInfo few = qm::VttTargetInfo(qm::TVttTarget::Fgu);
    few.MaxWalls = segments - 1;
    try {
        qm::ExportVttMap(path, map, ts, symbols, area, o, few);
        ADD_FAILURE() << "not refused";
    } catch (const qm::TVttLimitError& e) {
        const std::string m = e.what();
        const size_t at = m.find("The region ");
        ASSERT_NE(at, std::string::npos) << m;
        qm::TGridRect part{};
        ASSERT_EQ(
            std::sscanf(m.c_str() + at, "The region %d,%d,%d,%d", &part.Left, &part.Top, &part.Right, &part.Bottom), 4);
        part = {part.Left - 1, part.Top - 1, part.Right - 1, part.Bottom - 1};
        EXPECT_TRUE(area.Contains(part.Left, part.Top) && area.Contains(part.Right, part.Bottom));
        qm::ExportVttMap(path, map, ts, symbols, part, o, few); // the region offered is taken
    }

    // The picture limits of the whole map: 144 million pixels refuse 167 pixels a cell.
    o.PixelsPerCell = 167;
    EXPECT_EQ(refused(qm::VttTargetInfo(qm::TVttTarget::Owlbear), qm::WholeMapArea), 166);
    o.PixelsPerCell = 20;
    o.Target = qm::TVttTarget::Owlbear;
    qm::ExportVttMap(path, map, ts, symbols, area, o);
    EXPECT_EQ(qm::VttTargetById("foundry")->MaxSide, 16384);
    EXPECT_EQ(qm::VttTargetById("fgu")->MaxWalls, 500);
}

} // namespace
