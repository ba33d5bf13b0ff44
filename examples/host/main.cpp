// A host of the setup store, in the order every host uses it: initialise the module, read the
// project, tell a failure from warnings, use the settings, and write a change back. A call that
// fails leaves an error record, pfsetup::LastError(), which says what failed and why; texts in
// the store's log without a record are warnings (an entry skipped while the rest was read). The
// library shows nothing to anyone. A host that skips the check goes on with the built-in
// defaults when the project or the installed defaults cannot be read.
//
//   host_example PROJECT         what a new part built under PROJECT gets
//   host_example PROJECT GRID    the same, then GRID as the symbol grid, saved into PROJECT

#include "pfsetup.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// After a call of the store: false after printing its failure, else true after printing the
// warnings it logged, one message a line.
bool Succeeded(CPFCoreSetupAPI& store) {
    std::string log;
    store.GetLogError(log); // on failure it only tells the same in the store's own texts
    if (pfsetup::LastError().Failed()) {
        std::fprintf(stderr, "host_example: %s\n",
                     pfsetup::DescribeError(pfsetup::LastError()).c_str());
        return false;
    }
    // Each message begins with a line break.
    size_t start = 0;
    while (start < log.size()) {
        const size_t next = log.find('\n', start + 1);
        const std::string message = log.substr(start + 1, next - start - 1);
        if (!message.empty())
            std::fprintf(stderr, "host_example: warning: %s\n", message.c_str());
        start = next;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: host_example PROJECT [GRID]\n");
        return 2;
    }
    const std::string project = argv[1];

    // Initialise: the module's entry object and store, then the project read into the store
    // (installed defaults, site file and PROJECT merged).
    Pfsetup_initialize();
    Pfsetup_main()->InitialiseSetupForLibFlow(project);
    CPFCoreSetupAPI& store = *Pfsetup_store();

    // Check: without this a host would silently work on built-in defaults.
    if (!Succeeded(store)) {
        std::fprintf(stderr, "host_example: %s was not read\n", project.c_str());
        return 1;
    }

    // Use: the defaults a new part gets, and the pin-name questions asked for every pin.
    float grid = 0;
    int width = 0, length = 0;
    store.GetDefGridSize(grid);
    store.GetDefSymbolWidth(width);
    store.GetDefSymbolLength(length);
    std::string activeLow = "CLK";
    store.CreateActiveLowPin(activeLow);
    std::printf("grid %.6f, minimum symbol %d x %d grids\n", grid, width, length);
    std::printf("RESET* is %slow-asserted; CLK active-low is %s\n",
                store.IsPinReadActiveLow("RESET*") ? "" : "not ", activeLow.c_str());

    // Write: a changed setting goes into the project as the setup dialog's OK writes it.
    if (argc == 3) {
        char* end = nullptr;
        const float newGrid = std::strtof(argv[2], &end);
        if (end == argv[2] || *end != '\0' || !(newGrid > 0 && std::isfinite(newGrid))) {
            std::fprintf(stderr, "host_example: \"%s\" is not a grid size\n", argv[2]);
            return 2;
        }
        store.PutDefGridSize(newGrid);
        const bool written = store.WriteCPMFile() == 1;
        if (!Succeeded(store) || !written) {
            std::fprintf(stderr, "host_example: %s was not written\n", project.c_str());
            return 1;
        }
        std::printf("saved grid %.6f in %s\n", newGrid, project.c_str());
    }
    return 0;
}
