#include "tiles/TilesetLookup.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include "base/Paths.h"

namespace qm {

// By the program's name rather than the running one's, so the renderer finds the same folder.
QString UserTilesetFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Quillmarch/tilesets/");
}

QString FindMapTileset(const QString& name, const QString& mapPath, const QString& programDir) {
    if (name.isEmpty()) return {};
    if (QFileInfo(name).isFile()) return name; // the working folder, as it always was
    QStringList folders = {programDir, UserTilesetFolder()};
    if (!mapPath.isEmpty()) folders.prepend(FolderOf(mapPath));
    for (const QString& folder : folders)
        if (QFileInfo(folder + name).isFile()) return folder + name;
    return {};
}

} // namespace qm
