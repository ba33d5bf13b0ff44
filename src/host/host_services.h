#pragma once
// The one way core code reaches a person: message boxes, file dialogs, notifications to the
// host's main window and help. The default is a console implementation; the Qt dialogs
// install their own, tests install a scripted fake.

#include <string>

namespace pfsetup {

enum class MessageIcon { None, Exclamation, Stop, Question };
// YesNoDefaultNo: a question whose Yes throws something away; No is the default answer.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo };
// Values of the original framework's button ids, so results compare as they did there.
enum class MessageResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

enum FileDialogFlags : unsigned {
    FileMustExist = 0x1,
    PathMustExist = 0x2,
    HideReadOnly = 0x4,
    OverwritePrompt = 0x8,
};

struct FileDialogRequest {
    std::string title;
    std::string defaultExtension; // without the dot, e.g. "tpl"
    std::string initialName;
    std::string filter; // "Template Files (*.tpl)|*.tpl||"
    unsigned flags = 0;
};

// Window messages the host receives after the setup dialog's OK.
constexpr unsigned kHostMessageSettingsChanged = 0x40E;
constexpr unsigned kHostMessageFullSetupDone = 0x40F;

class HostServices {
public:
    virtual ~HostServices() = default;
    virtual MessageResult ShowMessage(const std::string& text, MessageIcon icon,
                                      MessageButtons buttons) = 0;
    // Both return false when the person cancelled; `path` is then unchanged.
    virtual bool OpenFileDialog(const FileDialogRequest& request, std::string& path) = 0;
    virtual bool SaveFileDialog(const FileDialogRequest& request, std::string& path) = 0;
    virtual bool HasMainWindow() = 0;
    // Posted, not sent: the host handles it after the dialog has closed.
    virtual void PostHostMessage(unsigned message) = 0;
    virtual void OpenHelp(unsigned contextId) = 0;
};

// No person at hand: messages go to stderr, file dialogs are cancelled, questions get their
// default answer, there is no main window and help is not available.
class ConsoleHostServices : public HostServices {
public:
    MessageResult ShowMessage(const std::string& text, MessageIcon icon,
                              MessageButtons buttons) override;
    bool OpenFileDialog(const FileDialogRequest& request, std::string& path) override;
    bool SaveFileDialog(const FileDialogRequest& request, std::string& path) override;
    bool HasMainWindow() override { return false; }
    void PostHostMessage(unsigned) override {}
    void OpenHelp(unsigned) override {}
};

// The installed services; the console implementation until a host installs its own.
HostServices& Host();
// Installs `services` (not owned; nullptr restores the console default) and returns the
// previous one (nullptr when that was the default).
HostServices* SetHostServices(HostServices* services);

} // namespace pfsetup
