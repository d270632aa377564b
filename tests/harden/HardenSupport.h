#pragma once
// Small file systems made for a test (a full disk, a read-only folder) and hand-made
// BMP bytes for pictures no painter would write.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/TestSupport.h"

namespace qmharden {

// A folder of its own: a 64 KiB tmpfs mounted on a temporary folder when running as
// root, else a plain temporary folder. Unmounted at destruction.
class TSmallDisk {
public:
    TSmallDisk();
    ~TSmallDisk();
    bool Mounted() const { return mounted_; }
    const std::string& Why() const { return why_; } // why it could not be mounted
    const std::string& Path() const { return dir_.Path(); }
    std::string File(const std::string& name) const { return dir_.File(name); }
    std::vector<std::string> List() const { return dir_.List(); }
    // Fills the remaining space with one file, "filler", so the next write fails.
    void FillUp();
    // No more writes: a read-only remount as root, else mode 0555 on the folder.
    // Returns false (with Why) when neither stops writes.
    bool MakeReadOnly();

private:
    qmtest::TempDir dir_;
    bool mounted_ = false;
    std::string why_;
};

// A BMP file: 14-byte file header, 40-byte info header with these fields, `palette`
// 4-byte entries, then `pixels`. The file-size and offset fields are computed.
struct TBmpHeader {
    int32_t Width = 32, Height = 32;
    uint16_t Bpp = 8;
    uint32_t Compression = 0;
    uint32_t ColoursUsed = 0;
};
std::vector<unsigned char> BmpBytes(const TBmpHeader& h, int paletteEntries, const std::vector<unsigned char>& pixels);

// An uncompressed 8-bit grey BMP of w x h with a full palette; index (x + y) % 250 + 1,
// black (0) where y >= stripTop and x < 32 and (x + y) is even: flags in a marker strip.
std::vector<unsigned char> GreyBmp(int w, int h, int stripTop = 1 << 30);

} // namespace qmharden
