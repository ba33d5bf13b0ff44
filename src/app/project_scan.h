#pragma once
// A project file read line by line for diagnostics only: the sections and entries it holds,
// each with its line, and every syntax problem. It applies the rules of the project-file
// reader, but where the reader stops (a missing quote, text outside a section) it notes the
// problem and goes on at the next line, so one run finds every problem of a file.

#include <istream>
#include <string>
#include <vector>

namespace pfsetup::app {

struct ScannedEntry {
    std::string name;                // as the reader names the directive
    std::vector<std::string> values; // as written (variables not expanded)
    int line = 0;
    bool broken = false; // a syntax problem cut the line short
};

struct ScannedSection {
    std::string name; // upper case, as the reader names the program
    int line = 0;
    std::vector<ScannedEntry> entries;
};

struct ScanProblem {
    int line = 0;
    std::string message;
};

struct ScannedFile {
    std::vector<ScannedSection> sections;
    std::vector<ScanProblem> problems;
};

ScannedFile ScanProjectFile(std::istream& in);
// The same over a file's text, keeping the entries of the sections named `onlySection` alone
// (the others are still read for their problems).
ScannedFile ScanProjectText(std::string text, const std::string& onlySection);

} // namespace pfsetup::app
