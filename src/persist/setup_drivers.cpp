// Reading the store from, and writing it to, the "PFG142" section of a project file or part
// template.

#include "base/ascii_text.h"
#include "base/error_record.h"
#include "persist/project_binding.h"
#include "persist/settings_entries.h"
#include "projfile/file_io.h"
#include "projfile/file_lock.h"
#include "projfile/project_parser.h"
#include "projfile/spi_project.h"
#include "setup/number_text.h"
#include "setup/setting_rules.h"
#include "setup/setup_store.h"

using namespace pfsetup;

namespace {

// Calls `read` with the name, the first value as stored (variables not expanded) and the file
// and line of that value, for a directive that has a value. The one place where a read looks
// at the project model's directives rather than going through the cursor operations, which
// hand out only expanded values.
template <class Read>
void WithStoredValue(const SpiProgramList& programs, const SpiDirective& directive, Read&& read) {
    const SpiValueList values = directive.ActiveValues();
    if (values.empty()) {
        return;
    }
    const SpiOrigin origin = programs.Origin(directive, directive.level);
    read(std::string(directive.Name()), std::string(*values.begin()), origin.File(), origin.line);
}

// An installed entry of a setting the writer left out of `project` (a property the store does
// not hold, an empty list, the split flag set) is taken out by an entry without a value, so a
// read of the file gives the store's setup, not the installed one.
void TakeOutLeftOutEntries(SpiProject& project, uint16_t mask) {
    SpiProject installed;
    if (installed.ReadInstallAndSiteFiles() != 0) {
        return; // the selective save fails on the same files and says so
    }
    const SpiProgram* base = installed.Programs().Lookup(kSettingsSection);
    if (!base) {
        return;
    }
    if (project.FindProgram(kSettingsSection) != 0) {
        project.AddProgram(kSettingsSection);
        project.FindProgram(kSettingsSection);
    }
    for (const SpiDirective* directive : base->directives) {
        const std::string key(directive->Name());
        const SettingKey* row = FindSettingKey(key);
        if (row && !(row->saveGroup && !(mask & row->saveGroup)) &&
            !directive->ActiveValues().empty() && project.FindDirective(key) != 0) {
            project.AddDirective(key);
        }
    }
}

} // namespace

int CPFCoreSetupAPI::ReadSetup() {
    return ReadProjectSetup(nullptr);
}

int CPFCoreSetupAPI::ReadSetupText(const std::string& text) {
    return ReadProjectSetup(&text);
}

int CPFCoreSetupAPI::ReadProjectSetup(const std::string* text) {
    ClearLastError();
    ClearProperties();
    if (DefFileName.empty()) {
        LogFailure(*this, "\nUnable to read " + DefFileName,
                   Failure(ErrorKind::Value, "", "no project file named"));
        return 0;
    }
    ClearOverriddenErrors();
    ClearPackagePlaceHolders();
    // Who the file is before the read: a writer that changes it from here on shows.
    const FileIdentity before = text ? IdentityOfText(*text) : IdentityOf(DefFileName);
    const unsigned long long stamp[4] = {before.device, before.inode, before.size, before.modified};
    ReadProject.reset();
    if (!LoadSettings(DefFileName, text)) {
        LogFailure(*this, "\nUnable to read " + DefFileName,
                   Failure(ErrorKind::Access, DefFileName, "cannot read"));
        RememberRead(DefFileName, stamp, true);
        return 0;
    }
    if (KeepReadProject) {
        ReadProject = std::move(Project);
    }
    CloseProject();
    LastReadWriteFileName = DefFileName;
    RememberRead(DefFileName, stamp, false);
    return 1;
}

int CPFCoreSetupAPI::WriteSetup() {
    ClearLastError();
    // A template never replaces a file the settings come from (the project, the site file):
    // checked under the template's lock, held to the write (a lock that cannot be taken fails
    // the save below, which says why).
    ProjectLock lock;
    if (lock.Acquire(DefFileName) == 0 &&
        (SameFile(DefFileName, CPMFileName) || IsSiteProjectFile(DefFileName))) {
        ErrorRecord record;
        record.kind = ErrorKind::Value;
        record.file = DefFileName;
        record.problem = "it is the project file the settings come from";
        record.allowed = "allowed: a file of its own for the template";
        record.text = "Unable to save file " + DefFileName + ": " + record.problem;
        PutLogError("\n" + record.text);
        SetLastError(std::move(record));
        return 0;
    }
    const ErrorRecord cause = DefFileName.empty()
                                  ? Failure(ErrorKind::Value, "", "no file name to save to")
                                  : Failure(ErrorKind::Access, DefFileName, "cannot write");
    if (!CreateProjectFile(DefFileName)) {
        LogFailure(*this, "\nUnable to save file " + DefFileName, cause);
        return 0;
    }
    PutEntryInProject();
    TakeOutLeftOutEntries(*Project, SaveSections);
    if (!SaveProjectFile(DefFileName, 0)) {
        LogFailure(*this, "\nUnable to save file " + DefFileName, cause);
        return 0;
    }
    CloseProject();
    LastReadWriteFileName = DefFileName;
    return 1;
}

int CPFCoreSetupAPI::LoadSettings(const std::string& fileName, const std::string* text) {
    CloseProject();
    BoundProject project = NewBoundProject();
    if (!project) {
        return 0;
    }
    if ((text ? project->OpenText(fileName, *text) : project->Open(fileName)) != 0) {
        return 0;
    }
    Project = std::move(project);
    const SpiProgram* section = Project->Programs().Lookup(kSettingsSection);
    if (!section) {
        return 1;
    }
    auto read = [this](const std::string& name, const std::string& stored, const std::string& file,
                       int line) { ReadEntry(name, stored, file, line); };
    for (const auto& directive : section->directives) {
        if (ReadOnlyKey.empty() || EqualsIgnoreCase(directive->Name(), ReadOnlyKey)) {
            WithStoredValue(Project->Programs(), *directive, read);
        }
    }
    return 1;
}

void CPFCoreSetupAPI::ReadEntry(const std::string& name, const std::string& stored,
                                const std::string& file, int line) {
    if (ClassifySettingsKey(name) == SettingsKeyKind::Ignored) {
        return;
    }
    std::string value, reason;
    if (ExpandVariables(stored, value, reason) != 1) {
        value = stored;
    }
    if (const char* problem = UnstorableTextProblem(value)) {
        const std::string where = "\n" + file + ":" + FormatInt(line) + ": " + name;
        if (value == stored || UnstorableTextProblem(stored)) {
            PutLogError(where + " is not read: its value " + problem);
            return;
        }
        // As for a variable that is not set, the value is taken as written.
        PutLogError(where + ": the variables of its value expand to text that " + problem +
                    "; the value is read as written");
        value = stored;
    }
    if (stored.find('$') == std::string::npos) {
        EntrySources.erase(name);
    } else {
        EntrySources[name] = EntrySource{stored, value};
    }
    ProcessNameValuePair(name, value);
}

std::string CPFCoreSetupAPI::StoredEntryValue(const std::string& key,
                                              const std::string& value) const {
    const auto source = EntrySources.find(key);
    if (source == EntrySources.end()) {
        return value;
    }
    // The entry this setting had right after the read: the stored text gives it back exactly
    // (an unset variable left the whole text as written, another field normalised).
    CPFCoreSetupAPI asRead;
    asRead.ProcessNameValuePair(key, source->second.read);
    for (const SettingsEntry& entry : CollectSettingsEntries(asRead, 0x00FF)) {
        if (entry.key == key) {
            if (entry.value == value) {
                return source->second.stored;
            }
            break;
        }
    }
    if (ClassifySettingsKey(key) == SettingsKeyKind::Property) {
        // Another field of the entry changed: the property's value may still be as read.
        std::vector<std::string> fields = SplitPropertyFields(value);
        std::string stored = StoredPropertyValue(key.substr(5), fields[1]);
        if (stored != fields[1]) {
            fields[1] = std::move(stored);
            return JoinPropertyFields(fields);
        }
    }
    return value;
}

std::string CPFCoreSetupAPI::StoredPropertyValue(const std::string& name,
                                                 const std::string& value) const {
    const auto source = EntrySources.find("Prop_" + name);
    if (source == EntrySources.end() || SplitPropertyFields(source->second.read)[1] != value) {
        return value;
    }
    return SplitPropertyFields(source->second.stored)[1];
}

int CPFCoreSetupAPI::ReadTemplateSetup(const std::string& text) {
    if (text.size() > kLargestModelText) {
        PutLogError("\nUnable to read " + DefFileName);
        return 0;
    }
    ClearLastError();
    ClearProperties();
    ClearOverriddenErrors();
    ClearPackagePlaceHolders();
    SpiProject installed;
    SpiProgramList own;
    SpiProjectFile parsed(own.Keep(text, DefFileName), DefFileName);
    if (DefFileName.empty() || installed.ReadInstallAndSiteFiles() != 0 ||
        ReadPrograms(own, parsed, SpiUserLevel) != 0) {
        LogFailure(*this, "\nUnable to read " + DefFileName,
                   Failure(ErrorKind::Value, "", "no template named"));
        return 0;
    }
    // The template's setup is what a read of it merged over the install and site files gives:
    // every setting it can carry starts from its default (which the writer leaves out for the
    // split flag), and the format group, which it never carries, stays as it is.
    const auto carried = [](const std::string& key) {
        const SettingKey* row = FindSettingKey(key);
        return row && !(row->saveGroup & kSaveFormat);
    };
    CPFCoreSetupAPI defaults;
    for (const std::string& key : AllSettingKeys()) {
        std::string value;
        if (carried(key) && SettingValue(defaults, key, value)) {
            ReadSettingsEntry(*this, key, value);
        }
    }
    auto read = [this, &carried](const std::string& name, const std::string& stored,
                                 const std::string& file, int line) {
        if (carried(name)) {
            ReadEntry(name, stored, file, line);
        }
    };
    const SpiProgram* named = own.Lookup(kSettingsSection);
    const SpiProgram* base = installed.Programs().Lookup(kSettingsSection);
    // In the order a merged read gives: an installed entry's place holds the template's entry
    // of that name, which takes it out when it has no value.
    if (base) {
        for (const auto& directive : base->directives) {
            if (const SpiDirective* mine =
                    named ? named->directives.Lookup(directive->Name()) : nullptr) {
                WithStoredValue(own, *mine, read);
            } else {
                WithStoredValue(installed.Programs(), *directive, read);
            }
        }
    }
    if (named) {
        for (const auto& directive : named->directives) {
            if (!base || !base->directives.Lookup(directive->Name())) {
                WithStoredValue(own, *directive, read);
            }
        }
    }
    LastReadWriteFileName = DefFileName;
    return 1;
}
