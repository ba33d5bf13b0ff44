// init, show, get, set, unset, diff and tree.

#include "app/commands.h"
#include "app/json_reader.h"
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
#include <fstream>
#include <iostream>
#include <iterator>
#include <unistd.h>

namespace pfsetup::app {

namespace {

// Makes `key` of the store hold `value` (an empty value empties a list), replacing what the
// store held for it.
void Apply(CPFCoreSetupAPI& store, const std::string& key, const std::string& value) {
    ReplaceSettingsEntry(store, key, &value);
}

int Write(CPFCoreSetupAPI& store, const std::string& project) {
    if (!store.WriteCPMFile()) {
        return ReportStoreFailure(store);
    }
    ShowLog(store, project);
    return kOk;
}

} // namespace

bool KnownKey(const std::string& file, const std::string& key) {
    if (FindSettingKey(key)) {
        return true;
    }
    const std::string suggestion = SuggestSettingKey(key);
    Error(file, key + ": not a setting key" +
                    (suggestion.empty() ? "; `pfsetup keys` lists them"
                                        : "; did you mean " + suggestion + "?"));
    return false;
}

int InitCommand(const std::string& project, bool force) {
    if (const int status = CheckWritable(project)) {
        return status;
    }
    SpiProject created;
    if (created.Create(project, force ? 1 : 0) != 0) {
        ErrorRecord failure = LastError();
        if (failure.kind == ErrorKind::Exists) {
            failure.allowed = "use --force to replace it with an empty project";
        }
        return Report(failure);
    }
    std::cout << "Created " << project << "\n";
    return kOk;
}

int ShowCommand(const Target& target, const ShowOptions& options) {
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(target.project, store, StoreUse::Query)) {
        return status;
    }
    std::vector<SettingRow> rows = SettingRows(*store);
    if (options.changed) {
        CPFCoreSetupAPI defaults;
        if (int status = ReadDefaults(target, defaults)) {
            return status;
        }
        rows = ChangedRows(rows, SettingRows(defaults));
    }
    SettingOrigins origins;
    if (options.origin && !origins.Read(target.project)) {
        return ReportLastError();
    }
    const SettingOrigins* shownOrigins = options.origin ? &origins : nullptr;
    std::cout << (options.json   ? RenderSettingsJson(rows, shownOrigins)
                  : options.list ? RenderSettingsList(rows, shownOrigins)
                                 : RenderSettingsText(rows, shownOrigins, options.changed));
    return kOk;
}

int GetCommand(const Target& target, const std::string& key) {
    if (!KnownKey(target.project, key)) {
        return kBadInput;
    }
    // A property's suggestions need every property read; any other key, only its entries.
    const bool property = ClassifySettingsKey(key) == SettingsKeyKind::Property;
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(target.project, store, StoreUse::Query, property ? "" : key)) {
        return status;
    }
    std::string value;
    if (!SettingValue(*store, key, value)) {
        std::vector<std::string> held;
        for (const SettingRow& row : SettingRows(*store)) {
            held.push_back(row.key);
        }
        const std::string closest = ClosestWord(key, held);
        ErrorRecord record =
            Failure(ErrorKind::Value, target.project, key + ": the project has no such property");
        record.allowed = closest.empty() ? "`pfsetup show " + target.project + "` lists them"
                                         : "did you mean " + closest + "?";
        return Report(record);
    }
    std::cout << value << "\n";
    return kOk;
}

namespace {

// The most a JSON file of settings may hold: far above every setting of a project.
constexpr size_t kMaxJsonSize = 16u << 20;

// The settings of the JSON object in `file` ("-": standard input), in the form `show --json`
// writes (or its "settings" alone), as KEY, VALUE pairs of the files' text.
int JsonPairs(const std::string& file, std::vector<std::string>& pairs) {
    std::string text;
    const std::string shown = file == "-" ? "standard input" : file;
    if (file != "-") {
        if (const int status = CheckReadable(file)) {
            return status;
        }
    }
    std::ifstream in;
    if (file != "-") {
        in.open(file, std::ios::binary);
    }
    std::istream& from = file == "-" ? std::cin : in;
    char buffer[65536];
    while (from.read(buffer, sizeof buffer) || from.gcount() > 0) {
        text.append(buffer, static_cast<size_t>(from.gcount()));
        if (text.size() > kMaxJsonSize) {
            return Report(Failure(ErrorKind::Resource, shown, "larger than 16 MiB"));
        }
    }
    if (from.bad()) {
        return Report(SystemError(ErrorKind::Access, shown, "cannot read", errno));
    }
    JsonValue root;
    std::string error;
    if (!ParseJson(text, root, error)) {
        return Report(Failure(ErrorKind::Syntax, shown, "not JSON: " + error));
    }
    const JsonValue& settings = root.Has("settings") ? root["settings"] : root;
    if (root.kind != JsonValue::Object || settings.kind != JsonValue::Object ||
        (root.Has("version") && root["version"].text != "1")) {
        ErrorRecord record = Failure(ErrorKind::Syntax, shown, "not a JSON object of settings");
        record.allowed = "an object of settings by key, or `show --json` output of version 1";
        return Report(record);
    }
    for (const auto& [key, value] : settings.members) {
        const SettingKey* row = FindSettingKey(key);
        if (!row && !KnownKey(shown, key)) {
            return kBadInput;
        }
        std::string entry, problem;
        if (!TypedValueText(*row, value, entry, problem)) {
            ErrorRecord record = Failure(ErrorKind::Value, shown, problem);
            record.key = key;
            record.value = text.substr(value.begin, value.end - value.begin);
            return Report(record);
        }
        pairs.push_back(key);
        pairs.push_back(entry);
    }
    return kOk;
}

int ApplyAndWrite(const Target& target, const std::vector<std::string>& pairs) {
    const std::string& project = target.project;
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store, StoreUse::Change)) {
        return status;
    }
    std::vector<std::string> asked;
    for (size_t i = 0; i < pairs.size(); i += 2) {
        asked.push_back(pairs[i]);
    }
    // Only a rule this command breaks refuses it; one the files broke before stays theirs.
    std::vector<std::vector<std::string>> before;
    for (const SettingsConflict& conflict : FindSettingsConflicts(*store)) {
        before.push_back(conflict.keys);
    }
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
    for (const SettingsConflict& now : FindSettingsConflicts(*store, asked)) {
        if (std::find(before.begin(), before.end(), now.keys) != before.end()) {
            continue;
        }
        ErrorRecord record = Failure(ErrorKind::Value, project, now.message);
        for (size_t i = 0; i < pairs.size(); i += 2) {
            if (std::find(now.keys.begin(), now.keys.end(), pairs[i]) != now.keys.end()) {
                record.key = pairs[i];
                record.value = pairs[i + 1];
            }
        }
        return Report(record);
    }
    return Write(*store, project);
}

} // namespace

int SetCommand(const Target& target, const std::vector<std::string>& given,
               const std::string& jsonFile) {
    const std::string& project = target.project;
    std::vector<std::string> pairs;
    if (!jsonFile.empty()) {
        if (const int status = JsonPairs(jsonFile, pairs)) {
            return status;
        }
    }
    pairs.insert(pairs.end(), given.begin(), given.end());
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        if (!KnownKey(project, pairs[i])) {
            return kBadInput;
        }
        std::string problem;
        if (!CheckSettingEntry(pairs[i], pairs[i + 1], problem)) {
            ErrorRecord record = Failure(ErrorKind::Value, project, problem);
            record.key = pairs[i];
            record.value = pairs[i + 1];
            return Report(record);
        }
    }
    if (target.create) {
        if (const int status = CreateTargetFile(target)) {
            return status;
        }
        const int status = ApplyAndWrite(target, pairs);
        if (status != kOk) {
            ::unlink(project.c_str()); // nothing is written unless the whole command succeeds
        }
        return status;
    }
    ErrorRecord missing = ReadProblem(project);
    if (missing.kind == ErrorKind::NotFound && !target.site) {
        missing.allowed = "`pfsetup init " + project + "` creates a project";
        return Report(missing);
    }
    return ApplyAndWrite(target, pairs);
}

int UnsetCommand(const Target& target, const std::string& key) {
    const std::string& project = target.project;
    if (const int status = CheckReadable(project)) {
        return status;
    }
    // The entry as a read finds it: by name ignoring case, spelt as the first file spells it.
    SettingOrigins origins;
    if (!origins.Read(project)) {
        return ReportLastError();
    }
    const std::optional<SettingOrigin> own = origins.Find(key);
    if (!own || own->file != project) {
        if (!KnownKey(project, key)) {
            return kBadInput;
        }
        Error(project, key + ": the file has no entry of its own for it");
        return kBadInput;
    }
    const std::string& readKey = own->key;
    if (ClassifySettingsKey(readKey) == SettingsKeyKind::Ignored) {
        // No setting reads it: the line goes as it stands.
        // Read, change and write under the file's lock, so a concurrent writer's change stays.
        ProjectLock lock;
        if (const int error = lock.Acquire(project)) {
            return Report(FileErrorRecord(project, error, true));
        }
        SpiProject file;
        if (file.Open(project) != 0) {
            return ReportLastError();
        }
        file.FindProgram(kSettingsSection);
        file.DeleteDirective(readKey);
        if (file.Save(project, 0) != 0) {
            return ReportLastError();
        }
        return kOk;
    }
    CPFCoreSetupAPI defaults;
    if (int status = ReadDefaults(target, defaults)) {
        return status;
    }
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store, StoreUse::Change)) {
        return status;
    }
    std::string value;
    if (SettingValue(defaults, readKey, value)) {
        Apply(*store, readKey, value);
    } else if (store->SetCurrentPropertyByName(readKey.substr(5))) {
        store->DeleteCurrentProperty();
    }
    return Write(*store, project);
}

int DiffCommand(const std::string& first, const std::string& second, bool json) {
    CPFCoreSetupAPI a, b;
    a.RememberReadForWrite(false); // neither is written
    b.RememberReadForWrite(false);
    if (int status = ReadProject(first, a)) {
        return status;
    }
    if (int status = ReadProject(second, b)) {
        return status;
    }
    const std::vector<SettingRow> rowsA = SettingRows(a), rowsB = SettingRows(b);
    const std::vector<SettingDifference> differences = DifferentRows(rowsA, rowsB);
    if (json) {
        std::cout << RenderSettingsDiffJson(differences, first, second);
    } else if (!differences.empty()) {
        std::cout << "--- " << first << "\n+++ " << second << "\n"
                  << RenderSettingsDiff(differences);
    }
    // As diff and `git diff --exit-code` tell it: 1 when the two differ.
    return differences.empty() ? kOk : kBadInput;
}

namespace {
void PrintTree(ARTreeNode& root) {
    ForEachTreeNode(root, [](const ARTreeNode& node, std::size_t depth) {
        std::cout << std::string((depth - 1) * 2, ' ') << node.name();
        if (std::string(node.kind()) != "node") {
            std::cout << " (" << node.kind() << ")";
        }
        for (const auto& [number, text] : node.params()) {
            std::cout << "  " << number << "=" << text;
        }
        std::cout << "\n";
    });
}
} // namespace

int TreeCommand(const std::string& project) {
    if (const int status = CheckReadable(project)) {
        return status;
    }
    ARObjFind::resetRoots();
    ARStatus status;
    STSetupFile file(project, true);
    file.setReadMode(2);
    status.reset(0xffff);
    if (!file.parse(status).test(1)) {
        return ReportLastError();
    }
    for (ARTreeNode* root : ARObjFind::roots()) {
        PrintTree(*root);
    }
    return kOk;
}

} // namespace pfsetup::app
