#pragma once
// One encoding for each kind of byte string, so no conversion guesses: file names go to the
// file system in the local 8-bit encoding, message text (exceptions, errors) is UTF-8.
// Header only and Qt Core only, so every library and the build-time generators use it.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <exception>
#include <string>

namespace qm {

// ASCII letters lowered, every other byte kept: symbol names are matched so, UTF-8 or not.
inline std::string AsciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

// A path as the bytes std::filesystem, fopen and the record functions take.
inline std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Such bytes (a command-line argument, a name from a record function) back to a path; a
// path ends at its first zero byte, as the file system reads it.
inline QString PathFromBytes(const char* bytes) { return QFile::decodeName(bytes); }
inline QString PathFromBytes(const std::string& bytes) { return PathFromBytes(bytes.c_str()); }

// Message text: what exceptions carry and the messages built for them.
inline QString MessageText(const std::string& utf8) { return QString::fromStdString(utf8); }
inline QString MessageText(const char* utf8) { return QString::fromUtf8(utf8); }
inline QString MessageText(const std::exception& e) { return QString::fromUtf8(e.what()); }
inline std::string MessageBytes(const QString& text) { return text.toStdString(); }

// A tileset name as the map and GeoSet records hold it: one byte a character.
inline std::string TilesetNameBytes(const QString& name) { return name.toLatin1().toStdString(); }
inline QString TilesetNameText(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

} // namespace qm
