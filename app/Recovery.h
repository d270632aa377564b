#pragma once
// Recovery copies of unsaved work. While the map or the GeoSet is modified, the main
// window writes the whole record into the user's data folder, followed by a short text
// trailer naming the document's file and tileset. Each running instance has its own
// files, named by an instance id, and holds a lock on <id>.lock while it runs; copies
// whose lock is free belong to a process that has ended and are offered at the next start.
// Widget-free: folders, files and locks only.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <memory>
#include <vector>

namespace qm {

enum class TRecoveryKind { Map, GeoSet };

// What the trailer keeps beside the record.
struct TRecoveryInfo {
    QString DocumentPath;   // the file the document belongs to; empty when untitled
    QString TilesetName;    // the record's tileset name, as the record holds it
    bool NeedsName = false; // Save must ask for a name first
    QDateTime Saved;        // when the copy was written
};

// A copy left by an instance that is no longer running. While the object lives the
// copy's lock is held, so two starting instances never offer the same copy.
struct TOrphanCopy {
    QString Path;
    TRecoveryKind Kind = TRecoveryKind::Map;
    TRecoveryInfo Info;
    QByteArray Record; // exactly one record long when Error is empty
    QString Error;     // why the copy cannot be read; it is then kept
    std::shared_ptr<int> Lock;
};

// The folder of the recovery copies: <AppLocalDataLocation>/recovery.
QString DefaultRecoveryFolder();

class TRecoveryStore {
public:
    explicit TRecoveryStore(const QString& folder);
    ~TRecoveryStore(); // releases the lock; the copies stay (RemoveAll removes them)
    TRecoveryStore(const TRecoveryStore&) = delete;
    TRecoveryStore& operator=(const TRecoveryStore&) = delete;

    const QString& Folder() const { return folder_; }
    QString FileFor(TRecoveryKind kind) const;

    // Writes record + trailer atomically, replacing this instance's previous copy.
    // Throws TFileError naming the file.
    void Write(TRecoveryKind kind, const void* record, size_t size, const TRecoveryInfo& info);
    void Remove(TRecoveryKind kind);
    // Both copies and the lock file; used at a clean exit.
    void RemoveAll();

    // Copies in the folder whose instance no longer runs, oldest first.
    std::vector<TOrphanCopy> FindOrphans() const;
    // Deletes an orphan's copy (and its lock file when no other copy of it is left).
    static void Discard(const TOrphanCopy& copy);

    // Reads one recovery file: record of `recordSize` bytes, then the trailer.
    static TOrphanCopy ReadCopy(const QString& path, TRecoveryKind kind, size_t recordSize);

private:
    void EnsureLocked();
    QString folder_;
    QString id_;
    int lockFd_ = -1;
};

} // namespace qm
