#include "tests/harden/HardenSupport.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qmharden {

TSmallDisk::TSmallDisk() {
    if (::geteuid() != 0) {
        why_ = "not running as root, so no file system can be mounted";
        return;
    }
    if (::mount("tmpfs", dir_.Path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0755") != 0) {
        why_ = std::string("mounting a small tmpfs failed: ") + std::strerror(errno);
        return;
    }
    mounted_ = true;
}

TSmallDisk::~TSmallDisk() {
    if (mounted_) ::umount2(dir_.Path().c_str(), MNT_DETACH);
}

void TSmallDisk::FillUp() {
    int fd = ::open(dir_.File("filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    std::vector<char> block(4096, 'f');
    for (size_t size = block.size(); size > 0;) {
        if (::write(fd, block.data(), size) < 0) size /= 2; // fill to the last byte
    }
    ::close(fd);
}

bool TSmallDisk::MakeReadOnly() {
    if (mounted_) {
        if (::mount("tmpfs", dir_.Path().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, "size=64k") ==
            0)
            return true;
        why_ = std::string("remounting read-only failed: ") + std::strerror(errno);
        return false;
    }
    if (::geteuid() == 0) return false; // root writes through mode bits
    return ::chmod(dir_.Path().c_str(), 0555) == 0;
}

std::vector<unsigned char> BmpBytes(const TBmpHeader& h, int paletteEntries, const std::vector<unsigned char>& pixels) {
    const uint32_t off = 54 + 4 * uint32_t(paletteEntries);
    std::vector<unsigned char> b(off, 0);
    auto le = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b[at + i] = (unsigned char)(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    le(2, off + uint32_t(pixels.size()), 4);
    le(10, off, 4);
    le(14, 40, 4);
    le(18, uint32_t(h.Width), 4);
    le(22, uint32_t(h.Height), 4);
    le(26, 1, 2);
    le(28, h.Bpp, 2);
    le(30, h.Compression, 4);
    le(34, uint32_t(pixels.size()), 4);
    le(46, h.ColoursUsed, 4);
    for (int i = 0; i < paletteEntries; ++i) b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = (unsigned char)i;
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

std::vector<unsigned char> GreyBmp(int w, int h, int stripTop) {
    const int row = (w + 3) / 4 * 4;
    std::vector<unsigned char> px(size_t(row) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[size_t(h - 1 - y) * row + x] = (y >= stripTop && x < 32 && (x + y) % 2 == 0)
                                                  ? 0
                                                  : (unsigned char)((x + y) % 250 + 1);
    TBmpHeader hd;
    hd.Width = w;
    hd.Height = h;
    return BmpBytes(hd, 256, px);
}

} // namespace qmharden
