// libFuzzer target: variable expansion of any text, and the writer's quoting of any names and
// values. The input is split at NUL bytes into a program name, a directive name and values;
// whatever the writer's checks let through must read back as it was.

#include "projfile/project_writer.h"
#include "projfile/spi_project.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

void CheckExpansion(const std::string& text) {
    static const bool environment = [] {
        ::setenv("PFS_A", "1", 1);
        ::setenv("PFS_EMPTY", "", 1);
        ::setenv("PFS_DOLLAR", "$PFS_A${PFS_A}", 1);
        return true;
    }();
    (void)environment;
    std::string result;
    std::string reason;
    const int expanded = ExpandVariables(text, result, reason);
    if (expanded == 1 && text.find('$') == std::string::npos && result != text)
        Fail("expansion changed a text without '$'", text);
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == '\0')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

void CheckQuoting(const std::vector<std::string>& parts, bool doubleQuoted) {
    const std::string& program = parts[0];
    if (pfsetup::ProgramNameProblem(program) != nullptr)
        return;
    SpiProgramList programs;
    SpiProgram* p = programs.Append(program, SpiUserLevel);
    SpiDirective* d =
        p->directives.Append(parts.size() > 1 ? parts[1] : std::string(), SpiUserLevel);
    d->doubleQuoted = doubleQuoted ? 1 : 0;
    programs.StartLevel(*d, SpiUserLevel);
    for (std::size_t i = 2; i < parts.size(); ++i)
        programs.AppendValue(*d, parts[i]);
    if (!pfsetup::ProgramsProblem(programs, true).empty())
        return;
    std::ostringstream out;
    pfsetup::WritePrograms(out, programs, true);
    const std::string written = out.str();
    SpiProgramList again;
    SpiProjectFile file(again.Keep(written, "quoting.cpm"), "quoting.cpm");
    if (ReadPrograms(again, file, SpiUserLevel) != 0 || again.size() != 1)
        Fail("written line does not read", written);
    const SpiProgram& q = **again.begin();
    if (!pfsetup::EqualsIgnoreCase(q.name, program) || q.directives.size() != 1)
        Fail("program changed", written);
    const SpiDirective& e = **q.directives.begin();
    const bool sameName = d->ActiveValues().empty() ? pfsetup::EqualsIgnoreCase(d->Name(), e.Name())
                                                    : d->Name() == e.Name();
    if (!sameName || !(e.ActiveValues() == d->ActiveValues()))
        Fail("directive changed", written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    CheckExpansion(text);
    CheckQuoting(Split(text), (data[0] & 1) != 0);
    return 0;
}
