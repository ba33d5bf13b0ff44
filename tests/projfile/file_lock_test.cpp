// The writers' lock: a killed holder never blocks the next writer, a held lock makes a writer
// give up after the timeout with the holder named, and a process holds each lock once.

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
    // A child process that takes the lock of `target` (as user `uid` of kGroup unless 0) and
    // then waits to be killed.
    pid_t HoldInChild(const std::string& target, uid_t uid = 0) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            BecomeMember(uid);
            ProjectLock lock;
            const char ok = lock.Acquire(target) == 0 ? 'y' : 'n';
            [[maybe_unused]] const ssize_t sent = ::write(ready[1], &ok, 1);
            for (;;) {
                ::pause();
            }
        }
        char ok = 0;
        EXPECT_EQ(::read(ready[0], &ok, 1), 1);
        EXPECT_EQ(ok, 'y');
        ::close(ready[0]);
        ::close(ready[1]);
        return child;
    }
    static constexpr gid_t kGroup = 4700;
    // Becomes user `uid` with a group of its own (the same number) and kGroup beside it.
    static void BecomeMember(uid_t uid) {
        const gid_t groups[] = {kGroup};
        if (uid != 0 && (::setgroups(1, groups) != 0 || ::setresgid(uid, uid, uid) != 0 ||
                         ::setresuid(uid, uid, uid) != 0)) {
            ::_exit(99);
        }
        ::umask(022);
    }
    // A save of `name` made by user `uid` of kGroup in a child process: "" or the message.
    std::string SaveAs(uid_t uid, const std::string& name) {
        int result[2];
        EXPECT_EQ(::pipe(result), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            BecomeMember(uid);
            SpiProject project;
            const bool saved = project.Open(name) == 0 && project.Save(name, 1) == 0;
            const std::string said = saved ? "" : SpiLastMessage();
            [[maybe_unused]] const ssize_t sent = ::write(result[1], said.data(), said.size());
            ::_exit(0);
        }
        ::close(result[1]);
        std::string said;
        char buffer[512];
        for (ssize_t got; (got = ::read(result[0], buffer, sizeof buffer)) > 0;) {
            said.append(buffer, static_cast<std::size_t>(got));
        }
        ::close(result[0]);
        ::waitpid(child, nullptr, 0);
        return said;
    }
};

TEST_F(FileLock, AKilledHolderNeverBlocksTheNextWriter) {
    const std::string name = User("START_A\nEND_A\n");
    const pid_t holder = HoldInChild(name);
    SetLockTimeout(0.2);
    SpiProject project;
    ASSERT_EQ(project.Open(name), 0);
    EXPECT_EQ(project.Save(name, 1), -1);
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    EXPECT_EQ(SpiLastMessage(),
              "SPI_ERROR: Failed to save project file \"" + name +
                  "\". There was an attempt to lock a region that was already locked. (another "
                  "program is writing it: process " +
                  std::to_string(holder) + " on " + host + "; gave up after 0.2 s; lock file " +
                  LockFileOf(name) + ")");
    EXPECT_EQ(ReadAll(name), "START_A\nEND_A\n");

    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_TRUE(std::filesystem::exists(LockFileOf(name))); // left by the killed holder
    SetLockTimeout(2.0);
    ASSERT_EQ(project.Save(name, 1), 0) << SpiLastMessage();
    EXPECT_FALSE(std::filesystem::exists(LockFileOf(name))); // taken, then cleared
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
    WriteText(precious, "precious\n");
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
        EXPECT_EQ(ReadAll(precious), "precious\n");
        EXPECT_EQ(ReadAll(name), "START_A\nEND_A\n");
        std::filesystem::remove(lock);
    }
}

// Members of one group share a project in a folder all may write: the lock file takes the
// project's group and permissions, so each member waits for another's lock, takes over one a
// killed member left (also one this member may not write), and saves.
TEST_F(FileLock, GroupMembersShareAProject) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "switching between two user ids needs root";
    }
    constexpr uid_t a = 4701, b = 4702;
    const std::string shared = Path("shared"), closed = Path("closed");
    std::filesystem::create_directories(shared);
    std::filesystem::create_directories(closed);
    const std::string name = User("START_A\nEND_A\n", "shared/p.cpm");
    const std::string inClosed = User("START_A\nEND_A\n", "closed/p.cpm");
    ASSERT_EQ(::chmod(dir_.c_str(), 0755) + ::chown(shared.c_str(), 0, kGroup) +
                  ::chmod(shared.c_str(), 0777) + ::chown(name.c_str(), a, kGroup) +
                  ::chmod(name.c_str(), 0664) + ::chown(inClosed.c_str(), b, kGroup),
              0);
    SetLockTimeout(0.2);
    pid_t holder = HoldInChild(name, a);
    struct stat info {};
    ASSERT_EQ(::stat(LockFileOf(name).c_str(), &info), 0);
    EXPECT_EQ(info.st_gid, kGroup);
    EXPECT_EQ(info.st_mode & 0777, 0664u);
    EXPECT_NE(
        SaveAs(b, name).find("(another program is writing it: process " + std::to_string(holder)),
        std::string::npos);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ASSERT_EQ(::chmod(LockFileOf(name).c_str(), 0644), 0); // left as older writers left it
    EXPECT_EQ(SaveAs(b, name), "");
    EXPECT_EQ(SaveAs(a, name), "");
    EXPECT_FALSE(std::filesystem::exists(LockFileOf(name)));
    EXPECT_EQ(SaveAs(b, inClosed),
              "SPI_ERROR: Failed to save project file \"" + inClosed + "\". The folder " + closed +
                  " must be writable for a safe save: the file is replaced by a new one written "
                  "beside it. (Permission denied)");
}

// Limits from the environment are read strictly: anything but a valid number is an error that
// names the variable, never a silent default; an empty variable is one not set.
TEST(LockSettings, LimitsFromTheEnvironment) {
    SetLockTimeout(std::nullopt);
    SetMaxProjectFileSize(std::nullopt);
    const std::optional<double> none;
    for (const auto& [text, seconds] :
         std::vector<std::pair<const char*, std::optional<double>>>{{"2.5", 2.5},
                                                                    {"0", 0.0},
                                                                    {".5", 0.5},
                                                                    {"7.", 7.0},
                                                                    {"", 5.0},
                                                                    {"-1", none},
                                                                    {"soon", none},
                                                                    {"nan", none},
                                                                    {"inf", none},
                                                                    {"1e3", none},
                                                                    {" 1", none},
                                                                    {"1 ", none},
                                                                    {"0x10", none},
                                                                    {"86401", none},
                                                                    {".", none}}) {
        ::setenv("PFSETUP_LOCK_TIMEOUT", text, 1);
        EXPECT_EQ(LockTimeout(), seconds) << text;
    }
    EXPECT_EQ(EnvironmentLimitsProblem().key, "PFSETUP_LOCK_TIMEOUT");
    ::unsetenv("PFSETUP_LOCK_TIMEOUT");
    const std::optional<std::uint64_t> refused;
    for (const auto& [text, bytes] :
         std::vector<std::pair<const char*, std::optional<std::uint64_t>>>{
             {"1K", 1024},
             {"3m", 3u << 20},
             {"2047M", 2047ull << 20},
             {"", 1u << 30},
             {"-1", refused},
             {"-5K", refused},
             {"junk", refused},
             {"1.5K", refused},
             {"1KB", refused},
             {"0x100", refused},
             {"100 ", refused},
             {"0", refused},
             {"2G", refused},
             {"99999999999999999999", refused}}) {
        ::setenv("PFSETUP_MAX_FILE_SIZE", text, 1);
        EXPECT_EQ(MaxProjectFileSize(), bytes) << text;
    }
    EXPECT_EQ(DescribeError(EnvironmentLimitsProblem()),
              "PFSETUP_MAX_FILE_SIZE \"99999999999999999999\": out of range; allowed: digits "
              "with an optional K, M or G, from 1 to 2047M");
    ::unsetenv("PFSETUP_MAX_FILE_SIZE");
    EXPECT_FALSE(EnvironmentLimitsProblem().Failed());
    EXPECT_EQ(LockFileOf("/d/p.cpm"), "/d/.p.cpm.lock");
    EXPECT_EQ(LockFileOf("p.cpm"), ".p.cpm.lock");
}

} // namespace
} // namespace pfsetup::test
