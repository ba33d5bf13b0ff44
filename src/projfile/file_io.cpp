#include "projfile/file_io.h"

#include "projfile/spi_messages.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace pfsetup {

namespace {

std::optional<WriteFault> g_fault;

constexpr std::size_t kBufferSize = 64 * 1024;

bool Faulted(WriteFault::Stage stage, int& error) {
    if (g_fault && g_fault->stage == stage) {
        error = g_fault->error;
        return true;
    }
    return false;
}

// The file a write to `target` lands in: the target itself, or what its symbolic link names.
std::string ResolveTarget(const std::string& target) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return target;
    }
    char* resolved = ::realpath(target.c_str(), nullptr);
    if (resolved == nullptr) {
        return target;
    }
    std::string path(resolved);
    std::free(resolved);
    return path;
}

std::string TemporaryName(const std::string& target, unsigned attempt) {
    static std::minstd_rand generator(static_cast<unsigned>(::getpid()) ^
                                      static_cast<unsigned>(std::time(nullptr)));
    const std::size_t slash = target.rfind('/');
    const std::string dir =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    return dir + "." + base + ".tmp" + std::to_string(generator()) + "-" + std::to_string(attempt);
}

} // namespace

void SetWriteFaultForTesting(std::optional<WriteFault> fault) {
    g_fault = fault;
}

class InputFile::Buffer : public std::streambuf {
public:
    explicit Buffer(int fd) : fd_(fd), data_(kBufferSize) {}
    ~Buffer() override { ::close(fd_); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

protected:
    int_type underflow() override {
        if (gptr() < egptr()) {
            return traits_type::to_int_type(*gptr());
        }
        ssize_t got = 0;
        do {
            got = ::read(fd_, data_.data(), data_.size());
        } while (got < 0 && errno == EINTR);
        if (got <= 0) {
            return traits_type::eof();
        }
        setg(data_.data(), data_.data(), data_.data() + got);
        return traits_type::to_int_type(*gptr());
    }

private:
    int fd_;
    std::vector<char> data_;
};

InputFile::InputFile() : stream_(nullptr) {}
InputFile::~InputFile() = default;

int InputFile::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return FileErrorCause(errno);
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return FileErrorCause(EISDIR);
    }
    buffer_ = std::make_unique<Buffer>(fd);
    stream_.rdbuf(buffer_.get());
    stream_.clear();
    return 0;
}

class AtomicFile::Buffer : public std::streambuf {
public:
    explicit Buffer(int fd) : fd_(fd), data_(kBufferSize) {
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

private:
    bool Drain() {
        if (error_ != 0) {
            return false;
        }
        const char* from = pbase();
        const char* to = pptr();
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
        setp(data_.data(), data_.data() + data_.size());
        return true;
    }

    int fd_;
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
}

int AtomicFile::Begin() {
    Discard();
    target_ = ResolveTarget(target_);
    int error = 0;
    if (Faulted(WriteFault::CreateTemporary, error)) {
        return FileErrorCause(error);
    }
    // A file the user may not write stays unwritten, although the rename could replace it.
    if (::access(target_.c_str(), F_OK) == 0 && ::access(target_.c_str(), W_OK) != 0) {
        return FileErrorCause(errno);
    }
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string name = TemporaryName(target_, attempt);
        // 0666 lets the umask decide the mode of a new file, as for any created file.
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            temporary_ = name;
            break;
        }
        if (errno != EEXIST) {
            return FileErrorCause(errno);
        }
    }
    if (fd_ < 0) {
        return FileErrorCause(EEXIST);
    }
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(fd_, old.st_mode & 07777);
    }
    buffer_ = std::make_unique<Buffer>(fd_);
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
        return FileErrorCause(EBADF);
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
        return FileErrorCause(error);
    }
    temporary_.clear();
    Discard();
    return 0;
}

} // namespace pfsetup
