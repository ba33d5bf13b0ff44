// init, show, get, set, unset and tree.

#include "app/commands.h"
#include "app/settings_view.h"
#include "app/tool.h"

#include "persist/setting_checks.h"
#include "persist/settings_entries.h"
#include "persist/tree/ar_tree.h"
#include "persist/tree/st_setup_file.h"
#include "projfile/spi_project.h"
#include "setup/ascii_text.h"
#include "setup/setup_store.h"

#include <algorithm>
#include <iostream>
#include <memory>

namespace pfsetup::app {

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

// Every entry of the merged settings section with the file and line of its active values.
std::vector<EntryOrigin> Origins(const std::string& project) {
    std::vector<EntryOrigin> origins;
    SpiProject merged;
    if ((project.empty() ? merged.ReadInstallAndSiteFiles() : merged.Open(project)) != 0)
        return origins;
    const SpiProgram* section = merged.Programs().Lookup(kSettingsSection);
    if (!section)
        return origins;
    for (const auto& d : section->directives) {
        const SpiValueList& values = d->ActiveValues();
        origins.push_back({d->name, values.empty() ? std::string() : values[0],
                           d->origins[d->level].File(), d->origins[d->level].line,
                           LevelName(d->level)});
    }
    return origins;
}

// The value the store gives a key, as its entry would be written; false when the store holds
// nothing for it (an unknown property).
bool EntryValue(CPFCoreSetupAPI& store, const std::string& key, std::string& value) {
    for (const SettingsEntry& entry : CollectSettingsEntries(store, 0x00FF)) {
        if (entry.key == key) {
            value = entry.value;
            return true;
        }
    }
    switch (ClassifySettingsKey(key)) {
    case SettingsKeyKind::Scalar: // only the split flag is left out when it has its default
        value = "1";
        return true;
    case SettingsKeyKind::ErrorList:
    case SettingsKeyKind::PlaceHolders:
        value.clear();
        return true;
    default:
        return false;
    }
}

// Makes `key` of the store hold `value` (an empty value empties a list), replacing what the
// store held for it.
void Apply(CPFCoreSetupAPI& store, const std::string& key, const std::string& value) {
    switch (ClassifySettingsKey(key)) {
    case SettingsKeyKind::Property:
        if (store.SetCurrentPropertyByName(key.substr(5)))
            store.DeleteCurrentProperty();
        break;
    case SettingsKeyKind::ErrorList:
        store.ClearOverriddenErrors();
        break;
    case SettingsKeyKind::PlaceHolders:
        store.ClearPackagePlaceHolders();
        break;
    default:
        break;
    }
    store.ProcessNameValuePair(key, value);
}

int Write(CPFCoreSetupAPI& store, const std::string& project) {
    if (!store.WriteCPMFile()) {
        // The store's log says why (a settings tree it cannot read, the file error).
        std::string log;
        if (store.GetLogError(log) && store.PutLogError(log))
            ShowLog(store, project);
        else
            Error(project,
                  SpiLastMessage().empty() ? "cannot write the project file" : SpiLastMessage());
        return kFileError;
    }
    ShowLog(store, project);
    return kOk;
}

} // namespace

int InitCommand(const std::string& project, bool force) {
    SpiProject created;
    switch (created.Create(project, force ? 1 : 0)) {
    case 0:
        std::cout << "Created " << project << "\n";
        return kOk;
    case 6:
        Error(project, "the file exists; use --force to replace it with an empty project");
        return kBadInput;
    default:
        Error(project, SpiLastMessage());
        return kFileError;
    }
}

int ShowCommand(const std::string& project, bool json, bool origin) {
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store))
        return status;
    std::vector<EntryOrigin> origins;
    if (origin)
        origins = Origins(project);
    std::cout << (json ? RenderSettingsJson(*store, origin ? &origins : nullptr)
                       : RenderSettingsText(*store, origin ? &origins : nullptr));
    ShowLog(*store, project);
    return kOk;
}

int GetCommand(const std::string& project, const std::string& key) {
    if (ClassifySettingsKey(key) == SettingsKeyKind::Ignored) {
        Error(project, key + ": not a setting key; keys look like \"Symbol_GridSize\", "
                             "\"PinType_TS\", \"Prop_TOLERANCE\"");
        return kBadInput;
    }
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store))
        return status;
    std::string value;
    if (!EntryValue(*store, key, value)) {
        Error(project, key + ": the project has no property " + key.substr(5));
        return kBadInput;
    }
    std::cout << value << "\n";
    return kOk;
}

int SetCommand(const std::string& project, const std::vector<std::string>& pairs) {
    if (pairs.empty() || pairs.size() % 2 != 0) {
        Error(project, "give each KEY with its VALUE");
        return kBadInput;
    }
    for (size_t i = 0; i < pairs.size(); i += 2) {
        std::string problem;
        if (!CheckSettingEntry(pairs[i], pairs[i + 1], problem)) {
            Error(project, pairs[i] + " \"" + pairs[i + 1] + "\": " + problem);
            return kBadInput;
        }
    }
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store))
        return status;
    const std::vector<std::string> before = CheckSettingsTogether(*store);
    for (size_t i = 0; i < pairs.size(); i += 2) {
        const std::string& key = pairs[i];
        const std::string& value = pairs[i + 1];
        PFActiveLow read{};
        store->GetDefReadActiveLowPinNotation(read);
        if (key == "Format_WriteActiveLow" && read != PFActiveLow_Suffix_Star_And_N) {
            std::string readText;
            store->GetDefReadActiveLowPinNotation(readText);
            Error(project, key + " \"" + value +
                               "\": low-asserted pins are written with the suffix they are read "
                               "with (Format_ReadActiveLow \"" +
                               readText +
                               "\"); set Format_ReadActiveLow to \"ActiveLow_Suffix_Star_And_N\" "
                               "first");
            return kBadInput;
        }
        Apply(*store, key, value);
        if (key == "Format_ReadActiveLow") {
            // Reading a single suffix writes that suffix too, as the Format page locks it.
            store->GetDefReadActiveLowPinNotation(read);
            if (read != PFActiveLow_Suffix_Star_And_N)
                store->PutDefWriteActiveLowPinNotation(read);
        }
    }
    for (const std::string& now : CheckSettingsTogether(*store)) {
        if (std::find(before.begin(), before.end(), now) == before.end()) {
            std::string asked;
            for (size_t i = 0; i < pairs.size(); i += 2)
                asked += (asked.empty() ? "" : ", ") + pairs[i] + " \"" + pairs[i + 1] + "\"";
            Error(project, asked + ": " + now);
            return kBadInput;
        }
    }
    return Write(*store, project);
}

int UnsetCommand(const std::string& project, const std::string& key) {
    SpiProject own;
    if (own.Open(project) != 0) {
        Error(project, SpiLastMessage());
        return kFileError;
    }
    const SpiProgram* section = own.Programs().Lookup(kSettingsSection);
    const SpiDirective* entry = section ? section->directives.Lookup(key) : nullptr;
    if (!entry || !entry->origins[SpiUserLevel].Known()) {
        Error(project, key + ": the project file has no entry of its own for it");
        return kBadInput;
    }
    if (ClassifySettingsKey(key) == SettingsKeyKind::Ignored) {
        own.FindProgram(kSettingsSection);
        own.DeleteDirective(key);
        if (own.Save(project, 0) != 0) {
            Error(project, SpiLastMessage());
            return kFileError;
        }
        return kOk;
    }
    // The value the install and site files give.
    CPFCoreSetupAPI installed;
    SpiProject defaults;
    if (defaults.ReadInstallAndSiteFiles() == 0 && defaults.FindProgram(kSettingsSection) == 0) {
        defaults.InitDirectiveIteration();
        std::string name;
        while (defaults.GetNextDirective(name) == 0) {
            defaults.InitValueIteration();
            std::string value;
            if (defaults.GetNextValue(value) == 0)
                installed.ProcessNameValuePair(name, value);
        }
    }
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store))
        return status;
    std::string value;
    if (EntryValue(installed, key, value)) {
        Apply(*store, key, value);
    } else if (store->SetCurrentPropertyByName(key.substr(5))) {
        store->DeleteCurrentProperty();
    }
    return Write(*store, project);
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
    ARObjFind::resetRoots();
    ARStatus status;
    STSetupFile file(project, true);
    file.setReadMode(2);
    status.reset(0xffff);
    if (!file.parse(status).test(1)) {
        Error(project, status.message());
        return kFileError;
    }
    for (ARTreeNode* root : ARObjFind::roots())
        PrintTree(*root);
    return kOk;
}

} // namespace pfsetup::app
