#pragma once
// The tool-bar icon for one of the tileset's 24 tool images: the main window's and the
// maplet editor's buttons show the same picture.
#include <QIcon>

#include "tiles/Tileset.h"

namespace qm {

// The icon of tool image `image`; a null icon when the number is out of range or the
// tileset has no such image yet.
QIcon ToolIcon(const TRenderedTileset& ts, int image);

// The icon of a drawing tool beside the eleven ("room", "door", "fill"), the same for every
// tileset; a null icon for another name.
QIcon DrawingToolIcon(const QString& name);

} // namespace qm
