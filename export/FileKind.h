#pragma once
// What a file name's extension (any letter case) stands for: one table for the export
// windows, the Tiled commands and quillmarch-render's command line.
#include <optional>
#include <string>

#include "export/PictureFormat.h"

namespace qm {

enum class TFileKind { Other, Bmp, Jpeg, Png, Pdf, Tmx, Map, Vtt, Json };

// The extension is what follows the last dot of the file-name part; a name without one is Other.
TFileKind FileKindOf(const std::string& path);

// The picture format of a .bmp, .jpg, .jpeg or .png name; nothing for any other.
std::optional<TPictureFormat> PictureFormatOf(const std::string& path);

} // namespace qm
