#pragma once
// The GeoSet document: the GeoSet record, the file it belongs to, whether it holds
// unsaved changes and what its file looked like when last read or written. Widget-free:
// the maplet editor and the main window listen to it.
#include <QString>
#include <functional>
#include <map>

#include "editor/FileIdentity.h"
#include "model/GeoSetRecord.h"

namespace qm {

struct TRenderedTileset;

// What a listener hears.
enum class TGeoSetEvent {
    Painted,  // the maplet editor changed the record: modified
    Replaced, // cleared or read from a file: selectors, "Generate Random Map"
    Clean,    // saved, cleared or read: no longer modified
};

class TGeoSetDocument {
public:
    using TListener = std::function<void(TGeoSetEvent)>;
    // Makes the tileset a GeoSet names the one in use (the map's too); throws
    // TTilesetError with the old one still in use. The application installs it.
    using TUseTileset = std::function<void(const QString& name)>;

    // The tileset in use, owned by the application; read for drawing and for the name
    // a cleared GeoSet takes.
    explicit TGeoSetDocument(const TRenderedTileset& tileset) : tileset_(tileset) {}

    TGeoSetRecord GeoSet{};
    QString DialogDir; // starting folder of the GeoSet file dialogs

    const TRenderedTileset& Tileset() const { return tileset_; }
    void SetUseTileset(TUseTileset use) { useTileset_ = std::move(use); }

    // Listeners are called in the order they came; Unlisten takes one back.
    int Listen(TListener listener);
    void Unlisten(int id) { listeners_.erase(id); }

    const QString& FileName() const { return fileName_; }
    // "Untitled GeoSet" or the file name without its folder.
    QString DisplayName() const;
    bool Modified() const { return modified_; }
    // Whether a GeoSet file has been read (enables "Generate Random Map").
    bool Loaded() const { return loaded_; }
    // Whether the file was changed by another program since it was read or written.
    bool FileChangedOnDisk() const { return ChangedOnDisk(fileName_, identity_); }

    // Clears the record (tileset name := the one in use, Position and Section 1); no
    // file; nothing loaded.
    void New();
    // Reads `path` over the record; the tileset it names is put in use when it differs
    // (letter case of a..z ignored). A file that cannot be opened throws TFileError and
    // changes nothing but the file name; one that is not exactly one record long throws
    // TNotARecordError and changes nothing at all. A tileset that cannot be used leaves
    // the GeoSet loaded and is reported by throwing TTilesetError at the end.
    // `moreAfter`: the file holds the record and then more (a recovery copy).
    void Open(const QString& path, bool moreAfter = false);
    // Writes the whole record atomically and makes `path` its file. Throws TFileError.
    void Save(const QString& path);
    // The record was painted into.
    void Changed();
    // A recovered copy: unsaved changes of `documentPath`.
    void Recovered(const QString& documentPath);

private:
    void Notify(TGeoSetEvent e);

    const TRenderedTileset& tileset_;
    TUseTileset useTileset_;
    QString fileName_;
    TFileIdentity identity_;
    bool modified_ = false;
    bool loaded_ = false;
    std::map<int, TListener> listeners_;
    int nextListener_ = 0;
};

} // namespace qm
