#pragma once
// What the tool's commands share: exit statuses, messages in one form ("pfsetup: FILE[:LINE]:
// message" on stderr), the checks a file passes before it is opened, the store read from a
// project, and a host that reports on stderr.

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

// A message on one line: line breaks become spaces, other control characters escapes
// ("\x1b"), so nothing a file holds can move the cursor or change a terminal's state.
std::string OneLine(const std::string& text);
// One line on stderr: "pfsetup: FILE:LINE: message", without FILE or LINE when not known,
// made OneLine.
void Error(const std::string& file, const std::string& message, int line = 0);
// A message of the project-file library, without its internal prefix, at the file and line
// it names (else at `file`).
void LibraryError(const std::string& file, const std::string& message);
// A read or write of the store that failed: the library's message reported at `file`, the
// store's log (which only repeats it) dropped. kFileError.
int LibraryFailure(CPFCoreSetupAPI& store, const std::string& file);
// The store's error log, one line per message, on stderr.
void ShowLog(CPFCoreSetupAPI& store, const std::string& file);

// Why `path` cannot be read as a project file or template (missing, not a regular file,
// not readable), or "" when it can. Nothing is opened, so a FIFO or a device never blocks.
std::string FileProblem(const std::string& path);
// FileProblem reported with Error; true when the file can be read.
bool Readable(const std::string& path);

// Keeps the messages while it lives and passes everything on to the services installed before
// it. Over the console's (the tool) a message goes to stderr in the tool's form about `file`
// and questions answer Yes; in pfsetup-dialog the dialogs show them.
class ToolHost : public HostServices {
public:
    explicit ToolHost(std::string file = {});
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
    std::string file_;
    HostServices& shown_;
    bool console_;
    HostServices* previous_;
};

// The file a command works on: a user's project, or with --site the site project file the
// search path finds (read over the install file alone, as the project itself).
struct Target {
    std::string project; // empty: the install and site files alone
    bool site = false;
};
// The site project file for --site; kBadInput after telling why there is none.
int FindSiteFile(std::string& path);

// Reads `project` into `store` (install, site and user files merged; the install and site
// files alone when `project` is empty) and shows what the read logged. kFileError after
// telling why the project cannot be read.
int ReadProject(const std::string& project, CPFCoreSetupAPI& store);
// The same into the module's store, bound to `project` for writing.
int LoadStore(const std::string& project, CPFCoreSetupAPI*& store);
// The settings a project falls back to without its own entries: the install file, and the
// site file unless the project is the site file. What the read logged stays in the store.
int ReadDefaults(const Target& target, CPFCoreSetupAPI& store);

} // namespace pfsetup::app
