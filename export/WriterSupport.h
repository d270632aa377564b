#pragma once
// Helpers shared by the picture encoders; not part of the export interface.
#include <QImage>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/RecordFile.h"

namespace qm::detail {

// Collects small pieces into larger writes to the atomic file.
class TBufferedOut {
public:
    explicit TBufferedOut(TAtomicFile& out, size_t capacity = 1 << 18) : out_(out) { buf_.reserve(capacity); }
    void Put(const void* data, size_t n) {
        const auto* p = static_cast<const uint8_t*>(data);
        if (buf_.size() + n > buf_.capacity()) Flush();
        if (n >= buf_.capacity()) {
            out_.Write(p, n);
            return;
        }
        buf_.insert(buf_.end(), p, p + n);
    }
    void Flush() {
        if (!buf_.empty()) out_.Write(buf_.data(), buf_.size());
        buf_.clear();
    }

private:
    TAtomicFile& out_;
    std::vector<uint8_t> buf_;
};

inline void PutLE16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
inline void PutLE32(std::vector<uint8_t>& v, uint32_t x) {
    PutLE16(v, x & 0xffff);
    PutLE16(v, x >> 16);
}
inline void PutBE32(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x >> 24));
    v.push_back(uint8_t(x >> 16));
    v.push_back(uint8_t(x >> 8));
    v.push_back(uint8_t(x));
}

} // namespace qm::detail
