// The tool run as a person runs it: arguments in, output and exit status out, in a temporary
// installation.

#include "support/installation.h"
#include "support/json_reader.h"
#include "support/program_run.h"

#include "app/commands.h"
#include "projfile/file_io.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <errno.h>

namespace pfsetup::test {
namespace {

using ToolRun = ProgramRun;

class Cli : public ::testing::Test {
protected:
    ToolRun Tool(const std::string& args) {
        return RunProgram(inst.Dir(), std::string(PFSETUP_TOOL) + " " + args);
    }
    std::string Project() { return ReadFile(inst.Path("p.cpm")); }
    TempInstallation inst;
};

TEST_F(Cli, InitRefusesToOverwriteUnlessForced) {
    EXPECT_EQ(Tool("init p.cpm").status, 0);
    EXPECT_EQ(Project().rfind("{ Machine generated file created by SPI }", 0), 0u);
    WriteFile(inst.Path("p.cpm"), "START_X\nEND_X\n");
    const ToolRun again = Tool("init p.cpm");
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("pfsetup: p.cpm: the file exists"), std::string::npos);
    EXPECT_EQ(Project(), "START_X\nEND_X\n");
    EXPECT_EQ(Tool("init --force p.cpm").status, 0);
    EXPECT_EQ(Project().find("START_X"), std::string::npos);
    EXPECT_EQ(Tool("init no/such/dir/p.cpm").status, 2);
}

TEST_F(Cli, SetGetUnsetRoundTrip) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    struct Row {
        const char* key;
        const char* value;
    } rows[] = {{"Symbol_GridSize", "0.100000"},
                {"Symbol_OutLine", "Bold"},
                {"PinType_TS", "-0.02,0.02,2.0,*,Left"},
                {"Prop_POWER_GROUP", "5,VCC=14,GND=7,No,Invisible,Left"},
                {"Format_ReadActiveLow", "ActiveLow_Suffix_N"},
                {"User_Defined_OverriddenError", "12,40"},
                {"PackagePlaceHolder", "TBD"}};
    for (const Row& row : rows) {
        const ToolRun set = Tool(std::string("set p.cpm ") + row.key + " '" + row.value + "'");
        ASSERT_EQ(set.status, 0) << row.key << set.err;
    }
    for (const Row& row : rows) {
        const ToolRun get = Tool(std::string("get p.cpm ") + row.key);
        EXPECT_EQ(get.out, std::string(row.value) + "\n") << row.key;
    }
    // Reading a single suffix locks the writing suffix to it.
    EXPECT_EQ(Tool("get p.cpm Format_WriteActiveLow").out, "ActiveLow_Suffix_N\n");

    EXPECT_EQ(Tool("unset p.cpm Symbol_GridSize").status, 0);
    EXPECT_EQ(Tool("get p.cpm Symbol_GridSize").out, "0.050000\n");
    EXPECT_EQ(Tool("unset p.cpm Prop_POWER_GROUP").status, 0);
    EXPECT_EQ(Tool("get p.cpm Prop_POWER_GROUP").status, 1);
    EXPECT_EQ(Tool("unset p.cpm Symbol_GridSize").status, 1); // nothing of its own left
    EXPECT_EQ(Project().find("Symbol_GridSize"), std::string::npos);
}

TEST_F(Cli, SetRefusesBadValuesAndWritesNothing) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    const std::string before = Project();
    struct Row {
        const char* key;
        const char* value;
        const char* says;
    } rows[] = {
        {"Symbol_GridSize", "0", "greater than 0"},
        {"Symbol_OutLine", "bold", "\"Thin\", \"Bold\""},
        {"Symbol_NoteSize", "3", "pin text size is greater than the pin spacing"},
        {"Symbol_PinSpacing_LeftRight", "-1", "whole number from 1"},
        {"PinType_TS", "0.01,x,x,x,Right", "input low load \"0.01\""},
        {"PinType_TS", "x,x,x,x,Middle", "position \"Middle\""},
        {"PinType_TS", "x,x", "five fields"},
        {"Prop_PART_NAME", "1,v,Yes,Value,Left", "ERROR:Invalid entry in property name field"},
        {"Prop_POWER_GROUP", "1,VCC,Yes,Value,Left", "Syntax error in value field for POWER_GROUP"},
        {"Prop_NOTE", "1,it's,Yes,Value,Left", "Invalid characters found in property value"},
        {"Prop_lower", "1,v,Yes,Value,Left", "upper case"},
        {"Prop_T", "48,v,No,,", "not both"},
        {"Interpretation_NumAlphaNum", "6", "should be group based"},
        {"Interpretation_AlphaNum", "4", "from 1 to 3"},
        {"User_Defined_OverriddenError", "1,x", "message number \"x\""},
        {"Nonsense_Key", "1", "not a setting key"},
    };
    for (const Row& row : rows) {
        const ToolRun set = Tool(std::string("set p.cpm ") + row.key + " \"" + row.value + "\"");
        EXPECT_EQ(set.status, 1) << row.key;
        EXPECT_NE(set.err.find(row.key), std::string::npos) << set.err;
        EXPECT_NE(set.err.find(row.says), std::string::npos) << set.err;
    }
    EXPECT_EQ(Project(), before);
    EXPECT_EQ(Tool("set missing.cpm Symbol_Width 3").status, 2);
}

TEST_F(Cli, ShowJsonAndOriginsDescribeTheMergedProject) {
    inst.WriteSite("START_PFG142\nSymbol_Width '8'\nEND_PFG142\n");
    WriteFile(inst.Path("p.cpm"), "START_PFG142\nSymbol_Length '9'\nEND_PFG142\n");
    const ToolRun show = Tool("show --json --origin p.cpm");
    ASSERT_EQ(show.status, 0) << show.err;
    JsonValue json;
    std::string error;
    ASSERT_TRUE(ParseJson(show.out, json, error)) << error << show.out;
    EXPECT_EQ(json["symbol"]["minWidth"].number, 8);
    EXPECT_EQ(json["symbol"]["minHeight"].number, 9);
    EXPECT_EQ(json["pinTypes"].items.size(), 13u);
    EXPECT_EQ(json["pinTypes"][0]["type"].text, "INPUT");
    bool user = false, site = false;
    for (const JsonValue& origin : json["origins"].items) {
        user |= origin["key"].text == "Symbol_Length" && origin["level"].text == "user" &&
                origin["line"].number == 2;
        site |= origin["key"].text == "Symbol_Width" && origin["level"].text == "site";
    }
    EXPECT_TRUE(user && site) << show.out;

    const ToolRun text = Tool("show");
    EXPECT_NE(text.out.find("Minimum symbol width            8 grids"), std::string::npos)
        << text.out;
}

TEST_F(Cli, CheckReportsEveryKindOfProblemWithItsLine) {
    WriteFile(inst.Path("p.cpm"), "START_PFG142\n"
                                  "Prop_A '1,x,Yes,Value,Left'\n"
                                  "Symbol_OutLine 'Heavy'\n"
                                  "PinType_TS 'abc,x,x,x,Right'\n"
                                  "Future_Key 'x'\n"
                                  "Prop_A '1,y,Yes,Value,Left'\n"
                                  "START_OTHER\n");
    const ToolRun check = Tool("check p.cpm");
    EXPECT_EQ(check.status, 1);
    for (const char* line :
         {"p.cpm:3: Symbol_OutLine \"Heavy\"", "p.cpm:4: PinType_TS \"abc,x,x,x,Right\"",
          "p.cpm:5: Future_Key: not a setting key",
          "p.cpm:6: duplicate property A (also at line 2)", "p.cpm:8: Failed to read line 8"})
        EXPECT_NE(check.out.find(line), std::string::npos) << line << "\n" << check.out;

    WriteFile(inst.Path("good.cpm"), "START_PFG142\nSymbol_Width '7'\nEND_PFG142\n");
    const ToolRun good = Tool("check good.cpm");
    EXPECT_EQ(good.status, 0) << good.out;
    EXPECT_EQ(good.out, "");
    EXPECT_EQ(Tool("check nothing-here.cpm").status, 2);
}

TEST_F(Cli, TemplatesSaveLoadAndConvert) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    ASSERT_EQ(Tool("set p.cpm Symbol_Width 12").status, 0);
    ASSERT_EQ(Tool("set p.cpm Format_UseMinusInPackage FALSE").status, 0);
    ASSERT_EQ(Tool("template save p.cpm t.tpl").status, 0);
    const std::string tpl = ReadFile(inst.Path("t.tpl"));
    EXPECT_NE(tpl.find("Symbol_Width '12'"), std::string::npos) << tpl;
    EXPECT_EQ(tpl.find("Format_"), std::string::npos);

    ASSERT_EQ(Tool("init q.cpm").status, 0);
    ASSERT_EQ(Tool("template load q.cpm t.tpl").status, 0);
    EXPECT_EQ(Tool("get q.cpm Symbol_Width").out, "12\n");
    EXPECT_EQ(Tool("get q.cpm Format_UseMinusInPackage").out, "TRUE\n");
    EXPECT_EQ(Tool("template load q.cpm missing.tpl").status, 2);

    WriteFile(inst.Path("old.tpl"), "start_pfg\r\nSymbol_Width '3'\r\nEND_PFG\r\n");
    EXPECT_EQ(Tool("template convert old.tpl").status, 0);
    EXPECT_EQ(ReadFile(inst.Path("old.tpl")), "START_PFG142\nSymbol_Width '3'\nEND_PFG142\n");
}

TEST_F(Cli, PinNamesUnderTheProjectsNotationAndInterpretation) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    EXPECT_EQ(Tool("set p.cpm Interpretation_NumAlphaNum 7").status, 1); // alone it conflicts
    ASSERT_EQ(Tool("set p.cpm Interpretation_NumAlphaNum 7 Interpretation_NumAlpha 2").status, 0);
    const ToolRun pin = Tool("pin --project p.cpm --json 'CLK*' RESET_N 2Q3 A7");
    ASSERT_EQ(pin.status, 0) << pin.err;
    JsonValue json;
    std::string error;
    ASSERT_TRUE(ParseJson(pin.out, json, error)) << error;
    EXPECT_TRUE(json[0]["lowAsserted"].boolean);
    EXPECT_EQ(json[0]["activeHigh"].text, "CLK");
    EXPECT_EQ(json[1]["activeLow"].text, "RESET*");
    EXPECT_EQ(json[2]["pattern"].text, "1A1");
    EXPECT_EQ(json[2]["group"].text, "2");
    EXPECT_EQ(json[2]["baseName"].text, "Q");
    EXPECT_EQ(json[2]["bit"].text, "3");
    EXPECT_EQ(json[3]["bit"].text, "7");
    EXPECT_EQ(Tool("pin").status, 1);
}

TEST_F(Cli, TreeAndHelp) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    const ToolRun tree = Tool("tree p.cpm");
    EXPECT_EQ(tree.status, 0);
    EXPECT_EQ(tree.out.rfind("PFG\n", 0), 0u) << tree.out;
    EXPECT_NE(tree.out.find("    GridSize (value)  1=0.050000"), std::string::npos) << tree.out;
    const ToolRun help = Tool("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* command :
         {"init", "show", "get", "set", "unset", "template", "pin", "check", "tree"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    EXPECT_EQ(Tool("--version").out.rfind("pfsetup ", 0), 0u);
    EXPECT_EQ(Tool("frobnicate").status, 1);
}

#ifdef PFSETUP_TOOL_HAS_DIALOGS
TEST_F(Cli, DialogRendersEveryPageWithoutAPerson) {
    WriteFile(inst.Path("p.cpm"),
              ReadFile(std::string(PFSETUP_SOURCE_DIR) + "/examples/demo/project.cpm"));
    for (const char* page : {"0", "1", "2", "3", "4"}) {
        const ToolRun run = Tool(std::string("dialog p.cpm --screenshot page.png --page ") + page);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(ReadFile(inst.Path("page.png")).substr(1, 3), "PNG") << page;
    }
    EXPECT_EQ(Tool("dialog p.cpm --interpretation --screenshot i.png").status, 0);
    EXPECT_EQ(Tool("dialog p.cpm --mode 3 --template missing.tpl --screenshot t.png").status, 2);
    EXPECT_EQ(Tool("dialog p.cpm --mode 7").status, 1);
}
#endif

// A write that fails half-way leaves the project as it was.
TEST_F(Cli, FailedWriteLeavesTheProjectUntouched) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    const std::string before = Project();
    SetWriteFaultForTesting(WriteFault{WriteFault::Write, ENOSPC, 10});
    const int status = app::SetCommand(inst.Path("p.cpm"), {"Symbol_Width", "12"});
    SetWriteFaultForTesting(std::nullopt);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(Project(), before);
}

} // namespace
} // namespace pfsetup::test
