// libFuzzer target: any bytes as a user's project file, read into a store and the settings
// tree, written back, and read again. What was written must read back: the second read gives
// the same settings and the same tree.

#include "fuzz_workspace.h"

#include "persist/tree/ar_tree.h"
#include "persist/tree/st_setup_file.h"
#include "projfile/project_writer.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
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

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Whether the project-file library itself keeps the file as it is through a write and a read:
// what it cannot is the project parser target's business, not this one's.
bool LibraryRoundTrips(const Workspace& workspace, const std::string& project) {
    const std::string once = workspace.Path("once.cpm"), twice = workspace.Path("twice.cpm");
    SpiProject first, second;
    return first.Open(project) == 0 && first.Save(once, 1) == 0 && second.Open(once) == 0 &&
           second.Save(twice, 1) == 0 && Contents(once) == Contents(twice);
}

void Check(bool holds, const char* what) {
    pfsetup::fuzz::Check(holds, "settings_roundtrip", what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Workspace workspace;
    pfsetup::SetHeaderTimeForTesting(0);
    const std::string project = workspace.Write("p.cpm", data, size);
    if (!LibraryRoundTrips(workspace, project))
        return 0;

    ARObjFind::resetRoots();
    CPFCoreSetupAPI first;
    first.PutDefFileName(project);
    first.PutCPMFileName(project);
    if (!first.ReadSetup() || !first.WriteCPMFile())
        return 0; // refused with a message: nothing was written
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
    return 0;
}
