#pragma once
// The built-in tileset rendered once per test program, for tests that only read it.
#include "tiles/Tileset.h"

namespace qmtest {

const qm::TRenderedTileset& BuiltInTileset();

} // namespace qmtest
