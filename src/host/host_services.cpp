#include "host/host_services.h"

#include <cstdio>

namespace pfsetup {

namespace {
ConsoleHostServices& ConsoleDefault() {
    static ConsoleHostServices console;
    return console;
}
HostServices* g_installed = nullptr;
} // namespace

MessageResult ConsoleHostServices::ShowMessage(const std::string& text, MessageIcon icon,
                                               MessageButtons buttons) {
    const char* kind = icon == MessageIcon::Stop          ? "error: "
                       : icon == MessageIcon::Exclamation ? "warning: "
                                                          : "";
    // Messages of the dialogs begin with a line break; a console line should not.
    std::string body = text;
    while (!body.empty() && body.front() == '\n') {
        body.erase(0, 1);
    }
    std::fprintf(stderr, "pfsetup: %s%s\n", kind, body.c_str());
    switch (buttons) {
    case MessageButtons::Ok:
        break;
    case MessageButtons::YesNo:
        return MessageResult::Yes;
    case MessageButtons::YesNoDefaultNo:
        return MessageResult::No;
    }
    return MessageResult::Ok;
}

bool ConsoleHostServices::OpenFileDialog(const FileDialogRequest&, std::string&) {
    return false;
}

bool ConsoleHostServices::SaveFileDialog(const FileDialogRequest&, std::string&) {
    return false;
}

HostServices& Host() {
    return g_installed ? *g_installed : ConsoleDefault();
}

HostServices* SetHostServices(HostServices* services) {
    HostServices* previous = g_installed;
    g_installed = services;
    return previous;
}

} // namespace pfsetup
