#include "tiled/TmxReader.h"

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <cstring>
#include <functional>
#include <map>
#include <zlib.h>

#include "base/Encoding.h"
#include "compose/Compose.h"
#include "tiled/TiledNames.h"
#include "tiled/TmxXml.h"

namespace qm {

namespace {

using namespace tmx;

constexpr uint32_t FlipFlags = 0xF0000000u; // horizontal, vertical, diagonal, hexagonal rotation

struct TLayer {
    QString Name;
    std::vector<uint32_t> Gids; // rows top to bottom, flip flags kept
};

struct TTilesetRef {
    uint32_t FirstGid = 1;
    long long TileCount = -1; // -1: not said
    QString Source;           // empty: embedded
};

class TTmxParser {
public:
    TTmxParser(const std::string& path, int zoom) : path_(path), zoom_(zoom) {}
    TMapKey key_;
    int tileWidth_ = 1, tileHeight_ = 1;

    TTmxImport Run() {
        TXml xml(path_ + ": ", ReadLimited(path_, path_ + ": It"));
        xml.Root("map");
        ReadMapAttributes(xml);
        xml.Children([&] {
            const QStringView n = xml.Name();
            if (n == u"properties") ReadProperties(xml);
            else if (n == u"tileset") ReadTileset(xml);
            else if (n == u"layer") ReadLayer(xml);
            else if (n == u"group") ReadGroup(xml);
            else if (n == u"objectgroup" && xml.Attr("name") == QLatin1String(tiled::LayerKey)) ReadKeyLayer(xml);
            else xml.Skip();
        });
        TTmxImport r = Build(xml);
        r.Key = std::move(key_);
        return r;
    }

private:
    void ReadMapAttributes(TXml& xml) {
        const QString orientation = xml.Attr("orientation");
        if (orientation != u"orthogonal")
            xml.Fail("Only orthogonal maps can be imported; this map's orientation is " + Quoted(orientation) + ".");
        if (xml.Attr("infinite") == u"1") xml.Fail("It is an infinite map; only fixed-size maps can be imported.");
        const long long w = xml.Number("The map width", xml.Attr("width"), 1, Unbounded);
        const long long h = xml.Number("The map height", xml.Attr("height"), 1, Unbounded);
        if (w > MapSize || h > MapSize)
            xml.Fail("The map is " + std::to_string(w) + " x " + std::to_string(h) + " cells; at most " +
                     std::to_string(MapSize) + " x " + std::to_string(MapSize) + " can be imported.");
        width_ = int(w);
        height_ = int(h);
        // Only the key's positions need the tile size.
        if (xml.HasAttr("tilewidth")) tileWidth_ = int(xml.Number("The tile width", xml.Attr("tilewidth"), 1, 4096));
        if (xml.HasAttr("tileheight"))
            tileHeight_ = int(xml.Number("The tile height", xml.Attr("tileheight"), 1, 4096));
    }

    // The map key: one object a label, at the cell its position falls in.
    void ReadKeyLayer(TXml& xml) {
        xml.Children([&] {
            const QStringView n = xml.Name();
            if (n == u"properties")
                return EachProperty(xml, [&](const QString& name, const QString& value) {
                    key_.SetField(name.toStdString(), value.trimmed().toStdString());
                });
            if (n != u"object") return xml.Skip();
            ReadKeyObject(xml);
        });
    }

    void ReadKeyObject(TXml& xml) {
        const QString label = xml.Attr("name");
        const double x = xml.Attr("x").toDouble(), y = xml.Attr("y").toDouble();
        TKeyEntry e;
        e.X = int(x / tileWidth_) + 1;
        e.Y = int(y / tileHeight_) + 1;
        std::string text;
        xml.Children([&] {
            if (xml.Name() != u"properties") return xml.Skip();
            EachProperty(xml, [&](const QString& name, const QString& value) {
                if (name == QLatin1String(tiled::PropKeyNumber)) e.Number = value.toInt();
                else if (name == QLatin1String(tiled::PropKeyText)) text = value.toStdString();
            });
        });
        // Without a number the label's name gives it ("3. Guard room").
        const qsizetype dot = label.indexOf(QLatin1Char('.'));
        if (e.Number == 0 && dot > 0) e.Number = label.left(dot).toInt();
        const std::string where = "the key's object " + Quoted(label);
        if (e.Number < 1 || e.Number > MaxKeyNumber) xml.Fail("In " + where + " the number is not 1 to 999.");
        if (x < 0 || y < 0 || !InsideMap(e.X, e.Y) || e.X > width_ || e.Y > height_)
            xml.Fail(where + " lies off the map.");
        if (key_.Find(e.Number)) xml.Fail("The key's number " + std::to_string(e.Number) + " is given twice.");
        const QString prefix = QString::number(e.Number) + QLatin1Char('.');
        e.Title = CleanKeyTitle((label.startsWith(prefix) ? label.mid(prefix.size()) : label).toStdString());
        e.Text = CleanKeyText(text);
        if (key_.Entries.size() >= size_t(MaxKeyNumber)) xml.Fail("The key has more than 999 entries.");
        key_.Put(std::move(e));
    }

    // Each <property> of a <properties> element, by name and value; multi-line strings
    // come as the element's text.
    static void EachProperty(TXml& xml, const std::function<void(const QString&, const QString&)>& use) {
        xml.Children([&] {
            if (xml.Name() != u"property") return xml.Skip();
            const QString name = xml.Attr("name");
            QString value = xml.Attr("value"), text;
            const bool hasValue = xml.HasAttr("value");
            xml.Children([&] { xml.Skip(); }, &text);
            use(name, hasValue ? value : text);
        });
    }

    void ReadProperties(TXml& xml) {
        EachProperty(xml, [&](const QString& name, const QString& value) { props_[name.toStdString()] = value; });
    }

    void ReadTileset(TXml& xml) {
        if (int(tilesets_.size()) >= MaxTiledTilesets)
            xml.Fail("It has more than " + std::to_string(MaxTiledTilesets) + " tilesets.");
        TTilesetRef t;
        t.FirstGid = uint32_t(xml.Number("A tileset's firstgid", xml.Attr("firstgid"), 1, 0x0FFFFFFF));
        t.Source = xml.Attr("source");
        if (xml.HasAttr("tilecount"))
            t.TileCount = xml.Number("A tileset's tilecount", xml.Attr("tilecount"), 0, 0x0FFFFFFF);
        xml.Skip();
        if (!t.Source.isEmpty()) t.TileCount = ReadExternalTileset(t.Source);
        tilesets_.push_back(t);
    }

    // The map's folder and below only: a map must not make the program read elsewhere.
    long long ReadExternalTileset(const QString& source) {
        const QString folder = QFileInfo(PathFromBytes(path_)).absoluteDir().absolutePath();
        const std::string shown = "The tileset " + Quoted(source);
        auto fail = [&](const std::string& why) -> long long { throw TTiledError(path_ + ": " + shown + " " + why); };
        if (QDir::isAbsolutePath(source) || source.startsWith(u'/') || source.contains(u'\\') || source.contains(u':'))
            return fail("is given by an absolute path; only tilesets in the map's folder or below it are read.");
        const QString joined = QDir::cleanPath(folder + u'/' + source);
        if (!joined.startsWith(folder + u'/')) return fail("lies outside the map's folder.");
        const QFileInfo info(joined);
        if (!info.exists()) return fail("does not exist.");
        const QString realFolder = QFileInfo(folder).canonicalFilePath();
        if (!info.canonicalFilePath().startsWith(realFolder + u'/'))
            return fail("lies outside the map's folder (through a link).");
        const std::string tsxPath = PathBytes(joined);
        TXml tsx(path_ + ": " + shown + ": ", ReadLimited(tsxPath, path_ + ": " + shown));
        tsx.Root("tileset");
        const long long count = tsx.HasAttr("tilecount")
                                    ? tsx.Number("The tilecount", tsx.Attr("tilecount"), 0, 0x0FFFFFFF)
                                    : -1;
        tsx.Skip();
        return count;
    }

    void ReadGroup(TXml& xml) {
        xml.Children([&] {
            if (xml.Name() == u"layer") ReadLayer(xml);
            else if (xml.Name() == u"group") ReadGroup(xml);
            else xml.Skip();
        });
    }

    void ReadLayer(TXml& xml) {
        if (int(layers_.size()) >= MaxTiledLayers)
            xml.Fail("It has more than " + std::to_string(MaxTiledLayers) + " layers.");
        TLayer layer;
        layer.Name = xml.Attr("name");
        const std::string shown = Quoted(layer.Name);
        const long long w = xml.Number(("The width of layer " + shown).c_str(), xml.Attr("width"), 0, Unbounded);
        const long long h = xml.Number(("The height of layer " + shown).c_str(), xml.Attr("height"), 0, Unbounded);
        if (w != width_ || h != height_)
            xml.Fail("Layer " + shown + " is " + std::to_string(w) + " x " + std::to_string(h) +
                     " cells, not the map's " + std::to_string(width_) + " x " + std::to_string(height_) + ".");
        const size_t cells = size_t(width_) * size_t(height_);
        bool hadData = false;
        xml.Children([&] {
            if (xml.Name() != u"data" || hadData) return xml.Skip();
            hadData = true;
            ReadData(xml, layer, shown, cells);
        });
        if (!hadData) layer.Gids.assign(cells, 0);
        layers_.push_back(std::move(layer));
    }

    void ReadData(TXml& xml, TLayer& layer, const std::string& shown, size_t cells) {
        const QString encoding = xml.Attr("encoding"), compression = xml.Attr("compression");
        QString text;
        xml.Children(
            [&] {
                if (xml.Name() == u"chunk")
                    xml.Fail("Layer " + shown + " is stored in chunks, as only infinite maps are.");
                if (xml.Name() != u"tile") return xml.Skip();
                if (!encoding.isEmpty()) xml.Fail("Layer " + shown + " mixes <tile> elements with encoded data.");
                if (layer.Gids.size() >= cells)
                    xml.Fail("Layer " + shown + " holds more than its " + std::to_string(cells) + " tiles.");
                const QString gid = xml.Attr("gid");
                layer.Gids.push_back(gid.isEmpty() ? 0u : uint32_t(xml.Number("A tile's gid", gid, 0, 0xFFFFFFFFll)));
                xml.Skip();
            },
            &text);
        if (encoding.isEmpty()) {
            // XML tiles; a layer may stop early, the rest is empty.
            layer.Gids.resize(cells, 0);
        } else if (encoding == u"csv") {
            if (!compression.isEmpty())
                xml.Fail("Layer " + shown + " has compressed CSV data, which Tiled never writes.");
            // Counted before splitting, so a file of commas costs no list of millions.
            const size_t count = size_t(text.count(u',')) + 1;
            if (count != cells)
                xml.Fail("Layer " + shown + " holds " + std::to_string(count) + " tiles, not " + std::to_string(cells) +
                         ".");
            const auto parts = QStringView(text).split(u',');
            layer.Gids.reserve(cells);
            for (const auto& p : parts) {
                bool ok = false;
                const qulonglong v = p.trimmed().toULongLong(&ok);
                if (!ok || v > 0xFFFFFFFFull)
                    xml.Fail("Layer " + shown + " holds " + Quoted(p.trimmed().left(20).toString()) +
                             ", which is not a tile number.");
                layer.Gids.push_back(uint32_t(v));
            }
        } else if (encoding == u"base64") {
            auto decoded = QByteArray::fromBase64Encoding(text.trimmed().toLatin1(),
                                                          QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded) xml.Fail("The base64 data of layer " + shown + " is broken.");
            QByteArray bytes = *decoded;
            const size_t want = cells * 4;
            if (compression == u"zlib" || compression == u"gzip") {
                bytes = Inflate(xml, bytes, want, compression == u"gzip", shown);
            } else if (compression == u"zstd") {
                xml.Fail("Layer " + shown +
                         " is compressed with zstd, which cannot be read; save it in Tiled with "
                         "CSV or zlib layer format.");
            } else if (!compression.isEmpty()) {
                xml.Fail("Layer " + shown + " uses the unknown compression " + Quoted(compression) + ".");
            }
            if (size_t(bytes.size()) != want)
                xml.Fail("Layer " + shown + " holds " + std::to_string(bytes.size()) + " bytes, not the " +
                         std::to_string(want) + " its size needs.");
            const auto* b = reinterpret_cast<const uint8_t*>(bytes.constData());
            layer.Gids.resize(cells);
            for (size_t i = 0; i < cells; ++i)
                layer.Gids[i] = uint32_t(b[4 * i]) | uint32_t(b[4 * i + 1]) << 8 | uint32_t(b[4 * i + 2]) << 16 |
                                uint32_t(b[4 * i + 3]) << 24;
        } else {
            xml.Fail("Layer " + shown + " uses the unknown encoding " + Quoted(encoding) + ".");
        }
    }

    // Symbol for a gid: its number within the tileset that holds it.
    uint8_t Symbol(const TXml& xml, uint32_t raw, const TLayer& layer) {
        const uint32_t gid = raw & ~FlipFlags;
        if (gid == 0) return 0;
        const TTilesetRef* owner = nullptr;
        for (const TTilesetRef& t : tilesets_)
            if (t.FirstGid <= gid && (!owner || t.FirstGid > owner->FirstGid)) owner = &t;
        if (!owner || (owner->TileCount >= 0 && gid - owner->FirstGid >= owner->TileCount))
            xml.Fail("Layer " + Quoted(layer.Name) + " uses tile " + std::to_string(gid) + ", which no tileset holds.");
        const uint32_t local = gid - owner->FirstGid;
        if (local > 255)
            xml.Fail("Layer " + Quoted(layer.Name) + " uses tile " + std::to_string(local) +
                     " of its tileset; a Quillmarch tileset has 256 symbols.");
        return uint8_t(local);
    }

    int ByteProperty(const TXml& xml, const char* name, int fallback) {
        auto it = props_.find(name);
        if (it == props_.end()) return fallback;
        return int(xml.Number(("The map property " + Quoted(QString::fromLatin1(name))).c_str(), it->second, 0, 255));
    }

    QByteArray BytesProperty(const TXml& xml, const char* name, bool zlib, size_t want) {
        auto it = props_.find(name);
        if (it == props_.end()) return {};
        auto decoded = QByteArray::fromBase64Encoding(it->second.trimmed().toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
        const std::string broken = "The map property " + Quoted(QString::fromLatin1(name)) + " is broken.";
        if (!decoded) xml.Fail(broken);
        QByteArray bytes = *decoded;
        if (zlib) {
            QByteArray out(qsizetype(want), '\0');
            uLongf got = uLongf(want);
            if (uncompress(reinterpret_cast<Bytef*>(out.data()), &got,
                           reinterpret_cast<const Bytef*>(bytes.constData()), uLong(bytes.size())) != Z_OK)
                xml.Fail(broken);
            out.resize(qsizetype(got));
            bytes = out;
        }
        if (size_t(bytes.size()) != want) xml.Fail(broken);
        return bytes;
    }

    const TLayer* Named(const char* name) const {
        for (const TLayer& l : layers_)
            if (l.Name == QLatin1String(name)) return &l;
        return nullptr;
    }

    TTmxImport Build(const TXml& xml) {
        TTmxImport r;
        TMapRecord& map = r.Map;
        ClearMapRecord(map);
        map.Zoom = uint8_t(zoom_);

        const TLayer* background = Named(tiled::LayerBackground);
        const TLayer* lower = Named(tiled::LayerLower);
        const TLayer* upper = Named(tiled::LayerUpper);
        if (!lower && !upper) {
            std::vector<const TLayer*> rest;
            for (const TLayer& l : layers_)
                if (&l != background) rest.push_back(&l);
            if (rest.size() > 0) lower = rest[0];
            if (rest.size() > 1) upper = rest[1];
        }
        std::vector<std::string> left;
        for (const TLayer& l : layers_)
            if (&l != background && &l != lower && &l != upper) left.push_back(Quoted(l.Name));

        auto fill = [&](const TLayer* l, uint8_t TMapCell::*field) {
            if (!l) return;
            for (int y = 0; y < height_; ++y)
                for (int x = 0; x < width_; ++x)
                    map.Cell(x + 1, y + 1).*field = Symbol(xml, l->Gids[size_t(y) * size_t(width_) + size_t(x)], *l);
        };
        for (const TLayer* l : {background, lower, upper})
            if (l)
                for (uint32_t g : l->Gids) flipped_ += (g & FlipFlags) ? 1 : 0;
        fill(lower, &TMapCell::Lower);
        fill(upper, &TMapCell::Upper);

        ReadBackground(xml, background, r);
        ReadMapProperties(xml, map);
        AddNotes(left, r);
        return r;
    }

    // The background symbol: from its map property, else from a layer that holds one
    // symbol under the whole map (after the row alternation).
    void ReadBackground(const TXml& xml, const TLayer* background, TTmxImport& r) {
        if (props_.count(tiled::PropBackground)) {
            r.Map.Background = uint8_t(ByteProperty(xml, tiled::PropBackground, 0));
            if (background) CheckSymbols(xml, *background);
        } else if (background) {
            const uint8_t b = Symbol(xml, background->Gids[0], *background);
            bool one = true;
            for (int y = 0; y < height_; ++y)
                for (int x = 0; x < width_; ++x)
                    one = one && Symbol(xml, background->Gids[size_t(y) * size_t(width_) + size_t(x)], *background) ==
                                     BackgroundForRow(b, y);
            if (one) r.Map.Background = b;
            else r.Notes.push_back("The layer \"background\" does not hold one background symbol; it was left out.");
        }
    }

    // The record fields Tiled has no place for, from the map's properties.
    void ReadMapProperties(const TXml& xml, TMapRecord& map) {
        map.CurrentSymbol = uint8_t(ByteProperty(xml, tiled::PropCurrentSymbol, 0));
        map.Zoom = uint8_t(ByteProperty(xml, tiled::PropZoom, zoom_));
        if (auto it = props_.find(tiled::PropShowHidden); it != props_.end()) {
            if (it->second == u"true" || it->second == u"1") map.ShowHidden = 1;
            else if (it->second == u"false" || it->second == u"0") map.ShowHidden = 0;
            else xml.Fail("The map property \"showhidden\" is " + Quoted(it->second) + ", not true or false.");
        }
        if (auto it = props_.find(tiled::PropTileset); it != props_.end()) {
            for (QChar c : it->second)
                if (c.unicode() > 0xFF)
                    xml.Fail("The map property \"tileset\" holds a character a tileset file name cannot have.");
            SetMapTilesetName(map, it->second.toLatin1().toStdString());
        }
        const QByteArray reserved = BytesProperty(xml, tiled::PropReserved, false, tiled::ReservedSize);
        if (!reserved.isEmpty())
            std::memcpy(reinterpret_cast<char*>(&map) + tiled::ReservedOffset, reserved.constData(),
                        tiled::ReservedSize);
        const QByteArray spare = BytesProperty(xml, tiled::PropSpare, true, MapSize * MapSize);
        if (!spare.isEmpty())
            for (int x = 1; x <= MapSize; ++x)
                for (int y = 1; y <= MapSize; ++y) map.Cell(x, y).Spare = uint8_t(spare[(x - 1) * MapSize + (y - 1)]);
    }

    // What the import left out or changed, for the user.
    void AddNotes(const std::vector<std::string>& left, TTmxImport& r) const {
        if (tilesets_.size() > 1)
            r.Notes.push_back("The map has " + std::to_string(tilesets_.size()) +
                              " tilesets; each tile became the symbol of its number within its own tileset.");
        if (!left.empty()) {
            std::string list;
            for (const std::string& n : left) list += (list.empty() ? "" : ", ") + n;
            r.Notes.push_back("Layers not imported (a map has a lower and an upper layer): " + list + ".");
        }
        r.FlippedTiles = flipped_;
        if (flipped_ > 0)
            r.Notes.push_back(std::to_string(flipped_) + (flipped_ == 1 ? " tile was" : " tiles were") +
                              " flipped or rotated in Tiled; Quillmarch draws symbols unturned, so " +
                              (flipped_ == 1 ? "it shows" : "they show") + " unflipped.");
    }

    // A layer whose symbols are not used must still name tiles that exist.
    void CheckSymbols(const TXml& xml, const TLayer& l) {
        for (uint32_t g : l.Gids) (void)Symbol(xml, g, l);
    }

    std::string path_;
    int zoom_;
    int width_ = 0, height_ = 0;
    std::map<std::string, QString> props_;
    std::vector<TTilesetRef> tilesets_;
    std::vector<TLayer> layers_;
    int flipped_ = 0;
};

} // namespace

TTmxImport ReadTmxFile(const std::string& path, int zoom) { return TTmxParser(path, zoom).Run(); }

std::string ImportNotesText(const TTmxImport& result, const std::string& path) {
    if (result.Notes.empty()) return {};
    std::string text = "Imported \"" + path + "\".";
    for (const std::string& n : result.Notes) text += "\n" + n;
    return text;
}

} // namespace qm
