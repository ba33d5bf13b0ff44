// The diagnostic scanner reads what the project-file reader reads: same sections, directives
// and values, and the line of each directive.

#include "app/project_scan.h"
#include "projfile/project_parser.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pfsetup::test {
namespace {

std::string FromReader(const std::string& text) {
    std::istringstream in(text);
    SpiProjectFile file(in, "t.cpm");
    SpiProgramList programs;
    EXPECT_EQ(ReadPrograms(programs, file, SpiUserLevel), 0) << text;
    std::string out;
    for (const auto& program : programs) {
        out += "[" + program->name + "]\n";
        for (const auto& d : program->directives) {
            out += d->name + "@" + std::to_string(d->origins[SpiUserLevel].line);
            for (const std::string& value : d->values[SpiUserLevel])
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
            out += entry.name + "@" + std::to_string(entry.line);
            for (const std::string& value : entry.values)
                out += "|" + value;
            out += "\n";
        }
    }
    return out;
}

TEST(ProjectScan, ReadsWhatTheReaderReads) {
    for (const char* text : {
             "{ header }\n\nstart_pfg142\nA '1'\nEND_PFG142\n",
             "START_X { note }\r\nA 1 2\r\nB\t'x y'\"z\"\r\nEND_X\r\n",
             "START_X\n'TWO WORDS' 1\nname\nNAME2 it's\nEND_X\n",
             "START_X\nA a \\\n  b\nB \\\nc\nC 'q' \\\n'r'\nEND_X\n",
             "START_X\nA\ttab\nlone\rcr 'v'\nEND_X\n\nSTART_Y\nB ''\nEND_Y\n",
         })
        EXPECT_EQ(FromScanner(text), FromReader(text)) << text;
}

TEST(ProjectScan, GoesOnAfterEachProblem) {
    std::istringstream in("stray\nSTART_X\nA 'open\nB '1'\n{ note }\nEND_X more\nC 'x' \\\n");
    const app::ScannedFile scan = app::ScanProjectFile(in);
    std::vector<int> lines;
    for (const app::ScanProblem& problem : scan.problems)
        lines.push_back(problem.line);
    EXPECT_EQ(lines, (std::vector<int>{1, 3, 5, 6, 7, 2}));
    ASSERT_EQ(scan.sections.size(), 1u);
    ASSERT_EQ(scan.sections[0].entries.size(), 3u);
    EXPECT_TRUE(scan.sections[0].entries[0].broken);
    EXPECT_EQ(scan.sections[0].entries[1].values, std::vector<std::string>{"1"});
}

} // namespace
} // namespace pfsetup::test
