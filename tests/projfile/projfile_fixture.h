#pragma once
// Helpers of the project-file tests: a temporary installation that QRV_SEARCH_PATH points at,
// file helpers, and a dump of a parsed model that table rows compare against.

#include "projfile/file_io.h"
#include "projfile/spi_project.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

namespace pfsetup::test {

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

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
            out += directive->name;
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

// Each test gets its own directory with an installation in it, fresh module state, no
// process arguments beyond a program name, and no simulated faults.
class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/pfsetup-projfile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ::setenv("QRV_SEARCH_PATH", (dir_ + "/inst").c_str(), 1);
        Install("START_PFG142\nSymbol_Units 'Inches'\nSymbol_GridSize '0.050000'\nEND_PFG142\n");
        ResetModule();
    }
    void TearDown() override {
        ResetModule();
        ::unsetenv("QRV_SEARCH_PATH");
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    static void ResetModule() {
        SpiForgetInstalledFiles();
        SetLastMessage("");
        SpiSetArguments({"pfsetup-test"});
        SetHeaderTimeForTesting(std::nullopt);
        SetWriteFaultForTesting(std::nullopt);
    }
    void Install(const std::string& text) {
        WriteText(dir_ + "/inst/qrvsetup/projmgr/qrv.cpm", text);
    }
    void Site(const std::string& text) {
        WriteText(dir_ + "/inst/qrvsetup/projmgr/site.cpm", text);
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::string User(const std::string& text, const std::string& name = "user.cpm") {
        WriteText(Path(name), text);
        return Path(name);
    }
    // Names in the test directory, to see that no temporary file stays behind.
    std::set<std::string> Listing() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    std::string dir_;
};

} // namespace pfsetup::test
