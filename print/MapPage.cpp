#include "print/MapPage.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "editor/Compose.h"
#include "editor/MapClamp.h"
#include "print/BattleMat.h"
#include "print/PrintTables.h"

namespace qm {

float ScaleItemInches(int index) {
    return index >= 0 && index < int(std::size(ScaleChoiceInches)) ? ScaleChoiceInches[index] : 0.0f;
}

float MarginItemInches(int index) {
    return index >= 0 && index < int(std::size(MarginChoiceInches)) ? MarginChoiceInches[index] : 0.5f;
}

namespace {
int CeilDiv(int a, int b) { return b > 0 ? (a + b - 1) / b : 0; }
} // namespace

TPageLayout ComputePageLayout(const TPrintSettings& s, const TGridRect& selection, int pageWidth, int pageHeight,
                              int xres, int yres) {
    TPageLayout l;
    if (s.WholeMap) {
        l.X1 = 1;
        l.Y1 = 1;
        l.X2 = MapSize;
        l.Y2 = MapSize;
    } else {
        // Normalised and kept inside the map, so no cell outside the record is read.
        const TGridRect g = ClampSelectionToMap(selection);
        l.X1 = g.Left + 1;
        l.Y1 = g.Top + 1;
        l.X2 = g.Right + 1;
        l.Y2 = g.Bottom + 1;
    }
    l.NC = l.X2 - l.X1 + 1;
    l.NR = l.Y2 - l.Y1 + 1;
    l.LM = ScaleInches(xres, MarginItemInches(s.LeftMargin));
    l.RM = ScaleInches(xres, MarginItemInches(s.RightMargin));
    l.TM = ScaleInches(yres, MarginItemInches(s.TopMargin));
    l.BM = ScaleInches(yres, MarginItemInches(s.BottomMargin));
    l.TH = s.PrintTitle ? ScaleInches(yres, 0.25f) : 0;
    l.AW = pageWidth - l.LM - l.RM;
    l.AH = pageHeight - l.TM - l.BM - l.TH;

    const float size = ScaleItemInches(s.ScaleIndex);
    if (size == 0.0f) {
        l.CW = l.AW / l.NC;
        l.CH = l.AH / l.NR;
        l.CW = l.CH = std::min(l.CW, l.CH);
    } else {
        const int corr = std::clamp(s.Mat.Correction, 950, 1050);
        const float corrected = corr == 1000 ? size : size * static_cast<float>(corr) / 1000.0f;
        l.CW = ScaleInches(xres, corrected);
        l.CH = ScaleInches(yres, corrected);
        // The strip repeated from the neighbours takes its room from the cells.
        l.OVX = ScaleInches(xres, OverlapItemInches(s.Mat.Overlap));
        l.OVY = ScaleInches(yres, OverlapItemInches(s.Mat.Overlap));
    }
    if (l.CW <= 0 || l.CH <= 0 || l.AW - l.OVX < l.CW || l.AH - l.OVY < l.CH) {
        l.Empty = true;
        l.CPP = l.RPP = 0;
        l.PX = l.PY = l.N = 1;
        l.OVX = l.OVY = 0;
        return l;
    }
    l.CPP = (l.AW - l.OVX) / l.CW;
    l.RPP = (l.AH - l.OVY) / l.CH;
    l.PX = CeilDiv(l.NC, l.CPP);
    l.PY = CeilDiv(l.NR, l.RPP);
    l.N = std::max(l.PX, l.PY);
    l.SheetCols = s.Mat.SkipEmpty ? l.PX : l.N;
    l.SheetRows = s.Mat.SkipEmpty ? l.PY : l.N;
    l.Overview = s.Mat.Overview;
    return l;
}

void PagePosition(const TPageLayout& l, int page, int& pr, int& pc) {
    if (l.Overview) {
        if (page <= 1) {
            pr = pc = 0;
            return;
        }
        --page;
    }
    const int n = std::max(1, l.SheetCols);
    // Rounded up for pages from 1 on; page 0 or less lies before the first page row.
    pr = page > 0 ? (page + n - 1) / n : -((-page) / n);
    pc = page - (pr - 1) * n;
}

QString PageTitle(const QString& mapFileName, int pc, int pr) {
    const QString name = QFileInfo(mapFileName).fileName();
    if (name.isEmpty()) return QStringLiteral("[Untitled]");
    return QStringLiteral("[%1x / %2y] - %3").arg(pc).arg(pr).arg(name);
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

void PrintMapPage(TPageInfo& info, TSpecialCanvas& s, const TMapPrintSource& src) {
    const TPrintSettings& set = src.Settings;
    const TPageLayout lay = ComputePageLayout(set, src.Selection, s.PageWidth, s.PageHeight, s.XRes, s.YRes);
    const int p = info.PageNumber;
    int pr = 0, pc = 0;
    PagePosition(lay, p, pr, pc);
    info.LastPage = p >= lay.Pages();
    const TPrintedMap printed(src.Map, set.Mat.Hidden);
    const TMapRecord* map = printed.Map();
    if (lay.Overview && pr == 0) {
        PrintOverviewPage(s, src, lay, map);
        return;
    }

    if (lay.TH > 0) {
        s.Font().SetName(QStringLiteral("Ariel"));
        s.Font().SetSize(18);
        s.TextOut(s.ScaleX(0.1f) + lay.LM, lay.TM, PageTitle(src.MapFileName, pc, pr));
    }
    if (lay.Empty) return;

    const bool canCompose = map && src.Tileset && src.CellBitmap && src.Tileset->IsRendered();
    const int style = set.GridStyle;
    // Slots past CPP and RPP hold the overlap strips' cells, drawn whole and trimmed after.
    const TSheetFrame frame = SheetFrame(lay, pr, pc);
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
            if (canCompose) {
                const TMapCell& cell = map->Cell(cx, cy);
                if (cell.Upper != 0 || cell.Lower != 0 || map->Background != 0)
                    s.StretchDraw(QRect(l, t, r - l, b - t), PrintedCell(src, *map, cx, cy, set.Mat.InkSaver));
            }
            CellGrid(s, style, lay, cx, cy, l, t, r, b);
        }
    }
    CoverStripOverflow(s, lay, frame);
    if (style == gsHexOverlay) HexOverlay(s, lay);
    if (set.Mat.Marks) DrawSheetMarks(s, frame, pr, pc);
}

void TMapPageHandler::PrintPreview1BeginPrint(std::unique_ptr<TPageInfo>& Info) {
    Info = std::make_unique<TPageInfo>();
    Info->Title = QStringLiteral("Map");
}

void TMapPageHandler::PrintPreview1PrintPage(std::unique_ptr<TPageInfo>& Info, TSpecialCanvas& SCanvas) {
    if (!Info) return;
    TMapPrintSource src = source_();
    if (!src.Cells) src.Cells = &cells_;
    PrintMapPage(*Info, SCanvas, src);
}

void TMapPageHandler::PrintPreview1EndPrint(std::unique_ptr<TPageInfo>& Info) { Info.reset(); }

} // namespace qm
