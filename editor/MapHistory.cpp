#include "editor/MapHistory.h"

#include <cstring>

namespace qm {

namespace {
// Fast enough for a step of a whole random map within a millisecond.
constexpr int CompressionLevel = 1;

QByteArray Compress(const uint8_t* bytes) {
    return qCompress(reinterpret_cast<const uchar*>(bytes), int(MapRecordSize), CompressionLevel);
}

void Expand(const QByteArray& packed, uint8_t* out) {
    const QByteArray bytes = qUncompress(packed);
    // Only this class packs; a size mismatch would mean memory went bad.
    if (bytes.size() == qsizetype(MapRecordSize)) std::memcpy(out, bytes.constData(), MapRecordSize);
}
} // namespace

TMapHistory::TStep TMapHistory::Pack(const QString& name, int64_t serial, const TMapRecord& map,
                                     const TMapRecord& undo) {
    // The undo copy mostly equals the map: their difference packs to a few bytes.
    uint8_t diff[MapRecordSize];
    const auto* m = reinterpret_cast<const uint8_t*>(&map);
    const auto* u = reinterpret_cast<const uint8_t*>(&undo);
    for (size_t i = 0; i < MapRecordSize; ++i) diff[i] = m[i] ^ u[i];
    return TStep{name, serial, Compress(m), Compress(diff)};
}

void TMapHistory::Start(const QString& name, const TMapRecord& map, const TMapRecord& undo) {
    steps_.clear();
    bytes_ = 0;
    current_ = -1;
    Record(name, map, undo);
}

void TMapHistory::Record(const QString& name, const TMapRecord& map, const TMapRecord& undo) {
    while (Count() > current_ + 1) {
        bytes_ -= steps_.back().Size();
        steps_.pop_back();
    }
    steps_.push_back(Pack(name, nextSerial_++, map, undo));
    bytes_ += steps_.back().Size();
    current_ = Count() - 1;
    Trim();
}

void TMapHistory::UpdateUndo(const TMapRecord& map, const TMapRecord& undo) {
    if (current_ < 0) return;
    TStep& step = steps_[size_t(current_)];
    bytes_ -= step.Size();
    step = Pack(step.Name, step.Serial, map, undo);
    bytes_ += step.Size();
    Trim();
}

void TMapHistory::Restore(int i, TMapRecord& map, TMapRecord& undo) {
    if (i < 0 || i >= Count()) return;
    const TStep& step = steps_[size_t(i)];
    auto* m = reinterpret_cast<uint8_t*>(&map);
    auto* u = reinterpret_cast<uint8_t*>(&undo);
    Expand(step.Map, m);
    Expand(step.Undo, u);
    for (size_t k = 0; k < MapRecordSize; ++k) u[k] ^= m[k];
    current_ = i;
}

void TMapHistory::Trim() {
    // The current step always stays, whatever its size.
    while (current_ > 0 && (Count() > MaxSteps || bytes_ > MaxBytes)) {
        bytes_ -= steps_.front().Size();
        steps_.pop_front();
        --current_;
    }
}

} // namespace qm
