// `pfsetup dialog` as a person reaches it: the tool without Qt hands the request to
// pfsetup-dialog beside it, which answers for it.

#include "support/installation.h"
#include "support/program_run.h"

#include "app/commands.h"
#include "app/dialog_launch.h"

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace pfsetup::test {
namespace {

using app::DialogRequest;

// What the tool passes on is what pfsetup-dialog reads back, whatever the names hold.
TEST(DialogArguments, ReadBackAsTheSameRequest) {
    const DialogRequest requests[] = {
        {},
        {"p.cpm", true, 0, "", "", -1},
        {"-starts-with-dash.cpm", false, 3, "--template=x.tpl", "-shot.png", 4},
        {"two words.cpm", false, 1, "a=b.tpl", "s p a c e.png", 0},
        {"--", false, 2, "-", "--page", 2},
    };
    for (const DialogRequest& sent : requests) {
        const std::vector<std::string> arguments = app::DialogArguments(sent);
        CLI::App program;
        DialogRequest read;
        app::AddDialogOptions(program, read);
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        ASSERT_NO_THROW(program.parse(reversed)) << sent.project;
        const auto fields = [](const DialogRequest& r) {
            return std::tie(r.project, r.interpretation, r.mode, r.templateFile, r.screenshot,
                            r.page);
        };
        EXPECT_EQ(fields(read), fields(sent));
    }
}

TEST(DialogCli, TheToolLoadsNoQt) {
    TempInstallation inst;
    const ProgramRun ldd = RunProgram(inst.Dir(), std::string("ldd ") + PFSETUP_TOOL);
    ASSERT_EQ(ldd.status, 0) << ldd.err;
    EXPECT_NE(ldd.out.find("libc.so"), std::string::npos) << ldd.out;
    EXPECT_EQ(ldd.out.find("libQt"), std::string::npos) << ldd.out;
}

TEST(DialogCli, WithoutTheDialogProgramSaysSo) {
    TempInstallation inst;
    namespace fs = std::filesystem;
    fs::create_directory(inst.Path("bin"));
    fs::copy_file(PFSETUP_TOOL, inst.Path("bin/pfsetup"));
    WriteFile(inst.Path("p.cpm"), "");
    const ProgramRun run = RunProgram(inst.Dir(), "bin/pfsetup dialog p.cpm --screenshot s.png");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("pfsetup: " + inst.Path("bin/pfsetup-dialog") +
                           ": the setup dialogs are not installed"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(inst.Path("s.png")));
    // Other commands do not need it.
    EXPECT_EQ(RunProgram(inst.Dir(), "bin/pfsetup get p.cpm Symbol_Width").out, "6\n");
}

#ifdef PFSETUP_TOOL_HAS_DIALOGS
TEST(DialogCli, AnswersInTheToolsVoice) {
    TempInstallation inst;
    WriteFile(inst.Path("-p.cpm"), "START_PFG142\nSymbol_Width '9'\nEND_PFG142\n");
    WriteFile(inst.Path("t.tpl"), "START_PFG142\nSymbol_Width '7'\nEND_PFG142\n");
    struct Row {
        const char* args;
        int status;
        const char* err; // the whole error output
        bool picture;
    } rows[] = {
        // Qt's start-up notes (XDG_RUNTIME_DIR, the offscreen platform) are not shown.
        {"dialog --screenshot s.png -- -p.cpm", 0, "", true},
        {"dialog --page 4 --screenshot s.png -- -p.cpm", 0, "", true},
        {"dialog --interpretation --screenshot s.png -- -p.cpm", 0, "", true},
        {"dialog --mode 1 --template t.tpl --screenshot s.png -- -p.cpm", 0, "", true},
        {"dialog --mode 3 --screenshot s.png -- -p.cpm", 1,
         "pfsetup: --screenshot in modes 1 and 3 needs --template FILE: nobody is there to choose "
         "the template\n",
         false},
        {"dialog --page 2 -- -p.cpm", 1, nullptr, false},
        {"dialog --mode 7 -- -p.cpm", 1, nullptr, false},
        {"dialog --screenshot s.png missing.cpm", 2, nullptr, false},
        {"dialog --mode 3 --template missing.tpl --screenshot s.png -- -p.cpm", 2, nullptr, false},
    };
    for (const Row& row : rows) {
        std::filesystem::remove(inst.Path("s.png"));
        const ProgramRun run = RunTool(inst.Dir(), row.args);
        EXPECT_EQ(run.status, row.status) << row.args << "\n" << run.err;
        if (row.err)
            EXPECT_EQ(run.err, row.err) << row.args;
        else
            EXPECT_NE(run.err, "") << row.args;
        EXPECT_EQ(ReadFile(inst.Path("s.png")).find("PNG") == 1, row.picture) << row.args;
    }
    // A display that cannot be opened is told in the tool's voice, not by Qt's abort.
    const ProgramRun blind = RunProgram(
        inst.Dir(), std::string("env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY=:99 ") +
                        PFSETUP_TOOL + " dialog -- -p.cpm");
    EXPECT_EQ(blind.err + std::to_string(blind.status),
              "pfsetup: cannot open the display \":99\"; the setup dialog needs a desktop "
              "session; --screenshot works without one\n2");
}
#endif

} // namespace
} // namespace pfsetup::test
