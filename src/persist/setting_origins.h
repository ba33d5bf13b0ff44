#pragma once
// The layers under a project's settings: the values the install and site files give on their
// own, and the file and line each entry of the merged settings section comes from (what the
// setup dialog's Restore Defaults and field tips show, and `pfsetup show --origin` lists).

#include <string>
#include <vector>

class CPFCoreSetupAPI;

namespace pfsetup {

struct SettingOrigin {
    std::string key;   // as the file that set it spells it
    std::string value; // the first value, as written (variables not expanded)
    std::string level; // "install", "site" or "user"
    std::string file;
    int line = 0;
};

// Every entry of the settings section of `project` merged over the install and site files, in
// section order, with where its active value comes from; with an empty `project`, of the
// install and site files alone. Empty when the files cannot be read.
std::vector<SettingOrigin> ReadSettingOrigins(const std::string& project);

// Reads the settings of the install and site files alone into `store`, as a project's are
// read (without the site file when `withSite` is false: the defaults of the site file itself);
// false when those files cannot be read (SpiLastMessage() says why).
bool ReadInstalledSettings(CPFCoreSetupAPI& store, bool withSite = true);

} // namespace pfsetup
