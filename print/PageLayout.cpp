#include "print/PageLayout.h"

#include <QFileInfo>
#include <algorithm>
#include <iterator>

#include "compose/MapClamp.h"
#include "preview/PrintSurface.h"
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
    const bool fit = s.Mat.SkipEmpty || s.Mat.FitSheets;
    l.SheetCols = fit ? l.PX : l.N;
    l.SheetRows = fit ? l.PY : l.N;
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
    if (!l.Drawn.empty() && page >= 1) {
        // The page-th sheet that prints; pages past the last one follow the grid on.
        int k = 0;
        for (size_t i = 0; i < l.Drawn.size(); ++i) {
            if (l.Drawn[i] && ++k == page) {
                pr = static_cast<int>(i) / n + 1;
                pc = static_cast<int>(i) % n + 1;
                return;
            }
        }
        page += l.LeftOut;
    }
    // Rounded up for pages from 1 on; page 0 or less lies before the first page row.
    pr = page > 0 ? (page + n - 1) / n : -((-page) / n);
    pc = page - (pr - 1) * n;
}

float OverlapItemInches(int index) {
    return index >= 0 && index < int(std::size(OverlapChoices)) ? OverlapChoices[index].Inches : 0.0f;
}

QString SheetLabel(int pr, int pc) {
    QString letters;
    for (int n = std::max(pr, 1); n > 0; n = (n - 1) / 26) letters.prepend(QChar('A' + (n - 1) % 26));
    return letters + QString::number(pc);
}

QString PageTitle(const QString& mapFileName, int pc, int pr, bool withLabel) {
    const QString name = QFileInfo(mapFileName).fileName();
    const QString label = withLabel ? QChar(' ') + SheetLabel(pr, pc) : QString();
    if (name.isEmpty()) return QStringLiteral("[Untitled]") + label;
    return QStringLiteral("[%1x / %2y]%3 - %4").arg(pc).arg(pr).arg(label, name);
}

} // namespace qm
