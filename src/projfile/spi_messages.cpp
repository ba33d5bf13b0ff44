#include "projfile/spi_messages.h"

#include "base/module_state.h"

#include <cerrno>

namespace {

std::string g_lastMessage;
std::vector<std::string>* g_collector = nullptr;
const pfsetup::ModuleStateReset g_reset([] {
    g_lastMessage.clear();
    g_collector = nullptr;
});

} // namespace

const std::string& SpiLastMessage() {
    return g_lastMessage;
}

void SetLastMessage(const std::string& text) {
    g_lastMessage = text;
    if (g_collector != nullptr) {
        g_collector->push_back(text);
    }
}

namespace pfsetup {

void RecordFailure(const std::string& text, ErrorRecord record) {
    SetLastMessage(text);
    record.text = text;
    SetLastError(std::move(record));
}

} // namespace pfsetup

std::string GetFileErrorText(int cause) {
    static const char* const texts[] = {
        "No error occurred.",
        "An unspecified error occurred.",
        "The file could not be located.",
        "All or part of the path is invalid.",
        "The permitted number of open files was exceeded.",
        "The file could not be accessed.",
        "There was an attempt to use an invalid file handle.",
        "The current working directory cannot be removed.",
        "There are no more directory entries.",
        "There was an error trying to set the file pointer.",
        "There was a hardware error.",
        "SHARE.EXE was not loaded, or a shared region was locked.",
        "There was an attempt to lock a region that was already locked.",
        "The disk is full.",
        "The end of file was reached.",
    };
    constexpr int count = static_cast<int>(sizeof texts / sizeof texts[0]);
    if (cause < 0 || cause >= count) {
        return "Unknown error occurred.";
    }
    return texts[cause];
}

namespace pfsetup {

int FileErrorCause(int errnoValue) {
    switch (errnoValue) {
    case 0:
        return 0;
    case ENOENT:
        return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return 5;
    case EIO:
        return 10;
    case ENOSPC:
    case EDQUOT:
        return 13;
    default:
        return 1;
    }
}

MessageCollector::MessageCollector(std::vector<std::string>& sink) : previous_(g_collector) {
    g_collector = &sink;
}

MessageCollector::~MessageCollector() {
    g_collector = previous_;
}

} // namespace pfsetup
