#pragma once
// What the fuzz targets that touch files share: a host that shows nothing, a temporary
// directory of their own, and the settings of a store as one text.

#include "host/host_services.h"
#include "persist/settings_entries.h"
#include "setup/setup_store.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace pfsetup::fuzz {

class QuietHost : public HostServices {
public:
    MessageResult ShowMessage(const std::string&, MessageIcon, MessageButtons) override {
        return MessageResult::Ok;
    }
    bool OpenFileDialog(const FileDialogRequest&, std::string&) override { return false; }
    bool SaveFileDialog(const FileDialogRequest&, std::string&) override { return false; }
    bool HasMainWindow() override { return false; }
    void PostHostMessage(unsigned) override {}
    void OpenHelp(unsigned) override {}
};

// A directory for the target's files, removed when the process ends; installs the quiet host.
// It is made in memory where the system has a place for that (/dev/shm), so the flushes of
// every save cost nothing.
class Workspace {
public:
    Workspace() {
        char memory[] = "/dev/shm/pfsetup-fuzz-XXXXXX";
        char disk[] = "/tmp/pfsetup-fuzz-XXXXXX";
        const char* made = ::mkdtemp(memory);
        if (!made && !(made = ::mkdtemp(disk)))
            std::abort();
        dir_ = made;
        SetHostServices(&host_);
    }
    ~Workspace() {
        SetHostServices(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::string Write(const std::string& name, const uint8_t* data, size_t size) const {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path;
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

private:
    std::string dir_;
    QuietHost host_;
};

// Every persisted setting of the groups in `mask`: equal texts mean equal settings.
inline std::string Settings(CPFCoreSetupAPI& store, uint16_t mask = 0x00FF) {
    std::string text;
    for (const SettingsEntry& entry : CollectSettingsEntries(store, mask))
        text += entry.key + "=" + entry.value + "\n";
    return text;
}

inline void Check(bool holds, const char* target, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "%s: %s\n", target, what);
        std::abort();
    }
}

} // namespace pfsetup::fuzz
