#pragma once
// The built-in symbol descriptions: the built-in tileset's catalogue as table text and the
// smart-terrain rows every table starts from. Widget-free.
#include <string_view>

#include "tiles/SymbolTable.h"

namespace qm {

// Only the smart-terrain rows 128..255: wall quarters, fire lights, and their names.
SymbolTable TerrainSymbolTable();

// The built-in catalogue as table text, the same format as a NAME.roles file.
std::string_view BuiltInCatalogue();

} // namespace qm
