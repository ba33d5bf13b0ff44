// Writing what the person confirmed into the project file: the settings tree and, in the same
// single write, the "PFG142" section the next read takes the settings from.

#include "base/ascii_text.h"
#include "persist/project_binding.h"
#include "persist/settings_entries.h"
#include "persist/tree/ar_tree.h"
#include "persist/tree/st_setup_file.h"
#include "projfile/file_io.h"
#include "projfile/file_lock.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

#include <algorithm>
#include <array>
#include <functional>
#include <iterator>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pfsetup {

SettingValues AllSettingValues(CPFCoreSetupAPI& store) {
    SettingValues values;
    for (const std::string& key : AllSettingKeys()) {
        std::string value;
        if (SettingValue(store, key, value)) {
            values.emplace_back(key, std::move(value));
        }
    }
    for (SettingsEntry& entry : CollectSettingsEntries(store, kSaveProperties)) {
        if (ClassifySettingsKey(entry.key) == SettingsKeyKind::Property) {
            values.emplace_back(std::move(entry.key), std::move(entry.value));
        }
    }
    return values;
}

std::vector<std::string> ChangedSettings(const SettingValues& before, const SettingValues& after) {
    std::unordered_map<std::string, const std::string*> was;
    for (const auto& [key, value] : before) {
        was.emplace(key, &value);
    }
    std::vector<std::string> changed;
    for (const auto& [key, value] : after) {
        const auto found = was.find(key);
        if (found == was.end() || *found->second != value) {
            changed.push_back(key);
        }
        if (found != was.end()) {
            was.erase(found);
        }
    }
    for (const auto& [key, value] : before) {
        if (was.count(key)) {
            changed.push_back(key); // a property taken away
        }
    }
    return changed;
}

namespace {

// Makes the settings section of `project` say what `entryOf` gives for each of `keys` (false:
// the writer leaves the entry out), touching no other entry. A changed entry is rewritten
// where it stands; one the writer leaves out is removed from the user's file, and an
// installed one of that name is taken out by a value-less entry, which the reader skips.
void PutChangedEntries(const std::vector<std::string>& keys,
                       const std::function<bool(const std::string&, std::string&)>& entryOf,
                       SpiProject& project) {
    if (project.FindProgram(kSettingsSection) != 0) {
        project.AddProgram(kSettingsSection);
        project.FindProgram(kSettingsSection);
    }
    const SpiProgram* section = project.Programs().Lookup(kSettingsSection);
    for (const std::string& key : keys) {
        std::string value;
        const bool written = entryOf(key, value);
        if (project.FindDirective(key) != 0) {
            if (written) {
                project.AddDirective(key);
                project.AddValue(value);
            }
            continue;
        }
        const SpiDirective* directive = section->directives.Lookup(key);
        const SpiValueList values = directive->ActiveValues();
        if (written) {
            if (directive->level != SpiUserLevel || values.size() != 1 || values[0] != value) {
                project.SetValues({value});
            }
        } else if (directive->HasLevel(SpiInstallLevel) || directive->HasLevel(SpiSiteLevel)) {
            if (directive->level != SpiUserLevel || !values.empty()) {
                project.SetValues({});
            }
        } else {
            project.DeleteDirective(key);
        }
    }
}

std::array<unsigned long long, 4> Stamp(const FileIdentity& identity) {
    return {identity.device, identity.inode, identity.size, identity.modified};
}

} // namespace

} // namespace pfsetup

using namespace pfsetup;

void CPFCoreSetupAPI::RememberRead(const std::string& file, const unsigned long long (&stamp)[4],
                                   bool failed) {
    LastRead.file = file;
    std::copy(std::begin(stamp), std::end(stamp), LastRead.stamp);
    LastRead.failed = failed;
    const bool noted = RememberReadValues && ReadOnlyKey.empty();
    LastRead.unnoted = !failed && !noted;
    if (failed || !noted) {
        LastRead.entries.clear();
    } else {
        LastRead.entries = AllSettingValues(*this);
    }
}

// Several writers may change one project at once (the tool, dialogs, hosts): each write holds
// the file's lock from reading it again to replacing it, and writes only what this store
// changed since it read the file (since the defaults, for a store that never read it): every
// other line stays as the file has it. When another writer changed the file meanwhile, the
// settings this store did not change keep the file's values and this store's changes go over
// them (the last writer wins a setting both changed).
int CPFCoreSetupAPI::WriteCPMFile() {
    return WriteProject(nullptr);
}

int CPFCoreSetupAPI::WriteCPMText(std::string& text) {
    return WriteProject(&text);
}

int CPFCoreSetupAPI::WriteProject(std::string* text) {
    ClearLastError();
    if (CPMFileName.empty()) {
        LogFailure(*this, "\nUnable to save file: no project file is named",
                   Failure(ErrorKind::Value, "", "no project file named"));
        return 0;
    }
    ProjectLock lock;
    if (const int error = text ? 0 : lock.Acquire(CPMFileName)) {
        LogFailure(*this, "\nUnable to save file " + CPMFileName + ": " + DescribeFileError(error),
                   FileErrorRecord(CPMFileName, error, true));
        return 0;
    }
    const FileIdentity now = text ? IdentityOfText(*text) : IdentityOf(CPMFileName);
    if (LastRead.file == CPMFileName && LastRead.failed && now.inode != 0) {
        // What this store holds is not what the file holds: writing it would lose that.
        const char* problem = "the last read of it failed, and a write would replace what it holds";
        LogFailure(*this, "\nUnable to save file " + CPMFileName + ": " + problem,
                   Failure(ErrorKind::Access, CPMFileName, std::string("not written: ") + problem));
        return 0;
    }
    if (LastRead.file == CPMFileName && LastRead.unnoted) {
        const char* problem = "the store read it without noting what it read, so a write cannot "
                              "tell what this store changed";
        LogFailure(*this, "\nUnable to save file " + CPMFileName + ": " + problem,
                   Failure(ErrorKind::Value, CPMFileName, std::string("not written: ") + problem));
        return 0;
    }
    const bool read = LastRead.file == CPMFileName && !LastRead.failed;
    const bool asRead = read && std::equal(std::begin(LastRead.stamp), std::end(LastRead.stamp),
                                           Stamp(now).begin());
    const SettingValues values = AllSettingValues(*this);
    CPFCoreSetupAPI defaults;
    const std::vector<std::string> changed =
        ChangedSettings(read ? LastRead.entries : AllSettingValues(defaults), values);
    // The registered tree is read again from the file as it is now when another writer changed
    // the file since this module last parsed or wrote it (a tree a host built is kept).
    if ((read && !asRead) ||
        (ARObjFind::rootsSource() == CPMFileName && TreeSourceIdentity() != now)) {
        ARObjFind::resetRoots();
    }
    if (!asRead) {
        ReadProject.reset(); // the file is not what that project holds
    }
    const int written =
        asRead ? WriteCPMFileLocked(changed, text) : WriteChangesOverFile(changed, text);
    ReadProject.reset();
    if (written) {
        TreeSourceIdentity() = text ? IdentityOfText(*text) : IdentityOf(CPMFileName);
        // After a merge the file holds more than this store (others' settings): the next write
        // merges again, whatever the file's identity then.
        const auto stamp =
            asRead ? Stamp(TreeSourceIdentity()) : std::array<unsigned long long, 4>{};
        std::copy(stamp.begin(), stamp.end(), LastRead.stamp);
        LastRead.file = CPMFileName;
        LastRead.failed = false;
        LastRead.unnoted = false;
        LastRead.entries = values;
    }
    return written;
}

int CPFCoreSetupAPI::WriteChangesOverFile(const std::vector<std::string>& changed,
                                          std::string* text) {
    CPFCoreSetupAPI current;
    current.PutDefFileName(CPMFileName);
    current.PutCPMFileName(CPMFileName);
    current.KeepProjectForWrite(true);
    std::string log;
    if (!current.ReadProjectSetup(text)) {
        current.GetLogError(log);
        LogFailure(*this, log + "\nUnable to save file " + CPMFileName,
                   Failure(ErrorKind::Access, CPMFileName, "cannot read"));
        return 0;
    }
    current.GetLogError(log); // what the file holds that a read skips is not this write's
    for (const std::string& key : changed) {
        std::string value;
        ReplaceSettingsEntry(current, key, SettingValue(*this, key, value) ? &value : nullptr);
        if (const auto source = EntrySources.find(key); source != EntrySources.end()) {
            current.EntrySources[key] = source->second;
        }
    }
    const int written = current.WriteCPMFileLocked(changed, text);
    if (current.GetLogError(log)) {
        PutLogError(log);
    }
    return written;
}

int CPFCoreSetupAPI::WriteCPMFileLocked(const std::vector<std::string>& changed,
                                        std::string* text) {
    ARStatus status;
    ARObjFind finder;
    ARTreeNode* root = nullptr;
    // The file is opened once (or was, by the read this write follows, when the store kept
    // it): the tree is parsed from it when none is registered, and the write goes through it.
    SpiProject opened;
    const bool reuse = ReadProject && ReadProject->FileName() == CPMFileName;
    if (!reuse && (text ? opened.OpenText(CPMFileName, *text) : opened.Open(CPMFileName)) != 0) {
        LogFailure(*this, "\n" + SpiLastMessage() + "\nUnable to save file " + CPMFileName,
                   Failure(ErrorKind::Access, CPMFileName, "cannot read"));
        return 0;
    }
    SpiProject& project = reuse ? *ReadProject : opened;
    project.KeepReadLines(true); // a set touches only its own lines
    // A tree parsed from another project file is not this project's.
    if (!ARObjFind::rootsSource().empty() && ARObjFind::rootsSource() != CPMFileName) {
        ARObjFind::resetRoots();
    }
    if (!finder.getObj("PFG", root, status)) {
        STSetupFile setupFile(CPMFileName, true);
        setupFile.setReadMode(2);
        status.reset(0xffff);
        const FileIdentity source = text ? IdentityOfText(*text) : IdentityOf(CPMFileName);
        if (!setupFile.parse(status, project, &source).test(1)) {
            LogFailure(*this, "\n" + status.message() + "\nUnable to save file " + CPMFileName,
                       Failure(ErrorKind::Syntax, CPMFileName, status.message()));
            return 0;
        }
        if (!finder.getObj("PFG", root, status)) {
            const char* problem = "no settings tree \"PFG\" in the project or the installed files";
            LogFailure(*this, std::string("\n") + problem + "\nUnable to save file " + CPMFileName,
                       Failure(ErrorKind::Syntax, CPMFileName, problem));
            return 0;
        }
    }
    PutEntryInProjectInNewFormat();
    finder.getObj("PFG", root, status);
    // Every group, whatever a template save cleared from the store's mask.
    std::string problems;
    CollectSettingsEntries(*this, 0x00FF, &problems);
    const auto entryOf = [this](const std::string& key, std::string& value) {
        const SettingKey* row = FindSettingKey(key);
        if (!row || !row->write(*this, key, value)) {
            return false;
        }
        value = StoredEntryValue(key, value);
        return true;
    };
    STSetupWriter writer(CPMFileName, status);
    writer.setProject(&project);
    writer.setOutput(text);
    writer.setProjectEditor(
        [&](SpiProject& target) { PutChangedEntries(changed, entryOf, target); });
    root->accept(writer);
    if (!problems.empty()) {
        PutLogError(problems);
    }
    if (!status.test(1)) {
        LogFailure(*this, "\n" + status.message() + "\nUnable to save file " + CPMFileName,
                   Failure(ErrorKind::Access, CPMFileName, "cannot write"));
        return 0;
    }
    LastReadWriteFileName = CPMFileName;
    return 1;
}
