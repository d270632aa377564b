#include "tests/support/BuiltInTileset.h"

#include <QImage>

namespace qmtest {

const qm::TRenderedTileset& BuiltInTileset() {
    static const qm::TRenderedTileset ts = [] {
        qm::TRenderedTileset t;
        qm::TMapRecord scratch;
        qm::ClearMapRecord(scratch);
        QImage tileBitmap;
        qm::RenderTileset(t, scratch, QString(), tileBitmap);
        return t;
    }();
    return ts;
}

} // namespace qmtest
