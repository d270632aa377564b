#pragma once
// The page types both the page handler and the battle-mat sheets use: the choices of
// "Print Properties", what a print is made of, and the page layout as a pure function.
#include <QImage>
#include <QString>
#include <vector>

#include "compose/CellCache.h"
#include "compose/GridRect.h"
#include "compose/PaperRock.h"
#include "model/MapKey.h"
#include "model/MapRecord.h"
#include "tiles/Tileset.h"

namespace qm {

class TKeyPagesCache;

enum TGridStyle { gsNone = 0, gsAlignedSquares = 1, gsAlignedHexes = 2, gsOffsetSquares = 3, gsHexOverlay = 4 };

enum TOverlap { ovNone = 0, ovEighth = 1, ovQuarter = 2, ovHalf = 3 };
enum THiddenPrint { hpAsMap = 0, hpShow = 1, hpLeaveOut = 2 };
// The map key's numbers on the map pages: as the hidden symbols (when the printed map
// shows them), always, or never.
enum TRoomNumbers { rnAsHidden = 0, rnOn = 1, rnOff = 2 };

// The battle-mat choices of "Print Properties": sheets meant to be trimmed and taped
// together. Every default leaves the printout as it is without them.
struct TBattleMatOptions {
    int Overlap = ovNone;   // strip of the neighbours' map repeated on the right and bottom
    bool Marks = false;     // crop marks, hatched glue strips and sheet labels
    bool Overview = false;  // an extra first sheet: the whole area small, with a 2" ruler
    int Correction = 1000;  // tenths of a percent, 950..1050, applied to fixed cell sizes
    bool SkipEmpty = false; // only the sheets that hold a drawn cell
    int Hidden = hpAsMap;   // player copy: hpLeaveOut
    bool InkSaver = false;  // ground (lower layer, background) as a light wash
    bool FitSheets = false; // as many sheets across and down as the area needs, not a square
    bool operator==(const TBattleMatOptions&) const = default;
};

// Inches of an overlap item.
float OverlapItemInches(int index);

// The choices of "Print Properties", by item index.
struct TPrintSettings {
    int ScaleIndex = 0; // 0 fit to page, 1..6 = 0.25" .. 1.50"
    bool PrintTitle = true;
    bool WholeMap = true;   // false: the grid's selection
    bool DrawnPart = false; // the drawn part of the map, whatever WholeMap says
    int LeftMargin = 1;     // 0..3 = 0.25", 0.50", 1.00", 1.50"
    int TopMargin = 1;
    int RightMargin = 1;
    int BottomMargin = 1;
    int GridStyle = gsNone; // -1 (nothing selected) draws no grid
    TBattleMatOptions Mat;
    int RoomNumbers = rnAsHidden;
    bool KeyPages = false; // the key after the map pages, from a sheet of its own

    // Rock: how solid rock prints (TRockPrint). Not As Drawn, the drawn part and the
    // sheets left out go by the places, not the rock.
    int Rock = rpDrawn;
};

// Inches of a scale item (0 for "Fit To Page") and of a margin item.
float ScaleItemInches(int index);
float MarginItemInches(int index);

// Everything the page handler reads; the main window and the command-line renderer
// both fill one in.
struct TMapPrintSource {
    const TMapRecord* Map = nullptr;
    const TRenderedTileset* Tileset = nullptr;
    QImage* CellBitmap = nullptr;
    TGridRect Selection; // 0-based grid cells, used when !Settings.WholeMap
    QString MapFileName; // may carry a folder; empty for a map never saved or opened
    TPrintSettings Settings;
    // Composed cells kept across pages, so equal cells are drawn as one shared image
    // (a PDF then stores each once). Optional; the page handler supplies its own.
    TCellCache* Cells = nullptr;
    // The map key: room numbers and key pages. Optional, as the layout of its pages kept
    // across pages (the page handler supplies its own).
    const TMapKey* Key = nullptr;
    TKeyPagesCache* KeyPages = nullptr;
};

// All quantities in printer pixels from the sheet's top-left corner; 1-based map cells.
struct TPageLayout {
    int X1 = 1, Y1 = 1, X2 = MapSize, Y2 = MapSize;
    int NC = MapSize, NR = MapSize;
    int LM = 0, RM = 0, TM = 0, BM = 0, TH = 0;
    int AW = 0, AH = 0;
    int CW = 0, CH = 0;
    int CPP = 0, RPP = 0;
    int PX = 1, PY = 1, N = 1;
    // No cell fits (cell of 0 pixels, or a cell larger than the room between the
    // margins): one page with only the title.
    bool Empty = false;
    // Battle-mat additions: the overlap strip (pixels), the sheet grid (N x N, or PX x PY
    // when the sheets fit the area or empty ones are skipped) and the overview before it.
    int OVX = 0, OVY = 0;
    int SheetCols = 1, SheetRows = 1;
    bool Overview = false;
    // Skip Empty Sheets: whether each sheet of the grid holds a drawn cell, row by row
    // (empty when every sheet prints), and how many do not.
    std::vector<char> Drawn;
    int LeftOut = 0;
    int Sheets() const { return SheetCols * SheetRows - LeftOut; }
    int Pages() const { return Sheets() + (Overview ? 1 : 0); }
    bool Printed(int pr, int pc) const {
        return Drawn.empty() || Drawn[static_cast<size_t>((pr - 1) * SheetCols + pc - 1)] != 0;
    }
};

TPageLayout ComputePageLayout(const TPrintSettings& s, const TGridRect& selection, int pageWidth, int pageHeight,
                              int xres, int yres);

// Page row and column (1-based) of page p, row by row over the sheet grid (N x N by
// default); the overview sheet, when there is one, is page 1 and gets row and column 0.
void PagePosition(const TPageLayout& l, int page, int& pr, int& pc);

// "[Untitled]", or "[PCx / PRy] - name" with the map file's name without folder; with the
// sheet's label, as the battle-mat label and the overview name it: "[3x / 2y] B3 - name".
QString PageTitle(const QString& mapFileName, int pc, int pr, bool withLabel = false);

// "A1", "B3", ...: row letter (A..Z, then AA, AB, ...) and column number.
QString SheetLabel(int pr, int pc);

} // namespace qm
