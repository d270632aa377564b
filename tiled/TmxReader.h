#pragma once
// Reading a Tiled map (.tmx) into a map record: orthogonal maps up to 72 x 72 cells,
// CSV, XML or base64 layer data (plain, zlib or gzip), embedded or external tilesets.
// Widget-free; every failure names the file and the reason and yields no record.
#include <cstdint>
#include <string>
#include <vector>

#include "model/MapKey.h"
#include "model/MapRecord.h"
#include "tiled/TiledError.h"

namespace qm {

struct TTmxImport {
    TMapRecord Map;
    TMapKey Key;                    // from the object layer "key"
    int FlippedTiles = 0;           // tiles whose flip or rotation flags were cleared
    std::vector<std::string> Notes; // what the user should be told once, in order
};

// Reads the map at `path`. A map without Quillmarch's own properties gets `zoom`,
// hidden symbols shown and the default tileset. Throws TTiledError.
TTmxImport ReadTmxFile(const std::string& path, int zoom);

// The notes of an import as one message, or empty when there is nothing to say.
std::string ImportNotesText(const TTmxImport& result, const std::string& path);

} // namespace qm
