#pragma once
// What the tool's commands share: exit statuses, error output that names the file, the
// store read from a project, and a host that reports on stderr.

#include "host/host_services.h"

#include <string>
#include <vector>

class CPFCoreSetupAPI;

namespace pfsetup::app {

enum ExitStatus {
    kOk = 0,
    kBadInput = 1, // a problem in what the user asked or in a file's content
    kFileError = 2 // a file that cannot be read or written
};

// One line on stderr: "pfsetup: FILE: message" (without FILE when it is empty).
void Error(const std::string& file, const std::string& message);
// The store's error log, one line per message, on stderr.
void ShowLog(CPFCoreSetupAPI& store, const std::string& file);

// Keeps the messages while it lives, and passes everything on to the services installed
// before it: in the tool the console's (messages to stderr, file dialogs cancelled, questions
// answered Yes), in pfsetup-dialog the dialogs' own.
class ToolHost : public HostServices {
public:
    ToolHost();
    ~ToolHost() override;
    ToolHost(const ToolHost&) = delete;
    ToolHost& operator=(const ToolHost&) = delete;
    MessageResult ShowMessage(const std::string& text, MessageIcon icon,
                              MessageButtons buttons) override;
    bool OpenFileDialog(const FileDialogRequest& request, std::string& path) override;
    bool SaveFileDialog(const FileDialogRequest& request, std::string& path) override;
    bool HasMainWindow() override;
    void PostHostMessage(unsigned message) override;
    void OpenHelp(unsigned contextId) override;
    std::vector<std::string> messages;

private:
    HostServices& shown_;
    HostServices* previous_;
};

// The module's store with the project read into it (install, site and user files merged), or
// with the install and site files alone when `project` is empty. kFileError after telling why.
int LoadStore(const std::string& project, CPFCoreSetupAPI*& store);

} // namespace pfsetup::app
