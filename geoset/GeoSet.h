#pragma once
// The process-wide GeoSet: clearing, loading and saving it, and composing one maplet
// cell. The tool bar's New / Open / Save commands are in GeoSetCommands.h.
#include <QImage>
#include <QString>
#include <functional>

#include "model/GeoSetRecord.h"
#include "model/MapRecord.h"
#include "model/Progress.h"
#include "tiles/Tileset.h"

class QWidget;

namespace qm {

inline const QString GeoSetFilter = QStringLiteral("Quillmarch GeoSets (*.geo)");
inline const QString GeoSetSuffix = QStringLiteral("geo");
inline const QString DefaultGeoSetName = QStringLiteral("defaultgeoset.geo");

// What the GeoSet commands read and write besides the record. The application owns
// everything pointed at; the hooks let the windows follow.
struct TGeoSetContext {
    TGeoSetRecord* GeoSet = nullptr;
    QString* GeoSetFileName = nullptr; // path last read or saved
    TRenderedTileset* Tileset = nullptr;
    TMapRecord* CurrentMap = nullptr; // a GeoSet's tileset becomes the map's too
    QImage* TileBitmap = nullptr;
    TProgressFn TilesetProgress;     // hears a tileset rendering, if set
    QWidget* DialogParent = nullptr; // the maplet editor installs itself
    QString DialogDir;               // starting folder of the file dialogs
    // Enables or disables "Generate Random Map".
    std::function<void(bool)> SetGenerateEnabled;
    // A GeoSet brought another tileset: repaint the map grid and the symbol column.
    std::function<void()> TilesetChanged;
    // The maplet editor painted into the record (the GeoSet is now modified).
    std::function<void()> GeoSetChanged;
    // The record changed under the maplet editor: set its selectors, repaint its grid.
    // The editor installs this itself.
    std::function<void()> SelectorsChanged;
};

// Clears the record (tileset name := the one rendered now, Position and Section 1)
// and disables "Generate Random Map". Leaves the editor's controls alone.
void ClearGeoSet(TGeoSetContext& ctx);

// GeoSetFileName := path; reads the file over the record (a short file keeps the rest);
// re-renders the tileset when the GeoSet names another one (letter case of a..z
// ignored); updates the editor's selectors; enables "Generate Random Map".
// A file that cannot be opened throws TFileError and changes nothing but
// GeoSetFileName. A tileset that cannot be rendered leaves the previous tileset in use,
// the GeoSet loaded, and is reported by throwing TTilesetError at the end.
void LoadGeoSet(TGeoSetContext& ctx, const QString& path);

// Writes the whole record atomically. Throws TFileError ("Cannot create file ...").
void SaveGeoSet(const TGeoSetRecord& geo, const QString& path);

// Start-up: ClearGeoSet, then the default GeoSet from the program folder if it is there.
void GeoSetStartup(TGeoSetContext& ctx, const QString& programDir);

// A maplet cell in cellBitmap at TileSize: white, lower then upper; no background,
// hidden symbols drawn too.
void DrawMapletCell(QImage& cellBitmap, const TRenderedTileset& ts, const TGeoSetRecord& geo, int position, int section,
                    int x, int y);

} // namespace qm
