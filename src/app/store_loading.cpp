#include "app/store_loading.h"

#include "app/file_checks.h"
#include "app/messages.h"
#include "persist/setting_origins.h"
#include "persist/setup_main.h"
#include "projfile/installed_files.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace pfsetup::app {

int FindSiteFile(Target& target, bool create) {
    target.site = true;
    if (GetSiteProjectFilePath(target.project) == 0) {
        return kOk;
    }
    const char* searchPath = std::getenv("QRV_SEARCH_PATH");
    std::string folder = searchPath ? searchPath : "";
    folder = folder.substr(0, folder.find(':'));
    if (!create || folder.empty()) {
        return ReportLastError();
    }
    target.project = folder + "/" + SpiSiteProjectFile;
    target.create = true;
    return kOk;
}

int CreateTargetFile(const Target& target) {
    // The folders below the search path's folder, then the file, as `init` makes one.
    const std::string& path = target.project;
    const size_t below = path.size() - std::string(SpiSiteProjectFile).size();
    for (size_t slash = path.find('/', below); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
            return Report(
                SystemError(ErrorKind::Access, folder, "cannot create the folder", errno));
        }
    }
    SpiProject created;
    return created.Create(path, 0) == 0 ? kOk : ReportLastError();
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
    if (const int status = CheckReadable(project)) {
        return status;
    }
    store.PutCPMFileName(project);
    store.PutDefFileName(project);
    if (!store.ReadSetup()) {
        return ReportStoreFailure(store);
    }
    ShowLog(store, project);
    return kOk;
}

int LoadStore(const std::string& project, CPFCoreSetupAPI*& store, StoreUse use,
              const std::string& onlyKey) {
    Pfsetup_initialize();
    store = Pfsetup_store();
    // A command reads the project once and writes it at most once: the write goes through the
    // project the read made when the file is still as read.
    store->KeepProjectForWrite(use == StoreUse::Change);
    store->RememberReadForWrite(use == StoreUse::Change);
    store->ReadOnlyEntriesOf(use == StoreUse::Query ? onlyKey : std::string());
    return ReadProject(project, *store);
}

} // namespace pfsetup::app
