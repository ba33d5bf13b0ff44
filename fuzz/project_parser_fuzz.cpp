// libFuzzer target: any bytes as a project file, read at the user's level; a file that reads
// is written back whole and must read back as the same model (programs, directives and values
// in order; only names of directives without values may come back in another letter case).
// Settings taken from the sections go into a store on the way. (After a failed read nothing
// is written, so its partial model is not written here either.)

#include "projfile/project_writer.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "round trip broken: %s: %s\n", what, detail.c_str());
    std::abort();
}

// The directives of a program in order, the comment directives ("" and "{", which comment
// lines make and which a save writes as those lines, where they stood among the user's lines)
// apart and by name: their place in the list may move.
std::vector<const SpiDirective*> Ordered(const SpiProgram& program, bool comments) {
    std::vector<const SpiDirective*> out;
    for (const SpiDirective* d : program.directives)
        if ((d->Name().empty() || d->Name() == "{") == comments)
            out.push_back(d);
    if (comments)
        std::stable_sort(out.begin(), out.end(), [](const SpiDirective* a, const SpiDirective* b) {
            return a->Name() < b->Name();
        });
    return out;
}

void ExpectSame(const SpiProgramList& read, const SpiProgramList& again, const std::string& text) {
    if (read.size() != again.size())
        Fail("program count", text);
    auto other = again.begin();
    for (const auto& program : read) {
        const SpiProgram& twin = **other++;
        if (program->name != twin.name || program->directives.size() != twin.directives.size())
            Fail("program", program->name);
        for (const bool comments : {false, true}) {
            const auto mine = Ordered(*program, comments);
            const auto theirs = Ordered(twin, comments);
            for (std::size_t i = 0; i < mine.size(); ++i) {
                const SpiDirective& d = *mine[i];
                const SpiDirective& e = *theirs[i];
                const bool sameName = d.ActiveValues().empty()
                                          ? pfsetup::EqualsIgnoreCase(d.Name(), e.Name())
                                          : d.Name() == e.Name();
                if (!sameName || !(d.ActiveValues() == e.ActiveValues()))
                    Fail("directive", std::string(d.Name()) + "\n" + text);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SpiProgramList programs;
    SpiProjectFile file(
        programs.Keep(std::string(reinterpret_cast<const char*>(data), size), "fuzz.cpm"),
        "fuzz.cpm");
    const int read = ReadPrograms(programs, file, SpiUserLevel);

    CPFCoreSetupAPI store;
    for (const auto& program : programs)
        for (const auto& directive : program->directives)
            if (!directive->ActiveValues().empty())
                store.ProcessNameValuePair(std::string(directive->Name()),
                                           std::string(*directive->ActiveValues().begin()));

    if (read != 0)
        return 0;
    // Whatever the reader accepted, the writer writes so that it reads back; the one exception
    // is a name without values that only a line with a trailing blank can hold ("x{ "), which
    // the writer refuses with a message.
    const std::string problem = pfsetup::ProgramsProblem(programs, true);
    if (!problem.empty()) {
        if (problem.find("a name without values") == std::string::npos)
            Fail("refused", problem);
        return 0;
    }
    std::ostringstream out;
    pfsetup::WritePrograms(out, programs, true);
    const std::string written = out.str();
    SpiProgramList reread;
    SpiProjectFile second(reread.Keep(written, "again.cpm"), "again.cpm");
    if (ReadPrograms(reread, second, SpiUserLevel) != 0)
        Fail("re-read failed", written);
    ExpectSame(programs, reread, written);
    return 0;
}
