#include "projfile/file_lock.h"

#include "base/module_state.h"
#include "projfile/file_io.h"
#include "projfile/spi_text.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace pfsetup {

namespace {

constexpr double kDefaultTimeout = 5.0;

std::optional<double> g_timeout;
std::string g_lastHolder;
std::string g_lastLockFile;

struct HeldLock {
    int fd = -1;
    int count = 0;
    std::string file;
};

// The locks this process holds, by resolved target.
std::map<std::string, HeldLock>& HeldLocks() {
    static std::map<std::string, HeldLock> held;
    return held;
}

// A reset lets go of the locks still held, as the end of the process would; a ProjectLock
// that held one then releases nothing.
const ModuleStateReset g_reset([] {
    for (const auto& held : HeldLocks()) {
        ::unlink(held.second.file.c_str());
        ::close(held.second.fd);
    }
    HeldLocks().clear();
    g_timeout.reset();
    g_lastHolder.clear();
    g_lastLockFile.clear();
});

// Tries the lock once: 0 when taken, EAGAIN when another holds it, else the error.
int TryLock(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
#ifdef F_OFD_SETLK
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) {
        return 0;
    }
    if (errno != EINVAL) {
        return errno == EACCES ? EAGAIN : errno;
    }
    lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
#endif
    // A kernel without open-file-description locks: a process lock, which the registry of held
    // locks keeps from being taken or released twice.
    if (::fcntl(fd, F_SETLK, &lock) == 0) {
        return 0;
    }
    return errno == EACCES ? EAGAIN : errno;
}

std::string ReadHolder(int fd) {
    char text[256] = {};
    const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
    if (got <= 0) {
        return std::string();
    }
    std::string holder(text, static_cast<std::size_t>(got));
    while (!holder.empty() && IsSpaceByte(holder.back())) {
        holder.pop_back();
    }
    return holder;
}

void WriteHolder(int fd) {
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0) {
        host[0] = '\0';
    }
    const std::string text =
        Format("process %ld on %s\n", static_cast<long>(::getpid()), host[0] ? host : "?");
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t ignored = ::pwrite(fd, text.data(), text.size(), 0);
    }
}

} // namespace

double LockTimeout() {
    if (g_timeout) {
        return *g_timeout;
    }
    if (const char* text = std::getenv("PFSETUP_LOCK_TIMEOUT")) {
        char* end = nullptr;
        const double seconds = std::strtod(text, &end);
        if (end != text && *end == '\0' && seconds >= 0 && seconds < 1e6) {
            return seconds;
        }
    }
    return kDefaultTimeout;
}

void SetLockTimeout(std::optional<double> seconds) {
    g_timeout = seconds;
}

const std::string& LastLockHolder() {
    return g_lastHolder;
}

const std::string& LastLockFile() {
    return g_lastLockFile;
}

std::string LockFileOf(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    if (slash == std::string::npos) {
        return "." + target + ".lock";
    }
    return target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".lock";
}

int ProjectLock::Acquire(const std::string& target) {
    Release();
    std::string resolved;
    if (const int error = ResolveWriteTarget(target, resolved); error != 0) {
        return error;
    }
    auto& held = HeldLocks();
    if (const auto found = held.find(resolved); found != held.end()) {
        ++found->second.count;
        key_ = resolved;
        return 0;
    }
    const std::string lockFile = LockFileOf(resolved);
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(LockTimeout()));
    auto pause = std::chrono::milliseconds(2);
    for (;;) {
        int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0) {
            // Everyone who may write the project may take its lock: the lock file gets the
            // project's permissions (a new project: those the umask leaves).
            struct stat project {};
            if (::stat(resolved.c_str(), &project) == 0) {
                ::fchmod(fd, project.st_mode & 0666);
            }
        } else if (errno == EEXIST) {
            fd = ::open(lockFile.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
            if (fd < 0 && errno == ENOENT) {
                continue; // its holder just removed it
            }
        }
        if (fd < 0) {
            g_lastLockFile = lockFile;
            return errno;
        }
        const int result = TryLock(fd);
        if (result == 0) {
            // The holder before removed the lock file on release: a lock on a file no longer
            // in the directory excludes nobody, so take the one that is there now.
            struct stat mine {};
            struct stat there {};
            if (::fstat(fd, &mine) == 0 && ::stat(lockFile.c_str(), &there) == 0 &&
                mine.st_dev == there.st_dev && mine.st_ino == there.st_ino) {
                WriteHolder(fd);
                held.emplace(resolved, HeldLock{fd, 1, lockFile});
                key_ = resolved;
                return 0;
            }
            ::close(fd);
            continue;
        }
        if (result != EAGAIN || Clock::now() >= deadline) {
            g_lastHolder = result == EAGAIN ? ReadHolder(fd) : std::string();
            g_lastLockFile = lockFile;
            ::close(fd);
            return result == EAGAIN ? kLockTimeout : result;
        }
        ::close(fd);
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

void ProjectLock::Release() {
    if (key_.empty()) {
        return;
    }
    auto& held = HeldLocks();
    const auto found = held.find(key_);
    if (found != held.end() && --found->second.count == 0) {
        // The lock file goes while it is still locked; a writer waiting on it then sees that it
        // is gone and takes the next one. Closing it releases the lock.
        ::unlink(found->second.file.c_str());
        ::close(found->second.fd);
        held.erase(found);
    }
    key_.clear();
}

} // namespace pfsetup
