// libFuzzer target: any bytes as a user's project file, read into a store and the settings
// tree, written back, and read again. What was written must read back: the second read gives
// the same settings and the same tree.

#include "fuzz_workspace.h"

#include "persist/tree/ar_tree.h"
#include "persist/tree/st_setup_file.h"
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

// The programs of a project text as the library reads them: section and directive names with
// their values.
std::string Model(const std::string& text) {
    std::istringstream in(text);
    SpiProgramList programs;
    SpiProjectFile file(in, "model.cpm");
    ReadPrograms(programs, file, SpiUserLevel);
    std::ostringstream model;
    for (const auto& program : programs) {
        model << "[" << program->name << "]\n";
        for (const auto& directive : program->directives) {
            model << directive->name;
            for (const std::string& value : directive->ActiveValues())
                model << "|" << value;
            model << "\n";
        }
    }
    return model.str();
}

// Whether the project-file library itself gives the text back: what it cannot is the project
// parser target's business, not this one's.
bool LibraryRoundTrips(const std::string& text) {
    std::istringstream in(text);
    SpiProgramList programs;
    SpiProjectFile file(in, "input.cpm");
    if (ReadPrograms(programs, file, SpiUserLevel) != 0)
        return false;
    std::ostringstream out;
    for (const auto& program : programs) {
        out << "START_" << program->name << "\n";
        for (const auto& directive : program->directives)
            WriteDirectiveLine(out, *directive);
        out << "END_" << program->name << "\n";
    }
    return Model(out.str()) == Model(text);
}

void Check(bool holds, const char* what) {
    pfsetup::fuzz::Check(holds, "settings_roundtrip", what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Workspace workspace;
    if (!LibraryRoundTrips(std::string(reinterpret_cast<const char*>(data), size)))
        return 0;
    const std::string project = workspace.Write("p.cpm", data, size);

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
