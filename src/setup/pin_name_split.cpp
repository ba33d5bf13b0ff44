#include "setup/pin_name_split.h"

namespace pfsetup {

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

const char* PinNamePatternText(PinNamePattern pattern) {
    switch (pattern) {
    case PinNamePattern::AlphaNum:
        return "A1";
    case PinNamePattern::NumAlpha:
        return "1A";
    case PinNamePattern::NumAlphaNum:
        return "1A1";
    default:
        return "none";
    }
}

PinNameParts SplitPinName(const std::string& name, int alphaNum, int numAlpha, int numAlphaNum) {
    size_t lead = 0;
    while (lead < name.size() && IsDigit(name[lead])) {
        ++lead;
    }
    size_t tail = name.size();
    while (tail > lead && IsDigit(name[tail - 1])) {
        --tail;
    }
    const std::string l = name.substr(0, lead);
    const std::string m = name.substr(lead, tail - lead);
    const std::string t = name.substr(tail);

    PinNameParts parts;
    parts.baseName = name;
    if (m.empty()) {
        return parts; // all digits, or empty
    }
    if (l.empty() && !t.empty()) {
        parts.pattern = PinNamePattern::AlphaNum;
        switch (alphaNum) {
        case 2:
            parts.baseName = m, parts.bit = t;
            break;
        case 3:
            parts.baseName = m, parts.slot = t;
            break;
        }
    } else if (!l.empty() && t.empty()) {
        parts.pattern = PinNamePattern::NumAlpha;
        switch (numAlpha) {
        case 2:
            parts.group = l, parts.baseName = m;
            break;
        case 3:
            parts.bit = l, parts.baseName = m;
            break;
        case 4:
            parts.slot = l, parts.baseName = m;
            break;
        }
    } else if (!l.empty() && !t.empty()) {
        parts.pattern = PinNamePattern::NumAlphaNum;
        switch (numAlphaNum) {
        case 2:
            parts.baseName = l + m, parts.bit = t;
            break;
        case 3:
            parts.baseName = l + m, parts.slot = t;
            break;
        case 4:
            parts.bit = l, parts.baseName = m + t;
            break;
        case 5:
            parts.slot = l, parts.baseName = m + t;
            break;
        case 6:
            parts.group = l, parts.baseName = m + t;
            break;
        case 7:
            parts.group = l, parts.baseName = m, parts.bit = t;
            break;
        case 8:
            parts.group = l, parts.baseName = m, parts.slot = t;
            break;
        }
    }
    return parts;
}

} // namespace pfsetup
