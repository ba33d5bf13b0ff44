// libFuzzer target: any bytes as a user's project file, read into a store and the settings
// tree, written back, and read again. What was written must read back: the second read gives
// the same settings and the same tree. The project is held in memory (the store's text read
// and write), so an input costs no file system work beyond the installed files' check.

#include "fuzz_workspace.h"

#include "persist/tree/ar_tree.h"
#include "persist/tree/st_setup_file.h"
#include "projfile/project_parser.h"
#include "projfile/project_writer.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using namespace pfsetup::fuzz;

namespace {

// The registered tree as a multiset of "path kind params" lines: the order of siblings follows
// the order of the files, which a write may change. Held as a count and a sum of line hashes,
// which a sort of the lines would give the same way at many times the cost per input.
struct TreeDigest {
    std::size_t nodes = 0;
    std::uint64_t sum = 0;
    std::uint64_t squares = 0; // so that two changed lines do not cancel out in the sum
    bool operator==(const TreeDigest& other) const {
        return nodes == other.nodes && sum == other.sum && squares == other.squares;
    }
    bool operator!=(const TreeDigest& other) const { return !(*this == other); }
};

TreeDigest Tree() {
    TreeDigest digest;
    std::string line;
    for (ARTreeNode* root : ARObjFind::roots()) {
        std::string path;
        std::vector<std::size_t> ends; // where the path of each depth ends
        pfsetup::ForEachTreeNode(*root, [&](ARTreeNode& node, std::size_t depth) {
            path.resize(depth > 1 ? ends[depth - 2] : 0);
            if (depth > 1)
                path += '/';
            path += node.name();
            ends.resize(depth);
            ends[depth - 1] = path.size();
            line = path;
            line += ' ';
            line += node.kind();
            for (const auto& [number, text] : node.params()) {
                line += ' ';
                line += std::to_string(number);
                line += '=';
                line += text;
            }
            const std::uint64_t hash = std::hash<std::string>()(line);
            ++digest.nodes;
            digest.sum += hash;
            digest.squares += hash * hash;
        });
    }
    return digest;
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
    static const Workspace workspace; // for its quiet host: no file of it is used
    pfsetup::SetHeaderTimeForTesting(0);
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string name = "p.cpm";

    ARObjFind::resetRoots();
    CPFCoreSetupAPI first;
    first.PutDefFileName(name);
    first.PutCPMFileName(name);
    first.KeepProjectForWrite(true); // as the tool does: one read of the project for the write
    std::string written = input;
    if (!first.ReadSetupText(input) || !first.WriteCPMText(written)) {
        ARObjFind::resetRoots();
        return 0; // refused with a message: nothing was written
    }
    const TreeDigest tree = Tree();

    ARObjFind::resetRoots();
    CPFCoreSetupAPI second;
    second.PutDefFileName(name);
    second.RememberReadForWrite(false); // only asked
    const char* fault = nullptr;
    if (second.ReadSetupText(written) != 1) {
        fault = "the written project cannot be read";
    } else if (Settings(second) != Settings(first)) {
        fault = "the settings read back differ";
    } else {
        SpiProject project;
        ARStatus status;
        if (project.OpenText(name, written) != 0 ||
            !STSetupFile(name, true).parse(status, project).test(1)) {
            fault = "the written settings tree cannot be read";
        } else if (Tree() != tree) {
            fault = "the settings tree read back differs";
        }
    }
    // Nothing of this input stays registered: libFuzzer takes memory an input keeps for a leak
    // and runs the input again to look for it.
    ARObjFind::resetRoots();
    // A text the project-file library itself does not keep through a write and a read is the
    // parser target's business: asked only when a check fails, as it costs two more reads.
    Check(fault == nullptr || !LibraryRoundTrips(input), fault ? fault : "");
    return 0;
}
