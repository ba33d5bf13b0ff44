#include "persist/setting_origins.h"

#include "persist/settings_entries.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

namespace pfsetup {

namespace {

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

std::vector<SettingOrigin> ReadSettingOrigins(const std::string& project) {
    std::vector<SettingOrigin> origins;
    SpiProject merged;
    if ((project.empty() ? merged.ReadInstallAndSiteFiles() : merged.Open(project)) != 0)
        return origins;
    const SpiProgram* section = merged.Programs().Lookup(kSettingsSection);
    if (!section)
        return origins;
    for (const SpiDirective* directive : section->directives) {
        const SpiValueList values = directive->ActiveValues();
        const SpiOrigin origin = merged.Programs().Origin(*directive, directive->level);
        origins.push_back({std::string(directive->name),
                           values.empty() ? std::string() : std::string(*values.begin()),
                           LevelName(directive->level), origin.File(), origin.line});
    }
    return origins;
}

bool ReadInstalledSettings(CPFCoreSetupAPI& store, bool withSite) {
    SpiProject installed;
    if (installed.ReadInstallFile() != 0 || (withSite && installed.ReadSiteFile() == -1))
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
