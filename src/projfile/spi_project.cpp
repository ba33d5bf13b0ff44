#include "projfile/spi_project.h"

#include "projfile/file_io.h"

#include <algorithm>
#include <memory>

namespace {

constexpr const char* kInstalledFileInPath = "qrvsetup/projmgr/qrv.cpm";

bool Owns(const SpiProgram& program, const SpiDirective* directive) {
    return directive != nullptr &&
           std::any_of(program.directives.begin(), program.directives.end(),
                       [directive](const auto& owned) { return owned.get() == directive; });
}

} // namespace

int SpiProject::ReadFile(const std::string& path, int fileLevel, const char* failedToOpen) {
    pfsetup::InputFile input;
    const int cause = input.Open(path);
    if (cause != 0) {
        SetLastMessage(
            pfsetup::Format(failedToOpen, path.c_str(), GetFileErrorText(cause).c_str()));
        return -1;
    }
    SpiProjectFile file(input.Stream(), path);
    return ReadPrograms(programs, file, fileLevel);
}

int SpiProject::ReadInstallFile() {
    std::string path;
    const int found = GetInstallProjectFilePath(path);
    if (found != 0) {
        return found;
    }
    return ReadFile(path, SpiInstallLevel,
                    "SPI_ERROR: Failed to open INSTALL project file \"%s\". %s");
}

int SpiProject::ReadSiteFile() {
    std::string path;
    if (GetSiteProjectFilePath(path) != 0) {
        return 0; // a site file is optional; the search message stays recorded
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
    if (fileName.empty()) {
        SetLastMessage("SPI_ERROR: No filename given, can't open project file");
        return -1;
    }
    std::string forward = fileName;
    std::replace(forward.begin(), forward.end(), '\\', '/');
    // The install project file is never read as a user's file, whatever directory holds it.
    if (forward.find(kInstalledFileInPath, 1) != std::string::npos) {
        SetLastMessage(pfsetup::Format(
            "SPI_ERROR: Not allow to open the installed project file \"%s\"", fileName.c_str()));
        return -1;
    }
    return ReadFile(fileName, SpiUserLevel, "SPI_ERROR: Failed to open project file \"%s\". %s");
}

int SpiProject::Open(const std::string& name) {
    openMessages_.clear();
    pfsetup::MessageCollector collect(openMessages_);
    return pfsetup::Guarded("SPI_ERROR: Failed to open project file \"%s\". %s", name,
                            [&] { return OpenUnguarded(name); });
}

int SpiProject::OpenUnguarded(const std::string& name) {
    currentProgram = nullptr;
    currentDirective = nullptr;
    programs.RemoveAll();
    // The site file opened as the project is read once, as the project: read at the site
    // level too, a selective save would find all of it unchanged and drop it.
    if (ReadInstallFile() != 0 || (!IsSiteProjectFile(name) && ReadSiteFile() == -1)) {
        return -1;
    }
    level = SpiUserLevel;
    fileName = name;
    return ReadUserFile() == -1 ? -1 : 0;
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
    currentProgram = programs.Append(std::make_unique<SpiProgram>(name, level));
    currentProgram->changed = true;
}

void SpiProject::DeleteProgram(const std::string& name) {
    if (const SpiProgram* doomed = programs.Lookup(name)) {
        // The current directive must not outlive its program.
        if (Owns(*doomed, currentDirective)) {
            currentDirective = nullptr;
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
    currentDirective = directives.Current();
    if (const SpiDirective* next = directives.AtCursor()) {
        name = next->name;
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
    currentDirective = currentProgram->directives.Current();
    return 0;
}

void SpiProject::AddDirective(const std::string& name) {
    if (currentProgram == nullptr) {
        return;
    }
    currentProgram->changed = true;
    currentDirective = currentProgram->directives.Append(
        std::make_unique<SpiDirective>(name, currentProgram->level));
    currentDirective->changed = true;
}

void SpiProject::DeleteDirective(const std::string& name) {
    if (currentProgram == nullptr) {
        return;
    }
    currentProgram->changed = true;
    currentProgram->directives.DeleteByName(name);
    currentDirective = nullptr;
}

void SpiProject::InitValueIteration() {
    if (currentDirective != nullptr) {
        currentDirective->ActiveValues().Rewind();
    }
}

int SpiProject::GetNextValue(std::string& value) {
    if (currentDirective == nullptr) {
        return 2;
    }
    const std::string* next = currentDirective->ActiveValues().Next();
    if (next == nullptr) {
        return 2; // the caller's text stays as it was
    }
    std::string expanded;
    std::string reason;
    value = ExpandVariables(*next, expanded, reason) == 1 ? expanded : *next;
    return 0;
}

void SpiProject::AddValue(const std::string& value) {
    if (currentDirective == nullptr) {
        return;
    }
    if (level != currentDirective->level) {
        currentDirective->StartLevel(level);
        currentDirective->changed = true;
    }
    if (level > SpiSiteLevel) {
        currentDirective->changed = true;
    }
    currentDirective->ActiveValues().Append(value);
    // These values are no longer those of a file line.
    currentDirective->origins[level] = SpiOrigin();
    if (currentProgram != nullptr) {
        currentProgram->changed = true;
    }
}
