#pragma once
// The process-wide GeoSet: clearing, loading and saving it, and composing one maplet
// cell. The tool bar's New / Open / Save commands are in GeoSetCommands.h.
#include <QImage>
#include <QString>

#include "geoset/GeoSetDocument.h"
#include "model/GeoSetRecord.h"
#include "tiles/Tileset.h"

namespace qm {

inline const QString GeoSetFilter = QStringLiteral("Quillmarch GeoSets (*.geo)");
inline const QString GeoSetSuffix = QStringLiteral("geo");
inline const QString DefaultGeoSetName = QStringLiteral("defaultgeoset.geo");

// Clears the record (tileset name := the one rendered now, Position and Section 1);
// the listeners disable "Generate Random Map" and set the editor's selectors.
void ClearGeoSet(TGeoSetDocument& doc);

// Reads the file over the record (TGeoSetDocument::Open); the listeners set the editor's
// selectors and enable "Generate Random Map".
void LoadGeoSet(TGeoSetDocument& doc, const QString& path);

// Writes the whole record atomically. Throws TFileError ("Cannot create file ...").
void SaveGeoSet(const TGeoSetRecord& geo, const QString& path);
// The same, and `path` becomes the document's file (no longer modified).
void SaveGeoSet(TGeoSetDocument& doc, const QString& path);

// Start-up: ClearGeoSet, then the default GeoSet from the program folder if it is there.
void GeoSetStartup(TGeoSetDocument& doc, const QString& programDir);

// A maplet cell in cellBitmap at TileSize: white, lower then upper; no background,
// hidden symbols drawn too.
void DrawMapletCell(QImage& cellBitmap, const TRenderedTileset& ts, const TGeoSetRecord& geo, int position, int section,
                    int x, int y);

} // namespace qm
