#pragma once
// Files the generators write go through the atomic writer, so a full or failing disk
// fails the build instead of leaving a short tileset, icon or sheet behind.
#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>
#include <cstdio>

#include "model/RecordFile.h"

namespace gen {

// Writes `bytes` to `path`; a failure is reported on stderr (file and reason) and gives false.
inline bool SaveFile(const QByteArray& bytes, const QString& path) {
    try {
        qm::WriteFileAtomic(QFile::encodeName(path).toStdString(), bytes.constData(), size_t(bytes.size()));
        return true;
    } catch (const qm::TFileError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return false;
    }
}

// A PNG picture, encoded in memory first.
inline bool SavePng(const QImage& img, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!img.save(&buffer, "PNG")) {
        std::fprintf(stderr, "Cannot encode \"%s\".\n", QFile::encodeName(path).constData());
        return false;
    }
    return SaveFile(bytes, path);
}

} // namespace gen
