#pragma once
// The rendered tileset: symbol images, tool icons and per-symbol flags that every
// other part draws and paints with. Produced by RenderTileset.
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "model/MapRecord.h"
#include "model/Progress.h"
#include "tiles/SymbolTable.h"

namespace qm {

struct TRenderedTileset {
    int TileSize = 0;
    // 256 images of TileSize x TileSize, Format_ARGB32_Premultiplied; pure white is
    // alpha 0 in images 1..255 so what lies beneath shows through.
    std::array<QImage, 256> DesktopPalette;
    // 24 icons of 16 x 16, white transparent.
    std::array<QImage, 24> ToolPalette;
    std::array<uint8_t, 256> HiddenFlags{};
    std::array<uint8_t, 256> LayerFlags{}; // 1 = upper layer in lmAuto
    QString CurrentTilesetName;            // file name without folder; empty = default
    QString SourcePath;                    // the picture the images came from; empty = built-in
    // The tileset's symbol table (names, roles, what players see in place of hidden
    // symbols); a table that cannot be read leaves only the terrain roles, and RolesError
    // says why (the file and the line) for the window or the renderer to report.
    std::shared_ptr<const SymbolTable> Roles;
    std::string RolesError;
    // Bumped by every successful rendering, so caches of composed cells know to drop.
    uint64_t Generation = 0;

    bool IsRendered() const { return TileSize > 0; }
};

// A tileset picture that exists but cannot be used; the message is what the user sees.
class TTilesetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Largest TileSize accepted: 256 symbols of that size must fit in reasonable memory.
constexpr int MaxTileSize = 256;

// Renders the tileset named by `path` (full path or bare name looked up in the current
// working directory; only a regular file is read), or the built-in default tileset when
// no such file exists. Sets CurrentTilesetName and the map's TilesetName to the
// file-name part of path first. A file that cannot be used throws TTilesetError and
// leaves images, icons, flags and TileSize as they were. `progress`, when given, hears
// (symbol, 256) before each symbol is cut and (256, 256) at the end; asking it to stop
// throws TTilesetError and leaves everything as it was.
void RenderTileset(TRenderedTileset& ts, TMapRecord& currentMap, const QString& path, QImage& tileBitmap,
                   const TProgressFn& progress = {});

// The file-name part of a tileset name read from a file: folder parts dropped, so a
// map or GeoSet can never point the program at a file outside the look-up folder.
QString BareTilesetName(const QString& name);

// The built-in default picture (768 x 784, 8 bits per pixel).
const QImage& DefaultTilesetPicture();

} // namespace qm
