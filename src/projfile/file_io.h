#pragma once
// Files of the project-file library: reading through a stream, and writing a whole file or
// nothing. Failures are reported as file-error causes (see GetFileErrorText).

#include <cstddef>
#include <ctime>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>

namespace pfsetup {

// A file opened for reading, as a stream of its bytes (line ends are the reader's business).
class InputFile {
public:
    InputFile();
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // 0, or the cause of the failure (a directory cannot be read: 5).
    int Open(const std::string& path);
    std::istream& Stream() { return stream_; }

private:
    class Buffer;
    std::unique_ptr<Buffer> buffer_;
    std::istream stream_;
};

// Writes `target` whole or not at all: Begin creates a temporary file beside it, Stream()
// writes into that file, Commit flushes it to disk, gives it the old file's mode and renames it
// over the target. Whatever fails, and an AtomicFile destroyed before Commit, removes the
// temporary file and leaves the target as it was. A symbolic link is written through; a
// target the user may not write is refused as opening it for writing would be.
class AtomicFile {
public:
    explicit AtomicFile(std::string target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // 0, or the cause of the failure.
    int Begin();
    std::ostream& Stream() { return stream_; }
    // The temporary file's modification time; false when its status cannot be read.
    bool ModificationTime(std::time_t& time) const;
    // 0, or the cause of the failure (of a write, the flush, or the rename).
    int Commit();

private:
    class Buffer;
    void Discard();

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    std::unique_ptr<Buffer> buffer_;
    std::ostream stream_;
};

// A failure to simulate in AtomicFile, for tests of the rollback: creating the temporary
// file, writing past `afterBytes` bytes (a full disk), or the rename, each failing with
// `error` (an errno value).
struct WriteFault {
    enum Stage { CreateTemporary, Write, Rename };
    Stage stage = Write;
    int error = 0;
    std::size_t afterBytes = 0;
};
// Every AtomicFile fails as described until the fault is cleared with std::nullopt.
void SetWriteFaultForTesting(std::optional<WriteFault> fault);

} // namespace pfsetup
