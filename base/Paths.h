#pragma once
// Folders of files, as the file dialogs and the tileset lookup use them.
#include <QFileInfo>
#include <QString>

namespace qm {

// The folder of `path` (absolute), ending in '/': where a file dialog starts after the
// file was chosen.
inline QString FolderOf(const QString& path) {
    QString dir = QFileInfo(path).absolutePath();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

} // namespace qm
