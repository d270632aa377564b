#include "model/RecordFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qm {

namespace {
long gFailAfter = -1;

std::string Reason(int err) { return std::strerror(err); }
} // namespace

void SetWriteFailureAfterForTesting(long bytes) { gFailAfter = bytes; }

std::string CannotOpenMessage(const std::string& path, const std::string& reason) {
    return "Cannot open file \"" + path + "\". " + reason;
}

std::string CannotCreateMessage(const std::string& path, const std::string& reason) {
    return "Cannot create file \"" + path + "\". " + reason;
}

std::string NotARecordMessage(const std::string& name, const std::string& kind, uint64_t length) {
    return name + " is not a Quillmarch " + kind + " (" + std::to_string(length) + " bytes)";
}

size_t ReadRecordPrefix(const std::string& path, void* dest, size_t size) {
    uint64_t length = 0;
    return ReadRecordPrefix(path, dest, size, length);
}

size_t ReadRecordPrefix(const std::string& path, void* dest, size_t size, uint64_t& fileLength) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw TFileError(CannotOpenMessage(path, Reason(errno)));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        throw TFileError(CannotOpenMessage(path, Reason(err)));
    }
    // Devices, pipes and folders are refused: they could block or never end.
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw TFileError(CannotOpenMessage(path, S_ISDIR(st.st_mode) ? Reason(EISDIR) : "Not a regular file"));
    }
    // One byte more than the record tells a long file from a whole one, whatever fstat said.
    std::vector<unsigned char> buf(size + 1);
    size_t got = 0;
    while (got < size + 1) {
        ssize_t n = ::read(fd, buf.data() + got, size + 1 - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            throw TFileError(CannotOpenMessage(path, Reason(err)));
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    fileLength = got <= size ? got : std::max<uint64_t>(got, uint64_t(st.st_size));
    got = std::min(got, size);
    std::memcpy(dest, buf.data(), got);
    return got;
}

TAtomicFile::TAtomicFile(const std::string& path, bool syncToDisk) : path_(path), sync_(syncToDisk) {
    std::string dir = ".";
    std::string base = path;
    auto slash = path.find_last_of('/');
    if (slash != std::string::npos) {
        dir = slash == 0 ? "/" : path.substr(0, slash);
        base = path.substr(slash + 1);
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode)) Fail(EISDIR);
        throw TFileError(CannotCreateMessage(path_, "Not a regular file"));
    }
    temp_ = (dir == "/" ? std::string("/") : dir + "/") + "." + base + ".XXXXXX";
    std::vector<char> tmpl(temp_.begin(), temp_.end());
    tmpl.push_back('\0');
    fd_ = ::mkstemp(tmpl.data());
    if (fd_ < 0) {
        temp_.clear();
        Fail(errno);
    }
    temp_ = tmpl.data();
    // Keep the permissions an ordinary new file would get, or the old file's.
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0666 & ~mask;
    if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;
    ::fchmod(fd_, mode);
}

TAtomicFile::~TAtomicFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

void TAtomicFile::Fail(int err) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
    throw TFileError(CannotCreateMessage(path_, Reason(err)));
}

void TAtomicFile::Write(const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        size_t chunk = size;
        if (gFailAfter >= 0) {
            if (written_ >= gFailAfter) Fail(EIO);
            chunk = std::min<size_t>(chunk, static_cast<size_t>(gFailAfter - written_));
        }
        ssize_t n = ::write(fd_, p, chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        p += n;
        size -= static_cast<size_t>(n);
        written_ += n;
    }
}

void TAtomicFile::Finish() {
    if (finished_) return;
    if (sync_ && ::fsync(fd_) != 0) Fail(errno);
    if (::close(fd_) != 0) {
        fd_ = -1;
        Fail(errno);
    }
    fd_ = -1;
    finished_ = true;
}

void TAtomicFile::Commit() {
    Finish();
    if (::rename(temp_.c_str(), path_.c_str()) != 0) Fail(errno);
    temp_.clear();
}

void WriteFileAtomic(const std::string& path, const void* data, size_t size) {
    TAtomicFile f(path);
    f.Write(data, size);
    f.Commit();
}

} // namespace qm
