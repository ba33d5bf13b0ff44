// Writing what the person confirmed into the project file: the settings tree and, in the same
// single write, the "PFG142" section the next read takes the settings from.

#include "persist/settings_entries.h"
#include "persist/tree/ar_tree.h"
#include "persist/tree/st_setup_file.h"
#include "projfile/spi_project.h"
#include "setup/ascii_text.h"
#include "setup/setup_store.h"

#include <set>
#include <vector>

namespace pfsetup {

namespace {

struct LessIgnoringCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](char x, char y) { return ToUpperAscii(x) < ToUpperAscii(y); });
    }
};

} // namespace

// Puts the entries of the store's settings into the project's settings section at the user's
// level. A setting the store holds no value for any more (a deleted property, an emptied list,
// a cleared flag) is removed from the user's own entries, and an install or site entry for it
// is masked by a value-less user entry, which the reader skips; entries the reader ignores are
// left as they are.
void RefreshSettingsSection(const std::vector<SettingsEntry>& entries, SpiProject& project) {
    if (project.FindProgram(kSettingsSection) != 0) {
        project.AddProgram(kSettingsSection);
        project.FindProgram(kSettingsSection);
    }
    std::set<std::string, LessIgnoringCase> written;
    for (const SettingsEntry& entry : entries) {
        if (project.FindDirective(entry.key) == 0)
            project.DeleteDirective(entry.key);
        project.AddDirective(entry.key);
        project.AddValue(entry.value);
        written.insert(entry.key);
    }
    std::vector<std::string> stale, masked;
    const SpiProgram* section = project.Programs().Lookup(kSettingsSection);
    if (!section)
        return;
    for (const auto& directive : section->directives) {
        const std::string name(directive->name);
        if (written.count(name) || ClassifySettingsKey(name) == SettingsKeyKind::Ignored)
            continue;
        const bool installed =
            directive->HasLevel(SpiInstallLevel) || directive->HasLevel(SpiSiteLevel);
        (installed ? masked : stale).push_back(name);
    }
    for (const std::string& name : stale)
        project.DeleteDirective(name);
    for (const std::string& name : masked) {
        project.DeleteDirective(name);
        project.AddDirective(name);
    }
}

} // namespace pfsetup

using namespace pfsetup;

int CPFCoreSetupAPI::WriteCPMFile() {
    if (CPMFileName.empty())
        return 0;
    ARStatus status;
    ARObjFind finder;
    ARTreeNode* root = nullptr;
    // A tree parsed from another project file is not this project's.
    if (!ARObjFind::rootsSource().empty() && ARObjFind::rootsSource() != CPMFileName)
        ARObjFind::resetRoots();
    if (!finder.getObj("PFG", root, status)) {
        STSetupFile setupFile(CPMFileName, true);
        setupFile.setReadMode(2);
        status.reset(0xffff);
        if (!setupFile.parse(status).test(1)) {
            PutLogError("\n" + status.message() + "\nUnable to save file " + CPMFileName);
            return 0;
        }
        if (!finder.getObj("PFG", root, status))
            return 0;
    }
    PutEntryInProjectInNewFormat();
    finder.getObj("PFG", root, status);
    // Every group, whatever a template save cleared from the store's mask.
    std::string problems;
    std::vector<SettingsEntry> entries = CollectSettingsEntries(*this, 0x00FF, &problems);
    for (SettingsEntry& entry : entries)
        entry.value = StoredEntryValue(entry.key, entry.value);
    STSetupWriter writer(CPMFileName, status);
    writer.setProjectEditor(
        [&entries](SpiProject& project) { RefreshSettingsSection(entries, project); });
    root->accept(writer);
    if (!problems.empty())
        PutLogError(problems);
    if (!status.test(1)) {
        PutLogError("\n" + status.message() + "\nUnable to save file " + CPMFileName);
        return 0;
    }
    LastReadWriteFileName = CPMFileName;
    return 1;
}
