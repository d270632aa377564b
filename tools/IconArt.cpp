// The 24 tool icons of the marker strip: 16 x 16 pixel art with a one-pixel dark outline.
#include <cmath>
#include <cstdio>
#include <map>

#include "tools/TilesetArt.h"

namespace gen {

const std::map<char, QRgb>& IconKey() {
    static const std::map<char, QRgb> key = {
        {'K', qRgb(34, 28, 26)},    {'W', qRgb(250, 250, 244)}, {'G', qRgb(196, 198, 204)}, {'g', qRgb(132, 134, 142)},
        {'B', qRgb(58, 104, 190)},  {'b', qRgb(164, 204, 240)}, {'Y', qRgb(240, 198, 64)},  {'y', qRgb(190, 140, 40)},
        {'R', qRgb(206, 44, 40)},   {'r', qRgb(130, 24, 22)},   {'N', qRgb(132, 86, 46)},   {'n', qRgb(196, 146, 88)},
        {'P', qRgb(238, 150, 160)}, {'S', qRgb(172, 182, 196)}, {'D', qRgb(70, 74, 84)},    {'o', qRgb(238, 122, 30)},
        {'L', qRgb(118, 196, 56)},  {'l', qRgb(198, 238, 136)}, {'F', qRgb(36, 96, 40)},    {'f', qRgb(88, 158, 60)},
        {'M', qRgb(158, 146, 132)}, {'m', qRgb(98, 88, 80)},    {'d', qRgb(232, 190, 112)}, {'e', qRgb(184, 132, 68)},
        {'w', qRgb(118, 114, 130)}, {'v', qRgb(62, 60, 72)},    {'h', qRgb(14, 12, 16)},    {'u', qRgb(150, 118, 84)},
    };
    return key;
}

namespace {

// Rows of 16 characters; '.' is white, which the program shows as transparent.
const char* const Art[] = {
    // 0 New
    "...KKKKKKKK.....",
    "...KWWWWWWKK....",
    "...KWWWWWWKGK...",
    "...KWWWWWWKGGK..",
    "...KWWWWWWKKKKK.",
    "...KWWWWWWWWWWK.",
    "...KWWWWWWWWWWK.",
    "...KWWWWWWWWWWK.",
    "...KWWWWWWWWWWK.",
    "...KWWWWWWWWWWK.",
    "...KWWWWWWWWWWK.",
    "...KWWWWWWWWWWK.",
    "...KWWWWWWWWWWK.",
    "...KWWWWWWWWWWK.",
    "...KKKKKKKKKKKK.",
    "................",
    // 1 Open
    "................",
    "................",
    ".KKKKK..........",
    "KYYYYYK.........",
    "KYYYYYYKKKKKKK..",
    "KYYYYYYYYYYYYYK.",
    "KYYKKKKKKKKKKKKK",
    "KYKyyyyyyyyyyyyK",
    "KYKyyyyyyyyyyyK.",
    "KKyyyyyyyyyyyyK.",
    "KKyyyyyyyyyyyK..",
    "KyyyyyyyyyyyyK..",
    "KKKKKKKKKKKKK...",
    "................",
    "................",
    "................",
    // 2 Save
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KBBKGGGGGGKBBK.",
    ".KBBKGGGGKGKBBK.",
    ".KBBKGGGGKGKBBK.",
    ".KBBKGGGGGGKBBK.",
    ".KBBBKKKKKKBBBK.",
    ".KBBBBBBBBBBBBK.",
    ".KBBKKKKKKKKBBK.",
    ".KBBKWWWWWWKBBK.",
    ".KBBKWKKKKWKBBK.",
    ".KBBKWWWWWWKBBK.",
    ".KBBKWKKKKWKBBK.",
    ".KBBKWWWWWWKBBK.",
    ".KKKKKKKKKKKKKK.",
    "................",
    // 3 Selection (arrow pointer)
    "..K.............",
    "..KK............",
    "..KWK...........",
    "..KWWK..........",
    "..KWWWK.........",
    "..KWWWWK........",
    "..KWWWWWK.......",
    "..KWWWWWWK......",
    "..KWWWWWWWK.....",
    "..KWWWWWKKKK....",
    "..KWWKWWK.......",
    "..KWK.KWWK......",
    "..KK..KWWK......",
    "..K....KWWK.....",
    "........KWWK....",
    ".........KK.....",
    // 4 Draw (pencil)
    "...........KK...",
    "..........KPPK..",
    ".........KPPPPK.",
    "........KGKPPK..",
    ".......KYYGKK...",
    "......KYYYYK....",
    ".....KYYYyK.....",
    "....KYYYyK......",
    "...KYYYyK.......",
    "..KnYYyK........",
    "..KnnyK.........",
    ".KnnnK..........",
    ".KDnK...........",
    ".KDK............",
    ".KK.............",
    "................",
    // 5 Eraser
    "................",
    "................",
    "........KKKKK...",
    ".......KPPPPPK..",
    "......KPPPPPPPK.",
    ".....KPPPPPPPKK.",
    "....KWKPPPPPKPK.",
    "...KWWWKPPPKPK..",
    "..KWWWWWKPKPK...",
    ".KWWWWWWWKPK....",
    ".KWWWWWWWKK.....",
    "..KWWWWWKK......",
    "...KKKKKK.......",
    "................",
    ".KKKKKKKKKKKKK..",
    "................",
    // 17 Cut
    "................",
    "...K.......K....",
    "...KK.....KK....",
    "....KS...SK.....",
    "....KSK.KSK.....",
    ".....KSKSK......",
    "......KSK.......",
    "......KKK.......",
    ".....KRKRK......",
    "....KRK.KRK.....",
    "..KKRK...KRKK...",
    ".KRRRK...KRRRK..",
    ".KR.RK...KR.RK..",
    ".KRRRK...KRRRK..",
    "..KKK.....KKK...",
    "................",
    // 18 Copy
    "KKKKKKKK........",
    "KWWWWWWK........",
    "KWKKKKWK........",
    "KWWWWWWK........",
    "KWKKKKKKKKKK....",
    "KWWWKWWWWWWKK...",
    "KWKKKWKKKKWKGK..",
    "KWWWKWWWWWWKKKK.",
    "KKKKKWKKKKKWWWK.",
    "....KWWWWWWWWWK.",
    "....KWKKKKKKKWK.",
    "....KWWWWWWWWWK.",
    "....KWKKKKKKKWK.",
    "....KWWWWWWWWWK.",
    "....KKKKKKKKKKK.",
    "................",
    // 19 Paste
    ".....KKKKKK.....",
    "..KKKKGGGGKKKK..",
    ".KnnKGKKKKGKnnK.",
    ".KnnKKKKKKKKnnK.",
    ".KnnnnnnnnnnnnK.",
    ".KnnKKKKKKKKnnK.",
    ".KnnKWWWWWWKnnK.",
    ".KnnKWKKKKWKnnK.",
    ".KnnKWWWWWWKnnK.",
    ".KnnKWKKKKWKnnK.",
    ".KnnKWWWWWWKnnK.",
    ".KnnKWKKKWWKnnK.",
    ".KnnKWWWWWWKnnK.",
    ".KnnKKKKKKKKnnK.",
    ".KnnnnnnnnnnnnK.",
    ".KKKKKKKKKKKKKK.",
    // 20 Undo
    "................",
    "................",
    ".....KK.........",
    "....KBK.........",
    "...KBBKKKKKKK...",
    "..KBBBBBBBBBBKK.",
    ".KBBBBBBBBBBBBBK",
    "..KBBBBBBBBBBBBK",
    "...KBBKKKKKKBBBK",
    "....KBK.....KBBK",
    ".....KK.....KBBK",
    "............KBBK",
    "...........KBBK.",
    "..........KBBK..",
    "..........KKK...",
    "................",
    // 21 Zoom In
    "................",
    "....KKKKKK......",
    "...KbbbbbbK.....",
    "..KbbbKKbbbK....",
    ".KbbbbKKbbbbK...",
    ".KbKKKKKKKKbK...",
    ".KbKKKKKKKKbK...",
    ".KbbbbKKbbbbK...",
    "..KbbbKKbbbK....",
    "...KbbbbbbKK....",
    "....KKKKKKnnK...",
    "..........KnnK..",
    "...........KnnK.",
    "............KnnK",
    ".............KK.",
    "................",
    // 22 Zoom Out
    "................",
    "....KKKKKK......",
    "...KbbbbbbK.....",
    "..KbbbbbbbbK....",
    ".KbbbbbbbbbbK...",
    ".KbKKKKKKKKbK...",
    ".KbKKKKKKKKbK...",
    ".KbbbbbbbbbbK...",
    "..KbbbbbbbbK....",
    "...KbbbbbbKK....",
    "....KKKKKKnnK...",
    "..........KnnK..",
    "...........KnnK.",
    "............KnnK",
    ".............KK.",
    "................",
    // 23 Print
    "................",
    "....KKKKKKKK....",
    "....KWWWWWWK....",
    "....KWKKKKWK....",
    "....KWWWWWWK....",
    "..KKKKKKKKKKKK..",
    ".KGGGGGGGGGGGGK.",
    ".KGGGGGGGGGGYGK.",
    ".KggggggggggggK.",
    ".KgKKKKKKKKKKgK.",
    ".KgKWWWWWWWWKgK.",
    ".KKKWKKKKKKWKKK.",
    "...KWWWWWWWWK...",
    "...KWKKKKKWWK...",
    "...KKKKKKKKKK...",
    "................",
};
const int ArtIcons[] = {0, 1, 2, 3, 4, 5, 17, 18, 19, 20, 21, 22, 23};

// Terrain tools: tiny swatches of each terrain, 6 Wall to 13 Desert.
const char* const TerrainArt[] = {
    // 6
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KGwwvwwwwvwwwK.",
    ".KwwwvwwwwvwwwK.",
    ".KvvvvvvvvvvvvK.",
    ".KwvwwwwvwwwwvK.",
    ".KwvwwwwvwwwwvK.",
    ".KvvvvvvvvvvvvK.",
    ".KwwwvwwwwvwwwK.",
    ".KwwwvwwwwvwwwK.",
    ".KvvvvvvvvvvvvK.",
    ".KwvwwwwvwwwwvK.",
    ".KwvwwwwvwwwwvK.",
    ".KvvvvvvvvvvvvK.",
    ".KKKKKKKKKKKKKK.",
    "................",
    // 7
    "................",
    "...KKKKKKKKKK...",
    "..KBBBBBBBBBBK..",
    ".KBBBBBBBBBBBBK.",
    ".KBbbBBBBbbBBBK.",
    ".KbBBbBBbBBbBBK.",
    ".KBBBBbbBBBBbBK.",
    ".KBBBBBBBBBBBBK.",
    ".KBBbbBBBBbbBBK.",
    ".KBbBBbBBbBBbBK.",
    ".KbBBBBbbBBBBbK.",
    ".KBBBBBBBBBBBBK.",
    "..KBBBBBBBBBBK..",
    "...KKKKKKKKKK...",
    "................",
    "................",
    // 8
    ".......K........",
    "......KRK.......",
    "......KRRK......",
    ".....KRRRK..K...",
    "....KRRoRRK.KK..",
    "...KRRooRRKKRK..",
    "...KRooYoRRRRK..",
    "..KRRoYYooRRRK..",
    "..KRooYYYooRRK..",
    "..KRoYYYYYoRRK..",
    "..KRoYYWYYooRK..",
    "..KRooYYYYoRRK..",
    "...KRooooooRK...",
    "....KRRRRRRK....",
    ".....KKKKKK.....",
    "................",
    // 9
    "................",
    "...KKKKKKKKKK...",
    "..KuuuuuuuuuuK..",
    ".KuuumuuuuuuuuK.",
    ".KuKKKKKKKKKKuK.",
    ".KuKhhhhhhhhKuK.",
    ".KuKhhhhhhhhKmK.",
    ".KmKhhhhhhhhKuK.",
    ".KuKhhhhhhhhKuK.",
    ".KuKhhhhhhhhKuK.",
    ".KuKhhhhhhhhKuK.",
    ".KuKKKKKKKKKKuK.",
    ".KuuuuuuuumuuuK.",
    "..KuuuuuuuuuuK..",
    "...KKKKKKKKKK...",
    "................",
    // 10
    "................",
    "....KKKKKKK.....",
    "..KKLLLLLLLKK...",
    ".KLLLlLLLLLLLK..",
    ".KLLlWlLLLLLLK..",
    ".KLLLlLLLLlLLLK.",
    ".KLLLLLLLlWlLLK.",
    "KLLLLLLLLLlLLLK.",
    "KLLlLLLLLLLLLLK.",
    "KLlWlLLLLLLLLK..",
    "KLLlLLLLLlLLLK..",
    ".KLLLLLLlWlLLK..",
    ".KKLLLLLLlLLK...",
    "...KKLLLLLKK....",
    ".....KKKKK......",
    "................",
    // 11
    "................",
    ".....KKKKK......",
    "....KfllffK.....",
    "...KflfffffK....",
    "...KfffffFFK....",
    "..KKKfffFFKKKK..",
    ".KffKKFFFKKflfK.",
    "KflffFKKKKlfffFK",
    "KfffffFK.KffffFK",
    "KffffFFK.KfffFFK",
    ".KFFFFK..KKFFFK.",
    "..KKKK..KNK.KK..",
    "........KNK.....",
    ".........K......",
    "................",
    "................",
    // 12
    "................",
    ".......K........",
    "......KWK.......",
    ".....KWWMK......",
    ".....KWMMmK.....",
    "....KMMMMmK.K...",
    "....KMMMMmmKMK..",
    "...KMMMMMmmKMmK.",
    "...KMMMMMmmmMmK.",
    "..KMMMMMMmmmmmmK",
    "..KMMMMMmmmmmmmK",
    ".KMMMMMmmmmmmmmK",
    ".KKKKKKKKKKKKKKK",
    "................",
    "................",
    "................",
    // 13
    "................",
    "...KKKKKKKKKK...",
    "..KddddddddddK..",
    ".KddddddeeddddK.",
    ".KdddddeddeeddK.",
    ".KddeeeddddddeK.",
    ".KdeddddddddddK.",
    ".KdddddddeeeddK.",
    ".KddddddeddddeK.",
    ".KdeeeddeddddK..",
    ".KeddddddddddK..",
    ".KdddddeeeddddK.",
    "..KddddddddddK..",
    "...KKKKKKKKKK...",
    "................",
    "................",
};

void PutPixel(QImage& sheet, int icon, int x, int y, QRgb c, int stripTop) {
    sheet.setPixel(32 + 16 * icon + x, stripTop + y, c);
}

} // namespace

void DrawIcons(QImage& sheet, const Style& st) {
    const int top = 16 * st.S;
    for (int n = 0; n < int(std::size(ArtIcons)); ++n)
        for (int y = 0; y < 16; ++y) {
            const char* row = Art[n * 16 + y];
            for (int x = 0; x < 16 && row[x]; ++x) {
                auto it = IconKey().find(row[x]);
                PutPixel(sheet, ArtIcons[n], x, y, it == IconKey().end() ? qRgb(255, 255, 255) : it->second, top);
            }
        }
    for (int t = 0; t < 8; ++t)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                auto it = IconKey().find(TerrainArt[t * 16 + y][x]);
                PutPixel(sheet, 6 + t, x, y, it == IconKey().end() ? qRgb(255, 255, 255) : it->second, top);
            }
    // Layer modes: two stacked diamonds; red marks the layer the mode works on.
    const QRgb red = qRgb(214, 44, 44), grey = qRgb(176, 176, 184), ink = IconKey().at('K');
    for (int mode = 0; mode < 3; ++mode) {
        const bool upperRed = mode != 1, lowerRed = mode != 0; // 14 upper, 15 lower, 16 both
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                auto in = [&](double cy, double grow) {
                    return std::abs(x - 7.5) / (7.0 + grow) + std::abs(y - cy) / (3.6 + grow * 0.5) <= 1.0;
                };
                QRgb c = qRgb(255, 255, 255);
                if (in(10.5, 1.0)) c = ink;
                if (in(10.5, 0.0)) c = lowerRed ? red : grey;
                if (in(5.0, 1.0)) c = ink;
                if (in(5.0, 0.0)) c = upperRed ? red : grey;
                PutPixel(sheet, 14 + mode, x, y, c, top);
            }
    }
}

} // namespace gen
