#include "tiles/Tileset.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cstring>

#include "base/Encoding.h"
#include "model/ShortString.h"

static void InitTilesetResources() { Q_INIT_RESOURCE(tileset_art); }

namespace qm {

namespace {

// Enough for the largest usable sheet (16 symbols of MaxTileSize plus the strip, squared)
// twice over; a header that asks for more is refused before any decoding.
constexpr qint64 MaxPicturePixels = 32LL * 1024 * 1024;

[[noreturn]] void Refuse(const QString& path, const QString& reason) {
    throw TTilesetError(MessageBytes(QString("Cannot use tileset \"%1\": %2.").arg(path, reason)));
}

uint32_t Le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

// Checks what the BMP headers promise against the file, so a cut-off file is refused
// instead of being decoded into a half-garbage picture.
void CheckBmpHeaders(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) Refuse(path, f.errorString());
    const qint64 fileSize = f.size();
    unsigned char h[54] = {};
    const qint64 got = f.read(reinterpret_cast<char*>(h), sizeof h);
    if (got < 2 || h[0] != 'B' || h[1] != 'M') Refuse(path, "the file is not a BMP picture");
    if (got < 26) Refuse(path, "the file is truncated");
    const uint32_t offBits = Le32(h + 10);
    const uint32_t infoSize = Le32(h + 14);
    qint64 width = 0, height = 0;
    int bpp = 0;
    uint32_t compression = 0;
    if (infoSize == 12) {
        width = Le16(h + 18);
        height = Le16(h + 20);
        bpp = Le16(h + 24);
    } else if (infoSize >= 40 && got >= 54) {
        width = int32_t(Le32(h + 18));
        height = int32_t(Le32(h + 22));
        bpp = Le16(h + 28);
        compression = Le32(h + 30);
    } else {
        Refuse(path, "the picture header is damaged");
    }
    if (height < 0) height = -height;
    if (width <= 0 || height <= 0) Refuse(path, "the picture has no pixels");
    if (width * height > MaxPicturePixels)
        Refuse(path, QString("the picture is too large (%1 x %2 pixels)").arg(width).arg(height));
    if (compression == 0 || compression == 3) { // uncompressed rows: their size is known
        const qint64 rowBytes = (width * bpp + 31) / 32 * 4;
        if (bpp == 0 || qint64(offBits) + rowBytes * height > fileSize) Refuse(path, "the file is truncated");
    }
}

QImage LoadCustomPicture(const QString& path) {
    CheckBmpHeaders(path);
    QImageReader reader(path, "bmp");
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (!size.isValid()) Refuse(path, reader.errorString());
    if (size.width() < 16) Refuse(path, "the picture is narrower than 16 pixels");
    if (size.width() / 16 > MaxTileSize)
        Refuse(path, QString("its symbols would be larger than %1 pixels").arg(MaxTileSize));
    if (qint64(size.width()) * size.height() > MaxPicturePixels)
        Refuse(path, QString("the picture is too large (%1 x %2 pixels)").arg(size.width()).arg(size.height()));
    QImage img = reader.read();
    if (img.isNull()) Refuse(path, reader.errorString());
    return img;
}

// The picture as premultiplied ARGB with pure white made fully transparent; any alpha the
// file carries is dropped, as a tileset knows only white as its transparent colour.
QImage WhiteTransparent(const QImage& src) {
    if (src.format() == QImage::Format_Indexed8) {
        QImage img = src;
        QList<QRgb> table = img.colorTable();
        for (QRgb& c : table) c = (c & 0xFFFFFF) == 0xFFFFFF ? qRgba(255, 255, 255, 0) : (c | 0xFF000000);
        img.setColorTable(table);
        return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    QImage img = src.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF) line[x] = 0;
    }
    return img;
}

// Copies the square at `at` of the sheet into `into` (already sized); pixels outside the
// sheet are left at `outside`.
void CutSquare(const QImage& sheet, QPoint at, QImage& into, QRgb outside) {
    into.fill(outside);
    const QRect r = QRect(at, into.size()).intersected(sheet.rect());
    if (r.isEmpty()) return;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(sheet.constScanLine(y)) + r.left();
        auto* to = reinterpret_cast<QRgb*>(into.scanLine(y - at.y())) + (r.left() - at.x());
        std::memcpy(to, from, size_t(r.width()) * sizeof(QRgb));
    }
}

bool IsFlagPixel(const QImage& pic, int x, int y) {
    if (!pic.valid(x, y)) return false;
    return (pic.pixel(x, y) & 0xFFFFFF) == 0;
}

} // namespace

QString BareTilesetName(const QString& name) {
    const qsizetype cut = std::max(name.lastIndexOf('/'), name.lastIndexOf('\\'));
    return cut < 0 ? name : name.mid(cut + 1);
}

const QImage& DefaultTilesetPicture() {
    static const QImage picture = [] {
        InitTilesetResources();
        return QImage(":/tiles/default.bmp", "BMP");
    }();
    return picture;
}

void RenderTileset(TRenderedTileset& ts, TMapRecord& currentMap, const QString& path, QImage& tileBitmap,
                   const TProgressFn& progress) {
    const QString name = BareTilesetName(path);
    ts.CurrentTilesetName = name;
    SetShortString(currentMap.TilesetName, TilesetNameBytes(name));

    const QFileInfo info(path);
    const bool custom = !path.isEmpty() && info.exists() && info.isFile();
    const QImage source = custom ? LoadCustomPicture(path) : DefaultTilesetPicture();
    if (source.isNull()) throw TTilesetError("The built-in tileset is missing from the program.");

    const int tileSize = source.width() / 16;
    const QImage sheet = WhiteTransparent(source);
    const bool hasStrip = source.height() > 16 * tileSize;

    std::array<QImage, 256> images;
    tileBitmap = QImage(tileSize, tileSize, QImage::Format_ARGB32_Premultiplied);
    for (int s = 0; s < 256; ++s) {
        if (progress && !progress(s, 256)) throw TTilesetError("Rendering the tileset was cancelled.");
        const QPoint at((s % 16) * tileSize, (s / 16) * tileSize);
        if (s == 0) {
            // Symbol 0 is only ever drawn onto white, so it keeps its white opaque.
            CutSquare(sheet, at, tileBitmap, 0xFFFFFFFF);
            QImage opaque(tileSize, tileSize, QImage::Format_ARGB32_Premultiplied);
            opaque.fill(0xFFFFFFFF);
            for (int y = 0; y < tileSize; ++y) {
                auto* o = reinterpret_cast<QRgb*>(opaque.scanLine(y));
                const auto* t = reinterpret_cast<const QRgb*>(tileBitmap.constScanLine(y));
                for (int x = 0; x < tileSize; ++x)
                    if (qAlpha(t[x]) == 255) o[x] = t[x];
            }
            images[s] = opaque;
        } else {
            CutSquare(sheet, at, tileBitmap, 0);
            images[s] = tileBitmap.copy();
        }
    }
    if (progress) progress(256, 256);

    // Icons come from a custom picture only when it carries its own strip.
    const bool iconsFromCustom = custom && hasStrip;
    const QImage iconSheet = iconsFromCustom ? sheet : WhiteTransparent(DefaultTilesetPicture().copy(0, 768, 416, 16));
    const int iconRow = iconsFromCustom ? 16 * tileSize : 0;
    std::array<QImage, 24> icons;
    tileBitmap = QImage(16, 16, QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < 24; ++i) {
        CutSquare(iconSheet, QPoint(32 + 16 * i, iconRow), tileBitmap, 0);
        icons[i] = tileBitmap.copy();
    }

    std::array<uint8_t, 256> layer{}, hidden{};
    const QImage& flagPicture = custom ? source : DefaultTilesetPicture();
    if (!custom || hasStrip) {
        const int y0 = 16 * tileSize;
        for (int s = 0; s < 256; ++s) {
            layer[s] = IsFlagPixel(flagPicture, s % 16, y0 + s / 16);
            hidden[s] = IsFlagPixel(flagPicture, 16 + s % 16, y0 + s / 16);
        }
    }

    ts.TileSize = tileSize;
    ts.DesktopPalette = std::move(images);
    ts.ToolPalette = std::move(icons);
    ts.LayerFlags = layer;
    ts.HiddenFlags = hidden;
    ts.SourcePath = custom ? info.absoluteFilePath() : QString();
    ts.RolesError.clear();
    try {
        ts.Roles = std::make_shared<const SymbolTable>(SymbolTableFor(PathBytes(ts.SourcePath), hidden));
    } catch (const std::exception& e) {
        ts.Roles = std::make_shared<const SymbolTable>(TerrainSymbolTable());
        ts.RolesError = e.what();
    }
    ++ts.Generation;
}

} // namespace qm
