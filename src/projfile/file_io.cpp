#include "projfile/file_io.h"

#include "base/large_pages.h"
#include "base/module_state.h"
#include "projfile/spi_messages.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <locale.h>
#include <new>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace pfsetup {

namespace {

std::optional<WriteFault> g_fault;
std::optional<std::uint64_t> g_maxFileSize;
std::string g_detail; // what the last of the library's own reasons concerned
const ModuleStateReset g_reset([] {
    g_fault.reset();
    g_maxFileSize.reset();
    g_detail.clear();
});

constexpr std::uint64_t kDefaultMaxFileSize = std::uint64_t{1} << 30;
constexpr std::size_t kBufferSize = std::size_t{64} * 1024;
constexpr int kMaxLinks = 40;
constexpr const char* kSizeVariable = "PFSETUP_MAX_FILE_SIZE";
constexpr const char* kTimeVariable = "PFSETUP_LOCK_TIMEOUT";

bool IsHostByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

bool Faulted(WriteFault::Stage stage, int& error) {
    if (g_fault && g_fault->stage == stage) {
        error = g_fault->error;
        return true;
    }
    return false;
}

std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "localhost";
    }
    // Only the bytes IsTemporaryOf takes for a host's name.
    std::string host = name;
    for (char& c : host) {
        if (!IsHostByte(c)) {
            c = '_';
        }
    }
    return host;
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Removes the temporaries of `target` that writers left (killed before their rename): called
// with the target's lock held, when no other writer is at work on it. Only regular files of
// the exact form writers make go.
void RemoveStaleTemporaries(const std::string& target) {
    DIR* listing = ::opendir(DirectoryOf(target).c_str());
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        struct stat info {};
        if (IsTemporaryOf(entry->d_name, target) &&
            ::fstatat(::dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            ::unlinkat(::dirfd(listing), entry->d_name, 0);
        }
    }
    ::closedir(listing);
}

} // namespace

void SetWriteFaultForTesting(std::optional<WriteFault> fault) {
    g_fault = fault;
}

void SetFileErrorDetail(std::string detail) {
    g_detail = std::move(detail);
}

std::string DescribeFileError(int error) {
    switch (error) {
    case 0:
        return GetFileErrorText(0);
    case kNotRegularFile:
        return GetFileErrorText(5) + " (not a regular file)";
    case kFileTooLarge:
        return GetFileErrorText(5) +
               Format(" (larger than %llu bytes; PFSETUP_MAX_FILE_SIZE sets the limit)",
                      static_cast<unsigned long long>(MaxProjectFileSize().value_or(0)));
    case kLockTimeout:
        return GetFileErrorText(12) +
               Format(" (another program is writing it%s%s; gave up after %g s; lock file %s)",
                      LastLockHolder().empty() ? "" : ": ", LastLockHolder().c_str(),
                      LockTimeout().value_or(0), LastLockFile().c_str());
    case kInstalledFile:
    case kLockFileUnusable:
        return GetFileErrorText(5) + " (" + g_detail + ")";
    case kDirectoryNotWritable:
        return "The folder " + g_detail +
               " must be writable for a safe save: the file is replaced by a new one written "
               "beside it. (Permission denied)";
    case kBadLimit:
        return DescribeError(EnvironmentLimitsProblem());
    default:
        break;
    }
    return GetFileErrorText(FileErrorCause(error)) + " (" + SystemErrorText(error) + ")";
}

std::string SystemErrorText(int error) {
    // strerror in the "C" locale: the same text whatever the process locale says.
    const locale_t c = ::newlocale(LC_ALL_MASK, "C", nullptr);
    std::string system = c ? ::strerror_l(error, c) : std::to_string(error);
    if (c) {
        ::freelocale(c);
    }
    return system;
}

ErrorRecord FileErrorRecord(const std::string& file, int error, bool writing, std::string text) {
    ErrorRecord record = error == kBadLimit ? EnvironmentLimitsProblem() : ErrorRecord();
    record.file = file;
    record.text = std::move(text);
    if (error == kBadLimit) {
        return record;
    }
    record.kind = ErrorKind::Access;
    switch (error) {
    case kInstalledFile:
        record.kind = ErrorKind::Protected;
        record.problem = g_detail;
        return record;
    case kLockFileUnusable:
        record.problem = g_detail;
        return record;
    case kDirectoryNotWritable:
        record.problem = "the folder " + g_detail + " must be writable for a safe save";
        record.systemError = EACCES;
        return record;
    case kNotRegularFile:
        record.problem = "not a regular file";
        return record;
    case kFileTooLarge:
        record.kind = ErrorKind::Resource;
        record.problem = "too large";
        record.allowed =
            Format("allowed: at most %llu bytes (PFSETUP_MAX_FILE_SIZE sets the limit)",
                   static_cast<unsigned long long>(MaxProjectFileSize().value_or(0)));
        return record;
    case kLockTimeout:
        record.kind = ErrorKind::Locked;
        record.problem = Format("another program is writing it%s%s; gave up after %g s (lock "
                                "file %s)",
                                LastLockHolder().empty() ? "" : ": ", LastLockHolder().c_str(),
                                LockTimeout().value_or(0), LastLockFile().c_str());
        return record;
    case EISDIR:
        record.problem = "is a directory";
        return record;
    case EEXIST:
        record.kind = ErrorKind::Exists;
        record.problem = "already exists";
        return record;
    case ENOENT:
    case ENOTDIR:
        record.kind = ErrorKind::NotFound;
        if (!writing && error == ENOENT) {
            record.problem = "no such file";
            return record;
        }
        break;
    case ENOSPC:
    case EDQUOT:
    case ENOMEM:
    case EFBIG:
    case EMFILE:
    case ENFILE:
        record.kind = ErrorKind::Resource;
        break;
    default:
        break;
    }
    record.problem = writing ? "cannot write" : "cannot read";
    record.systemError = error > 0 ? error : 0;
    return record;
}

namespace {

ErrorRecord ValueProblem(const std::string& name, const std::string& text, const char* problem,
                         std::string allowed) {
    ErrorRecord record;
    record.kind = ErrorKind::Value;
    record.key = name;
    record.value = text;
    record.problem = problem;
    record.allowed = std::move(allowed);
    return record;
}

} // namespace

bool ParseFileSize(const std::string& name, const std::string& text, std::uint64_t& bytes,
                   ErrorRecord& problem) {
    const char unit = text.empty() ? '\0' : AsciiUpper(text.back());
    const int shift = unit == 'K' ? 10 : unit == 'M' ? 20 : unit == 'G' ? 30 : 0;
    const std::string_view digits =
        std::string_view(text).substr(0, text.size() - (shift != 0 ? 1 : 0));
    const std::uint64_t largest = kLargestModelText >> shift;
    std::uint64_t number = 0;
    for (std::size_t i = 0; i < digits.size() && number <= largest; ++i) {
        number = number * 10 + static_cast<std::uint64_t>(digits[i] - '0');
    }
    const char* wrong = !AllDigits(digits)                ? "not a size in bytes"
                        : number == 0 || number > largest ? "out of range"
                                                          : nullptr;
    if (wrong != nullptr) {
        problem = ValueProblem(name, text, wrong,
                               Format("allowed: digits with an optional K, M or G, from 1 to %lluM",
                                      static_cast<unsigned long long>(kLargestModelText >> 20)));
        return false;
    }
    bytes = number << shift;
    return true;
}

bool ParseSeconds(const std::string& name, const std::string& text, double& seconds,
                  ErrorRecord& problem) {
    const std::size_t point = text.find('.');
    const std::string_view whole = std::string_view(text).substr(0, point);
    const std::string_view fraction =
        point == std::string::npos ? std::string_view() : std::string_view(text).substr(point + 1);
    const bool number = (whole.empty() || AllDigits(whole)) &&
                        (fraction.empty() || AllDigits(fraction)) &&
                        whole.size() + fraction.size() > 0;
    // Digits and one point only, so strtod (in the "C" locale's form) reads all of it.
    double value = 0;
    if (number) {
        const locale_t c = ::newlocale(LC_ALL_MASK, "C", nullptr);
        value = c ? ::strtod_l(text.c_str(), nullptr, c) : 0;
        if (c) {
            ::freelocale(c);
        }
    }
    const char* wrong = !number                        ? "not a number of seconds"
                        : !(value <= kLongestLockWait) ? "out of range"
                                                       : nullptr;
    if (wrong != nullptr) {
        problem = ValueProblem(
            name, text, wrong,
            Format("allowed: a decimal number of seconds from 0 to %g", kLongestLockWait));
        return false;
    }
    seconds = value;
    return true;
}

namespace {

// The variable's value, or nullptr when it is not set or set to nothing.
const char* Variable(const char* name) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? text : nullptr;
}

} // namespace

ErrorRecord EnvironmentLimitsProblem() {
    ErrorRecord problem;
    std::uint64_t bytes = 0;
    double seconds = 0;
    if (const char* size = Variable(kSizeVariable);
        size != nullptr && !ParseFileSize(kSizeVariable, size, bytes, problem)) {
        return problem;
    }
    if (const char* time = Variable(kTimeVariable);
        time != nullptr && !ParseSeconds(kTimeVariable, time, seconds, problem)) {
        return problem;
    }
    return ErrorRecord();
}

std::optional<std::uint64_t> MaxProjectFileSize() {
    if (g_maxFileSize) {
        return *g_maxFileSize;
    }
    const char* text = Variable(kSizeVariable);
    std::uint64_t bytes = kDefaultMaxFileSize;
    ErrorRecord problem;
    if (text != nullptr && !ParseFileSize(kSizeVariable, text, bytes, problem)) {
        return std::nullopt;
    }
    return bytes;
}

bool SetMaxProjectFileSize(std::optional<std::uint64_t> bytes) {
    if (bytes && (*bytes == 0 || *bytes > kLargestModelText)) {
        return false;
    }
    g_maxFileSize = bytes;
    return true;
}

std::optional<double> EnvironmentLockTimeout(double fallback) {
    const char* text = Variable(kTimeVariable);
    double seconds = fallback;
    ErrorRecord problem;
    if (text != nullptr && !ParseSeconds(kTimeVariable, text, seconds, problem)) {
        return std::nullopt;
    }
    return seconds;
}

int ReadWholeFile(const std::string& path, std::unique_ptr<char[]>& data, std::size_t& size) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer before it is refused.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return errno;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return errno;
    }
    if (S_ISDIR(info.st_mode)) {
        return EISDIR;
    }
    if (!S_ISREG(info.st_mode)) {
        return kNotRegularFile;
    }
    const std::optional<std::uint64_t> maximum = MaxProjectFileSize();
    if (!maximum) {
        return kBadLimit;
    }
    const std::uint64_t limit = *maximum;
    if (static_cast<std::uint64_t>(info.st_size) > limit) {
        return kFileTooLarge;
    }
    try {
        // One byte more than the status says, so a file that grew is noticed.
        std::size_t capacity = static_cast<std::size_t>(info.st_size) + 1;
        std::unique_ptr<char[]> buffer(new char[capacity]);
        pfsetup::AskForLargePages(buffer.get(), capacity);
        std::size_t done = 0;
        for (;;) {
            if (done == capacity) {
                if (done > limit) {
                    return kFileTooLarge;
                }
                const std::size_t grown = capacity + std::max<std::size_t>(capacity, kBufferSize);
                std::unique_ptr<char[]> larger(new char[grown]);
                std::memcpy(larger.get(), buffer.get(), done);
                buffer = std::move(larger);
                capacity = grown;
            }
            std::size_t count = capacity - done;
            int injected = 0;
            if (Faulted(WriteFault::Read, injected)) {
                if (done >= g_fault->afterBytes) {
                    return injected;
                }
                count = std::min(count, g_fault->afterBytes - done);
            }
            const ssize_t got = ::read(fd, buffer.get() + done, count);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return errno;
            }
            if (got == 0) {
                break;
            }
            done += static_cast<std::size_t>(got);
        }
        if (done > limit) {
            return kFileTooLarge;
        }
        data = std::move(buffer);
        size = done;
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
    return 0;
}

int ReadWholeFile(const std::string& path, std::string& text) {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    const int error = ReadWholeFile(path, data, size);
    if (error != 0) {
        return error;
    }
    try {
        text.assign(data.get(), size);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
    return 0;
}

bool SameFile(const std::string& a, const std::string& b) {
    const FileIdentity first = IdentityOf(a);
    const FileIdentity second = IdentityOf(b);
    return first.inode != 0 && first.device == second.device && first.inode == second.inode;
}

FileIdentity IdentityOf(const std::string& path) {
    FileIdentity identity;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        identity.device = static_cast<unsigned long long>(info.st_dev);
        identity.inode = static_cast<unsigned long long>(info.st_ino);
        identity.size = static_cast<unsigned long long>(info.st_size);
        identity.modified = static_cast<unsigned long long>(info.st_mtim.tv_sec) * 1000000000ull +
                            static_cast<unsigned long long>(info.st_mtim.tv_nsec);
    }
    return identity;
}

FileIdentity IdentityOfText(std::string_view text) {
    FileIdentity identity;
    identity.device = ~0ull; // no file system numbers its devices so
    identity.inode = std::hash<std::string_view>{}(text) | 1;
    identity.size = text.size();
    return identity;
}

int InputFile::Open(const std::string& path) {
    std::string text;
    const int error = ReadWholeFile(path, text);
    if (error != 0) {
        return error;
    }
    stream_.str(text);
    stream_.clear();
    return 0;
}

int FolderError(int error, const std::string& target) {
    if (error != EACCES && error != EPERM) {
        return error;
    }
    SetFileErrorDetail(DirectoryOf(target));
    return kDirectoryNotWritable;
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TemporaryName(const std::string& target, unsigned attempt) {
    static std::minstd_rand generator(static_cast<unsigned>(::getpid()) ^
                                      static_cast<unsigned>(std::time(nullptr)));
    const std::string dir = DirectoryOf(target);
    return (dir == "/" ? "" : dir) + "/." + BaseOf(target) + ".tmp-" + HostName() + "-" +
           std::to_string(::getpid()) + "-" + std::to_string(generator() + attempt);
}

bool IsTemporaryOf(const std::string& name, const std::string& target) {
    const std::string prefix = "." + BaseOf(target) + ".tmp-";
    if (name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    // HOST-PID-N, read from the end: the host's name may hold '-'.
    const std::string_view rest = std::string_view(name).substr(prefix.size());
    const std::size_t last = rest.rfind('-');
    if (last == std::string_view::npos || last == 0 || !AllDigits(rest.substr(last + 1))) {
        return false;
    }
    const std::size_t pid = rest.rfind('-', last - 1);
    if (pid == std::string_view::npos || pid == 0 ||
        !AllDigits(rest.substr(pid + 1, last - pid - 1))) {
        return false;
    }
    const std::string_view host = rest.substr(0, pid);
    return std::all_of(host.begin(), host.end(), IsHostByte);
}

int ResolveWriteTarget(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return 0;
        }
        std::vector<char> link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0) {
            return errno;
        }
        if (static_cast<std::size_t>(length) >= link.size()) {
            return ENAMETOOLONG; // the link changed while it was read
        }
        std::string next(link.data(), static_cast<std::size_t>(length));
        if (next.empty()) {
            return ENOENT;
        }
        if (next[0] != '/') {
            const std::string dir = DirectoryOf(target);
            next = (dir == "/" ? "" : dir) + "/" + next;
        }
        target = std::move(next);
    }
    return ELOOP;
}

class AtomicFile::Buffer : public std::streambuf {
public:
    Buffer(int fd, std::uint64_t limit) : fd_(fd), limit_(limit), data_(kBufferSize) {
        setp(data_.data(), data_.data() + data_.size());
    }
    int Error() const { return error_; }

protected:
    int_type overflow(int_type c) override {
        if (!Drain()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Drain() ? 0 : -1; }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        // Large pieces go straight to the file, past the buffer.
        if (count >= static_cast<std::streamsize>(data_.size())) {
            if (!Drain() || !WriteAll(text, static_cast<std::size_t>(count))) {
                return 0;
            }
            return count;
        }
        return std::streambuf::xsputn(text, count);
    }

private:
    bool Drain() {
        if (error_ != 0) {
            return false;
        }
        if (!WriteAll(pbase(), static_cast<std::size_t>(pptr() - pbase()))) {
            return false;
        }
        setp(data_.data(), data_.data() + data_.size());
        return true;
    }
    bool WriteAll(const char* from, std::size_t size) {
        // What the reader would refuse is not written.
        if (size > limit_ - std::min<std::uint64_t>(written_, limit_)) {
            error_ = kFileTooLarge;
            return false;
        }
        const char* to = from + size;
        while (from < to) {
            std::size_t count = static_cast<std::size_t>(to - from);
            int injected = 0;
            if (Faulted(WriteFault::Write, injected)) {
                const std::size_t room =
                    g_fault->afterBytes > written_ ? g_fault->afterBytes - written_ : 0;
                if (room == 0) {
                    error_ = injected;
                    return false;
                }
                count = count < room ? count : room;
            }
            const ssize_t done = ::write(fd_, from, count);
            if (done < 0) {
                if (errno == EINTR) {
                    continue;
                }
                error_ = errno;
                return false;
            }
            from += done;
            written_ += static_cast<std::size_t>(done);
        }
        return true;
    }

    int fd_;
    std::uint64_t limit_;
    std::vector<char> data_;
    std::size_t written_ = 0;
    int error_ = 0;
};

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)), stream_(nullptr) {}

AtomicFile::~AtomicFile() {
    Discard();
}

void AtomicFile::Discard() {
    stream_.rdbuf(nullptr);
    buffer_.reset();
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    lock_.Release();
}

int AtomicFile::Begin() {
    Discard();
    std::string resolved;
    if (const int error = ResolveWriteTarget(target_, resolved); error != 0) {
        return error;
    }
    target_ = std::move(resolved);
    int error = 0;
    if (Faulted(WriteFault::CreateTemporary, error)) {
        return error;
    }
    const std::optional<std::uint64_t> limit = MaxProjectFileSize();
    if (!limit) {
        return kBadLimit;
    }
    limit_ = *limit;
    struct stat old {};
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        return EISDIR;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        return kNotRegularFile;
    }
    // A file the user may not write stays unwritten, although the rename could replace it.
    if (exists && ::access(target_.c_str(), W_OK) != 0) {
        return errno;
    }
    if (const int locked = lock_.Acquire(target_); locked != 0) {
        return locked;
    }
    RemoveStaleTemporaries(target_);
    // 0666 lets the umask decide the mode of a new file, as for any created file.
    fd_ = ::open(DirectoryOf(target_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        // A file system without unnamed temporaries: a named one, removed on every failure.
        for (unsigned attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            const std::string name = TemporaryName(target_, attempt);
            fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                temporary_ = name;
            } else if (errno != EEXIST) {
                return FolderError(errno, target_);
            }
        }
        if (fd_ < 0) {
            return EEXIST;
        }
    }
    if (exists) {
        // Root saving a user's file leaves it the user's; others keep what they may.
        if (::fchown(fd_, old.st_uid, old.st_gid) != 0) {
            [[maybe_unused]] const int ignored = ::fchown(fd_, static_cast<uid_t>(-1), old.st_gid);
        }
        ::fchmod(fd_, old.st_mode & 07777);
    }
    buffer_ = std::make_unique<Buffer>(fd_, limit_);
    stream_.rdbuf(buffer_.get());
    stream_.clear();
    return 0;
}

bool AtomicFile::ModificationTime(std::time_t& time) const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) {
        return false;
    }
    time = info.st_mtime;
    return true;
}

int AtomicFile::Commit() {
    if (fd_ < 0) {
        return EBADF;
    }
    int error = 0;
    stream_.flush();
    if (buffer_->Error() != 0) {
        error = buffer_->Error();
    } else if (!stream_) {
        error = EIO;
    } else if (::fsync(fd_) != 0) {
        error = errno;
    }
    if (error == 0 && temporary_.empty()) {
        // An unnamed temporary gets its name only now, complete, right before the rename.
        const std::string proc = "/proc/self/fd/" + std::to_string(fd_);
        for (unsigned attempt = 0; attempt < 100; ++attempt) {
            const std::string name = TemporaryName(target_, attempt);
            if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
                ::linkat(fd_, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) {
                temporary_ = name;
                break;
            }
            if (errno != EEXIST) {
                error = errno;
                break;
            }
        }
        if (error == 0 && temporary_.empty()) {
            error = EEXIST;
        }
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && !Faulted(WriteFault::Rename, error) &&
        ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        Discard();
        return error;
    }
    temporary_.clear();
    Discard();
    // The rename itself reaches the disk with the directory.
    const int dir = ::open(DirectoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

} // namespace pfsetup
