#include "setup/number_text.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <locale.h>

namespace pfsetup {

namespace {
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

long long ParseLongLong(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i++] == '-';
    }
    constexpr long long kCap = 100'000'000'000'000'000LL;
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value >= kCap ? kCap : value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

int ParseInt(const std::string& text) {
    const long long value = ParseLongLong(text);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

double ParseDecimal(const std::string& text, size_t* consumed) {
    // strtod in the "C" locale is atof's rule whatever LC_NUMERIC says.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = strtod_l(begin, &end, cLocale);
    if (consumed) {
        *consumed = static_cast<size_t>(end - begin);
    }
    return value;
}

size_t DecimalLength(const std::string& text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    return i;
}

double LeadingNumber(const std::string& text) {
    size_t start = 0;
    while (start < text.size() && IsSpace(text[start])) {
        ++start;
    }
    const std::string rest = text.substr(start);
    const size_t length = DecimalLength(rest);
    return length == 0 ? 0.0 : ParseDecimal(rest.substr(0, length));
}

std::string FormatFixed6(double value) {
    char buffer[512];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    if (result.ec != std::errc()) {
        return "0.000000";
    }
    return std::string(buffer, result.ptr);
}

std::string FormatInt(long long value) {
    return std::to_string(value);
}

} // namespace pfsetup
