#include "projfile/spi_text.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace pfsetup {

void ToUpperInPlace(std::string& text) {
    for (char& c : text) {
        c = AsciiUpper(c);
    }
}

std::string Trimmed(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsSpaceByte(text[begin])) {
        ++begin;
    }
    while (end > begin && IsSpaceByte(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

std::size_t CaseInsensitiveHash::operator()(std::string_view text) const noexcept {
    // FNV-1a over the lower-cased bytes.
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(AsciiLower(c));
        hash *= 1099511628211ull;
    }
    return static_cast<std::size_t>(hash);
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(again);
    return text;
}

} // namespace pfsetup
