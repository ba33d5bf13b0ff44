// The store's binding to the project-file library: a project bound while a read or write of
// the name/value entries is in progress. The library's 0-for-success codes become the store's
// 1-for-success results here.

#include "persist/project_binding.h"

#include "host/host_services.h"
#include "persist/settings_entries.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

#include <new>

namespace pfsetup {

namespace {
void DeleteProject(SpiProject* project) {
    delete project;
}
} // namespace

BoundProject NewBoundProject() {
    SpiProject* project = new (std::nothrow) SpiProject;
    if (!project) {
        Host().ShowMessage("Could not allocate memory for the new project", MessageIcon::None,
                           MessageButtons::Ok);
        ErrorRecord record;
        record.kind = ErrorKind::Resource;
        record.problem = "not enough memory for a new project";
        record.text = "Could not allocate memory for the new project";
        SetLastError(std::move(record));
    }
    return BoundProject(project, project ? DeleteProject : nullptr);
}

void LogFailure(CPFCoreSetupAPI& store, const std::string& log, ErrorRecord cause) {
    store.PutLogError(log);
    if (!LastError().Failed()) {
        const std::size_t start = log.find_first_not_of('\n');
        cause.text = start == std::string::npos ? std::string() : log.substr(start);
        SetLastError(std::move(cause));
    }
}

} // namespace pfsetup

using namespace pfsetup;

int CPFCoreSetupAPI::CloseProject() {
    Project.reset();
    return 1;
}

// The file is not touched here: SaveProjectFile replaces it whole, so a save that fails leaves
// the old file as it was instead of one holding only a header.
int CPFCoreSetupAPI::CreateProjectFile(const std::string& fileName) {
    CloseProject();
    if (fileName.empty()) {
        return 0;
    }
    BoundProject project = NewBoundProject();
    if (!project) {
        return 0;
    }
    Project = std::move(project);
    return 1;
}

int CPFCoreSetupAPI::SaveProjectFile(const std::string& fileName, int writeAll) {
    if (!Project) {
        return 0;
    }
    return Project->Save(fileName, writeAll) == 0 ? 1 : 0;
}

int CPFCoreSetupAPI::DeleteSettingsSection() {
    if (!Project) {
        return 0;
    }
    if (Project->FindProgram(kSettingsSection) == 0) {
        Project->DeleteProgram(kSettingsSection);
    }
    return 1;
}

int CPFCoreSetupAPI::PutEntry(const std::string& name, const std::string& value) {
    if (!Project) {
        return 0;
    }
    if (Project->FindProgram(kSettingsSection) != 0) {
        Project->AddProgram(kSettingsSection);
        if (Project->FindProgram(kSettingsSection) != 0) {
            return 0;
        }
    }
    if (Project->FindDirective(name) == 0) {
        return ReplaceEntry(name, value);
    }
    Project->AddDirective(name);
    if (Project->FindDirective(name) != 0) {
        return 0;
    }
    Project->AddValue(value);
    return 1;
}

int CPFCoreSetupAPI::ReplaceEntry(const std::string& name, const std::string& value) {
    if (!Project || Project->FindProgram(kSettingsSection) != 0) {
        return 0;
    }
    std::string old;
    if (Project->GetDirectiveValue(name, old) != 0) {
        return 0;
    }
    Project->DeleteDirective(name);
    Project->AddDirective(name);
    Project->FindDirective(name);
    Project->AddValue(value);
    return 1;
}
