// One smart erase (Alt with a smart tool): one step named "Smart erase".
#include "app/MainWindow.h"
#include "editor/SmartErase.h"

namespace qm {

namespace {
const QString SmartEraseStep = QStringLiteral("Smart erase");
}

void Twinviewform::SmartEraseUse(const TGridRect& sel, int base) {
    const TLayerMode mode = app_->CurrentLayerMode;
    ApplyToolStep(SmartEraseStep, [&](TMapRecord& map) { return SmartEraseTerrain(map, sel, base, mode); });
}

} // namespace qm
