#pragma once
// The one lock every write of a project or template file takes: an exclusive advisory lock
// (fcntl, open-file-description locks where the kernel has them, else process locks) on a lock
// file beside the target, ".NAME.lock". Held across a whole read-modify-write, so concurrent
// writers (the tool, dialogs, hosts, on this machine or over NFS) take turns and each keeps its
// own change. The kernel (or the NFS server) releases the lock when its holder ends, however
// it ends, so a killed writer never blocks the next one. Readers take no lock: writes replace
// the file by a rename, so a reader sees the old file or the new one.
//
// The writer makes the lock file (O_EXCL), with the project's group and permissions so that
// everyone who may write the project may lock it, writes who holds it into it, and removes it
// when done. A lock file a killed writer left is locked, removed and made anew by the next
// writer (a shared lock serves where that writer may not write it). A lock file is never
// written unless this process made it, and one that is not a regular file with one link (a
// symbolic or hard link to another file, a directory, a FIFO) is not used at all. Nothing is
// locked for a file of the installation, which nothing writes.
//
// A process holds each lock once: acquiring a lock the process already holds (a save inside a
// read-modify-write) only counts, so nested writes neither wait for themselves nor release the
// outer lock early.

#include <optional>
#include <string>

namespace pfsetup {

// How long a writer waits for the lock before it gives up: PFSETUP_LOCK_TIMEOUT seconds when
// that environment variable is set, else 5, unless a host or the tool (--wait) set it;
// std::nullopt when the variable holds no valid time (acquiring then fails with kBadLimit).
std::optional<double> LockTimeout();
// A wait set by a host or the tool; std::nullopt goes back to the environment and the default.
// False (nothing changed) for a time ParseSeconds would refuse: negative, not finite, or more
// than kLongestLockWait.
bool SetLockTimeout(std::optional<double> seconds);

class ProjectLock {
public:
    ProjectLock() = default;
    ~ProjectLock() { Release(); }
    ProjectLock(const ProjectLock&) = delete;
    ProjectLock& operator=(const ProjectLock&) = delete;

    // Takes the lock of the file `target` (symbolic links followed), waiting up to
    // LockTimeout(): 0, or an error for DescribeFileError (kLockTimeout when another writer
    // held it all that time, kInstalledFile, kLockFileUnusable, kDirectoryNotWritable).
    int Acquire(const std::string& target);
    void Release();
    bool Held() const { return !key_.empty(); }

private:
    std::string key_;
};

// Who held the lock the last Acquire gave up on, and its lock file, for the message of
// kLockTimeout: "process 1234 on host lab7" (as the holder wrote it), or "" when unknown.
const std::string& LastLockHolder();
const std::string& LastLockFile();

// The lock file of a target: ".NAME.lock" in its directory.
std::string LockFileOf(const std::string& target);

} // namespace pfsetup
