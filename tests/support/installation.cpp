#include "support/installation.h"

#include "persist/tree/ar_tree.h"
#include "projfile/spi_project.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace pfsetup::test {

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
    ResetModuleState();
}

TempInstallation::~TempInstallation() {
    ResetModuleState();
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

void TempInstallation::ResetModuleState() {
    SpiForgetInstalledFiles();
    ARObjFind::resetRoots();
    SetLastMessage("");
}

} // namespace pfsetup::test
