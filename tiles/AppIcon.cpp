#include "tiles/AppIcon.h"

#include "tiles/Tileset.h"

namespace qm {

QIcon AppIcon() {
    DefaultTilesetPicture(); // makes sure the built-in pictures are registered
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QString(":/tiles/quillmarch-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace qm
