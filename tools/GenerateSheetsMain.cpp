// Draws, for every style of the map generator, a contact sheet of 16 seeds (whole maps,
// seeds 1..16, density "some") for looking at them as a user would, with the key's numbers, and
// sheets of stacks of three levels side by side:
// gen_generate_sheets <out-folder> [cell-pixels] [tileset.bmp|-] [first-seed] [maps] writes
// STYLE-sheet.png and dungeon-stacks.png, caves-stacks.png, dungeon-caves-stacks.png.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "base/Encoding.h"
#include "compose/Compose.h"
#include "generate/GenStack.h"
#include "tiles/SymbolTable.h"
#include "tiles/Tileset.h"
#include "tools/SaveFile.h"

using namespace qm;

namespace {
// The key's numbers as small discs on their pins, as a game master's copy shows them.
void DrawKeyNumbers(QPainter& p, const TMapKey& key, int ox, int oy, int px) {
    const int d = std::max(9, px * 2);
    QFont font = p.font();
    font.setPixelSize(d * 2 / 3);
    font.setBold(true);
    p.setFont(font);
    for (const TKeyEntry& e : key.Entries) {
        const QRect disc(ox + (e.X - 1) * px + px / 2 - d / 2, oy + (e.Y - 1) * px + px / 2 - d / 2, d, d);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(255, 255, 220));
        p.drawEllipse(disc);
        p.drawText(disc, Qt::AlignCenter, QString::number(e.Number));
    }
}
} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_generate_sheets <out-folder> [cell-pixels] [tileset.bmp]\n");
        return 2;
    }
    const QString out = PathFromBytes(argv[1]);
    const int px = argc > 2 ? std::atoi(argv[2]) : 6;
    const QString tileset = argc > 3 && std::string(argv[3]) != "-" ? PathFromBytes(argv[3]) : QString();
    const int first = argc > 4 ? std::atoi(argv[4]) : 1;
    const int maps = argc > 5 ? std::atoi(argv[5]) : 16;
    const int across = maps < 4 ? maps : 4, down = (maps + across - 1) / across;
    static TRenderedTileset ts;
    static TMapRecord map;
    QImage tileBitmap, cell;
    ResetMap(map, "", 16);
    RenderTileset(ts, map, tileset, tileBitmap, nullptr);
    const SymbolTable symbols = tileset.isEmpty() ? BuiltInSymbolTable() : SymbolTableFor(argv[3]);
    const TGenPalette palette = MakeGenPalette(symbols, ts.HiddenFlags, ts.LayerFlags);
    const int side = MapSize * px, gap = 2 * px;
    for (TGenStyle style : AllGenStyles) {
        QImage sheet(across * side + (across - 1) * gap, down * side + (down - 1) * gap, QImage::Format_RGB32);
        sheet.fill(Qt::darkGray);
        QPainter p(&sheet);
        for (int n = 0; n < maps; ++n) {
            ResetMap(map, "", 16);
            TGenerateOptions o;
            o.Style = style;
            o.Seed = std::uint32_t(first + n);
            const TGenerateResult result = GenerateMap(map, o, palette);
            if (n == 0)
                for (const std::string& line : result.LeftOut)
                    std::fprintf(stderr, "%s: left out %s\n", GenStyleName(style), line.c_str());
            const int ox = (n % across) * (side + gap), oy = (n / across) * (side + gap);
            for (int c = 0; c < MapSize; ++c)
                for (int r = 0; r < MapSize; ++r) {
                    ComposeMapCell(cell, map, ts, c, r);
                    DrawScaledCell(p, QRect(ox + c * px, oy + r * px, px, px), cell);
                }
            DrawKeyNumbers(p, result.Key, ox, oy, px);
        }
        p.end();
        // A sheet that cannot be written fails the build rather than leaving an old one.
        if (!gen::SavePng(sheet, QString("%1/%2-sheet.png").arg(out, QString::fromLatin1(GenStyleName(style)))))
            return 1;
    }
    // Stacks of three levels side by side, one seed a row, the stairs between levels ringed.
    const struct {
        TGenStyle top;
        std::optional<TGenStyle> below;
        const char* name;
    } stacks[] = {{TGenStyle::Dungeon, std::nullopt, "dungeon"},
                  {TGenStyle::Caves, std::nullopt, "caves"},
                  {TGenStyle::Dungeon, TGenStyle::Caves, "dungeon-caves"}};
    const int rows = std::min(maps, 4);
    for (const auto& kind : stacks) {
        QImage sheet(3 * side + 2 * gap, rows * side + (rows - 1) * gap, QImage::Format_RGB32);
        sheet.fill(Qt::darkGray);
        QPainter p(&sheet);
        for (int n = 0; n < rows; ++n) {
            ResetMap(map, "", 16);
            TGenerateOptions o;
            o.Style = kind.top;
            o.Seed = std::uint32_t(first + n);
            const std::vector<TGenLevel> levels = GenerateStack(map, o, 3, kind.below, palette);
            for (size_t k = 0; k < levels.size(); ++k) {
                const int ox = int(k) * (side + gap), oy = n * (side + gap);
                for (int c = 0; c < MapSize; ++c)
                    for (int r = 0; r < MapSize; ++r) {
                        ComposeMapCell(cell, levels[k].Map, ts, c, r);
                        DrawScaledCell(p, QRect(ox + c * px, oy + r * px, px, px), cell);
                    }
                DrawKeyNumbers(p, levels[k].Result.Key, ox, oy, px);
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(Qt::red, std::max(2, px / 3)));
                for (const TGenPoint q : {levels[k].Result.Entrance, levels[k].Result.StairsDown})
                    if (q.c >= 0) p.drawEllipse(QPoint(ox + q.c * px + px / 2, oy + q.r * px + px / 2), 2 * px, 2 * px);
            }
        }
        p.end();
        if (!gen::SavePng(sheet, QString("%1/%2-stacks.png").arg(out, QString::fromLatin1(kind.name)))) return 1;
    }
    return 0;
}
