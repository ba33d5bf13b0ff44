#include "support/program_run.h"

#include "support/installation.h"

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace pfsetup::test {

ProgramRun RunProgram(const std::string& dir, const std::string& commandLine) {
    const std::string errFile = dir + "/stderr-" + std::to_string(::getpid()) + ".txt";
    const std::string command = "cd " + dir + " && " + commandLine + " 2>" + errFile;
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.err = ReadFile(errFile);
    ::unlink(errFile.c_str());
    return run;
}

} // namespace pfsetup::test
