#include "editor/MapDocument.h"

#include <QFileDevice>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <exception>

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
} // namespace

TMapDocument::TMapDocument() { StartFresh(NewStep); }

void TMapDocument::Notify(TDocumentEvent e) {
    for (const TListener& listener : listeners_) listener(e);
}

void TMapDocument::StartFresh(const QString& stepName) {
    history_.Start(stepName, CurrentMap, UndoMap);
    savedSerial_ = history_.CurrentSerial();
}

void TMapDocument::TakeUndoSnapshot() {
    qm::TakeUndoSnapshot(CurrentMap, UndoMap);
    history_.UpdateUndo(CurrentMap, UndoMap);
}

bool TMapDocument::Edit(const QString& stepName, const std::function<void(TMapRecord&)>& change, TSnapshot snapshot) {
    const TMapRecord before = CurrentMap;
    if (snapshot == TSnapshot::Take) qm::TakeUndoSnapshot(CurrentMap, UndoMap);
    std::exception_ptr error;
    try {
        change(CurrentMap);
    } catch (...) {
        error = std::current_exception();
    }
    const bool changed = !SameRecord(before, CurrentMap);
    if (changed && snapshot == TSnapshot::IfChanged) qm::TakeUndoSnapshot(before, UndoMap);
    if (changed) history_.Record(stepName, CurrentMap, UndoMap);
    else if (snapshot == TSnapshot::Take) history_.UpdateUndo(CurrentMap, UndoMap);
    if (changed) Notify(TDocumentEvent::Edited);
    if (error) std::rethrow_exception(error);
    return changed;
}

bool TMapDocument::Undo() {
    if (SameRecord(CurrentMap, UndoMap)) return false;
    UndoExchange(CurrentMap, UndoMap);
    history_.Record(UndoStep, CurrentMap, UndoMap);
    Notify(TDocumentEvent::Edited);
    return true;
}

void TMapDocument::New(const std::string& tilesetName, int cellSize, bool emptyUndo) {
    ResetMap(CurrentMap, tilesetName, cellSize);
    if (emptyUndo) ClearMapRecord(UndoMap);
    else qm::TakeUndoSnapshot(CurrentMap, UndoMap); // Undo stays within the new document
    fileName_.clear();
    identity_ = {};
    needsName_ = false;
    StartFresh(NewStep);
    Notify(TDocumentEvent::Replaced);
}

void TMapDocument::Open(const QString& path, const std::function<void()>& adopt) {
    ReadMapFile(PathBytes(path), CurrentMap); // throws with the record untouched
    identity_ = FileIdentityOf(path);
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
                                 const std::function<void()>& adopt) {
    ReadMapFile(PathBytes(copyPath), CurrentMap); // the record; the trailer after it is not read
    fileName_ = documentPath;
    identity_ = {}; // what the file held when the copy was made is not known
    needsName_ = needsName;
    if (adopt) adopt();
    qm::TakeUndoSnapshot(CurrentMap, UndoMap);
    StartFresh(RecoveredStep);
    savedSerial_ = -1; // its changes are in no file
    Notify(TDocumentEvent::Replaced);
}

void TMapDocument::Detach() {
    fileName_.clear();
    identity_ = {};
    savedSerial_ = -1;
    Notify(TDocumentEvent::FileChanged);
}

void TMapDocument::Save(const QString& path) {
    // A read-only map stays as it is: the atomic replace would otherwise swap it out
    // whatever its permissions say.
    const QFileInfo info(path);
    const auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.exists() && (!(info.permissions() & anyWrite) || !info.isWritable()))
        throw TFileError(CannotCreateMessage(PathBytes(path), std::strerror(EACCES)));
    WriteMapFile(PathBytes(path), CurrentMap); // atomic: a failure keeps the old file
    fileName_ = path;
    identity_ = FileIdentityOf(path);
    needsName_ = false;
    savedSerial_ = history_.CurrentSerial();
    Notify(TDocumentEvent::FileChanged);
}

QString TMapDocument::DisplayName() const {
    return fileName_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(fileName_).fileName();
}

bool TMapDocument::StepTo(int step) {
    if (step < 0 || step >= history_.Count() || step == history_.Current()) return false;
    history_.Restore(step, CurrentMap, UndoMap);
    Notify(TDocumentEvent::Restored);
    return true;
}

} // namespace qm
