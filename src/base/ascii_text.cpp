#include "base/ascii_text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace pfsetup {

void ToUpperInPlace(std::string& text) {
    for (char& c : text) {
        c = AsciiUpper(c);
    }
}

std::string UpperCopy(std::string_view text) {
    std::string upper(text);
    ToUpperInPlace(upper);
    return upper;
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

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::string Trimmed(std::string_view text) {
    return std::string(TrimmedView(text));
}

void AppendEscaped(std::string& out, unsigned char c, const char* controlFormat) {
    switch (c) {
    case '"':
        out += "\\\"";
        break;
    case '\\':
        out += "\\\\";
        break;
    case '\n':
        out += "\\n";
        break;
    case '\r':
        out += "\\r";
        break;
    case '\t':
        out += "\\t";
        break;
    default:
        if (c < 0x20 || c == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, controlFormat, c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        AppendEscaped(out, static_cast<unsigned char>(c), "\\x%02x");
    }
    return out + "\"";
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

std::size_t EditDistanceIgnoringCase(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = AsciiUpper(a[i - 1]) == AsciiUpper(b[j - 1]);
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string ClosestWord(std::string_view word, const std::vector<std::string>& candidates) {
    std::string best;
    std::size_t bestDistance = std::max<std::size_t>(2, word.size() / 4) + 1;
    for (const std::string& candidate : candidates) {
        // The lengths alone bound the distance from below; skip the table when they rule it out.
        const std::size_t lengths =
            std::max(word.size(), candidate.size()) - std::min(word.size(), candidate.size());
        if (lengths >= bestDistance) {
            continue;
        }
        const std::size_t distance = EditDistanceIgnoringCase(word, candidate);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace pfsetup
