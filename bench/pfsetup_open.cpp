// pfsetup_open FILE: opens FILE as the user's project file, merged over the install and site
// files as every command does, and prints the number of directives the merged project holds.
// It is what ../shared/perf/run.sh times as a fresh process beside other parsers.

#include "projfile/spi_project.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pfsetup_open FILE\n");
        return 2;
    }
    SpiProject project;
    if (project.Open(argv[1]) != 0) {
        std::fprintf(stderr, "pfsetup_open: %s\n", SpiLastMessage().c_str());
        return 1;
    }
    unsigned long long directives = 0;
    for (const auto& program : project.Programs()) {
        directives += program->directives.size();
    }
    std::printf("%llu\n", directives);
    return 0;
}
