// libFuzzer target: any bytes as a user's project file, read into a store and the settings
// tree, written back, and read again. What was written must read back: the second read gives
// the same settings and the same tree. The project-file library's own write and read go
// through strings; the store and the tree through files, as a host's do, in a workspace in
// memory where there is one (/dev/shm), so a save costs no disk flush.

#include "fuzz_workspace.h"

#include "persist/tree/ar_tree.h"
#include "persist/tree/st_setup_file.h"
#include "projfile/project_parser.h"
#include "projfile/project_writer.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

using namespace pfsetup::fuzz;

namespace {

// Every node of the registered tree as "path kind params", sorted: the order of siblings
// follows the order of the files, which a write may change.
std::string Tree() {
    std::vector<std::string> lines;
    for (ARTreeNode* root : ARObjFind::roots()) {
        std::vector<std::string> paths;
        pfsetup::ForEachTreeNode(*root, [&](ARTreeNode& node, std::size_t depth) {
            paths.resize(depth);
            paths[depth - 1] = (depth > 1 ? paths[depth - 2] + "/" : "") + node.name();
            std::string line = paths[depth - 1] + " " + node.kind();
            for (const auto& [number, text] : node.params())
                line += " " + std::to_string(number) + "=" + text;
            lines.push_back(line);
        });
    }
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// The text a full save writes of `text` read at the user's level, or false when it does not
// read (or cannot be written so that it reads back).
bool Written(const std::string& text, std::string& written) {
    SpiProgramList programs;
    SpiProjectFile file(programs.Keep(text, "p.cpm"), "p.cpm");
    if (ReadPrograms(programs, file, SpiUserLevel) != 0)
        return false;
    std::ostringstream out;
    if (!pfsetup::WritePrograms(out, programs, true).empty())
        return false;
    written = out.str();
    return true;
}

// Whether the project-file library itself keeps the text as it is through a write and a read:
// what it cannot is the project parser target's business, not this one's.
bool LibraryRoundTrips(const std::string& text) {
    std::string once, twice;
    return Written(text, once) && Written(once, twice) && once == twice;
}

void Check(bool holds, const char* what) {
    pfsetup::fuzz::Check(holds, "settings_roundtrip", what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Workspace workspace;
    pfsetup::SetHeaderTimeForTesting(0);
    if (!LibraryRoundTrips(std::string(reinterpret_cast<const char*>(data), size)))
        return 0;
    const std::string project = workspace.Write("p.cpm", data, size);

    ARObjFind::resetRoots();
    CPFCoreSetupAPI first;
    first.PutDefFileName(project);
    first.PutCPMFileName(project);
    first.KeepProjectForWrite(true); // as the tool does: one read of the file for the write
    if (!first.ReadSetup() || !first.WriteCPMFile()) {
        ARObjFind::resetRoots();
        return 0; // refused with a message: nothing was written
    }
    const std::string tree = Tree();

    ARObjFind::resetRoots();
    CPFCoreSetupAPI second;
    second.PutDefFileName(project);
    Check(second.ReadSetup() == 1, "the written project cannot be read");
    Check(Settings(second) == Settings(first), "the settings read back differ");
    ARStatus status;
    STSetupFile file(project, true);
    Check(file.parse(status).test(1), "the written settings tree cannot be read");
    Check(Tree() == tree, "the settings tree read back differs");
    // Nothing of this input stays registered: libFuzzer takes memory an input keeps for a leak
    // and runs the input again to look for it.
    ARObjFind::resetRoots();
    return 0;
}
