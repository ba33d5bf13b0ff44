#include "projfile/line_tokens.h"

#include <cstring>

namespace pfsetup {

namespace {

bool IsQuote(char c) {
    return c == '\'' || c == '"';
}

} // namespace

std::string_view NextLine(const char*& position, const char* end) {
    const char* begin = position;
    const std::size_t left = static_cast<std::size_t>(end - begin);
    const void* lf = std::memchr(begin, '\n', left);
    const std::size_t lineFeed =
        lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : left;
    if (const void* cr = std::memchr(begin, '\r', lineFeed)) {
        const std::size_t carriage = static_cast<std::size_t>(static_cast<const char*>(cr) - begin);
        // CR LF is one line end, and so is CR CR LF (a CR LF file converted once more).
        std::size_t skip = 1;
        if (lf != nullptr && carriage + 1 == lineFeed) {
            skip = 2;
        } else if (lf != nullptr && carriage + 2 == lineFeed && begin[carriage + 1] == '\r') {
            skip = 3;
        }
        position = begin + carriage + skip;
        return std::string_view(begin, carriage);
    }
    position = begin + lineFeed + (lineFeed < left ? 1 : 0);
    return std::string_view(begin, lineFeed);
}

int ValueTokenizer::NextOfAnyForm(std::string_view& value, int& doubleQuoted, bool& unclosedQuote) {
    std::size_t blanks = 0;
    while (blanks < rest_.size() && IsSpaceByte(rest_[blanks])) {
        ++blanks;
    }
    // The writer's own form: each value after one blank, in single quotes, on one line.
    const bool oneBlank = blanks == 1 && rest_.front() == ' ';
    rest_.remove_prefix(blanks);
    if (rest_.empty()) {
        return 4;
    }
    const bool continues = rest_.back() == '\\';
    const char first = rest_.front();
    writersForm_ = writersForm_ && oneBlank && first == '\'' && !continues;
    if (IsQuote(first)) {
        const std::size_t close = rest_.find(first, 1);
        if (close == std::string_view::npos) {
            unclosedQuote = true;
            return -1;
        }
        if (first == '"') {
            doubleQuoted = 1;
        }
        value = rest_.substr(1, close - 1);
        rest_.remove_prefix(close + 1);
    } else {
        const std::size_t space = rest_.find(' ');
        if (space != std::string_view::npos) {
            value = rest_.substr(0, space);
            rest_.remove_prefix(space);
        } else {
            // The final backslash of a continued line is no part of the value; it stays in
            // the rest and calls for the next line below.
            const std::size_t valueEnd = continues ? rest_.size() - 1 : rest_.size();
            value = rest_.substr(0, valueEnd);
            rest_.remove_prefix(valueEnd);
        }
    }
    if (continues) {
        while (!rest_.empty() && IsSpaceByte(rest_.front())) {
            rest_.remove_prefix(1);
        }
        if (rest_.size() == 1) {
            if (following_ == nullptr || following_ >= end_) {
                unclosedQuote = false;
                return -1;
            }
            rest_ = TrimEnd(NextLine(following_, end_));
            ++continuations_;
        }
    }
    return 0;
}

} // namespace pfsetup
