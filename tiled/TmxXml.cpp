#include "tiled/TmxXml.h"

#include <QFile>
#include <QFileInfo>
#include <zlib.h>

#include "base/Encoding.h"

namespace qm::tmx {

std::string Quoted(const QString& s) {
    std::string q = MessageBytes(s);
    q.insert(q.begin(), '"');
    q += '"';
    return q;
}

QByteArray ReadLimited(const std::string& path, const std::string& subject) {
    const QString qpath = PathFromBytes(path);
    QFileInfo info(qpath);
    if (info.exists() && !info.isFile()) throw TTiledError(subject + " is not a regular file.");
    QFile f(qpath);
    if (!f.open(QIODevice::ReadOnly))
        throw TTiledError(subject + " cannot be opened (" + MessageBytes(f.errorString()) + ").");
    const std::string tooLarge = subject + " is larger than " + std::to_string(MaxTiledFileBytes / (1024 * 1024)) +
                                 " MB.";
    if (f.size() > MaxTiledFileBytes) throw TTiledError(tooLarge);
    // Only regular files get here, so their size is known; a file that grew meanwhile
    // is caught after reading.
    QByteArray bytes = f.readAll();
    if (bytes.size() > MaxTiledFileBytes) throw TTiledError(tooLarge);
    return bytes;
}

QByteArray Inflate(const TXml& xml, const QByteArray& packed, size_t want, bool gzip, const std::string& layer) {
    QByteArray out(qsizetype(want + 1), '\0');
    z_stream z{};
    if (inflateInit2(&z, gzip ? 16 + MAX_WBITS : MAX_WBITS) != Z_OK) xml.Fail("The decompressor cannot start.");
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    z.avail_in = uInt(packed.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = inflate(&z, Z_FINISH);
    const size_t got = z.total_out;
    inflateEnd(&z);
    const char* kind = gzip ? "gzip" : "zlib";
    if (rc == Z_BUF_ERROR && got > want)
        xml.Fail("Layer " + layer + " unpacks to more than the " + std::to_string(want) + " bytes its size allows.");
    if (rc != Z_STREAM_END)
        xml.Fail("The " + std::string(kind) + " data of layer " + layer + " is broken or cut short.");
    if (got != want)
        xml.Fail("Layer " + layer + " unpacks to " + std::to_string(got) + " bytes, not the " + std::to_string(want) +
                 " its size needs.");
    out.resize(qsizetype(want));
    return out;
}

} // namespace qm::tmx
