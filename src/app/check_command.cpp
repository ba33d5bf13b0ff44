// check: every problem of a project file, one line each as FILE:LINE: message, in line order.

#include "app/commands.h"
#include "app/project_scan.h"
#include "app/tool.h"

#include "persist/setting_checks.h"
#include "persist/settings_entries.h"
#include "projfile/spi_project.h"
#include "setup/ascii_text.h"
#include "setup/number_text.h"
#include "setup/setup_store.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <unordered_map>

namespace pfsetup::app {

namespace {

struct Finding {
    bool inChecked; // in the checked file (else in an install or site file)
    std::string file;
    int line;
    std::string message;
};

std::string Upper(std::string text) {
    for (char& c : text)
        c = ToUpperAscii(c);
    return text;
}

int LevelRank(const std::string& level) {
    return level == "install" ? 0 : level == "site" ? 1 : 2;
}

// The settings section as a read of the checked file sees it: the entries of the install and
// site files, overridden key by key (ignoring case, keeping the first spelling) by the file's.
class MergedSection {
public:
    void Put(EntryOrigin entry) {
        const auto [found, added] = index_.emplace(Upper(entry.key), entries_.size());
        if (added) {
            entries_.push_back(std::move(entry));
            return;
        }
        entry.key = entries_[found->second].key;
        entries_[found->second] = std::move(entry);
    }
    bool Has(const std::string& key) const { return index_.count(Upper(key)) != 0; }
    const EntryOrigin* Find(const std::string& key) const {
        const auto found = index_.find(Upper(key));
        return found == index_.end() ? nullptr : &entries_[found->second];
    }
    const std::vector<EntryOrigin>& Entries() const { return entries_; }

private:
    std::vector<EntryOrigin> entries_;
    std::unordered_map<std::string, size_t> index_;
};

std::string Expanded(const std::string& value) {
    std::string result, error;
    return ExpandVariables(value, result, error) ? result : value;
}

// The problem of one entry of the checked file, or "".
std::string EntryProblem(const ScannedEntry& entry, bool masksDefault) {
    const std::string& name = entry.name;
    if (entry.values.empty() && !entry.broken) {
        // The reader names a value-less entry in upper case; it matches a key ignoring case.
        const std::string key = FindSettingKey(name) ? name : SuggestSettingKey(name);
        if (!EqualsIgnoringAsciiCase(key, name))
            return name + ": not a setting key, and no value; a read ignores it";
        if (masksDefault && LeftOutByDefault(key))
            return ""; // what the writer leaves to take an installed entry out
        return key + ": no value; a read skips the entry" +
               (masksDefault ? ", so the installed value does not apply" : "");
    }
    if (!FindSettingKey(name)) {
        const std::string suggestion = SuggestSettingKey(name);
        if (!suggestion.empty() && EqualsIgnoringAsciiCase(suggestion, name))
            return name + ": the key is written " + suggestion + " (a read goes by its case)";
        return name + ": not a setting key; a read ignores it" +
               (suggestion.empty() ? "" : "; did you mean " + suggestion + "?");
    }
    if (entry.broken)
        return "";
    if (entry.values.size() > 1)
        return name + ": " + FormatInt(static_cast<long long>(entry.values.size())) +
               " values; a read takes only the first, " + Shown(entry.values[0]);
    const std::string value = Expanded(entry.values[0]);
    std::string problem;
    if (CheckSettingEntry(name, value, problem))
        return "";
    const std::string read = DescribeRead(name, value);
    return name + " " + Shown(entry.values[0]) + ": " + problem + (read.empty() ? "" : "; " + read);
}

int CheckOne(const std::string& project, std::vector<Finding>& findings) {
    if (!Readable(project))
        return kFileError;
    std::ifstream in(project, std::ios::binary);
    const ScannedFile scan = ScanProjectFile(in);
    if (in.bad()) {
        Error(project, "cannot read the file to its end");
        return kFileError;
    }
    for (const ScanProblem& problem : scan.problems)
        findings.push_back({true, project, problem.line, problem.message});

    const bool isSite = IsSiteProjectFile(project);
    SpiProject defaults;
    if (defaults.ReadInstallFile() != 0 || (!isSite && defaults.ReadSiteFile() == -1)) {
        LibraryError("", SpiLastMessage());
        return kFileError;
    }
    MergedSection merged;
    for (EntryOrigin& entry : SettingsOrigins(defaults, false))
        merged.Put(std::move(entry));

    std::unordered_map<std::string, int> firstLine;
    std::vector<EntryOrigin> own;
    for (const ScannedSection& section : scan.sections) {
        if (section.name != kSettingsSection)
            continue;
        for (const ScannedEntry& entry : section.entries) {
            if (entry.name.empty())
                continue;
            const auto [first, added] = firstLine.emplace(Upper(entry.name), entry.line);
            if (!added)
                findings.push_back({true, project, entry.line,
                                    entry.name + ": given again (first at line " +
                                        FormatInt(first->second) + "); the last one applies"});
            const std::string problem = EntryProblem(entry, merged.Has(entry.name));
            if (!problem.empty())
                findings.push_back({true, project, entry.line, problem});
            if (!entry.broken)
                own.push_back(
                    {entry.name, entry.values, project, entry.line, isSite ? "site" : "user"});
        }
    }
    for (EntryOrigin& entry : own)
        merged.Put(std::move(entry));

    // The rules between settings, on what a read makes of the merged entries, at the entry
    // that overrides last among those taking part.
    CPFCoreSetupAPI store;
    for (const EntryOrigin& entry : merged.Entries())
        if (!entry.values.empty())
            store.ProcessNameValuePair(entry.key, Expanded(entry.values[0]));
    std::string log;
    store.GetLogError(log);
    for (const SettingsConflict& conflict : FindSettingsConflicts(store)) {
        const EntryOrigin* at = nullptr;
        for (const std::string& key : conflict.keys) {
            const EntryOrigin* entry = merged.Find(key);
            if (entry && (!at || std::make_pair(LevelRank(entry->level), entry->line) >
                                     std::make_pair(LevelRank(at->level), at->line)))
                at = entry;
        }
        findings.push_back({!at || at->file == project, at ? at->file : project, at ? at->line : 0,
                            conflict.message});
    }
    return kOk;
}

} // namespace

int CheckCommand(const std::vector<std::string>& projects) {
    int worst = kOk;
    for (const std::string& project : projects) {
        std::vector<Finding> findings;
        worst = std::max(worst, CheckOne(project, findings));
        std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
            return std::make_pair(!a.inChecked, a.line) < std::make_pair(!b.inChecked, b.line);
        });
        for (const Finding& f : findings)
            std::cout << OneLine(f.file + (f.line > 0 ? ":" + FormatInt(f.line) : std::string()) +
                                 ": " + f.message)
                      << "\n";
        if (!findings.empty())
            worst = std::max<int>(worst, kBadInput);
    }
    return worst;
}

} // namespace pfsetup::app
