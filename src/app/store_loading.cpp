#include "app/store_loading.h"

#include "app/file_checks.h"
#include "app/messages.h"
#include "persist/setting_origins.h"
#include "persist/setup_main.h"
#include "projfile/installed_files.h"
#include "setup/setup_store.h"

namespace pfsetup::app {

int FindSiteFile(std::string& path) {
    return GetSiteProjectFilePath(path) == 0 ? kOk : ReportLastError();
}

int ReadDefaults(const Target& target, CPFCoreSetupAPI& store) {
    return ReadInstalledSettings(store, !target.site) ? kOk : ReportLastError();
}

int ReadProject(const std::string& project, CPFCoreSetupAPI& store) {
    if (project.empty()) {
        const int status = ReadDefaults(Target{}, store);
        ShowLog(store, "");
        return status;
    }
    if (const int status = CheckReadable(project))
        return status;
    store.PutCPMFileName(project);
    store.PutDefFileName(project);
    if (!store.ReadSetup())
        return ReportStoreFailure(store);
    ShowLog(store, project);
    return kOk;
}

int LoadStore(const std::string& project, CPFCoreSetupAPI*& store) {
    Pfsetup_initialize();
    store = Pfsetup_store();
    // A command reads the project once and writes it at most once: the write goes through the
    // project the read made when the file is still as read.
    store->KeepProjectForWrite(true);
    return ReadProject(project, *store);
}

} // namespace pfsetup::app
