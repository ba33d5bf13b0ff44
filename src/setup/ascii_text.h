#pragma once
// Case rules of setting texts and pin names: only ASCII letters have a case here, so results
// do not depend on the process locale and bytes of multibyte names compare as they are.

#include <string>

namespace pfsetup {

constexpr char ToUpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::string::size_type i = 0; i < a.size(); ++i) {
        if (ToUpperAscii(a[i]) != ToUpperAscii(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace pfsetup
