// The writers' lock: a killed holder never blocks the next writer, a held lock makes a writer
// give up after the timeout with the holder named, a process holds each lock once, and only a
// lock file as writers make it is used.

#include "projfile/projfile_fixture.h"

#include "base/error_record.h"
#include "projfile/file_lock.h"

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pfsetup::test {
namespace {

class FileLock : public ProjectFileTest {
protected:
    void TearDown() override {
        SetLockTimeout(std::nullopt);
        ProjectFileTest::TearDown();
    }
    static constexpr gid_t kGroup = 4700;
    // Runs `body` in a child process as user `uid` (unless 0), with a group of its own (the
    // same number) and kGroup beside it, umask 022; the child's first line of output is
    // handed back as soon as it is written, the child left running when `keep`.
    template <class Body>
    std::string AsUser(uid_t uid, Body&& body, pid_t* keep = nullptr) {
        int out[2];
        EXPECT_EQ(::pipe(out), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            const gid_t groups[] = {kGroup};
            if (uid != 0 && (::setgroups(1, groups) != 0 || ::setresgid(uid, uid, uid) != 0 ||
                             ::setresuid(uid, uid, uid) != 0)) {
                ::_exit(99);
            }
            ::umask(022);
            const std::string said = body() + "\n";
            [[maybe_unused]] const ssize_t sent = ::write(out[1], said.data(), said.size());
            for (; keep != nullptr;) {
                ::pause();
            }
            ::_exit(0);
        }
        ::close(out[1]);
        std::string said;
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n') {
            said += c;
        }
        ::close(out[0]);
        if (keep != nullptr) {
            *keep = child;
        } else {
            ::waitpid(child, nullptr, 0);
        }
        return said;
    }
    // A save of `name` by user `uid`: "" or the message.
    std::string SaveAs(uid_t uid, const std::string& name) {
        return AsUser(uid, [&] {
            SpiProject project;
            return project.Open(name) == 0 && project.Save(name, 1) == 0 ? "" : SpiLastMessage();
        });
    }
};

// A writer gives up on a lock another holds, naming the holder and the lock file; once the
// holder is killed, the next writer takes over the lock file it left. As root, the two are
// members of one group sharing a folder all may write: the lock file takes the project's group
// and permissions, and one member takes over a lock file the other left even where it may only
// read it. A folder the writer may not write is named.
TEST_F(FileLock, AKilledHolderNeverBlocksTheNextWriter) {
    const bool root = ::geteuid() == 0;
    const uid_t a = root ? 4701 : 0, b = root ? 4702 : 0;
    const std::string shared = Path("shared"), closed = Path("closed");
    const std::string name = User("START_A\nEND_A\n", "shared/p.cpm");
    const std::string inClosed = User("START_A\nEND_A\n", "closed/p.cpm");
    const std::string lock = LockFileOf(name);
    if (root) {
        ASSERT_EQ(::chmod(dir_.c_str(), 0755) + ::chmod(shared.c_str(), 0777) +
                      ::chown(name.c_str(), a, kGroup) + ::chmod(name.c_str(), 0664) +
                      ::chown(inClosed.c_str(), b, kGroup),
                  0);
    } else {
        ASSERT_EQ(::chmod(closed.c_str(), 0555), 0);
    }
    SetLockTimeout(0.2);
    pid_t holder = 0;
    const auto hold = [&] {
        static ProjectLock held; // held until the child is killed
        return std::to_string(held.Acquire(name));
    };
    ASSERT_EQ(AsUser(a, hold, &holder), "0");
    struct stat info {};
    ASSERT_EQ(::stat(lock.c_str(), &info), 0);
    EXPECT_EQ(info.st_gid, root ? kGroup : ::getegid());
    EXPECT_EQ(info.st_mode & 0777, root ? 0664u : 0644u);
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    EXPECT_EQ(SaveAs(b, name),
              "SPI_ERROR: Failed to save project file \"" + name +
                  "\". There was an attempt to lock a region that was already locked. (another "
                  "program is writing it: process " +
                  std::to_string(holder) + " on " + host + "; gave up after 0.2 s; lock file " +
                  lock + ")");
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_TRUE(std::filesystem::exists(lock)); // left by the killed holder
    ASSERT_EQ(::chmod(lock.c_str(), 0644), 0);  // as older writers left it
    EXPECT_EQ(SaveAs(b, name), "");
    EXPECT_EQ(SaveAs(a, name), "");
    EXPECT_FALSE(std::filesystem::exists(lock)); // taken, then cleared
    EXPECT_EQ(SaveAs(b, inClosed),
              "SPI_ERROR: Failed to save project file \"" + inClosed + "\". The folder " + closed +
                  " must be writable for a safe save: the file is replaced by a new one written "
                  "beside it. (Permission denied)");
    ::chmod(closed.c_str(), 0755); // so the directory can be removed
}

TEST_F(FileLock, AProcessHoldsEachLockOnce) {
    const std::string name = User("START_A\nEND_A\n");
    SetLockTimeout(0);
    ProjectLock outer;
    ASSERT_EQ(outer.Acquire(name), 0);
    // A save inside the read-modify-write neither waits for the outer lock nor ends it.
    SpiProject project;
    ASSERT_EQ(project.Open(name), 0);
    ASSERT_EQ(project.Save(name, 1), 0) << SpiLastMessage();
    const std::string link = Path("link.cpm");
    ASSERT_EQ(::symlink(name.c_str(), link.c_str()), 0);
    ASSERT_EQ(project.Save(link, 1), 0) << "the same file through a link";
    // Another open file description of the lock file finds it still locked.
    const int other = ::open(LockFileOf(name).c_str(), O_RDWR);
    ASSERT_GE(other, 0);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    EXPECT_EQ(::fcntl(other, F_OFD_SETLK, &lock), -1);
    ::close(other);
    outer.Release();
    EXPECT_FALSE(std::filesystem::exists(LockFileOf(name)));
}

// A lock file is used only when it is what writers make, a regular file with one link; any
// other is named in the message, and nothing is written through it.
TEST_F(FileLock, OnlyARegularLockFileWithOneLinkIsUsed) {
    const std::string name = User("START_A\nEND_A\n", "p.cpm");
    const std::string lock = LockFileOf(name);
    const std::string precious = Path("precious");
    WriteFile(precious, "precious\n");
    SpiProject project;
    ASSERT_EQ(project.Open(name), 0);
    const char* const reasons[] = {"it has other links", "it is a symbolic link",
                                   "it is a directory", "it is not a regular file"};
    for (int i = 0; i < 4; ++i) {
        const int made = i == 0   ? ::link(precious.c_str(), lock.c_str())
                         : i == 1 ? ::symlink(precious.c_str(), lock.c_str())
                         : i == 2 ? ::mkdir(lock.c_str(), 0700)
                                  : ::mkfifo(lock.c_str(), 0600);
        ASSERT_EQ(made, 0);
        EXPECT_EQ(project.Save(name, 1), -1);
        EXPECT_EQ(SpiLastMessage(), "SPI_ERROR: Failed to save project file \"" + name +
                                        "\". The file could not be accessed. (the lock file " +
                                        lock + " cannot be used: " + reasons[i] +
                                        "; remove it when no writer is at work)");
        EXPECT_EQ(ReadFile(precious), "precious\n");
        EXPECT_EQ(ReadFile(name), "START_A\nEND_A\n");
        std::filesystem::remove(lock);
    }
}

// Limits from the environment are read strictly: anything but a valid number is an error that
// names the variable, never a silent default; an empty variable is one not set.
TEST(LockSettings, LimitsFromTheEnvironment) {
    SetLockTimeout(std::nullopt);
    SetMaxProjectFileSize(std::nullopt);
    const char* const t = "PFSETUP_LOCK_TIMEOUT";
    const char* const z = "PFSETUP_MAX_FILE_SIZE";
    const struct {
        const char* variable;
        const char* text;
        double value; // -1: refused
    } rows[] = {
        // clang-format off
        {t, "2.5", 2.5}, {t, "0", 0},   {t, ".5", 0.5},  {t, "7.", 7},   {t, "", 5},
        {t, "-1", -1},   {t, "soon", -1}, {t, "nan", -1}, {t, "inf", -1}, {t, "1e3", -1},
        {t, " 1", -1},   {t, "1 ", -1}, {t, "0x10", -1}, {t, "86401", -1}, {t, ".", -1},
        {z, "1K", 1024}, {z, "3m", 3 << 20}, {z, "2047M", 2047.0 * (1 << 20)}, {z, "", 1 << 30},
        {z, "-1", -1},   {z, "-5K", -1}, {z, "junk", -1}, {z, "1.5K", -1}, {z, "1KB", -1},
        {z, "0x100", -1}, {z, "100 ", -1}, {z, "0", -1}, {z, "2G", -1},
        {z, "99999999999999999999", -1},
        // clang-format on
    };
    for (const auto& row : rows) {
        ::setenv(row.variable, row.text, 1);
        const std::optional<double> got =
            row.variable == t ? LockTimeout()
            : MaxProjectFileSize().has_value()
                ? std::optional<double>(static_cast<double>(*MaxProjectFileSize()))
                : std::nullopt;
        EXPECT_EQ(got, row.value < 0 ? std::nullopt : std::optional<double>(row.value)) << row.text;
        EXPECT_EQ(EnvironmentLimitsProblem().key, row.value < 0 ? row.variable : "") << row.text;
        ::unsetenv(row.variable);
    }
    ::setenv(z, rows[std::size(rows) - 1].text, 1);
    EXPECT_EQ(DescribeError(EnvironmentLimitsProblem()),
              "PFSETUP_MAX_FILE_SIZE \"99999999999999999999\": out of range; allowed: digits "
              "with an optional K, M or G, from 1 to 2047M");
    ::unsetenv(z);
    EXPECT_EQ(LockFileOf("/d/p.cpm"), "/d/.p.cpm.lock");
    EXPECT_EQ(LockFileOf("p.cpm"), ".p.cpm.lock");
}

} // namespace
} // namespace pfsetup::test
