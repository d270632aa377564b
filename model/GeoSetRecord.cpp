#include "model/GeoSetRecord.h"

#include <cstring>
#include <memory>

#include "model/RecordFile.h"
#include "model/ShortString.h"

namespace qm {

TMaplet& TGeoSetRecord::Maplet(int position, int section) {
    return Maplets[ClampPosition(position) - 1][ClampSection(section) - 1];
}

const TMaplet& TGeoSetRecord::Maplet(int position, int section) const {
    return Maplets[ClampPosition(position) - 1][ClampSection(section) - 1];
}

void ClearGeoSetRecord(TGeoSetRecord& rec, const std::string& currentTilesetName) {
    std::memset(&rec, 0, sizeof rec);
    SetShortString(rec.TilesetName, currentTilesetName);
    rec.Position = 1;
    rec.Section = 1;
}

std::string GeoTilesetName(const TGeoSetRecord& rec) { return GetShortString(rec.TilesetName); }

void ReadGeoSetFile(const std::string& path, TGeoSetRecord& rec) {
    ReadRecordPrefix(path, &rec, sizeof rec);
    if (rec.Position < 1 || rec.Position > GeoPositions) rec.Position = 1;
    if (rec.Section < 1 || rec.Section > GeoSections) rec.Section = 1;
}

void ReadWholeGeoSetFile(const std::string& path, TGeoSetRecord& rec, bool moreAfter) {
    auto scratch = std::make_unique<TGeoSetRecord>();
    uint64_t length = 0;
    ReadRecordPrefix(path, scratch.get(), sizeof *scratch, length);
    if (moreAfter ? length < sizeof *scratch : length != sizeof *scratch) {
        const size_t slash = path.find_last_of('/');
        throw TNotARecordError(
            NotARecordMessage(slash == std::string::npos ? path : path.substr(slash + 1), "GeoSet", length));
    }
    rec = *scratch;
    if (rec.Position < 1 || rec.Position > GeoPositions) rec.Position = 1;
    if (rec.Section < 1 || rec.Section > GeoSections) rec.Section = 1;
}

void WriteGeoSetFile(const std::string& path, const TGeoSetRecord& rec) { WriteFileAtomic(path, &rec, sizeof rec); }

} // namespace qm
