#pragma once
// How the tool speaks: one line on stderr per message, "pfsetup: FILE:LINE: KEY "VALUE": what
// is wrong; what is allowed" with the parts that are known, and one exit status per cause. A
// failure of the library is told from its error record, never from the text of a message.

#include "base/error_record.h"
#include "host/host_services.h"

#include <string>
#include <vector>

class CPFCoreSetupAPI;

namespace pfsetup::app {

enum ExitStatus {
    kOk = 0,
    kBadInput = 1, // a problem in what the user asked or in a file's content
    kFileError = 2 // a file that cannot be read or written, or output that failed
};

// The exit status of a failure of this kind: the one rule every command follows.
int ExitStatusOf(ErrorKind kind);

// A message about `file` (at `line` when known) on stderr, on one line.
void Error(const std::string& file, const std::string& message, int line = 0);
// The failure on stderr in the tool's voice; its exit status.
int Report(const ErrorRecord& record);
// Report of the library's last failure (LastError()).
int ReportLastError();
// A call of the store that failed: its record reported, its log dropped (it tells the same
// failure in the store's own texts). The exit status.
int ReportStoreFailure(CPFCoreSetupAPI& store);
// The warnings in the store's log, one line each, about `file`; the log is emptied.
void ShowLog(CPFCoreSetupAPI& store, const std::string& file);
// A program's main: `run`'s exit status. Nothing escapes as an abort: memory exhausted (or a
// fault of ours) is said as "stopped: ...", with exit 2.
int RunProgram(int (*run)(int, char**), int argc, char** argv);

// While it lives, holds back what the library shows (the log LoadDataFromFile shows) and
// passes the rest on to the services installed before it: file dialogs, questions. Release()
// then tells the outcome by the error record: a failure alone, in one message, or else what was
// held back, as warnings. Over the console (the tool) messages go to stderr in the tool's voice
// about `file`; in pfsetup-dialog the dialogs show them.
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
    // Shows the failure of the call made meanwhile, or what it showed; the exit status.
    int Release();

private:
    struct Held {
        std::string text;
        MessageIcon icon;
    };
    std::string file_;
    HostServices& shown_;
    bool console_;
    HostServices* previous_;
    std::vector<Held> held_;
};

} // namespace pfsetup::app
