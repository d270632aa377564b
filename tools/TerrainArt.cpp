// The eight smart terrains: each piece is one mask made of whole quarters with rounded
// corners at the cell centre, textured with noise that repeats every cell.
#include <cmath>

#include "tools/TilesetArt.h"

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
    case NW:
    case NE:
    case SW:
    case SE: return QuadrantOf(q, x, y, c, r);
    default: return -QuadrantOf(15 & ~q, x, y, c, r); // three quarters: the open one rounded
    }
}

} // namespace

int ShapeQuarters(int k) {
    static const int table[16] = {
        0,       NW | NE, SW | SE,      NW | SW,      NE | SE,      SW,           NW,
        NE,      SE,      NW | NE | SE, NE | SW | SE, NW | NE | SW, NW | SW | SE, NW | NE | SW | SE,
        NW | SE, NE | SW};
    return table[k & 15];
}

QRgb TerrainPixel(int family, int shape, double x, double y, int S) {
    const double u = S / 48.0;
    auto sdAt = [&](double px, double py) {
        double d = ShapeDistance(shape, px, py, S);
        if (family == 5) d += 2.2 * u * (ValueNoise(px, py, 8, S, 501) - 0.5) * 2;  // ragged tree line
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
    if (nl > 1e-9) nx /= nl, ny /= nl;
    else nx = ny = 0;
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
    case 2: { // fire: hottest in the middle, flame tongues, a charred crust at the edge
        const double wx = 6 * u * ValueNoise(x, y, 4, S, 223), wy = 6 * u * ValueNoise(x, y, 4, S, 224);
        const double tongues = 1 - std::abs(2 * Fbm(x + wx, y + wy, S, 221) - 1);
        const double heat = Clamp01(0.55 * SmoothStep(0, 16 * u, depth) + 0.3 * f + 0.35 * tongues * tongues - 0.1);
        QRgb c = heat < 0.5 ? Mix(Rgb(150, 22, 10), Rgb(238, 104, 20), heat * 2)
                            : Mix(Rgb(238, 104, 20), Rgb(255, 220, 96), (heat - 0.5) * 2);
        if (depth < outline) return Rgb(40, 16, 12);
        if (depth < 4 * u) {
            const double ember = ValueNoise(x, y, 16, S, 222) > 0.7 ? 1 : 0;
            const QRgb crust = Mix(Rgb(54, 30, 24), Rgb(104, 60, 44), 0.5 + 0.5 * toLight);
            return Mix(ember ? Rgb(220, 90, 30) : crust, c, SmoothStep(2.5 * u, 4 * u, depth));
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
        QRgb c = Mix(Rgb(150, 214, 40), Rgb(54, 140, 84), 0.65 * SmoothStep(0, 16 * u, depth) + 0.35 * f);
        const double br = 3.2 * u * (0.6 + 0.6 * Hash01(int(w.id), 3, 412));
        if (w.f1 < br) {
            c = Mix(Rgb(196, 240, 96), Scale(c, 0.85), w.f1 / br);
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
    case 6: { // mountain: a hill-shaded massif rising from a cliff at its foot
        auto height = [&](double px, double py) {
            const double d = std::min(-sdAt(px, py), 1e4);
            const Cellular w = Worley(px, py, 2, S, 640, 0.6); // one peak per Voronoi cell
            const double peaks = (w.f2 - w.f1) + 2 * u * ValueNoise(px, py, 8, S, 642);
            return 8 * u * SmoothStep(0, 14 * u, d) + 0.8 * peaks * SmoothStep(0, 9 * u, d);
        };
        const double gx = height(x + 1, y) - height(x - 1, y), gy = height(x, y + 1) - height(x, y - 1);
        const double shade = Clamp01(0.55 + 0.6 * (-gx - gy) / std::sqrt(2.0) / (2 * u));
        const double h = height(x, y) / (20 * u);
        QRgb c = Mix(Rgb(128, 106, 84), Rgb(178, 170, 158), SmoothStep(0.1, 0.9, h));
        c = Scale(c, 0.6 + 0.6 * shade + 0.08 * (ValueNoise(x, y, 12, S, 643) - 0.5));
        if (depth < outline) return Rgb(50, 38, 30);
        if (depth < 5 * u) {
            const double along = nx * y - ny * x;
            const double hatch = 0.5 + 0.5 * std::sin(2 * Pi * along / (3 * u));
            QRgb cliff = Mix(Rgb(84, 66, 52), Rgb(196, 176, 148), 0.5 + 0.5 * toLight);
            cliff = Scale(cliff, 0.8 + 0.2 * hatch);
            return Mix(cliff, c, SmoothStep(3.8 * u, 5 * u, depth));
        }
        return c;
    }
    default: { // desert: wind-shaped dunes, lit from the top left, with a crest at the edge
        auto height = [&](double px, double py) {
            const double w = 3.0 * ValueNoise(px, py, 4, S, 731);
            const double ph = 2 * Pi * (2 * px + 3 * py) / S + w;
            return 3 * u * (std::sin(ph) + 0.3 * std::sin(2 * ph)) + 3 * u * Fbm(px, py, S, 732);
        };
        const double gx = height(x + 1, y) - height(x - 1, y), gy = height(x, y + 1) - height(x, y - 1);
        const double shade = Clamp01(0.6 + 0.5 * (-gx - gy) / std::sqrt(2.0) / (2 * u));
        QRgb c = Mix(Rgb(214, 150, 72), Rgb(244, 200, 124), Fbm(x, y, S, 733));
        c = Scale(c, 0.72 + 0.42 * shade);
        if (depth < outline) return Rgb(128, 80, 36);
        if (depth < 4.5 * u) {
            const QRgb crest = Mix(Rgb(176, 114, 52), Rgb(252, 222, 160), 0.5 + 0.5 * toLight);
            return Mix(crest, c, SmoothStep(3 * u, 4.5 * u, depth));
        }
        return c;
    }
    }
}

void DrawTerrainRows(QImage& sheet, const Style& st) {
    for (int family = 0; family < 8; ++family)
        for (int k = 0; k < 16; ++k)
            FillCell(sheet, sym::TerrainSymbol(family, k), st.S,
                     [&](double x, double y) { return TerrainPixel(family, k, x, y, st.S); });
}

} // namespace gen
