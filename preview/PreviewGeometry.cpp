#include "preview/PreviewGeometry.h"

#include <algorithm>
#include <cmath>

namespace qm {

namespace {
// Nearest integer, halves to even.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
} // namespace

TZoomGeometry ComputeZoomGeometry(float zoom, int baseHeight, QSize printable, int xres, int yres, QSize box,
                                  int barExtent) {
    float aspect = 1.0f;
    if (printable.height() > 0 && xres > 0) {
        const float wh = static_cast<float>(printable.width()) / static_cast<float>(printable.height());
        const float res = static_cast<float>(yres) / static_cast<float>(xres);
        aspect = wh * res;
    }
    TZoomGeometry g;
    const float bz = static_cast<float>(baseHeight) * zoom;
    g.PageWidth = std::max(1, RoundEven(bz * aspect));
    g.PageHeight = std::max(1, RoundEven(bz));
    const int pw = g.PageWidth, ph = g.PageHeight;

    // Room for the page: the scroll box less any scroll bar the other direction needs,
    // so a centred page stays centred in what is visible.
    int sbw = box.width();
    int sbh = box.height();
    bool needH = !(pw + 6 < sbw - 1);
    bool needV = !(ph + 6 < sbh - 1);
    if (needV && !needH) needH = !(pw + 6 < sbw - barExtent - 1);
    if (needH && !needV) needV = !(ph + 6 < sbh - barExtent - 1);
    if (needV) sbw -= barExtent;
    if (needH) sbh -= barExtent;
    g.HorizontalBar = needH;
    g.VerticalBar = needV;
    g.ContainerWidth = needH ? pw + 6 : sbw - 1;
    g.Left = needH ? 3 : g.ContainerWidth / 2 - pw / 2;
    g.ContainerHeight = needV ? ph + 6 : sbh - 1;
    g.Top = needV ? 3 : g.ContainerHeight / 2 - ph / 2;
    return g;
}

} // namespace qm
