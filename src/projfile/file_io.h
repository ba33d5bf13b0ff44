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
#include <string_view>

#include "base/error_record.h"
#include "projfile/file_lock.h"

namespace pfsetup {

// The library's own reasons, beside errno values (which are positive).
constexpr int kNotRegularFile = -1;       // a FIFO, a device or a socket
constexpr int kFileTooLarge = -2;         // larger than MaxProjectFileSize()
constexpr int kLockTimeout = -3;          // another writer held the file's lock too long
constexpr int kInstalledFile = -4;        // a file of the installation (installed_files.h)
constexpr int kLockFileUnusable = -5;     // the lock file is not one writers make
constexpr int kDirectoryNotWritable = -6; // the folder where the new file is written
constexpr int kBadLimit = -7;             // the environment sets a limit that is no number

// The file-error text of the error (GetFileErrorText of its cause), followed by what the system
// said in parentheses: "The disk is full. (No space left on device)". The library's own
// reasons say what they concern: the installed file, the lock file, the folder, the variable.
std::string DescribeFileError(int error);
// What the system says of an errno value, the same in every locale: "Permission denied".
std::string SystemErrorText(int error);
// What the library's own reason concerns, kept for DescribeFileError by whoever returns it:
// for kInstalledFile and kLockFileUnusable the text in its parentheses, for
// kDirectoryNotWritable the folder.
void SetFileErrorDetail(std::string detail);
// The error of creating a file beside `target`: a refusal of the system (EACCES, EPERM) is
// kDirectoryNotWritable, naming the folder; anything else stays as it is.
int FolderError(int error, const std::string& target);
// The record of a failed read or (`writing`) write of `file`, as the caller named it: its kind,
// what went wrong in a person's words ("no such file", "cannot write" with the system's
// cause, the folder that must be writable), and `text`, the library's message for hosts.
ErrorRecord FileErrorRecord(const std::string& file, int error, bool writing,
                            std::string text = std::string());

// The largest text the project model holds: its lengths, offsets and line numbers are 32-bit,
// and no file larger than this is read or written, whatever the limit below says.
constexpr std::uint64_t kLargestModelText = std::uint64_t{2047} << 20;
// The longest a writer waits for another's lock, in seconds (a day).
constexpr double kLongestLockWait = 86400;

// Sizes and times as the environment and the tool's options give them, read strictly: a size
// is digits with an optional K, M or G (1024, 1024^2, 1024^3 bytes), from 1 byte to
// kLargestModelText; a time is digits with at most one decimal point, from 0 to 86400 seconds.
// True with the number, or false with what is wrong (kind Value, key `name`, the text).
bool ParseFileSize(const std::string& name, const std::string& text, std::uint64_t& bytes,
                   ErrorRecord& problem);
bool ParseSeconds(const std::string& name, const std::string& text, double& seconds,
                  ErrorRecord& problem);
// The first limit of the environment (PFSETUP_MAX_FILE_SIZE, PFSETUP_LOCK_TIMEOUT) that holds no
// valid number, or a record of kind None. A variable set to nothing counts as not set.
ErrorRecord EnvironmentLimitsProblem();

// The lock timeout the environment sets: `fallback` when PFSETUP_LOCK_TIMEOUT is not set,
// std::nullopt when it holds no valid time.
std::optional<double> EnvironmentLockTimeout(double fallback);

// The largest file read or written: 1 GiB unless the environment variable
// PFSETUP_MAX_FILE_SIZE gives another size or a host set one; std::nullopt when the variable
// holds no valid size (reads and writes then fail with kBadLimit).
std::optional<std::uint64_t> MaxProjectFileSize();
// A limit set by a host; std::nullopt goes back to the environment and the default. False
// (nothing changed) for 0 or more than kLargestModelText.
bool SetMaxProjectFileSize(std::optional<std::uint64_t> bytes);

// Reads the whole regular file at `path` into `text`: 0, or the error (a read that fails half
// way is an error, never a short file). The first form reads into a buffer that is not
// initialised before the read fills it (the reader's path for large files).
int ReadWholeFile(const std::string& path, std::unique_ptr<char[]>& data, std::size_t& size);
int ReadWholeFile(const std::string& path, std::string& text);

// Who a file is now: device, inode, size and modification time (nanoseconds), all 0 when it
// cannot be told (no such file). A write by rename makes a new inode, so any save shows.
// Symbolic links are followed.
struct FileIdentity {
    unsigned long long device = 0, inode = 0, size = 0, modified = 0;
    bool operator==(const FileIdentity& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified == other.modified;
    }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};
FileIdentity IdentityOf(const std::string& path);
// The identity of a project held in memory: its text's hash and size, on no device, so that a
// changed text shows as a changed file does.
FileIdentity IdentityOfText(std::string_view text);
// Whether both paths name one existing file (device and inode), by whatever links.
bool SameFile(const std::string& a, const std::string& b);

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
// group (as far as the process may set them) and renames it over the target. The rename
// replaces the target: other hard links to it keep the old text. Whatever fails (also a text
// larger than MaxProjectFileSize(), which could not be read back), and an AtomicFile destroyed
// before Commit, removes the temporary and leaves the target as it was. A symbolic link is
// written through, also one whose target does not exist yet. Named temporaries of the target
// that a killed writer left are removed by Begin: with the lock held, no other writer can be
// at work on it.
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
    std::uint64_t limit_ = 0;
    ProjectLock lock_;
    int fd_ = -1;
    std::unique_ptr<Buffer> buffer_;
    std::ostream stream_;
};

// The file a write to `path` lands in: `path` with its symbolic links followed, also a last
// link that points to nowhere yet. 0, or the error (ELOOP for a cycle).
int ResolveWriteTarget(const std::string& path, std::string& target);
// The folder and the name of a path: "d/p.cpm" gives "d" and "p.cpm", "p.cpm" gives ".".
std::string DirectoryOf(const std::string& path);
std::string BaseOf(const std::string& path);

// The names of temporaries beside `target`: ".NAME.tmp-HOST-PID-N". Whether `name` (a name in
// the target's folder) is one, of any host and process: only those are ever removed.
std::string TemporaryName(const std::string& target, unsigned attempt);
bool IsTemporaryOf(const std::string& name, const std::string& target);

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
