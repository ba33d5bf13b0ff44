// Reading the store from, and writing it to, the "PFG142" section of a project file or part
// template.

#include "persist/project_binding.h"
#include "persist/settings_entries.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

using namespace pfsetup;

int CPFCoreSetupAPI::ReadSetup() {
    ClearProperties();
    if (DefFileName.empty()) {
        PutLogError("\nUnable to read " + DefFileName);
        return 0;
    }
    ClearOverriddenErrors();
    ClearPackagePlaceHolders();
    if (!LoadSettings(DefFileName)) {
        PutLogError("\nUnable to read " + DefFileName);
        return 0;
    }
    CloseProject();
    LastReadWriteFileName = DefFileName;
    return 1;
}

int CPFCoreSetupAPI::WriteSetup() {
    if (!CreateProjectFile(DefFileName)) {
        PutLogError("\nUnable to save file " + DefFileName);
        return 0;
    }
    PutEntryInProject();
    if (!SaveProjectFile(DefFileName, 0)) {
        PutLogError("\nUnable to save file " + DefFileName);
        return 0;
    }
    CloseProject();
    LastReadWriteFileName = DefFileName;
    return 1;
}

int CPFCoreSetupAPI::LoadSettings(const std::string& fileName) {
    CloseProject();
    BoundProject project = NewBoundProject();
    if (!project)
        return 0;
    if (project->Open(fileName) != 0)
        return 0;
    Project = std::move(project);
    if (Project->FindProgram(kSettingsSection) != 0)
        return 1;
    Project->InitDirectiveIteration();
    std::string name;
    while (Project->GetNextDirective(name) == 0) {
        Project->InitValueIteration();
        std::string value;
        if (Project->GetNextValue(value) == 0)
            ProcessNameValuePair(name, value);
    }
    return 1;
}
