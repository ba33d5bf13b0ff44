// `pfsetup` commands that write, run together on one project: every change survives, and a
// writer that cannot get the lock in time gives up with a message, writing nothing.

#include "support/installation.h"
#include "support/program_run.h"

#include "projfile/file_lock.h"
#include "projfile/spi_project.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

namespace pfsetup::test {
namespace {

class ConcurrentCli : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(RunTool(inst.Dir(), "init p.cpm").status, 0); }
    TempInstallation inst;
};

// 8 processes x 25 `pfsetup set`, each on a key of its own, all started together.
TEST_F(ConcurrentCli, EveryChangeOfManyWritersSurvives) {
    constexpr int kWriters = 8;
    constexpr int kSets = 25;
    std::string script = "{\n";
    for (int w = 0; w < kWriters; ++w) {
        script += "(k=0; while [ $k -lt " + std::to_string(kSets) + " ]; do " + PFSETUP_TOOL +
                  " set --wait 30 p.cpm Prop_W" + std::to_string(w) +
                  "_$k '1,v,No,Value,Left' || echo \"W" + std::to_string(w) +
                  "_$k $?\" >>failed; k=$((k+1)); done) &\n";
    }
    script += "wait\n}";
    ASSERT_EQ(RunProgram(inst.Dir(), script).status, 0);
    EXPECT_EQ(ReadFile(inst.Path("failed")), "");

    SpiProject project;
    ASSERT_EQ(project.Open(inst.Path("p.cpm")), 0) << SpiLastMessage();
    const SpiProgram* settings = project.Programs().Lookup("PFG142");
    ASSERT_NE(settings, nullptr);
    int missing = 0;
    for (int w = 0; w < kWriters; ++w)
        for (int k = 0; k < kSets; ++k)
            missing += settings->directives.Lookup("Prop_W" + std::to_string(w) + "_" +
                                                   std::to_string(k)) == nullptr;
    EXPECT_EQ(missing, 0);
}

TEST_F(ConcurrentCli, AWriterGivesUpOnAHeldLock) {
    const std::string before = ReadFile(inst.Path("p.cpm"));
    ProjectLock held;
    ASSERT_EQ(held.Acquire(inst.Path("p.cpm")), 0);
    const ProgramRun run = RunTool(inst.Dir(), "set --wait 0.2 p.cpm Symbol_Width 9");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("another program is writing it: process " + std::to_string(::getpid())),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("gave up after 0.2 s"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(inst.Path("p.cpm")), before);
    held.Release();
    EXPECT_EQ(RunTool(inst.Dir(), "set --wait 0.2 p.cpm Symbol_Width 9").status, 0);
}

} // namespace
} // namespace pfsetup::test
