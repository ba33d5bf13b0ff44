#include "setup/setting_tables.h"

#include "base/ascii_text.h"
#include "setup/load_checks.h"

namespace pfsetup {

const char* WordList::TextOf(int value) const {
    for (const SettingWord& word : *this) {
        if (word.value == value) {
            return word.text;
        }
    }
    return nullptr;
}

const SettingWord* WordList::Find(std::string_view text) const {
    for (const SettingWord& word : *this) {
        if (text == word.text) {
            return &word;
        }
    }
    return nullptr;
}

std::string WordList::Lines() const {
    std::string lines;
    for (const SettingWord& word : *this) {
        lines += std::string(word.text) + "\n";
    }
    return lines;
}

std::string WordList::Listed() const {
    std::string list;
    for (size_t i = 0; i < count_; ++i) {
        if (i > 0) {
            list += i + 1 == count_ ? " or " : ", ";
        }
        list += Quoted(first_[i].text);
    }
    return list;
}

int VisibilityTreeCode(std::string_view text) {
    for (const SettingWord& word : kVisibilityWords) {
        if (word.value != PFInvisible && EqualsIgnoreCase(text, word.text)) {
            return word.value;
        }
    }
    return 0;
}

bool IsValidLoadOf(int column, const std::string& load) {
    return kLoadColumns[column].negative ? IsValidNegativeLoad(load) != 0
                                         : IsValidPositiveLoad(load) != 0;
}

const PropertyContextRow* ContextOfBit(int bit) {
    for (const PropertyContextRow& row : kPropertyContexts) {
        if (row.bit == bit) {
            return &row;
        }
    }
    return nullptr;
}

const PropertyContextRow* ContextOfSingle(int context) {
    for (const PropertyContextRow& row : kPropertyContexts) {
        if (row.single != PFContextNone && row.single == context) {
            return &row;
        }
    }
    return nullptr;
}

} // namespace pfsetup
