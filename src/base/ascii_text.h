#pragma once
// Letter case and white space of the system's texts. Names and values are byte strings in the
// system's multibyte code page: only ASCII letters have a case and only ASCII blanks are white
// space, whatever the process locale says, so results never depend on the locale and bytes of
// multibyte characters compare as they are.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pfsetup {

// The white space the reader trims: space, tab, line feed, carriage return, vertical tab and
// form feed.
constexpr bool IsSpaceByte(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

constexpr char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

void ToUpperInPlace(std::string& text);
// A copy with ASCII letters made capital.
std::string UpperCopy(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Whether `text` begins with `prefix` ignoring case.
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

// `text` without white space at either end.
std::string_view TrimmedView(std::string_view text);
std::string Trimmed(std::string_view text);

// Hash of a name ignoring case, for the name indexes.
struct CaseInsensitiveHash {
    std::size_t operator()(std::string_view text) const noexcept;
};

// Appends byte `c` as a quoted text shows it: quote, backslash, line break, CR and tab as
// C-style escapes, other control bytes through `controlFormat` (a printf format taking the
// byte, such as "\\x%02x"), anything else as it is. Messages and JSON share it.
void AppendEscaped(std::string& out, unsigned char c, const char* controlFormat);
// A text as messages show it: in double quotes, escaped as above, so a message stays on one
// line and nothing a file holds can reach a terminal as a control sequence.
std::string Quoted(std::string_view text);

// The number of letters to insert, delete or change to turn `a` into `b`, ignoring case.
std::size_t EditDistanceIgnoringCase(std::string_view a, std::string_view b);
// The candidate closest to `word` that a slip of a letter or two explains (the distance allowed
// grows with the word's length), or "": what "did you mean" offers.
std::string ClosestWord(std::string_view word, const std::vector<std::string>& candidates);

// printf-style formatting into a string of any length. "%d" never groups digits, so numbers
// come out the same in every locale.
[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...);

} // namespace pfsetup
