#include "ui/setting_sources.h"

#include "base/ascii_text.h"

#include <utility>

namespace pfsetup {

namespace {

std::string UpperKey(std::string key) {
    for (char& c : key)
        c = AsciiUpper(c);
    return key;
}

} // namespace

SettingSources::OriginMap SettingSources::Index(std::vector<SettingOrigin> origins) {
    OriginMap index;
    // Names compare ignoring case; the first entry of a name is the one a read takes.
    for (SettingOrigin& origin : origins)
        index.emplace(UpperKey(origin.key), std::move(origin));
    return index;
}

void SettingSources::SetFiles(std::string project, std::string templateFile) {
    project_ = std::move(project);
    template_ = std::move(templateFile);
    origins_.reset();
}

const SettingSources::OriginMap& SettingSources::Origins() {
    if (!origins_) {
        origins_ = Index(ReadSettingOrigins(project_));
        if (!template_.empty()) {
            // What the template names was loaded over the project; the rest is the project's.
            for (auto& [key, origin] : Index(ReadSettingOrigins(template_))) {
                if (origin.level != "user")
                    continue;
                origin.level = "template";
                (*origins_)[key] = std::move(origin);
            }
        }
    }
    return *origins_;
}

const SettingSources::OriginMap& SettingSources::InstalledOrigins() {
    if (!installedOrigins_)
        installedOrigins_ = Index(ReadSettingOrigins(""));
    return *installedOrigins_;
}

std::string SettingSources::OriginText(const std::string& key, bool installed) {
    const OriginMap& origins = installed ? InstalledOrigins() : Origins();
    const auto found = origins.find(UpperKey(key));
    if (found == origins.end())
        return "Current value: built-in default (no file sets it)";
    const SettingOrigin* origin = &found->second;
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
