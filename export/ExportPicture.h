#pragma once
// The exported picture: map cells composed and scaled exactly as the map grid shows
// them (no selection outlines), produced one row of cells at a time.
#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <string>

#include "compose/GridRect.h"
#include "export/PictureWriters.h"
#include "model/MapKey.h"
#include "model/MapRecord.h"
#include "tiles/Tileset.h"

namespace qm {

// The whole map as a grid rectangle.
constexpr TGridRect WholeMapArea{0, 0, MapSize - 1, MapSize - 1};

// What a picture export covers: the selection when it spans more than one cell,
// otherwise the whole map (a single selected cell is just the grid's cursor).
TGridRect ExportArea(const TGridRect& selection);

// Picture of `area` (0-based grid cells, inclusive, inside the map) at `zoom` pixels
// per cell, one band per row of cells. The source keeps its own copies of map and tileset
// and a reference to labels, which must outlive it.
// `rock` (TRockPrint) other than rpDrawn leaves solid rock as paper, hatched or white;
// `labels`, when given, draws the key's numbers over their cells (the game master's copy).
TPictureSource MapPictureSource(const TMapRecord& map, const TRenderedTileset& ts, const TGridRect& area, int zoom,
                                int rock = 0, const TMapKey* labels = nullptr);

// The same picture whole, in memory (clipboard, tests). Format_RGB32.
QImage ComposeMapPicture(const TMapRecord& map, const TRenderedTileset& ts, const TGridRect& area, int zoom,
                         int rock = 0, const TMapKey* labels = nullptr);

// Writes the picture of `area` to `path` in format `f`; see WritePictureFile.
void ExportMapPicture(const std::string& path, TPictureFormat f, const TMapRecord& map, const TRenderedTileset& ts,
                      const TGridRect& area, int zoom, const TProgressFn& progress = {}, int rock = 0,
                      const TMapKey* labels = nullptr);

// "Export Tiled Map Images" (quarter pictures, not the Tiled editor's files): the whole
// map in four quarters of 36 x 36 cells, in the order
// top left, top right, bottom left, bottom right.
std::array<TGridRect, 4> QuarterAreas();

// File names of the four quarters, in the order of QuarterAreas: the chosen name
// with "-top-left", "-top-right", "-bottom-left", "-bottom-right" before its
// extension ("maps/keep.png" gives "maps/keep-top-left.png" and so on).
std::array<QString, 4> QuarterFileNames(const QString& chosen);

// Writes the four quarter pictures. All four are written to temporary files first
// and put in place only when every one succeeded, so a failure leaves none behind.
// Returns the paths written.
QStringList ExportQuarterPictures(const QString& chosen, TPictureFormat f, const TMapRecord& map,
                                  const TRenderedTileset& ts, int zoom, const TProgressFn& progress = {}, int rock = 0);

} // namespace qm
