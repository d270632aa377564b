#pragma once
// The program's process-wide state, owned by one object that the main window creates.
// Functions that touch a part of it receive that part as a parameter.
#include <QImage>
#include <QString>
#include <optional>

#include "compose/CellCache.h"
#include "editor/Clipboard.h"
#include "editor/MapDocument.h"
#include "geoset/GeoSetDocument.h"
#include "model/LayerMode.h"
#include "model/MapRecord.h"
#include "tiles/SymbolTable.h"
#include "tiles/Tileset.h"

namespace qm {

struct TQuillmarch {
    TMapDocument Document; // the map, its undo copy, its file and its steps
    TMapClipboard MapClipboard;
    TRenderedTileset Tileset;
    SymbolTable Symbols = BuiltInSymbolTable(); // names and roles of the tileset in use
    TGeoSetDocument GeoSetDocument{Tileset};    // the GeoSet of the maplet editor and random maps
    TCellCache CellCache;                       // scaled cells of both grids, dropped with each new tileset
    TLayerMode CurrentLayerMode = lmAuto;
    QImage TileBitmap; // cutting bitmap of the tileset rendering
    QImage CellBitmap; // composition bitmap of every cell drawn
    bool FirstActivation = true;
    QString ProgramDir; // the executable's folder, with a trailing separator
    QString StartFile;  // the map to open once the first-time set-up is done; empty for none

    // Folders the map and picture file dialogs open in; the program folder at first (the
    // GeoSet document keeps its own).
    QString MapDialogDir;
    QString PictureDialogDir;
    // Folders the user chose in this run, empty until then: for maps (Open, Save As, Import
    // Tiled Map) and for exports. Save and export dialogs propose a name there.
    QString MapFolderUsed;
    QString ExportFolderUsed;

    // Export Image's and Copy Image's Player Copy once the user changed it; until then it
    // follows Show Hidden.
    std::optional<bool> PlayerCopy;
    bool PictureRoomNumbers = false; // Export Image and Copy Image: the key's numbers, kept for the run
};

// The folder of the running executable with its trailing separator.
QString DefaultProgramDir();

} // namespace qm
