#pragma once
// Files of the project-file library: reading a whole file at once, and writing a whole file or
// nothing. Only regular files are read or written: a FIFO, a device or a directory given as a
// project path is refused at once, so a read never blocks and a save never replaces a device.
//
// Failures are reported as error numbers: an errno value, or one of the library's own reasons
// below; DescribeFileError turns either into the text messages show.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "base/error_record.h"
#include "projfile/file_lock.h"

namespace pfsetup {

// The library's own reasons, beside errno values (which are positive).
constexpr int kNotRegularFile = -1; // a FIFO, a device or a socket
constexpr int kFileTooLarge = -2;   // larger than MaxProjectFileSize()
constexpr int kLockTimeout = -3;    // another writer held the file's lock longer than allowed

// The file-error text of the error (GetFileErrorText of its cause), followed by what the system
// said in parentheses: "The disk is full. (No space left on device)".
std::string DescribeFileError(int error);
// The same error as a record about `file`, read or (`writing`) written: "no such file", "not a
// regular file", "cannot write" with the system's cause...
ErrorRecord FileErrorRecord(const std::string& file, int error, bool writing);

// The largest file read: 1 GiB unless the environment variable PFSETUP_MAX_FILE_SIZE gives
// another number of bytes (a K, M or G suffix multiplies by 1024, 1024^2 or 1024^3) or a host
// set one.
std::uint64_t MaxProjectFileSize();
// A limit set by a host; std::nullopt goes back to the environment and the default.
void SetMaxProjectFileSize(std::optional<std::uint64_t> bytes);

// Reads the whole regular file at `path` into `text`: 0, or the error (a read that fails half
// way is an error, never a short file). The first form reads into a buffer that is not
// initialised before the read fills it (the reader's path for large files).
int ReadWholeFile(const std::string& path, std::unique_ptr<char[]>& data, std::size_t& size);
int ReadWholeFile(const std::string& path, std::string& text);

// Who a file is now: device, inode, size and modification time (nanoseconds), all 0 when it
// cannot be told (no such file). A write by rename makes a new inode, so any save shows.
struct FileIdentity {
    unsigned long long device = 0, inode = 0, size = 0, modified = 0;
    bool operator==(const FileIdentity& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified == other.modified;
    }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};
FileIdentity IdentityOf(const std::string& path);

// A file read whole at Open, then handed out as a stream of its bytes.
class InputFile {
public:
    // 0, or the error of ReadWholeFile.
    int Open(const std::string& path);
    std::istream& Stream() { return stream_; }

private:
    std::istringstream stream_;
};

// Writes `target` whole or not at all, holding the target's lock (file_lock.h) from Begin to
// Commit: Begin creates a temporary file beside it (unnamed where
// the file system allows it, so a process killed while writing leaves nothing behind),
// Stream() writes into it, Commit flushes it to disk, gives it the old file's mode, owner and
// group (as far as the process may set them) and renames it over the target. Whatever fails,
// and an AtomicFile destroyed before Commit, removes the temporary and leaves the target as it
// was. A symbolic link is written through, also one whose target does not exist yet. Named
// temporaries of the target that a killed writer left are removed by Begin: with the lock held,
// no other writer can be at work on it.
class AtomicFile {
public:
    explicit AtomicFile(std::string target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // 0, or the error.
    int Begin();
    std::ostream& Stream() { return stream_; }
    // The temporary file's modification time; false when its status cannot be read.
    bool ModificationTime(std::time_t& time) const;
    // 0, or the error (of a write, the flush, or the rename).
    int Commit();
    // The file the rename replaces: the target with its symbolic links followed.
    const std::string& Target() const { return target_; }

private:
    class Buffer;
    void Discard();

    std::string target_;
    std::string temporary_; // empty while the temporary has no name
    ProjectLock lock_;
    int fd_ = -1;
    std::unique_ptr<Buffer> buffer_;
    std::ostream stream_;
};

// The file a write to `path` lands in: `path` with its symbolic links followed, also a last
// link that points to nowhere yet. 0, or the error (ELOOP for a cycle).
int ResolveWriteTarget(const std::string& path, std::string& target);

// A failure to simulate, for tests of the rollback: in AtomicFile creating the temporary file,
// writing past `afterBytes` bytes (a full disk), or the rename; in ReadWholeFile reading past
// `afterBytes` bytes (an I/O error, memory exhausted); each failing with `error` (an errno
// value).
struct WriteFault {
    enum Stage { CreateTemporary, Write, Rename, Read };
    Stage stage = Write;
    int error = 0;
    std::size_t afterBytes = 0;
};
// Every AtomicFile or read fails as described until the fault is cleared with std::nullopt.
void SetWriteFaultForTesting(std::optional<WriteFault> fault);

} // namespace pfsetup
