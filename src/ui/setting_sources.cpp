#include "ui/setting_sources.h"

#include <utility>

namespace pfsetup {

void SettingSources::SetFiles(std::string project, std::string templateFile) {
    project_ = std::move(project);
    template_ = std::move(templateFile);
    origins_.reset();
    templateOrigins_.reset();
}

const SettingOrigins& SettingSources::Origins(std::unique_ptr<SettingOrigins>& read,
                                              const std::string& file) {
    if (!read) {
        read = std::make_unique<SettingOrigins>();
        read->Read(file); // a file that cannot be read tells of no entry
    }
    return *read;
}

std::string SettingSources::OriginText(const std::string& key, bool installed) {
    std::optional<SettingOrigin> origin;
    std::string where;
    if (!installed && !template_.empty()) {
        // What the template names was loaded over the project; the rest is the project's.
        origin = Origins(templateOrigins_, template_).Find(key);
        if (origin && origin->level == "user")
            where = "template file";
        else
            origin.reset();
    }
    if (!origin)
        origin =
            Origins(installed ? installedOrigins_ : origins_, installed ? "" : project_).Find(key);
    if (!origin)
        return "Current value: built-in default (no file sets it)";
    if (where.empty())
        where = origin->level == "user" ? "project file" : origin->level + " file";
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
