// The eight smart terrains: each piece is one mask made of whole quarters with rounded
// corners at the cell centre, textured with noise that repeats every cell.
#include <cmath>

#include "gen_tileset.h"

namespace gen {

namespace {

constexpr double Pi = 3.14159265358979323846;
enum { NW = 1, NE = 2, SW = 4, SE = 8 };

// Signed distance to a quadrant of the centre whose corner is rounded with radius r;
// (sx, sy) picks the quadrant; negative inside.
double RoundedQuadrant(double x, double y, double c, double r, int sx, int sy) {
    const double u = sx * (x - c), v = sy * (y - c);
    const double a = r - u, b = r - v;
    const double out = (a > 0 && b > 0) ? std::hypot(a, b) : std::max(a, b);
    return out - r;
}

double QuadrantOf(int bit, double x, double y, double c, double r) {
    switch (bit) {
    case NW: return RoundedQuadrant(x, y, c, r, -1, -1);
    case NE: return RoundedQuadrant(x, y, c, r, 1, -1);
    case SW: return RoundedQuadrant(x, y, c, r, -1, 1);
    default: return RoundedQuadrant(x, y, c, r, 1, 1);
    }
}

// Signed distance to the terrain's edge, taking every cell border as continued by the
// neighbour, so that distances (and everything shaded from them) agree across cells.
double ShapeDistance(int shape, double x, double y, int S) {
    const double c = S / 2.0, r = S / 4.0;
    const int q = ShapeQuarters(shape);
    if (shape == 0) { // a lone patch: a rounded square inside the cell
        const double h = S * 0.36, rr = S * 0.2;
        const double qx = std::abs(x - c) - (h - rr), qy = std::abs(y - c) - (h - rr);
        return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - rr;
    }
    switch (q) {
    case NW | NE: return y - c;
    case SW | SE: return c - y;
    case NW | SW: return x - c;
    case NE | SE: return c - x;
    case NW | NE | SW | SE: return -1e6;
    case NW | SE: return std::min(QuadrantOf(NW, x, y, c, r), QuadrantOf(SE, x, y, c, r));
    case NE | SW: return std::min(QuadrantOf(NE, x, y, c, r), QuadrantOf(SW, x, y, c, r));
    case NW: case NE: case SW: case SE: return QuadrantOf(q, x, y, c, r);
    default: return -QuadrantOf(15 & ~q, x, y, c, r); // three quarters: the open one rounded
    }
}

} // namespace

int ShapeQuarters(int k) {
    static const int table[16] = {0,      NW | NE,           SW | SE,           NW | SW,           NE | SE, SW, NW, NE,
                                  SE,     NW | NE | SE,      NE | SW | SE,      NW | NE | SW,      NW | SW | SE,
                                  NW | NE | SW | SE, NW | SE, NE | SW};
    return table[k & 15];
}

QRgb TerrainPixel(int family, int shape, double x, double y, int S) {
    const double u = S / 48.0;
    auto sdAt = [&](double px, double py) {
        double d = ShapeDistance(shape, px, py, S);
        if (family == 5) d += 2.2 * u * (ValueNoise(px, py, 8, S, 501) - 0.5) * 2; // ragged tree line
        if (family == 3) d += 1.4 * u * (ValueNoise(px, py, 16, S, 311) - 0.5) * 2; // crumbling lip
        return d;
    };
    return ShadeTerrain(family, sdAt, x, y, S, shape == 13 && family != 5);
}

QRgb ShadeTerrain(int family, const std::function<double(double, double)>& sdAt, double x, double y, int S,
                  bool lowerFull) {
    const double u = S / 48.0;
    const double sd = sdAt(x, y);
    if (sd >= 0 && !lowerFull) return qRgb(255, 255, 255);
    double nx = sdAt(x + 0.5, y) - sdAt(x - 0.5, y), ny = sdAt(x, y + 0.5) - sdAt(x, y - 0.5);
    const double nl = std::hypot(nx, ny);
    if (nl > 1e-9) nx /= nl, ny /= nl; else nx = ny = 0;
    const double toLight = (-nx - ny) / std::sqrt(2.0); // outward normal facing the top-left light
    const double depth = std::min(-sd, 1e4);
    const double f = Fbm(x, y, S, 100 + family * 17);
    const double outline = 1.25 * u;

    switch (family) {
    case 0: { // wall: dressed stone blocks on top, a bevelled face at the edge
        const double bh = S / 4.0, bw = S / 2.0;
        const int row = int(std::floor(y / bh));
        const double ox = (row % 2) ? S / 4.0 : 0;
        const int col = int(std::floor((x + ox) / bw));
        const double lx = std::fmod(x + ox, bw), ly = std::fmod(y, bh);
        const double tone = Hash01(((col % 2) + 2) % 2, ((row % 4) + 4) % 4, 77);
        QRgb stone = Mix(Rgb(78, 76, 88), Rgb(118, 114, 126), 0.35 + 0.45 * tone + 0.4 * (f - 0.5));
        if (lx < 1.2 * u || ly < 1.2 * u) stone = Rgb(46, 44, 52);
        else if (lx < 2.4 * u || ly < 2.4 * u) stone = Scale(stone, 1.12);
        else if (lx > bw - 2 * u || ly > bh - 2 * u) stone = Scale(stone, 0.86);
        if (depth < outline) return Rgb(22, 20, 26);
        if (depth < 6 * u) {
            const QRgb face = Mix(Rgb(58, 54, 64), Rgb(170, 164, 176), 0.5 + 0.5 * toLight);
            return Mix(face, stone, SmoothStep(4.5 * u, 6 * u, depth));
        }
        return stone;
    }
    case 1: { // water: deeper towards the middle, ripples, a foam line at the shore
        const double ripple = std::sin(2 * Pi * (2 * y / S + 1 * x / S) + 5.0 * ValueNoise(x, y, 4, S, 131));
        QRgb c = Mix(Rgb(96, 168, 206), Rgb(34, 84, 150), SmoothStep(0, 16 * u, depth) * 0.8 + 0.2 * f);
        if (ripple > 0.82) c = Mix(c, Rgb(170, 214, 236), (ripple - 0.82) * 3.5);
        if (ripple < -0.9) c = Scale(c, 0.9);
        if (depth < outline) return Rgb(24, 52, 96);
        if (depth < 3.2 * u) return Mix(Rgb(226, 242, 248), c, SmoothStep(2 * u, 3.2 * u, depth));
        return c;
    }
    case 2: { // fire: molten rock with glowing veins and a charred crust at the edge
        const double vein = std::abs(Fbm(x, y, S, 221) - 0.5);
        QRgb c = Mix(Rgb(172, 36, 12), Rgb(240, 128, 24), SmoothStep(0.3, 0.7, f));
        if (vein < 0.06) c = Mix(Rgb(255, 232, 110), c, vein / 0.06);
        if (depth < outline) return Rgb(40, 16, 12);
        if (depth < 5 * u) {
            const double crust = SmoothStep(2.5 * u, 5 * u, depth);
            return Mix(Mix(Rgb(62, 34, 26), Rgb(110, 64, 46), 0.5 + 0.5 * toLight), Rgb(255, 170, 50), crust * 0.8);
        }
        return c;
    }
    case 3: { // hole: a dark pit below a crumbling stone lip
        QRgb c = Mix(Rgb(64, 56, 54), Rgb(10, 9, 12), SmoothStep(3 * u, 16 * u, depth));
        c = Scale(c, 0.85 + 0.3 * f);
        if (depth < outline) return Rgb(20, 16, 14);
        if (depth < 4.5 * u) {
            const double lit = -toLight; // the far wall of a pit catches the light
            return Scale(Mix(Rgb(96, 84, 72), Rgb(182, 164, 138), 0.5 + 0.5 * lit), 0.85 + 0.3 * f);
        }
        return c;
    }
    case 4: { // slime: bubbling green ooze with a bright meniscus
        const Cellular w = Worley(x, y, 4, S, 411, 0.7);
        QRgb c = Mix(Rgb(78, 150, 36), Rgb(150, 206, 62), f);
        const double br = 3.2 * u * (0.6 + 0.6 * Hash01(int(w.id), 3, 412));
        if (w.f1 < br) {
            c = Mix(Rgb(170, 226, 90), Rgb(110, 178, 44), w.f1 / br);
            const double hx = x - (w.cx - br * 0.35), hy = y - (w.cy - br * 0.35);
            if (std::hypot(hx, hy) < br * 0.3) c = Rgb(226, 250, 180);
        }
        if (depth < outline) return Rgb(28, 66, 18);
        if (depth < 3 * u) return Mix(Rgb(196, 240, 126), c, SmoothStep(1.8 * u, 3 * u, depth));
        return c;
    }
    case 5: { // forest: round crowns lit from the top left, dark gaps between them
        const Cellular w = Worley(x, y, 3, S, 521, 0.7);
        const double R = S / 3.0 * 0.62;
        QRgb c = Rgb(26, 58, 26);
        if (w.f1 < R) {
            const double dx = (x - w.cx) / R, dy = (y - w.cy) / R;
            const double dz = std::sqrt(std::max(0.0, 1 - dx * dx - dy * dy));
            const double lit = Clamp01((-dx - dy) * 0.45 + dz * 0.75);
            c = Mix(Rgb(34, 82, 34), Rgb(122, 174, 66), lit);
            c = Scale(c, 0.9 + 0.2 * ValueNoise(x, y, 16, S, 522));
        }
        if (depth < outline) return Rgb(18, 40, 18);
        if (depth < 3.5 * u) return Mix(Scale(c, 0.7), c, depth / (3.5 * u));
        return c;
    }
    case 6: { // mountain: rock that rises away from a lit or shaded cliff
        const Cellular w = Worley(x, y, 3, S, 621, 0.9);
        const double ridge = SmoothStep(0, 3 * u, w.f2 - w.f1);
        const double height = SmoothStep(0, 20 * u, depth);
        QRgb c = Mix(Rgb(120, 104, 88), Rgb(196, 184, 164), 0.25 + 0.45 * height + 0.3 * f);
        const double facing = ((x - w.cx) * -1 + (y - w.cy) * -1) / (S / 3.0);
        c = Scale(c, 0.9 + 0.18 * facing);
        if (ridge < 1) c = Mix(Rgb(90, 76, 64), c, 0.3 + 0.7 * ridge);
        if (depth < outline) return Rgb(44, 34, 28);
        if (depth < 7 * u) {
            const double along = nx * y - ny * x;
            const double hatch = 0.5 + 0.5 * std::sin(2 * Pi * along / (3.2 * u));
            QRgb cliff = Mix(Rgb(86, 70, 58), Rgb(212, 196, 170), 0.5 + 0.5 * toLight);
            cliff = Scale(cliff, 0.82 + 0.18 * hatch);
            return Mix(cliff, c, SmoothStep(5.5 * u, 7 * u, depth));
        }
        return c;
    }
    default: { // desert: rippled sand with a dune crest along the edge
        const double ripple = std::sin(2 * Pi * (3 * x + 2 * y) / S + 4.0 * ValueNoise(x, y, 4, S, 731));
        QRgb c = Mix(Rgb(226, 184, 112), Rgb(242, 212, 150), f);
        c = Scale(c, 0.94 + 0.06 * ripple);
        if (depth < outline) return Rgb(132, 88, 44);
        if (depth < 5 * u) {
            const QRgb crest = Mix(Rgb(196, 140, 74), Rgb(250, 230, 180), 0.5 + 0.5 * toLight);
            return Mix(crest, c, SmoothStep(3.5 * u, 5 * u, depth));
        }
        return c;
    }
    }
}

void DrawTerrainRows(QImage& sheet, const Style& st) {
    for (int family = 0; family < 8; ++family)
        for (int k = 0; k < 16; ++k)
            FillCell(sheet, 128 + 16 * family + k, st.S,
                     [&](double x, double y) { return TerrainPixel(family, k, x, y, st.S); });
}

} // namespace gen
