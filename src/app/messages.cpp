#include "app/messages.h"

#include "setup/setup_store.h"

#include <exception>
#include <iostream>

namespace pfsetup::app {

namespace {

// Each line of a message of the store or the library as a message of its own.
void ErrorLines(const std::string& file, const std::string& text) {
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        if (line.find_first_not_of(" \t\r") != std::string::npos) {
            Error(file, line);
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
}

} // namespace

int ExitStatusOf(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::None:
        return kOk;
    case ErrorKind::Exists:
    case ErrorKind::Syntax:
    case ErrorKind::Value:
        return kBadInput;
    case ErrorKind::NotFound:
    case ErrorKind::Protected: // a file nothing may write
    case ErrorKind::Access:
    case ErrorKind::Locked:
    case ErrorKind::Resource:
        return kFileError;
    }
    return kFileError;
}

void Error(const std::string& file, const std::string& message, int line) {
    Report(Failure(ErrorKind::Value, file, message, line));
}

int Report(const ErrorRecord& record) {
    // A call that failed without a record still failed: never success, never a blank line.
    if (!record.Failed()) {
        std::cerr << "pfsetup: failed, for a reason the library did not record\n";
        return kFileError;
    }
    std::cerr << "pfsetup: " << DescribeError(record) << "\n";
    return ExitStatusOf(record.kind);
}

int ReportLastError() {
    return Report(LastError());
}

int ReportStoreFailure(CPFCoreSetupAPI& store) {
    std::string log;
    store.GetLogError(log);
    return ReportLastError();
}

void ShowLog(CPFCoreSetupAPI& store, const std::string& file) {
    std::string log;
    if (store.GetLogError(log)) {
        ErrorLines(file, log);
    }
}

ToolHost::ToolHost(std::string file)
    : file_(std::move(file)), shown_(Host()),
      console_(dynamic_cast<ConsoleHostServices*>(&shown_) != nullptr),
      previous_(SetHostServices(this)) {}

ToolHost::~ToolHost() {
    SetHostServices(previous_);
}

MessageResult ToolHost::ShowMessage(const std::string& text, MessageIcon icon,
                                    MessageButtons buttons) {
    if (buttons != MessageButtons::Ok) {
        if (!console_) {
            return shown_.ShowMessage(text, icon, buttons);
        }
        ErrorLines(file_, text);
        return MessageResult::Yes;
    }
    held_.push_back({text, icon});
    return MessageResult::Ok;
}

int ToolHost::Release() {
    std::vector<Held> held;
    held.swap(held_);
    if (LastError().Failed()) {
        if (console_) {
            return ReportLastError();
        }
        shown_.ShowMessage(DescribeError(LastError()), MessageIcon::Exclamation,
                           MessageButtons::Ok);
        return ExitStatusOf(LastError().kind);
    }
    for (const Held& message : held) {
        if (console_) {
            ErrorLines(file_, message.text);
        } else {
            shown_.ShowMessage(message.text, message.icon, MessageButtons::Ok);
        }
    }
    return kOk;
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

int RunProgram(int (*run)(int, char**), int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& failure) {
        Error("", std::string("stopped: ") + failure.what());
        return kFileError;
    }
}

} // namespace pfsetup::app
