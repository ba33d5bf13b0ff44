#pragma once
// Helpers of the project-file tests: a dump of a parsed model that table rows compare against.
// The fixture, ProjectFileTest, is support/installation.h's.

#include "support/installation.h"

#include "projfile/file_io.h"
#include "projfile/project_writer.h"
#include "projfile/spi_project.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>

namespace pfsetup::test {

inline std::string Join(const SpiValueList& values) {
    std::string out;
    bool first = true;
    for (const std::string_view value : values) {
        out += first ? "" : ",";
        out += value;
        first = false;
    }
    return out;
}

// "P{A(1,2),B\"(x)}": programs in order, each directive with its active values; a '"' after
// the name marks a directive read in double quotes.
inline std::string Dump(const SpiProgramList& programs) {
    std::string out;
    for (const auto& program : programs) {
        out += (out.empty() ? "" : " ") + program->name + "{";
        for (const SpiDirective* directive : program->directives) {
            out += out.back() == '{' ? "" : ",";
            out += directive->Name();
            out += (directive->doubleQuoted ? "\"(" : "(") + Join(directive->ActiveValues()) + ")";
        }
        out += "}";
    }
    return out;
}

// "2*|0@i:2||x": the active level ('*' when changed), then per file level the values and,
// when known, the origin's file name and line.
inline std::string Levels(const SpiProgramList& programs, const SpiDirective& directive) {
    std::string out = std::to_string(directive.level) + (directive.changed ? "*" : "");
    for (int level = SpiInstallLevel; level <= SpiUserLevel; ++level) {
        const SpiOrigin origin = programs.Origin(directive, level);
        out += "|" + Join(programs.ValuesAt(directive, level));
        if (origin.Known()) {
            out += "@" + std::filesystem::path(origin.File()).filename().string() + ":" +
                   std::to_string(origin.line);
        }
    }
    return out;
}

inline int ParseText(SpiProgramList& programs, const std::string& text, int level = 2,
                     const std::string& path = "t.cpm") {
    SpiProjectFile file(programs.Keep(text, path), path);
    return ReadPrograms(programs, file, level);
}

} // namespace pfsetup::test
