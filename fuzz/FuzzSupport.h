#pragma once
// What every fuzz target needs: a private scratch folder, inputs written to files
// (the program reads only files), and a hard stop when an invariant breaks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qmfuzz {

// The process's scratch folder, created on first use and removed at exit.
const std::string& ScratchDir();
std::string ScratchFile(const std::string& name);

void WriteBytes(const std::string& path, const uint8_t* data, size_t size);
std::vector<uint8_t> ReadBytes(const std::string& path);

// An 8-bit BMP of w x h pixels (grey palette, index (x * 7 + y * 3) % 256, black where
// y >= stripTop and (x + y) % 5 == 0): a small tileset the program can render.
std::vector<uint8_t> TinyTilesetBmp(int w, int h, int stripTop);

// Reports the broken invariant and aborts, so libFuzzer keeps the input as a crash.
[[noreturn]] void Broken(const char* what);
inline void Check(bool ok, const char* what) {
    if (!ok) Broken(what);
}

} // namespace qmfuzz
