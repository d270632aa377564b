#include "print/MapPage.h"

#include <QFileInfo>
#include <QPageSize>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "compose/Compose.h"
#include "compose/MapClamp.h"
#include "print/BattleMat.h"
#include "print/PrintTables.h"

namespace qm {

bool IsDrawnCell(const TMapRecord& map, const TRenderedTileset* ts, int x, int y) {
    const TMapCell& cell = map.Cell(x, y);
    if (!ts) return cell.Upper != 0 || cell.Lower != 0;
    const TCellLayers l = VisibleLayers(map, *ts, x - 1, y - 1);
    return l.Upper != 0 || l.Lower != 0;
}

namespace {
bool Counts(const TMapRecord& map, const TRenderedTileset* ts, int x, int y, bool places) {
    return places ? HoldsPlace(map, ts, x, y) : IsDrawnCell(map, ts, x, y);
}
} // namespace

std::optional<TGridRect> DrawnArea(const TMapRecord& map, const TRenderedTileset* ts, bool places) {
    TGridRect r{MapSize, MapSize, -1, -1};
    for (int x = 1; x <= MapSize; ++x) {
        for (int y = 1; y <= MapSize; ++y) {
            if (!Counts(map, ts, x, y, places)) continue;
            r.Left = std::min(r.Left, x - 1);
            r.Top = std::min(r.Top, y - 1);
            r.Right = std::max(r.Right, x - 1);
            r.Bottom = std::max(r.Bottom, y - 1);
        }
    }
    if (r.Right < 0) return std::nullopt;
    return r;
}

void LeaveOutEmptySheets(TPageLayout& l, const TMapRecord& map, const TRenderedTileset* ts, bool places) {
    l.Drawn.assign(static_cast<size_t>(l.SheetCols) * l.SheetRows, 0);
    l.LeftOut = 0;
    for (int y = l.Y1; y <= l.Y2; ++y) {
        for (int x = l.X1; x <= l.X2; ++x) {
            if (!Counts(map, ts, x, y, places)) continue;
            const int pc = (x - l.X1) / l.CPP + 1, pr = (y - l.Y1) / l.RPP + 1;
            if (pc <= l.SheetCols && pr <= l.SheetRows)
                l.Drawn[static_cast<size_t>((pr - 1) * l.SheetCols + pc - 1)] = 1;
        }
    }
    for (char d : l.Drawn) l.LeftOut += d ? 0 : 1;
}

std::optional<TPageLayout> SourceLayout(const TMapPrintSource& src, const TMapRecord* map, int pageWidth,
                                        int pageHeight, int xres, int yres) {
    TPrintSettings set = src.Settings;
    TGridRect area = src.Selection;
    const bool places = set.Rock != rpDrawn;
    if (set.DrawnPart) {
        const std::optional<TGridRect> drawn = map ? DrawnArea(*map, src.Tileset, places) : std::nullopt;
        if (!drawn) return std::nullopt;
        area = *drawn;
        set.WholeMap = false;
    }
    TPageLayout l = ComputePageLayout(set, area, pageWidth, pageHeight, xres, yres);
    if (set.Mat.SkipEmpty && map && !l.Empty) {
        LeaveOutEmptySheets(l, *map, src.Tileset, places);
        if (l.Sheets() == 0) return std::nullopt;
    }
    return l;
}

namespace {
// The paper's name as the print dialogs give it: "Letter", "A4", "Legal", ...
QString PaperName(int w, int h, int xres, int yres) {
    if (xres <= 0 || yres <= 0 || w <= 0 || h <= 0) return QString();
    const QSizeF inches(double(std::min(w, h)) / (w <= h ? xres : yres),
                        double(std::max(w, h)) / (w <= h ? yres : xres));
    // Qt names some papers twice ("Letter / ANSI A"): the first name is the one on the packet.
    const QString name = QPageSize(inches, QPageSize::Inch, QString(), QPageSize::FuzzyMatch)
                             .name()
                             .section(QStringLiteral(" / "), 0, 0);
    return w > h ? name + QStringLiteral(" landscape") : name;
}
} // namespace

QString LayoutSummary(const std::optional<TPageLayout>& l, int pageWidth, int pageHeight, int xres, int yres) {
    if (!l) return QStringLiteral("Nothing is drawn in the print area");
    const int n = l->Pages();
    QString grid = l->Empty ? QStringLiteral("no cell fits")
                            : QStringLiteral("%1 x %2").arg(l->SheetCols).arg(l->SheetRows);
    if (l->Overview) grid.prepend(QStringLiteral("overview + "));
    if (l->LeftOut > 0) grid += QStringLiteral(", %1 left out").arg(l->LeftOut);
    return QStringLiteral("%1 %2 (%3), %4")
        .arg(n)
        .arg(n == 1 ? QStringLiteral("sheet") : QStringLiteral("sheets"), grid,
             PaperName(pageWidth, pageHeight, xres, yres));
}

QString PrintSummary(const TMapPrintSource& src, int pageWidth, int pageHeight, int xres, int yres) {
    const TPrintedMap printed(src.Map, src.Settings.Mat.Hidden);
    return LayoutSummary(SourceLayout(src, printed.Map(), pageWidth, pageHeight, xres, yres), pageWidth, pageHeight,
                         xres, yres);
}

namespace {

void Frame(TSpecialCanvas& s, int l, int t, int r, int b) {
    s.MoveTo(l, t);
    s.LineTo(r, t);
    s.LineTo(r, b);
    s.LineTo(l, b);
    s.LineTo(l, t);
}

void CellGrid(TSpecialCanvas& s, int style, const TPageLayout& lay, int x, int y, int l, int t, int r, int b) {
    switch (style) {
    case gsAlignedSquares:
        s.Pen.SetWidth(1);
        s.Pen.SetColor(Qt::black);
        Frame(s, l, t, r, b);
        break;
    case gsAlignedHexes: {
        const int d = lay.CW / 4 + lay.CW / 32;
        const int h = lay.CW / 2;
        if (x % 2 == 0) {
            s.MoveTo(r, t);
            s.LineTo(r - d, t + h);
            s.LineTo(r, b);
            s.MoveTo(r - d, t + h);
            s.LineTo(l, t + h);
        } else {
            s.MoveTo(l, t);
            s.LineTo(r - d, t);
            s.LineTo(r, t + h);
            s.LineTo(r - d, b);
            s.LineTo(l, b);
        }
        break;
    }
    case gsOffsetSquares:
        if (y % 2 == 0) {
            Frame(s, l, t, r, b);
        } else {
            s.MoveTo(l, t);
            s.LineTo(r, t);
            s.MoveTo(l + lay.CW / 2, t);
            s.LineTo(l + lay.CW / 2, b);
        }
        break;
    default: break;
    }
}

void HexOverlay(TSpecialCanvas& s, const TPageLayout& lay) {
    const int w = static_cast<int>(std::nearbyint(lay.CW * 1.125));
    const int q = w / 4;
    // A column step of 0 would never leave the band: such cells are too small for hexes.
    if (q <= 0) return;
    s.Pen.SetWidth(1);
    s.Pen.SetColor(Qt::black);
    s.Pen.SetMode(pmMask);
    const long long limit = static_cast<long long>(lay.CPP) * lay.CW;
    for (int m = 1; m <= lay.RPP; ++m) {
        const int y0 = lay.TM + lay.TH + (m - 1) * lay.CH;
        const int hc = lay.CH / 2;
        for (int k = 1;; ++k) {
            const int x0 = lay.LM + 3 * q * (k - 1);
            if (k % 2 == 1) {
                s.MoveTo(x0, y0 + hc);
                s.LineTo(x0 + w / 2, y0 + hc);
                s.LineTo(x0 + 3 * q, y0);
                s.MoveTo(x0 + w / 2, y0 + hc);
                s.LineTo(x0 + 3 * q, y0 + lay.CH);
            } else {
                s.MoveTo(x0, y0);
                s.LineTo(x0 + w / 2, y0);
                s.LineTo(x0 + 3 * q, y0 + hc);
                s.LineTo(x0 + w / 2, y0 + lay.CH);
            }
            if (3LL * q * k > limit) break;
        }
    }
    s.Pen.SetWidth(0);
    s.Pen.SetColor(Qt::black);
    s.Pen.SetMode(pmCopy);
}

} // namespace

namespace {
// A print area with nothing drawn in it, asked for its drawn part or its drawn sheets: one
// page that says so.
void PrintNothingDrawn(TSpecialCanvas& s, const TMapPrintSource& src) {
    const int lm = s.ScaleX(MarginItemInches(src.Settings.LeftMargin));
    const int tm = s.ScaleY(MarginItemInches(src.Settings.TopMargin));
    s.Font().SetName(QStringLiteral("Arial"));
    s.Font().SetSize(14);
    s.TextOut(lm, tm, QStringLiteral("Nothing is drawn in the print area, so there is nothing to print."));
}
} // namespace

void PrintMapPage(TPageInfo& info, TSpecialCanvas& s, const TMapPrintSource& src) {
    const TPrintSettings& set = src.Settings;
    const TPrintedMap printed(src.Map, set.Mat.Hidden);
    const TMapRecord* map = printed.Map();
    const std::optional<TPageLayout> found = SourceLayout(src, map, s.PageWidth, s.PageHeight, s.XRes, s.YRes);
    info.Summary = LayoutSummary(found, s.PageWidth, s.PageHeight, s.XRes, s.YRes);
    const int p = info.PageNumber;
    // The key pages follow the map pages, from a sheet of their own.
    const int mapPages = found ? found->Pages() : 1;
    TKeyPagesCache ownCache;
    const TKeyPages* keyPages = nullptr;
    if (set.KeyPages && src.Key && !src.Key->Entries.empty())
        keyPages = &(src.KeyPages ? *src.KeyPages : ownCache).Get(s, *src.Key, set, src.MapFileName);
    if (keyPages) {
        const int n = keyPages->Count();
        info.Summary +=
            QStringLiteral(" + %1 %2").arg(n).arg(n == 1 ? QStringLiteral("key page") : QStringLiteral("key pages"));
        if (p > mapPages) {
            info.LastPage = p >= mapPages + n;
            PrintKeyPage(s, *keyPages, p - mapPages - 1);
            return;
        }
    }
    const bool more = keyPages != nullptr;
    if (!found) {
        info.LastPage = !more;
        PrintNothingDrawn(s, src);
        return;
    }
    const TPageLayout& lay = *found;
    int pr = 0, pc = 0;
    PagePosition(lay, p, pr, pc);
    info.LastPage = p >= lay.Pages() && !more;
    if (lay.Overview && pr == 0) {
        PrintOverviewPage(s, src, lay, map);
        return;
    }

    const TSheetFrame frame = SheetFrame(lay, pr, pc);
    DrawSheetParts(s, src, lay, frame, pr, pc, spTitle);
    if (lay.Empty) return;

    const bool canCompose = map && src.Tileset && src.CellBitmap && src.Tileset->IsRendered();
    const bool paper = canCompose && set.Rock != rpDrawn;
    const int style = set.GridStyle;
    // Slots past CPP and RPP hold the overlap strips' cells, drawn whole and trimmed after.
    for (int m = 1; m <= lay.RPP + frame.ExtraRows; ++m) {
        for (int h = 1; h <= lay.CPP + frame.ExtraCols; ++h) {
            const int l = lay.LM + (h - 1) * lay.CW;
            const int t = lay.TM + lay.TH + (m - 1) * lay.CH;
            const int r = lay.LM + h * lay.CW;
            const int b = lay.TM + lay.TH + m * lay.CH;
            const long long x = lay.X1 + static_cast<long long>(pc - 1) * lay.CPP + h - 1;
            const long long y = lay.Y1 + static_cast<long long>(pr - 1) * lay.RPP + m - 1;
            if (x > lay.X2 || y > lay.Y2 || x < lay.X1 || y < lay.Y1) continue;
            const int cx = static_cast<int>(x), cy = static_cast<int>(y);
            if (paper) {
                // Solid rock is the paper itself: no cell, and no grid on it.
                if (AllPaper(*map, *src.Tileset, cx - 1, cy - 1)) continue;
                const TMapCell& cell = map->Cell(cx, cy);
                if (cell.Upper != 0 || cell.Lower != 0 || map->Background != 0)
                    s.StretchDraw(QRect(l, t, r - l, b - t), PrintedCell(src, *map, cx, cy, set.Mat.InkSaver, true));
            } else if (canCompose) {
                const TMapCell& cell = map->Cell(cx, cy);
                if (cell.Upper != 0 || cell.Lower != 0 || map->Background != 0)
                    s.StretchDraw(QRect(l, t, r - l, b - t), PrintedCell(src, *map, cx, cy, set.Mat.InkSaver));
            }
            CellGrid(s, style, lay, cx, cy, l, t, r, b);
        }
    }
    if (paper && set.Rock == rpHatched) DrawSheetHatching(s, src, lay, frame, pr, pc, *map);
    if (PrintsRoomNumbers(set, map, src.Key)) DrawSheetLabels(s, *src.Key, lay, frame, pr, pc);
    CoverStripOverflow(s, lay, frame);
    if (style == gsHexOverlay) HexOverlay(s, lay);
    DrawSheetParts(s, src, lay, frame, pr, pc, spStrips | spMarks | spLabel);
}

void TMapPageHandler::PrintPreview1BeginPrint(std::unique_ptr<TPageInfo>& Info) {
    Info = std::make_unique<TPageInfo>();
    Info->Title = QStringLiteral("Map");
}

void TMapPageHandler::PrintPreview1PrintPage(std::unique_ptr<TPageInfo>& Info, TSpecialCanvas& SCanvas) {
    if (!Info) return;
    TMapPrintSource src = source_();
    if (!src.Cells) src.Cells = &cells_;
    if (!src.KeyPages) src.KeyPages = &keyPages_;
    PrintMapPage(*Info, SCanvas, src);
}

void TMapPageHandler::PrintPreview1EndPrint(std::unique_ptr<TPageInfo>& Info) { Info.reset(); }

} // namespace qm
