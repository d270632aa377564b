#include "tiles/ToolIcon.h"

#include <QPixmap>

namespace qm {

QIcon ToolIcon(const TRenderedTileset& ts, int image) {
    if (image < 0 || image >= int(ts.ToolPalette.size()) || ts.ToolPalette[size_t(image)].isNull()) return {};
    return QIcon(QPixmap::fromImage(ts.ToolPalette[size_t(image)]));
}

QIcon DrawingToolIcon(const QString& name) {
    DefaultTilesetPicture(); // makes sure the built-in pictures are registered
    const QPixmap pm(QStringLiteral(":/tiles/tool-%1.png").arg(name));
    return pm.isNull() ? QIcon() : QIcon(pm);
}

} // namespace qm
