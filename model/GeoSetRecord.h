#pragma once
// The GeoSet record: 54 maplets of 12 x 12 cells and the maplet editor's settings;
// byte for byte the .geo file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/MapRecord.h"

namespace qm {

constexpr int MapletSize = 12;
constexpr int GeoPositions = 9;
constexpr int GeoSections = 6;

#pragma pack(push, 1)
struct TMaplet {
    TMapCell Cells[MapletSize][MapletSize]; // [x-1][y-1], column-major
    uint8_t Reserved;

    TMapCell& Cell(int x, int y) { return Cells[x - 1][y - 1]; }
    const TMapCell& Cell(int x, int y) const { return Cells[x - 1][y - 1]; }
};

struct TGeoSetRecord {
    TMaplet Maplets[GeoPositions][GeoSections]; // [Position-1][Section-1]
    uint8_t TilesetName[256];
    uint8_t PaintSymbol;
    uint8_t Position;
    uint8_t Section;
    uint8_t LayerMode;

    // Position 1..9 and section 1..6; anything else is clamped so no access leaves the record.
    TMaplet& Maplet(int position, int section);
    const TMaplet& Maplet(int position, int section) const;
};
#pragma pack(pop)

static_assert(sizeof(TMaplet) == 433);
static_assert(sizeof(TGeoSetRecord) == 23642);
static_assert(offsetof(TGeoSetRecord, TilesetName) == 23382);
static_assert(offsetof(TGeoSetRecord, PaintSymbol) == 23638);
static_assert(offsetof(TGeoSetRecord, Position) == 23639);
static_assert(offsetof(TGeoSetRecord, Section) == 23640);
static_assert(offsetof(TGeoSetRecord, LayerMode) == 23641);

constexpr size_t GeoSetRecordSize = sizeof(TGeoSetRecord);

inline int ClampPosition(int p) { return p < 1 ? 1 : (p > GeoPositions ? GeoPositions : p); }
inline int ClampSection(int s) { return s < 1 ? 1 : (s > GeoSections ? GeoSections : s); }

// All bytes 0, tileset name := the tileset now rendered, Position and Section 1.
// (Disabling "Generate Random Map" is the caller's part.)
void ClearGeoSetRecord(TGeoSetRecord& rec, const std::string& currentTilesetName);

std::string GeoTilesetName(const TGeoSetRecord& rec);

// Reads up to 23642 bytes over the record (a short file keeps the rest), read-only open;
// a Position outside 1..9 or Section outside 1..6 becomes 1. Throws TFileError.
void ReadGeoSetFile(const std::string& path, TGeoSetRecord& rec);

// Reads a file that holds exactly one record over `rec`; any other length throws TNotARecordError
// "<file name> is not a Quillmarch GeoSet (N bytes)" and leaves `rec` as it was. A Position
// or Section out of range becomes 1, as above.
// With `moreAfter` the file may go on past the record (a recovery copy's trailer).
void ReadWholeGeoSetFile(const std::string& path, TGeoSetRecord& rec, bool moreAfter = false);

// Atomic write of the whole record. Throws TFileError ("Cannot create file ...").
void WriteGeoSetFile(const std::string& path, const TGeoSetRecord& rec);

} // namespace qm
