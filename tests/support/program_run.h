#pragma once
// A program run as a person runs it from a shell: a command line in a directory, its output,
// error output and exit status.

#include <string>

namespace pfsetup::test {

struct ProgramRun {
    int status = -1; // the exit status; -1 when the program did not exit normally
    std::string out, err;
};

// Runs `commandLine` through the shell in `dir`.
ProgramRun RunProgram(const std::string& dir, const std::string& commandLine);

} // namespace pfsetup::test
