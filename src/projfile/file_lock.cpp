#include "projfile/file_lock.h"

#include "base/module_state.h"
#include "projfile/file_io.h"
#include "projfile/installed_files.h"
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

// Tries the lock once (a shared one on a lock file this process may only read): 0 when taken,
// EAGAIN when another holds it, else the error.
int TryLock(int fd, bool shared) {
    struct flock lock {};
    lock.l_type = shared ? F_RDLCK : F_WRLCK;
    lock.l_whence = SEEK_SET;
#ifdef F_OFD_SETLK
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) {
        return 0;
    }
    if (errno != EINVAL) {
        return errno == EACCES ? EAGAIN : errno;
    }
    lock = {};
    lock.l_type = shared ? F_RDLCK : F_WRLCK;
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
    [[maybe_unused]] const ssize_t ignored = ::pwrite(fd, text.data(), text.size(), 0);
}

// A lock file that cannot be used, named with why, for DescribeFileError.
int Unusable(const std::string& lockFile, const std::string& why) {
    g_lastLockFile = lockFile;
    SetFileErrorDetail("the lock file " + lockFile + " cannot be used: " + why +
                       "; remove it when no writer is at work");
    return kLockFileUnusable;
}

// Makes the lock file anew: 0 and the open file, EEXIST when there is one, else the error.
// It takes the project's group and permissions (a new project: those the umask leaves), so
// everyone who may write the project may take its lock.
int CreateLockFile(const std::string& lockFile, const std::string& project, int& fd) {
    fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        return errno;
    }
    struct stat info {};
    if (::stat(project.c_str(), &info) == 0) {
        [[maybe_unused]] const int grouped = ::fchown(fd, static_cast<uid_t>(-1), info.st_gid);
        ::fchmod(fd, info.st_mode & 0666);
    }
    return 0;
}

// Opens the lock file that is there, if it is one writers make (a regular file with one link):
// 0 and the open file, with `shared` when this process may only read it; ENOENT when it went
// meanwhile; else the error (kLockFileUnusable naming it). Nothing but a regular file is
// opened for reading or writing, so a device or FIFO in its place is never touched.
int OpenLockFile(const std::string& lockFile, int& fd, bool& shared) {
    const int path = ::open(lockFile.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (path < 0) {
        return errno;
    }
    struct stat info {};
    if (::fstat(path, &info) != 0) {
        const int error = errno;
        ::close(path);
        return error;
    }
    if (info.st_nlink == 0) {
        ::close(path);
        return ENOENT; // its holder removed it after it was opened: look again
    }
    const char* why = S_ISLNK(info.st_mode)    ? "it is a symbolic link"
                      : S_ISDIR(info.st_mode)  ? "it is a directory"
                      : !S_ISREG(info.st_mode) ? "it is not a regular file"
                      : info.st_nlink != 1     ? "it has other links"
                                               : nullptr;
    if (why != nullptr) {
        ::close(path);
        return Unusable(lockFile, why);
    }
    // The file checked, and no other: opened again through the descriptor (without /proc, by
    // its name, and then it must still be the file checked).
    const std::string self = "/proc/self/fd/" + std::to_string(path);
    const bool proc = ::access("/proc/self/fd", X_OK) == 0;
    const char* name = proc ? self.c_str() : lockFile.c_str();
    const int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (proc ? 0 : O_NOFOLLOW);
    shared = false;
    fd = ::open(name, O_RDWR | flags);
    if (fd < 0 && errno == EACCES) {
        shared = true;
        fd = ::open(name, O_RDONLY | flags);
    }
    int error = fd < 0 ? errno : 0;
    struct stat opened {};
    if (error == 0 && (::fstat(fd, &opened) != 0 || opened.st_dev != info.st_dev ||
                       opened.st_ino != info.st_ino)) {
        ::close(fd);
        error = ENOENT; // replaced meanwhile: look again
    }
    ::close(path);
    return error == EACCES ? Unusable(lockFile, SystemErrorText(error)) : error;
}

// Whether `fd` is still the file named `lockFile`: a holder before this one may have removed
// it, and a lock on a file no longer in the directory excludes nobody.
bool StillThere(int fd, const std::string& lockFile) {
    struct stat mine {};
    struct stat there {};
    return ::fstat(fd, &mine) == 0 && ::lstat(lockFile.c_str(), &there) == 0 &&
           mine.st_dev == there.st_dev && mine.st_ino == there.st_ino;
}

} // namespace

std::optional<double> LockTimeout() {
    if (g_timeout) {
        return *g_timeout;
    }
    return EnvironmentLockTimeout(kDefaultTimeout);
}

bool SetLockTimeout(std::optional<double> seconds) {
    if (seconds && !(*seconds >= 0 && *seconds <= kLongestLockWait)) {
        return false; // also NaN
    }
    g_timeout = seconds;
    return true;
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
    std::string installed;
    if (IsInstallationFile(target, installed)) {
        SetFileErrorDetail(installed);
        return kInstalledFile;
    }
    const std::optional<double> timeout = LockTimeout();
    if (!timeout) {
        return kBadLimit;
    }
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
    g_lastLockFile = lockFile;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(*timeout));
    auto pause = std::chrono::milliseconds(2);
    for (;;) {
        int fd = -1;
        bool shared = false;
        int error = CreateLockFile(lockFile, resolved, fd);
        const bool created = error == 0;
        if (error == EEXIST) {
            error = OpenLockFile(lockFile, fd, shared);
            if (error == ENOENT) {
                continue; // its holder just removed it
            }
            if (error != 0) {
                return error;
            }
        } else if (error != 0) {
            return FolderError(error, resolved);
        }
        const int result = TryLock(fd, shared);
        if (result == 0) {
            if (!StillThere(fd, lockFile)) {
                ::close(fd);
                continue;
            }
            if (created) {
                WriteHolder(fd);
                held.emplace(resolved, HeldLock{fd, 1, lockFile});
                key_ = resolved;
                return 0;
            }
            // Left by a writer that ended without removing it: removed while locked (so no one
            // else takes it meanwhile) and made anew, so the holder's note is this process's.
            // Where it cannot be removed, it serves as it is, if this process may write it.
            const bool removed = ::unlink(lockFile.c_str()) == 0;
            const int why = errno;
            if (removed || shared) {
                ::close(fd);
                if (removed) {
                    continue;
                }
                return Unusable(lockFile, SystemErrorText(why));
            }
            held.emplace(resolved, HeldLock{fd, 1, lockFile});
            key_ = resolved;
            return 0;
        }
        if (result != EAGAIN || Clock::now() >= deadline) {
            g_lastHolder = result == EAGAIN ? ReadHolder(fd) : std::string();
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
