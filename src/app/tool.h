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

// Messages go to stderr and are kept; file dialogs are cancelled; questions answer Yes.
class ToolHost : public ConsoleHostServices {
public:
    ToolHost();
    ~ToolHost() override;
    MessageResult ShowMessage(const std::string& text, MessageIcon icon,
                              MessageButtons buttons) override;
    std::vector<std::string> messages;

private:
    HostServices* previous_;
};

// The module's store with the project read into it (install, site and user files merged), or
// with the install and site files alone when `project` is empty. kFileError after telling why.
int LoadStore(const std::string& project, CPFCoreSetupAPI*& store);

} // namespace pfsetup::app
