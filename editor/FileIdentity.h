#pragma once
// What a document remembers of its file as last read or written, to notice when
// another program has replaced it since.
#include <QByteArray>
#include <QString>

namespace qm {

struct TFileIdentity {
    bool Known = false; // false: never read or written, or gone when it was
    qint64 Size = 0;
    qint64 ModifiedMs = 0; // modification time, ms since the epoch
    QByteArray Hash;       // SHA-256 of the contents

    bool operator==(const TFileIdentity&) const = default;
};

// The file as it is now; Known is false when it does not exist or cannot be read.
TFileIdentity FileIdentityOf(const QString& path);

// Whether the file at `path` is no longer the one described by `known`: its size,
// modification time or contents differ. A file that is gone, or of which nothing is
// known, has not changed: saving simply writes it.
bool ChangedOnDisk(const QString& path, const TFileIdentity& known);

} // namespace qm
