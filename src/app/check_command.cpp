// check: every problem of a project file, one line each as FILE:LINE: message, in line order.

#include "app/commands.h"
#include "app/tool.h"

#include "base/ascii_text.h"
#include "persist/setting_checks.h"
#include "persist/setting_origins.h"
#include "persist/settings_entries.h"
#include "persist/tree/st_setup_file.h"
#include "projfile/project_parser.h"
#include "projfile/spi_messages.h"
#include "projfile/spi_project.h"
#include "projfile/value_expansion.h"
#include "setup/number_text.h"
#include "setup/setting_tables.h"
#include "setup/setup_store.h"

#include <algorithm>
#include <iostream>

namespace pfsetup::app {

namespace {

struct Finding {
    bool inChecked; // in the checked file (else in an install or site file)
    std::string file;
    int line;
    std::string message;
    bool warning = false; // told, but no problem of the file: the exit status stays
};

int LevelRank(const std::string& level) {
    return level == "install" ? 0 : level == "site" ? 1 : 2;
}

std::string Expanded(const std::string& value) {
    std::string result, error;
    return ExpandVariables(value, result, error) ? result : value;
}

// Lines that are no setting: comment and blank lines, which the reader takes as directives
// named "" or "{", and an end line followed by more text (the reader noted it).
bool IsSetting(const std::string& key) {
    return !key.empty() && key[0] != '{' &&
           !EqualsIgnoreCase(key, std::string("END_") + kSettingsSection);
}

// The problem of one entry of the checked file, or "". `key` is spelt as a read sees it: the
// spelling of the first file that names it.
std::string EntryProblem(const SettingOrigin& entry) {
    const std::string& name = entry.key;
    const bool masksDefault = !entry.overridden.empty();
    if (entry.values.empty()) {
        // The reader names a value-less entry in upper case; it matches a key ignoring case.
        const std::string key = FindSettingKey(name) ? name : SuggestSettingKey(name);
        if (!EqualsIgnoreCase(key, name)) {
            return name + ": not a setting key, and no value; a read ignores it";
        }
        if (masksDefault && LeftOutByDefault(key)) {
            return ""; // what the writer leaves to take an installed entry out
        }
        return key + ": no value; a read skips the entry" +
               (masksDefault ? ", so the installed value does not apply" : "");
    }
    if (!FindSettingKey(name)) {
        const std::string suggestion = SuggestSettingKey(name);
        if (!suggestion.empty() && EqualsIgnoreCase(suggestion, name)) {
            return name + ": the key is written " + suggestion + " (a read goes by its case)";
        }
        return name + ": not a setting key; a read ignores it" +
               (suggestion.empty() ? "" : "; did you mean " + suggestion + "?");
    }
    if (entry.values.size() > 1) {
        return name + ": " + FormatInt(static_cast<long long>(entry.values.size())) +
               " values; a read takes only the first, " + Quoted(entry.values[0]);
    }
    return EntryValueProblem(name, entry.values[0]);
}

// Where the project's settings tree disagrees with what its entries read as (a hand-written
// file, or one an older writer saved): every read takes the entries, and the next save
// rewrites the tree from them.
void TreeWarnings(const std::string& project, const SettingOrigins& origins, CPFCoreSetupAPI& store,
                  std::vector<Finding>& findings) {
    const SpiProject& opened = origins.Project(); // the one read of the project
    std::string problem;
    const std::vector<std::unique_ptr<ARTreeNode>> roots = BuildTreeRoots(opened, problem);
    const SpiProgram* section = opened.Programs().Lookup(kTreeSection);
    const auto leaf = [&roots](const std::string& path, std::string& text) {
        std::size_t slash = path.find('/');
        ARTreeNode* node = nullptr;
        for (const auto& root : roots) {
            if (EqualsIgnoreCase(root->name(), path.substr(0, slash))) {
                node = root.get();
            }
        }
        while (node && slash != std::string::npos) {
            const std::size_t start = slash + 1;
            slash = path.find('/', start);
            node = node->getNamedChild(path.substr(start, slash - start));
        }
        return node && node->getParam(1, text);
    };
    const auto check = [&](const std::string& key, const std::string& path,
                           const std::string& made) {
        std::string tree, value;
        if (!leaf(path, tree) || tree == made || !SettingValue(store, key, value)) {
            return;
        }
        // At the checked file's line of the entry, else of the tree's node; a disagreement
        // of the install and site files alone is theirs.
        const std::optional<SettingOrigin> entry = origins.Find(key);
        int line = entry && entry->file == project ? entry->line : 0;
        const SpiDirective* node = section ? section->directives.Lookup(path) : nullptr;
        if (line == 0 && node && node->level == SpiUserLevel) {
            line = opened.Programs().Origin(*node, SpiUserLevel).line;
        }
        if (line == 0) {
            return;
        }
        findings.push_back({true, project, line,
                            "warning: " + key + " " + Quoted(value) + ": the settings tree holds " +
                                Quoted(tree) + " at " + path + ", the entries make it " +
                                Quoted(made) + "; the next save rewrites the tree",
                            true});
    };
    for (const SettingKey& row : SettingKeys()) {
        if (row.treeNode && !row.family) {
            check(row.key, row.treeNode, TreeLeafValue(row, store));
        } else if (row.treeNode && row.form == ValueForm::PinLoads) {
            for (const PinTypeRow& type : kPinTypes) {
                const std::string key = row.key + std::string(type.name);
                std::string made;
                if (SettingValue(store, key, made)) {
                    check(key, std::string(row.treeNode) + "/" + PinTypeNodeName(type.name), made);
                }
            }
        }
    }
}

int CheckOne(const std::string& project, std::vector<Finding>& findings) {
    if (const int status = CheckReadable(project)) {
        return status;
    }
    // The project read as every read reads it, going on after each syntax problem.
    std::vector<SpiProblem> problems;
    SettingOrigins origins;
    if (!origins.Read(project, &problems)) {
        return ReportLastError();
    }
    for (SpiProblem& problem : problems) {
        findings.push_back(
            {problem.file == project, problem.file, problem.line, std::move(problem.problem)});
    }

    const std::vector<SettingOrigin> entries = origins.Entries();
    for (const SettingOrigin& entry : entries) {
        if (entry.file != project || !IsSetting(entry.key)) {
            continue;
        }
        const std::string problem = EntryProblem(entry);
        if (!problem.empty()) {
            findings.push_back({true, project, entry.line, problem});
        }
    }

    // The rules between settings, on what a read makes of the merged entries, at the entry
    // that overrides last among those taking part.
    CPFCoreSetupAPI store;
    for (const SettingOrigin& entry : entries) {
        if (!entry.values.empty()) {
            store.ProcessNameValuePair(entry.key, Expanded(entry.values[0]));
        }
    }
    std::string log;
    store.GetLogError(log);
    for (const SettingsConflict& conflict : FindSettingsConflicts(store)) {
        std::optional<SettingOrigin> at;
        for (const std::string& key : conflict.keys) {
            std::optional<SettingOrigin> entry = origins.Find(key);
            if (entry && (!at || std::make_pair(LevelRank(entry->level), entry->line) >
                                     std::make_pair(LevelRank(at->level), at->line))) {
                at = std::move(entry);
            }
        }
        findings.push_back({!at || at->file == project, at ? at->file : project, at ? at->line : 0,
                            conflict.message});
    }
    TreeWarnings(project, origins, store, findings);
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
        for (const Finding& f : findings) {
            std::cout << DescribeError(Failure(ErrorKind::Syntax, f.file, f.message, f.line))
                      << "\n";
        }
        if (std::any_of(findings.begin(), findings.end(),
                        [](const Finding& f) { return !f.warning; })) {
            worst = std::max<int>(worst, kBadInput);
        }
    }
    return worst;
}

} // namespace pfsetup::app
