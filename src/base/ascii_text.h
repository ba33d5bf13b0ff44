#pragma once
// Letter case and white space of the system's texts. Names and values are byte strings in the
// system's multibyte code page: only ASCII letters have a case and only ASCII blanks are white
// space, whatever the process locale says, so results never depend on the locale and bytes of
// multibyte characters compare as they are.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace pfsetup {

// The white space the reader trims: space, tab, line feed, carriage return, vertical tab and
// form feed.
constexpr bool IsSpaceByte(char c) {
    // '\t' '\n' '\v' '\f' '\r' are 9 to 13.
    return c == ' ' || static_cast<unsigned char>(c - '\t') <= '\r' - '\t';
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
inline std::string_view TrimmedView(std::string_view text) {
    while (!text.empty() && IsSpaceByte(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpaceByte(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}
std::string Trimmed(std::string_view text);

namespace ascii_detail {

// The eight bytes of `word` with ASCII capitals made small, all at once: a byte gets 0x20 when
// its low seven bits lie in 'A'..'Z' and its high bit is clear.
inline std::uint64_t LowerEight(std::uint64_t word) {
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    const std::uint64_t low = word & (0x7F * ones);
    const std::uint64_t atLeastA = low + (0x80 - 'A') * ones;
    const std::uint64_t aboveZ = low + (0x80 - 'Z' - 1) * ones;
    const std::uint64_t capital = (atLeastA ^ aboveZ) & ~word & (0x80 * ones);
    return word | (capital >> 2);
}

inline std::uint64_t Mix(std::uint64_t x) {
    x *= 0xBF58476D1CE4E5B9ull;
    return x ^ (x >> 31);
}

} // namespace ascii_detail

// Hash of a name ignoring case, for the name indexes. Inline, eight bytes at a time: the
// reader hashes the name of every directive line.
struct CaseInsensitiveHash {
    std::size_t operator()(std::string_view text) const noexcept {
        using ascii_detail::LowerEight;
        using ascii_detail::Mix;
        std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ text.size();
        const char* at = text.data();
        std::size_t left = text.size();
        for (; left >= 8; at += 8, left -= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, at, 8);
            hash = Mix(hash ^ LowerEight(word));
        }
        if (left > 0) {
            std::uint64_t word = 0;
            if (text.size() >= 8) {
                // The last eight bytes, less those already hashed.
                std::memcpy(&word, at + left - 8, 8);
                word >>= 8 * (8 - left);
            } else {
                for (std::size_t i = 0; i < left; ++i) {
                    word |= static_cast<std::uint64_t>(static_cast<unsigned char>(at[i]))
                            << (8 * i);
                }
            }
            hash = Mix(hash ^ LowerEight(word));
        }
        return static_cast<std::size_t>(hash ^ (hash >> 29));
    }
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
