// The diagnostic scanner reads what the project-file reader reads: same sections, directives
// and values; and it goes on after each problem.

#include "support/installation.h"

#include "app/project_scan.h"
#include "projfile/spi_project.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pfsetup::test {
namespace {

// The sections T1 and T2 of `text` as the library reads them through its cursor operations.
std::string FromReader(const TempInstallation& inst, const std::string& text) {
    WriteFile(inst.Path("t.cpm"), text);
    SpiProject project;
    EXPECT_EQ(project.Open(inst.Path("t.cpm")), 0) << text;
    std::string out;
    for (const char* section : {"T1", "T2"}) {
        if (project.FindProgram(section) != 0)
            continue;
        out += std::string("[") + section + "]\n";
        project.InitDirectiveIteration();
        std::string name, value;
        while (project.GetNextDirective(name) == 0) {
            out += name;
            project.InitValueIteration();
            while (project.GetNextValue(value) == 0)
                out += "|" + value;
            out += "\n";
        }
    }
    return out;
}

std::string FromScanner(const std::string& text) {
    std::istringstream in(text);
    const app::ScannedFile scan = app::ScanProjectFile(in);
    EXPECT_TRUE(scan.problems.empty()) << text << scan.problems.front().message;
    std::string out;
    for (const app::ScannedSection& section : scan.sections) {
        out += "[" + section.name + "]\n";
        for (const app::ScannedEntry& entry : section.entries) {
            out += entry.name;
            for (const std::string& value : entry.values)
                out += "|" + value;
            out += "\n";
        }
    }
    return out;
}

TEST(ProjectScan, ReadsWhatTheReaderReads) {
    TempInstallation inst;
    for (const char* text : {
             "{ header }\n\nstart_t1\nA '1'\nEND_T1\n",
             "START_T1 { note }\r\nA 1 2\r\nB\t'x y'\"z\"\r\nEND_T1\r\n",
             "START_T1\n'TWO WORDS' 1\nname\nNAME2 it's\nEND_T1\n",
             "START_T1\nA a \\\n  b\nB \\\nc\nC 'q' \\\n'r'\nEND_T1\n",
             "START_T1\nA\ttab\nlone\rcr 'v'\nEND_T1\n\nSTART_T2\nB ''\nEND_T2\n",
             "\xEF\xBB\xBFSTART_T1\nA 1\nEND_T1\n",
         })
        EXPECT_EQ(FromScanner(text), FromReader(inst, text)) << text;
}

TEST(ProjectScan, GoesOnAfterEachProblem) {
    std::istringstream in("stray\nSTART_X\nA 'open\nB '1'\n{ note }\nEND_X more\nC 'x' \\\n");
    const app::ScannedFile scan = app::ScanProjectFile(in);
    std::vector<int> lines;
    for (const app::ScanProblem& problem : scan.problems)
        lines.push_back(problem.line);
    EXPECT_EQ(lines, (std::vector<int>{1, 3, 6, 8, 2}));
    ASSERT_EQ(scan.sections.size(), 1u);
    ASSERT_EQ(scan.sections[0].entries.size(), 3u);
    EXPECT_TRUE(scan.sections[0].entries[0].broken);
    EXPECT_EQ(scan.sections[0].entries[1].line, 4);
    EXPECT_EQ(scan.sections[0].entries[1].values, std::vector<std::string>{"1"});
}

} // namespace
} // namespace pfsetup::test
