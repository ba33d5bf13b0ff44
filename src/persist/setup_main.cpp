#include "persist/setup_main.h"

#include "base/ascii_text.h"
#include "base/module_state.h"
#include "host/host_services.h"
#include "persist/project_binding.h"
#include "projfile/file_io.h"
#include "projfile/file_lock.h"
#include "projfile/spi_messages.h"
#include "setup/setup_store.h"

#include <cerrno>
#include <iterator>
#include <memory>
#include <sys/stat.h>
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
    static const ModuleStateReset reset([] { objects = ModuleObjects(); });
    return objects;
}

SetupDialogHooks& Hooks() {
    static SetupDialogHooks hooks;
    return hooks;
}

// 0, or the cause of the failure; the file is replaced whole or left as it was.
int RewriteTemplate(const std::string& file, const std::string& text) {
    AtomicFile output(file);
    if (const int cause = output.Begin())
        return cause;
    output.Stream().write(text.data(), static_cast<std::streamsize>(text.size()));
    return output.Commit();
}

ErrorRecord NotInitialised() {
    ErrorRecord record;
    record.kind = ErrorKind::Value;
    record.problem = "the module has no store";
    record.allowed = "call Pfsetup_initialize first";
    return record;
}

void ReportNoDialog() {
    const char* text = "The setup dialog is not available in this program.";
    Host().ShowMessage(text, MessageIcon::Stop, MessageButtons::Ok);
    ErrorRecord record = Failure(ErrorKind::Value, "", "the setup dialog is not available");
    record.allowed = "link pfsetup::ui and call InstallSetupDialogs";
    record.text = text;
    SetLastError(std::move(record));
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

int ConvertTemplateText(std::string& text) {
    std::string converted;
    int renamed = 0;
    std::string::size_type start = 0;
    while (start < text.size()) {
        // Lines end as the project-file reader ends them: at LF, CR LF or a lone CR.
        std::string::size_type end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        if (EqualsIgnoreCase(line, "START_PFG")) {
            line = "START_PFG142";
            ++renamed;
        } else if (EqualsIgnoreCase(line, "END_PFG")) {
            line = "END_PFG142";
            ++renamed;
        }
        converted += line;
        converted += '\n';
    }
    if (renamed > 0)
        text = std::move(converted);
    return renamed;
}

int ReadTemplateFile(const std::string& file, std::string& text) {
    return ReadWholeFile(file, text);
}

int ConvertTemplateSections(const std::string& file) {
    ClearLastError();
    const auto failed = [&file](int error, bool writing) {
        SetLastError(FileErrorRecord(file, error, writing));
        return -1;
    };
    // Read and rewritten under the file's lock, so no writer's change falls between the two.
    ProjectLock lock;
    if (const int error = lock.Acquire(file))
        return failed(error, true);
    std::string text;
    if (const int error = ReadTemplateFile(file, text))
        return failed(error, false);
    const int renamed = ConvertTemplateText(text);
    if (renamed == 0)
        return 0;
    const int error = RewriteTemplate(file, text);
    return error == 0 ? renamed : failed(error, true);
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
    if (!store) {
        SetLastError(NotInitialised());
        return;
    }
    store->PutCPMFileName(projectFileName);
    store->PutDefFileName(projectFileName);
    store->ReadSetup();
}

int CPFSetupMain::LoadDataFromFile(const char* path) {
    ClearLastError();
    CPFCoreSetupAPI* store = Pfsetup_store();
    if (!store) {
        SetLastError(NotInitialised());
        return 1;
    }
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
    std::string text;
    if (convertFilePfgProgramTo142(templatePath, text))
        store->ReadTemplateSetup(text);
    else
        LogFailure(*store, "\nUnable to read " + templatePath,
                   Failure(ErrorKind::Access, templatePath, "cannot read"));
    store->PutDefFileName(defFileName);
    store->PutLastReadWriteFileName(lastFileName);

    std::string log;
    if (store->GetLogError(log) && !log.empty())
        Host().ShowMessage(log, MessageIcon::Exclamation, MessageButtons::Ok);
    return 1;
}

bool CPFSetupMain::convertFilePfgProgramTo142(const std::string& file, std::string& text) {
    // Under the file's lock where it can be taken: a template in a folder the user may not
    // write is still loaded (its rewrite then fails and says so).
    ProjectLock lock;
    lock.Acquire(file);
    if (const int error = ReadTemplateFile(file, text)) {
        SetLastError(FileErrorRecord(file, error, false));
        return false;
    }
    if (ConvertTemplateText(text) == 0)
        return true;
    if (const int cause = RewriteTemplate(file, text)) {
        if (CPFCoreSetupAPI* store = Pfsetup_store())
            store->PutLogError("\nThe template " + file +
                               " was loaded with its section names converted; the file was left "
                               "as it was: " +
                               DescribeFileError(cause));
    }
    return true;
}

bool CPFSetupMain::DisplaySetup() {
    ClearLastError();
    if (!Hooks().displaySetup) {
        ReportNoDialog();
        return false;
    }
    return Hooks().displaySetup(*this);
}

unsigned int CPFSetupMain::DisplaySetupForInterpretation() {
    ClearLastError();
    if (!Hooks().displaySetupForInterpretation) {
        ReportNoDialog();
        return 2;
    }
    return Hooks().displaySetupForInterpretation(*this);
}
