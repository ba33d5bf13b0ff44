#include "projfile/spi_project.h"

#include "base/module_state.h"
#include "projfile/file_io.h"
#include "projfile/file_lock.h"
#include "projfile/installed_files.h"
#include "projfile/project_writer.h"
#include "projfile/spi_messages.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string_view>

namespace {

constexpr const char* kInstalledFileInPath = "qrvsetup/projmgr/qrv.cpm";

bool Owns(const SpiProgram& program, const SpiDirective* directive) {
    return directive != nullptr &&
           std::any_of(program.directives.begin(), program.directives.end(),
                       [directive](const SpiDirective* owned) { return owned == directive; });
}

// The install and site files as last read, for as long as the file stays the same (its device,
// inode, size and modification time): a command that reads a project and then writes it reads
// them again to compare, and takes them from here instead of opening them again.
struct InstalledText {
    std::string path;
    pfsetup::FileIdentity identity;
    std::string text;
};
InstalledText g_installed[2]; // install, site
const pfsetup::ModuleStateReset g_installedReset([] {
    for (InstalledText& cached : g_installed) {
        cached = InstalledText();
    }
});

// ReadWholeFile, through the copy above for the install and site levels.
int ReadLevelFile(const std::string& path, int level, std::unique_ptr<char[]>& read,
                  std::size_t& size) {
    if (level != SpiInstallLevel && level != SpiSiteLevel) {
        return pfsetup::ReadWholeFile(path, read, size);
    }
    InstalledText& cached = g_installed[level == SpiInstallLevel ? 0 : 1];
    const pfsetup::FileIdentity identity = pfsetup::IdentityOf(path);
    if (cached.path == path && identity.inode != 0 && cached.identity == identity) {
        size = cached.text.size();
        read.reset(new char[size + 1]);
        std::memcpy(read.get(), cached.text.data(), size);
        read[size] = '\0';
        return 0;
    }
    const int error = pfsetup::ReadWholeFile(path, read, size);
    if (error == 0 && pfsetup::IdentityOf(path) == identity) {
        cached = InstalledText{path, identity, std::string(read.get(), size)};
    }
    return error;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// The message of a file that could not be written, with its record beside it: -1.
int FileFailure(const char* format, const std::string& name, int error) {
    pfsetup::RecordFailure(
        pfsetup::Format(format, name.c_str(), pfsetup::DescribeFileError(error).c_str()),
        pfsetup::FileErrorRecord(name, error, true));
    return -1;
}

} // namespace

int SpiProject::ReadFile(const std::string& path, int fileLevel, const char* failedToOpen) {
    std::unique_ptr<char[]> read;
    std::size_t size = 0;
    const int error = ReadLevelFile(path, fileLevel, read, size);
    if (error != 0) {
        pfsetup::RecordFailure(
            pfsetup::Format(failedToOpen, path.c_str(), pfsetup::DescribeFileError(error).c_str()),
            pfsetup::FileErrorRecord(path, error, false));
        return -1;
    }
    // The model keeps the text: names and values stay views into it.
    SpiProjectFile file(programs.Keep(std::move(read), size, path), path, collect_);
    return ReadPrograms(programs, file, fileLevel);
}

int SpiProject::ReadInstallFile() {
    pfsetup::ClearLastError();
    std::string path;
    const int found = GetInstallProjectFilePath(path);
    if (found != 0) {
        return found;
    }
    return ReadFile(path, SpiInstallLevel,
                    "SPI_ERROR: Failed to open INSTALL project file \"%s\". %s");
}

int SpiProject::ReadSiteFile() {
    pfsetup::ClearLastError();
    std::string path;
    if (GetSiteProjectFilePath(path) != 0) {
        // A site file is optional: the search message stays recorded, as no failure.
        pfsetup::ClearLastError();
        return 0;
    }
    return ReadFile(path, SpiSiteLevel, "SPI_ERROR: Failed to open SITE project file \"%s\". %s");
}

int SpiProject::ReadInstallAndSiteFiles() {
    if (ReadInstallFile() != 0) {
        return -1;
    }
    return ReadSiteFile() == -1 ? -1 : 0;
}

int SpiProject::ReadUserFile() {
    pfsetup::ClearLastError();
    if (fileName.empty()) {
        pfsetup::RecordFailure(
            "SPI_ERROR: No filename given, can't open project file",
            pfsetup::Failure(pfsetup::ErrorKind::Value, "", "no file name given"));
        return -1;
    }
    std::string forward = fileName;
    std::replace(forward.begin(), forward.end(), '\\', '/');
    // The install project file is never read as a user's file: the file itself, by any path,
    // and (as hosts expect) any longer path that names it.
    if (forward.find(kInstalledFileInPath, 1) != std::string::npos ||
        IsInstallProjectFile(fileName)) {
        pfsetup::SetFileErrorDetail(
            "the installation's own project file, never read as a user's project");
        pfsetup::RecordFailure(
            pfsetup::Format("SPI_ERROR: Not allow to open the installed project file \"%s\"",
                            fileName.c_str()),
            pfsetup::FileErrorRecord(fileName, pfsetup::kInstalledFile, false));
        return -1;
    }
    return ReadFile(fileName, SpiUserLevel, "SPI_ERROR: Failed to open project file \"%s\". %s");
}

int SpiProject::Open(const std::string& name) {
    pfsetup::ClearLastError();
    openMessages_.clear();
    pfsetup::MessageCollector collect(openMessages_);
    return pfsetup::Guarded("SPI_ERROR: Failed to open project file \"%s\". %s", name,
                            [&] { return OpenUnguarded(name, nullptr); });
}

int SpiProject::OpenText(const std::string& name, std::string_view text) {
    pfsetup::ClearLastError();
    openMessages_.clear();
    pfsetup::MessageCollector collect(openMessages_);
    return pfsetup::Guarded("SPI_ERROR: Failed to open project file \"%s\". %s", name,
                            [&] { return OpenUnguarded(name, &text); });
}

int SpiProject::OpenUnguarded(const std::string& name, const std::string_view* text) {
    currentProgram = nullptr;
    currentDirective = SpiDirectiveList::kNone;
    programs.RemoveAll();
    inMemory_ = text != nullptr;
    // The site file opened as the project is read once, as the project: read at the site
    // level too, a selective save would find all of it unchanged and drop it.
    if (ReadInstallFile() != 0 ||
        ((inMemory_ || !IsSiteProjectFile(name)) && ReadSiteFile() == -1)) {
        return -1;
    }
    level = SpiUserLevel;
    fileName = name;
    if (!text) {
        return ReadUserFile() == -1 ? -1 : 0;
    }
    if (text->size() > pfsetup::kLargestModelText) {
        pfsetup::RecordFailure(pfsetup::Format("SPI_ERROR: Failed to open project file \"%s\". %s",
                                               name.c_str(),
                                               pfsetup::DescribeFileError(EFBIG).c_str()),
                               pfsetup::FileErrorRecord(name, EFBIG, false));
        return -1;
    }
    SpiProjectFile file(programs.Keep(std::string(*text), name), name, collect_);
    return ReadPrograms(programs, file, SpiUserLevel) == 0 ? 0 : -1;
}

int SpiProject::FindProgram(const std::string& name) {
    if (programs.Find(name) != 0) {
        SetLastMessage(pfsetup::Format("SPI_NOTE: Can't find the program \"%s\"", name.c_str()));
        return 1;
    }
    currentProgram = programs.Current();
    return 0;
}

void SpiProject::AddProgram(const std::string& name) {
    currentProgram = programs.Append(name, level);
    currentProgram->changed = true;
}

void SpiProject::DeleteProgram(const std::string& name) {
    if (const SpiProgram* doomed = programs.Lookup(name)) {
        // The current directive must not outlive its program.
        if (Owns(*doomed, CurrentDirective())) {
            currentDirective = SpiDirectiveList::kNone;
        }
    }
    programs.DeleteByName(name);
    currentProgram = nullptr;
}

const std::string* SpiProject::CurrentProgramName() const {
    return currentProgram == nullptr ? nullptr : &currentProgram->name;
}

void SpiProject::InitDirectiveIteration() {
    if (currentProgram != nullptr) {
        currentProgram->directives.Rewind();
    }
}

int SpiProject::GetNextDirective(std::string& name) {
    if (currentProgram == nullptr) {
        return 2;
    }
    SpiDirectiveList& directives = currentProgram->directives;
    const SpiDirective* current = directives.Current();
    currentDirective = current ? programs.PositionOf(*current) : SpiDirectiveList::kNone;
    if (const SpiDirective* next = directives.AtCursor()) {
        name = next->Name();
        directives.Advance();
        return 0;
    }
    directives.Rewind();
    return 2;
}

int SpiProject::FindDirective(const std::string& name) {
    if (currentProgram == nullptr || currentProgram->directives.Find(name) != 0) {
        SetLastMessage(pfsetup::Format("SPI_NOTE: Can't find the directive \"%s\"", name.c_str()));
        return 1;
    }
    currentDirective = programs.PositionOf(*currentProgram->directives.Current());
    return 0;
}

void SpiProject::AddDirective(const std::string& name) {
    if (currentProgram == nullptr) {
        return;
    }
    currentProgram->changed = true;
    SpiDirective* added = currentProgram->directives.Append(name, currentProgram->level);
    added->changed = true;
    currentDirective = programs.PositionOf(*added);
}

void SpiProject::DeleteDirective(const std::string& name) {
    if (currentProgram == nullptr) {
        return;
    }
    currentProgram->changed = true;
    currentProgram->directives.DeleteByName(name);
    currentDirective = SpiDirectiveList::kNone;
}

void SpiProject::InitValueIteration() {
    if (SpiDirective* directive = CurrentDirective()) {
        programs.RewindValues(*directive);
    }
}

int SpiProject::GetNextValue(std::string& value) {
    SpiDirective* directive = CurrentDirective();
    std::string_view next;
    if (directive == nullptr || !programs.NextValue(*directive, next)) {
        return 2; // the caller's text stays as it was
    }
    value.assign(next);
    std::string expanded;
    std::string reason;
    if (value.find('$') != std::string::npos && ExpandVariables(value, expanded, reason) == 1) {
        value = std::move(expanded);
    }
    return 0;
}

void SpiProject::AddValue(const std::string& value) {
    SpiDirective* directive = CurrentDirective();
    if (directive == nullptr) {
        return;
    }
    if (level != directive->level) {
        programs.StartLevel(*directive, level);
        directive->changed = true;
    } else if (!directive->HasLevel(level)) {
        programs.StartLevel(*directive, level);
    }
    if (level > SpiSiteLevel) {
        directive->changed = true;
    }
    programs.AppendValue(*directive, value);
    if (currentProgram != nullptr) {
        currentProgram->changed = true;
    }
}

void SpiProject::SetValues(const std::vector<std::string>& values) {
    SpiDirective* directive = CurrentDirective();
    if (directive == nullptr) {
        return;
    }
    programs.StartLevel(*directive, level);
    directive->changed = true;
    for (const std::string& value : values) {
        programs.AppendValue(*directive, value);
    }
    if (currentProgram != nullptr) {
        currentProgram->changed = true;
    }
}

int SpiProject::Create(const std::string& name, int overwrite) {
    pfsetup::ClearLastError();
    return pfsetup::Guarded("SPI_ERROR: Failed to create project file \"%s\". %s", name,
                            [&] { return CreateUnguarded(name, overwrite); });
}

int SpiProject::CreateUnguarded(const std::string& name, int overwrite) {
    // Whether the file exists is asked under its lock, so no other writer makes it meanwhile.
    pfsetup::ProjectLock lock;
    if (const int error = lock.Acquire(name); error != 0) {
        return FileFailure("SPI_ERROR: Failed to create project file \"%s\". %s", name, error);
    }
    if (Exists(name) && overwrite == 0) {
        pfsetup::RecordFailure(
            pfsetup::Format("SPI_NOTE: Project file \"%s\" aleardy exists", name.c_str()),
            pfsetup::Failure(pfsetup::ErrorKind::Exists, name, "the file exists"));
        return 6;
    }
    std::string problem;
    const int error = pfsetup::WriteProjectFile(name, nullptr, false, problem);
    if (error != 0) {
        return FileFailure("SPI_ERROR: Failed to create project file \"%s\". %s", name, error);
    }
    level = SpiUserLevel;
    fileName = name;
    return 0;
}

int SpiProject::Save(const std::string& name, int writeAll) {
    pfsetup::ClearLastError();
    return pfsetup::Guarded("SPI_ERROR: Failed to save project file \"%s\". %s", name,
                            [&] { return SaveUnguarded(name, writeAll, nullptr); });
}

int SpiProject::SaveText(std::string& text, int writeAll) {
    pfsetup::ClearLastError();
    return pfsetup::Guarded("SPI_ERROR: Failed to save project file \"%s\". %s", fileName,
                            [&] { return SaveUnguarded(fileName, writeAll, &text); });
}

int SpiProject::SaveUnguarded(const std::string& name, int writeAll, std::string* text) {
    if (name.empty() && !text) {
        pfsetup::RecordFailure(
            "SPI_ERROR: No file name to save to",
            pfsetup::Failure(pfsetup::ErrorKind::Value, "", "no file name to save to"));
        return -1;
    }
    if (writeAll == 0 && MarkUnchangedEntries() == -1) {
        return -1;
    }
    // What cannot be written so that it reads back fails the save, and nothing is written.
    std::string problem;
    const int error = text ? pfsetup::WriteProjectText(*text, programs, writeAll != 0, problem)
                           : pfsetup::WriteProjectFile(name, &programs, writeAll != 0, problem);
    if (!problem.empty()) {
        pfsetup::RecordFailure(
            pfsetup::Format("SPI_ERROR: Failed to save project file \"%s\". Cannot write %s; "
                            "nothing was written.",
                            name.c_str(), problem.c_str()),
            pfsetup::Failure(pfsetup::ErrorKind::Value, name,
                             "cannot write " + problem + "; nothing was written"));
        return -1;
    }
    if (error != 0) {
        return FileFailure("SPI_ERROR: Failed to save project file \"%s\". %s", name, error);
    }
    return 0;
}

int SpiProject::MarkUnchangedEntries() {
    pfsetup::ClearLastError();
    SpiProject defaults;
    if (defaults.ReadInstallFile() != 0 ||
        ((inMemory_ || !IsSiteProjectFile(fileName)) && defaults.ReadSiteFile() == -1)) {
        return -1;
    }
    for (const auto& program : programs) {
        if (!program->changed) {
            continue;
        }
        const SpiProgram* installed = defaults.programs.Lookup(program->name);
        if (installed == nullptr) {
            continue;
        }
        bool anyChanged = false;
        for (const auto& directive : program->directives) {
            // A line of the user's file stays where edits touch only their own lines.
            const bool keptLine = programs.keepReadLines && directive->level == level &&
                                  programs.ReadLineOf(*directive).data() != nullptr;
            if (directive->changed && !keptLine) {
                const SpiDirective* same = installed->directives.Lookup(directive->Name());
                if (same != nullptr && same->ActiveValues() == directive->ActiveValues()) {
                    directive->changed = false;
                }
            }
            anyChanged = anyChanged || directive->changed;
        }
        program->changed = anyChanged;
    }
    return 0;
}
