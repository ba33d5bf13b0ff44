// dialog: the setup dialog on a project, for a person or for a picture of it.

#include "app/commands.h"
#include "app/tool.h"

#include "persist/setup_main.h"
#include "setup/setup_store.h"
#include "ui/setup_dialogs.h"

#include <iostream>

namespace pfsetup::app {

int DialogCommand(const DialogRequest& request) {
    if (request.mode > 3) {
        Error("", "--mode is 0 (setup), 1 (edit template), 2 (new template) or 3 (open template)");
        return kBadInput;
    }
    const bool fromTemplate = request.mode == 1 || request.mode == 3;
    if (fromTemplate && request.templateFile.empty() && !request.screenshot.empty()) {
        Error("", "--screenshot in modes 1 and 3 needs --template FILE: nobody is there to "
                  "choose the template");
        return kBadInput;
    }
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(request.project, store, StoreUse::Change)) {
        return status;
    }
    if (request.project.empty()) {
        // Without a project the dialog edits the installed defaults and writes nowhere.
        store->PutDefFileName("");
    }
    // A person is asked for the template in the dialogs' own file dialog.
    if (request.screenshot.empty()) {
        InstallSetupDialogs();
    }
    CPFSetupMain main(request.mode);
    if (fromTemplate) {
        ToolHost host(request.templateFile);
        const int loaded = main.LoadDataFromFile(
            request.templateFile.empty() ? nullptr : request.templateFile.c_str());
        if (const int status = host.Release()) {
            return status;
        }
        if (loaded == 2) {
            Error("", "no template chosen; give one with --template FILE");
            return kBadInput;
        }
    }
    if (!request.screenshot.empty()) {
        std::string error;
        if (!RenderSetupDialog(main, request.interpretation, request.page, request.screenshot,
                               error)) {
            Error(request.screenshot, error);
            return kFileError;
        }
        return kOk;
    }
    // The exit status says whether the settings were written; DisplaySetup's answer (an OK was
    // pressed) does not.
    bool written = false;
    if (request.interpretation) {
        RunInterpretationDialog(main, *store, &written);
    } else {
        RunSetupDialog(main, *store, &written);
    }
    return written ? kOk : kBadInput;
}

} // namespace pfsetup::app
