// Lower-layer grounds: opaque, edge to edge, textures that repeat every cell.
#include <cmath>

#include "tools/TilesetArt.h"

namespace gen {

namespace {
constexpr double Pi = 3.14159265358979323846;

// Never pure white: a ground must stay opaque.
QRgb Opaque(QRgb c) { return (c & 0xFFFFFF) == 0xFFFFFF ? qRgb(250, 250, 250) : c; }

QRgb Flagstones(double x, double y, int S, uint32_t seed) {
    const double u = S / 48.0;
    const Cellular w = Worley(x, y, 3, S, seed, 0.85);
    const double edge = w.f2 - w.f1;
    const double f = Fbm(x, y, S, seed + 9);
    QRgb c = Mix(Rgb(122, 118, 110), Rgb(166, 160, 148), 0.3 * Hash01(int(w.id), 1, seed) + 0.7 * f);
    const double lit = ((w.cx - x) + (w.cy - y)) / S; // stones bulge a little towards the light
    c = Scale(c, 0.96 + 0.25 * lit);
    if (edge < 1.6 * u) return Rgb(72, 68, 64);
    if (edge < 2.6 * u) return Scale(c, 0.88);
    return c;
}

// Square slabs, two per cell each way, grout on the cell border and the midlines;
// the variant only reorders the same four slab tones and places its cracks elsewhere,
// so rows of both variants show no stripe.
QRgb SlabFloor(double x, double y, int S, int variant) {
    const double u = S / 48.0, h = S / 2.0;
    const int tx = x < h ? 0 : 1, ty = y < h ? 0 : 1;
    static const double tones[2][4] = {{0.2, 0.7, 0.45, 0.9}, {0.45, 0.2, 0.9, 0.7}};
    const double tone = tones[variant][ty * 2 + tx];
    const double lx = x - tx * h, ly = y - ty * h;
    QRgb c = Mix(Rgb(132, 128, 120), Rgb(158, 152, 142), 0.55 * tone + 0.45 * Fbm(x, y, S, 1000));
    if (lx < 1.1 * u || ly < 1.1 * u) return Rgb(84, 80, 76);
    if (lx < 2.2 * u || ly < 2.2 * u) c = Scale(c, 1.07);
    else if (lx > h - 1.6 * u || ly > h - 1.6 * u) c = Scale(c, 0.9);
    // one fine crack per variant, in a different slab
    const double cx = variant ? x - 0.75 * S : x - 0.25 * S, cy = variant ? y - 0.3 * S : y - 0.72 * S;
    const double crack = std::abs(cy - 0.35 * cx - 1.5 * u * std::sin(cx / (2.5 * u)));
    if (std::abs(cx) < 0.16 * S && crack < 0.55 * u) return Scale(c, 0.72);
    return c;
}

QRgb Planks(double x, double y, int S, bool vertical, QRgb dark, QRgb light, uint32_t seed) {
    const double u = S / 48.0, bh = S / 4.0;
    const double a = vertical ? x : y, b = vertical ? y : x;
    const int row = int(std::floor(a / bh));
    const double la = a - row * bh;
    const double endAt = (row % 2) ? S * 0.5 : 0.0;
    const double lb = std::fmod(b - endAt + S, double(S));
    const double grain = 0.5 +
                         0.5 * std::sin(2 * Pi * (a * 4 / S) +
                                        6 * ValueNoise(vertical ? x : y * 0.25, vertical ? y * 0.25 : x, 8, S, seed));
    QRgb c = Mix(dark, light, 0.35 + 0.3 * Hash01(row & 3, 0, seed) + 0.25 * grain);
    if (la < 1.0 * u || lb < 1.0 * u) return Scale(dark, 0.55);
    if (la > bh - 1.5 * u) c = Scale(c, 0.85);
    if (std::hypot(lb - 3 * u, la - bh / 2) < 0.9 * u || std::hypot(lb - S + 3 * u, la - bh / 2) < 0.9 * u)
        return Rgb(60, 52, 46);
    return c;
}

QRgb Speckled(double x, double y, int S, QRgb lo, QRgb hi, uint32_t seed, double speck = 0.08) {
    QRgb c = Mix(lo, hi, Fbm(x, y, S, seed));
    const double n = ValueNoise(x, y, 24, S, seed + 50);
    if (n > 1 - speck) c = Scale(c, 1.12);
    if (n < speck) c = Scale(c, 0.86);
    return c;
}

QRgb Grass(double x, double y, int S, QRgb lo, QRgb hi, uint32_t seed) {
    QRgb c = Mix(lo, hi, 0.6 * Fbm(x, y, S, seed) + 0.4 * ValueNoise(x, y, 24, S, seed + 3));
    const double blade = std::sin(2 * Pi * (x * 6 / S) + 8 * ValueNoise(x, y, 12, S, seed + 4)) *
                         std::sin(2 * Pi * (y * 8 / S) + 5 * ValueNoise(x, y, 6, S, seed + 5));
    if (blade > 0.75) c = Scale(c, 1.15);
    if (blade < -0.8) c = Scale(c, 0.85);
    return c;
}

QRgb Cobbles(double x, double y, int S, QRgb lo, QRgb hi, uint32_t seed, int cells) {
    const double u = S / 48.0;
    const Cellular w = Worley(x, y, cells, S, seed, 0.55);
    const double edge = w.f2 - w.f1;
    QRgb c = Mix(lo, hi, 0.6 * Hash01(int(w.id), 2, seed) + 0.4 * Fbm(x, y, S, seed + 1));
    const double r = double(S) / cells / 2;
    c = Scale(c, 1.0 + 0.3 * (((w.cx - x) + (w.cy - y)) / (2 * r)));
    if (edge < 1.5 * u) return Scale(lo, 0.5);
    if (edge < 2.5 * u) return Scale(c, 0.8);
    return c;
}
} // namespace

void DrawGrounds(QImage& sheet, const Style& st) {
    const int S = st.S;
    const double u = S / 48.0;
    auto put = [&](int s, auto f) { FillCell(sheet, s, S, [&](double x, double y) { return Opaque(f(x, y)); }); };

    put(sym::Flagstone, [&](double x, double y) { return Flagstones(x, y, S, 1100); });
    put(sym::FloorA, [&](double x, double y) { return SlabFloor(x, y, S, 0); });
    put(sym::FloorB, [&](double x, double y) { return SlabFloor(x, y, S, 1); });
    put(sym::Dirt, [&](double x, double y) {
        const Cellular w = Worley(x, y, 6, S, 1600, 0.9);
        QRgb c = Speckled(x, y, S, Rgb(116, 86, 58), Rgb(150, 116, 80), 1601);
        if (w.f1 < 1.3 * u * (0.5 + Hash01(int(w.id), 0, 1602))) c = Rgb(170, 150, 124);
        return c;
    });
    put(sym::Grass, [&](double x, double y) { return Grass(x, y, S, Rgb(70, 128, 44), Rgb(118, 170, 62), 1700); });
    put(sym::Sand, [&](double x, double y) {
        const double rip = std::sin(2 * Pi * (4 * y + x) / S + 3 * ValueNoise(x, y, 4, S, 1801));
        return Scale(Speckled(x, y, S, Rgb(222, 198, 142), Rgb(240, 220, 170), 1800), 0.96 + 0.04 * rip);
    });
    put(sym::Gravel,
        [&](double x, double y) { return Cobbles(x, y, S, Rgb(112, 108, 100), Rgb(176, 170, 158), 1900, 8); });
    put(sym::Planks,
        [&](double x, double y) { return Planks(x, y, S, false, Rgb(132, 92, 54), Rgb(186, 142, 92), 2000); });
    put(sym::Marble, [&](double x, double y) {
        const double h = S / 2.0;
        const double vein = std::abs(std::sin(2 * Pi * (x + 2 * y) / S + 4 * Fbm(x, y, S, 2101)));
        QRgb c = Mix(Rgb(214, 212, 206), Rgb(236, 234, 228), Fbm(x, y, S, 2100));
        if (vein < 0.07) c = Mix(Rgb(150, 148, 156), c, vein / 0.07);
        if (std::fmod(x, h) < 0.8 * u || std::fmod(y, h) < 0.8 * u) c = Rgb(170, 166, 160);
        return c;
    });
    put(sym::DarkPit, [&](double x, double y) {
        const Cellular w = Worley(x, y, 4, S, 2500, 0.9);
        QRgb c = Speckled(x, y, S, Rgb(34, 30, 30), Rgb(62, 56, 54), 2501);
        if (w.f2 - w.f1 < 1.0 * u) c = Rgb(20, 18, 18);
        return c;
    });
    put(sym::ShallowWater, [&](double x, double y) {
        const Cellular w = Worley(x, y, 4, S, 4700, 0.8);
        QRgb c = Mix(Rgb(104, 170, 196), Rgb(136, 196, 214), Fbm(x, y, S, 4701));
        const double e = w.f2 - w.f1;
        if (e < 1.4 * u) c = Mix(Rgb(204, 236, 242), c, e / (1.4 * u));
        return c;
    });
    put(sym::LavaCracks, [&](double x, double y) {
        const Cellular w = Worley(x, y, 4, S, 4800, 0.85);
        QRgb c = Speckled(x, y, S, Rgb(50, 44, 44), Rgb(84, 74, 70), 4801);
        const double e = w.f2 - w.f1;
        if (e < 0.7 * u) return Rgb(255, 224, 96);
        if (e < 1.8 * u) return Mix(Rgb(250, 120, 26), Rgb(150, 44, 20), (e - 0.7 * u) / (1.1 * u));
        if (e < 3 * u) c = Mix(Rgb(110, 50, 34), c, (e - 1.8 * u) / (1.2 * u));
        return c;
    });
    put(sym::Deck, [&](double x, double y) { return Planks(x, y, S, true, Rgb(96, 64, 40), Rgb(146, 104, 64), 5700); });
    put(sym::DirtRoad, [&](double x, double y) { // a dirt road running east-west: two wheel ruts, a grassy crown
        QRgb c = Speckled(x, y, S, Rgb(146, 112, 74), Rgb(178, 142, 98), 6300);
        const double wob = 1.5 * u * (ValueNoise(x, y, 4, S, 6301) - 0.5);
        for (double ry : {S * 0.3, S * 0.7}) {
            const double d = std::abs(y - ry - wob);
            if (d < 2.6 * u) c = Scale(c, 0.72 + 0.1 * d / (2.6 * u));
            else if (d < 3.6 * u) c = Scale(c, 1.08);
        }
        if (std::abs(y - S * 0.5 - wob) < 2 * u && ValueNoise(x, y, 12, S, 6302) > 0.45) c = Rgb(110, 140, 64);
        return c;
    });
    put(sym::Cobbles,
        [&](double x, double y) { return Cobbles(x, y, S, Rgb(104, 98, 92), Rgb(164, 152, 138), 6400, 4); });
    put(sym::Snow, [&](double x, double y) { // snow drifts, shaded like the ground beneath them
        auto h = [&](double px, double py) { return 6 * u * Fbm(px, py, S, 6800); };
        const double shade = Clamp01(0.5 + 0.5 * ((h(x - 1, y) - h(x + 1, y)) + (h(x, y - 1) - h(x, y + 1))) / (2 * u));
        QRgb c = Mix(Rgb(172, 188, 216), Rgb(236, 241, 249), 0.3 + 0.7 * shade);
        if (ValueNoise(x, y, 24, S, 6801) > 0.86) c = Rgb(176, 192, 218);
        return c;
    });
    put(sym::CaveFloor, [&](double x, double y) {
        const Cellular w = Worley(x, y, 3, S, 8300, 0.9);
        QRgb c = Speckled(x, y, S, Rgb(104, 92, 80), Rgb(144, 130, 112), 8301);
        if (w.f2 - w.f1 < 0.9 * u) c = Scale(c, 0.7);
        return c;
    });
    put(sym::Mud, [&](double x, double y) {
        const double f = Fbm(x, y, S, 8400);
        QRgb c = Mix(Rgb(78, 58, 40), Rgb(112, 84, 56), f);
        if (f > 0.66) c = Mix(c, Rgb(150, 132, 110), (f - 0.66) * 3);
        return c;
    });
    put(sym::Ice, [&](double x, double y) {
        const Cellular w = Worley(x, y, 3, S, 8500, 0.9);
        QRgb c = Mix(Rgb(178, 218, 236), Rgb(214, 238, 248), Fbm(x, y, S, 8501));
        const double streak = std::sin(2 * Pi * (x - y) * 2 / S + 2 * ValueNoise(x, y, 4, S, 8502));
        if (streak > 0.9) c = Rgb(232, 246, 252);
        if (w.f2 - w.f1 < 0.8 * u) c = Rgb(140, 190, 218);
        return c;
    });
    put(sym::Carpet, [&](double x, double y) {
        const double q = S / 2.0;
        const double dx = std::abs(std::fmod(x, q) - q / 2), dy = std::abs(std::fmod(y, q) - q / 2);
        const double d = dx + dy;
        QRgb c = Mix(Rgb(138, 26, 34), Rgb(164, 40, 44), ValueNoise(x, y, 24, S, 9100));
        if (std::abs(d - q * 0.36) < 1.2 * u) c = Rgb(214, 170, 74);
        if (d < q * 0.12) c = Rgb(40, 56, 110);
        return c;
    });
    put(sym::GrassB, [&](double x, double y) { return Grass(x, y, S, Rgb(46, 104, 36), Rgb(86, 146, 50), 9600); });
    put(sym::GrassC, [&](double x, double y) { return Grass(x, y, S, Rgb(150, 146, 72), Rgb(192, 180, 100), 9700); });
    put(sym::Flowers, [&](double x, double y) {
        const Cellular w = Worley(x, y, 6, S, 9801, 0.9);
        QRgb c = Grass(x, y, S, Rgb(74, 132, 46), Rgb(118, 172, 64), 9800);
        if (w.f1 < 1.5 * u) {
            static const QRgb petals[4] = {Rgb(236, 210, 60), Rgb(230, 120, 170), Rgb(240, 240, 236),
                                           Rgb(150, 120, 220)};
            c = petals[w.id % 4];
        }
        return c;
    });
    put(sym::Farmland, [&](double x, double y) {
        const double p = S / 6.0;
        const double t = std::fmod(y, p) / p;
        QRgb c = Mix(Rgb(104, 76, 50), Rgb(146, 110, 72),
                     0.5 + 0.5 * std::sin(2 * Pi * t) + 0.2 * (Fbm(x, y, S, 9900) - 0.5));
        if (t > 0.4 && t < 0.6 && ValueNoise(x, y, 12, S, 9901) > 0.55) c = Rgb(96, 150, 56);
        return c;
    });
    put(sym::Swamp, [&](double x, double y) {
        const double f = Fbm(x, y, S, 10200);
        QRgb c = Grass(x, y, S, Rgb(78, 90, 50), Rgb(110, 120, 66), 10201);
        if (f < 0.42) c = Mix(Rgb(46, 66, 56), Rgb(70, 92, 74), f / 0.42);
        if (f < 0.42 && ValueNoise(x, y, 16, S, 10202) > 0.82) c = Rgb(120, 150, 120);
        return c;
    });
    put(sym::Ash,
        [&](double x, double y) { return Speckled(x, y, S, Rgb(104, 102, 100), Rgb(150, 146, 142), 10300, 0.15); });
    put(sym::Dune, [&](double x, double y) {
        const double rip = std::sin(2 * Pi * (4 * y) / S + 5 * ValueNoise(x, y, 4, S, 10901));
        QRgb c = Mix(Rgb(220, 160, 88), Rgb(240, 190, 118), Fbm(x, y, S, 10900));
        return Scale(c, 0.92 + 0.08 * rip);
    });
}

} // namespace gen
