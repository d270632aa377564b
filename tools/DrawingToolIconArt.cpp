// The icons of the drawing tools beside the eleven of the marker strip: 16 x 16 pixel art
// in the strip's colours, written as pictures of their own.
#include <iterator>

#include "tools/SaveFile.h"
#include "tools/TilesetArt.h"

namespace gen {

namespace {

// Icons of the drawing tools beside the eleven, written as pictures of their own (the
// tileset's strip holds only its 24): 17 x 16 rows each, the name and then the art.
// clang-format off
const char* const DrawingToolArt[][17] = {
    {"room",
     "................",
     ".KKKKKKKKKKKKKK.",
     ".KwwwwvwwwwwvwK.",
     ".KvvvvvvvvvvvvK.",
     ".KwvKKKKKKKKwvK.",
     ".KwvKnnnnnnKwvK.",
     ".KvvKnnnnnnKvvK.",
     ".KwvKnnnnnnKwvK.",
     ".KwvKnnnnnnKwvK.",
     ".KvvKnnnnnnKvvK.",
     ".KwvKnnnnnnKwvK.",
     ".KwvKKKKKKKKwvK.",
     ".KvvvvvvvvvvvvK.",
     ".KwwwvwwwwvwwwK.",
     ".KKKKKKKKKKKKKK.",
     "................"},
    {"door",
     "................",
     "KKKKK......KKKKK",
     "KwvwK.KKKK.KwvwK",
     "KvvvKKNnNnKKvvvK",
     "KwvwKNnNnNnKwvwK",
     "KwvwKNnNnNnKwvwK",
     "KvvvKNnNnNnKvvvK",
     "KwvwKNnNnNnKwvwK",
     "KwvwKNnNnYYKwvwK",
     "KvvvKNnNnYYKvvvK",
     "KwvwKNnNnNnKwvwK",
     "KwvwKNnNnNnKwvwK",
     "KvvvKNnNnNnKvvvK",
     "KwvwKNnNnNnKwvwK",
     "KKKKKKKKKKKKKKKK",
     "................"},
    {"fill",
     "................",
     ".....KKK........",
     "....KGGGK.......",
     "...KGSSSGK......",
     "..KGSSSSSGK.....",
     ".KGSSSSSSSGK....",
     "KGSSSSSSSSSGK...",
     "KBGSSSSSSSGKBK..",
     "KBBGSSSSSGKBBBK.",
     ".KBBGSSSGKKBBBK.",
     "..KBBGSGK.KBBBK.",
     "...KBBGK..KBBBK.",
     "....KKK...KBBBK.",
     "..........KBBBK.",
     "...........KKK..",
     "................"},
    {"label",
     "................",
     ".....KKKKKK.....",
     "...KKBBBBBBKK...",
     "..KBBBBBBBBBBK..",
     "..KBBBBWWBBBBK..",
     ".KBBBBWWWBBBBBK.",
     ".KBBBBBWWBBBBBK.",
     ".KBBBBBWWBBBBBK.",
     ".KBBBBBWWBBBBBK.",
     ".KBBBBBWWBBBBBK.",
     "..KBBBWWWWBBBK..",
     "..KBBBBBBBBBBK..",
     "...KKBBBBBBKK...",
     ".....KKBBKK.....",
     ".......KK.......",
     "................"},
};
// clang-format on

} // namespace

bool WriteDrawingToolIcons(const QString& dir) {
    for (const auto& icon : DrawingToolArt) {
        QImage im(16, 16, QImage::Format_ARGB32);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                auto it = IconKey().find(icon[1 + y][x]);
                im.setPixel(x, y, it == IconKey().end() ? 0u : it->second);
            }
        if (!SavePng(im, dir + "/tool-" + icon[0] + ".png")) return false; // says which file and why
    }
    return true;
}

} // namespace gen
