#pragma once
// The library's messages. Nothing here shows or logs anything: each message, beginning
// "SPI_ERROR: " or "SPI_NOTE: ", replaces one module-wide last-message string that hosts read
// with SpiLastMessage(). The codes the operations return are what callers act on; a failure
// also leaves its error record (base/error_record.h), which is what the tool and the dialogs
// make their messages from.

#include "base/error_record.h"
#include "projfile/spi_text.h"

#include <exception>
#include <new>
#include <string>
#include <vector>

// The most recent message; empty until the first one. SetLastMessage("") clears it.
const std::string& SpiLastMessage();
void SetLastMessage(const std::string& text);

// The text for a file-error cause (0 to 14, as the platform's file exceptions number them);
// "Unknown error occurred." for any other number.
std::string GetFileErrorText(int cause);

namespace pfsetup {

// Records a failure: `text` becomes SpiLastMessage() and the record, with `text` in it,
// LastError().
void RecordFailure(const std::string& text, ErrorRecord record);

// The file-error cause of an errno value: ENOENT 2; ENOTDIR, ENAMETOOLONG 3; EMFILE, ENFILE 4;
// EACCES, EPERM, EROFS, EISDIR 5; EIO 10; ENOSPC, EDQUOT 13; anything else 1 (0 stays 0).
int FileErrorCause(int errnoValue);

// While alive, every message recorded is also appended to `sink`, so a caller can keep the
// messages of a whole operation and not only the last one. Collectors nest.
class MessageCollector {
public:
    explicit MessageCollector(std::vector<std::string>& sink);
    ~MessageCollector();
    MessageCollector(const MessageCollector&) = delete;
    MessageCollector& operator=(const MessageCollector&) = delete;

private:
    std::vector<std::string>* previous_;
};

// Runs `body` and hands back its result; an exception escaping it (memory exhausted) becomes
// -1 with `format` filled with `name` and the exception's text, so nothing throws across the
// library's API.
template <class Body>
int Guarded(const char* format, const std::string& name, Body&& body) {
    try {
        return body();
    } catch (const std::bad_alloc& failure) {
        RecordFailure(Format(format, name.c_str(), failure.what()),
                      Failure(ErrorKind::Resource, name, "not enough memory"));
    } catch (const std::exception& failure) {
        RecordFailure(Format(format, name.c_str(), failure.what()),
                      Failure(ErrorKind::Resource, name, failure.what()));
    }
    return -1;
}

} // namespace pfsetup
