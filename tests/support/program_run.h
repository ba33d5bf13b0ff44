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

#ifdef PFSETUP_TOOL
// Runs the tool in `dir` with `args` as the shell splits them.
inline ProgramRun RunTool(const std::string& dir, const std::string& args) {
    return RunProgram(dir, std::string(PFSETUP_TOOL) + " " + args);
}
#endif

} // namespace pfsetup::test
