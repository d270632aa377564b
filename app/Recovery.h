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
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace qm {

enum class TRecoveryKind { Map, GeoSet };

// What the trailer keeps beside the record.
struct TRecoveryInfo {
    QString DocumentPath;    // the file the document belongs to; empty when untitled
    QString TilesetName;     // the record's tileset name, as the record holds it
    bool NeedsName = false;  // Save must ask for a name first
    QDateTime Saved;         // when the copy was written
    QByteArray KeyText = {}; // the map key as its file would hold it; empty for none
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
    ~TRecoveryStore(); // finishes the writes, releases the lock; the copies stay

    TRecoveryStore(const TRecoveryStore&) = delete;
    TRecoveryStore& operator=(const TRecoveryStore&) = delete;

    const QString& Folder() const { return folder_; }
    QString FileFor(TRecoveryKind kind) const;

    // Takes a copy of the record and returns at once: a writer thread of its own puts
    // record + trailer in place atomically (replacing this instance's previous copy),
    // in the order asked, so the disk never holds up the user. A failure is passed to
    // the error handler, on the writer thread.
    void Write(TRecoveryKind kind, const void* record, size_t size, const TRecoveryInfo& info);
    void SetErrorHandler(std::function<void(const QString&)> handler);
    // Waits until every write asked for so far is done.
    void Flush();
    // Removes a copy once the writes before it are done.
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
    struct TJob {
        TRecoveryKind Kind;
        QByteArray Bytes;
    };
    void EnsureLocked();
    void WriterLoop();
    QString folder_;
    QString id_;
    int lockFd_ = -1; // touched by the writer thread only while it is busy

    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<TJob> jobs_;
    bool busy_ = false, stop_ = false;
    std::function<void(const QString&)> onError_;
    std::thread writer_;
};

} // namespace qm
