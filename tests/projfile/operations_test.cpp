#include "projfile/projfile_fixture.h"

#include <tuple>

namespace pfsetup::test {
namespace {

class Operations : public ProjectFileTest {
protected:
    // A project of the install file and a user file, with program P current.
    void OpenWithUser(const std::string& user) {
        ASSERT_EQ(project.Open(User(user)), 0) << SpiLastMessage();
        ASSERT_EQ(project.FindProgram("p"), 0);
    }
    SpiProject project;
};

TEST_F(Operations, DirectiveWalkWrapsAround) {
    OpenWithUser("START_P\nA 1\nB 2\nEND_P\n");
    std::string name, walk;
    project.InitDirectiveIteration();
    for (int i = 0; i < 4; ++i) {
        const int result = project.GetNextDirective(name);
        walk += std::to_string(result) + (result == 0 ? name : "") + " ";
    }
    EXPECT_EQ(walk, "0A 0B 2 0A ");
    // FindDirective moves the walk's cursor.
    ASSERT_EQ(project.FindDirective("b"), 0);
    EXPECT_EQ(project.GetNextDirective(name), 0);
    EXPECT_EQ(name, "B");
    EXPECT_EQ(project.FindDirective("nope"), 1);
    EXPECT_EQ(SpiLastMessage(), "SPI_NOTE: Can't find the directive \"nope\"");
}

TEST_F(Operations, ValueWalkWrapsAroundAndExpands) {
    ::setenv("PFT_HOME", "/h", 1);
    OpenWithUser("START_P\nA ${PFT_HOME}/x $PFT_UNSET_VAR\nEMPTY\nEND_P\n");
    ASSERT_EQ(project.FindDirective("A"), 0);
    std::string value;
    std::string walk;
    project.InitValueIteration();
    while (project.GetNextValue(value) == 0) {
        walk += value + " ";
    }
    EXPECT_EQ(walk, "/h/x $PFT_UNSET_VAR ");
    EXPECT_EQ(project.GetNextValue(value), 0); // the walk ended with 2 and starts again
    EXPECT_EQ(project.GetNextValue(value), 0);
    EXPECT_EQ(project.GetNextValue(value), 2);
    EXPECT_EQ(value, "$PFT_UNSET_VAR");
    EXPECT_EQ(project.GetDirectiveValue("a", value), 0);
    EXPECT_EQ(value, "/h/x");
    value = "untouched";
    EXPECT_EQ(project.GetDirectiveValue("missing", value), 1);
    EXPECT_EQ(project.GetDirectiveValue("EMPTY", value), 2);
    EXPECT_EQ(value, "untouched");
    ::unsetenv("PFT_HOME");
}

TEST_F(Operations, AddValueStartsAFreshUserLevelList) {
    Install("START_P\nA a b\nEND_P\nSTART_Q\nEND_Q\n");
    OpenWithUser("START_P\nU u\nEND_P\n");
    ASSERT_EQ(project.FindDirective("A"), 0);
    project.AddValue("x");
    ASSERT_EQ(project.FindDirective("U"), 0);
    project.AddValue("v"); // already at the user's level: appends
    const SpiDirectiveList& p = project.Programs().Lookup("P")->directives;
    EXPECT_EQ(Levels(project.Programs(), *p.Lookup("A")), "2*|a,b@qrv.cpm:2||x");
    EXPECT_EQ(Levels(project.Programs(), *p.Lookup("U")), "2*|||u,v");
    // A directive added to an install program is made at that program's level.
    ASSERT_EQ(project.FindProgram("Q"), 0);
    project.AddDirective("N");
    EXPECT_EQ(project.Programs().Lookup("Q")->directives.Lookup("N")->level, SpiInstallLevel);
}

// Names and values a directive cannot hold beside its name: a name of 64 KiB or more, a
// later line of the same name far down the file, values read over another file's or added.
// Each reads, walks, tells its origin and writes back as it was given.
TEST_F(Operations, FarNamesAndValuesReadAndWriteBack) {
    const std::string longName(70000, 'N');
    const std::string filler = "{" + std::string(70000, 'f') + "}\n";
    const std::tuple<std::string, std::string, std::string, int> cases[] = {
        {"START_P\n" + longName + " 'v' 'w'\nEND_P\n", longName, "v,w", 2},
        {"START_P\nA '1'\n" + filler + "a '2' '3'\nEND_P\n", "A", "2,3", 4},
        {"START_P\nU 'u'\nEND_P\n", "U", "u", 2},
    };
    for (const auto& [text, name, values, line] : cases) {
        Install("START_P\nU 'i'\nEND_P\n");
        OpenWithUser(text);
        const SpiDirective* d = project.Programs().Lookup("P")->directives.Lookup(name);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->Name(), name);
        EXPECT_EQ(Join(d->ActiveValues()), values);
        EXPECT_EQ(project.Programs().Origin(*d, SpiUserLevel).line, line);
        std::string walk, value;
        ASSERT_EQ(project.FindDirective(name), 0);
        while (project.GetNextValue(value) == 0) {
            walk += value + ",";
        }
        EXPECT_EQ(walk, values + ",");
        // An added value joins the others; the walk goes on where it stood.
        project.AddValue("x");
        EXPECT_EQ(project.GetNextValue(value), 0);
        EXPECT_EQ(value, values.substr(0, values.find(',')));
        ASSERT_EQ(project.Save(Path("out.cpm"), 1), 0) << SpiLastMessage();
        SpiProject reread;
        ASSERT_EQ(reread.Open(Path("out.cpm")), 0) << SpiLastMessage();
        EXPECT_EQ(Join(reread.Programs().Lookup("P")->directives.Lookup(name)->ActiveValues()),
                  values + ",x");
    }
}

// Called out of order, operations neither crash nor touch what they should not.
TEST_F(Operations, OutOfOrderCallsDoNothing) {
    std::string name = "n";
    std::string value = "v";
    EXPECT_EQ(project.FindProgram("PFG142"), 1);
    EXPECT_EQ(SpiLastMessage(), "SPI_NOTE: Can't find the program \"PFG142\"");
    EXPECT_EQ(project.FindDirective("X"), 1);
    EXPECT_EQ(project.GetNextDirective(name), 2);
    project.AddDirective("X");
    project.DeleteDirective("X");
    project.InitDirectiveIteration();
    project.AddValue("x");
    project.InitValueIteration();
    EXPECT_EQ(project.GetNextValue(value), 2);
    EXPECT_EQ(project.GetDirectiveValue("X", value), 1);
    EXPECT_EQ(value, "v");
    EXPECT_EQ(project.CurrentProgramName(), nullptr);
    project.AddProgram("MyProg");
    ASSERT_NE(project.CurrentProgramName(), nullptr);
    EXPECT_EQ(*project.CurrentProgramName(), "MyProg");
    // Deleting the program of the current directive leaves no directive current.
    project.AddDirective("D");
    project.AddProgram("Q");
    project.DeleteProgram("myprog");
    project.AddValue("x");
    EXPECT_EQ(project.GetNextValue(value), 2);
    EXPECT_EQ(project.CurrentProgramName(), nullptr);
}

TEST_F(Operations, CommandLineOptions) {
    for (const char* yes : {"-mpssession", "/MPSSESSION", "mpssession", "-MpsSession"}) {
        EXPECT_TRUE(MatchOption(yes, "mpssession")) << yes;
    }
    for (const char* no : {"--mpssession", "-mpssession2", "", "-", "x-mpssession"}) {
        EXPECT_FALSE(MatchOption(no, "mpssession")) << no;
    }
    std::string value = "v";
    SpiSetArguments({});
    EXPECT_EQ(GetCommandLineOption("mpssession", value), -1);
    SpiSetArguments({"prog", "-x", "/MPSSESSION"});
    EXPECT_EQ(GetCommandLineOption("mpssession", value), 0);
    EXPECT_EQ(value, "");
    SpiResetArguments();
    ASSERT_FALSE(SpiArguments().empty()); // the process's own, from /proc/self/cmdline
    EXPECT_NE(SpiArguments()[0].find("test_projfile"), std::string::npos);
}

TEST_F(Operations, SessionNameIsMadeOnceUnlessTheCommandLineGivesIt) {
    OpenWithUser("START_GLOBAL\nsession_name 'lab'\nEND_GLOBAL\nSTART_P\nEND_P\n");
    ASSERT_EQ(project.FindProgram("Global"), 0);
    std::string value;
    ASSERT_EQ(project.GetDirectiveValue("session_name", value), 0);
    ASSERT_GE(value.size(), 5u);
    EXPECT_EQ(value.substr(value.size() - 4), "_lab"); // user name, "_", the directive's value
    EXPECT_EQ(SpiArguments(), (std::vector<std::string>{"pfsetup-test", "-mpssession", value}));
    std::string again;
    EXPECT_EQ(project.GetDirectiveValue("SESSION_NAME", again), 0);
    EXPECT_EQ(again, value);
    SpiSetArguments({"prog", "-mpssession", "S1"});
    EXPECT_EQ(project.GetDirectiveValue("session_name", value), 0);
    EXPECT_EQ(value, "S1");
}

TEST_F(Operations, SessionNameWithoutDirectiveIsRandomAndWithoutGlobalFails) {
    OpenWithUser("START_GLOBAL\nEND_GLOBAL\nSTART_P\nEND_P\n");
    std::string value;
    ASSERT_EQ(project.GetSessionName(value), 0);
    const std::size_t underscore = value.rfind('_');
    ASSERT_NE(underscore, std::string::npos);
    ASSERT_LT(underscore + 1, value.size()) << value;
    EXPECT_EQ(value.find_first_not_of("0123456789", underscore + 1), std::string::npos) << value;

    SpiSetArguments({"prog"});
    SpiProject bare;
    std::string untouched = "u";
    EXPECT_EQ(bare.GetSessionName(untouched), -1);
    EXPECT_EQ(untouched, "u");
    EXPECT_EQ(LastError().kind, ErrorKind::NotFound);
}

} // namespace
} // namespace pfsetup::test
