#pragma once
// The map document: the map record and its undo copy, the file it belongs to, whether
// it holds unsaved changes, and the named steps of the session. Widget-free: windows
// listen to it and paint; tests drive it alone.
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "editor/FileIdentity.h"
#include "editor/MapHistory.h"
#include "model/MapKey.h"
#include "model/MapRecord.h"

namespace qm {

// Whether an edit takes the one-level undo snapshot first. View settings kept in the
// record (background, Show Hidden, the tileset name) never do; the drawing tools take it
// only when they changed something, so a use that did nothing keeps the last Undo.
enum class TSnapshot { Take, Keep, IfChanged };

// What a listener hears.
enum class TDocumentEvent {
    Edited,      // an edit changed the map; a new step is current
    Restored,    // a step of the history is shown again: its settings apply anew
    Replaced,    // New, Open or a recovered copy: a fresh history
    FileChanged, // saved to its file, or no longer belonging to one (an imported map)
};

class TMapDocument {
public:
    using TListener = std::function<void(TDocumentEvent)>;

    // Read freely. Every change goes through Edit (or Undo, New, Open, stepping); only
    // the zoom and the current symbol, which are no change to the map, are set in place.
    TMapRecord CurrentMap{};
    TMapRecord UndoMap{};
    // The map key, saved beside the map as NAME.key.md, and its undo copy: the key is
    // part of the document, its changes are steps and Undo takes it back with the map.
    TMapKey CurrentKey;
    TMapKey UndoKey;

    TMapDocument();

    void Listen(TListener listener) { listeners_.push_back(std::move(listener)); }

    // The one way to change the map: takes the undo snapshot (unless `snapshot` says
    // Keep), runs `change` on CurrentMap, and when any byte changed records a step named
    // `stepName`, marks the document modified and tells the listeners. Returns whether
    // the map changed. A change that throws still counts what it changed, then rethrows.
    bool Edit(const QString& stepName, const std::function<void(TMapRecord&)>& change,
              TSnapshot snapshot = TSnapshot::Take);
    // The same for a change of the map and its key together (cut and paste carry the
    // labels of their region) or of the key alone.
    bool Edit(const QString& stepName, const std::function<void(TMapRecord&, TMapKey&)>& change,
              TSnapshot snapshot = TSnapshot::Take);
    bool EditKey(const QString& stepName, const std::function<void(TMapKey&)>& change);
    // UndoMap := CurrentMap, UndoKey := CurrentKey.
    void TakeUndoSnapshot();
    // Exchanges the map and key with their undo copies, a step named "Undo" when they differ.
    bool Undo();

    // An empty map with this tileset name and cell size, no file, a fresh history.
    // emptyUndo: the undo copy is a cleared record (start-up), else the new map.
    void New(const std::string& tilesetName, int cellSize, bool emptyUndo = false);
    // Reads `path` over the map (throws TFileError, map untouched) and its key file
    // beside it (a key that cannot be read leaves the key empty and KeyError says why:
    // Save then asks before it replaces that file), runs `adopt` (the
    // windows apply the map's settings, which may rewrite its tileset name), then the
    // opened map is also the undo copy and the first step "Open" of a fresh history.
    // A file that is not exactly one record long needs a name before it is saved.
    void Open(const QString& path, const std::function<void()>& adopt = {});
    // Opens a recovery copy as Open does, but as an unsaved document of `documentPath`.
    // `keyText` is the key file's text kept with the copy.
    void OpenRecovered(const QString& copyPath, const QString& documentPath, bool needsName,
                       const std::function<void()>& adopt = {}, const std::string& keyText = {});
    // The map no longer belongs to a file (an imported map): Save asks for a name.
    void Detach();
    // Writes the map to `path` and its key beside it as one: both go to temporary files
    // first and are put in place only when both are written; an empty key removes the
    // key file. Makes it the document's file. A read-only file is never replaced. Throws
    // TFileError with the old files intact.
    void Save(const QString& path);
    // Why the key file beside the opened map could not be read; empty when it could.
    // Save replaces that file only after the windows asked (AcceptKeyLoss).
    const QString& KeyError() const { return keyError_; }
    void AcceptKeyLoss() { keyError_.clear(); }
    QString KeyFileName() const;

    const QString& FileName() const { return fileName_; }
    // "Untitled" or the file name without its folder.
    QString DisplayName() const;
    // Whether the map or key differs from what is in the file (a map taken back to the
    // saved state by Undo or stepping is not modified; zoom and the current symbol are
    // view settings and count for nothing).
    bool Modified() const;
    // Opened from a file that is not exactly one record long (a picture opened by
    // mistake): Save asks for a name first, so that file is only replaced on purpose.
    bool NeedsName() const { return needsName_; }
    // Whether the file was changed by another program since it was read or written.
    bool FileChangedOnDisk() const;

    // The steps of this session; stepping shows a step's map and undo copy again.
    const TMapHistory& History() const { return history_; }
    bool StepTo(int step);
    bool StepBackward() { return StepTo(history_.Current() - 1); }
    bool StepForward() { return StepTo(history_.Current() + 1); }

private:
    void Notify(TDocumentEvent e);
    void StartFresh(const QString& stepName);
    void MarkSaved();
    // keyBefore: the key before a change that may touch it; none for a map edit.
    bool Record(const QString& stepName, const TMapRecord& before, const TMapKey* keyBefore, TSnapshot snapshot);
    bool Apply(const QString& stepName, const std::function<void(TMapRecord&, TMapKey&)>& change, TSnapshot snapshot,
               bool keyMayChange);

    QString fileName_;
    TFileIdentity identity_, keyIdentity_;
    QString keyError_;
    bool haveSaved_ = false; // savedMap_ and savedKey_ hold what the file holds
    TMapRecord savedMap_{};
    TMapKey savedKey_;
    bool needsName_ = false;
    int64_t savedSerial_ = -1; // the step that is in the file; -1 none
    TMapHistory history_;
    std::vector<TListener> listeners_;
};

} // namespace qm
