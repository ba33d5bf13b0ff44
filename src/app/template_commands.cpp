// template save, load and convert.

#include "app/commands.h"
#include "app/tool.h"

#include "base/error_record.h"
#include "persist/setup_main.h"
#include "projfile/file_io.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

#include <iostream>

namespace pfsetup::app {

int TemplateSaveCommand(const std::string& project, const std::string& file) {
    if (!WritableTarget(file))
        return kFileError;
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store))
        return status;
    store->SetupSaveForTemplate();
    store->PutDefFileName(file);
    const int saved = store->WriteSetup();
    store->PutDefFileName(project);
    if (!saved && LastError().kind == ErrorKind::Value) {
        Error("", DescribeError(LastError())); // a template over the project it comes from
        return kBadInput;
    }
    if (!saved)
        return LibraryFailure(*store, file);
    ShowLog(*store, file);
    std::cout << "Saved " << file << "\n";
    return kOk;
}

int TemplateLoadCommand(const std::string& project, const std::string& file) {
    if (!Readable(file))
        return kFileError;
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store))
        return status;
    ToolHost host(file); // the load shows its log, which says why nothing was applied
    Pfsetup_main()->LoadDataFromFile(file.c_str());
    if (LastError().Failed())
        return LastError().kind == ErrorKind::Value ? kBadInput : kFileError;
    if (!store->WriteCPMFile())
        return LibraryFailure(*store, project);
    ShowLog(*store, project);
    std::cout << "Applied " << file << " to " << project << "\n";
    return kOk;
}

int TemplateConvertCommand(const std::string& file) {
    if (!Readable(file))
        return kFileError;
    const TemplateFile converted = ConvertTemplateFile(file);
    if (converted.readError != 0 || converted.writeError != 0) {
        Error(file, "cannot " + std::string(converted.readError ? "read" : "rewrite") +
                        " the template: " +
                        DescribeFileError(converted.readError ? converted.readError
                                                              : converted.writeError));
        return kFileError;
    }
    if (converted.renamed < 0) {
        Error(file, "cannot convert the template: " + converted.refused);
        return kBadInput;
    }
    std::cout << (converted.renamed ? "Converted " : "Nothing to convert in ") << file << "\n";
    return kOk;
}

} // namespace pfsetup::app
