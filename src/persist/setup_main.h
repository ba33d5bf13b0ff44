#pragma once
// The entry object through which a host reaches the module: it binds the module's store to
// the host's project file, loads part templates and shows the setup dialogs.

#include "host/host_services.h"

#include <string>

class CPFCoreSetupAPI;
class CSetupPropSheet;

class CPFSetupMain {
public:
    // `mode`: 0 normal setup; 1 edit template; 2 new template; 3 open template.
    explicit CPFSetupMain(unsigned int mode = 0);
    virtual ~CPFSetupMain() = default;
    CPFSetupMain(const CPFSetupMain&) = delete;
    CPFSetupMain& operator=(const CPFSetupMain&) = delete;

    // Binds the module's store to the project file and reads the settings from it; the
    // result and any error text stay in the store.
    void InitialiseSetupForLibFlow(std::string projectFileName);
    // Loads a part template into the module's store (asks for one when `path` is null).
    // 1 when a load was attempted, 2 when the person cancelled the file dialog.
    int LoadDataFromFile(const char* path);
    // The setup dialog; true when it ended with OK, the settings written.
    bool DisplaySetup();
    // The pin-name interpretation dialog; 1 after OK, 2 after Cancel.
    unsigned int DisplaySetupForInterpretation();

    virtual void OnCancel() {}
    virtual void OnOK() {}

    unsigned int m_nSheetMode;
    CSetupPropSheet* m_pSheet = nullptr; // the dialog of a DisplaySetup call in progress
    // The template LoadDataFromFile last loaded: the template-mode dialog names it and offers
    // it to "Save..".
    std::string m_strTemplateFile;

private:
    // Renames old "START_PFG"/"END_PFG" section lines to the "PFG142" names, rewriting the
    // file whole; false (file unchanged) when it cannot be read or written.
    bool convertFilePfgProgramTo142(std::string file);
};

// Makes the module's entry object and store; call once before anything else. A further call
// makes new ones and keeps the earlier ones alive, unused.
void Pfsetup_initialize();
// The module's objects; null before Pfsetup_initialize.
CPFCoreSetupAPI* Pfsetup_store();
CPFSetupMain* Pfsetup_main();

namespace pfsetup {

// The dialogs live in the Qt library; the core reaches them through these hooks so a host
// that links only the core still links. Without them the entry points report, through the
// host services, that no dialog is available.
struct SetupDialogHooks {
    bool (*displaySetup)(CPFSetupMain& main) = nullptr;
    unsigned int (*displaySetupForInterpretation)(CPFSetupMain& main) = nullptr;
};
void SetSetupDialogHooks(const SetupDialogHooks& hooks);

// Renames the section lines of a part template of an earlier release ("START_PFG", "END_PFG",
// any letter case, nothing else on the line) to "START_PFG142" and "END_PFG142", and rewrites
// the file whole with LF line ends. The number of lines renamed, or -1 (file unchanged) when
// the file cannot be read or written.
int ConvertTemplateSections(const std::string& file);

// The file dialog of part templates (extension "tpl", initial name "template").
FileDialogRequest TemplateFileRequest(const std::string& title, unsigned flags);

} // namespace pfsetup
