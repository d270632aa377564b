#pragma once
// When the recovery copies of the map and GeoSet documents are written: once the work
// pauses for the delay, at the latest a few delays after the first change not yet in a
// copy, so a drag of strokes makes one copy and a user who never pauses still gets one.
// Widget-free.
#include <QElapsedTimer>
#include <QTimer>
#include <memory>

#include "app/Recovery.h"

namespace qm {

class TMapDocument;
class TGeoSetDocument;

class TRecoveryWriter {
public:
    TRecoveryWriter(const QString& folder, const TMapDocument& map, const TGeoSetDocument& geo);

    TRecoveryStore& Store() { return store_; }
    // A change that is not in a copy yet.
    void Changed();
    // Hands the copies of whatever is modified now to the store's writer.
    void WriteNow();
    void SetDelay(int ms) { timer_.setInterval(ms); }
    // A clean end: no copy is written any more and those written are removed.
    void Finish();

private:
    const TMapDocument& map_;
    const TGeoSetDocument& geo_;
    TRecoveryStore store_;
    QTimer timer_;
    QElapsedTimer pending_; // since the first change not yet in a copy
};

} // namespace qm
