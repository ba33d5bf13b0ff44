#pragma once
// The line and value tokens of project files: where a line ends, and the values of one
// directive line read one at a time. The reader and every later walk over stored values take
// these same steps, so what was read and what is handed out never differ.

#include "projfile/spi_text.h"

#include <cstring>
#include <string_view>

namespace pfsetup {

// The line that starts at `position` and ends at LF, CR LF, a lone CR or `end`; `position`
// moves past its line end.
std::string_view NextLine(const char*& position, const char* end);

// The values of one directive line, read one at a time from the text after its name: quoted
// or bare values, a backslash at the end continuing the line on the next one. The reader and
// every later walk over stored values take these same steps.
class ValueTokenizer {
public:
    ValueTokenizer() = default;
    // `rest`: the text after the name on its line; the following lines of the text start at
    // `following` and the text ends at `end`.
    ValueTokenizer(std::string_view rest, const char* following, const char* end)
        : rest_(TrimEnd(rest)), following_(following), end_(end) {}

    // 0 with the next value (a double-quoted one sets `doubleQuoted` to 1); 4 when the line
    // has no more values; -1 for a quoted value without its closing quote (`unclosedQuote`
    // true) or a continuation line that the text does not have (false).
    int Next(std::string_view& value, int& doubleQuoted, bool& unclosedQuote) {
        // Inline, the writer's own form on a line that does not continue: one blank, then a
        // value in single quotes. It reads as the whole path reads it, which takes the rest.
        if (rest_.size() >= 3 && rest_[0] == ' ' && rest_[1] == '\'' && rest_.back() != '\\') {
            if (const void* close = std::memchr(rest_.data() + 2, '\'', rest_.size() - 2)) {
                const auto end =
                    static_cast<std::size_t>(static_cast<const char*>(close) - rest_.data());
                value = rest_.substr(2, end - 2);
                rest_.remove_prefix(end + 1);
                return 0;
            }
        }
        if (rest_.empty()) {
            return 4;
        }
        return NextOfAnyForm(value, doubleQuoted, unclosedQuote);
    }
    // Lines read for continuations so far.
    int ContinuationLines() const { return continuations_; }
    // Whether every value read so far stood as the writer writes it: after one blank, in
    // single quotes, on the first line.
    bool WritersForm() const { return writersForm_; }
    // The end of the text read so far, and where the line after the last one read starts.
    const char* End() const { return rest_.data() + rest_.size(); }
    const char* Following() const { return following_; }

private:
    int NextOfAnyForm(std::string_view& value, int& doubleQuoted, bool& unclosedQuote);
    static std::string_view TrimEnd(std::string_view text) {
        while (!text.empty() && IsSpaceByte(text.back())) {
            text.remove_suffix(1);
        }
        return text;
    }

    std::string_view rest_; // trimmed at its end
    const char* following_ = nullptr;
    const char* end_ = nullptr;
    int continuations_ = 0;
    bool writersForm_ = true;
};

} // namespace pfsetup
