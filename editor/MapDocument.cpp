#include "editor/MapDocument.h"

#include <QFileDevice>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <exception>
#include <optional>

#include "base/Encoding.h"
#include "editor/Clipboard.h"
#include "model/RecordFile.h"

namespace qm {

namespace {
const QString NewStep = QStringLiteral("New");
const QString OpenStep = QStringLiteral("Open");
const QString RecoveredStep = QStringLiteral("Recovered");
const QString UndoStep = QStringLiteral("Undo");

bool SameRecord(const TMapRecord& a, const TMapRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The same map as far as the file's meaning goes: zoom and current symbol aside.
bool SameContent(const TMapRecord& a, const TMapRecord& b) {
    TMapRecord x = a;
    x.Zoom = b.Zoom;
    x.CurrentSymbol = b.CurrentSymbol;
    return SameRecord(x, b);
}

bool IsReadOnly(const QString& path) {
    const QFileInfo info(path);
    const auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.exists() && (!(info.permissions() & anyWrite) || !info.isWritable());
}
} // namespace

TMapDocument::TMapDocument() { StartFresh(NewStep); }

void TMapDocument::Notify(TDocumentEvent e) {
    for (const TListener& listener : listeners_) listener(e);
}

void TMapDocument::StartFresh(const QString& stepName) {
    history_.Start(stepName, CurrentMap, UndoMap, CurrentKey, UndoKey);
    MarkSaved();
}

void TMapDocument::MarkSaved() {
    savedSerial_ = history_.CurrentSerial();
    savedMap_ = CurrentMap;
    savedKey_ = CurrentKey;
    haveSaved_ = true;
}

bool TMapDocument::Modified() const {
    if (history_.CurrentSerial() == savedSerial_) return false;
    return !haveSaved_ || !SameContent(CurrentMap, savedMap_) || !(CurrentKey == savedKey_);
}

void TMapDocument::TakeUndoSnapshot() {
    qm::TakeUndoSnapshot(CurrentMap, UndoMap);
    UndoKey = CurrentKey;
    history_.UpdateUndo(CurrentMap, UndoMap, CurrentKey, UndoKey);
}

bool TMapDocument::Record(const QString& stepName, const TMapRecord& before, const TMapKey* keyBefore,
                          TSnapshot snapshot) {
    const bool changed = !SameRecord(before, CurrentMap) || (keyBefore && !(*keyBefore == CurrentKey));
    if (changed && snapshot == TSnapshot::IfChanged) {
        qm::TakeUndoSnapshot(before, UndoMap);
        UndoKey = keyBefore ? *keyBefore : CurrentKey;
    }
    if (changed) history_.Record(stepName, CurrentMap, UndoMap, CurrentKey, UndoKey);
    else if (snapshot == TSnapshot::Take) history_.UpdateUndo(CurrentMap, UndoMap, CurrentKey, UndoKey);
    if (changed) Notify(TDocumentEvent::Edited);
    return changed;
}

bool TMapDocument::Apply(const QString& stepName, const std::function<void(TMapRecord&, TMapKey&)>& change,
                         TSnapshot snapshot, bool keyMayChange) {
    const TMapRecord before = CurrentMap;
    // A map edit leaves the key alone: no copy of it to compare with.
    std::optional<TMapKey> keyBefore;
    if (keyMayChange) keyBefore = CurrentKey;
    if (snapshot == TSnapshot::Take) {
        qm::TakeUndoSnapshot(CurrentMap, UndoMap);
        UndoKey = CurrentKey;
    }
    std::exception_ptr error;
    try {
        change(CurrentMap, CurrentKey);
    } catch (...) {
        error = std::current_exception();
    }
    const bool changed = Record(stepName, before, keyBefore ? &*keyBefore : nullptr, snapshot);
    if (error) std::rethrow_exception(error);
    return changed;
}

bool TMapDocument::Edit(const QString& stepName, const std::function<void(TMapRecord&)>& change, TSnapshot snapshot) {
    return Apply(
        stepName, [&](TMapRecord& map, TMapKey&) { change(map); }, snapshot, false);
}

bool TMapDocument::Edit(const QString& stepName, const std::function<void(TMapRecord&, TMapKey&)>& change,
                        TSnapshot snapshot) {
    return Apply(stepName, change, snapshot, true);
}

bool TMapDocument::EditKey(const QString& stepName, const std::function<void(TMapKey&)>& change) {
    return Edit(
        stepName, [&](TMapRecord&, TMapKey& key) { change(key); }, TSnapshot::Take);
}

bool TMapDocument::Undo() {
    if (SameRecord(CurrentMap, UndoMap) && CurrentKey == UndoKey) return false;
    UndoExchange(CurrentMap, UndoMap);
    std::swap(CurrentKey, UndoKey);
    history_.Record(UndoStep, CurrentMap, UndoMap, CurrentKey, UndoKey);
    Notify(TDocumentEvent::Edited);
    return true;
}

void TMapDocument::New(const std::string& tilesetName, int cellSize, bool emptyUndo) {
    ResetMap(CurrentMap, tilesetName, cellSize);
    if (emptyUndo) ClearMapRecord(UndoMap);
    else qm::TakeUndoSnapshot(CurrentMap, UndoMap); // Undo stays within the new document
    CurrentKey = UndoKey = {};
    fileName_.clear();
    identity_ = keyIdentity_ = {};
    keyError_.clear();
    needsName_ = false;
    StartFresh(NewStep);
    Notify(TDocumentEvent::Replaced);
}

void TMapDocument::Open(const QString& path, const std::function<void()>& adopt) {
    ReadMapFile(PathBytes(path), CurrentMap); // throws with the record untouched
    identity_ = FileIdentityOf(path);
    const QString keyPath = QString::fromStdString(KeyPathFor(PathBytes(path)));
    keyError_.clear();
    try {
        CurrentKey = ReadKeyFile(PathBytes(keyPath));
    } catch (const std::exception& e) {
        CurrentKey = {};
        keyError_ = QString::fromUtf8(e.what());
    }
    keyIdentity_ = FileIdentityOf(keyPath);
    UndoKey = CurrentKey;
    // Anything but one whole record was not written by us: never replace it unasked.
    needsName_ = QFileInfo(path).size() != qint64(sizeof(TMapRecord));
    fileName_ = path;
    if (adopt) adopt();
    // Undo stays within the opened document.
    qm::TakeUndoSnapshot(CurrentMap, UndoMap);
    StartFresh(OpenStep);
    Notify(TDocumentEvent::Replaced);
}

void TMapDocument::OpenRecovered(const QString& copyPath, const QString& documentPath, bool needsName,
                                 const std::function<void()>& adopt, const std::string& keyText) {
    TMapKey key = ParseKeyFile(keyText, PathBytes(copyPath)); // throws before anything changed
    ReadMapFile(PathBytes(copyPath), CurrentMap);             // the record; the trailer after it is not read
    CurrentKey = UndoKey = std::move(key);
    fileName_ = documentPath;
    identity_ = keyIdentity_ = {}; // what the files held when the copy was made is not known
    keyError_.clear();
    needsName_ = needsName;
    if (adopt) adopt();
    qm::TakeUndoSnapshot(CurrentMap, UndoMap);
    StartFresh(RecoveredStep);
    savedSerial_ = -1; // its changes are in no file
    haveSaved_ = false;
    Notify(TDocumentEvent::Replaced);
}

void TMapDocument::Detach() {
    fileName_.clear();
    identity_ = keyIdentity_ = {};
    keyError_.clear();
    savedSerial_ = -1;
    haveSaved_ = false;
    Notify(TDocumentEvent::FileChanged);
}

QString TMapDocument::KeyFileName() const {
    return fileName_.isEmpty() ? QString() : QString::fromStdString(KeyPathFor(PathBytes(fileName_)));
}

bool TMapDocument::FileChangedOnDisk() const {
    if (ChangedOnDisk(fileName_, identity_)) return true;
    if (fileName_.isEmpty()) return false;
    // A key file written meanwhile where there was none (in a text editor) is a change too.
    const QString key = KeyFileName();
    return keyIdentity_.Known ? ChangedOnDisk(key, keyIdentity_) : QFileInfo::exists(key);
}

void TMapDocument::Save(const QString& path) {
    // A read-only map or key stays as it is: the atomic replace would otherwise swap it
    // out whatever its permissions say.
    const QString keyPath = QString::fromStdString(KeyPathFor(PathBytes(path)));
    for (const QString& p : {path, keyPath})
        if (IsReadOnly(p)) throw TFileError(CannotCreateMessage(PathBytes(p), std::strerror(EACCES)));
    WriteMapAndKey(PathBytes(path), CurrentMap, CurrentKey);
    fileName_ = path;
    identity_ = FileIdentityOf(path);
    keyIdentity_ = FileIdentityOf(keyPath);
    keyError_.clear();
    needsName_ = false;
    MarkSaved();
    Notify(TDocumentEvent::FileChanged);
}

QString TMapDocument::DisplayName() const {
    return fileName_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(fileName_).fileName();
}

bool TMapDocument::StepTo(int step) {
    if (step < 0 || step >= history_.Count() || step == history_.Current()) return false;
    history_.Restore(step, CurrentMap, UndoMap, CurrentKey, UndoKey);
    Notify(TDocumentEvent::Restored);
    return true;
}

} // namespace qm
