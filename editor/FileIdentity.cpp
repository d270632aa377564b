#include "editor/FileIdentity.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace qm {

TFileIdentity FileIdentityOf(const QString& path) {
    TFileIdentity id;
    const QFileInfo info(path);
    if (!info.isFile()) return id;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return id;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) return id;
    id.Known = true;
    id.Size = info.size();
    id.ModifiedMs = info.lastModified().toMSecsSinceEpoch();
    id.Hash = hash.result();
    return id;
}

bool ChangedOnDisk(const QString& path, const TFileIdentity& known) {
    if (!known.Known || path.isEmpty()) return false;
    const TFileIdentity now = FileIdentityOf(path);
    return now.Known && now != known;
}

} // namespace qm
