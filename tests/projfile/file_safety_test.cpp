// Hostile paths and interrupted saves: only regular files are read or written, a failed read
// is never taken for the end of a file, and a save leaves the old file or the new one, never
// a part of one, with no temporary left behind.

#include "projfile/projfile_fixture.h"

#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pfsetup::test {
namespace {

class FileSafety : public ProjectFileTest {
protected:
    void TearDown() override {
        SetMaxProjectFileSize(std::nullopt);
        ::unsetenv("PFSETUP_MAX_FILE_SIZE");
        ProjectFileTest::TearDown();
    }
    // A project of `directives` entries, each with a long value, whose text says `tag`.
    void Fill(int directives, const std::string& tag) {
        project.DeleteProgram("BIG");
        project.AddProgram("BIG");
        for (int i = 0; i < directives; ++i) {
            project.AddDirective("Key_" + std::to_string(i));
            project.AddValue(tag + std::string(100, 'x'));
        }
    }
    SpiProject project;
};

TEST_F(FileSafety, OnlyRegularFilesAreReadOrWritten) {
    const std::string fifo = Path("fifo.cpm");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string device = Path("null.cpm");
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
    }
    const std::string link = Path("to-fifo.cpm");
    ASSERT_EQ(::symlink(fifo.c_str(), link.c_str()), 0);
    const std::string notRegular = "The file could not be accessed. (not a regular file)";
    struct Row {
        std::string path;
        std::string reason;
    };
    std::vector<Row> rows = {{fifo, notRegular},
                             {link, notRegular},
                             {dir_, "The file could not be accessed. (Is a directory)"}};
    if (root) {
        rows.push_back({device, notRegular});
    }
    ASSERT_EQ(project.Open(User("START_A\nX 1\nEND_A\n")), 0);
    for (const Row& row : rows) {
        EXPECT_EQ(project.Open(row.path), -1) << row.path; // at once: a FIFO has no writer
        EXPECT_EQ(SpiLastMessage(),
                  "SPI_ERROR: Failed to open project file \"" + row.path + "\". " + row.reason);
        EXPECT_EQ(project.Save(row.path, 1), -1);
        EXPECT_EQ(SpiLastMessage(),
                  "SPI_ERROR: Failed to save project file \"" + row.path + "\". " + row.reason);
        EXPECT_EQ(project.Create(row.path, 1), -1);
    }
    struct stat info {};
    ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    if (root) {
        ASSERT_EQ(::stat(device.c_str(), &info), 0);
        EXPECT_TRUE(S_ISCHR(info.st_mode));
    }
}

// A read that fails half way, or a file beyond the size limit, fails the open with the cause;
// the part read is never taken for the whole file.
TEST_F(FileSafety, ReadFailuresAreErrors) {
    // Longer than the install file, which is read first and fails alike.
    const std::string name = User("START_A\nX 1\nEND_A\nSTART_B\n" + std::string(200, '\n'));
    const std::string failed = "SPI_ERROR: Failed to open project file \"" + name + "\". ";
    const std::pair<WriteFault, std::string> faults[] = {
        {{WriteFault::Read, EIO, 150}, "There was a hardware error. (Input/output error)"},
        {{WriteFault::Read, ENOMEM, 150},
         "An unspecified error occurred. (Cannot allocate memory)"},
    };
    for (const auto& [fault, reason] : faults) {
        SetWriteFaultForTesting(fault);
        EXPECT_EQ(project.Open(name), -1);
        EXPECT_EQ(SpiLastMessage(), failed + reason);
    }
    SetWriteFaultForTesting(std::nullopt);

    SetMaxProjectFileSize(150);
    EXPECT_EQ(project.Open(name), -1);
    EXPECT_EQ(SpiLastMessage(), failed + "The file could not be accessed. (larger than 150 bytes; "
                                         "PFSETUP_MAX_FILE_SIZE sets the limit)");
    // A file the reader would refuse is never written: the save fails, the old file stays.
    EXPECT_EQ(project.Save(name, 1), -1);
    EXPECT_EQ(SpiLastMessage(), "SPI_ERROR: Failed to save project file \"" + name +
                                    "\". The file could not be accessed. (larger than 150 bytes; "
                                    "PFSETUP_MAX_FILE_SIZE sets the limit)");
    SetMaxProjectFileSize(std::nullopt);
    ::setenv("PFSETUP_MAX_FILE_SIZE", "1K", 1);
    EXPECT_EQ(project.Open(name), 0);
    EXPECT_EQ(project.Open(User(std::string(2000, '\n'), "big.cpm")), -1);
    EXPECT_EQ(project.Open(User(std::string(1024, '\n'), "edge.cpm")), 0); // the limit is allowed
    EXPECT_EQ(project.Open(User(std::string(1025, '\n'), "edge.cpm")), -1);
    ::setenv("PFSETUP_MAX_FILE_SIZE", "0", 1);
    EXPECT_EQ(project.Open(name), -1); // no size at all is no limit but a mistake
    ::setenv("PFSETUP_MAX_FILE_SIZE", "1.5K", 1);
    EXPECT_EQ(project.Open(name), -1); // reading the install file already fails
    EXPECT_NE(SpiLastMessage().find("\". PFSETUP_MAX_FILE_SIZE \"1.5K\": not a size in bytes; "
                                    "allowed: digits with an optional K, M or G, from 1 to 2047M"),
              std::string::npos)
        << SpiLastMessage();
    EXPECT_FALSE(SetMaxProjectFileSize(std::uint64_t{2} << 30)); // more than the model holds
    EXPECT_FALSE(SetMaxProjectFileSize(0));
}

// What cannot be written so that it reads back fails the save, naming the program, the
// directive and why, and nothing is written.
TEST_F(FileSafety, RefusesWhatWouldNotReadBack) {
    struct Row {
        const char* program;
        const char* directive;
        const char* value; // nullptr: no value
        const char* why;
    };
    const Row rows[] = {
        // clang-format off
        {"P",   "D",          "a 'b\" c", "it holds both quote characters and white space"},
        {"P",   "D",          "a\nb",     "it holds a line break"},
        {"P",   "D",          "a\rb",     "it holds a carriage return"},
        {"P",   "a\nb",       "1",        "it holds a line break"},
        {"P",   "'it\" is'",  "1",        "it holds both quote characters and needs quotes"},
        {"P",   "\vx",        nullptr,    "a name without values cannot start or end in white space"},
        {"P",   "{x}",        nullptr,    "a name without values cannot hold '{'"},
        {"P",   "end_p",      nullptr,    "a name without values would end the section"},
        {"P{",  "D",          "1",        "it holds '{'"},
        {"P ",  "D",          "1",        "it ends in white space"},
        // clang-format on
    };
    const std::string name = User("START_OLD\nEND_OLD\n");
    for (const Row& row : rows) {
        ASSERT_EQ(project.Open(name), 0);
        project.AddProgram(row.program);
        project.AddDirective(row.directive);
        if (row.value) {
            project.AddValue(row.value);
        }
        EXPECT_EQ(project.Save(name, 0), -1) << row.directive;
        const std::string where = std::string(row.program) == "P"
                                      ? Format("program \"P\", directive \"%s\"", row.directive)
                                      : Format("program \"%s\"", row.program);
        EXPECT_EQ(SpiLastMessage(), "SPI_ERROR: Failed to save project file \"" + name +
                                        "\". Cannot write " + where + ": " + row.why +
                                        "; nothing was written.");
        EXPECT_EQ(ReadFile(name), "START_OLD\nEND_OLD\n");
    }
}

TEST_F(FileSafety, SavesKeepOwnerAndWriteThroughDanglingLinks) {
    const std::string name = User("START_A\nEND_A\n");
    ASSERT_EQ(project.Open(name), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(name.c_str(), 4321, 4322), 0);
        ASSERT_EQ(project.Save(name, 1), 0);
        struct stat info {};
        ASSERT_EQ(::stat(name.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, 4321u);
        EXPECT_EQ(info.st_gid, 4322u);
    }
    const std::string link = Path("link.cpm");
    ASSERT_EQ(::symlink("made/by/save.cpm", link.c_str()), 0);
    std::filesystem::create_directories(Path("made/by"));
    ASSERT_EQ(project.Save(link, 1), 0) << SpiLastMessage();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_NE(ReadFile(Path("made/by/save.cpm")).find("START_A\nEND_A\n"), std::string::npos);
    const std::string loop = Path("loop.cpm");
    ASSERT_EQ(::symlink(loop.c_str(), loop.c_str()), 0);
    EXPECT_EQ(project.Save(loop, 1), -1);
    EXPECT_NE(SpiLastMessage().find("(Too many levels of symbolic links)"), std::string::npos);
}

// Temporaries a killed writer left are removed by the next save, which holds the lock, so no
// other writer can be at work on the file; only names of the exact form writers make are taken
// for such temporaries.
TEST_F(FileSafety, TemporariesOfKilledWritersAreRemoved) {
    const std::string name = User("START_A\nEND_A\n", "p.cpm");
    const std::vector<std::string> left = {Path(".p.cpm.tmp-thishost-1-7"),
                                           Path(".p.cpm.tmp-other-host.lan-2-7")};
    const std::vector<std::string> others = {
        Path(".q.cpm.tmp-thishost-1-7"), Path(".p.cpm.tmp-notes"),    Path(".p.cpm.tmp--1-7"),
        Path(".p.cpm.tmp-host-1-"),      Path(".p.cpm.tmp-host-x-7"), Path(".p.cpm.tmp-host-1-7~")};
    for (const std::string& path : left) {
        WriteFile(path, "partial");
    }
    for (const std::string& path : others) {
        WriteFile(path, "notes");
    }
    ASSERT_EQ(project.Open(name), 0);
    ASSERT_EQ(project.Save(name, 1), 0);
    for (const std::string& path : left) {
        EXPECT_FALSE(std::filesystem::exists(path)) << path;
    }
    for (const std::string& path : others) {
        EXPECT_EQ(ReadFile(path), "notes") << path;
    }
}

// A writer killed at random moments while it saves a large project, and one stopped by the
// file size limit: the file is always the old or the new one, and nothing else stays behind.
TEST_F(FileSafety, InterruptedSavesLeaveOldOrNewFile) {
    SetHeaderTimeForTesting(0);
    const std::string name = Path("big.cpm");
    std::string texts[2];
    for (int i = 0; i < 2; ++i) {
        Fill(20000, i == 0 ? "old" : "new");
        ASSERT_EQ(project.Save(name, 1), 0);
        texts[i] = ReadFile(name);
    }
    std::mt19937 random(12345);
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int i = 0;; ++i) {
                Fill(20000, i % 2 == 0 ? "old" : "new");
                project.Save(name, 1);
            }
        }
        ASSERT_GT(child, 0);
        ::usleep(static_cast<useconds_t>(2000 + random() % 40000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = ReadFile(name);
        ASSERT_TRUE(now == texts[0] || now == texts[1]) << "round " << round;
    }

    const pid_t limited = ::fork();
    if (limited == 0) {
        const rlimit small{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_IGN);
        const bool refused = project.Save(name, 1) == -1 &&
                             SpiLastMessage().find("(File too large)") != std::string::npos;
        ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ::waitpid(limited, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::string now = ReadFile(name);
    EXPECT_TRUE(now == texts[0] || now == texts[1]);

    ASSERT_EQ(project.Save(name, 1), 0);
    EXPECT_EQ(Listing(), (std::set<std::string>{"big.cpm", "inst"})); // no temporary, no lock
}

} // namespace
} // namespace pfsetup::test
