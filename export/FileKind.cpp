#include "export/FileKind.h"

#include <algorithm>
#include <cctype>

namespace qm {

namespace {

struct TExtension {
    const char* Text;
    TFileKind Kind;
};

constexpr TExtension Extensions[] = {
    {"bmp", TFileKind::Bmp},  {"jpg", TFileKind::Jpeg},   {"jpeg", TFileKind::Jpeg}, {"png", TFileKind::Png},
    {"pdf", TFileKind::Pdf},  {"tmx", TFileKind::Tmx},    {"map", TFileKind::Map},   {"dd2vtt", TFileKind::Vtt},
    {"uvtt", TFileKind::Vtt}, {"df2vtt", TFileKind::Vtt}, {"json", TFileKind::Json}, // a Foundry VTT scene
};

} // namespace

TFileKind FileKindOf(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return TFileKind::Other;
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    for (const TExtension& e : Extensions)
        if (ext == e.Text) return e.Kind;
    return TFileKind::Other;
}

std::optional<TPictureFormat> PictureFormatOf(const std::string& path) {
    switch (FileKindOf(path)) {
    case TFileKind::Bmp: return TPictureFormat::Bmp;
    case TFileKind::Jpeg: return TPictureFormat::Jpeg;
    case TFileKind::Png: return TPictureFormat::Png;
    default: return std::nullopt;
    }
}

} // namespace qm
