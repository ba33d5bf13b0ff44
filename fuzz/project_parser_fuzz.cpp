// libFuzzer target: any bytes as a project file, read at the user's level, then written back
// and read again; settings taken from its PFG142 section into a store.

#include "projfile/spi_project.h"
#include "setup/setup_store.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    SpiProgramList programs;
    SpiProjectFile file(in, "fuzz.cpm");
    ReadPrograms(programs, file, SpiUserLevel);

    CPFCoreSetupAPI store;
    std::ostringstream out;
    for (const auto& program : programs) {
        out << "START_" << program->name << "\n";
        for (const auto& directive : program->directives) {
            WriteDirectiveLine(out, *directive);
            const SpiValueList& values = directive->ActiveValues();
            if (!values.empty())
                store.ProcessNameValuePair(directive->name, values[0]);
        }
        out << "END_" << program->name << "\n";
    }
    std::istringstream again(out.str());
    SpiProgramList reread;
    SpiProjectFile second(again, "again.cpm");
    ReadPrograms(reread, second, SpiUserLevel);
    return 0;
}
