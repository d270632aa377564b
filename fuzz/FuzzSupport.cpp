#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace qmfuzz {

namespace {
struct Scratch {
    std::string path;
    Scratch() {
        const char* tmp = std::getenv("TMPDIR");
        std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/qmfuzz.XXXXXX";
        if (!::mkdtemp(tmpl.data())) Broken("cannot create the scratch folder");
        path = tmpl;
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};
} // namespace

const std::string& ScratchDir() {
    static Scratch scratch;
    return scratch.path;
}

std::string ScratchFile(const std::string& name) { return ScratchDir() + "/" + name; }

void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!f) Broken("cannot write the input file");
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    // In one read: byte by byte through an instrumented iterator costs more than the
    // rest of a quick target's input.
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    if (!f) return {};
    std::vector<uint8_t> b(static_cast<size_t>(f.tellg()));
    f.seekg(0);
    f.read(reinterpret_cast<char*>(b.data()), static_cast<std::streamsize>(b.size()));
    if (!f) b.clear();
    return b;
}

std::vector<uint8_t> TinyTilesetBmp(int w, int h, int stripTop) {
    const uint32_t row = (uint32_t(w) + 3) / 4 * 4, off = 54 + 4 * 256;
    std::vector<uint8_t> b(off + row * uint32_t(h), 0);
    auto le32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    le32(2, uint32_t(b.size()));
    le32(10, off);
    le32(14, 40);
    le32(18, uint32_t(w));
    le32(22, uint32_t(h));
    b[26] = 1;
    b[28] = 8;
    for (int i = 0; i < 256; ++i) b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = uint8_t(i);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b[off + size_t(h - 1 - y) * row + x] = y >= stripTop && (x + y) % 5 == 0
                                                       ? 0
                                                       : uint8_t(1 + (x * 7 + y * 3) % 255);
    return b;
}

void Broken(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

} // namespace qmfuzz
