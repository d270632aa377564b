#pragma once
// What a Tiled file may be, and the error that says why one cannot be imported. Shared by
// the map reader and its bounded XML reading.
#include "model/RecordFile.h"

namespace qm {

// A Tiled file that cannot be imported; the message is what the user sees.
class TTiledError : public TFileError {
public:
    using TFileError::TFileError;
};

// Limits against hostile files.
constexpr long long MaxTiledFileBytes = 16ll * 1024 * 1024;
constexpr int MaxTiledXmlDepth = 32;
constexpr int MaxTiledLayers = 1000;
constexpr int MaxTiledTilesets = 64;

} // namespace qm
