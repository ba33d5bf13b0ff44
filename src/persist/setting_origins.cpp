#include "persist/setting_origins.h"

#include "persist/settings_entries.h"
#include "projfile/spi_project.h"
#include "setup/ascii_text.h"
#include "setup/setup_store.h"

namespace pfsetup {

namespace {

std::string UpperKey(const std::string& key) {
    std::string upper = key;
    for (char& c : upper)
        c = ToUpperAscii(c);
    return upper;
}

const char* LevelName(int level) {
    switch (level) {
    case SpiInstallLevel:
        return "install";
    case SpiSiteLevel:
        return "site";
    default:
        return "user";
    }
}

} // namespace

SettingOriginMap ReadSettingOrigins(const std::string& project) {
    SettingOriginMap origins;
    SpiProject merged;
    if ((project.empty() ? merged.ReadInstallAndSiteFiles() : merged.Open(project)) != 0)
        return origins;
    const SpiProgram* section = merged.Programs().Lookup(kSettingsSection);
    if (!section)
        return origins;
    for (const auto& directive : section->directives) {
        const SpiOrigin& origin = directive->origins[directive->level];
        // The first directive of a name is the one a read takes.
        origins.emplace(UpperKey(std::string(directive->name)),
                        SettingOrigin{LevelName(directive->level), origin.File(), origin.line});
    }
    return origins;
}

const SettingOrigin* FindSettingOrigin(const SettingOriginMap& origins, const std::string& key) {
    const auto found = origins.find(UpperKey(key));
    return found == origins.end() ? nullptr : &found->second;
}

bool ReadInstalledSettings(CPFCoreSetupAPI& store) {
    SpiProject installed;
    if (installed.ReadInstallAndSiteFiles() != 0)
        return false;
    if (installed.FindProgram(kSettingsSection) != 0)
        return true;
    installed.InitDirectiveIteration();
    std::string name;
    while (installed.GetNextDirective(name) == 0) {
        installed.InitValueIteration();
        std::string value;
        if (installed.GetNextValue(value) == 0)
            store.ProcessNameValuePair(name, value);
    }
    return true;
}

} // namespace pfsetup
