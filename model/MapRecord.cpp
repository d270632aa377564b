#include "model/MapRecord.h"

#include <cstring>

#include "model/RecordFile.h"
#include "model/ShortString.h"

namespace qm {

void ClearMapRecord(TMapRecord& rec) {
    std::memset(&rec, 0, sizeof rec);
    rec.ShowHidden = 1;
}

void ResetMap(TMapRecord& rec, const std::string& currentTilesetName, int gridCellSize) {
    ClearMapRecord(rec);
    SetShortString(rec.TilesetName, currentTilesetName);
    rec.Zoom = static_cast<uint8_t>(gridCellSize);
}

std::string MapTilesetName(const TMapRecord& rec) { return GetShortString(rec.TilesetName); }

void SetMapTilesetName(TMapRecord& rec, const std::string& name) { SetShortString(rec.TilesetName, name); }

void ReadMapFile(const std::string& path, TMapRecord& rec) { ReadRecordPrefix(path, &rec, sizeof rec); }

void WriteMapFile(const std::string& path, const TMapRecord& rec) { WriteFileAtomic(path, &rec, sizeof rec); }

} // namespace qm
