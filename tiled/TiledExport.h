#pragma once
// Writing a map for the Tiled map editor: OUT.tmx (the map), OUT-tileset.tsx (the
// tileset with tile properties and the smart terrains as corner Wang sets) and
// OUT-tileset.png (the symbols, white transparent). Widget-free.
#include <QByteArray>
#include <string>

#include "model/MapKey.h"
#include "model/MapRecord.h"
#include "tiles/SymbolTable.h"
#include "tiles/Tileset.h"

namespace qm {

// The three files of one export, derived from the .tmx path. The tileset picture is
// OUT-tileset.png so that a picture export OUT.png of the same map is never replaced.
struct TTiledFileNames {
    std::string Tmx, Tsx, Png;
};
TTiledFileNames TiledFileNamesFor(const std::string& tmxPath);

// The eight smart terrains in tileset order, as the Wang sets name them.
constexpr int TerrainCount = 8;
constexpr int TerrainBaseOf(int terrain) { return 128 + 16 * terrain; }

// The corner colouring of terrain shape k (1..15) as Tiled's wangid: eight colour
// indexes clockwise from the top, corners at odd places; 1 = in the terrain.
std::string TerrainWangId(int shape);

// The texts and picture of one export. The tileset name is the map's own; the file
// names are bare names the .tmx and .tsx refer to each other by. Each tile carries its
// layer flag, hidden flag, and the name and role the symbol table gives it.
// The map key, when it has entries or fields, is an object layer "key": a point object a
// label named "3. Guard room", at its cell's centre, with `number` and `text` properties;
// the key's header fields are the layer's properties.
std::string TmxText(const TMapRecord& map, int tileSize, const std::string& tsxFileName, const TMapKey* key = nullptr);
std::string TsxText(const TRenderedTileset& ts, const SymbolTable& symbols, const std::string& tilesetName,
                    const std::string& pngFileName);
QByteArray TilesetPng(const TRenderedTileset& ts);

// Writes all three files or none: each goes to a temporary file first, and the
// renames that put them in place are undone if a later one fails (files that were
// there before are put back). Throws TFileError naming the file and the reason.
void ExportTiledMap(const std::string& tmxPath, const TMapRecord& map, const TRenderedTileset& ts,
                    const SymbolTable& symbols, const TMapKey* key = nullptr);

} // namespace qm
