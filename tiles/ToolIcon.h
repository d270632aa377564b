#pragma once
// The tool-bar icon for one of the tileset's 24 tool images: the main window's and the
// maplet editor's buttons show the same picture.
#include <QIcon>

#include "tiles/Tileset.h"

namespace qm {

// The icon of tool image `image`; a null icon when the number is out of range or the
// tileset has no such image yet.
QIcon ToolIcon(const TRenderedTileset& ts, int image);

} // namespace qm
