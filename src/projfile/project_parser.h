#pragma once
// The line reader of project files. It reads from any std::istream, so files and strings share
// one loop; opening a file is the caller's business.
//
// Outside sections, blank lines and lines that are comments after trimming (from the first
// '{' on) are skipped; any other line must open a section ("START_" anywhere in it, the name
// from its seventh character on, upper-cased). Inside a section every line is a directive or
// the end line "END_<name>", which must hold no space or tab.

#include "projfile/spi_model.h"

#include <cstddef>
#include <istream>
#include <memory>
#include <string>

class SpiProjectFile {
public:
    // `path` names the file in messages and origins; the stream stays the caller's.
    SpiProjectFile(std::istream& in, const std::string& path);
    SpiProjectFile(const SpiProjectFile&) = delete;
    SpiProjectFile& operator=(const SpiProjectFile&) = delete;

    // Skips comment and blank lines and reads the next START_ line: 0 with the upper-case
    // program name; 1 at the end of the file; -1 for a line outside a section (recorded).
    // Both 1 and -1 close the reader.
    int ReadProgramHeader(std::string& name);
    // Reads the next line of the section: 0 with the directive name (its values wait for
    // ReadValueToken); 5 for the end line; -1 when no line can be read or a quoted name is not
    // closed (recorded).
    int ReadDirectiveName(std::string& name);
    // The next value of the current directive line: 0 with the value (a double-quoted value
    // sets `doubleQuotedFlag` to 1); 4 when the line has no more values; -1 for a quoted value
    // without its closing quote or a continuation line that cannot be read (recorded; the
    // reader is closed).
    int ReadValueToken(std::string& value, int& doubleQuotedFlag);

    const std::string& Path() const { return *path_; }
    const std::shared_ptr<const std::string>& SharedPath() const { return path_; }
    int LineNumber() const { return lineNumber; }
    // The line on which the last directive name was read.
    int DirectiveLine() const { return directiveLine_; }

private:
    bool ReadLine(std::string& line);
    void RecordAtLine(const char* format);
    void StartRest(std::string line, std::size_t from);

    std::istream& in_;
    std::shared_ptr<const std::string> path_;
    bool closed_ = false;
    // The unread remainder of the current directive line is rest[restBegin, restEnd).
    std::string rest;
    std::size_t restBegin_ = 0;
    std::size_t restEnd_ = 0;
    std::string endMarker;
    int lineNumber = 0;
    int directiveLine_ = 0;
};

// Reads every section of `file` into `programs` at `level` (0 to 3), merging by name ignoring
// case: a section met again adds to its program, a directive met again gets a fresh value list
// at this level and this level becomes its active one. At levels above 1, the programs and
// directives read are marked changed. 0 on success (also for a file without sections), -1 on
// failure; what was read before a failure stays in the list.
int ReadPrograms(SpiProgramList& programs, SpiProjectFile& file, int level);
