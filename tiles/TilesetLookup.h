#pragma once
// Where a map's tileset picture is, when the map names it by its bare file name.
#include <QString>

namespace qm {

// The user's own tilesets: $XDG_DATA_HOME/Quillmarch/tilesets/.
QString UserTilesetFolder();

// Where tileset `name` (a bare file name) is: the working folder, the folder of the map
// file `mapPath`, the program folder (with its trailing separator), then the user's
// tileset folder. "" when none has it.
QString FindMapTileset(const QString& name, const QString& mapPath, const QString& programDir);

} // namespace qm
