#pragma once
// A length byte followed by up to 255 single-byte characters in a fixed 256-byte field.
// Bytes after the length carry no meaning and are left as they are when a shorter
// name replaces a longer one: files written by the program keep that stale tail.
#include <cstdint>
#include <string>

namespace qm {

inline std::string GetShortString(const uint8_t (&field)[256]) {
    return std::string(reinterpret_cast<const char*>(field + 1), field[0]);
}

inline void SetShortString(uint8_t (&field)[256], const std::string& value) {
    const size_t n = value.size() < 255 ? value.size() : 255;
    field[0] = static_cast<uint8_t>(n);
    for (size_t i = 0; i < n; ++i) field[1 + i] = static_cast<uint8_t>(value[i]);
}

// Letter case of a to z ignored, as the program compares tileset names.
inline bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto up = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; };
        if (up(a[i]) != up(b[i])) return false;
    }
    return true;
}

} // namespace qm
