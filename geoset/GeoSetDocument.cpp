#include "geoset/GeoSetDocument.h"

#include <QFileInfo>
#include <exception>

#include "base/Encoding.h"
#include "model/RecordFile.h"
#include "model/ShortString.h"
#include "tiles/Tileset.h"

namespace qm {

int TGeoSetDocument::Listen(TListener listener) {
    listeners_.emplace(nextListener_, std::move(listener));
    return nextListener_++;
}

void TGeoSetDocument::Notify(TGeoSetEvent e) {
    // A listener may take itself back while it is told.
    const auto listeners = listeners_;
    for (const auto& [id, listener] : listeners) listener(e);
}

QString TGeoSetDocument::DisplayName() const {
    return fileName_.isEmpty() ? QStringLiteral("Untitled GeoSet") : QFileInfo(fileName_).fileName();
}

void TGeoSetDocument::New() {
    ClearGeoSetRecord(GeoSet, TilesetNameBytes(tileset_.CurrentTilesetName));
    fileName_.clear();
    identity_ = {};
    loaded_ = false;
    modified_ = false;
    Notify(TGeoSetEvent::Replaced);
    Notify(TGeoSetEvent::Clean);
}

void TGeoSetDocument::Open(const QString& path, bool moreAfter) {
    // The name is taken even when the file cannot be read; the record is read into
    // scratch first, so a failure leaves it as it was. A file of another length is no
    // GeoSet at all: refused whole, name and all, so no mix of two GeoSets is ever made.
    const QString oldName = fileName_;
    const TFileIdentity oldIdentity = identity_;
    fileName_ = path;
    identity_ = {};
    try {
        ReadWholeGeoSetFile(PathBytes(path), GeoSet, moreAfter);
    } catch (const TNotARecordError& e) {
        fileName_ = oldName;
        identity_ = oldIdentity;
        throw TNotARecordError(std::string(e.what()) + "; the GeoSet stays as it was.");
    }
    identity_ = FileIdentityOf(path);
    loaded_ = true;
    modified_ = false;

    std::exception_ptr renderError;
    const std::string name = GeoTilesetName(GeoSet);
    if (!SameNameIgnoringCase(name, TilesetNameBytes(tileset_.CurrentTilesetName)) && useTileset_) {
        try {
            useTileset_(BareTilesetName(TilesetNameText(name)));
        } catch (const TTilesetError&) {
            // The GeoSet is in; the old symbols stay in use. Report after finishing.
            renderError = std::current_exception();
        }
    }
    Notify(TGeoSetEvent::Replaced);
    Notify(TGeoSetEvent::Clean);
    if (renderError) std::rethrow_exception(renderError);
}

void TGeoSetDocument::Save(const QString& path) {
    WriteGeoSetFile(PathBytes(path), GeoSet);
    fileName_ = path;
    identity_ = FileIdentityOf(path);
    modified_ = false;
    Notify(TGeoSetEvent::Clean);
}

void TGeoSetDocument::Changed() {
    modified_ = true;
    Notify(TGeoSetEvent::Painted);
}

void TGeoSetDocument::Recovered(const QString& documentPath) {
    fileName_ = documentPath;
    identity_ = {}; // what the file held when the copy was made is not known
    Changed();
}

} // namespace qm
