#pragma once
// A temporary installation for tests that touch files: a directory holding
// inst/qrvsetup/projmgr/qrv.cpm (the embedded one unless a test gives its own) and optionally
// site.cpm, with QRV_SEARCH_PATH pointing at it and every piece of module-wide state reset.

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

    static void ResetModuleState();

private:
    std::string dir_;
    std::string savedSearchPath_;
    bool hadSearchPath_ = false;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);
// The embedded install project file of the source tree.
std::string EmbeddedInstallFile();

} // namespace pfsetup::test
