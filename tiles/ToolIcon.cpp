#include "tiles/ToolIcon.h"

#include <QPixmap>

namespace qm {

QIcon ToolIcon(const TRenderedTileset& ts, int image) {
    if (image < 0 || image >= int(ts.ToolPalette.size()) || ts.ToolPalette[size_t(image)].isNull()) return {};
    return QIcon(QPixmap::fromImage(ts.ToolPalette[size_t(image)]));
}

} // namespace qm
