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
    // The setup dialog; true when OK was pressed at any time, also one that a page refused or
    // whose write failed before the user cancelled. Only an OK that wrote the settings ends the
    // dialog and posts the host messages 0x40E and 0x40F.
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
    // Reads the template into `text` converted (ConvertTemplateFile); a file that cannot be
    // rewritten is left as it was (logged). False, logged and recorded (LastError()), when the
    // file cannot be read or converted or holds no settings: nothing is then to be applied.
    bool convertFilePfgProgramTo142(const std::string& file, std::string& text);
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

// Renames the old section of a part template of an earlier release, "PFG", to "PFG142" in
// `text`: on exactly the lines the project-file reader takes for that section's start and end
// (any letter case, blanks around, a comment after, a byte-order mark before the file), which
// then end in LF like every other line. The number of lines renamed (0: the text is left as
// it is), or -1 with `problem` saying why, the text left as it is, when the renamed text would
// not read as the old one did under the new name.
int ConvertTemplateText(std::string& text, std::string& problem);
// 0 with the whole text of a regular file, or the file-error cause of the failure.
int ReadTemplateFile(const std::string& file, std::string& text);

// A template file read and converted: its text (converted), the lines renamed or -1 with why
// not, the settings a load takes from it, and the errors of the read and of the rewrite.
struct TemplateFile {
    std::string text;
    int renamed = 0;
    std::string refused;
    int settings = 0;
    int readError = 0;
    int writeError = 0;
};
// The one conversion of template files: reads the file and converts its text, rewriting the
// file whole, under its lock, only when a line was renamed. A file that cannot be rewritten
// (writeError) is left as it was; its converted text is still handed out.
TemplateFile ConvertTemplateFile(const std::string& file);

// The file dialog of part templates (extension "tpl", initial name "template").
FileDialogRequest TemplateFileRequest(const std::string& title, unsigned flags);

} // namespace pfsetup
