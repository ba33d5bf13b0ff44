// template save, load and convert.

#include "app/commands.h"
#include "app/tool.h"

#include "persist/setup_main.h"
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
    ToolHost host(file); // the load shows its log; a failed read is among it
    Pfsetup_main()->LoadDataFromFile(file.c_str());
    for (const std::string& message : host.messages)
        if (message.find("\nUnable to read ") != std::string::npos)
            return kFileError;
    if (!store->WriteCPMFile())
        return LibraryFailure(*store, project);
    ShowLog(*store, project);
    std::cout << "Applied " << file << " to " << project << "\n";
    return kOk;
}

int TemplateConvertCommand(const std::string& file) {
    if (!Readable(file))
        return kFileError;
    const int renamed = ConvertTemplateSections(file);
    if (renamed < 0) {
        Error(file, "cannot read or rewrite the template");
        return kFileError;
    }
    std::cout << (renamed ? "Converted " : "Nothing to convert in ") << file << "\n";
    return kOk;
}

} // namespace pfsetup::app
