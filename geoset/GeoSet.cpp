#include "geoset/GeoSet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <exception>

#include "base/Encoding.h"
#include "compose/Compose.h"
#include "model/RecordFile.h"
#include "model/ShortString.h"

namespace qm {

void ClearGeoSet(TGeoSetDocument& doc) { doc.New(); }

void LoadGeoSet(TGeoSetDocument& doc, const QString& path) { doc.Open(path); }

void SaveGeoSet(const TGeoSetRecord& geo, const QString& path) { WriteGeoSetFile(PathBytes(path), geo); }

void SaveGeoSet(TGeoSetDocument& doc, const QString& path) { doc.Save(path); }

void GeoSetStartup(TGeoSetDocument& doc, const QString& programDir) {
    ClearGeoSet(doc);
    const QString path = QDir(programDir).filePath(DefaultGeoSetName);
    if (QFileInfo(path).isFile()) LoadGeoSet(doc, path);
}

void DrawMapletCell(QImage& cellBitmap, const TRenderedTileset& ts, const TGeoSetRecord& geo, int position, int section,
                    int x, int y) {
    if (x < 1 || x > MapletSize || y < 1 || y > MapletSize) {
        ComposeCell(cellBitmap, ts, 0, 0, 0);
        return;
    }
    const TMapCell& cell = geo.Maplet(position, section).Cell(x, y);
    ComposeCell(cellBitmap, ts, 0, cell.Lower, cell.Upper);
}

} // namespace qm
