// Draws the built-in tileset and the sample parchment tileset as 8-bit BMP files, plus
// preview sheets and the application icon. Same bytes on every run.
//   gen_tileset <art folder> <program folder>
#include <QDir>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/Encoding.h"
#include "tools/TilesetArt.h"

namespace gen {
bool WritePreviews(const QImage& tileset, const QString& dir, const QString& prefix);
bool WriteAppIcons(const QImage& tileset, const QString& dir);
} // namespace gen

using namespace gen;

namespace {

const int LowerLayer[35] = {0,  1,  10, 11, 16, 17, 18, 19,  20,  21,  25,  47,  48,  57,  63,  64,  68, 83,
                            84, 85, 91, 96, 97, 98, 99, 102, 103, 109, 141, 157, 173, 189, 205, 237, 253};

void DrawFlags(QImage& sheet, int S) {
    const int y0 = 16 * S;
    bool lower[256] = {};
    for (int s : LowerLayer) lower[s] = true;
    for (int s = 0; s < 256; ++s) {
        sheet.setPixel(s % 16, y0 + s / 16, lower[s] ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        const bool hidden = s >= 34 && s <= 38;
        sheet.setPixel(16 + s % 16, y0 + s / 16, hidden ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    }
}

// The parchment look: everything inked in sepia on warm paper tones.
void Parchment(QImage& sheet, int S) {
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x) {
            if (y >= 16 * S && x < 32) continue; // flag pixels stay pure black and white
            const QRgb c = sheet.pixel(x, y);
            if ((c & 0xFFFFFF) == 0xFFFFFF) continue;
            const double lum = (0.3 * qRed(c) + 0.59 * qGreen(c) + 0.11 * qBlue(c)) / 255.0;
            const double t = std::pow(lum, 0.85);
            QRgb sepia = Mix(Rgb(52, 32, 20), Rgb(240, 224, 186), t);
            // strong colours keep a wash of their hue, like inks on an old chart
            const int hi = std::max({qRed(c), qGreen(c), qBlue(c)}), lo = std::min({qRed(c), qGreen(c), qBlue(c)});
            const double saturation = hi > 0 ? double(hi - lo) / hi : 0.0;
            sepia = Mix(sepia, c, 0.18 + 0.3 * saturation);
            if ((sepia & 0xFFFFFF) == 0xFFFFFF) sepia = qRgb(250, 246, 236);
            sheet.setPixel(x, y, sepia);
        }
}

QImage BuildSheet(const Style& st) {
    QImage sheet(16 * st.S, 16 * st.S + 16, QImage::Format_RGB32);
    sheet.fill(qRgb(255, 255, 255));
    DrawGrounds(sheet, st);
    DrawObjects(sheet, st);
    DrawTerrainRows(sheet, st);
    DrawIcons(sheet, st);
    if (st.parchment) Parchment(sheet, st.S);
    DrawFlags(sheet, st.S);
    return sheet;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: gen_tileset <art folder> <program folder>\n");
        return 2;
    }
    const QString artDir = qm::PathFromBytes(argv[1]), programDir = qm::PathFromBytes(argv[2]);
    QDir().mkpath(artDir);
    QDir().mkpath(programDir);

    const QImage def = Quantize(BuildSheet(Style{48, false}));
    const QImage parch = Quantize(BuildSheet(Style{32, true}));
    bool ok = WriteBmp8(def, artDir + "/default.bmp") && WriteBmp8(parch, programDir + "/parchment.bmp");
    if (!ok) {
        std::fprintf(stderr, "gen_tileset: cannot write the tileset files\n");
        return 1;
    }
    ok = WritePreviews(def, artDir, "default") && WritePreviews(parch, artDir, "parchment") &&
         WriteAppIcons(def, artDir) && WriteDrawingToolIcons(artDir);
    return ok ? 0 : 1;
}
