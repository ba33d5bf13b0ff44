// template save, load and convert.

#include "app/commands.h"
#include "app/tool.h"

#include "persist/setup_main.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

#include <iostream>
#include <unistd.h>

namespace pfsetup::app {

int TemplateSaveCommand(const std::string& project, const std::string& file) {
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store))
        return status;
    store->SetupSaveForTemplate();
    store->PutDefFileName(file);
    const int saved = store->WriteSetup();
    store->PutDefFileName(project);
    if (!saved) {
        Error(file, SpiLastMessage().empty() ? "cannot write the template" : SpiLastMessage());
        return kFileError;
    }
    ShowLog(*store, file);
    std::cout << "Saved " << file << "\n";
    return kOk;
}

int TemplateLoadCommand(const std::string& project, const std::string& file) {
    if (::access(file.c_str(), R_OK) != 0) {
        Error(file, "cannot read the template");
        return kFileError;
    }
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store))
        return status;
    ToolHost host; // the load shows its log; a failed read is among it
    Pfsetup_main()->LoadDataFromFile(file.c_str());
    for (const std::string& message : host.messages)
        if (message.find("\nUnable to read ") != std::string::npos)
            return kFileError;
    if (!store->WriteCPMFile()) {
        Error(project,
              SpiLastMessage().empty() ? "cannot write the project file" : SpiLastMessage());
        return kFileError;
    }
    ShowLog(*store, project);
    std::cout << "Applied " << file << " to " << project << "\n";
    return kOk;
}

int TemplateConvertCommand(const std::string& file) {
    const int renamed = ConvertTemplateSections(file);
    if (renamed < 0) {
        Error(file, "cannot read or rewrite the template");
        return kFileError;
    }
    std::cout << (renamed ? "Converted " : "Nothing to convert in ") << file << "\n";
    return kOk;
}

} // namespace pfsetup::app
