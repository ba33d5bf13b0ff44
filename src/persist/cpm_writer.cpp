// Writing what the person confirmed into the project file: the settings tree and, in the same
// single write, the "PFG142" section the next read takes the settings from.

#include "base/ascii_text.h"
#include "base/module_state.h"
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
#include <iterator>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pfsetup {

namespace {

struct LessIgnoringCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](char x, char y) { return AsciiUpper(x) < AsciiUpper(y); });
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

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries EntriesOf(CPFCoreSetupAPI& store) {
    Entries entries;
    for (const SettingsEntry& entry : CollectSettingsEntries(store, 0x00FF))
        entries.emplace_back(entry.key, entry.value);
    return entries;
}

std::array<unsigned long long, 4> Stamp(const FileIdentity& identity) {
    return {identity.device, identity.inode, identity.size, identity.modified};
}

// The identity of the project file the registered settings tree was last written to by
// WriteCPMFile (all 0 before): a tree older than the file is parsed again.
FileIdentity& TreeIdentity() {
    static FileIdentity identity;
    static const ModuleStateReset reset([] { identity = FileIdentity(); });
    return identity;
}

} // namespace

void CPFCoreSetupAPI::RememberRead(const std::string& file, const unsigned long long (&stamp)[4],
                                   bool failed) {
    LastRead.file = file;
    std::copy(std::begin(stamp), std::end(stamp), LastRead.stamp);
    LastRead.failed = failed;
    if (failed)
        LastRead.entries.clear();
    else
        LastRead.entries = EntriesOf(*this);
}

// Several writers may change one project at once (the tool, dialogs, hosts): each write holds
// the file's lock from reading it again to replacing it. When the file is as this store read
// it, the write is what it always was; when another writer changed it meanwhile, the settings
// this store did not change keep the file's values and this store's changes go over them
// (the last writer wins a setting both changed); sections and entries it does not own stay as
// the file has them.
int CPFCoreSetupAPI::WriteCPMFile() {
    ClearLastError();
    if (CPMFileName.empty()) {
        SetLastError(Failure(ErrorKind::Value, "", "no project file named"));
        return 0;
    }
    ProjectLock lock;
    if (const int error = lock.Acquire(CPMFileName)) {
        LogFailure(*this, "\nUnable to save file " + CPMFileName + ": " + DescribeFileError(error),
                   FileErrorRecord(CPMFileName, error, true));
        return 0;
    }
    const FileIdentity now = IdentityOf(CPMFileName);
    if (LastRead.file == CPMFileName && LastRead.failed && now.inode != 0) {
        // What this store holds is not what the file holds: writing it would lose that.
        const char* problem = "the last read of it failed, and a write would replace what it holds";
        LogFailure(*this, "\nUnable to save file " + CPMFileName + ": " + problem,
                   Failure(ErrorKind::Access, CPMFileName, std::string("not written: ") + problem));
        return 0;
    }
    const bool changed =
        LastRead.file == CPMFileName &&
        !std::equal(std::begin(LastRead.stamp), std::end(LastRead.stamp), Stamp(now).begin());
    // The registered tree is read again from the file as it is now when another writer changed
    // the file since this module last parsed or wrote it (a tree a host built is kept).
    if (changed || (TreeIdentity().inode != 0 && TreeIdentity() != now))
        ARObjFind::resetRoots();
    if (changed)
        ReadProject.reset(); // the file is not what that project holds
    const int written = changed ? WriteChangesOverFile() : WriteCPMFileLocked();
    ReadProject.reset();
    if (written) {
        TreeIdentity() = IdentityOf(CPMFileName);
        // After a merge the file holds more than this store (others' settings): the next write
        // merges again, whatever the file's identity then.
        const auto stamp = changed ? std::array<unsigned long long, 4>{} : Stamp(TreeIdentity());
        std::copy(stamp.begin(), stamp.end(), LastRead.stamp);
        LastRead.file = CPMFileName;
        LastRead.failed = false;
        LastRead.entries = EntriesOf(*this);
    }
    return written;
}

int CPFCoreSetupAPI::WriteChangesOverFile() {
    CPFCoreSetupAPI current;
    current.PutDefFileName(CPMFileName);
    current.PutCPMFileName(CPMFileName);
    std::string log;
    if (!current.ReadSetup()) {
        current.GetLogError(log);
        LogFailure(*this, log + "\nUnable to save file " + CPMFileName,
                   Failure(ErrorKind::Access, CPMFileName, "cannot read"));
        return 0;
    }
    current.GetLogError(log); // what the file holds that a read skips is not this write's
    const Entries mine = EntriesOf(*this);
    std::unordered_map<std::string, const std::string*> before;
    for (const auto& [key, value] : LastRead.entries)
        before.emplace(key, &value);
    std::unordered_map<std::string, bool> kept;
    for (const auto& [key, value] : mine) {
        kept[key] = true;
        const auto read = before.find(key);
        if (read != before.end() && *read->second == value)
            continue;
        // This store's own change.
        ReplaceSettingsEntry(current, key, &value);
        if (const auto source = EntrySources.find(key); source != EntrySources.end())
            current.EntrySources[key] = source->second;
    }
    for (const auto& [key, value] : LastRead.entries)
        if (!kept.count(key))
            ReplaceSettingsEntry(current, key, nullptr); // taken away here since the read
    const int written = current.WriteCPMFileLocked();
    if (current.GetLogError(log))
        PutLogError(log);
    return written;
}

int CPFCoreSetupAPI::WriteCPMFileLocked() {
    ARStatus status;
    ARObjFind finder;
    ARTreeNode* root = nullptr;
    // The file is opened once (or was, by the read this write follows, when the store kept
    // it): the tree is parsed from it when none is registered, and the write goes through it.
    SpiProject opened;
    const bool reuse = ReadProject && ReadProject->FileName() == CPMFileName;
    if (!reuse && opened.Open(CPMFileName) != 0) {
        LogFailure(*this, "\n" + SpiLastMessage() + "\nUnable to save file " + CPMFileName,
                   Failure(ErrorKind::Access, CPMFileName, "cannot read"));
        return 0;
    }
    SpiProject& project = reuse ? *ReadProject : opened;
    // A tree parsed from another project file is not this project's.
    if (!ARObjFind::rootsSource().empty() && ARObjFind::rootsSource() != CPMFileName)
        ARObjFind::resetRoots();
    if (!finder.getObj("PFG", root, status)) {
        STSetupFile setupFile(CPMFileName, true);
        setupFile.setReadMode(2);
        status.reset(0xffff);
        if (!setupFile.parse(status, project).test(1)) {
            LogFailure(*this, "\n" + status.message() + "\nUnable to save file " + CPMFileName,
                       Failure(ErrorKind::Syntax, CPMFileName, status.message()));
            return 0;
        }
        if (!finder.getObj("PFG", root, status)) {
            SetLastError(Failure(ErrorKind::Syntax, CPMFileName,
                                 "no settings tree \"PFG\" in the project or the installed files"));
            return 0;
        }
    }
    PutEntryInProjectInNewFormat();
    finder.getObj("PFG", root, status);
    // Every group, whatever a template save cleared from the store's mask.
    std::string problems;
    std::vector<SettingsEntry> entries = CollectSettingsEntries(*this, 0x00FF, &problems);
    for (SettingsEntry& entry : entries)
        entry.value = StoredEntryValue(entry.key, entry.value);
    STSetupWriter writer(CPMFileName, status);
    writer.setProject(&project);
    writer.setProjectEditor(
        [&entries](SpiProject& target) { RefreshSettingsSection(entries, target); });
    root->accept(writer);
    if (!problems.empty())
        PutLogError(problems);
    if (!status.test(1)) {
        LogFailure(*this, "\n" + status.message() + "\nUnable to save file " + CPMFileName,
                   Failure(ErrorKind::Access, CPMFileName, "cannot write"));
        return 0;
    }
    LastReadWriteFileName = CPMFileName;
    return 1;
}
