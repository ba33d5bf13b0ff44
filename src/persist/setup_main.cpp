#include "persist/setup_main.h"

#include "host/host_services.h"
#include "projfile/file_io.h"
#include "setup/ascii_text.h"
#include "setup/setup_store.h"

#include <memory>
#include <vector>

namespace pfsetup {

namespace {

// Earlier objects stay alive after a further Pfsetup_initialize: hosts may still hold them.
struct ModuleObjects {
    std::vector<std::unique_ptr<CPFSetupMain>> mains;
    std::vector<std::unique_ptr<CPFCoreSetupAPI>> stores;
};

ModuleObjects& Module() {
    static ModuleObjects objects;
    return objects;
}

SetupDialogHooks& Hooks() {
    static SetupDialogHooks hooks;
    return hooks;
}

void ReportNoDialog() {
    Host().ShowMessage("The setup dialog is not available in this program.", MessageIcon::Stop,
                       MessageButtons::Ok);
}

} // namespace

void SetSetupDialogHooks(const SetupDialogHooks& hooks) {
    Hooks() = hooks;
}

FileDialogRequest TemplateFileRequest(const std::string& title, unsigned flags) {
    FileDialogRequest request;
    request.title = title;
    request.defaultExtension = "tpl";
    request.initialName = "template";
    request.filter = "Template Files (*.tpl)|*.tpl||";
    request.flags = flags;
    return request;
}

int ConvertTemplateSections(const std::string& file) {
    InputFile input;
    if (input.Open(file) != 0)
        return -1;
    std::vector<std::string> lines;
    std::string line;
    int renamed = 0;
    while (std::getline(input.Stream(), line)) {
        // The old templates were read in text mode: a CR before the LF is part of the line end.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (EqualsIgnoringAsciiCase(line, "START_PFG")) {
            line = "START_PFG142";
            ++renamed;
        } else if (EqualsIgnoringAsciiCase(line, "END_PFG")) {
            line = "END_PFG142";
            ++renamed;
        }
        lines.push_back(line);
    }
    if (input.Stream().bad())
        return -1;
    AtomicFile output(file);
    if (output.Begin() != 0)
        return -1;
    for (const std::string& each : lines)
        output.Stream() << each << '\n';
    return output.Commit() == 0 ? renamed : -1;
}

} // namespace pfsetup

using namespace pfsetup;

void Pfsetup_initialize() {
    Module().mains.push_back(std::make_unique<CPFSetupMain>(0));
    Module().stores.push_back(std::make_unique<CPFCoreSetupAPI>());
}

CPFCoreSetupAPI* Pfsetup_store() {
    return Module().stores.empty() ? nullptr : Module().stores.back().get();
}

CPFSetupMain* Pfsetup_main() {
    return Module().mains.empty() ? nullptr : Module().mains.back().get();
}

CPFSetupMain::CPFSetupMain(unsigned int mode) : m_nSheetMode(mode) {}

void CPFSetupMain::InitialiseSetupForLibFlow(std::string projectFileName) {
    CPFCoreSetupAPI* store = Pfsetup_store();
    if (!store)
        return;
    store->PutCPMFileName(projectFileName);
    store->PutDefFileName(projectFileName);
    store->ReadSetup();
}

int CPFSetupMain::LoadDataFromFile(const char* path) {
    CPFCoreSetupAPI* store = Pfsetup_store();
    if (!store)
        return 1;
    std::string templatePath;
    if (!path) {
        const FileDialogRequest request =
            TemplateFileRequest("Load Part Template", HideReadOnly | PathMustExist | FileMustExist);
        if (!Host().OpenFileDialog(request, templatePath))
            return 2;
    } else {
        templatePath = path;
    }
    m_strTemplateFile = templatePath;

    std::string defFileName, lastFileName;
    store->GetDefFileName(defFileName);
    store->GetLastReadWriteFileName(lastFileName);
    store->PutDefFileName(templatePath);
    if (convertFilePfgProgramTo142(templatePath))
        store->ReadSetup();
    else
        store->PutLogError("\nUnable to read " + templatePath);
    store->PutDefFileName(defFileName);
    store->PutLastReadWriteFileName(lastFileName);

    std::string log;
    if (store->GetLogError(log) && !log.empty())
        Host().ShowMessage(log, MessageIcon::Exclamation, MessageButtons::Ok);
    return 1;
}

bool CPFSetupMain::convertFilePfgProgramTo142(std::string file) {
    return ConvertTemplateSections(file) >= 0;
}

bool CPFSetupMain::DisplaySetup() {
    if (!Hooks().displaySetup) {
        ReportNoDialog();
        return false;
    }
    return Hooks().displaySetup(*this);
}

unsigned int CPFSetupMain::DisplaySetupForInterpretation() {
    if (!Hooks().displaySetupForInterpretation) {
        ReportNoDialog();
        return 2;
    }
    return Hooks().displaySetupForInterpretation(*this);
}
