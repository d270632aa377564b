#pragma once
// The three export commands of the main window: "Export Image...", "Export Tiled Map
// Images" and "Copy Image". Each is complete in itself; the window handler passes
// its state and shows whatever is thrown (TFileError) in its error display.
#include <QString>
#include <QStringList>

#include <vector>

#include "compose/GridRect.h"
#include "export/FoundryScene.h"
#include "model/MapRecord.h"
#include "tiles/SymbolTable.h"
#include "tiles/Tileset.h"

class QWidget;

namespace qm {

// As Save As does: the files of `paths` that exist are replaced only when the user
// answers Yes to `question` (%1: those files, comma separated), asked once for all.
bool MayReplace(QWidget* parent, const QStringList& paths, const char* question = "OK to overwrite %1");

// SavePictureDialog's filter, in Qt form; no default extension.
extern const char* const SavePictureFilter;

// Asks for a file through Dialogs().SaveFileName (starting in startFolder) and writes
// the map, or the selection when it spans more than one cell, at `zoom` pixels per
// cell. Format: the file's extension when it is .bmp/.jpg/.jpeg/.png, else the
// chosen filter. An existing file is replaced only when the user answers Yes to "OK to
// overwrite <path>?". Returns the path written; empty when the user cancelled the
// dialog, declined the overwrite or cancelled the progress window.
// `labels`: the map key's numbers drawn over their cells.
QString ExportDiskExecute(QWidget* parent, const TMapRecord& map, const TRenderedTileset& ts,
                          const TGridRect& selection, int zoom, const QString& startFolder,
                          const TMapKey* labels = nullptr);

// As ExportDiskExecute for the whole map in four quarter pictures (see
// TiledFileNames), asking once before replacing those of the four that exist. Returns
// the four paths written; empty when cancelled.
QStringList ExportDiskTiledExecute(QWidget* parent, const TMapRecord& map, const TRenderedTileset& ts, int zoom,
                                   const QString& startFolder);

// Puts the picture of the map, or of the selection when it spans more than one cell,
// on the system clipboard. Returns false when cancelled from the progress window;
// throws std::runtime_error for a cell size that gives no picture.
// Largest picture Copy Image puts on the clipboard (a whole map at zoom 96 is 48 million).
constexpr qint64 MaxClipboardPixels = 64ll * 1000 * 1000;

bool ExportImageClipboardExecute(QWidget* parent, const TMapRecord& map, const TRenderedTileset& ts,
                                 const TGridRect& selection, int zoom, const TMapKey* labels = nullptr);

// "Export Virtual Tabletop Map...": asks for pixels per cell and hidden symbols, then a
// .dd2vtt/.uvtt/.df2vtt file (and before replacing one), and writes the selection when it spans
// more than one cell, else the whole map. Returns the path written; empty when cancelled.
extern const char* const SaveVttFilter;
// `key`: the map key, whose numbers the dialog offers to draw.
QString ExportVttExecute(QWidget* parent, const TMapRecord& map, const TRenderedTileset& ts, const SymbolTable& symbols,
                         const TGridRect& selection, const QString& startFolder, const TMapKey* key = nullptr);

// "Export Foundry Scene...": asks for the scene's options, then OUT.json (and before
// replacing it or its picture OUT.png), and writes the selection when it spans more than one
// cell, else the whole map; `notes` are the scene's map notes. The scene is named after
// `mapName` (the map file's name without its extension; "Untitled" when empty). Returns the
// scene's path; empty when cancelled.
extern const char* const SaveFoundryFilter;
QString ExportFoundryExecute(QWidget* parent, const TMapRecord& map, const TRenderedTileset& ts,
                             const SymbolTable& symbols, const TGridRect& selection, const QString& startFolder,
                             const QString& mapName, const std::vector<TFoundryNote>& notes = {});

} // namespace qm
