#include "support/fake_host.h"

namespace pfsetup::test {

FakeHost::FakeHost() : previous_(SetHostServices(this)) {}

FakeHost::~FakeHost() {
    SetHostServices(previous_);
}

MessageResult FakeHost::ShowMessage(const std::string& text, MessageIcon icon,
                                    MessageButtons buttons) {
    messages.push_back({text, icon, buttons});
    if (buttons == MessageButtons::Ok)
        return MessageResult::Ok;
    if (answers.empty())
        return MessageResult::Yes;
    MessageResult answer = answers.front();
    answers.pop_front();
    return answer;
}

bool FakeHost::FileDialog(bool save, const FileDialogRequest& request, std::string& path) {
    fileDialogs.push_back({save, request});
    if (filePaths.empty())
        return false;
    std::string chosen = filePaths.front();
    filePaths.pop_front();
    if (chosen.empty())
        return false;
    path = chosen;
    return true;
}

bool FakeHost::OpenFileDialog(const FileDialogRequest& request, std::string& path) {
    return FileDialog(false, request, path);
}

bool FakeHost::SaveFileDialog(const FileDialogRequest& request, std::string& path) {
    return FileDialog(true, request, path);
}

} // namespace pfsetup::test
