#include "support/installation.h"

#include "base/module_state.h"
#include "projfile/session.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace pfsetup::test {

namespace {

void ResetModule() {
    ResetModuleState();
    // What the test runner was given (--gtest_filter...) is no session option.
    SpiSetArguments({"pfsetup-test"});
}

} // namespace

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string EmbeddedInstallFile() {
    return ReadFile(std::string(PFSETUP_SOURCE_DIR) + "/data/qrvsetup/projmgr/qrv.cpm");
}

TempInstallation::TempInstallation(const std::string& installText) {
    char pattern[] = "/tmp/pfsetup-test-XXXXXX";
    if (!::mkdtemp(pattern))
        throw std::runtime_error("cannot make a temporary directory");
    dir_ = pattern;
    if (const char* old = std::getenv("QRV_SEARCH_PATH")) {
        savedSearchPath_ = old;
        hadSearchPath_ = true;
    }
    ::setenv("QRV_SEARCH_PATH", (dir_ + "/inst").c_str(), 1);
    WriteInstall(installText.empty() ? EmbeddedInstallFile() : installText);
    ResetModule();
}

TempInstallation::~TempInstallation() {
    ResetModule();
    if (hadSearchPath_)
        ::setenv("QRV_SEARCH_PATH", savedSearchPath_.c_str(), 1);
    else
        ::unsetenv("QRV_SEARCH_PATH");
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

void TempInstallation::WriteInstall(const std::string& text) const {
    WriteFile(dir_ + "/inst/qrvsetup/projmgr/qrv.cpm", text);
}

void TempInstallation::WriteSite(const std::string& text) const {
    WriteFile(dir_ + "/inst/qrvsetup/projmgr/site.cpm", text);
}

std::set<std::string> TempInstallation::Listing() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
        names.insert(entry.path().filename().string());
    return names;
}

ProjectFileTest::ProjectFileTest()
    : inst_("START_PFG142\nSymbol_Units 'Inches'\nSymbol_GridSize '0.050000'\nEND_PFG142\n"),
      dir_(inst_.Dir()) {}

std::string ProjectFileTest::User(const std::string& text, const std::string& name) const {
    WriteFile(Path(name), text);
    return Path(name);
}

} // namespace pfsetup::test
