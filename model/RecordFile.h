#pragma once
// Whole-record file reading and atomic writing, shared by maps and GeoSets.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace qm {

// A file error whose message names the file and gives the system's reason.
class TFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that opened but does not hold one whole record.
class TNotARecordError : public TFileError {
public:
    using TFileError::TFileError;
};

// "Cannot open file "%s". %s"
std::string CannotOpenMessage(const std::string& path, const std::string& reason);
// "Cannot create file "%s". %s"
std::string CannotCreateMessage(const std::string& path, const std::string& reason);

// Reads up to `size` bytes from the start of a regular file into a scratch buffer and,
// only when reading succeeded, copies what was read over the start of `dest`.
// Returns the number of bytes copied. Throws TFileError.
size_t ReadRecordPrefix(const std::string& path, void* dest, size_t size);

// The same, and `fileLength` is told the file's whole length (which may exceed `size`).
size_t ReadRecordPrefix(const std::string& path, void* dest, size_t size, uint64_t& fileLength);

// "<name> is not a Quillmarch <kind> (<length> bytes)": a file that is not one whole record.
std::string NotARecordMessage(const std::string& name, const std::string& kind, uint64_t length);

// Writes `size` bytes to `path` through a temporary file in the same folder: write,
// flush to disk, rename over the target. On any failure the temporary file is
// removed, the old file is untouched, and TFileError is thrown.
void WriteFileAtomic(const std::string& path, const void* data, size_t size);

// A file being written: bytes go to a temporary file beside the target, and only
// Commit() puts it in place. Destroying it uncommitted removes the temporary file.
// Every failure throws TFileError with the target's name and the system's reason.
class TAtomicFile {
public:
    // syncToDisk false skips the flush to disk before the rename: the file then survives
    // the end of the process but not necessarily a power cut, and Commit takes
    // microseconds instead of milliseconds (recovery copies written while the user works).
    explicit TAtomicFile(const std::string& path, bool syncToDisk = true);
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    void Write(const void* data, size_t size);
    // Flushes and closes the temporary file: what is left to fail after it is the rename.
    // Files written as one (a map and its key) are all finished before any is committed.
    void Finish();
    void Commit();
    const std::string& Path() const { return path_; }

private:
    [[noreturn]] void Fail(int err);
    std::string path_;
    std::string temp_;
    int fd_ = -1;
    long written_ = 0;
    bool sync_ = true;
    bool finished_ = false;
};

// Test seam: when set, the atomic writer fails after writing this many bytes, as a
// disk would in the middle of a write (errno EIO).
void SetWriteFailureAfterForTesting(long bytes); // negative = off

} // namespace qm
