#include "ui/setting_sources.h"

#include <utility>

namespace pfsetup {

void SettingSources::SetFiles(std::string project, std::string templateFile) {
    project_ = std::move(project);
    template_ = std::move(templateFile);
    origins_.reset();
}

const SettingOriginMap& SettingSources::Origins() {
    if (!origins_) {
        origins_ = ReadSettingOrigins(project_);
        if (!template_.empty()) {
            // What the template names was loaded over the project; the rest is the project's.
            for (auto& [key, origin] : ReadSettingOrigins(template_)) {
                if (origin.level != "user")
                    continue;
                origin.level = "template";
                (*origins_)[key] = std::move(origin);
            }
        }
    }
    return *origins_;
}

const SettingOriginMap& SettingSources::InstalledOrigins() {
    if (!installedOrigins_)
        installedOrigins_ = ReadSettingOrigins("");
    return *installedOrigins_;
}

std::string SettingSources::OriginText(const std::string& key, bool installed) {
    const SettingOrigin* origin =
        FindSettingOrigin(installed ? InstalledOrigins() : Origins(), key);
    if (!origin)
        return "Current value: built-in default (no file sets it)";
    const std::string where = origin->level == "user" ? "project file" : origin->level + " file";
    return "Current value: " + where + " " + origin->file + ":" + std::to_string(origin->line);
}

CPFCoreSetupAPI& SettingSources::InstalledDefaults() {
    if (!defaults_) {
        defaults_ = std::make_unique<CPFCoreSetupAPI>();
        ReadInstalledSettings(*defaults_);
    }
    return *defaults_;
}

std::string FieldTip(const std::string& allowed, const std::string& origin) {
    return origin.empty() ? allowed : allowed + "\n" + origin;
}

} // namespace pfsetup
