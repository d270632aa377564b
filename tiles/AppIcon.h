#pragma once
// The application's icon, drawn from the default tileset's artwork at the usual sizes.
#include <QIcon>

namespace qm {

QIcon AppIcon();

} // namespace qm
