#pragma once
// Reaches the store's private project binding, for the binding's own tests.

#include "setup/setup_store.h"

class CPFCoreSetupAPIPeer {
public:
    explicit CPFCoreSetupAPIPeer(CPFCoreSetupAPI& store) : store_(store) {}
    int CloseProject() { return store_.CloseProject(); }
    int CreateProjectFile(const std::string& name) { return store_.CreateProjectFile(name); }
    int SaveProjectFile(const std::string& name, int all) {
        return store_.SaveProjectFile(name, all);
    }
    int DeleteSettingsSection() { return store_.DeleteSettingsSection(); }
    int PutEntry(const std::string& n, const std::string& v) { return store_.PutEntry(n, v); }
    int ReplaceEntry(const std::string& n, const std::string& v) {
        return store_.ReplaceEntry(n, v);
    }
    int PutEntryInProject() { return store_.PutEntryInProject(); }
    int PutEntryInProjectInNewFormat() { return store_.PutEntryInProjectInNewFormat(); }
    SpiProject* Project() { return store_.Project.get(); }

private:
    CPFCoreSetupAPI& store_;
};
