#include "app/RecoveryWriter.h"

#include "base/Encoding.h"
#include "editor/MapDocument.h"
#include "geoset/GeoSetDocument.h"

namespace qm {

namespace {
constexpr int RecoveryDelayMs = 3000;
constexpr int RecoveryMaxDelays = 4;
} // namespace

TRecoveryWriter::TRecoveryWriter(const QString& folder, const TMapDocument& map, const TGeoSetDocument& geo)
    : map_(map), geo_(geo), store_(folder) {
    timer_.setSingleShot(true);
    timer_.setInterval(RecoveryDelayMs);
    timer_.callOnTimeout([this] { WriteNow(); });
}

void TRecoveryWriter::Changed() {
    if (!timer_.isActive()) {
        pending_.start();
        timer_.start();
    } else if (pending_.elapsed() < qint64(RecoveryMaxDelays) * timer_.interval()) {
        timer_.start(); // wait for a pause in the work
    }
}

void TRecoveryWriter::WriteNow() {
    timer_.stop();
    if (map_.Modified()) {
        const TRecoveryInfo info{map_.FileName(), TilesetNameText(MapTilesetName(map_.CurrentMap)), map_.NeedsName(),
                                 QDateTime::currentDateTime(), QByteArray::fromStdString(KeyFileText(map_.CurrentKey))};
        store_.Write(TRecoveryKind::Map, &map_.CurrentMap, sizeof map_.CurrentMap, info);
    }
    if (geo_.Modified()) {
        const TRecoveryInfo info{
            geo_.FileName(), TilesetNameText(GeoTilesetName(geo_.GeoSet)), false, QDateTime::currentDateTime(), {}};
        store_.Write(TRecoveryKind::GeoSet, &geo_.GeoSet, sizeof geo_.GeoSet, info);
    }
}

void TRecoveryWriter::Finish() {
    timer_.stop();
    store_.RemoveAll();
}

} // namespace qm
