#include "app/tool.h"

#include "persist/settings_entries.h"
#include "persist/setup_main.h"
#include "projfile/spi_project.h"
#include "setup/setup_store.h"

#include <iostream>
#include <unistd.h>

namespace pfsetup::app {

namespace {
std::string OneLine(std::string text) {
    while (!text.empty() && text.front() == '\n')
        text.erase(0, 1);
    for (char& c : text)
        if (c == '\n')
            c = ' ';
    return text;
}
} // namespace

void Error(const std::string& file, const std::string& message) {
    std::cerr << "pfsetup: " << (file.empty() ? "" : file + ": ") << OneLine(message) << "\n";
}

void ShowLog(CPFCoreSetupAPI& store, const std::string& file) {
    std::string log;
    if (!store.GetLogError(log))
        return;
    size_t start = 0;
    while (start < log.size()) {
        size_t next = log.find('\n', start + 1);
        const std::string message = log.substr(start, next - start);
        if (!OneLine(message).empty())
            Error(file, message);
        if (next == std::string::npos)
            break;
        start = next;
    }
}

ToolHost::ToolHost() : shown_(Host()), previous_(SetHostServices(this)) {}

ToolHost::~ToolHost() {
    SetHostServices(previous_);
}

MessageResult ToolHost::ShowMessage(const std::string& text, MessageIcon icon,
                                    MessageButtons buttons) {
    messages.push_back(text);
    return shown_.ShowMessage(text, icon, buttons);
}

bool ToolHost::OpenFileDialog(const FileDialogRequest& request, std::string& path) {
    return shown_.OpenFileDialog(request, path);
}

bool ToolHost::SaveFileDialog(const FileDialogRequest& request, std::string& path) {
    return shown_.SaveFileDialog(request, path);
}

bool ToolHost::HasMainWindow() {
    return shown_.HasMainWindow();
}

void ToolHost::PostHostMessage(unsigned message) {
    shown_.PostHostMessage(message);
}

void ToolHost::OpenHelp(unsigned contextId) {
    shown_.OpenHelp(contextId);
}

int LoadStore(const std::string& project, CPFCoreSetupAPI*& store) {
    Pfsetup_initialize();
    store = Pfsetup_store();
    if (!project.empty()) {
        if (::access(project.c_str(), R_OK) != 0) {
            Error(project, "cannot read the project file (create one with `pfsetup init`)");
            return kFileError;
        }
        Pfsetup_main()->InitialiseSetupForLibFlow(project);
        std::string log;
        if (store->GetLogError(log)) {
            Error(project, SpiLastMessage().empty() ? log : SpiLastMessage());
            return kFileError;
        }
        return kOk;
    }
    SpiProject installed;
    if (installed.ReadInstallAndSiteFiles() != 0) {
        Error("", SpiLastMessage());
        return kFileError;
    }
    if (installed.FindProgram(kSettingsSection) == 0) {
        installed.InitDirectiveIteration();
        std::string name;
        while (installed.GetNextDirective(name) == 0) {
            installed.InitValueIteration();
            std::string value;
            if (installed.GetNextValue(value) == 0)
                store->ProcessNameValuePair(name, value);
        }
    }
    return kOk;
}

} // namespace pfsetup::app
