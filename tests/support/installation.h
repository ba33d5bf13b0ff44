#pragma once
// A temporary installation for tests that touch files: a directory holding
// inst/qrvsetup/projmgr/qrv.cpm (the embedded one unless a test gives its own) and optionally
// site.cpm, with QRV_SEARCH_PATH pointing at it, the module's state reset and the process's
// arguments only a program name. ProjectFileTest is the same as a fixture.

#include "base/module_state.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace pfsetup::test {

class TempInstallation {
public:
    // `installText` empty: the embedded install project file.
    explicit TempInstallation(const std::string& installText = {});
    ~TempInstallation();
    TempInstallation(const TempInstallation&) = delete;
    TempInstallation& operator=(const TempInstallation&) = delete;

    const std::string& Dir() const { return dir_; }
    // A path inside the temporary directory.
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    void WriteSite(const std::string& text) const;
    void WriteInstall(const std::string& text) const;
    // Names in the temporary directory, to see that no temporary file stays behind.
    std::set<std::string> Listing() const;

private:
    std::string dir_;
    std::string savedSearchPath_;
    bool hadSearchPath_ = false;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);
// The embedded install project file of the source tree.
std::string EmbeddedInstallFile();

// A test over a temporary installation whose install file holds two settings.
class ProjectFileTest : public ::testing::Test {
protected:
    ProjectFileTest();

    void Install(const std::string& text) { inst_.WriteInstall(text); }
    void Site(const std::string& text) { inst_.WriteSite(text); }
    std::string Path(const std::string& name) const { return inst_.Path(name); }
    // Writes a user's project file; its path.
    std::string User(const std::string& text, const std::string& name = "user.cpm") const;
    std::set<std::string> Listing() const { return inst_.Listing(); }

    TempInstallation inst_;
    const std::string& dir_;
};

} // namespace pfsetup::test
