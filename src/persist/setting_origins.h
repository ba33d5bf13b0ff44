#pragma once
// Where each setting comes from: the settings section of a project merged from the install,
// site and user files by the project-file reader, as every read merges it, with the file, line
// and level of the values in effect and the values of the lower levels they override. What
// `pfsetup show --origin` and `check` report and what the setup dialog's field tips say all
// come from here; the install and site values alone are what "Restore Defaults" puts back.

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CPFCoreSetupAPI;
class SpiDirective;
class SpiProgram;
class SpiProject;
struct SpiProblem;

namespace pfsetup {

// One file's entry for a setting.
struct SettingLayer {
    std::string level; // "install", "site" or "user" (the site file read as the project: "site")
    std::string file;
    int line = 0;
    std::vector<std::string> values; // as written: variables not expanded
};

// A setting as a read takes it: the entry in effect and the entries it overrides.
struct SettingOrigin : SettingLayer {
    std::string key; // as a read sees it: the spelling of the first file that names it
    std::vector<SettingLayer> overridden; // the lower levels' entries, the nearest first
};

class SettingOrigins {
public:
    SettingOrigins();
    ~SettingOrigins();
    SettingOrigins(const SettingOrigins&) = delete;
    SettingOrigins& operator=(const SettingOrigins&) = delete;

    // Reads `project` merged over the install and site files (the install and site files
    // alone when it is empty). The reader goes on after a syntax problem and notes it in
    // `problems` when given, so a file with problems still tells what its other lines say.
    // False when a file cannot be read (SpiLastMessage() says why).
    bool Read(const std::string& project, std::vector<SpiProblem>* problems = nullptr);

    // Every entry of the merged settings section, in section order.
    std::vector<SettingOrigin> Entries() const;
    // The entry a read takes for `key` (names compare ignoring case), if any.
    std::optional<SettingOrigin> Find(const std::string& key) const;
    // The project as read (programs of every level merged), for what else a caller asks of
    // the same read; valid until the next Read.
    const SpiProject& Project() const { return *project_; }

private:
    SettingOrigin Describe(const SpiDirective& directive) const;
    SettingLayer Layer(const SpiDirective& directive, int level) const;

    std::unique_ptr<SpiProject> project_;
    const SpiProgram* section_ = nullptr;
    bool siteAsProject_ = false;
};

// Reads the settings of the install and site files alone into `store`, as a project's are
// read (without the site file when `withSite` is false: the defaults of the site file itself);
// false when those files cannot be read (SpiLastMessage() says why).
bool ReadInstalledSettings(CPFCoreSetupAPI& store, bool withSite = true);

} // namespace pfsetup
