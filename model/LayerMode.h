#pragma once
#include <cstdint>

namespace qm {

// Which layer drawing, erasing, smart terrain and paste work on.
enum TLayerMode : uint8_t { lmAuto = 0, lmUpper = 1, lmLower = 2 };

} // namespace qm
