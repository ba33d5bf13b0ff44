#pragma once
// `pfsetup dialog`: its options, shared by the tool and the dialogs' own program, and the
// hand-over to that program. The tool links no Qt, so every other command starts without
// loading it; the dialogs run in pfsetup-dialog, installed beside pfsetup, which the tool
// runs in its own place as git runs git-<command>.

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace pfsetup::app {

struct DialogRequest;

// The program the dialog command hands over to, beside the running executable.
extern const char* const kDialogProgram; // "pfsetup-dialog"

// The dialog's options and its PROJECT argument on `command`, filling `request`.
void AddDialogOptions(CLI::App& command, DialogRequest& request);

// The arguments, without the program's name, that give pfsetup-dialog `request` again.
std::vector<std::string> DialogArguments(const DialogRequest& request);

// Replaces the process with pfsetup-dialog, which then answers with its own exit status.
// Returns only when that program cannot be run: kFileError after saying why.
int RunDialogProgram(const DialogRequest& request);

} // namespace pfsetup::app
