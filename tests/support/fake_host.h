#pragma once
// A scripted HostServices: records every message, answers questions and file dialogs from a
// script, and counts notifications and help requests.

#include "host/host_services.h"

#include <deque>
#include <string>
#include <vector>

namespace pfsetup::test {

struct RecordedMessage {
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

struct RecordedFileDialog {
    bool save;
    FileDialogRequest request;
};

class FakeHost : public HostServices {
public:
    FakeHost();           // installs itself
    ~FakeHost() override; // restores the previous services

    // Script: answers for Yes/No questions (default Yes when the script is empty), and paths
    // for file dialogs (an empty string cancels; an empty script cancels).
    std::deque<MessageResult> answers;
    std::deque<std::string> filePaths;

    std::vector<RecordedMessage> messages;
    std::vector<RecordedFileDialog> fileDialogs;
    std::vector<unsigned> posted;
    std::vector<unsigned> helpRequests;
    bool mainWindow = true;

    MessageResult ShowMessage(const std::string& text, MessageIcon icon,
                              MessageButtons buttons) override;
    bool OpenFileDialog(const FileDialogRequest& request, std::string& path) override;
    bool SaveFileDialog(const FileDialogRequest& request, std::string& path) override;
    bool HasMainWindow() override { return mainWindow; }
    void PostHostMessage(unsigned message) override { posted.push_back(message); }
    void OpenHelp(unsigned contextId) override { helpRequests.push_back(contextId); }

private:
    bool FileDialog(bool save, const FileDialogRequest& request, std::string& path);
    HostServices* previous_;
};

} // namespace pfsetup::test
