#pragma once
// Sheets meant to be taped into a battle mat: overlap strips, crop marks, glue strips,
// sheet labels, the overview sheet with its ruler, and the player copy and ink saver
// ways of composing a printed cell. The page handler calls these beside its own drawing.
#include <QImage>
#include <QRect>
#include <QString>

#include "preview/PrintSurface.h"
#include "print/PageLayout.h"

namespace qm {

// The title of the overview sheet: "[Overview]" or "[Overview] - name".
QString OverviewTitle(const QString& mapFileName);

// Where a sheet's own cells lie and how far its overlap strips reach, in printer pixels.
struct TSheetFrame {
    QRect Trim;          // the sheet's own cells: cut along this rectangle
    int StripRight = 0;  // width of the repeated strip beyond Trim's right edge
    int StripBottom = 0; // height of the repeated strip below Trim's bottom edge
    // Cell slots beyond CPP and RPP that the strips reach into (partly).
    int ExtraCols = 0, ExtraRows = 0;
    bool HasCells() const { return Trim.width() > 0 && Trim.height() > 0; }
};
TSheetFrame SheetFrame(const TPageLayout& lay, int pr, int pc);

// The map whose hidden switch the printout follows: the map itself, or a copy whose
// ShowHidden the player copy (or a forced show) has set.
class TPrintedMap {
public:
    TPrintedMap(const TMapRecord* map, int hidden);
    const TMapRecord* Map() const { return map_; }

private:
    std::unique_ptr<TMapRecord> copy_;
    const TMapRecord* map_;
};

// Composes a printed cell: as the map view does, or with the ground (background and
// lower layer) washed out to a quarter of its ink under a full-strength upper layer.
// With `paper`, solid rock is left white (ComposePaperCell).
void ComposePrintedCell(QImage& cellBitmap, const TMapRecord& map, const TRenderedTileset& ts, int c, int r,
                        bool inkSaver, bool paper = false);

// Paints white over the parts of partly printed strip cells that lie past the strips.
void CoverStripOverflow(TSpecialCanvas& s, const TPageLayout& lay, const TSheetFrame& f);

// What is printed around a sheet's cells, drawn apart so that each stays clear of the others.
enum TSheetPart { spTitle = 1, spStrips = 2, spMarks = 4, spLabel = 8 };

// The title line (when the layout has a title band), and with Cut And Glue Marks the
// hatched glue strips, the crop marks at the trim lines and the sheet label, as `parts`
// asks. The title keeps left of the crop mark at the right trim line (smaller, or past
// the mark in small print on a narrow sheet); the label keeps between the bottom marks,
// or goes under them.
void DrawSheetParts(TSpecialCanvas& s, const TMapPrintSource& src, const TPageLayout& lay, const TSheetFrame& f, int pr,
                    int pc, int parts);

// The cell at 1-based column cx, row cy as printed: from the source's cell cache when it
// has one, so equal cells are one image in a PDF; ink-saver cells are composed afresh,
// unless printed with rock as `paper` (kept in the cache apart from the plain cells).
const QImage& PrintedCell(const TMapPrintSource& src, const TMapRecord& map, int cx, int cy, bool inkSaver,
                          bool paper = false);

// Rock as paper, Hatched Edge: the pen hatching over the sheet's cells (its own and the
// overlap strips'), drawn as lines clipped to the rock band, so a PDF keeps it small.
void DrawSheetHatching(TSpecialCanvas& s, const TMapPrintSource& src, const TPageLayout& lay, const TSheetFrame& f,
                       int pr, int pc, const TMapRecord& map);

// The overview sheet: the whole print area small with the sheet grid and labels, the
// scale, and a ruler square of 2 inches (times the scale correction).
void PrintOverviewPage(TSpecialCanvas& s, const TMapPrintSource& src, const TPageLayout& lay, const TMapRecord* map);

// Side of the overview's ruler square in printer pixels.
int RulerSide(int pixelsPerInch, int correction);

} // namespace qm
