#pragma once
// The layers under a project's settings: the values the install and site files give on their
// own, and the file and line each entry of the merged settings section comes from. The setup
// dialog shows them ("Restore Defaults", the origin in each field's tip).

#include <string>
#include <unordered_map>

class CPFCoreSetupAPI;

namespace pfsetup {

struct SettingOrigin {
    std::string level; // "install", "site" or "user"
    std::string file;
    int line = 0;
};

// Keyed by the entry's name in upper case: names in project files compare ignoring case.
using SettingOriginMap = std::unordered_map<std::string, SettingOrigin>;

// Where the active value of every settings entry of `project` merged over the install and site
// files comes from; with an empty `project`, of the install and site files alone. Empty when
// the files cannot be read.
SettingOriginMap ReadSettingOrigins(const std::string& project);
// The origin of `key` in `origins`, or null when no file names it.
const SettingOrigin* FindSettingOrigin(const SettingOriginMap& origins, const std::string& key);

// Reads the settings of the install and site files alone into `store`, as a project's are
// read; false when those files cannot be read.
bool ReadInstalledSettings(CPFCoreSetupAPI& store);

} // namespace pfsetup
