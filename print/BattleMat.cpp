#include "print/BattleMat.h"

#include <QFileInfo>
#include <QPainter>
#include <QPicture>
#include <algorithm>
#include <iterator>

#include "compose/Compose.h"
#include "print/PrintTables.h"

namespace qm {

QString OverviewTitle(const QString& mapFileName) {
    const QString name = QFileInfo(mapFileName).fileName();
    return name.isEmpty() ? QStringLiteral("[Overview]") : QStringLiteral("[Overview] - ") + name;
}

TSheetFrame SheetFrame(const TPageLayout& lay, int pr, int pc) {
    TSheetFrame f;
    if (lay.Empty || pr < 1 || pc < 1) return f;
    const long long firstX = lay.X1 + static_cast<long long>(pc - 1) * lay.CPP;
    const long long firstY = lay.Y1 + static_cast<long long>(pr - 1) * lay.RPP;
    const int cols = static_cast<int>(std::clamp<long long>(lay.X2 - firstX + 1, 0, lay.CPP));
    const int rows = static_cast<int>(std::clamp<long long>(lay.Y2 - firstY + 1, 0, lay.RPP));
    const int l = lay.LM, t = lay.TM + lay.TH;
    f.Trim = QRect(l, t, cols * lay.CW, rows * lay.CH);
    // A strip repeats the neighbour's first cells, so only sheets with a neighbour holding cells get one.
    if (cols > 0 && rows > 0) {
        if (pc < lay.PX && lay.OVX > 0) {
            f.StripRight = lay.OVX;
            f.ExtraCols = (lay.OVX + lay.CW - 1) / lay.CW;
        }
        if (pr < lay.PY && lay.OVY > 0) {
            f.StripBottom = lay.OVY;
            f.ExtraRows = (lay.OVY + lay.CH - 1) / lay.CH;
        }
    }
    return f;
}

TPrintedMap::TPrintedMap(const TMapRecord* map, int hidden) : map_(map) {
    if (!map || hidden == hpAsMap) return;
    copy_ = std::make_unique<TMapRecord>(*map);
    copy_->ShowHidden = hidden == hpShow ? 1 : 0;
    map_ = copy_.get();
}

namespace {
// Each channel keeps a quarter of its ink (255 - value), rounded down.
void WashGround(QImage& cellBitmap) {
    for (int y = 0; y < cellBitmap.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(cellBitmap.scanLine(y));
        for (int x = 0; x < cellBitmap.width(); ++x) {
            const QRgb p = row[x];
            row[x] = qRgb(255 - (255 - qRed(p)) / 4, 255 - (255 - qGreen(p)) / 4, 255 - (255 - qBlue(p)) / 4);
        }
    }
}
} // namespace

void ComposePrintedCell(QImage& cellBitmap, const TMapRecord& map, const TRenderedTileset& ts, int c, int r,
                        bool inkSaver, bool paper) {
    if (paper) {
        ComposePaperCell(cellBitmap, ts, VisibleLayers(map, ts, c, r),
                         inkSaver ? std::function<void(QImage&)>(WashGround) : nullptr);
        return;
    }
    if (!inkSaver) {
        ComposeMapCell(cellBitmap, map, ts, c, r);
        return;
    }
    const TCellLayers l = VisibleLayers(map, ts, c, r);
    ComposeCell(cellBitmap, ts, l.Background, l.Lower, 0);
    WashGround(cellBitmap);
    if (l.Upper != 0 && ts.IsRendered() && !ts.DesktopPalette[l.Upper].isNull()) {
        QPainter p(&cellBitmap);
        p.drawImage(0, 0, ts.DesktopPalette[l.Upper]);
    }
}

// The cell as printed. Plain cells come from the shared cache, so a PDF stores each distinct
// cell once; ink-saver cells differ from the cached ones and are composed afresh.
const QImage& PrintedCell(const TMapPrintSource& src, const TMapRecord& map, int cx, int cy, bool inkSaver,
                          bool paper) {
    const int n = src.Tileset->TileSize;
    if (paper && src.Cells && n > 0) {
        const TCellLayers l = VisibleLayers(map, *src.Tileset, cx - 1, cy - 1);
        return src.Cells->Variant(inkSaver ? 2 : 1, l, *src.Tileset, QSize(n, n), *src.CellBitmap, [&] {
            ComposePrintedCell(*src.CellBitmap, map, *src.Tileset, cx - 1, cy - 1, inkSaver, true);
        });
    }
    if (paper) {
        ComposePrintedCell(*src.CellBitmap, map, *src.Tileset, cx - 1, cy - 1, inkSaver, true);
        return *src.CellBitmap;
    }
    if (src.Cells && n > 0 && !inkSaver)
        return src.Cells->MapCell(map, *src.Tileset, cx - 1, cy - 1, QSize(n, n), *src.CellBitmap);
    ComposePrintedCell(*src.CellBitmap, map, *src.Tileset, cx - 1, cy - 1, inkSaver);
    return *src.CellBitmap;
}

namespace {

const QImage& White() {
    static const QImage white = [] {
        QImage im(1, 1, QImage::Format_RGB32);
        im.fill(0xffffffffu);
        return im;
    }();
    return white;
}

// Leaves the surface's pen as it found it: later pages draw some grids with the pen
// they are given.
struct TPenKeeper {
    TSpecialCanvas& s;
    QColor color;
    int width;
    TPenMode mode;
    explicit TPenKeeper(TSpecialCanvas& c) : s(c), color(c.Pen.Color()), width(c.Pen.Width()), mode(c.Pen.Mode()) {}
    ~TPenKeeper() {
        s.Pen.SetColor(color);
        s.Pen.SetWidth(width);
        s.Pen.SetMode(mode);
    }
};

void SetPen(TSpecialCanvas& s, QColor c, int width) {
    s.Pen.SetColor(c);
    s.Pen.SetWidth(width);
    s.Pen.SetMode(pmCopy);
}

void Line(TSpecialCanvas& s, int x0, int y0, int x1, int y1) {
    s.MoveTo(x0, y0);
    s.LineTo(x1, y1);
}

void Frame(TSpecialCanvas& s, const QRect& r) {
    const int x1 = r.x() + r.width(), y1 = r.y() + r.height();
    s.MoveTo(r.x(), r.y());
    s.LineTo(x1, r.y());
    s.LineTo(x1, y1);
    s.LineTo(r.x(), y1);
    s.LineTo(r.x(), r.y());
}

// Lines rising at 45 degrees across the rectangle, `step` apart along each edge.
void Hatch(TSpecialCanvas& s, const QRect& r, int step) {
    if (r.width() <= 0 || r.height() <= 0 || step <= 0) return;
    const int x0 = r.x(), y0 = r.y(), w = r.width(), h = r.height();
    // Line k joins the points with x - x0 + (y0 + h - y) = k.
    for (int k = step; k < w + h; k += step) {
        const int ax = x0 + std::max(0, k - h), ay = y0 + h - std::min(k, h);
        const int bx = x0 + std::min(k, w), by = y0 + h - std::max(0, k - w);
        Line(s, ax, ay, bx, by);
    }
}

void CentredText(TSpecialCanvas& s, int cx, int y, const QString& text) {
    s.TextOut(cx - s.TextWidth(text) / 2, y, text);
}

} // namespace

void CoverStripOverflow(TSpecialCanvas& s, const TPageLayout& lay, const TSheetFrame& f) {
    if (!f.HasCells() || (f.StripRight == 0 && f.StripBottom == 0)) return;
    const int l = f.Trim.x(), t = f.Trim.y();
    const int drawnRight = l + (lay.CPP + f.ExtraCols) * lay.CW;
    const int drawnBottom = t + (lay.RPP + f.ExtraRows) * lay.CH;
    const int stripRight = f.Trim.x() + f.Trim.width() + f.StripRight;
    const int stripBottom = f.Trim.y() + f.Trim.height() + f.StripBottom;
    if (f.StripRight > 0 && drawnRight > stripRight)
        s.StretchDraw(QRect(stripRight, t, drawnRight - stripRight, drawnBottom - t), White());
    if (f.StripBottom > 0 && drawnBottom > stripBottom)
        s.StretchDraw(QRect(l, stripBottom, drawnRight - l, drawnBottom - stripBottom), White());
}

void DrawSheetHatching(TSpecialCanvas& s, const TMapPrintSource& src, const TPageLayout& lay, const TSheetFrame& f,
                       int pr, int pc, const TMapRecord& map) {
    if (!f.HasCells() || !src.Tileset) return;
    const int x0 = lay.X1 + (pc - 1) * lay.CPP, y0 = lay.Y1 + (pr - 1) * lay.RPP;
    const int x1 = std::min(lay.X2, x0 + lay.CPP + f.ExtraCols - 1);
    const int y1 = std::min(lay.Y2, y0 + lay.RPP + f.ExtraRows - 1);
    QPicture picture;
    {
        QPainter p(&picture);
        DrawRockHatching(p, map, *src.Tileset, TGridRect{x0 - 1, y0 - 1, x1 - 1, y1 - 1},
                         QPointF(f.Trim.x(), f.Trim.y()), lay.CW, lay.CH);
    }
    // Drawn on the page one to one.
    const QRect page(0, 0, s.PageWidth, s.PageHeight);
    picture.setBoundingRect(page);
    s.StretchDraw(page, picture);
}

namespace {

struct TMarkSizes {
    int gap, len, gapY, lenY, pen;
    explicit TMarkSizes(TSpecialCanvas& s)
        : gap(s.ScaleX(1.0f / 16)), len(s.ScaleX(3.0f / 16)), gapY(s.ScaleY(1.0f / 16)), lenY(s.ScaleY(3.0f / 16)),
          pen(std::max(1, s.ScaleX(0.005f))) {}
};

void DrawTitle(TSpecialCanvas& s, const TMapPrintSource& src, const TPageLayout& lay, const TSheetFrame& f, int pr,
               int pc) {
    const TBattleMatOptions& mat = src.Settings.Mat;
    const QString text = PageTitle(src.MapFileName, pc, pr, mat.Marks || mat.Overview);
    s.Font().SetName(QStringLiteral("Ariel"));
    s.Font().SetSize(18);
    int x = s.ScaleX(0.1f) + lay.LM;
    if (mat.Marks && f.HasCells()) {
        const TMarkSizes m(s);
        const int right = f.Trim.x() + f.Trim.width();
        const int limit = right - m.pen - m.gap / 2;
        for (int points = 18; points > 8 && x + s.TextWidth(text) > limit;) s.Font().SetSize(--points);
        if (x + s.TextWidth(text) > limit) {
            // Small enough to stay above the marks at the top trim line.
            s.Font().SetSize(10);
            x = right + m.pen + m.gap / 2;
        }
    }
    s.TextOut(x, lay.TM, text);
}

void DrawStrips(TSpecialCanvas& s, const TSheetFrame& f) {
    if (!f.HasCells()) return;
    const QRect& t = f.Trim;
    const int left = t.x(), top = t.y(), right = t.x() + t.width(), bottom = t.y() + t.height();
    SetPen(s, QColor(0xB4, 0xB4, 0xB4), std::max(1, s.ScaleX(0.01f)));
    const int step = std::max(2, s.ScaleX(0.1f));
    if (f.StripRight > 0) Hatch(s, QRect(right, top, f.StripRight, bottom + f.StripBottom - top), step);
    if (f.StripBottom > 0) Hatch(s, QRect(left, bottom, right - left, f.StripBottom), step);
}

// Each trim line continued into the margins on both sides of the printed area.
void DrawCropMarks(TSpecialCanvas& s, const TSheetFrame& f) {
    if (!f.HasCells()) return;
    const TMarkSizes m(s);
    const QRect& t = f.Trim;
    const int left = t.x(), top = t.y(), right = t.x() + t.width(), bottom = t.y() + t.height();
    const int outerRight = right + f.StripRight, outerBottom = bottom + f.StripBottom;
    SetPen(s, Qt::black, m.pen);
    for (int x : {left, right}) {
        Line(s, x, top - m.gapY, x, top - m.gapY - m.lenY);
        Line(s, x, outerBottom + m.gapY, x, outerBottom + m.gapY + m.lenY);
    }
    for (int y : {top, bottom}) {
        Line(s, left - m.gap, y, left - m.gap - m.len, y);
        Line(s, outerRight + m.gap, y, outerRight + m.gap + m.len, y);
    }
}

void DrawLabel(TSpecialCanvas& s, const TSheetFrame& f, int pr, int pc) {
    const TMarkSizes m(s);
    const QString label = SheetLabel(pr, pc);
    s.Font().SetName(QStringLiteral("Arial"));
    s.Font().SetSize(14);
    if (!f.HasCells()) {
        CentredText(s, f.Trim.x() + s.ScaleX(0.5f), f.Trim.y() + m.gapY, label);
        return;
    }
    const int left = f.Trim.x(), right = left + f.Trim.width();
    const int centre = (left + right + f.StripRight) / 2;
    const int outerBottom = f.Trim.y() + f.Trim.height() + f.StripBottom;
    // Between the marks under the left and right trim lines, smaller if need be.
    auto fits = [&] {
        const int w = s.TextWidth(label);
        return centre - w / 2 > left + m.pen + m.gap / 2 && centre - w / 2 + w < right - m.pen - m.gap / 2;
    };
    for (int points = 14; points > 8 && !fits();) s.Font().SetSize(--points);
    if (fits()) {
        CentredText(s, centre, outerBottom + m.gapY, label);
        return;
    }
    s.Font().SetSize(14);
    CentredText(s, centre, outerBottom + m.gapY + m.lenY + m.gapY / 2, label);
}

} // namespace

void DrawSheetParts(TSpecialCanvas& s, const TMapPrintSource& src, const TPageLayout& lay, const TSheetFrame& f, int pr,
                    int pc, int parts) {
    if ((parts & spTitle) && lay.TH > 0) DrawTitle(s, src, lay, f, pr, pc);
    if (!src.Settings.Mat.Marks || !(parts & (spStrips | spMarks | spLabel))) return;
    TPenKeeper keep(s);
    // Light glue strips first, so the marks stay on top.
    if (parts & spStrips) DrawStrips(s, f);
    if (parts & spMarks) DrawCropMarks(s, f);
    if (parts & spLabel) DrawLabel(s, f, pr, pc);
}

int RulerSide(int pixelsPerInch, int correction) {
    return ScaleInches(pixelsPerInch, 2.0f * static_cast<float>(std::clamp(correction, 950, 1050)) / 1000.0f);
}

namespace {

// The whole print area at oc pixels a cell, composed as the sheets compose it, framed.
void DrawOverviewPicture(TSpecialCanvas& s, const TMapPrintSource& src, const TPageLayout& lay, const TMapRecord* map,
                         int top, int oc) {
    const bool canCompose = map && src.Tileset && src.CellBitmap && src.Tileset->IsRendered();
    for (int y = lay.Y1; y <= lay.Y2 && canCompose; ++y) {
        for (int x = lay.X1; x <= lay.X2; ++x) {
            const QRect r(lay.LM + (x - lay.X1) * oc, top + (y - lay.Y1) * oc, oc, oc);
            const TMapCell& cell = map->Cell(x, y);
            if (cell.Upper == 0 && cell.Lower == 0 && map->Background == 0) continue;
            if (src.Settings.Rock != rpDrawn) {
                if (!AllPaper(*map, *src.Tileset, x - 1, y - 1))
                    s.StretchDraw(r, PrintedCell(src, *map, x, y, src.Settings.Mat.InkSaver, true));
                continue;
            }
            s.StretchDraw(r, PrintedCell(src, *map, x, y, src.Settings.Mat.InkSaver));
        }
    }
    SetPen(s, Qt::black, std::max(1, s.ScaleX(0.005f)));
    Frame(s, QRect(lay.LM, top, oc * lay.NC, oc * lay.NR));
}

// The sheets that are printed after the overview, each framed over the picture with its label.
void DrawOverviewSheets(TSpecialCanvas& s, const TPageLayout& lay, int top, int oc) {
    SetPen(s, QColor(0xC0, 0x10, 0x10), std::max(1, s.ScaleX(0.01f)));
    s.Font().SetName(QStringLiteral("Arial"));
    for (int pr = 1; pr <= lay.PY && !lay.Empty; ++pr) {
        for (int pc = 1; pc <= lay.PX; ++pc) {
            const int c0 = (pc - 1) * lay.CPP, c1 = std::min(pc * lay.CPP, lay.NC);
            const int r0 = (pr - 1) * lay.RPP, r1 = std::min(pr * lay.RPP, lay.NR);
            const QRect r(lay.LM + c0 * oc, top + r0 * oc, (c1 - c0) * oc, (r1 - r0) * oc);
            if (!lay.Printed(pr, pc)) {
                // Left out: an empty square, so the printed sheets can still be laid out.
                s.StretchDraw(r, White());
                Frame(s, r);
                continue;
            }
            Frame(s, r);
            // As large as a third of the sheet's height allows, and narrower than the sheet.
            const QString label = SheetLabel(pr, pc);
            int points = std::clamp(r.height() * 72 / std::max(1, s.YRes) / 3, 5, 16);
            s.Font().SetSize(points);
            while (points > 5 && s.TextWidth(label) > r.width() * 9 / 10) s.Font().SetSize(--points);
            // On a white tag, so the label reads over any map.
            const int tw = s.TextWidth(label), th = s.ScaleY(points * 1.2f / 72), pad = s.ScaleX(0.03f);
            const QRect tag(r.center().x() - tw / 2 - pad, r.center().y() - th / 2, tw + 2 * pad, th);
            s.StretchDraw(tag, White());
            s.TextOut(tag.x() + pad, tag.y(), label);
        }
    }
}

// The ruler at (x0, y): a square of 2 inches with ticks every quarter inch along two
// sides, and beside it how to correct the scale with it.
void DrawRuler(TSpecialCanvas& s, int x0, int y, int sideX, int sideY, int textLine, const QString& pct) {
    SetPen(s, Qt::black, std::max(1, s.ScaleX(0.005f)));
    Frame(s, QRect(x0, y, sideX, sideY));
    for (int k = 1; k < 8; ++k) {
        const int tickX = s.ScaleX(k % 4 == 0 ? 0.25f : k % 2 == 0 ? 0.15f : 0.08f);
        const int tickY = s.ScaleY(k % 4 == 0 ? 0.25f : k % 2 == 0 ? 0.15f : 0.08f);
        const int dx = static_cast<int>(static_cast<long long>(sideX) * k / 8);
        const int dy = static_cast<int>(static_cast<long long>(sideY) * k / 8);
        Line(s, x0 + dx, y, x0 + dx, y + tickY);
        Line(s, x0, y + dy, x0 + tickX, y + dy);
    }
    const int tx = x0 + sideX + s.ScaleX(0.25f);
    const QString lines[] = {
        QStringLiteral("This square measures 2.00\" (50.8 mm) on each side once"),
        QStringLiteral("Scale Correction (now %1 %) suits this printer.").arg(pct),
        QStringLiteral("If it measures M inches, set Scale Correction"),
        QStringLiteral("to %1 x 2.00 / M and print again.").arg(pct),
    };
    for (int i = 0; i < 4; ++i) s.TextOut(tx, y + i * textLine, lines[i]);
}

} // namespace

void PrintOverviewPage(TSpecialCanvas& s, const TMapPrintSource& src, const TPageLayout& lay, const TMapRecord* map) {
    if (lay.TH > 0) {
        s.Font().SetName(QStringLiteral("Ariel"));
        s.Font().SetSize(18);
        s.TextOut(s.ScaleX(0.1f) + lay.LM, lay.TM, OverviewTitle(src.MapFileName));
    }
    TPenKeeper keep(s);
    const TBattleMatOptions& mat = src.Settings.Mat;
    const int top = lay.TM + lay.TH;
    const int sideX = RulerSide(s.XRes, mat.Correction), sideY = RulerSide(s.YRes, mat.Correction);
    const int textLine = s.ScaleY(0.22f);
    // Below the picture: two lines of text, the ruler square and its caption.
    const int band = s.ScaleY(0.25f) + 2 * textLine + s.ScaleY(0.15f) + sideY;
    const int oc = std::min(lay.AW / std::max(1, lay.NC), (lay.AH - band) / std::max(1, lay.NR));
    const int pictureH = std::max(0, oc) * lay.NR;
    if (oc > 0) {
        DrawOverviewPicture(s, src, lay, map, top, oc);
        DrawOverviewSheets(s, lay, top, oc);
    }

    // The scale, in words.
    s.Font().SetName(QStringLiteral("Arial"));
    s.Font().SetSize(11);
    int y = top + pictureH + s.ScaleY(0.25f);
    const int sheets = lay.Empty ? 0 : lay.Sheets();
    if (mat.SkipEmpty && !lay.Empty)
        s.TextOut(lay.LM, y,
                  QStringLiteral("%1 sheets: %2 across, %3 down, %4 left out")
                      .arg(sheets)
                      .arg(lay.SheetCols)
                      .arg(lay.SheetRows)
                      .arg(lay.LeftOut));
    else
        s.TextOut(lay.LM, y,
                  QStringLiteral("%1 sheets after this one: %2 across, %3 down.")
                      .arg(sheets)
                      .arg(lay.SheetCols)
                      .arg(lay.SheetRows));
    y += textLine;
    const float size = ScaleItemInches(src.Settings.ScaleIndex);
    const QString pct = QString::number(mat.Correction / 10.0, 'f', 1);
    const QString scale =
        size == 0.0f
            ? QStringLiteral("Fit to page: %1\" per cell.").arg(QString::number(double(lay.CW) / s.XRes, 'f', 2))
            : QStringLiteral("Scale %1\" per cell, corrected to %2 %.").arg(QString::number(size, 'f', 2), pct);
    s.TextOut(lay.LM, y, scale);
    y += textLine + s.ScaleY(0.15f);
    DrawRuler(s, lay.LM, y, sideX, sideY, textLine, pct);
}

} // namespace qm
