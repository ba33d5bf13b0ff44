#pragma once
// What went wrong in a library call that failed, as a record callers branch on. The texts
// hosts read stay as they are (SpiLastMessage(), the store's log); beside them, each failure
// leaves one record with its kind, the file and line, the key and value concerned, what is
// allowed and the system's cause, and the tool and the dialogs make their messages from it.
//
// The record belongs to the module (one thread, see pfsetup.h). Every call of the API that can
// fail clears it when it starts, so after a call it holds that call's failure or nothing: a
// call that succeeded never leaves an earlier call's cause behind. Texts in the store's log
// without a record are warnings (an entry skipped while the rest was read).

#include <string>
#include <string_view>

namespace pfsetup {

enum class ErrorKind {
    None = 0,  // no failure
    NotFound,  // a file or folder that does not exist
    Access,    // a file or folder that exists but cannot be read or written as asked
    Exists,    // a file that exists where a new one was to be made
    Locked,    // another writer held the file's lock for longer than the wait
    Protected, // a file of the installation, which nothing writes
    Syntax,    // a file whose text does not read as a project file
    Value,     // a value that a setting, or a file name, does not take
    Resource,  // memory or the model's limits exhausted
};

struct ErrorRecord {
    ErrorKind kind = ErrorKind::None;
    std::string file;    // the file concerned, as the caller named it; empty when none
    int line = 0;        // its line, from 1; 0 when not known
    std::string key;     // the setting concerned; empty when none
    std::string value;   // the value refused; empty when none
    std::string problem; // what is wrong, in a person's words, starting in lower case
    std::string allowed; // what to give or do instead, as shown after the problem ("allowed: a
                         // whole number from 1 to 9", "use --force to ..."); empty when none
    int systemError = 0; // the errno of the system call that failed; 0 when none
    std::string text;    // the library's own message for hosts (SpiLastMessage() or log text)

    bool Failed() const { return kind != ErrorKind::None; }
};

// The failure of the last call, or a record of kind None.
const ErrorRecord& LastError();
void SetLastError(ErrorRecord record);
void ClearLastError();

// The record in the system's one voice: `FILE:LINE: KEY "VALUE": problem; allowed (cause)`,
// each part only where known, on one line. The tool puts "pfsetup: " before it.
std::string DescribeError(const ErrorRecord& record);

// The record a failed system call leaves: `problem` such as "cannot write", the errno value.
ErrorRecord SystemError(ErrorKind kind, std::string file, std::string problem, int errnoValue);
// A record of `kind` about `file` (at `line` when known): what is wrong in a person's words.
ErrorRecord Failure(ErrorKind kind, std::string file, std::string problem, int line = 0);

} // namespace pfsetup
