#include "persist/setting_origins.h"

#include "persist/settings_entries.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

namespace pfsetup {

SettingOrigins::SettingOrigins() = default;
SettingOrigins::~SettingOrigins() = default;

bool SettingOrigins::Read(const std::string& project, std::vector<SpiProblem>* problems) {
    project_ = std::make_unique<SpiProject>();
    section_ = nullptr;
    siteAsProject_ = !project.empty() && IsSiteProjectFile(project);
    std::vector<SpiProblem> ignored;
    project_->CollectProblems(problems ? problems : &ignored);
    const int read =
        project.empty() ? project_->ReadInstallAndSiteFiles() : project_->Open(project);
    project_->CollectProblems(nullptr);
    if (read != 0) {
        return false;
    }
    section_ = project_->Programs().Lookup(kSettingsSection);
    return true;
}

std::vector<SettingOrigin> SettingOrigins::Entries() const {
    std::vector<SettingOrigin> entries;
    if (section_) {
        for (const SpiDirective* directive : section_->directives) {
            entries.push_back(Describe(*directive));
        }
    }
    return entries;
}

std::optional<SettingOrigin> SettingOrigins::Find(const std::string& key) const {
    const SpiDirective* directive = section_ ? section_->directives.Lookup(key) : nullptr;
    if (!directive) {
        return std::nullopt;
    }
    return Describe(*directive);
}

SettingLayer SettingOrigins::Layer(const SpiDirective& directive, int level) const {
    static const char* const kNames[] = {"install", "site", "user", "user"};
    const SpiOrigin origin = project_->Programs().Origin(directive, level);
    SettingLayer layer{level == SpiUserLevel && siteAsProject_ ? "site" : kNames[level],
                       origin.File(),
                       origin.line,
                       {}};
    for (const std::string_view value : project_->Programs().ValuesAt(directive, level)) {
        layer.values.emplace_back(value);
    }
    return layer;
}

SettingOrigin SettingOrigins::Describe(const SpiDirective& directive) const {
    SettingOrigin origin;
    static_cast<SettingLayer&>(origin) = Layer(directive, directive.level);
    origin.key = std::string(directive.Name());
    for (int level = directive.level - 1; level >= SpiInstallLevel; --level) {
        if (directive.HasLevel(level)) {
            origin.overridden.push_back(Layer(directive, level));
        }
    }
    return origin;
}

bool ReadInstalledSettings(CPFCoreSetupAPI& store, bool withSite) {
    SpiProject installed;
    if (installed.ReadInstallFile() != 0 || (withSite && installed.ReadSiteFile() == -1)) {
        return false;
    }
    if (installed.FindProgram(kSettingsSection) != 0) {
        return true;
    }
    installed.InitDirectiveIteration();
    std::string name;
    while (installed.GetNextDirective(name) == 0) {
        installed.InitValueIteration();
        std::string value;
        if (installed.GetNextValue(value) == 0) {
            store.ProcessNameValuePair(name, value);
        }
    }
    return true;
}

} // namespace pfsetup
