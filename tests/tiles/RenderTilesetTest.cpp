// Cutting tileset pictures into symbols, icons and flags, and refusing pictures that
// cannot be used without touching the tileset in use.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "model/MapRecord.h"
#include "tests/TestSupport.h"
#include "tiles/Tileset.h"
#include "tiles/TilesetProgressWindow.h"

namespace {

using qm::RenderTileset;
using qm::TRenderedTileset;

class RenderTilesetTest : public ::testing::Test {
protected:
    void SetUp() override { qm::ClearMapRecord(map); }
    void Render(const QString& path) { RenderTileset(ts, map, path, tileBitmap); }
    QString Save(const QImage& img, const char* name) {
        const QString path = QString::fromStdString(dir.File(name));
        EXPECT_TRUE(img.save(path, "BMP"));
        return path;
    }
    std::string MapName() const { return qm::MapTilesetName(map); }

    qmtest::TempDir dir;
    TRenderedTileset ts;
    qm::TMapRecord map{};
    QImage tileBitmap;
};

// A picture whose symbol s is filled with a colour derived from s.
QImage Numbered(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    const int S = w / 16;
    QPainter p(&img);
    for (int s = 1; s < 256; ++s) p.fillRect((s % 16) * S + 1, (s / 16) * S + 1, S - 2, S - 2, QColor(s, 255 - s, 80));
    return img;
}

TEST_F(RenderTilesetTest, DefaultTileset) {
    const uint64_t before = ts.Generation;
    Render("");
    EXPECT_EQ(ts.TileSize, 48);
    EXPECT_EQ(ts.Generation, before + 1);
    EXPECT_EQ(ts.CurrentTilesetName, "");
    EXPECT_EQ(MapName(), "");
    for (const QImage& img : ts.DesktopPalette) {
        EXPECT_EQ(img.size(), QSize(48, 48));
        EXPECT_EQ(img.format(), QImage::Format_ARGB32_Premultiplied);
    }
    for (const QImage& icon : ts.ToolPalette) EXPECT_EQ(icon.size(), QSize(16, 16));
    for (int s = 0; s < 256; ++s) {
        EXPECT_EQ(ts.HiddenFlags[s], s >= 34 && s <= 38 ? 1 : 0) << s;
        EXPECT_EQ(ts.LayerFlags[s], qmtest::BuiltInLowerLayer.count(s) ? 0 : 1) << s;
    }
}

TEST_F(RenderTilesetTest, WhiteBecomesTransparentExceptInSymbolZero) {
    Render("");
    const QImage& pic = qm::DefaultTilesetPicture();
    EXPECT_EQ(ts.DesktopPalette[0].pixel(10, 10), 0xFFFFFFFFu);
    int checked = 0;
    for (int s : {2, 58, 130, 209}) // objects and terrain pieces with white ground around them
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) {
                const QRgb src = pic.pixel((s % 16) * 48 + x, (s / 16) * 48 + y);
                const QRgb got = ts.DesktopPalette[s].pixel(x, y);
                if ((src & 0xFFFFFF) == 0xFFFFFF) {
                    ASSERT_EQ(qAlpha(got), 0) << s;
                    ++checked;
                } else {
                    ASSERT_EQ(got, src | 0xFF000000) << s; // everything else unchanged
                }
            }
    EXPECT_GT(checked, 1000);
}

TEST_F(RenderTilesetTest, UpperSymbolLetsTheLowerOneShowThrough) {
    Render("");
    QImage cell(48, 48, QImage::Format_ARGB32_Premultiplied);
    cell.fill(Qt::white);
    {
        QPainter p(&cell);
        p.drawImage(0, 0, ts.DesktopPalette[17]); // grass, lower layer
        p.drawImage(0, 0, ts.DesktopPalette[58]); // a tree, upper layer
    }
    int ground = 0, tree = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const QRgb upper = ts.DesktopPalette[58].pixel(x, y);
            const QRgb expect = qAlpha(upper) == 0 ? ts.DesktopPalette[17].pixel(x, y) : upper;
            ASSERT_EQ(cell.pixel(x, y), expect) << x << "," << y;
            (qAlpha(upper) == 0 ? ground : tree)++;
        }
    EXPECT_GT(ground, 100);
    EXPECT_GT(tree, 100);
}

struct CustomCase {
    const char* name;
    int w, h;
    bool strip;
};

class CustomSize : public RenderTilesetTest, public ::testing::WithParamInterface<CustomCase> {};

TEST_P(CustomSize, FlagsAndIconsComeFromTheStripOnlyWhenThereIsOne) {
    const CustomCase c = GetParam();
    TRenderedTileset def;
    qm::TMapRecord scratch{};
    QImage bmp;
    RenderTileset(def, scratch, "", bmp);

    QImage img = Numbered(c.w, c.h);
    const int S = c.w / 16;
    if (c.h > 16 * S) { // flags: every third symbol upper, 7 and 200 hidden; icons solid blue
        for (int s = 0; s < 256; s += 3) img.setPixel(s % 16, 16 * S + s / 16, qRgb(0, 0, 0));
        img.setPixel(16 + 7, 16 * S, qRgb(0, 0, 0));
        img.setPixel(16 + 200 % 16, 16 * S + 200 / 16, qRgb(0, 0, 0));
        img.setPixel(16 + 9, 16 * S, qRgb(40, 40, 40)); // dark grey is no flag
        img.setPixel(16 + 10, 16 * S, qRgb(0, 0, 1));   // nor is almost black
        QPainter(&img).fillRect(32, 16 * S, 384, 16, QColor(0, 0, 200));
    }
    const QString path = Save(img, c.name);
    Render(path);
    EXPECT_EQ(ts.TileSize, S);
    EXPECT_EQ(ts.CurrentTilesetName, c.name);
    EXPECT_EQ(MapName(), c.name);
    EXPECT_EQ(ts.DesktopPalette[77].size(), QSize(S, S));
    EXPECT_EQ(ts.DesktopPalette[77].pixel(S / 2, S / 2), qRgb(77, 255 - 77, 80));
    EXPECT_EQ(qAlpha(ts.DesktopPalette[77].pixel(0, 0)), 0); // the white frame is transparent
    for (int s = 0; s < 256; ++s) {
        EXPECT_EQ(ts.LayerFlags[s], c.strip && s % 3 == 0 ? 1 : 0) << s;
        EXPECT_EQ(ts.HiddenFlags[s], c.strip && (s == 7 || s == 200) ? 1 : 0) << s;
    }
    for (int i = 0; i < 24; ++i) {
        if (c.strip) EXPECT_EQ(ts.ToolPalette[i].pixel(5, 5), qRgb(0, 0, 200)) << i;
        else EXPECT_EQ(ts.ToolPalette[i], def.ToolPalette[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, CustomSize,
    ::testing::Values(CustomCase{"square512.bmp", 512, 512, false}, CustomCase{"nostrip768.bmp", 768, 768, false},
                      CustomCase{"strip768.bmp", 768, 784, true}, CustomCase{"strip512.bmp", 512, 528, true}),
    [](const auto& info) { return std::to_string(info.param.w) + "x" + std::to_string(info.param.h); });

TEST_F(RenderTilesetTest, EightBitPictureKeepsItsColoursAndLosesItsWhite) {
    QImage img = Numbered(256, 272).convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    Render(Save(img, "eight.bmp"));
    EXPECT_EQ(ts.TileSize, 16);
    const QRgb want = img.pixel((40 % 16) * 16 + 8, (40 / 16) * 16 + 8);
    EXPECT_EQ(ts.DesktopPalette[40].pixel(8, 8), want);
    EXPECT_EQ(qAlpha(ts.DesktopPalette[40].pixel(0, 0)), 0);
}

TEST_F(RenderTilesetTest, PixelsBeyondAShortPictureAreBlank) {
    // 160 wide gives 10 pixel symbols, but only 3 rows of them are there
    QImage img(160, 30, QImage::Format_RGB32);
    img.fill(QColor(20, 120, 20));
    Render(Save(img, "short.bmp"));
    EXPECT_EQ(ts.TileSize, 10);
    EXPECT_EQ(ts.DesktopPalette[20].pixel(5, 5), qRgb(20, 120, 20));
    for (int s : {48, 100, 255}) {
        EXPECT_EQ(ts.DesktopPalette[s].size(), QSize(10, 10));
        EXPECT_EQ(qAlpha(ts.DesktopPalette[s].pixel(5, 5)), 0) << s;
    }
    for (uint8_t f : ts.LayerFlags) EXPECT_EQ(f, 0);
}

TEST_F(RenderTilesetTest, MissingFilesFallBackToTheDefaultKeepingTheName) {
    qmtest::KeepCwd keep;
    const QString elsewhere = QString::fromStdString(dir.File("elsewhere"));
    QDir().mkpath(elsewhere);
    Numbered(512, 512).save(elsewhere + "/only-there.bmp", "BMP");
    QDir::setCurrent(QString::fromStdString(dir.Path()));
    struct Case {
        QString path;
        QString name;
    };
    const Case cases[] = {
        {"only-there.bmp", "only-there.bmp"},           // bare name, not in the working folder
        {"/no/such/folder/lost.bmp", "lost.bmp"},       // full path that is not there
        {"/dev/null", "null"},                          // a device is not a tileset file
        {QString::fromStdString(dir.Path()), "qmtest"}, // nor is a folder (name checked by prefix)
    };
    for (const Case& c : cases) {
        Render(QString::fromStdString(dir.File("elsewhere/only-there.bmp")));
        ASSERT_EQ(ts.TileSize, 32);
        Render(c.path);
        EXPECT_EQ(ts.TileSize, 48) << c.path.toStdString();
        EXPECT_TRUE(ts.CurrentTilesetName.startsWith(c.name)) << c.path.toStdString();
        EXPECT_EQ(MapName(), ts.CurrentTilesetName.toStdString());
        EXPECT_EQ(ts.HiddenFlags[36], 1);
    }
    // and a bare name that is in the working folder is found there
    QDir::setCurrent(elsewhere);
    Render("only-there.bmp");
    EXPECT_EQ(ts.TileSize, 32);
}

TEST_F(RenderTilesetTest, LongNamesAreCutInTheMap) {
    const QString name = QString(300, 'x') + ".bmp";
    Render("/nowhere/" + name);
    EXPECT_EQ(ts.CurrentTilesetName, name);
    EXPECT_EQ(MapName(), name.left(255).toStdString());
}

std::vector<unsigned char> BmpHeader(int32_t w, int32_t h, int bpp, uint32_t dataSize) {
    std::vector<unsigned char> b(54, 0);
    auto put32 = [&](int at, uint32_t v) { std::memcpy(&b[size_t(at)], &v, 4); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, 54 + dataSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(w));
    put32(22, uint32_t(h));
    b[26] = 1;
    b[28] = uint8_t(bpp);
    put32(34, dataSize);
    return b;
}

TEST_F(RenderTilesetTest, UnusablePicturesAreRefusedAndTheTilesetKept) {
    Render(Save(Numbered(512, 528), "good.bmp"));
    const TRenderedTileset before = ts;

    std::vector<unsigned char> good = qmtest::ReadAll(dir.File("good.bmp"));
    std::vector<unsigned char> truncated(good.begin(), good.begin() + long(good.size() / 2));
    std::vector<unsigned char> huge = BmpHeader(60000, 60000, 24, 0);
    huge.resize(4096, 7);
    std::vector<unsigned char> narrow = qmtest::ReadAll(Save(Numbered(8, 64).copy(0, 0, 8, 64), "n.bmp").toStdString());
    std::vector<unsigned char> wideSymbols = BmpHeader(16 * 300, 16, 24, 0);
    wideSymbols.resize(54 + size_t(16 * 300 * 3) * 16, 0);
    QImage pngImg(64, 64, QImage::Format_RGB32);
    pngImg.fill(Qt::red);
    pngImg.save(QString::fromStdString(dir.File("real.png")), "PNG");
    std::vector<unsigned char> png = qmtest::ReadAll(dir.File("real.png"));
    std::vector<unsigned char> text = {'h', 'e', 'l', 'l', 'o', '\n'};

    struct Case {
        const char* file;
        std::vector<unsigned char> bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty.bmp", {}, "not a BMP"},
        {"text.bmp", text, "not a BMP"},
        {"picture.bmp", png, "not a BMP"},
        {"cut.bmp", truncated, "truncated"},
        {"huge.bmp", huge, "too large"},
        {"narrow.bmp", narrow, "narrower than 16"},
        {"giant-symbols.bmp", wideSymbols, "larger than 256"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.File(c.file);
        qmtest::WriteAll(path, c.bytes);
        try {
            Render(QString::fromStdString(path));
            ADD_FAILURE() << c.file << " was accepted";
        } catch (const qm::TTilesetError& e) {
            const std::string msg = e.what();
            EXPECT_NE(msg.find(path), std::string::npos) << msg;
            EXPECT_NE(msg.find(c.reason), std::string::npos) << msg;
        }
        EXPECT_EQ(ts.TileSize, before.TileSize) << c.file;
        EXPECT_EQ(ts.Generation, before.Generation) << c.file;
        EXPECT_EQ(ts.LayerFlags, before.LayerFlags) << c.file;
        EXPECT_EQ(ts.DesktopPalette[77], before.DesktopPalette[77]) << c.file;
        EXPECT_EQ(ts.ToolPalette[3], before.ToolPalette[3]) << c.file;
        EXPECT_EQ(ts.CurrentTilesetName, c.file); // the names already changed, as they do
        EXPECT_EQ(MapName(), c.file);
    }
}

TEST(BareTilesetName, DropsEveryFolderPart) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"plain.bmp", "plain.bmp"},
        {"/usr/share/x/dungeon.bmp", "dungeon.bmp"},
        {"C:\\Maps\\Tiles\\cave.bmp", "cave.bmp"},
        {"..\\../secret/evil.bmp", "evil.bmp"},
        {"mixed/a\\b.bmp", "b.bmp"},
        {"folder/", ""},
    };
    for (auto [in, out] : cases) EXPECT_EQ(qm::BareTilesetName(in), out) << in;
}

TEST(RenderTilesetSplash, ShownWhileCuttingAndHiddenAfter) {
    qm::TSplashForm splash;
    EXPECT_EQ(splash.objectName(), "SplashForm");
    EXPECT_EQ(splash.windowTitle(), "Rendering Tileset");
    EXPECT_FALSE(splash.windowFlags() & Qt::WindowCloseButtonHint);
    TRenderedTileset ts;
    qm::TMapRecord map{};
    QImage bmp;
    int shownDuring = 0;
    QObject::connect(splash.Progress, &QProgressBar::valueChanged, [&](int) { shownDuring += splash.isVisible(); });
    RenderTileset(ts, map, "", bmp, splash.Listener());
    EXPECT_GT(shownDuring, 200);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.Progress->maximum(), 255);
    EXPECT_EQ(splash.Progress->value(), 255);
    EXPECT_EQ(bmp.size(), QSize(16, 16)); // left sized for the icons
}

} // namespace
