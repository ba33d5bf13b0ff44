#include "ui/setting_sources.h"

#include "base/error_record.h"
#include "persist/setting_checks.h"
#include "persist/settings_entries.h"

#include <algorithm>
#include <utility>

namespace pfsetup {

void SettingSources::SetFiles(std::string project, std::string templateFile) {
    project_ = std::move(project);
    template_ = std::move(templateFile);
    origins_.reset();
    templateOrigins_.reset();
    kept_.reset();
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
        if (origin && origin->level == "user") {
            where = "template file";
        } else {
            origin.reset();
        }
    }
    if (!origin) {
        origin =
            Origins(installed ? installedOrigins_ : origins_, installed ? "" : project_).Find(key);
    }
    if (!origin) {
        return "Current value: built-in default (no file sets it)";
    }
    if (where.empty()) {
        where = origin->level == "user" ? "project file" : origin->level + " file";
    }
    return "Current value: " + where + " " + origin->file + ":" + std::to_string(origin->line);
}

CPFCoreSetupAPI& SettingSources::InstalledDefaults() {
    if (!defaults_) {
        defaults_ = std::make_unique<CPFCoreSetupAPI>();
        ReadInstalledSettings(*defaults_);
    }
    return *defaults_;
}

const std::vector<KeptEntry>& SettingSources::KeptEntries() {
    if (kept_) {
        return *kept_;
    }
    kept_ = std::make_unique<std::vector<KeptEntry>>();
    std::vector<SettingOrigin> entries = Origins(origins_, project_).Entries();
    if (!template_.empty()) { // what the template names was loaded over the project
        for (SettingOrigin& entry : Origins(templateOrigins_, template_).Entries()) {
            if (entry.level != "user") {
                continue;
            }
            auto same = std::find_if(entries.begin(), entries.end(),
                                     [&](const SettingOrigin& e) { return e.key == entry.key; });
            if (same == entries.end()) {
                entries.push_back(std::move(entry));
            } else {
                *same = std::move(entry);
            }
        }
    }
    for (const SettingOrigin& entry : entries) {
        const SettingKey* row = FindSettingKey(entry.key);
        if (!row || row->group == SettingsGroup::Lists || entry.values.empty()) {
            continue;
        }
        std::string problem = EntryValueProblem(entry.key, entry.values[0]);
        if (!problem.empty()) {
            kept_->push_back(
                {entry.file, entry.line, entry.key, entry.values[0], std::move(problem)});
        }
    }
    return *kept_;
}

const std::string* SettingSources::FileText(const std::string& key) {
    for (const KeptEntry& entry : KeptEntries()) {
        if (entry.key == key) {
            return &entry.text;
        }
    }
    return nullptr;
}

std::string KeptEntriesMessage(const std::vector<KeptEntry>& entries) {
    if (entries.empty()) {
        return std::string();
    }
    std::string message = "These settings are shown as the files hold them, and kept so unless "
                          "you change them:";
    for (const KeptEntry& entry : entries) {
        message +=
            "\n" + DescribeError(Failure(ErrorKind::Value, entry.file, entry.problem, entry.line));
    }
    return message;
}

std::string FieldTip(const std::string& allowed, const std::string& origin) {
    return origin.empty() ? allowed : allowed + "\n" + origin;
}

} // namespace pfsetup
