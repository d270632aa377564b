#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "tools/SaveFile.h"
#include "tools/TilesetArt.h"

namespace gen {

namespace {
uint32_t Mix32(uint32_t h) {
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}
int Wrap(int i, int n) { return ((i % n) + n) % n; }
} // namespace

double Hash01(int x, int y, uint32_t seed) {
    const uint32_t h = Mix32(uint32_t(x) * 0x9E3779B1U ^ Mix32(uint32_t(y) * 0x85EBCA77U ^ Mix32(seed)));
    return (h & 0xFFFFFF) / double(0x1000000);
}

double ValueNoise(double x, double y, int cells, int period, uint32_t seed) {
    const double size = double(period) / cells;
    const double fx = x / size, fy = y / size;
    const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    double tx = fx - ix, ty = fy - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto h = [&](int i, int j) { return Hash01(Wrap(i, cells), Wrap(j, cells), seed); };
    const double a = h(ix, iy), b = h(ix + 1, iy), c = h(ix, iy + 1), d = h(ix + 1, iy + 1);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double Fbm(double x, double y, int period, uint32_t seed) {
    return 0.5 * ValueNoise(x, y, 4, period, seed) + 0.3 * ValueNoise(x, y, 8, period, seed + 1) +
           0.2 * ValueNoise(x, y, 16, period, seed + 2);
}

Cellular Worley(double x, double y, int cells, int period, uint32_t seed, double jitter) {
    const double size = double(period) / cells;
    const int ix = int(std::floor(x / size)), iy = int(std::floor(y / size));
    Cellular r{1e9, 1e9, 0, 0, 0};
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
            const int cx = ix + i, cy = iy + j;
            const int wx = Wrap(cx, cells), wy = Wrap(cy, cells);
            const double px = (cx + 0.5 + jitter * (Hash01(wx, wy, seed) - 0.5)) * size;
            const double py = (cy + 0.5 + jitter * (Hash01(wx, wy, seed + 7) - 0.5)) * size;
            const double d = std::hypot(x - px, y - py);
            if (d < r.f1) {
                r.f2 = r.f1;
                r.f1 = d;
                r.id = uint32_t(wy * cells + wx);
                r.cx = px;
                r.cy = py;
            } else if (d < r.f2) {
                r.f2 = d;
            }
        }
    return r;
}

double Clamp01(double v) { return v < 0 ? 0 : v > 1 ? 1 : v; }
double SmoothStep(double a, double b, double x) {
    const double t = Clamp01((x - a) / (b - a));
    return t * t * (3 - 2 * t);
}
QRgb Rgb(int r, int g, int b) { return qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255)); }
QRgb Mix(QRgb a, QRgb b, double t) {
    t = Clamp01(t);
    return Rgb(int(std::lround(qRed(a) + (qRed(b) - qRed(a)) * t)),
               int(std::lround(qGreen(a) + (qGreen(b) - qGreen(a)) * t)),
               int(std::lround(qBlue(a) + (qBlue(b) - qBlue(a)) * t)));
}
QRgb Scale(QRgb c, double f) {
    return Rgb(int(std::lround(qRed(c) * f)), int(std::lround(qGreen(c) * f)), int(std::lround(qBlue(c) * f)));
}

QRect CellRect(int symbol, int S) { return QRect((symbol % 16) * S, (symbol / 16) * S, S, S); }

void FillCell(QImage& sheet, int symbol, int S, const std::function<QRgb(double, double)>& f) {
    const QRect r = CellRect(symbol, S);
    for (int y = 0; y < S; ++y) {
        auto* line = reinterpret_cast<QRgb*>(sheet.scanLine(r.top() + y)) + r.left();
        for (int x = 0; x < S; ++x) line[x] = f(x + 0.5, y + 0.5) | 0xFF000000;
    }
}

void DrawObject(QImage& sheet, int symbol, const Style& st, const std::function<void(QPainter&)>& draw, bool outline) {
    const int S = st.S;
    QImage layer(S, S, QImage::Format_ARGB32_Premultiplied);
    layer.fill(0);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(S / 48.0, S / 48.0);
        draw(p);
    }
    const QImage flat = layer.convertToFormat(QImage::Format_ARGB32);
    std::vector<uint8_t> solid(size_t(S * S), 0);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) solid[size_t(y * S + x)] = qAlpha(flat.pixel(x, y)) >= 128;
    const QRect r = CellRect(symbol, S);
    const QRgb ink = qRgb(34, 28, 26);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            QRgb out;
            if (solid[size_t(y * S + x)]) {
                out = flat.pixel(x, y) | 0xFF000000;
                if ((out & 0xFFFFFF) == 0xFFFFFF) out = qRgb(252, 252, 250);
            } else if (outline &&
                       ((x > 0 && solid[size_t(y * S + x - 1)]) || (x + 1 < S && solid[size_t(y * S + x + 1)]) ||
                        (y > 0 && solid[size_t((y - 1) * S + x)]) || (y + 1 < S && solid[size_t((y + 1) * S + x)]))) {
                out = ink;
            } else {
                continue;
            }
            sheet.setPixel(r.left() + x, r.top() + y, out);
        }
}

// ---------------- palette ----------------

namespace {
struct Entry {
    int r, g, b;
    double w;
};

double Distance(int r1, int g1, int b1, int r2, int g2, int b2) {
    const double rm = (r1 + r2) / 2.0;
    const double dr = r1 - r2, dg = g1 - g2, db = b1 - b2;
    return (2 + rm / 256) * dr * dr + 4 * dg * dg + (2 + (255 - rm) / 256) * db * db;
}
} // namespace

QImage Quantize(const QImage& rgbIn) {
    const QImage rgb = rgbIn.convertToFormat(QImage::Format_RGB32);
    std::unordered_map<uint32_t, double> hist;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const uint32_t c = rgb.pixel(x, y) & 0xFFFFFF;
            if (c != 0xFFFFFF && c != 0) hist[c] += 1;
        }
    std::vector<Entry> colours;
    colours.reserve(hist.size());
    for (auto& [c, n] : hist) colours.push_back({int(c >> 16 & 255), int(c >> 8 & 255), int(c & 255), std::sqrt(n)});
    std::sort(colours.begin(), colours.end(),
              [](const Entry& a, const Entry& b) { return std::tie(a.r, a.g, a.b) < std::tie(b.r, b.g, b.b); });

    // Median cut: split the box with the largest weighted spread at its weighted median.
    struct Box {
        size_t lo, hi;
    };
    std::vector<Box> boxes{{0, colours.size()}};
    auto spread = [&](const Box& b, int& axis) {
        int mn[3] = {255, 255, 255}, mx[3] = {0, 0, 0};
        double w = 0;
        for (size_t i = b.lo; i < b.hi; ++i) {
            const int v[3] = {colours[i].r, colours[i].g, colours[i].b};
            for (int k = 0; k < 3; ++k) mn[k] = std::min(mn[k], v[k]), mx[k] = std::max(mx[k], v[k]);
            w += colours[i].w;
        }
        const double sp[3] = {(mx[0] - mn[0]) * 1.2, (mx[1] - mn[1]) * 1.6, double(mx[2] - mn[2])};
        axis = int(std::max_element(sp, sp + 3) - sp);
        return sp[axis] * std::sqrt(w);
    };
    const size_t wanted = 253;
    while (boxes.size() < wanted) {
        double best = 0;
        size_t bi = 0;
        int axis = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].hi - boxes[i].lo < 2) continue;
            int a;
            const double s = spread(boxes[i], a);
            if (s > best) best = s, bi = i, axis = a;
        }
        if (best <= 0) break;
        Box b = boxes[bi];
        std::sort(colours.begin() + long(b.lo), colours.begin() + long(b.hi), [axis](const Entry& x, const Entry& y) {
            const int vx = axis == 0 ? x.r : axis == 1 ? x.g : x.b, vy = axis == 0 ? y.r : axis == 1 ? y.g : y.b;
            return vx != vy ? vx < vy : std::tie(x.r, x.g, x.b) < std::tie(y.r, y.g, y.b);
        });
        double total = 0, acc = 0;
        for (size_t i = b.lo; i < b.hi; ++i) total += colours[i].w;
        size_t cut = b.lo + 1;
        for (size_t i = b.lo; i < b.hi - 1; ++i) {
            acc += colours[i].w;
            cut = i + 1;
            if (acc >= total / 2) break;
        }
        boxes[bi] = {b.lo, cut};
        boxes.push_back({cut, b.hi});
    }
    std::vector<std::array<double, 3>> pal;
    for (const Box& b : boxes) {
        double r = 0, g = 0, bl = 0, w = 0;
        for (size_t i = b.lo; i < b.hi; ++i)
            r += colours[i].r * colours[i].w, g += colours[i].g * colours[i].w, bl += colours[i].b * colours[i].w,
                w += colours[i].w;
        if (w > 0) pal.push_back({r / w, g / w, bl / w});
    }
    // A few rounds of refinement move each entry to the centre of the colours it serves.
    std::vector<int> nearest(colours.size());
    for (int round = 0; round < 4; ++round) {
        std::vector<std::array<double, 4>> sum(pal.size(), {0, 0, 0, 0});
        for (size_t i = 0; i < colours.size(); ++i) {
            double best = 1e18;
            int bi = 0;
            for (size_t k = 0; k < pal.size(); ++k) {
                const double d = Distance(colours[i].r, colours[i].g, colours[i].b, int(pal[k][0]), int(pal[k][1]),
                                          int(pal[k][2]));
                if (d < best) best = d, bi = int(k);
            }
            nearest[i] = bi;
            sum[size_t(bi)][0] += colours[i].r * colours[i].w;
            sum[size_t(bi)][1] += colours[i].g * colours[i].w;
            sum[size_t(bi)][2] += colours[i].b * colours[i].w;
            sum[size_t(bi)][3] += colours[i].w;
        }
        for (size_t k = 0; k < pal.size(); ++k)
            if (sum[k][3] > 0) pal[k] = {sum[k][0] / sum[k][3], sum[k][1] / sum[k][3], sum[k][2] / sum[k][3]};
    }

    QList<QRgb> table;
    table.push_back(qRgb(0, 0, 0));
    for (auto& c : pal) {
        QRgb q = qRgb(int(std::lround(c[0])), int(std::lround(c[1])), int(std::lround(c[2])));
        if ((q & 0xFFFFFF) == 0xFFFFFF) q = qRgb(254, 254, 254);
        if ((q & 0xFFFFFF) == 0) q = qRgb(1, 1, 1);
        table.push_back(q);
    }
    while (table.size() < 254) table.push_back(qRgb(128, 128, 128));
    table.push_back(qRgb(255, 255, 255));

    std::unordered_map<uint32_t, int> lookup;
    lookup[0xFFFFFF] = 254;
    lookup[0] = 0;
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(table);
    for (int y = 0; y < rgb.height(); ++y) {
        uchar* line = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const uint32_t c = rgb.pixel(x, y) & 0xFFFFFF;
            auto it = lookup.find(c);
            if (it == lookup.end()) {
                double best = 1e18;
                int bi = 1;
                for (int k = 1; k < 254; ++k) {
                    const QRgb q = table[k];
                    const double d = Distance(int(c >> 16 & 255), int(c >> 8 & 255), int(c & 255), qRed(q), qGreen(q),
                                              qBlue(q));
                    if (d < best) best = d, bi = k;
                }
                it = lookup.emplace(c, bi).first;
            }
            line[x] = uchar(it->second);
        }
    }
    return out;
}

bool WriteBmp8(const QImage& img, const QString& path) {
    const int w = img.width(), h = img.height();
    const int colours = int(img.colorCount());
    const int stride = (w + 3) / 4 * 4;
    const uint32_t offBits = 14 + 40 + 4 * uint32_t(colours);
    const uint32_t fileSize = offBits + uint32_t(stride * h);
    QByteArray b;
    auto u16 = [&](uint32_t v) { b.append(char(v & 255)).append(char(v >> 8 & 255)); };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    b.append("BM");
    u32(fileSize);
    u32(0);
    u32(offBits);
    u32(40);
    u32(uint32_t(w));
    u32(uint32_t(h));
    u16(1);
    u16(8);
    u32(0);
    u32(uint32_t(stride * h));
    u32(2835);
    u32(2835);
    u32(uint32_t(colours));
    u32(uint32_t(colours));
    for (QRgb c : img.colorTable()) b.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    for (int y = h - 1; y >= 0; --y) {
        b.append(reinterpret_cast<const char*>(img.constScanLine(y)), w);
        b.append(QByteArray(stride - w, '\0'));
    }
    return SaveFile(b, path);
}

void DrawTinyText(QImage& img, int x, int y, const QString& text, QRgb color, int scale) {
    static const std::unordered_map<char, const char*> glyphs = {
        {'0', "111101101101111"}, {'1', "010110010010111"}, {'2', "111001111100111"}, {'3', "111001111001111"},
        {'4', "101101111001001"}, {'5', "111100111001111"}, {'6', "111100111101111"}, {'7', "111001010010010"},
        {'8', "111101111101111"}, {'9', "111101111001111"}, {'A', "010101111101101"}, {'B', "110101110101110"},
        {'C', "011100100100011"}, {'D', "110101101101110"}, {'E', "111100110100111"}, {'F', "111100110100100"},
        {'G', "011100101101011"}, {'H', "101101111101101"}, {'I', "111010010010111"}, {'L', "100100100100111"},
        {'M', "101111111101101"}, {'N', "110101101101101"}, {'O', "010101101101010"}, {'P', "110101110100100"},
        {'R', "110101110101101"}, {'S', "011100010001110"}, {'T', "111010010010010"}, {'U', "101101101101111"},
        {'W', "101101111111101"}, {'X', "101101010101101"}, {'Y', "101101010010010"}, {'K', "101101110101101"},
        {'Z', "111001010100111"}, {'-', "000000111000000"}, {' ', "000000000000000"}, {'J', "001001001101010"},
        {'V', "101101101101010"}, {'Q', "010101101110011"},
    };
    int cx = x;
    for (QChar qc : text) {
        auto it = glyphs.find(char(qc.toUpper().toLatin1()));
        if (it != glyphs.end())
            for (int j = 0; j < 5; ++j)
                for (int i = 0; i < 3; ++i)
                    if (it->second[j * 3 + i] == '1')
                        for (int sy = 0; sy < scale; ++sy)
                            for (int sx = 0; sx < scale; ++sx)
                                if (img.valid(cx + i * scale + sx, y + j * scale + sy))
                                    img.setPixel(cx + i * scale + sx, y + j * scale + sy, color);
        cx += 4 * scale;
    }
}

} // namespace gen
