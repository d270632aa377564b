#include "compose/PaperRock.h"

#include <QLineF>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "compose/MapClamp.h"

namespace qm {

namespace {

// Pen lines of the band: this many to a cell, this thick (in cells).
constexpr double HatchStep = 1.0 / 8;
constexpr double HatchWidth = 1.0 / 72;

// Turns a path in the unit cell a quarter clockwise about the cell's centre, k times
// (NW to NE to SE to SW).
QPainterPath Turned(const QPainterPath& p, int k) {
    const QTransform quarter(0, 1, -1, 0, 1, 0); // (x, y) -> (1 - y, x)
    QPainterPath out = p;
    for (int i = 0; i < k; ++i) out = quarter.map(out);
    return out;
}

// The rock of the NW quarter alone: inset by the face along the two midlines, its corner
// at the centre rounded as the piece rounds it (radius 1/4 there, less the face).
QPainterPath SingleNW() {
    const double c = 0.5, r = 0.25, f = RockFaceDepth, R = r - f;
    QPainterPath p;
    p.moveTo(0, 0);
    p.lineTo(c - f, 0);
    p.lineTo(c - f, c - r);
    p.arcTo(QRectF(c - r - R, c - r - R, 2 * R, 2 * R), 0, -90);
    p.lineTo(0, c - f);
    p.closeSubpath();
    return p;
}

// Rock everywhere but the NW quarter: the open quarter grown by the face, its corner at
// the centre rounded (radius 1/4 there, plus the face).
QPainterPath AllButNW() {
    const double c = 0.5, r = 0.25, f = RockFaceDepth, R = r + f;
    QPainterPath p;
    p.moveTo(c + f, 0);
    p.lineTo(1, 0);
    p.lineTo(1, 1);
    p.lineTo(0, 1);
    p.lineTo(0, c + f);
    p.lineTo(c - r, c + f);
    p.arcTo(QRectF(c - r - R, c - r - R, 2 * R, 2 * R), -90, 90);
    p.closeSubpath();
    return p;
}

QPainterPath Rect(double x, double y, double w, double h) {
    QPainterPath p;
    p.addRect(QRectF(x, y, w, h));
    return p;
}

std::array<QPainterPath, 16> MakeSolidPaths() {
    const double c = 0.5, f = RockFaceDepth;
    std::array<QPainterPath, 16> t;
    const uint8_t single[4] = {QuarterNW, QuarterNE, QuarterSE, QuarterSW}; // in turning order
    const QPainterPath nw = SingleNW(), open = AllButNW();
    for (int k = 0; k < 4; ++k) {
        t[single[k]] = Turned(nw, k);
        t[15 & ~single[k]] = Turned(open, k);
    }
    t[QuarterNW | QuarterNE] = Rect(0, 0, 1, c - f);
    t[QuarterSW | QuarterSE] = Rect(0, c + f, 1, 1 - c - f);
    t[QuarterNW | QuarterSW] = Rect(0, 0, c - f, 1);
    t[QuarterNE | QuarterSE] = Rect(c + f, 0, 1 - c - f, 1);
    t[QuarterNW | QuarterSE] = t[QuarterNW] + t[QuarterSE];
    t[QuarterNE | QuarterSW] = t[QuarterNE] + t[QuarterSW];
    t[15] = Rect(0, 0, 1, 1);
    for (QPainterPath& p : t) p.setFillRule(Qt::WindingFill);
    return t;
}

QRectF CellRect(QPointF origin, double cw, double ch, int dc, int dr, int cols = 1) {
    return QRectF(origin.x() + dc * cw, origin.y() + dr * ch, cols * cw, ch);
}

// The topmost rock symbol of the shown layers, 0 when there is none.
uint8_t TopRock(const TRenderedTileset& ts, const TCellLayers& l) {
    if (RockQuartersOf(ts, l.Upper)) return l.Upper;
    return RockQuartersOf(ts, l.Lower) ? l.Lower : 0;
}

} // namespace

uint8_t RockQuartersOf(const TRenderedTileset& ts, uint8_t s) {
    if (s == 0 || !ts.Roles) return 0;
    const SymbolTraits& t = (*ts.Roles)[s];
    return t.role == SymbolRole::Wall ? uint8_t(t.quarters & 15) : 0;
}

uint8_t CellRockQuarters(const TMapRecord& map, const TRenderedTileset& ts, int c, int r) {
    const TCellLayers l = VisibleLayers(map, ts, c, r);
    return RockQuartersOf(ts, l.Lower) | RockQuartersOf(ts, l.Upper);
}

bool HasRock(const TMapRecord& map, const TRenderedTileset& ts) {
    for (int c = 0; c < MapSize; ++c)
        for (int r = 0; r < MapSize; ++r)
            if (CellRockQuarters(map, ts, c, r)) return true;
    return false;
}

bool AllPaper(const TMapRecord& map, const TRenderedTileset& ts, int c, int r) {
    const TCellLayers l = VisibleLayers(map, ts, c, r);
    const uint8_t upper = RockQuartersOf(ts, l.Upper);
    return AllSolid(RockQuartersOf(ts, l.Lower) | upper) && (l.Upper == 0 || upper != 0);
}

bool HoldsPlace(const TMapRecord& map, const TRenderedTileset* ts, int x, int y) {
    const TMapCell& cell = map.Cell(x, y);
    if (!ts) return cell.Upper != 0 || cell.Lower != 0;
    const TCellLayers l = VisibleLayers(map, *ts, x - 1, y - 1);
    if (l.Upper == 0 && l.Lower == 0) return false;
    return (RockQuartersOf(*ts, l.Lower) | RockQuartersOf(*ts, l.Upper)) != 15;
}

const QPainterPath& SolidRockPath(uint8_t quarters) {
    static const std::array<QPainterPath, 16> paths = MakeSolidPaths();
    return paths[quarters & 15];
}

void ComposePaperCell(QImage& cellBitmap, const TRenderedTileset& ts, const TCellLayers& l,
                      const std::function<void(QImage&)>& ground) {
    ComposeCell(cellBitmap, ts, l.Background, l.Lower, 0);
    if (ground) ground(cellBitmap);
    const uint8_t lower = RockQuartersOf(ts, l.Lower), upper = RockQuartersOf(ts, l.Upper);
    const double n = cellBitmap.width();
    auto whiten = [&](uint8_t q) {
        QPainter p(&cellBitmap);
        p.fillPath(QTransform::fromScale(n, n).map(SolidRockPath(q)), Qt::white);
    };
    if (lower && !upper) whiten(lower);
    if (l.Upper != 0 && ts.IsRendered() && !ts.DesktopPalette[l.Upper].isNull()) {
        QPainter p(&cellBitmap);
        p.drawImage(0, 0, ts.DesktopPalette[l.Upper]);
    }
    if (upper) whiten(lower | upper);
}

QColor RockHatchColor(const TRenderedTileset& ts, uint8_t s) {
    const int first = s >= 128 ? s - (s - 128) % 16 : s, last = s >= 128 ? first + 15 : s;
    // Asked for every sheet and picture band: the answer is kept per rendering of the tileset.
    thread_local uint64_t generation = 0;
    thread_local const TRenderedTileset* of = nullptr;
    thread_local std::map<int, QRgb> known;
    if (of != &ts || generation != ts.Generation) {
        known.clear();
        of = &ts;
        generation = ts.Generation;
    }
    if (auto it = known.find(first); it != known.end()) return QColor(it->second);
    int best = 256;
    QRgb darkest = qRgb(0, 0, 0);
    for (int k = first; k <= last && ts.IsRendered(); ++k) {
        if (!RockQuartersOf(ts, uint8_t(k))) continue;
        const QImage& im = ts.DesktopPalette[k];
        const int w = im.width(), h = im.height();
        for (int y = 0; y < h; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(im.constScanLine(y));
            for (int x = 0; x < w; ++x)
                if (qAlpha(row[x]) == 255 && qGray(row[x]) < best) {
                    best = qGray(row[x]);
                    darkest = row[x];
                }
        }
    }
    known[first] = darkest;
    return QColor(darkest);
}

void DrawRockHatching(QPainter& p, const TMapRecord& map, const TRenderedTileset& ts, const TGridRect& cells,
                      QPointF origin, double cw, double ch) {
    const TGridRect a = ClipAreaToMap(cells);
    if (a.Width() < 1 || a.Height() < 1 || cw <= 0 || ch <= 0) return;
    // Places and rock in and around the cells: a place reaches one cell into its neighbours.
    const int c0 = std::max(0, a.Left - 1), c1 = std::min(MapSize - 1, a.Right + 1);
    const int r0 = std::max(0, a.Top - 1), r1 = std::min(MapSize - 1, a.Bottom + 1);
    const int w = c1 - c0 + 1, h = r1 - r0 + 1;
    std::vector<uint8_t> rock(size_t(w) * h), place(size_t(w) * h);
    std::vector<uint8_t> top(size_t(w) * h);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            const size_t i = size_t(r - r0) * w + (c - c0);
            const TCellLayers l = VisibleLayers(map, ts, c, r);
            rock[i] = RockQuartersOf(ts, l.Lower) | RockQuartersOf(ts, l.Upper);
            top[i] = TopRock(ts, l);
            // A place as HoldsPlace has it: a drawn cell, where no rock covers a quarter.
            place[i] = (l.Upper || l.Lower) ? uint8_t(15 & ~rock[i]) : 0;
        }
    auto at = [&](const std::vector<uint8_t>& v, int c, int r) -> uint8_t {
        return c < c0 || c > c1 || r < r0 || r > r1 ? 0 : v[size_t(r - r0) * w + (c - c0)];
    };
    auto near = [&](const std::vector<uint8_t>& v, int c, int r) {
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc)
                if (at(v, c + dc, r + dr)) return true;
        return false;
    };

    // The reach of the places, as rounded rectangles around a cover of the place quarters by
    // rectangles (a hall is one, a corridor one per straight run), so the path stays small.
    const double rx = RockBandReach * cw, ry = RockBandReach * ch;
    QPainterPath band;
    band.setFillRule(Qt::WindingFill);
    const int qw = 2 * w, qh = 2 * h; // quarters of the cells around
    std::vector<uint8_t> open(size_t(qw) * qh);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            for (int k = 0; k < 4; ++k)
                if (at(place, c, r) & (1 << k)) open[size_t(2 * (r - r0) + (k >> 1)) * qw + 2 * (c - c0) + (k & 1)] = 1;
    auto isOpen = [&](int x, int y) { return open[size_t(y) * qw + x] == 1; };
    for (int y = 0; y < qh; ++y)
        for (int x = 0; x < qw; ++x) {
            if (!isOpen(x, y)) continue;
            int x1 = x;
            while (x1 + 1 < qw && isOpen(x1 + 1, y)) ++x1;
            int y1 = y;
            auto rowOpen = [&](int yy) {
                for (int xx = x; xx <= x1; ++xx)
                    if (!isOpen(xx, yy)) return false;
                return true;
            };
            while (y1 + 1 < qh && rowOpen(y1 + 1)) ++y1;
            for (int yy = y; yy <= y1; ++yy)
                for (int xx = x; xx <= x1; ++xx) open[size_t(yy) * qw + xx] = 2; // covered
            const QRectF q(origin.x() + (c0 - a.Left + x / 2.0) * cw, origin.y() + (r0 - a.Top + y / 2.0) * ch,
                           (x1 - x + 1) * cw / 2, (y1 - y + 1) * ch / 2);
            band.addRoundedRect(q.adjusted(-rx, -ry, rx, ry), rx, ry);
            x = x1;
        }
    if (band.isEmpty()) return;

    // The solid rock near a place, one path per hatching colour; runs of whole rock in a
    // row are one rectangle.
    std::map<uint8_t, QPainterPath> solid; // by the terrain row's first symbol
    std::map<uint8_t, QColor> colors;
    for (int r = a.Top; r <= a.Bottom; ++r)
        for (int c = a.Left; c <= a.Right; ++c) {
            const uint8_t q = at(rock, c, r);
            if (!q || !near(place, c, r)) continue;
            const uint8_t s = at(top, c, r);
            const uint8_t key = s >= 128 ? uint8_t(s - (s - 128) % 16) : s;
            QPainterPath& path = solid[key];
            path.setFillRule(Qt::WindingFill);
            if (!colors.count(key)) colors[key] = RockHatchColor(ts, s);
            int run = 1;
            if (AllSolid(q)) {
                auto same = [&](int cc) {
                    const uint8_t t = at(top, cc, r);
                    return AllSolid(at(rock, cc, r)) && near(place, cc, r) &&
                           (t >= 128 ? uint8_t(t - (t - 128) % 16) : t) == key;
                };
                while (c + run <= a.Right && same(c + run)) ++run;
                path.addRect(CellRect(origin, cw, ch, c - a.Left, r - a.Top, run));
            } else {
                const QRectF cell = CellRect(origin, cw, ch, c - a.Left, r - a.Top);
                path.addPath(QTransform(cw, 0, 0, ch, cell.x(), cell.y()).map(SolidRockPath(q)));
            }
            c += run - 1;
        }

    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // Two clips, the band and then the rock: cheaper than intersecting the paths, and a PDF
    // keeps both as they are.
    p.setClipPath(band, Qt::IntersectClip);
    for (const auto& [key, path] : solid) {
        const QRectF box = path.boundingRect() & band.boundingRect();
        // Line k of the lattice holds the points whose map column plus map row is k steps.
        auto u = [&](double x, double y) { return (x - origin.x()) / cw + a.Left + (y - origin.y()) / ch + a.Top; };
        const long long k0 = static_cast<long long>(std::ceil(u(box.left(), box.top()) / HatchStep));
        const long long k1 = static_cast<long long>(std::floor(u(box.right(), box.bottom()) / HatchStep));
        std::vector<QLineF> lines;
        for (long long k = k0; k <= k1; ++k) {
            // Along the line, m is the map column; its row is k * step - m.
            const double v = double(k) * HatchStep;
            const double mLo = std::max((box.left() - origin.x()) / cw + a.Left,
                                        v - a.Top - (box.bottom() - origin.y()) / ch);
            const double mHi = std::min((box.right() - origin.x()) / cw + a.Left,
                                        v - a.Top - (box.top() - origin.y()) / ch);
            if (mLo >= mHi) continue;
            auto point = [&](double m) {
                return QPointF(origin.x() + (m - a.Left) * cw, origin.y() + (v - m - a.Top) * ch);
            };
            lines.emplace_back(point(mLo), point(mHi));
        }
        p.save();
        p.setClipPath(path, Qt::IntersectClip);
        QPen pen(colors[key], std::max(1.0, HatchWidth * cw));
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.drawLines(lines.data(), int(lines.size()));
        p.restore();
    }
    p.restore();
}

} // namespace qm
