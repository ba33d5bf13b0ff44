#pragma once
// The one lock every write of a project or template file takes: an exclusive advisory lock
// (fcntl, open-file-description locks where the kernel has them, else process locks) on a lock
// file beside the target, ".NAME.lock", made by the writer and removed when it is done (one a
// killed writer leaves is simply locked again by the next). Held across a whole
// read-modify-write, so concurrent writers (the tool, dialogs, hosts, on this machine or over
// NFS) take turns and each keeps its own change. The kernel (or the NFS server) releases the
// lock when its holder ends, however it ends, so a killed writer never blocks the next one.
// Readers take no lock: writes replace the file by a rename, so a reader sees the old file or
// the new one.
//
// A process holds each lock once: acquiring a lock the process already holds (a save inside a
// read-modify-write) only counts, so nested writes neither wait for themselves nor release the
// outer lock early.

#include <optional>
#include <string>

namespace pfsetup {

// How long a writer waits for the lock before it gives up: PFSETUP_LOCK_TIMEOUT seconds when
// that environment variable holds a number, else 5, unless a host or the tool (--wait) set it.
double LockTimeout();
void SetLockTimeout(std::optional<double> seconds);

class ProjectLock {
public:
    ProjectLock() = default;
    ~ProjectLock() { Release(); }
    ProjectLock(const ProjectLock&) = delete;
    ProjectLock& operator=(const ProjectLock&) = delete;

    // Takes the lock of the file `target` (symbolic links followed), waiting up to
    // LockTimeout(): 0, or an error for DescribeFileError (kLockTimeout when another writer
    // held it all that time).
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
