// init, show, get, set, unset, diff and tree.

#include "app/commands.h"
#include "app/settings_view.h"
#include "app/tool.h"

#include "base/ascii_text.h"

#include "persist/setting_checks.h"
#include "persist/setting_origins.h"
#include "persist/settings_entries.h"
#include "persist/tree/ar_tree.h"
#include "persist/tree/st_setup_file.h"
#include "projfile/file_io.h"
#include "projfile/file_lock.h"
#include "projfile/spi_project.h"
#include "setup/setting_rules.h"
#include "setup/setup_store.h"

#include <algorithm>
#include <iostream>

namespace pfsetup::app {

namespace {

// Makes `key` of the store hold `value` (an empty value empties a list), replacing what the
// store held for it.
void Apply(CPFCoreSetupAPI& store, const std::string& key, const std::string& value) {
    ReplaceSettingsEntry(store, key, &value);
}

int Write(CPFCoreSetupAPI& store, const std::string& project) {
    if (!store.WriteCPMFile())
        return ReportStoreFailure(store);
    ShowLog(store, project);
    return kOk;
}

std::vector<std::string> ConflictMessages(CPFCoreSetupAPI& store) {
    std::vector<std::string> messages;
    for (const SettingsConflict& conflict : FindSettingsConflicts(store))
        messages.push_back(conflict.message);
    return messages;
}

} // namespace

bool KnownKey(const std::string& file, const std::string& key) {
    if (FindSettingKey(key))
        return true;
    const std::string suggestion = SuggestSettingKey(key);
    Error(file, key + ": not a setting key" +
                    (suggestion.empty() ? "; `pfsetup keys` lists them"
                                        : "; did you mean " + suggestion + "?"));
    return false;
}

int InitCommand(const std::string& project, bool force) {
    if (const int status = CheckWritable(project))
        return status;
    SpiProject created;
    if (created.Create(project, force ? 1 : 0) != 0) {
        ErrorRecord failure = LastError();
        if (failure.kind == ErrorKind::Exists)
            failure.allowed = "use --force to replace it with an empty project";
        return Report(failure);
    }
    std::cout << "Created " << project << "\n";
    return kOk;
}

int ShowCommand(const Target& target, const ShowOptions& options) {
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(target.project, store))
        return status;
    std::vector<SettingRow> rows = SettingRows(*store);
    if (options.changed) {
        CPFCoreSetupAPI defaults;
        if (int status = ReadDefaults(target, defaults))
            return status;
        rows = ChangedRows(rows, SettingRows(defaults));
    }
    SettingOrigins origins;
    if (options.origin && !origins.Read(target.project)) {
        return ReportLastError();
    }
    const SettingOrigins* shownOrigins = options.origin ? &origins : nullptr;
    std::cout << (options.json ? RenderSettingsJson(rows, shownOrigins)
                               : RenderSettingsText(rows, shownOrigins));
    return kOk;
}

int GetCommand(const Target& target, const std::string& key) {
    if (!KnownKey(target.project, key))
        return kBadInput;
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(target.project, store))
        return status;
    std::string value;
    if (!SettingValue(*store, key, value)) {
        Error(target.project, key + ": the project has no property " + key.substr(5));
        return kBadInput;
    }
    std::cout << value << "\n";
    return kOk;
}

int SetCommand(const Target& target, const std::vector<std::string>& pairs) {
    const std::string& project = target.project;
    if (pairs.empty() || pairs.size() % 2 != 0) {
        Error(project, "give each KEY with its VALUE");
        return kBadInput;
    }
    for (size_t i = 0; i < pairs.size(); i += 2) {
        if (!KnownKey(project, pairs[i]))
            return kBadInput;
        std::string problem;
        if (!CheckSettingEntry(pairs[i], pairs[i + 1], problem)) {
            Error(project, pairs[i] + " " + Quoted(pairs[i + 1]) + ": " + problem);
            return kBadInput;
        }
    }
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store))
        return status;
    const std::vector<std::string> before = ConflictMessages(*store);
    for (size_t i = 0; i < pairs.size(); i += 2) {
        const std::string& key = pairs[i];
        Apply(*store, key, pairs[i + 1]);
        PFActiveLow read{};
        store->GetDefReadActiveLowPinNotation(read);
        if (key == "Format_ReadActiveLow" && read != PFActiveLow_Suffix_Star_And_N) {
            // Reading a single suffix writes that suffix too, as the Format page locks it.
            store->PutDefWriteActiveLowPinNotation(read);
        }
    }
    for (const std::string& now : ConflictMessages(*store)) {
        if (std::find(before.begin(), before.end(), now) == before.end()) {
            std::string asked;
            for (size_t i = 0; i < pairs.size(); i += 2)
                asked += (asked.empty() ? "" : ", ") + pairs[i] + " " + Quoted(pairs[i + 1]);
            Error(project, asked + ": " + now);
            return kBadInput;
        }
    }
    return Write(*store, project);
}

int UnsetCommand(const Target& target, const std::string& key) {
    const std::string& project = target.project;
    if (const int status = CheckReadable(project))
        return status;
    // The entry as a read finds it: by name ignoring case, spelt as the first file spells it.
    SettingOrigins origins;
    if (!origins.Read(project)) {
        return ReportLastError();
    }
    const std::optional<SettingOrigin> own = origins.Find(key);
    if (!own || own->file != project) {
        Error(project, key + ": the file has no entry of its own for it");
        return kBadInput;
    }
    const std::string& readKey = own->key;
    if (ClassifySettingsKey(readKey) == SettingsKeyKind::Ignored) {
        // No setting reads it: the line goes as it stands.
        // Read, change and write under the file's lock, so a concurrent writer's change stays.
        ProjectLock lock;
        if (const int error = lock.Acquire(project))
            return Report(FileErrorRecord(project, error, true));
        SpiProject file;
        if (file.Open(project) != 0)
            return ReportLastError();
        file.FindProgram(kSettingsSection);
        file.DeleteDirective(readKey);
        if (file.Save(project, 0) != 0)
            return ReportLastError();
        return kOk;
    }
    CPFCoreSetupAPI defaults;
    if (int status = ReadDefaults(target, defaults))
        return status;
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store))
        return status;
    std::string value;
    if (SettingValue(defaults, readKey, value))
        Apply(*store, readKey, value);
    else if (store->SetCurrentPropertyByName(readKey.substr(5)))
        store->DeleteCurrentProperty();
    return Write(*store, project);
}

int DiffCommand(const std::string& first, const std::string& second) {
    CPFCoreSetupAPI a, b;
    if (int status = ReadProject(first, a))
        return status;
    if (int status = ReadProject(second, b))
        return status;
    const std::string diff = RenderSettingsDiff(SettingRows(a), SettingRows(b));
    if (!diff.empty())
        std::cout << "--- " << first << "\n+++ " << second << "\n" << diff;
    return kOk;
}

namespace {
void PrintTree(ARTreeNode& root) {
    ForEachTreeNode(root, [](const ARTreeNode& node, std::size_t depth) {
        std::cout << std::string((depth - 1) * 2, ' ') << node.name();
        if (std::string(node.kind()) != "node")
            std::cout << " (" << node.kind() << ")";
        for (const auto& [number, text] : node.params())
            std::cout << "  " << number << "=" << text;
        std::cout << "\n";
    });
}
} // namespace

int TreeCommand(const std::string& project) {
    if (const int status = CheckReadable(project))
        return status;
    ARObjFind::resetRoots();
    ARStatus status;
    STSetupFile file(project, true);
    file.setReadMode(2);
    status.reset(0xffff);
    if (!file.parse(status).test(1))
        return ReportLastError();
    for (ARTreeNode* root : ARObjFind::roots())
        PrintTree(*root);
    return kOk;
}

} // namespace pfsetup::app
