#include <gtest/gtest.h>

#include "preview/PreviewGeometry.h"

using qm::ComputeZoomGeometry;
using qm::TZoomGeometry;

namespace {

struct GeometryCase {
    const char* name;
    float zoom;
    int baseHeight;
    QSize printable;
    int xres, yres;
    QSize box;
    TZoomGeometry want;
};

// Letter less quarter-inch margins at 600 dpi; scroll bars 15 pixels wide.
const QSize Letter(4800, 6300);

TEST(ZoomGeometry, PlacesThePageAndChoosesScrollBars) {
    const GeometryCase cases[] = {
        {"fits, centred", 1.0f, 400, Letter, 600, 600, {648, 500}, {305, 400, false, false, 647, 499, 171, 49}},
        {"taller than the box", 2.0f, 400, Letter, 600, 600, {648, 500}, {610, 800, false, true, 632, 806, 11, 3}},
        {"larger both ways", 2.0f, 400, Letter, 600, 600, {600, 500}, {610, 800, true, true, 616, 806, 3, 3}},
        // The vertical bar takes the room the page's width needed.
        {"vertical bar forces horizontal",
         2.0f,
         400,
         Letter,
         600,
         600,
         {625, 500},
         {610, 800, true, true, 616, 806, 3, 3}},
        // And the other way round.
        {"horizontal bar forces vertical",
         1.0f,
         400,
         Letter,
         600,
         600,
         {300, 420},
         {305, 400, true, true, 311, 406, 3, 3}},
        {"no printable height: square",
         1.0f,
         100,
         {4800, 0},
         600,
         600,
         {300, 300},
         {100, 100, false, false, 299, 299, 99, 99}},
        {"coarser vertical resolution",
         1.0f,
         400,
         Letter,
         600,
         300,
         {648, 500},
         {152, 400, false, false, 647, 499, 247, 49}},
        {"halves round to even", 0.5f, 5, {1, 1}, 600, 600, {100, 100}, {2, 2, false, false, 99, 99, 48, 48}},
        {"never below one pixel", 0.01f, 10, Letter, 600, 600, {100, 100}, {1, 1, false, false, 99, 99, 49, 49}},
    };
    for (const auto& c : cases) {
        const TZoomGeometry g = ComputeZoomGeometry(c.zoom, c.baseHeight, c.printable, c.xres, c.yres, c.box, 15);
        EXPECT_EQ(g.PageWidth, c.want.PageWidth) << c.name;
        EXPECT_EQ(g.PageHeight, c.want.PageHeight) << c.name;
        EXPECT_EQ(g.HorizontalBar, c.want.HorizontalBar) << c.name;
        EXPECT_EQ(g.VerticalBar, c.want.VerticalBar) << c.name;
        EXPECT_EQ(g.ContainerWidth, c.want.ContainerWidth) << c.name;
        EXPECT_EQ(g.ContainerHeight, c.want.ContainerHeight) << c.name;
        EXPECT_EQ(g.Left, c.want.Left) << c.name;
        EXPECT_EQ(g.Top, c.want.Top) << c.name;
    }
}

} // namespace
