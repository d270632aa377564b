#include "tiled/TiledExport.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QXmlStreamWriter>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include "compose/Compose.h"
#include "editor/SmartTerrain.h"
#include "model/RecordFile.h"
#include "model/ShortString.h"
#include "tiled/TiledNames.h"

namespace qm {

namespace {

// Wang colours as Tiled shows them on its terrain brush.
const char* const TerrainColours[TerrainCount] = {"#808080", "#3070d0", "#e04020", "#202020",
                                                  "#60b030", "#207020", "#8a6a40", "#e0c060"};

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

QString Latin1(const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

void Property(QXmlStreamWriter& w, const char* name, const char* type, const QString& value) {
    w.writeStartElement("property");
    w.writeAttribute("name", name);
    if (type) w.writeAttribute("type", type);
    w.writeAttribute("value", value);
    w.writeEndElement();
}

bool AllZero(const uint8_t* p, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (p[i]) return false;
    return true;
}

// The bytes PropReserved must carry: anything there that the other properties lose,
// a name character XML cannot hold, or stale bytes after the name.
bool NeedsReservedBytes(const TMapRecord& map) {
    const int len = map.TilesetName[0];
    for (int i = 1; i <= len; ++i)
        if (map.TilesetName[i] < 0x20) return true;
    return !AllZero(map.Reserved1, sizeof map.Reserved1) || !AllZero(map.Reserved2, sizeof map.Reserved2) ||
           !AllZero(map.TilesetName + 1 + len, size_t(255 - len));
}

QString SpareBytesText(const TMapRecord& map) {
    std::vector<uint8_t> spare(MapSize * MapSize);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) spare[size_t((x - 1) * MapSize + (y - 1))] = map.Cell(x, y).Spare;
    if (AllZero(spare.data(), spare.size())) return {};
    uLongf packedSize = compressBound(uLong(spare.size()));
    std::vector<uint8_t> packed(packedSize);
    compress2(packed.data(), &packedSize, spare.data(), uLong(spare.size()), 9);
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(packed.data()), qsizetype(packedSize)).toBase64());
}

// One layer as Tiled's CSV: rows top to bottom, a line each, gid = symbol + 1.
template <class F> void CsvLayer(QXmlStreamWriter& w, int id, const char* name, F symbolAt) {
    w.writeStartElement("layer");
    w.writeAttribute("id", QString::number(id));
    w.writeAttribute("name", name);
    w.writeAttribute("width", QString::number(MapSize));
    w.writeAttribute("height", QString::number(MapSize));
    w.writeStartElement("data");
    w.writeAttribute("encoding", "csv");
    QString csv = QStringLiteral("\n");
    csv.reserve(MapSize * MapSize * 4 + 2);
    for (int y = 1; y <= MapSize; ++y) {
        for (int x = 1; x <= MapSize; ++x) {
            const int s = symbolAt(x, y);
            csv += QString::number(s == 0 ? 0 : s + 1);
            if (x < MapSize || y < MapSize) csv += QLatin1Char(',');
        }
        csv += QLatin1Char('\n');
    }
    w.writeCharacters(csv);
    w.writeEndElement();
    w.writeEndElement();
}

// Puts the prepared files in place; if one rename fails the earlier ones are taken
// back and files that were there before return.
class TCommitAll {
public:
    void Add(TAtomicFile& f) {
        Entry e{&f, {}};
        struct stat st {};
        if (::stat(f.Path().c_str(), &st) == 0) {
            // A hard link keeps the old file's bytes while the new one takes its name.
            for (int n = 0; n < 100 && e.backup.empty(); ++n) {
                std::string name = f.Path() + ".old" + std::to_string(::getpid()) + "-" + std::to_string(n);
                if (::link(f.Path().c_str(), name.c_str()) == 0) e.backup = name;
                else if (errno != EEXIST) break;
            }
            if (e.backup.empty()) {
                const int err = errno;
                Undo(entries_.size());
                throw TFileError(CannotCreateMessage(f.Path(), std::strerror(err)));
            }
        }
        entries_.push_back(e);
    }
    void Commit() {
        for (size_t i = 0; i < entries_.size(); ++i) {
            try {
                entries_[i].file->Commit();
            } catch (...) {
                Undo(i);
                throw;
            }
        }
        for (const Entry& e : entries_)
            if (!e.backup.empty()) ::unlink(e.backup.c_str());
    }

private:
    struct Entry {
        TAtomicFile* file;
        std::string backup;
    };
    // Takes back the first `committed` renames and drops every backup.
    void Undo(size_t committed) {
        for (size_t i = 0; i < entries_.size(); ++i) {
            const Entry& e = entries_[i];
            if (i < committed) {
                if (!e.backup.empty()) ::rename(e.backup.c_str(), e.file->Path().c_str());
                else ::unlink(e.file->Path().c_str());
            } else if (!e.backup.empty()) {
                ::unlink(e.backup.c_str());
            }
        }
    }
    std::vector<Entry> entries_;
};

} // namespace

TTiledFileNames TiledFileNamesFor(const std::string& tmxPath) {
    std::string stem = tmxPath;
    const auto slash = stem.find_last_of('/');
    const auto dot = stem.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) stem.erase(dot);
    return {tmxPath, stem + "-tileset.tsx", stem + "-tileset.png"};
}

std::string TerrainWangId(int shape) {
    const unsigned q = TerrainShapeQuarters(shape);
    // top, top-right, right, bottom-right, bottom, bottom-left, left, top-left
    const int ids[8] = {0, (q & qNE) ? 1 : 0, 0, (q & qSE) ? 1 : 0, 0, (q & qSW) ? 1 : 0, 0, (q & qNW) ? 1 : 0};
    std::string s;
    for (int i = 0; i < 8; ++i) {
        if (i) s += ',';
        s += std::to_string(ids[i]);
    }
    return s;
}

namespace {
// Texts of several lines go as the property's element text, as Tiled writes them.
void TextProperty(QXmlStreamWriter& w, const char* name, const QString& value) {
    w.writeStartElement("property");
    w.writeAttribute("name", name);
    if (value.contains(QLatin1Char('\n'))) w.writeCharacters(value);
    else w.writeAttribute("value", value);
    w.writeEndElement();
}

void KeyLayer(QXmlStreamWriter& w, const TMapKey& key, int tileSize) {
    w.writeStartElement("objectgroup");
    w.writeAttribute("id", "4");
    w.writeAttribute("name", tiled::LayerKey);
    if (!key.Fields.empty()) {
        w.writeStartElement("properties");
        for (const auto& [name, value] : key.Fields) TextProperty(w, name.c_str(), QString::fromStdString(value));
        w.writeEndElement();
    }
    int id = 1;
    for (const TKeyEntry& e : key.Entries) {
        w.writeStartElement("object");
        w.writeAttribute("id", QString::number(id++));
        w.writeAttribute("name", QString::fromStdString(KeyEntryHeading(e)));
        // The cell's centre: whole pixels for even tile sizes, halves otherwise.
        w.writeAttribute("x", QString::number((e.X - 1) * tileSize + tileSize / 2.0));
        w.writeAttribute("y", QString::number((e.Y - 1) * tileSize + tileSize / 2.0));
        w.writeStartElement("properties");
        Property(w, tiled::PropKeyNumber, "int", QString::number(e.Number));
        TextProperty(w, tiled::PropKeyText, QString::fromStdString(e.Text));
        w.writeEndElement();
        w.writeEmptyElement("point");
        w.writeEndElement();
    }
    w.writeEndElement();
}
} // namespace

std::string TmxText(const TMapRecord& map, int tileSize, const std::string& tsxFileName, const TMapKey* key) {
    const bool withKey = key && !key->Empty();
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    w.writeStartDocument();
    w.writeStartElement("map");
    w.writeAttribute("version", "1.8");
    w.writeAttribute("tiledversion", "1.8.2");
    w.writeAttribute("orientation", "orthogonal");
    w.writeAttribute("renderorder", "right-down");
    w.writeAttribute("width", QString::number(MapSize));
    w.writeAttribute("height", QString::number(MapSize));
    w.writeAttribute("tilewidth", QString::number(tileSize));
    w.writeAttribute("tileheight", QString::number(tileSize));
    w.writeAttribute("infinite", "0");
    w.writeAttribute("nextlayerid", withKey ? "5" : "4");
    w.writeAttribute("nextobjectid", QString::number(withKey ? key->Entries.size() + 1 : 1));

    w.writeStartElement("properties");
    Property(w, tiled::PropBackground, "int", QString::number(map.Background));
    Property(w, tiled::PropCurrentSymbol, "int", QString::number(map.CurrentSymbol));
    if (const QString spare = SpareBytesText(map); !spare.isEmpty()) Property(w, tiled::PropSpare, nullptr, spare);
    if (NeedsReservedBytes(map)) {
        const auto* rec = reinterpret_cast<const char*>(&map);
        Property(w, tiled::PropReserved, nullptr,
                 QString::fromLatin1(QByteArray(rec + tiled::ReservedOffset, tiled::ReservedSize).toBase64()));
    }
    Property(w, tiled::PropShowHidden, "bool", map.ShowHidden ? "true" : "false");
    // XML cannot hold control characters; PropReserved then carries the exact bytes.
    std::string name = MapTilesetName(map);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    Property(w, tiled::PropTileset, nullptr, Latin1(name));
    Property(w, tiled::PropZoom, "int", QString::number(map.Zoom));
    w.writeEndElement();

    w.writeEmptyElement("tileset");
    w.writeAttribute("firstgid", "1");
    w.writeAttribute("source", Latin1(tsxFileName));

    CsvLayer(w, 1, tiled::LayerBackground, [&](int, int y) { return BackgroundForRow(map.Background, y - 1); });
    CsvLayer(w, 2, tiled::LayerLower, [&](int x, int y) { return map.Cell(x, y).Lower; });
    CsvLayer(w, 3, tiled::LayerUpper, [&](int x, int y) { return map.Cell(x, y).Upper; });
    if (withKey) KeyLayer(w, *key, tileSize);
    w.writeEndElement();
    w.writeEndDocument();
    return out.toStdString();
}

std::string TsxText(const TRenderedTileset& ts, const SymbolTable& symbols, const std::string& tilesetName,
                    const std::string& pngFileName) {
    const QString size = QString::number(ts.TileSize);
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    w.writeStartDocument();
    w.writeStartElement("tileset");
    w.writeAttribute("version", "1.8");
    w.writeAttribute("tiledversion", "1.8.2");
    w.writeAttribute("name", Latin1(tilesetName));
    w.writeAttribute("tilewidth", size);
    w.writeAttribute("tileheight", size);
    w.writeAttribute("tilecount", "256");
    w.writeAttribute("columns", "16");
    w.writeEmptyElement("image");
    w.writeAttribute("source", Latin1(pngFileName));
    w.writeAttribute("width", QString::number(16 * ts.TileSize));
    w.writeAttribute("height", QString::number(16 * ts.TileSize));

    for (int s = 0; s < 256; ++s) {
        w.writeStartElement("tile");
        w.writeAttribute("id", QString::number(s));
        w.writeStartElement("properties");
        if (ts.HiddenFlags[s]) Property(w, "hidden", "bool", "true");
        Property(w, "layer", nullptr, ts.LayerFlags[s] ? "upper" : "lower");
        const SymbolTraits& traits = symbols[size_t(s)];
        if (!traits.name.empty()) Property(w, "name", nullptr, QString::fromStdString(traits.name));
        if (traits.role != SymbolRole::None) Property(w, "role", nullptr, RoleName(traits.role));
        w.writeEndElement();
        w.writeEndElement();
    }

    w.writeStartElement("wangsets");
    for (int t = 0; t < TerrainCount; ++t) {
        const QString full = QString::number(TerrainBaseOf(t) + 13);
        w.writeStartElement("wangset");
        w.writeAttribute("name", TerrainName(t));
        w.writeAttribute("type", "corner");
        w.writeAttribute("tile", full);
        w.writeEmptyElement("wangcolor");
        w.writeAttribute("name", TerrainName(t));
        w.writeAttribute("color", TerrainColours[t]);
        w.writeAttribute("tile", full);
        w.writeAttribute("probability", "1");
        for (int k = 1; k <= 15; ++k) {
            w.writeEmptyElement("wangtile");
            w.writeAttribute("tileid", QString::number(TerrainBaseOf(t) + k));
            w.writeAttribute("wangid", QString::fromStdString(TerrainWangId(k)));
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return out.toStdString();
}

QByteArray TilesetPng(const TRenderedTileset& ts) {
    const int size = ts.TileSize;
    QImage sheet(16 * size, 16 * size, QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);
    for (int s = 0; s < 256; ++s) {
        QImage tile = ts.DesktopPalette[size_t(s)].convertToFormat(QImage::Format_ARGB32);
        if (tile.isNull()) continue;
        // White is transparent in every symbol, also in symbol 0, which the map never shows.
        for (int y = 0; y < tile.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
            for (int x = 0; x < tile.width(); ++x)
                if ((line[x] & 0xFFFFFF) == 0xFFFFFF) line[x] = 0;
        }
        QPainter p(&sheet);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage((s % 16) * size, (s / 16) * size, tile);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    sheet.save(&buffer, "PNG");
    return png;
}

void ExportTiledMap(const std::string& tmxPath, const TMapRecord& map, const TRenderedTileset& ts,
                    const SymbolTable& symbols, const TMapKey* key) {
    const TTiledFileNames names = TiledFileNamesFor(tmxPath);
    if (!ts.IsRendered()) throw TFileError(CannotCreateMessage(names.Png, "No tileset is rendered."));
    const std::string tilesetName = ts.CurrentTilesetName.isEmpty() ? std::string("Quillmarch default")
                                                                    : ts.CurrentTilesetName.toStdString();
    const QByteArray png = TilesetPng(ts);
    const std::string tsx = TsxText(ts, symbols, tilesetName, BaseName(names.Png));
    const std::string tmx = TmxText(map, ts.TileSize, BaseName(names.Tsx), key);

    // The map refers to the tileset and the tileset to the picture: put them in place
    // in that order, so a reader never finds a map whose tileset is missing.
    TAtomicFile pngFile(names.Png), tsxFile(names.Tsx), tmxFile(names.Tmx);
    pngFile.Write(png.constData(), size_t(png.size()));
    tsxFile.Write(tsx.data(), tsx.size());
    tmxFile.Write(tmx.data(), tmx.size());
    TCommitAll all;
    all.Add(pngFile);
    all.Add(tsxFile);
    all.Add(tmxFile);
    all.Commit();
}

} // namespace qm
