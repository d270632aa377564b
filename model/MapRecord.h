#pragma once
// The map record: the document in memory and, byte for byte, the .map file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/LayerMode.h"

namespace qm {

constexpr int MapSize = 72;

#pragma pack(push, 1)
struct TMapCell {
    uint8_t Upper;
    uint8_t Lower;
    uint8_t Spare;
};

struct TMapRecord {
    TMapCell Cells[MapSize][MapSize]; // [X-1][Y-1]: column-major, as on disk
    uint8_t Background;
    uint8_t ShowHidden;
    uint8_t Zoom;
    uint8_t CurrentSymbol;
    uint8_t Reserved1[6];
    uint8_t TilesetName[256];
    uint8_t Reserved2[200];

    // 1-based map column X and row Y; callers keep both in 1..72.
    TMapCell& Cell(int x, int y) { return Cells[x - 1][y - 1]; }
    const TMapCell& Cell(int x, int y) const { return Cells[x - 1][y - 1]; }
};
#pragma pack(pop)

static_assert(sizeof(TMapCell) == 3);
static_assert(sizeof(TMapRecord) == 16018);
static_assert(offsetof(TMapRecord, Background) == 15552);
static_assert(offsetof(TMapRecord, ShowHidden) == 15553);
static_assert(offsetof(TMapRecord, Zoom) == 15554);
static_assert(offsetof(TMapRecord, CurrentSymbol) == 15555);
static_assert(offsetof(TMapRecord, Reserved1) == 15556);
static_assert(offsetof(TMapRecord, TilesetName) == 15562);
static_assert(offsetof(TMapRecord, Reserved2) == 15818);

constexpr size_t MapRecordSize = sizeof(TMapRecord);

inline bool InsideMap(int x, int y) { return x >= 1 && x <= MapSize && y >= 1 && y <= MapSize; }

// All bytes 0, then ShowHidden 1.
void ClearMapRecord(TMapRecord& rec);

// ClearMapRecord, then the tileset now rendered and the grid's present cell size.
void ResetMap(TMapRecord& rec, const std::string& currentTilesetName, int gridCellSize);

inline void TakeUndoSnapshot(const TMapRecord& current, TMapRecord& undo) { undo = current; }

std::string MapTilesetName(const TMapRecord& rec);
void SetMapTilesetName(TMapRecord& rec, const std::string& name);

// Reads the first 16018 bytes of the file over the record; a shorter file replaces only
// the beginning. The file is opened for reading only, so read-only maps open.
// Throws TFileError("Cannot open file ...") and leaves the record untouched on failure.
void ReadMapFile(const std::string& path, TMapRecord& rec);

// Writes the record whole through a temporary file in the same folder and a rename,
// so a failed save leaves the previous file intact. Throws TFileError.
void WriteMapFile(const std::string& path, const TMapRecord& rec);

} // namespace qm
