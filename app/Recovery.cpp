#include "app/Recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <unistd.h>

#include "base/Encoding.h"
#include "model/GeoSetRecord.h"
#include "model/MapKey.h"
#include "model/MapRecord.h"
#include "model/RecordFile.h"

namespace qm {

namespace {
const QByteArray Magic = "\n# Quillmarch recovery copy\n";
// Room for the names and a whole map key, percent-encoded.
constexpr qint64 MaxTrailer = 64 * 1024 + 3 * qint64(MaxKeyFileBytes);

QString Suffix(TRecoveryKind kind) { return kind == TRecoveryKind::Map ? "map" : "geo"; }

// Opens (creating) a lock file and takes its lock without waiting; -1 when another
// running instance holds it or the file cannot be opened.
int TryLock(const QString& path) {
    const int fd = ::open(PathBytes(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

QByteArray Trailer(const TRecoveryInfo& info) {
    QByteArray t = Magic;
    t += "file=" + QUrl::toPercentEncoding(info.DocumentPath, "/") + "\n";
    t += "tileset=" + QUrl::toPercentEncoding(info.TilesetName) + "\n";
    t += QByteArray("needs-name=") + (info.NeedsName ? "1" : "0") + "\n";
    t += "saved=" + info.Saved.toUTC().toString(Qt::ISODateWithMs).toLatin1() + "\n";
    if (!info.KeyText.isEmpty()) t += "key=" + QUrl::toPercentEncoding(QString::fromUtf8(info.KeyText)) + "\n";
    return t;
}

bool ParseTrailer(const QByteArray& t, TRecoveryInfo& info) {
    if (!t.startsWith(Magic)) return false;
    bool haveSaved = false;
    for (const QByteArray& line : t.mid(Magic.size()).split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0) continue;
        const QByteArray key = line.left(eq), value = line.mid(eq + 1);
        if (key == "file") info.DocumentPath = QUrl::fromPercentEncoding(value);
        else if (key == "tileset") info.TilesetName = QUrl::fromPercentEncoding(value);
        else if (key == "needs-name") info.NeedsName = value == "1";
        else if (key == "key") info.KeyText = QByteArray::fromPercentEncoding(value);
        else if (key == "saved") {
            info.Saved = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
            haveSaved = info.Saved.isValid();
        }
    }
    return haveSaved;
}
} // namespace

QString DefaultRecoveryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
}

TRecoveryStore::TRecoveryStore(const QString& folder)
    : folder_(folder),
      id_(QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid()).arg(QDateTime::currentMSecsSinceEpoch())),
      writer_([this] { WriterLoop(); }) {}

TRecoveryStore::~TRecoveryStore() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    writer_.join();
    if (lockFd_ >= 0) ::close(lockFd_);
}

QString TRecoveryStore::FileFor(TRecoveryKind kind) const { return folder_ + "/" + id_ + "." + Suffix(kind); }

void TRecoveryStore::SetErrorHandler(std::function<void(const QString&)> handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    onError_ = std::move(handler);
}

void TRecoveryStore::EnsureLocked() {
    if (lockFd_ >= 0) return;
    if (!QDir().mkpath(folder_))
        throw TFileError(CannotCreateMessage(PathBytes(folder_), std::strerror(errno ? errno : EACCES)));
    lockFd_ = TryLock(folder_ + "/" + id_ + ".lock");
    if (lockFd_ < 0)
        throw TFileError(CannotCreateMessage(PathBytes(folder_ + "/" + id_ + ".lock"), std::strerror(errno)));
}

void TRecoveryStore::Write(TRecoveryKind kind, const void* record, size_t size, const TRecoveryInfo& info) {
    QByteArray bytes(static_cast<const char*>(record), qsizetype(size));
    bytes += Trailer(info);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // A newer copy of the same document makes a waiting one pointless.
        for (auto it = jobs_.begin(); it != jobs_.end();) it = it->Kind == kind ? jobs_.erase(it) : it + 1;
        jobs_.push_back({kind, std::move(bytes)});
    }
    wake_.notify_one();
}

void TRecoveryStore::WriterLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
        if (jobs_.empty()) return; // stopping with nothing left to write
        TJob job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        QString error;
        try {
            EnsureLocked();
            // Guards against the end of the process, not of the machine: no flush to
            // disk before the rename.
            TAtomicFile f(PathBytes(FileFor(job.Kind)), false);
            f.Write(job.Bytes.constData(), size_t(job.Bytes.size()));
            f.Commit();
        } catch (const std::exception& e) {
            error = MessageText(e);
        }
        lock.lock();
        busy_ = false;
        if (!error.isEmpty() && onError_) onError_(error);
        idle_.notify_all();
    }
}

void TRecoveryStore::Flush() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void TRecoveryStore::Remove(TRecoveryKind kind) {
    Flush();
    QFile::remove(FileFor(kind));
}

void TRecoveryStore::RemoveAll() {
    Flush();
    QFile::remove(FileFor(TRecoveryKind::Map));
    QFile::remove(FileFor(TRecoveryKind::GeoSet));
    if (lockFd_ >= 0) {
        QFile::remove(folder_ + "/" + id_ + ".lock");
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

TOrphanCopy TRecoveryStore::ReadCopy(const QString& path, TRecoveryKind kind, size_t recordSize) {
    TOrphanCopy c;
    c.Path = path;
    c.Kind = kind;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        c.Error = f.errorString();
        return c;
    }
    const QByteArray all = f.read(qint64(recordSize) + MaxTrailer);
    if (f.error() != QFileDevice::NoError) {
        c.Error = f.errorString();
        return c;
    }
    if (all.size() < qsizetype(recordSize) || !ParseTrailer(all.mid(qsizetype(recordSize)), c.Info)) {
        c.Error = QStringLiteral("It is not a recovery copy (%1 bytes).").arg(all.size());
        return c;
    }
    c.Record = all.left(qsizetype(recordSize));
    return c;
}

std::vector<TOrphanCopy> TRecoveryStore::FindOrphans() const {
    std::vector<TOrphanCopy> found;
    const QDir dir(folder_);
    if (!dir.exists()) return found;
    std::map<QString, std::shared_ptr<int>> locks; // one lock per instance id
    const QFileInfoList files = dir.entryInfoList({QStringLiteral("*.map"), QStringLiteral("*.geo")}, QDir::Files,
                                                  QDir::Time | QDir::Reversed);
    for (const QFileInfo& fi : files) {
        const QString id = fi.completeBaseName();
        if (id == id_) continue;
        auto it = locks.find(id);
        if (it == locks.end()) {
            const int fd = TryLock(dir.filePath(id + ".lock"));
            std::shared_ptr<int> lock;
            if (fd >= 0)
                lock.reset(new int(fd), [](int* p) {
                    ::close(*p);
                    delete p;
                });
            it = locks.emplace(id, lock).first;
        }
        if (!it->second) continue; // its instance is still running
        const bool isMap = fi.suffix() == QLatin1String("map");
        TOrphanCopy c = ReadCopy(fi.filePath(), isMap ? TRecoveryKind::Map : TRecoveryKind::GeoSet,
                                 isMap ? sizeof(TMapRecord) : sizeof(TGeoSetRecord));
        c.Lock = it->second;
        found.push_back(std::move(c));
    }
    return found;
}

void TRecoveryStore::Discard(const TOrphanCopy& copy) {
    QFile::remove(copy.Path);
    const QFileInfo fi(copy.Path);
    QDir dir = fi.absoluteDir();
    const QString id = fi.completeBaseName();
    // A write cut short by the end of its process leaves its temporary file.
    const bool last = !dir.exists(id + ".map") && !dir.exists(id + ".geo");
    const QString temps = "." + (last ? id + ".*" : fi.fileName() + ".*");
    for (const QString& temp : dir.entryList({temps}, QDir::Files | QDir::Hidden)) dir.remove(temp);
    if (last) dir.remove(id + ".lock");
}

} // namespace qm
