#include "setup/setup_store.h"

#include <new>
#include <utility>

CPFCoreSetupAPI::CPFCoreSetupAPI() {
    BuildPinTable();
    PutAlphaNumValue(PFAlphaNum_BN_B);
    PutNumAlphaValue(PFNumAlpha_BN);
    PutNumAlphaNumValue(PFNumAlphaNum_BN);
}

CPFCoreSetupAPI::~CPFCoreSetupAPI() = default;

int CPFCoreSetupAPI::GetDefFileName(std::string& name) const {
    name = DefFileName;
    return 1;
}

int CPFCoreSetupAPI::PutDefFileName(std::string name) {
    DefFileName = std::move(name);
    return 1;
}

int CPFCoreSetupAPI::GetCPMFileName(std::string& name) const {
    if (CPMFileName.empty()) {
        return 0;
    }
    name = CPMFileName;
    return 1;
}

int CPFCoreSetupAPI::PutCPMFileName(std::string name) {
    CPMFileName = std::move(name);
    return 1;
}

int CPFCoreSetupAPI::GetLastReadWriteFileName(std::string& name) const {
    name = LastReadWriteFileName;
    return 1;
}

int CPFCoreSetupAPI::PutLastReadWriteFileName(const std::string& name) {
    LastReadWriteFileName = name;
    return 1;
}

int CPFCoreSetupAPI::PutLogError(const std::string& message) {
    try {
        LogError += message;
    } catch (const std::bad_alloc&) {
        return 0; // the log keeps what it had
    }
    return 1;
}

int CPFCoreSetupAPI::GetLogError(std::string& log) {
    if (LogError.empty()) {
        return 0;
    }
    log = std::move(LogError);
    LogError.clear();
    return 1;
}
