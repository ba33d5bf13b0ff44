#include "setup/text_fields.h"

#include "setup/setting_tables.h"

#include <cstddef>
#include <utility>

namespace {

std::size_t FindSeparator(const std::string& text, const std::string& separator, std::size_t from) {
    return separator.empty() ? std::string::npos : text.find(separator, from);
}

} // namespace

int SplitAtFirst(const std::string& text, const std::string& separator, std::string& left,
                 std::string& right) {
    const std::size_t hit = FindSeparator(text, separator, 0);
    if (hit == std::string::npos) {
        std::string whole = text; // `right` may alias `text`
        right.clear();
        left = std::move(whole);
        return 0;
    }
    std::string before = text.substr(0, hit);
    std::string after = text.substr(hit + separator.size());
    left = std::move(before);
    right = std::move(after);
    return 1;
}

int GetNthField(const std::string& text, int n, const std::string& separator, std::string& field) {
    if (n < 1) {
        return 1;
    }
    std::size_t start = 0;
    std::size_t pieceBegin = 0;
    std::size_t pieceEnd = 0;
    for (int i = 0; i < n; ++i) {
        if (start >= text.size() && i > 0) {
            // The remainder is empty: every further piece is empty too.
            pieceBegin = pieceEnd = text.size();
            break;
        }
        const std::size_t hit = FindSeparator(text, separator, start);
        pieceBegin = start;
        if (hit == std::string::npos) {
            pieceEnd = text.size();
            start = text.size();
        } else {
            pieceEnd = hit;
            start = hit + separator.size();
        }
    }
    field = text.substr(pieceBegin, pieceEnd - pieceBegin);
    return 1;
}

int CountFields(const std::string& text, const std::string& separator) {
    int count = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t hit = FindSeparator(text, separator, start);
        if (hit == std::string::npos) {
            hit = text.size();
        }
        if (hit > start) {
            ++count;
        }
        start = hit == text.size() ? hit : hit + separator.size();
    }
    return count;
}

std::string PinTypeFromKey(const std::string& key) {
    static const std::string kPrefix = "PinType_";
    if (key.compare(0, kPrefix.size(), kPrefix) == 0) {
        for (const pfsetup::PinTypeRow& type : pfsetup::kPinTypes) {
            if (key.compare(kPrefix.size(), std::string::npos, type.name) == 0) {
                return type.name;
            }
        }
    }
    return pfsetup::kUnspecifiedPinType;
}
