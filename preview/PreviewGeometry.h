#pragma once
// Where the preview puts a page at a zoom: a pure function of the zoom, the printer's
// page shape and the room the scroll box offers.
#include <QSize>

namespace qm {

struct TZoomGeometry {
    int PageWidth = 1, PageHeight = 1; // the page panel
    bool HorizontalBar = false, VerticalBar = false;
    int ContainerWidth = 0, ContainerHeight = 0;
    int Left = 0, Top = 0; // the page panel within the container
};

// baseHeight: the page height at zoom 1; printable and xres/yres: the printer's
// printable area and resolution; box: the scroll box; barExtent: a scroll bar's width.
TZoomGeometry ComputeZoomGeometry(float zoom, int baseHeight, QSize printable, int xres, int yres, QSize box,
                                  int barExtent);

} // namespace qm
