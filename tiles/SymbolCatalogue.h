#pragma once
// The built-in tileset's catalogue: what each of its symbols 1..127 is, as table text
// (the format of a NAME.roles file). Plain C++.
#include <string_view>

namespace qm {

// The built-in catalogue as table text, the same format as a NAME.roles file.
std::string_view BuiltInCatalogue();

} // namespace qm
