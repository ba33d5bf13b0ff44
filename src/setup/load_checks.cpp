#include "setup/load_checks.h"

#include "setup/text_fields.h"

#include <cstddef>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether the longest leading decimal number of `text` (digits, then optionally '.' and more
// digits) has a non-zero value. Deciding on the digits keeps this exact and independent of
// the locale's decimal separator; a text without a leading number reads as zero.
bool LeadingNumberIsNonZero(const std::string& text) {
    std::size_t i = 0;
    bool nonZero = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        nonZero = nonZero || text[i] != '0';
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            nonZero = nonZero || text[i] != '0';
        }
    }
    return nonZero;
}

} // namespace

int IsValidLoadNumber(const std::string& text) {
    for (char c : text) {
        if (!IsDigit(c) && c != '.') {
            return 0;
        }
    }
    if (CountFields(text, ".") > 2) {
        return 0;
    }
    return LeadingNumberIsNonZero(text) ? 1 : 0;
}

int IsValidPositiveLoad(const std::string& text) {
    if (text == "*") {
        return 1;
    }
    if (text.find('-') != std::string::npos) {
        return 0;
    }
    if (!text.empty() && text[0] == '+') {
        return IsValidLoadNumber(text.substr(1));
    }
    return IsValidLoadNumber(text);
}

int IsValidNegativeLoad(const std::string& text) {
    if (text == "*") {
        return 1;
    }
    if (text.empty() || text[0] != '-') {
        return 0;
    }
    return IsValidLoadNumber(text.substr(1));
}
