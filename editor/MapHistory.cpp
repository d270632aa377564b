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

namespace {
const TMapKey EmptyKey;

qint64 KeySize(const TMapKey& key) {
    qint64 n = qint64(sizeof key);
    for (const TKeyEntry& e : key.Entries) n += qint64(sizeof e + e.Title.size() + e.Text.size());
    for (const auto& [name, value] : key.Fields) n += qint64(name.size() + value.size() + 64);
    return n;
}
} // namespace

TMapHistory::TStep TMapHistory::Pack(const QString& name, int64_t serial, const TMapRecord& map, const TMapRecord& undo,
                                     const TMapKey& key, const TMapKey& undoKey) const {
    // The undo copy mostly equals the map: their difference packs to a few bytes.
    uint8_t diff[MapRecordSize];
    const auto* m = reinterpret_cast<const uint8_t*>(&map);
    const auto* u = reinterpret_cast<const uint8_t*>(&undo);
    for (size_t i = 0; i < MapRecordSize; ++i) diff[i] = m[i] ^ u[i];
    TStep step{name, serial, Compress(m), Compress(diff), {}, {}, 0};
    // Most steps leave the key alone: they share the copy of the step before.
    qint64 own = 0;
    auto share = [&](const TMapKey& k) -> TKeyPtr {
        if (k.Empty()) return {};
        if (current_ >= 0) {
            const TStep& last = steps_[size_t(current_)];
            if (last.Key && *last.Key == k) return last.Key;
            if (last.UndoKey && *last.UndoKey == k) return last.UndoKey;
        }
        own += KeySize(k);
        return std::make_shared<const TMapKey>(k);
    };
    step.Key = share(key);
    step.UndoKey = undoKey == key ? step.Key : share(undoKey);
    step.KeyBytes = own;
    return step;
}

void TMapHistory::Start(const QString& name, const TMapRecord& map, const TMapRecord& undo, const TMapKey& key,
                        const TMapKey& undoKey) {
    steps_.clear();
    bytes_ = 0;
    current_ = -1;
    Record(name, map, undo, key, undoKey);
}

void TMapHistory::Record(const QString& name, const TMapRecord& map, const TMapRecord& undo, const TMapKey& key,
                         const TMapKey& undoKey) {
    TStep step = Pack(name, nextSerial_++, map, undo, key, undoKey);
    while (Count() > current_ + 1) {
        bytes_ -= steps_.back().Size();
        steps_.pop_back();
    }
    steps_.push_back(std::move(step));
    bytes_ += steps_.back().Size();
    current_ = Count() - 1;
    Trim();
}

void TMapHistory::UpdateUndo(const TMapRecord& map, const TMapRecord& undo, const TMapKey& key,
                             const TMapKey& undoKey) {
    if (current_ < 0) return;
    TStep packed = Pack(steps_[size_t(current_)].Name, steps_[size_t(current_)].Serial, map, undo, key, undoKey);
    TStep& step = steps_[size_t(current_)];
    bytes_ -= step.Size();
    step = std::move(packed);
    bytes_ += step.Size();
    Trim();
}

void TMapHistory::Restore(int i, TMapRecord& map, TMapRecord& undo, TMapKey& key, TMapKey& undoKey) {
    if (i < 0 || i >= Count()) return;
    Restore(i, map, undo);
    const TStep& step = steps_[size_t(i)];
    key = step.Key ? *step.Key : EmptyKey;
    undoKey = step.UndoKey ? *step.UndoKey : EmptyKey;
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
