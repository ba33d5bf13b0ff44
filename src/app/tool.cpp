#include "app/tool.h"

#include "base/ascii_text.h"
#include "persist/setting_origins.h"
#include "persist/settings_entries.h"
#include "persist/setup_main.h"
#include "projfile/spi_project.h"
#include "setup/number_text.h"
#include "setup/setup_store.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace pfsetup::app {

namespace {

std::string LowerFirst(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' &&
        !(text.size() > 1 && text[1] >= 'A' && text[1] <= 'Z'))
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

} // namespace

std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\n' || c == '\r') {
            if (!line.empty() && line.back() != ' ')
                line += ' ';
        } else if ((byte < 0x20 && c != '\t') || byte == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            line += escaped;
        } else {
            line += c;
        }
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

void Error(const std::string& file, const std::string& message, int line) {
    std::string where;
    if (!file.empty())
        where = file + (line > 0 ? ":" + FormatInt(line) : std::string()) + ": ";
    std::cerr << "pfsetup: " << OneLine(where + message) << "\n";
}

void LibraryError(const std::string& file, const std::string& message) {
    std::string text = message;
    for (const char* prefix : {"SPI_ERROR: ", "SPI_NOTE: "})
        if (text.rfind(prefix, 0) == 0)
            text.erase(0, std::strlen(prefix));
    static const std::regex outside(
        R"re(^Line (\d+) does not fall in START_<program>\.\.END_<program> section\.\nIncorrect project file (.*)\.$)re");
    static const std::regex quote(R"re(^Missing closing quote at line (\d+) in "(.*)"$)re");
    static const std::regex unread(R"re(^Failed to read line (\d+) in "(.*)"$)re");
    static const std::regex fileOp(
        R"re(^Failed to (open|save|create) (?:INSTALL |SITE )?project file "(.*)"\. (.*)$)re");
    std::smatch m;
    if (std::regex_match(text, m, outside))
        Error(m[2], "text outside a START_<name> ... END_<name> section", ParseInt(m[1]));
    else if (std::regex_match(text, m, quote))
        Error(m[2], "missing closing quote", ParseInt(m[1]));
    else if (std::regex_match(text, m, unread))
        Error(m[2], "the file ends inside a section or a continued line", ParseInt(m[1]));
    else if (std::regex_match(text, m, fileOp))
        Error(m[2], "cannot " + m[1].str() + ": " + LowerFirst(m[3]));
    else
        Error(file, text.empty() ? "cannot be read" : text);
}

namespace {

// Each line of a message of the store or the dialogs' host as a message of its own.
void ErrorLines(const std::string& file, const std::string& text) {
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        if (!OneLine(line).empty())
            Error(file, line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

} // namespace

int LibraryFailure(CPFCoreSetupAPI& store, const std::string& file) {
    std::string log;
    store.GetLogError(log);
    LibraryError(file, SpiLastMessage());
    return kFileError;
}

void ShowLog(CPFCoreSetupAPI& store, const std::string& file) {
    std::string log;
    if (store.GetLogError(log))
        ErrorLines(file, log);
}

std::string FileProblem(const std::string& path) {
    if (path.empty())
        return "no file name given";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? "no such file"
                               : "cannot read: " + LowerFirst(std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        return "is a directory";
    if (!S_ISREG(info.st_mode))
        return "not a regular file";
    if (::access(path.c_str(), R_OK) != 0)
        return "cannot read: " + LowerFirst(std::strerror(errno));
    return "";
}

bool Readable(const std::string& path) {
    const std::string problem = FileProblem(path);
    if (!problem.empty())
        Error(path, problem);
    return problem.empty();
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
    messages.push_back(text);
    if (!console_)
        return shown_.ShowMessage(text, icon, buttons);
    ErrorLines(file_, text);
    return buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
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

int FindSiteFile(std::string& path) {
    if (GetSiteProjectFilePath(path) != 0) {
        Error("", std::string("no site project file: ") + SpiSiteProjectFile +
                      " is in no directory of QRV_SEARCH_PATH nor in the installation root");
        return kFileError;
    }
    return kOk;
}

int ReadDefaults(const Target& target, CPFCoreSetupAPI& store) {
    if (!ReadInstalledSettings(store, !target.site)) {
        LibraryError("", SpiLastMessage());
        return kFileError;
    }
    return kOk;
}

int ReadProject(const std::string& project, CPFCoreSetupAPI& store) {
    if (project.empty()) {
        const int status = ReadDefaults(Target{}, store);
        ShowLog(store, "");
        return status;
    }
    if (!Readable(project))
        return kFileError;
    store.PutCPMFileName(project);
    store.PutDefFileName(project);
    if (!store.ReadSetup())
        return LibraryFailure(store, project);
    ShowLog(store, project);
    return kOk;
}

int LoadStore(const std::string& project, CPFCoreSetupAPI*& store) {
    Pfsetup_initialize();
    store = Pfsetup_store();
    // A command reads the project once and writes it at most once: the write goes through the
    // project the read made when the file is still as read.
    store->KeepProjectForWrite(true);
    return ReadProject(project, *store);
}

} // namespace pfsetup::app
