#include "base/error_record.h"

#include "base/ascii_text.h"
#include "base/module_state.h"

#include <cstring>

namespace pfsetup {

namespace {

ErrorRecord& Last() {
    static ErrorRecord record;
    static const ModuleStateReset reset([] { record = ErrorRecord(); });
    return record;
}

// A system's cause as a message shows it: "Permission denied" -> "permission denied".
std::string Cause(int errnoValue) {
    std::string cause = std::strerror(errnoValue);
    if (cause.size() > 1 && cause[0] >= 'A' && cause[0] <= 'Z' &&
        !(cause[1] >= 'A' && cause[1] <= 'Z')) {
        cause[0] = AsciiLower(cause[0]);
    }
    return cause;
}

// Control characters of a file's own text never reach a terminal.
void AppendShown(std::string& out, std::string_view text) {
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\n' || c == '\r') {
            if (!out.empty() && out.back() != ' ') {
                out += ' ';
            }
        } else if ((byte < 0x20 && c != '\t') || byte == 0x7f) {
            out += Format("\\x%02x", byte);
        } else {
            out += c;
        }
    }
}

} // namespace

const ErrorRecord& LastError() {
    return Last();
}

void SetLastError(ErrorRecord record) {
    Last() = std::move(record);
}

void ClearLastError() {
    Last() = ErrorRecord();
}

std::string DescribeError(const ErrorRecord& record) {
    std::string out;
    if (!record.file.empty()) {
        AppendShown(out, record.file);
        if (record.line > 0) {
            out += Format(":%d", record.line);
        }
        out += ": ";
    }
    if (!record.key.empty()) {
        AppendShown(out, record.key);
        out += ' ';
        out += Quoted(record.value);
        out += ": ";
    }
    std::string problem = record.problem.empty() ? record.text : record.problem;
    AppendShown(out, problem);
    if (!record.allowed.empty()) {
        out += "; ";
        AppendShown(out, record.allowed);
    }
    if (record.systemError != 0) {
        out += " (" + Cause(record.systemError) + ")";
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == ':')) {
        out.pop_back();
    }
    return out;
}

ErrorRecord SystemError(ErrorKind kind, std::string file, std::string problem, int errnoValue) {
    ErrorRecord record;
    record.kind = kind;
    record.file = std::move(file);
    record.problem = std::move(problem);
    record.systemError = errnoValue;
    return record;
}

ErrorRecord Failure(ErrorKind kind, std::string file, std::string problem, int line) {
    ErrorRecord record;
    record.kind = kind;
    record.file = std::move(file);
    record.line = line;
    record.problem = std::move(problem);
    return record;
}

} // namespace pfsetup
