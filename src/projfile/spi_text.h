#pragma once
// Byte-string helpers of the project-file library. Names and values are byte strings in the
// system's multibyte code page: only ASCII letters change case, other bytes stay as they are,
// so the helpers never split a multibyte character.

#include <cstddef>
#include <string>
#include <string_view>

namespace pfsetup {

// The white space the reader trims: space, tab, line feed, carriage return, vertical tab and
// form feed, whatever the process locale says.
inline bool IsSpaceByte(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

inline char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
inline char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

void ToUpperInPlace(std::string& text);
std::string Trimmed(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Hash of a name ignoring case, for the lists' name index.
struct CaseInsensitiveHash {
    std::size_t operator()(std::string_view text) const noexcept;
};

// printf-style formatting into a string of any length. "%d" never groups digits, so numbers
// come out the same in every locale.
[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...);

} // namespace pfsetup
