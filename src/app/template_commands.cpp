// template save, load and convert.

#include "app/commands.h"
#include "app/tool.h"

#include "base/error_record.h"
#include "persist/setup_main.h"
#include "projfile/file_io.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

#include <iostream>
#include <unistd.h>

namespace pfsetup::app {

int TemplateSaveCommand(const std::string& project, const std::string& file, bool force) {
    if (const int status = CheckWritable(file)) {
        return status;
    }
    // The project itself is refused below, in words of its own.
    if (!force && ::access(file.c_str(), F_OK) == 0 && IdentityOf(file) != IdentityOf(project)) {
        ErrorRecord exists = Failure(ErrorKind::Exists, file, "the file exists");
        exists.allowed = "use --force to replace it";
        return Report(exists);
    }
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store, StoreUse::Change)) {
        return status;
    }
    store->SetupSaveForTemplate();
    store->PutDefFileName(file);
    const int saved = store->WriteSetup();
    store->PutDefFileName(project);
    if (!saved && LastError().kind == ErrorKind::Value) {
        Error("", DescribeError(LastError())); // a template over the project it comes from
        return kBadInput;
    }
    if (!saved) {
        return ReportStoreFailure(*store);
    }
    ShowLog(*store, file);
    std::cout << "Saved " << file << "\n";
    return kOk;
}

int TemplateLoadCommand(const std::string& project, const std::string& file) {
    if (const int status = CheckReadable(file)) {
        return status;
    }
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store, StoreUse::Change)) {
        return status;
    }
    {
        ToolHost host(file); // the load shows its log: a failure, or warnings
        Pfsetup_main()->LoadDataFromFile(file.c_str());
        if (const int status = host.Release()) {
            return status;
        }
    }
    if (!store->WriteCPMFile()) {
        return ReportStoreFailure(*store);
    }
    ShowLog(*store, project);
    std::cout << "Applied " << file << " to " << project << "\n";
    return kOk;
}

int TemplateConvertCommand(const std::string& file) {
    if (const int status = CheckReadable(file)) {
        return status;
    }
    const TemplateFile converted = ConvertTemplateFile(file);
    if (converted.readError != 0) {
        return Report(FileErrorRecord(file, converted.readError, false));
    }
    if (converted.writeError != 0) {
        return Report(FileErrorRecord(file, converted.writeError, true));
    }
    if (converted.renamed < 0) {
        return Report(
            Failure(ErrorKind::Value, file, "cannot convert the template: " + converted.refused));
    }
    std::cout << (converted.renamed ? "Converted " : "Nothing to convert in ") << file << "\n";
    return kOk;
}

} // namespace pfsetup::app
