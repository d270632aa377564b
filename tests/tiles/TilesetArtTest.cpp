// Conventions the other parts rely on, checked on the pixels of the built-in tileset and
// of the sample parchment tileset.
#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "tests/TestSupport.h"
#include "tiles/Tileset.h"

namespace {

struct Sheet {
    const char* name;
    QImage (*load)();
};

QImage LoadDefault() { return qm::DefaultTilesetPicture(); }
QImage LoadParchment() { return QImage(QString(QM_PROGRAM_DIR) + "/parchment.bmp", "BMP"); }

bool IsWhite(QRgb c) { return (c & 0xFFFFFF) == 0xFFFFFF; }
bool IsBlack(QRgb c) { return (c & 0xFFFFFF) == 0; }
double Luma(QRgb c) { return 0.3 * qRed(c) + 0.59 * qGreen(c) + 0.11 * qBlue(c); }

class TilesetArt : public ::testing::TestWithParam<Sheet> {
protected:
    void SetUp() override {
        pic = GetParam().load();
        ASSERT_FALSE(pic.isNull());
        S = pic.width() / 16;
    }
    QRgb Px(int s, int x, int y) const { return pic.pixel((s % 16) * S + x, (s / 16) * S + y); }
    QImage pic;
    int S = 0;
};

TEST_P(TilesetArt, GeometryAndPalette) {
    EXPECT_EQ(pic.width(), 16 * S);
    EXPECT_EQ(pic.height(), 16 * S + 16);
    EXPECT_EQ(pic.format(), QImage::Format_Indexed8);
    EXPECT_EQ(pic.colorCount(), 255);
    const QList<QRgb> table = pic.colorTable();
    EXPECT_EQ(std::count_if(table.begin(), table.end(), IsWhite), 1);
    EXPECT_EQ(std::count_if(table.begin(), table.end(), IsBlack), 1);
}

TEST_P(TilesetArt, SymbolZeroIsWhite) {
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) ASSERT_TRUE(IsWhite(Px(0, x, y))) << x << "," << y;
}

TEST_P(TilesetArt, FlagsInTheMarkerStrip) {
    const int y0 = 16 * S;
    for (int s = 0; s < 256; ++s) {
        const QRgb layer = pic.pixel(s % 16, y0 + s / 16), hidden = pic.pixel(16 + s % 16, y0 + s / 16);
        EXPECT_EQ(IsBlack(layer), !qmtest::BuiltInLowerLayer.count(s)) << "layer flag of " << s;
        EXPECT_EQ(IsBlack(hidden), s >= 34 && s <= 38) << "hidden flag of " << s;
    }
}

TEST_P(TilesetArt, EveryDrawnSymbolHasArtAndLowerOnesAreOpaque) {
    for (int s = 1; s < 256; ++s) {
        int white = 0;
        for (int y = 0; y < S; ++y)
            for (int x = 0; x < S; ++x) white += IsWhite(Px(s, x, y));
        EXPECT_LT(white, S * S) << "symbol " << s << " is empty";
        if (qmtest::BuiltInLowerLayer.count(s)) {
            EXPECT_EQ(white, 0) << "lower-layer symbol " << s << " lets the ground through";
        }
    }
}

// Which quarters each terrain shape covers: bit 0 NW, 1 NE, 2 SW, 3 SE.
const int Quarters[16] = {0, 3, 12, 5, 10, 4, 1, 2, 8, 11, 14, 7, 13, 15, 9, 6};

TEST_P(TilesetArt, TerrainPiecesCoverTheirQuarters) {
    const int h = S / 2, margin = std::max(2, S / 16), round = S / 4;
    for (int family = 0; family < 8; ++family)
        for (int k = 1; k < 16; ++k) {
            const int s = 128 + 16 * family + k;
            for (int q = 0; q < 4; ++q) {
                const bool covered = Quarters[k] >> q & 1;
                int wrong = 0;
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < h; ++x) {
                        // distance from the two midlines; the rounded corner zone and a thin
                        // band along the midlines may go either way
                        const int du = (q & 1) ? x : h - 1 - x, dv = (q & 2) ? y : h - 1 - y;
                        if (du < margin || dv < margin || std::max(du, dv) < round) continue;
                        const QRgb c = Px(s, (q & 1) * h + x, (q & 2) / 2 * h + y);
                        wrong += IsWhite(c) == covered;
                    }
                EXPECT_EQ(wrong, 0) << GetParam().name << " terrain " << family << " shape " << k << " quarter " << q;
            }
        }
}

// Pieces whose touching sides cover the same quarters must continue each other's texture
// across the border: the step from one to the other is no larger than the steps beside it.
TEST_P(TilesetArt, NeighbouringPiecesJoinWithoutSeams) {
    const int h = S / 2, far = S / 6;
    for (int family = 0; family < 8; ++family)
        for (int a = 1; a < 16; ++a)
            for (int b = 1; b < 16; ++b)
                for (bool horizontal : {true, false}) {
                    const int qa = Quarters[a], qb = Quarters[b];
                    // east side of a against west side of b, or south side of a against north of b
                    const bool fits = horizontal ? ((qa >> 1 & 1) == (qb & 1) && (qa >> 3 & 1) == (qb >> 2 & 1))
                                                 : ((qa >> 2 & 1) == (qb & 1) && (qa >> 3 & 1) == (qb >> 1 & 1));
                    if (!fits) continue;
                    const int sa = 128 + 16 * family + a, sb = 128 + 16 * family + b;
                    // pixel k steps into the cell from the shared border, at position t along it
                    auto inA = [&](int k, int t) { return horizontal ? Px(sa, S - 1 - k, t) : Px(sa, t, S - 1 - k); };
                    auto inB = [&](int k, int t) { return horizontal ? Px(sb, k, t) : Px(sb, t, k); };
                    double across = 0, beside = 0;
                    int n = 0;
                    for (int t = 0; t < S; ++t) {
                        if (std::abs(t - h + 0.5) < far) continue; // where an edge may cross the border
                        if (IsWhite(inA(0, t))) continue;
                        across += std::abs(Luma(inA(0, t)) - Luma(inB(0, t)));
                        beside += std::max(std::abs(Luma(inA(0, t)) - Luma(inA(1, t))),
                                           std::abs(Luma(inB(0, t)) - Luma(inB(1, t))));
                        ++n;
                    }
                    if (n == 0) continue;
                    EXPECT_LE(across / n, 1.25 * beside / n + 2) << GetParam().name << " terrain " << family << ": "
                                                                 << a << (horizontal ? " | " : " over ") << b;
                }
}

TEST_P(TilesetArt, LonePatchSitsInsideItsCell) {
    for (int family = 0; family < 8; ++family) {
        const int s = 128 + 16 * family;
        EXPECT_FALSE(IsWhite(Px(s, S / 2, S / 2)));
        for (int i = 0; i < S; ++i) {
            EXPECT_TRUE(IsWhite(Px(s, i, 0)) && IsWhite(Px(s, 0, i)) && IsWhite(Px(s, i, S - 1)) &&
                        IsWhite(Px(s, S - 1, i)))
                << "terrain " << family << " patch touches the border at " << i;
        }
    }
}

// The mean step between neighbouring pixel columns (or rows) across the cell border, wrapping
// round, against the largest such step inside the cell: a seam is a border step that no line
// drawn inside the cell comes near.
double SeamRatio(const QImage& pic, int S, int s, bool vertical) {
    const int ox = (s % 16) * S, oy = (s / 16) * S;
    auto at = [&](int a, int b) { return Luma(pic.pixel(ox + (vertical ? b : a), oy + (vertical ? a : b))); };
    auto step = [&](int a1, int a0) {
        double sum = 0;
        for (int b = 0; b < S; ++b) sum += std::abs(at(a1, b) - at(a0, b));
        return sum / S;
    };
    double inside = 1.0;
    for (int a = 1; a < S; ++a) inside = std::max(inside, step(a, a - 1));
    return step(0, S - 1) / inside;
}

TEST_P(TilesetArt, GroundsAndFullTerrainRepeatWithoutSeams) {
    for (int s : qmtest::BuiltInLowerLayer) {
        if (s == 0) continue;
        EXPECT_LT(SeamRatio(pic, S, s, false), 1.5) << "symbol " << s << " left-right";
        EXPECT_LT(SeamRatio(pic, S, s, true), 1.5) << "symbol " << s << " top-bottom";
    }
}

TEST_P(TilesetArt, FloorVariantsAlternateWithoutStripes) {
    double sum10 = 0, sum11 = 0;
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) sum10 += Luma(Px(10, x, y)), sum11 += Luma(Px(11, x, y));
    EXPECT_NEAR(sum10 / (S * S), sum11 / (S * S), 2.5);
    // and they are two variants, not one picture twice
    int differing = 0;
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) differing += Px(10, x, y) != Px(11, x, y);
    EXPECT_GT(differing, S * S / 10);
}

TEST_P(TilesetArt, IconsAreOutlinedAndDistinct) {
    const int y0 = 16 * S;
    std::vector<QImage> icons;
    for (int i = 0; i < 24; ++i) {
        QImage icon = pic.copy(32 + 16 * i, y0, 16, 16).convertToFormat(QImage::Format_RGB32);
        int ink = 0, drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QRgb c = icon.pixel(x, y);
                drawn += !IsWhite(c);
                ink += Luma(c) < 70;
            }
        EXPECT_GT(drawn, 30) << "icon " << i;
        EXPECT_GT(ink, 10) << "icon " << i << " has no dark outline";
        for (size_t j = 0; j < icons.size(); ++j) EXPECT_NE(icons[j], icon) << "icons " << j << " and " << i;
        icons.push_back(icon);
    }
}

INSTANTIATE_TEST_SUITE_P(Sheets, TilesetArt,
                         ::testing::Values(Sheet{"default", LoadDefault}, Sheet{"parchment", LoadParchment}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TilesetArtFiles, DefaultIsTheSizeTheProgramExpects) {
    const QImage& pic = qm::DefaultTilesetPicture();
    EXPECT_EQ(pic.size(), QSize(768, 784));
    EXPECT_EQ(pic.width() / 16, 48);
    const QImage parchment = LoadParchment();
    EXPECT_EQ(parchment.size(), QSize(512, 528));
}

TEST(TilesetArtFiles, LayerModeIconsMarkTheirLayerInRed) {
    const QImage& pic = qm::DefaultTilesetPicture();
    const int S = 48;
    // 14 upper red, 15 lower red, 16 both: count red pixels in the top and bottom halves
    const int y0 = 16 * S;
    auto red = [&](int icon, bool top) {
        int n = 0;
        for (int y = top ? 0 : 11; y < (top ? 5 : 16); ++y)
            for (int x = 0; x < 16; ++x) {
                const QRgb c = pic.pixel(32 + 16 * icon + x, y0 + y);
                n += qRed(c) > 150 && qGreen(c) < 110 && qBlue(c) < 110;
            }
        return n;
    };
    EXPECT_GT(red(14, true), 5);
    EXPECT_EQ(red(14, false), 0);
    EXPECT_EQ(red(15, true), 0);
    EXPECT_GT(red(15, false), 5);
    EXPECT_GT(red(16, true), 5);
    EXPECT_GT(red(16, false), 5);
}

} // namespace
