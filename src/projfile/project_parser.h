#pragma once
// The line reader of project files. It reads a text held in memory (a whole file read at once,
// or a string), so files and strings share one loop, and hands out views into that text; the
// text must outlive what the reader gives. The names of directives read without values are
// made upper case where they stand in the text.
//
// Lines end in LF, CR LF or a lone CR. A UTF-8 byte-order mark at the start is skipped.
// Outside sections, blank lines and lines that are comments after trimming (from the first
// '{' on) are skipped; any other line must open a section ("START_" anywhere in it, the name
// from its seventh character on, upper-cased). Inside a section every line is a directive or
// the end line "END_<name>", which holds no space or tab unless the name itself does. A line
// "START_<other>" (no space or tab) inside a section is a directive without values, unless the
// section's end line never follows: then that end line is missing, which is recorded, the
// section ends there, and the line opens the next section.
//
// The collecting mode reads the same way but goes on where the normal mode stops or fails,
// noting each problem as a person should read it: a line outside a section, a quoted name or
// value without its closing quote and a continuation past the end of the text are noted and
// skipped (the model holds the lines around them), a missing end line is noted at the line of
// its section. It also notes what a read passes silently: a START_ line that does not begin
// with it, an end line followed by more text (read as a directive), a directive given again in
// one file (the last one applies).

#include "projfile/spi_model.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A problem the collecting mode noted and read past.
struct SpiProblem {
    std::string file;
    int line = 0;
    std::string problem;
};

class SpiProjectFile {
public:
    // `path` names the file in messages and origins. With `problems`, the reader is in the
    // collecting mode and notes its problems there.
    SpiProjectFile(SpiProgramList::KeptText text, const std::string& path,
                   std::vector<SpiProblem>* problems = nullptr);
    SpiProjectFile(const SpiProjectFile&) = delete;
    SpiProjectFile& operator=(const SpiProjectFile&) = delete;

    // Skips comment and blank lines and reads the next START_ line: 0 with the upper-case
    // program name; 1 at the end of the text; -1 for a line outside a section (recorded;
    // collecting: noted and skipped). Both 1 and -1 close the reader.
    int ReadProgramHeader(std::string& name);
    // Reads the next line of the section: 0 with the directive name (its values wait for
    // ReadValueToken); 5 for the end line, and for a START_ line when the section's end line
    // never follows (recorded as a missing end line; that line is read again by
    // ReadProgramHeader); -1 when no line
    // can be read or a quoted name is not closed (recorded; collecting: a line with a quoted
    // name not closed is noted and skipped).
    int ReadDirectiveName(std::string_view& name);
    // The next value of the current directive line: 0 with the value (a double-quoted value
    // sets `doubleQuotedFlag` to 1); 4 when the line has no more values; -1 for a quoted value
    // without its closing quote or a continuation line that cannot be read (recorded, and the
    // reader is closed; collecting: noted, and the next line is read as usual).
    int ReadValueToken(std::string_view& value, int& doubleQuotedFlag);

    // The trimmed text of the line the last directive name was read from.
    std::string_view CurrentLine() const { return currentLine_; }
    // The comment lines met between sections since the last call (the writer's own header at
    // the top of the file left out), as they stand in the text.
    std::vector<std::string_view> TakeComments();

    const std::string& Path() const { return *path_; }
    bool Collecting() const { return problems_ != nullptr; }
    void Note(int line, std::string problem);
    // "END_<NAME>" of the section being read.
    const std::string& EndMarker() const { return endMarker; }
    const std::shared_ptr<const std::string>& SharedPath() const { return path_; }
    int LineNumber() const { return lineNumber; }
    // The line on which the last directive name was read.
    int DirectiveLine() const { return directiveLine_; }
    // The text of the current directive's values read so far: from after its name to the end
    // of the last value read (continuation lines included).
    std::string_view ValuesText() const {
        return std::string_view(restBegin_, static_cast<std::size_t>(values_.End() - restBegin_));
    }
    // Whether the values read so far stood as the writer writes them (ValueTokenizer).
    bool ValuesInWritersForm() const { return values_.WritersForm(); }
    // Bytes of the text read so far, and left to read.
    std::size_t BytesRead() const { return position_; }
    std::size_t BytesLeft() const { return size_ - position_; }

private:
    bool ReadLine(std::string_view& line);
    void RecordAtLine(const char* format, const std::string& problem);
    void StartValues(std::string_view rest);
    void ValueFailed(bool unclosedQuote);
    void KeepComment(std::string_view line);
    // Whether a line that ends the current section follows the current line.
    bool EndLineFollows();

    char* text_;
    std::size_t size_;
    bool carriageReturns_;     // whether any line may end in a CR
    std::size_t position_ = 0; // the start of the next unread line
    std::shared_ptr<const std::string> path_;
    bool closed_ = false;
    // The values of the current directive line, from restBegin_ on.
    const char* restBegin_ = nullptr;
    pfsetup::ValueTokenizer values_;
    std::string endMarker;
    bool endMarkerHasSpace_ = false;
    int lineNumber = 0;
    int directiveLine_ = 0;
    std::string_view currentLine_;
    std::vector<std::string_view> comments_;
    int headerLines_ = 0; // lines of the writer's header met at the top of the text so far
    bool atTop_ = true;
    // The end lines of the text, by their form and text ("E", "B" or "Q" and the marker they
    // match), each with where its last occurrence starts; made when first asked for.
    std::unordered_map<std::string, std::size_t> endLines_;
    bool endLinesMade_ = false;
    int sectionLine_ = 0; // the line of the current section's START_ line
    std::size_t pendingStart_ = std::string_view::npos; // a START_ line met inside a section
    std::vector<SpiProblem>* problems_;
};

// The steps every line takes, here so the reader's loop can inline them.

inline bool SpiProjectFile::ReadLine(std::string_view& line) {
    if (closed_ || position_ >= size_) {
        return false;
    }
    const char* at = text_ + position_;
    if (!carriageReturns_) {
        // Only LF ends lines: one search per line.
        const std::size_t left = size_ - position_;
        const void* lf = std::memchr(at, '\n', left);
        const std::size_t length =
            lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - at) : left;
        line = std::string_view(at, length);
        position_ += length + (length < left ? 1 : 0);
        return true;
    }
    line = pfsetup::NextLine(at, text_ + size_);
    position_ = static_cast<std::size_t>(at - text_);
    return true;
}

inline void SpiProjectFile::StartValues(std::string_view rest) {
    restBegin_ = rest.data();
    values_ = pfsetup::ValueTokenizer(rest, text_ + position_, text_ + size_);
}

inline int SpiProjectFile::ReadValueToken(std::string_view& value, int& doubleQuotedFlag) {
    const int before = values_.ContinuationLines();
    bool unclosedQuote = false;
    const int result = values_.Next(value, doubleQuotedFlag, unclosedQuote);
    // Continuation lines are lines of the file read.
    if (const int read = values_.ContinuationLines() - before; read > 0) {
        lineNumber += read;
        position_ = static_cast<std::size_t>(values_.Following() - text_);
    }
    if (result == -1) {
        ValueFailed(unclosedQuote);
    }
    return result;
}

namespace pfsetup {

// Whether a directive of this name stands for a comment or blank line inside a section: the
// format reads such a line as a directive named "" or beginning with '{'.
inline bool IsCommentName(std::string_view name) {
    return name.empty() || name.front() == '{';
}

// Whether `line` ends a section whose end marker ("END_<NAME>") holds a blank or tab: the line
// cut before '{' and trimmed is the marker, in any letter case.
bool IsBlankEndLine(std::string_view line, std::string_view endMarker);

} // namespace pfsetup

// Reads every section of `file` into `programs` at `level` (0 to 3), merging by name ignoring
// case: a section met again adds to its program, a directive met again gets a fresh value list
// at this level and this level becomes its active one. At levels above 1, the programs and
// directives read are marked changed. 0 on success (also for a file without sections), -1 on
// failure; what was read before a failure stays in the list. A file in the collecting mode
// reads to its end and gives 0; a line it skips leaves no directive.
int ReadPrograms(SpiProgramList& programs, SpiProjectFile& file, int level);
