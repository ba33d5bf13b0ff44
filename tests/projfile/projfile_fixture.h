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

// "P{A(1,2),B\"(x)}": programs in order, each directive with its active values; a '"' after
// the name marks a directive read in double quotes.
inline std::string Dump(const SpiProgramList& programs) {
    std::string out;
    for (const auto& program : programs) {
        out += (out.empty() ? "" : " ") + program->name + "{";
        bool first = true;
        for (const auto& directive : program->directives) {
            out += (first ? "" : ",") + directive->name + (directive->doubleQuoted ? "\"" : "");
            out += "(";
            bool firstValue = true;
            for (const std::string& value : directive->ActiveValues()) {
                out += (firstValue ? "" : ",") + value;
                firstValue = false;
            }
            out += ")";
            first = false;
        }
        out += "}";
    }
    return out;
}

inline int ParseText(SpiProgramList& programs, const std::string& text, int level = 2,
                     const std::string& path = "t.cpm") {
    std::istringstream in(text);
    SpiProjectFile file(in, path);
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
        if (const char* old = std::getenv("QRV_SEARCH_PATH")) {
            savedSearchPath_ = old;
            hadSearchPath_ = true;
        }
        ::setenv("QRV_SEARCH_PATH", (dir_ + "/inst").c_str(), 1);
        Install("START_PFG142\nSymbol_Units 'Inches'\nSymbol_GridSize '0.050000'\nEND_PFG142\n");
        ResetModule();
    }
    void TearDown() override {
        ResetModule();
        if (hadSearchPath_) {
            ::setenv("QRV_SEARCH_PATH", savedSearchPath_.c_str(), 1);
        } else {
            ::unsetenv("QRV_SEARCH_PATH");
        }
        // Tests may leave read-only directories behind.
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_, ignored)) {
            if (entry.is_directory(ignored)) {
                std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
            }
        }
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

private:
    std::string savedSearchPath_;
    bool hadSearchPath_ = false;
};

} // namespace pfsetup::test
