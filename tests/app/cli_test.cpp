// The tool run as a person runs it: arguments in, output and exit status out, in a temporary
// installation.

#include "support/installation.h"
#include "support/json_reader.h"
#include "support/program_run.h"

#include "app/commands.h"
#include "app/settings_view.h"
#include "base/ascii_text.h"
#include "persist/setting_checks.h"
#include "persist/settings_entries.h"
#include "projfile/file_io.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <errno.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace pfsetup::test {
namespace {

using ::testing::HasSubstr;

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Valid UTF-8 throughout (no stray or overlong bytes, no surrogates).
bool IsUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = text[i];
        const size_t n = c < 0x80                 ? 1
                         : c >= 0xC2 && c <= 0xDF ? 2
                         : c >= 0xE0 && c <= 0xEF ? 3
                         : c >= 0xF0 && c <= 0xF4 ? 4
                                                  : 0;
        if (n == 0 || i + n > text.size())
            return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

class Cli : public ::testing::Test {
protected:
    // Runs the tool in the temporary directory; `args` are passed as they are.
    ProgramRun Tool(const std::vector<std::string>& args, const std::string& shell = "") {
        std::string command = shell + PFSETUP_TOOL;
        for (const std::string& arg : args)
            command += " " + ShellQuoted(arg);
        return RunProgram(inst.Dir(), command);
    }
    // Runs the tool with `args` split at spaces.
    ProgramRun Tool(const std::string& args, const std::string& shell = "") {
        std::vector<std::string> split;
        size_t start = 0;
        while (start < args.size()) {
            const size_t space = args.find(' ', start);
            split.push_back(args.substr(start, space - start));
            start = space == std::string::npos ? space : space + 1;
        }
        return Tool(split, shell);
    }
    std::string Project() { return ReadFile(inst.Path("p.cpm")); }
    TempInstallation inst;
};

TEST_F(Cli, InitRefusesToOverwriteUnlessForced) {
    EXPECT_EQ(Tool("init p.cpm").status, 0);
    EXPECT_EQ(Project().rfind("{ Machine generated file created by SPI }", 0), 0u);
    WriteFile(inst.Path("p.cpm"), "START_X\nEND_X\n");
    const ProgramRun again = Tool("init p.cpm");
    EXPECT_EQ(
        again.err + std::to_string(again.status),
        "pfsetup: p.cpm: the file exists; use --force to replace it with an empty project\n1");
    EXPECT_EQ(Project(), "START_X\nEND_X\n");
    EXPECT_EQ(Tool("init --force p.cpm").status, 0);
    EXPECT_EQ(Project().find("START_X"), std::string::npos);
    const ProgramRun nowhere = Tool("init no/such/dir/p.cpm");
    EXPECT_EQ(nowhere.err + std::to_string(nowhere.status),
              "pfsetup: no/such/dir/p.cpm: cannot write (no such file or directory)\n2");
    ASSERT_EQ(::mkfifo(inst.Path("fifo").c_str(), 0600), 0);
    EXPECT_EQ(Tool("init --force fifo").err, "pfsetup: fifo: not a regular file\n");
}

TEST_F(Cli, SetGetUnsetRoundTrip) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    const std::pair<std::string, std::string> rows[] = {
        {"Symbol_GridSize", "0.100000"},
        {"Symbol_OutLine", "Bold"},
        {"PinType_TS", "-0.02,0.02,2.0,*,Left"},
        {"Prop_POWER_GROUP", "5,VCC=14,GND=7,No,Invisible,Left"},
        {"Format_ReadActiveLow", "ActiveLow_Suffix_N"},
        {"User_Defined_OverriddenError", "12,40"},
        {"PackagePlaceHolder", "TBD"}};
    for (const auto& [key, value] : rows) {
        const ProgramRun set = Tool({"set", "p.cpm", key, value});
        ASSERT_EQ(set.status, 0) << key << set.err;
    }
    for (const auto& [key, value] : rows)
        EXPECT_EQ(Tool({"get", "p.cpm", key}).out, value + "\n") << key;
    // Reading a single suffix locks the writing suffix to it.
    EXPECT_EQ(Tool("get p.cpm Format_WriteActiveLow").out, "ActiveLow_Suffix_N\n");

    EXPECT_EQ(Tool("unset p.cpm Symbol_GridSize").status, 0);
    EXPECT_EQ(Tool("get p.cpm Symbol_GridSize").out, "0.050000\n");
    EXPECT_EQ(Tool("unset p.cpm Prop_POWER_GROUP").status, 0);
    EXPECT_EQ(Tool("get p.cpm Prop_POWER_GROUP").status, 1);
    EXPECT_EQ(Tool("unset p.cpm Symbol_GridSize").status, 1); // nothing of its own left
    EXPECT_EQ(Project().find("Symbol_GridSize"), std::string::npos);
    // The entry a read finds, whatever its letter case, even where no setting reads it.
    WriteFile(inst.Path("p.cpm"), "START_PFG142\nprop_a '1,x,No,Value,Left'\nEND_PFG142\n");
    EXPECT_EQ(Tool("unset p.cpm Prop_A").status, 0);
    EXPECT_EQ(Project().find("prop_a"), std::string::npos);
}

// What `set` refuses is the checks' table (tests/persist); here, that `set` goes by it and by the
// rules between settings, says so on one line and writes nothing.
TEST_F(Cli, SetRefusesBadValuesAndWritesNothing) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    ASSERT_EQ(Tool("set p.cpm Format_ReadActiveLow ActiveLow_Suffix_Star").status, 0);
    const std::string before = Project();
    const std::pair<std::vector<std::string>, const char*> rows[] = {
        {{"Symbol_Width", "2147483647"},
         "pfsetup: p.cpm: Symbol_Width \"2147483647\": allowed: a whole number from 1 to 100000\n"},
        {{"Format_WriteActiveLow", "ActiveLow_Suffix_N"}, "written with the suffix they are read"},
    };
    for (const auto& [args, says] : rows) {
        std::vector<std::string> command = {"set", "p.cpm"};
        command.insert(command.end(), args.begin(), args.end());
        const ProgramRun set = Tool(command);
        EXPECT_EQ(set.status, 1) << args[0];
        EXPECT_EQ(set.err.rfind("pfsetup: p.cpm: ", 0), 0u) << set.err;
        EXPECT_NE(set.err.find(says), std::string::npos) << set.err;
        EXPECT_EQ(std::count(set.err.begin(), set.err.end(), '\n'), 1) << set.err;
    }
    EXPECT_EQ(Project(), before);
}

// A number a field cannot hold is ignored by the read and said so; a write of another key
// leaves its line as it is, and a value's variables.
TEST_F(Cli, NumbersThatDoNotFitAndVariablesAreLeftAlone) {
    WriteFile(inst.Path("p.cpm"),
              "START_PFG142\nUser_Defined_OverriddenError '1,99999'\n"
              "Symbol_GridSize '1e39'\nProp_NOTE '4,$HOME/x,No,,'\nEND_PFG142\n");
    const ProgramRun set = Tool("set p.cpm Symbol_Width 7");
    EXPECT_EQ(set.status, 0);
    EXPECT_THAT(set.err, HasSubstr("pfsetup: p.cpm: User_Defined_OverriddenError item '99999' "
                                   "is ignored"));
    EXPECT_NE(Project().find("START_PFG142\nUser_Defined_OverriddenError '1,99999'\n"
                             "Symbol_GridSize '1e39'\nProp_NOTE '4,$HOME/x,No,,'\n"
                             "Symbol_Width '7'\nEND_PFG142"),
              std::string::npos)
        << Project();
    EXPECT_EQ(Tool("get p.cpm Symbol_GridSize").out, "0.050000\n");
}

TEST_F(Cli, ShowJsonIsVersionedTypedUtf8AndKeyedLikeTheFiles) {
    inst.WriteSite("START_PFG142\nSymbol_Width '8'\nEND_PFG142\n");
    WriteFile(inst.Path("p.cpm"), "START_PFG142\nSymbol_Length '9'\n"
                                  "PackagePlaceHolder 'T\xe9st,\xc3\xa9'\nEND_PFG142\n");
    const ProgramRun show = Tool("show --json --origin p.cpm");
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_TRUE(IsUtf8(show.out));
    EXPECT_NE(show.out.find("\"T\\udce9st\",\"\xc3\xa9\""), std::string::npos) << show.out;
    const JsonValue json = Json(show.out);
    const JsonValue& settings = json["settings"];
    EXPECT_EQ(json["version"].number, 1);
    EXPECT_EQ(settings["Symbol_Width"].number, 8);
    EXPECT_EQ(settings["Symbol_GridSize"].number, 0.05);
    EXPECT_EQ(settings["Symbol_OutLine"].text, "Thin");
    EXPECT_TRUE(settings["Symbol_UsePinNamesForText"].boolean);
    EXPECT_TRUE(settings["UseSplitInstProp"].boolean);
    EXPECT_EQ(settings["Format_ReadActiveLow"].text, "ActiveLow_Suffix_Star_And_N");
    EXPECT_EQ(settings["Interpretation_AlphaNum"].number, 2);
    EXPECT_EQ(settings["PinType_INPUT"]["Iil"].text, "-0.01");
    EXPECT_EQ(settings["PinType_INPUT"]["Iol"].kind, JsonValue::Null);
    EXPECT_EQ(settings["PackagePlaceHolder"].items.size(), 2u);
    EXPECT_EQ(json["origins"]["Symbol_Length"]["line"].number, 2);
    EXPECT_EQ(json["origins"]["Symbol_Length"]["level"].text, "user");
    EXPECT_EQ(json["origins"]["Symbol_Width"]["level"].text, "site");

    const ProgramRun text = Tool("show --origin p.cpm");
    EXPECT_NE(text.out.find("  Minimum symbol height           9  [user p.cpm:2]"),
              std::string::npos)
        << text.out;
    EXPECT_EQ(text.out.find("PFG142"), std::string::npos);
}

TEST_F(Cli, ChangedAndDiffShowOnlyWhatDiffers) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    ASSERT_EQ(Tool("set p.cpm Symbol_GridSize 0.1").status, 0);
    ASSERT_EQ(Tool("init q.cpm").status, 0);
    ASSERT_EQ(Tool("set q.cpm Symbol_GridSize 0.1 Symbol_OutLine Bold").status, 0);
    ASSERT_EQ(Tool({"set", "q.cpm", "Prop_T", "1,v,No,Value,Left"}).status, 0);
    EXPECT_EQ(Tool("show --changed p.cpm").out,
              "Symbol\n  Grid                            0.100000\n");
    EXPECT_EQ(Tool("show --changed q.cpm --list").out,
              "Symbol_GridSize=0.100000\nSymbol_OutLine=Bold\nProp_T=1,v,No,Value,Left\n");
    const ProgramRun diff = Tool("diff p.cpm q.cpm");
    EXPECT_EQ(diff.status, 1); // as diff does when the files differ
    EXPECT_EQ(diff.out, "--- p.cpm\n+++ q.cpm\nSymbol\n"
                        "- Symbol outline                  Thin\n"
                        "+ Symbol outline                  Bold\n\nProperties\n"
                        "+ T                 v             symbol                    optional  "
                        "Value     Left\n");
    const ProgramRun same = Tool("diff p.cpm p.cpm");
    EXPECT_EQ(same.out + std::to_string(same.status), "0");
    EXPECT_EQ(Tool("diff --json p.cpm q.cpm").out,
              "{\"version\":1,\"first\":\"p.cpm\",\"second\":\"q.cpm\",\"differences\":["
              "{\"key\":\"Symbol_OutLine\",\"first\":\"Thin\",\"second\":\"Bold\"},"
              "{\"key\":\"Prop_T\",\"second\":{\"type\":1,\"value\":\"v\",\"required\":false,"
              "\"visibility\":\"Value\",\"alignment\":\"Left\"}}]}\n");
}

TEST_F(Cli, KeysDescribeThemselves) {
    const ProgramRun names = Tool("keys --names");
    ASSERT_EQ(names.status, 0) << names.err;
    EXPECT_EQ(names.out.rfind("PinType_INPUT\n", 0), 0u);
    EXPECT_NE(names.out.find("\nUse_Group_Format\n"), std::string::npos);
    const ProgramRun json = Tool("keys --json");
    const JsonValue keys = Json(json.out);
    EXPECT_EQ(keys["keys"].items.size(),
              static_cast<size_t>(std::count(names.out.begin(), names.out.end(), '\n')) + 1);
    for (const JsonValue& key : keys["keys"].items) {
        EXPECT_FALSE(key["group"].text.empty() || key["allowed"].text.empty() ||
                     key["description"].text.empty())
            << key["key"].text;
        // Every choice offered is a value `set` takes.
        std::string problem;
        for (const JsonValue& choice : key["choices"].items)
            EXPECT_TRUE(CheckSettingEntry(key["key"].text, choice["text"].text, problem))
                << key["key"].text << " " << choice["text"].text << ": " << problem;
    }
    EXPECT_EQ(Tool("keys Symbol_OutLine").out, "Symbol_OutLine\n"
                                               "  group        Symbol\n"
                                               "  form         text\n"
                                               "  allowed      one of \"Thin\", \"Bold\"\n"
                                               "  default      Thin\n"
                                               "  description  line of the symbol's outline\n");
    EXPECT_EQ(Tool("keys symbol_outline").err,
              "pfsetup: symbol_outline: not a setting key; did you mean Symbol_OutLine?\n");
}

// --site works on the site file the search finds, as git config --system does.
TEST_F(Cli, SiteFileIsShownAndChangedInPlace) {
    const ProgramRun none = Tool("get --site Symbol_Width");
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, "pfsetup: qrvsetup/projmgr/site.cpm: not found in QRV_SEARCH_PATH or the "
                        "installation root; include the installation directory in "
                        "QRV_SEARCH_PATH\n");
    // A missing site file is made where the search path names its folder, and only by a set
    // that succeeds.
    const std::string site = inst.Path("inst/qrvsetup/projmgr/site.cpm");
    EXPECT_EQ(Tool("set --site Symbol_Length 0").status, 1);
    EXPECT_EQ(Tool("get --site Symbol_Length").status, 2);
    ASSERT_EQ(Tool("set --site Symbol_Length 9").status, 0);
    EXPECT_EQ(Tool("get --site Symbol_Length").out, "9\n");
    inst.WriteSite("START_OTHER\nX '1'\nEND_OTHER\nSTART_PFG142\nSymbol_Width '8'\n"
                   "PackagePlaceHolder 'TBD'\nEND_PFG142\n");
    EXPECT_EQ(Tool("get --site Symbol_Width").out, "8\n");
    ASSERT_EQ(Tool("set --site Symbol_Length 9").status, 0);
    EXPECT_EQ(Tool("set --site Symbol_Length 0").status, 1);
    const std::string written = ReadFile(site);
    for (const char* kept :
         {"X '1'", "Symbol_Width '8'", "PackagePlaceHolder 'TBD'", "Symbol_Length '9'"})
        EXPECT_NE(written.find(kept), std::string::npos) << kept << "\n" << written;
    EXPECT_NE(Tool("show --site --origin").out.find("9  [site "), std::string::npos);
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    EXPECT_EQ(Tool("get p.cpm Symbol_Length").out, "9\n");
    ASSERT_EQ(Tool("unset --site Symbol_Width").status, 0);
    EXPECT_EQ(Tool("get --site Symbol_Width").out, "6\n");
    EXPECT_EQ(Tool("show --site --changed").out.find("Minimum symbol width"), std::string::npos);
}

TEST_F(Cli, CheckReportsEveryProblemOfAFileInLineOrder) {
    inst.WriteSite("START_PFG142\nSymbol_NoteSize '2'\nEND_PFG142\n");
    struct Row {
        const char* text;
        const char* report;
    } rows[] = {
        {"START_PFG142\nSymbol_PinSpacing_TopBottom '1'\nEND_PFG142\n",
         "p.cpm:2: since pin text size is greater than the pin spacing, pin text and symbol pin "
         "properties may get overlapped; allowed: Symbol_NoteSize at most 1, the smaller of "
         "Symbol_PinSpacing_LeftRight 1 and Symbol_PinSpacing_TopBottom 1\n"},
        {"START_PFG142\nSymbol_PinSpacing_LeftRight '2'\nSymbol_PinSpacing_TopBottom '2'\n"
         "END_PFG142\n",
         ""},
        {"{ header }\nSTART_PFG142\n"
         "Symbol_PinSpacing_LeftRight '3'\n"
         "Symbol_PinSpacing_TopBottom '3'\n"
         "Prop_A '1,x,Yes,Value,Left'\n"
         "Symbol_OutLine 'Heavy'\n"
         "PinType_TS 'abc,x,x,x,Right'\n"
         "Future_Key 'x'\n"
         "Prop_A '1,y,Yes,Value,Left'\n"
         "symbol_width '7'\n"
         "Symbol_Length\n"
         "Symbol_NoteSize '4' '2'\n"
         "Symbol_Width 'abc'\n"
         "Format_ReadActiveLow 'ActiveLow_Suffix_Star'\n"
         "Format_WriteActiveLow 'ActiveLow_Suffix_N'\n"
         "PackagePlaceHolder 'unterminated\n"
         "Prop_B '1,ok,No,Name,Left'\n"
         "END_PFG142\n"
         "stray line\n"
         "START_OTHER\n"
         "x y\n",
         "p.cpm:6: Symbol_OutLine \"Heavy\": allowed: one of \"Thin\", \"Bold\"; a read ignores "
         "it (the setting keeps its value)\n"
         "p.cpm:7: PinType_TS \"abc,x,x,x,Right\": the input low load \"abc\" is not a load of "
         "this column; allowed: \"*\" or a negative number such as -0.01, or \"x\" for none\n"
         "p.cpm:8: Future_Key: not a setting key; a read ignores it\n"
         "p.cpm:9: Prop_A: given again (first at line 5); the last one applies\n"
         "p.cpm:11: Symbol_Length: no value; a read skips the entry, so the installed value "
         "does not apply\n"
         "p.cpm:12: Symbol_NoteSize: 2 values; a read takes only the first, \"4\"\n"
         "p.cpm:12: since pin text size is greater than the pin spacing, pin text and symbol "
         "pin properties may get overlapped; allowed: Symbol_NoteSize at most 3, the smaller of "
         "Symbol_PinSpacing_LeftRight 3 and Symbol_PinSpacing_TopBottom 3\n"
         "p.cpm:13: Symbol_Width: given again (first at line 10); the last one applies\n"
         "p.cpm:13: Symbol_Width \"abc\": allowed: a whole number from 1 to 100000; a read "
         "takes it as '0'\n"
         "p.cpm:15: low-asserted pins are written with the suffix they are read with: "
         "Format_ReadActiveLow \"ActiveLow_Suffix_Star\" needs Format_WriteActiveLow "
         "\"ActiveLow_Suffix_Star\", not \"ActiveLow_Suffix_N\"\n"
         "p.cpm:16: missing closing quote; a read of the project fails here\n"
         "p.cpm:19: text outside a START_<name> ... END_<name> section; a read of the project "
         "fails here\n"
         "p.cpm:20: section OTHER has no END_OTHER line; it runs to the end of the file\n"},
        // A key respelt is read when a lower level names it (the first spelling stays).
        {"START_PFG142\nSymbol_PinSpacing_LeftRight '2'\nSymbol_PinSpacing_TopBottom '2'\n"
         "SYMBOL_GRIDSIZE '0.1'\nuseSplitInstProp '0'\nEND_PFG142\n",
         "p.cpm:5: useSplitInstProp: the key is written UseSplitInstProp (a read goes by its "
         "case)\n"},
    };
    for (const Row& row : rows) {
        WriteFile(inst.Path("p.cpm"), row.text);
        const ProgramRun check = Tool("check p.cpm");
        std::istringstream lines(check.out);
        std::string problems; // the tree's warnings are told below
        for (std::string line; std::getline(lines, line);)
            if (line.find(": warning: ") == std::string::npos)
                problems += line + "\n";
        EXPECT_EQ(problems, row.report) << row.text;
        EXPECT_EQ(check.status, *row.report ? 1 : 0) << row.text;
        EXPECT_EQ(check.err, "");
    }
    EXPECT_EQ(Tool("get p.cpm Symbol_GridSize").out, "0.100000\n");
    // The conflict is at the site file's line when the site file overrides last.
    WriteFile(inst.Path("p.cpm"), "START_PFG142\nEND_PFG142\n");
    EXPECT_EQ(Tool("check p.cpm").out.rfind(inst.Path("inst/qrvsetup/projmgr/site.cpm:2: "), 0),
              0u);
    // A settings tree that disagrees with the entries is told, and leaves the status as it is.
    WriteFile(inst.Path("p.cpm"), "START_PFG142\nSymbol_OutLine 'Bold'\n"
                                  "Symbol_PinSpacing_LeftRight '2'\nSymbol_PinSpacing_TopBottom '2'"
                                  "\nEND_PFG142\nSTART_SETUP_TREE\nPFG/Symbol/OutLine 'value' "
                                  "'1=Thin'\nPFG/Symbol/Pin/Shape/MinimumPinSpacing 'value' '1=2'\n"
                                  "END_SETUP_TREE\n");
    const ProgramRun tree = Tool("check p.cpm");
    EXPECT_EQ(tree.out, "p.cpm:2: warning: Symbol_OutLine \"Bold\": the settings tree holds "
                        "\"Thin\" at PFG/Symbol/OutLine, the entries make it \"Thick\"; the next "
                        "save rewrites the tree\n");
    EXPECT_EQ(tree.status, 0);
}

// The same cause gives the same message and exit status in every command, in one form: 2 for
// a file that cannot be read, 1 for a file's content.
TEST_F(Cli, OneVoiceForFileProblemsAndArguments) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    ASSERT_EQ(::mkfifo(inst.Path("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(inst.Path("dir").c_str(), 0700), 0);
    WriteFile(inst.Path("q.cpm"), "START_PFG142\nSymbol_Width '7\nEND_PFG142\n");
    const struct {
        const char* file;
        const char* message;
        int status;
    } causes[] = {{"missing.cpm", "missing.cpm: no such file", 2},
                  {"fifo", "fifo: not a regular file", 2},
                  {"dir", "dir: is a directory", 2},
                  {"q.cpm", "q.cpm:2: missing closing quote", 1}};
    for (const auto& cause : causes) {
        const std::string f = cause.file;
        for (const std::string& args :
             {"show " + f, "get " + f + " Symbol_Width", "set " + f + " Symbol_Width 3",
              "unset " + f + " Symbol_Width", "tree " + f, "check " + f, "template load p.cpm " + f,
              "template save " + f + " t.tpl", "template convert " + f, "diff p.cpm " + f,
              "pin --project " + f + " A"}) {
            // check reports content on stdout, convert does not read it, unset looks for the
            // file's own entry first.
            const bool readable = cause.status == 1;
            if (readable &&
                (args.rfind("check ", 0) == 0 || args.rfind("template convert", 0) == 0 ||
                 args.rfind("unset ", 0) == 0))
                continue;
            const ProgramRun run = Tool(args);
            EXPECT_EQ(run.status, cause.status) << args;
            EXPECT_EQ(run.err.rfind("pfsetup: " + std::string(cause.message), 0), 0u) << run.err;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        }
    }
    // Output that cannot be written fails the command, as in GNU tools: a full device of
    // our own, where root may make one.
    if (::geteuid() == 0 &&
        ::mknod(inst.Path("full").c_str(), S_IFCHR | 0600, ::makedev(1, 7)) == 0) {
        const ProgramRun full = Tool({"show", "--json", "p.cpm"}, "exec >full; ");
        EXPECT_EQ(full.err + std::to_string(full.status),
                  "pfsetup: write error: No space left on device\n2");
    }
    // The words of the command line: usage, suggestions and refusals in the same voice.
    const std::pair<const char*, const char*> said[] = {
        {"bogus", "bogus: not a command; `pfsetup help` lists them"},
        {"shwo p.cpm", "shwo: not a command; did you mean show?"},
        {"template sav p.cpm t.tpl", "template sav: not a command; did you mean template save?"},
        {"template", "template: a subcommand is missing; one of save, load, convert; usage: "
                     "pfsetup template save|load|convert ..."},
        {"show --jsno p.cpm", "--jsno: not an option of show; did you mean --json?"},
        {"get", "get: PROJECT is missing; usage: pfsetup get PROJECT KEY | --site KEY"},
        {"get  Symbol_Width", "get: PROJECT is empty; usage: pfsetup get PROJECT KEY | --site KEY"},
        {"get --  Symbol_Width",
         "get: PROJECT is empty; usage: pfsetup get PROJECT KEY | --site KEY"},
        {"get p.cpm Symbol_Width x",
         "get: extra operand \"x\"; usage: pfsetup get PROJECT KEY | --site KEY"},
        {"set p.cpm Symbol_Width", "set: KEY \"Symbol_Width\" has no VALUE; usage: pfsetup set "
                                   "[--wait SECONDS] (PROJECT | --site) [--json FILE|-] [KEY "
                                   "VALUE]..."},
        {"unset p.cpm Symbol_GridSiz",
         "p.cpm: Symbol_GridSiz: not a setting key; did you mean Symbol_GridSize?"},
        {"set p.cpm Interpretation_NumAlphaNum 7",
         "p.cpm: Interpretation_NumAlphaNum \"7\": the Numeral AlphaNumeral interpretation "
         "should be group based; allowed: with Interpretation_NumAlphaNum 7 (G-BN-B): "
         "Interpretation_NumAlpha 2 (G-BN), set in the same command"},
        {"template save p.cpm q.cpm", "q.cpm: the file exists; use --force to replace it"},
    };
    const ProgramRun nope = Tool("set nope.cpm Symbol_Width 3");
    EXPECT_EQ(nope.err + std::to_string(nope.status),
              "pfsetup: nope.cpm: no such file; `pfsetup init nope.cpm` creates a project\n2");
    EXPECT_EQ(Tool({"get", "p.cpm", "A\x1b[2J\nB"}).err,
              "pfsetup: p.cpm: A\\x1b[2J B: not a setting key; `pfsetup keys` lists them\n");
    for (const auto& [args, says] : said) {
        const ProgramRun run = Tool(args);
        EXPECT_EQ(run.err + std::to_string(run.status), "pfsetup: " + std::string(says) + "\n1")
            << args;
    }
    EXPECT_NE(Tool("help get").out.find("Usage: pfsetup get PROJECT KEY | --site KEY\n"),
              std::string::npos);
    for (const char* help :
         {"--help", "dialog --help", "get --help", "pin --help", "help", "help template save"}) {
        const ProgramRun run = Tool(help);
        EXPECT_EQ(run.status, 0) << help;
        for (const char* type : {"TEXT", "UINT", "INT", "REQUIRED"})
            EXPECT_EQ(run.out.find(type), std::string::npos) << help << ": " << run.out;
    }
}

TEST_F(Cli, TemplatesSaveLoadAndConvert) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    ASSERT_EQ(Tool("set p.cpm Symbol_Width 12").status, 0);
    ASSERT_EQ(Tool("template save p.cpm t.tpl").status, 0);
    EXPECT_NE(ReadFile(inst.Path("t.tpl")).find("Symbol_Width '12'"), std::string::npos);

    ASSERT_EQ(Tool("init q.cpm").status, 0);
    ASSERT_EQ(Tool("template load q.cpm t.tpl").status, 0);
    EXPECT_EQ(Tool("get q.cpm Symbol_Width").out, "12\n");

    WriteFile(inst.Path("old.tpl"), "start_pfg\r\nSymbol_Width '3'\r\nEND_PFG\r\n");
    EXPECT_EQ(Tool("template convert old.tpl").out, "Converted old.tpl\n");
}

TEST_F(Cli, PinNamesUnderTheProjectsNotationAndInterpretation) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    ASSERT_EQ(Tool("set p.cpm Interpretation_NumAlphaNum 7 Interpretation_NumAlpha 2").status, 0);
    const ProgramRun pin = Tool({"pin", "--project", "p.cpm", "--json", "CLK*", "RESET_N", "2Q3"});
    ASSERT_EQ(pin.status, 0) << pin.err;
    const JsonValue json = Json(pin.out);
    // A name is one operand, brackets and commas included.
    EXPECT_EQ(Tool(std::vector<std::string>{"pin", "[A1,B2]"}).out.rfind("[A1,B2]: not low", 0),
              0u);
    const JsonValue& pins = json["pins"];
    EXPECT_EQ(json["version"].number, 1);
    EXPECT_TRUE(pins[0]["lowAsserted"].boolean);
    EXPECT_EQ(pins[0]["activeHigh"].text, "CLK");
    EXPECT_EQ(pins[1]["activeLow"].text, "RESET*");
    EXPECT_EQ(pins[2]["pattern"].text, "1A1");
    EXPECT_EQ(pins[2]["group"].text, "2");
    EXPECT_EQ(pins[2]["bit"].text, "3");
}

TEST_F(Cli, TreeAndHelp) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    const ProgramRun tree = Tool("tree p.cpm");
    EXPECT_EQ(tree.status, 0);
    EXPECT_EQ(tree.out.rfind("PFG\n", 0), 0u) << tree.out;
    EXPECT_NE(tree.out.find("    GridSize (value)  1=0.050000"), std::string::npos) << tree.out;
    EXPECT_EQ(Tool("--version").out.rfind("pfsetup ", 0), 0u);
}

// The completion runs in bash as the shell runs it, asking the tool for its keys.
TEST_F(Cli, BashCompletesCommandsOptionsAndKeys) {
    struct Row {
        const char* words; // the command line up to the cursor
        const char* offered;
    } rows[] = {
        {"", "--help --version check dialog diff get help init keys pin set show template tree "
             "unset"},
        {"ke", "keys"},
        {"show --", "-- --changed --help --json --list --origin --site"},
        {"get p.cpm Symbol_Gr", "Symbol_GridSize"},
        {"get p.cpm Prop_T", "Prop_TOLERANCE"},
        {"get --site Symbol_Out", "Symbol_OutLine"},
        {"set --wait 3 p.cpm Symbol_Width 3 PinType_OC", "PinType_OC PinType_OC_BIDIR"},
        {"set p.cpm -- Symbol_Width -3 Symbol_Out", "Symbol_OutLine"},
        {"set p.cpm Symbol_OutLine ", "Bold Thin"},
        {"set p.cpm Symbol_Width ", ""},
        {"template ", "convert load save"},
        {"template save --f", "--force"},
        {"keys Use", "UseSplitInstProp Use_Group_Format User_Defined_OverriddenError"},
    };
    WriteFile(inst.Path("p.cpm"),
              "START_PFG142\nProp_TOLERANCE '1,5%,Yes,Value,Left'\nEND_PFG142\n");
    for (const Row& row : rows) {
        const std::string script =
            std::string("source ") + PFSETUP_SOURCE_DIR + "/completion/pfsetup.bash; " +
            "COMP_LINE=" + ShellQuoted(std::string(PFSETUP_TOOL) + " " + row.words) +
            "; read -ra COMP_WORDS <<< \"$COMP_LINE\"; " +
            "[[ $COMP_LINE == *' ' ]] && COMP_WORDS+=(''); " +
            "COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _pfsetup; " +
            "printf '%s\\n' \"${COMPREPLY[@]}\" | sort | tr '\\n' ' '";
        const ProgramRun run = RunProgram(inst.Dir(), "bash -c " + ShellQuoted(script));
        std::string offered = run.out;
        if (!offered.empty() && offered.back() == ' ')
            offered.pop_back();
        EXPECT_EQ(offered, row.offered) << row.words << run.err;
    }
}

// Every key takes every value exactly as typed: `set` refuses it in the rule table's words, or
// `get` and `show --json` give it back as it was given.
TEST_F(Cli, EveryKeyTakesAwkwardValuesAsTyped) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    std::vector<std::string> keys = AllSettingKeys();
    keys.push_back("Prop_AWK");
    for (const std::string value : {"[TBD]", "[a,b]", "a,b", "-x", "-1", "--", "--json", "'q'",
                                    "\"q\"", " a b ", "", "\xc3\xa4\xe2\x82\xac", "x=1"}) {
        std::vector<std::string> accepted;
        for (const std::string& key : keys) {
            const ProgramRun set = Tool({"set", "p.cpm", "--", key, value});
            std::string problem;
            if (!CheckSettingEntry(key, value, problem)) {
                EXPECT_EQ(set.err + std::to_string(set.status),
                          "pfsetup: p.cpm: " + key + " " + Quoted(value) + ": " + problem + "\n1");
                continue;
            }
            EXPECT_EQ(set.status, 0) << key << " " << value << set.err;
            EXPECT_EQ(Tool({"get", "p.cpm", key}).out, value + "\n") << key;
            accepted.push_back(key);
        }
        const JsonValue json = Json(Tool("show --json p.cpm").out);
        for (const std::string& key : accepted) {
            std::string text, problem;
            EXPECT_TRUE(TypedValueText(*FindSettingKey(key), json["settings"][key], text, problem));
            EXPECT_EQ(text, value) << key;
        }
    }
}

// What `show --json` and `show --list` print goes back into `set` as it is; what does not fit
// is refused before anything is written.
TEST_F(Cli, ShownSettingsGoBackIntoSet) {
    WriteFile(inst.Path("p.cpm"),
              ReadFile(std::string(PFSETUP_SOURCE_DIR) + "/examples/demo/project.cpm"));
    WriteFile(inst.Path("all.json"), Tool("show --json p.cpm").out);
    ASSERT_EQ(Tool("init q.cpm").status, 0);
    ASSERT_EQ(Tool("set q.cpm --json all.json").status, 0);
    EXPECT_EQ(Tool("diff p.cpm q.cpm").out, "");
    std::vector<std::string> pairs = {"set", "r.cpm", "--"};
    std::istringstream list(Tool("show --list p.cpm").out);
    for (std::string line; std::getline(list, line);) {
        pairs.push_back(line.substr(0, line.find('=')));
        pairs.push_back(line.substr(line.find('=') + 1));
    }
    ASSERT_EQ(Tool("init r.cpm").status, 0);
    ASSERT_EQ(Tool(pairs).status, 0);
    EXPECT_EQ(Tool("diff p.cpm r.cpm").status, 0);
    const std::string before = ReadFile(inst.Path("q.cpm"));
    const std::pair<const char*, const char*> refused[] = {
        {"{\"Symbol_Width\":\"7\"}",
         "Symbol_Width \"\\\"7\\\"\": JSON gives a string; allowed: a number"},
        {"{\"settings\":{\"Symbol_Widht\":7}}",
         "Symbol_Widht: not a setting key; did you mean Symbol_Width?"},
        {"{\"PackagePlaceHolder\":[\"a,b\"]}", "PackagePlaceHolder \"[\\\"a,b\\\"]\": item "
                                               "\"a,b\" holds a comma, which separates the items"},
        {"{\"Prop_A\":{\"type\":1,\"value\":\"v\",\"required\":true,\"visibility\":\"x,y\","
         "\"alignment\":null}}",
         "Prop_A"},
        {"[1]", "not a JSON object of settings"},
        {"{\"Symbol_Width\":", "not JSON: a value expected at offset 16"},
    };
    for (const auto& [text, says] : refused) {
        const ProgramRun set =
            Tool({"set", "q.cpm", "--json", "-"}, "printf '%s' " + ShellQuoted(text) + " | ");
        EXPECT_EQ(set.status, 1) << text;
        EXPECT_EQ(set.err.rfind("pfsetup: standard input: " + std::string(says), 0), 0u) << set.err;
    }
    EXPECT_EQ(ReadFile(inst.Path("q.cpm")), before);
}

TEST(ManPage, CoversEveryCommandAndExitStatus) {
    const std::string page = ReadFile(std::string(PFSETUP_SOURCE_DIR) + "/man/pfsetup.1");
    for (const char* command :
         {"init", "show", "get", "set", "unset", "diff", "keys", "template save", "template load",
          "template convert", "pin", "check", "tree", "dialog", "help"})
        EXPECT_NE(page.find(std::string("pfsetup ") + command + " "), std::string::npos) << command;
    const size_t exit = page.find(".SH EXIT STATUS");
    ASSERT_NE(exit, std::string::npos);
    for (const char* status : {".B 0\n", ".B 1\n", ".B 2\n"})
        EXPECT_NE(page.find(status, exit), std::string::npos) << status;
}

// No command writes the installation's project file, however the path spells it, nor a
// template over the project it comes from; limits that are no numbers stop a command at once.
TEST_F(Cli, CommandsNeverWriteWhatTheyMustNot) {
    const std::string installed = inst.Path("inst/qrvsetup/projmgr/qrv.cpm");
    const std::string before = ReadFile(installed);
    WriteFile(inst.Path("t.tpl"), "START_PFG142\nSymbol_Width '9'\nEND_PFG142\n");
    for (const std::string& args : std::vector<std::string>{
             "set inst/qrvsetup//projmgr/qrv.cpm Symbol_Width 9",
             "unset inst/qrvsetup/projmgr/../projmgr/qrv.cpm Symbol_Width",
             "template load inst/qrvsetup/projmgr/qrv.cpm t.tpl", "init --force " + installed}) {
        const ProgramRun run = Tool(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_NE(run.err.find("install"), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadFile(installed), before);

    ASSERT_EQ(Tool("init p.cpm").status, 0);
    ASSERT_EQ(Tool("set p.cpm Symbol_Width 12").status, 0);
    const std::string project = Project();
    WriteFile(inst.Path("none.tpl"), "START_OTHER\nSymbol_Width '3'\nEND_OTHER\n");
    const struct {
        const char* shell;
        const char* args;
        const char* err;
    } refused[] = {
        {"", "template save p.cpm ./p.cpm",
         "./p.cpm: it is the project file the settings come from; allowed: a file of its own "
         "for the template"},
        {"", "template load p.cpm none.tpl",
         "none.tpl: nothing to apply: the template holds no settings in a PFG142 section"},
        {"", "set --wait nan p.cpm Symbol_Width 3",
         "--wait \"nan\": not a number of seconds; allowed: a decimal number of seconds "
         "from 0 to 86400"},
        {"PFSETUP_LOCK_TIMEOUT=junk ", "set p.cpm Symbol_Width 3",
         "PFSETUP_LOCK_TIMEOUT \"junk\": not a number of seconds; allowed: a decimal number of "
         "seconds from 0 to 86400"},
    };
    for (const auto& row : refused) {
        const ProgramRun run = Tool(row.args, row.shell);
        EXPECT_EQ(run.status, 1) << row.args;
        EXPECT_EQ(run.err, std::string("pfsetup: ") + row.err + "\n") << row.args;
    }
    EXPECT_EQ(Project(), project);
}

// A write that fails half-way leaves the project as it was.
TEST_F(Cli, FailedWriteLeavesTheProjectUntouched) {
    ASSERT_EQ(Tool("init p.cpm").status, 0);
    const std::string before = Project();
    SetWriteFaultForTesting(WriteFault{WriteFault::Write, ENOSPC, 10});
    ::testing::internal::CaptureStderr();
    const int status = app::SetCommand(app::Target{inst.Path("p.cpm")}, {"Symbol_Width", "12"});
    const std::string err = ::testing::internal::GetCapturedStderr();
    SetWriteFaultForTesting(std::nullopt);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(err, "pfsetup: " + inst.Path("p.cpm") + ": cannot write (no space left on device)\n");
    EXPECT_EQ(Project(), before);
}

} // namespace
} // namespace pfsetup::test
