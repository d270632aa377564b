#pragma once
// The named steps of one map document's session: each keeps the whole record and the
// undo copy as they were after the step, compressed, and the map key and its undo copy,
// so any step can be shown again.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <deque>
#include <memory>

#include "model/MapKey.h"
#include "model/MapRecord.h"

namespace qm {

class TMapHistory {
public:
    // At most this many steps and bytes are kept; the oldest steps go first.
    static constexpr int MaxSteps = 1000;
    static constexpr qint64 MaxBytes = qint64(32) << 20;

    // Forgets every step; `name` becomes the first.
    void Start(const QString& name, const TMapRecord& map, const TMapRecord& undo, const TMapKey& key = {},
               const TMapKey& undoKey = {});
    // Drops the steps after the current one, then appends this one as the current.
    void Record(const QString& name, const TMapRecord& map, const TMapRecord& undo, const TMapKey& key = {},
                const TMapKey& undoKey = {});
    // The current step's undo copy changed while its map did not (a snapshot that
    // changed nothing): stepping back here restores the new copy.
    void UpdateUndo(const TMapRecord& map, const TMapRecord& undo, const TMapKey& key = {},
                    const TMapKey& undoKey = {});
    // Makes step i (0 = the oldest kept) current and writes its records out.
    void Restore(int i, TMapRecord& map, TMapRecord& undo);
    void Restore(int i, TMapRecord& map, TMapRecord& undo, TMapKey& key, TMapKey& undoKey);

    int Count() const { return int(steps_.size()); }
    int Current() const { return current_; }
    QString Name(int i) const { return steps_[size_t(i)].Name; }
    // A number that stays with a step while it is kept; never given to another step.
    int64_t Serial(int i) const { return steps_[size_t(i)].Serial; }
    int64_t CurrentSerial() const { return current_ < 0 ? -1 : Serial(current_); }
    // Memory held by the kept steps.
    qint64 Bytes() const { return bytes_; }

private:
    using TKeyPtr = std::shared_ptr<const TMapKey>;
    struct TStep {
        QString Name;
        int64_t Serial;
        QByteArray Map;       // the record, compressed
        QByteArray Undo;      // the undo copy XOR the record, compressed
        TKeyPtr Key, UndoKey; // shared with the neighbouring steps while equal
        qint64 KeyBytes = 0;  // what this step's own key copies hold
        qint64 Size() const { return Map.size() + Undo.size() + Name.size() * 2 + KeyBytes + qint64(sizeof(TStep)); }
    };
    TStep Pack(const QString& name, int64_t serial, const TMapRecord& map, const TMapRecord& undo, const TMapKey& key,
               const TMapKey& undoKey) const;
    void Trim();

    std::deque<TStep> steps_;
    int current_ = -1;
    int64_t nextSerial_ = 0;
    qint64 bytes_ = 0;
};

} // namespace qm
