// The writers' lock: a killed holder never blocks the next writer, a held lock makes a writer
// give up after the timeout with the holder named, and a process holds each lock once.

#include "projfile/projfile_fixture.h"

#include "projfile/file_lock.h"

#include <csignal>
#include <fcntl.h>
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
    // A child process that takes the lock of `target` and then waits to be killed.
    pid_t HoldInChild(const std::string& target) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
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
    EXPECT_EQ(ReadFile(name), "START_A\nEND_A\n");

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

TEST(LockSettings, TimeoutFromTheEnvironment) {
    SetLockTimeout(std::nullopt);
    for (const auto& [text, seconds] : std::vector<std::pair<const char*, double>>{
             {"2.5", 2.5}, {"0", 0.0}, {"-1", 5.0}, {"soon", 5.0}, {"", 5.0}}) {
        ::setenv("PFSETUP_LOCK_TIMEOUT", text, 1);
        EXPECT_EQ(LockTimeout(), seconds) << text;
    }
    ::unsetenv("PFSETUP_LOCK_TIMEOUT");
    EXPECT_EQ(LockTimeout(), 5.0);
    EXPECT_EQ(LockFileOf("/d/p.cpm"), "/d/.p.cpm.lock");
    EXPECT_EQ(LockFileOf("p.cpm"), ".p.cpm.lock");
}

} // namespace
} // namespace pfsetup::test
