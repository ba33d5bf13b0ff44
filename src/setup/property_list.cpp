#include "setup/setup_store.h"

#include "base/ascii_text.h"
#include "setup/setting_rules.h"
#include "setup/setting_tables.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <new>
#include <utility>

namespace {

using pfsetup::SettingWord;
using pfsetup::WordList;

// Stores the value of `text` when it is one of `words`.
template <class Field>
void PutWord(WordList words, const std::string& text, Field& field) {
    if (const SettingWord* word = words.Find(text)) {
        field = static_cast<Field>(word->value);
    }
}

} // namespace

CPFCoreSetupProperty* CPFCoreSetupAPI::CurrentPropertyRecord() const {
    return CurrentProperty == Properties.end() ? nullptr : CurrentProperty->get();
}

namespace {

std::string IndexKey(const std::string& name) {
    std::string key = name;
    for (char& c : key) {
        c = pfsetup::AsciiUpper(c);
    }
    return key;
}

} // namespace

CPFCoreSetupAPI::PropertyList::iterator
CPFCoreSetupAPI::FindPropertyIgnoringCase(const std::string& name) {
    const auto entry = PropertyIndex.find(IndexKey(name));
    return entry == PropertyIndex.end() ? Properties.end() : entry->second;
}

CPFCoreSetupAPI::PropertyList::iterator CPFCoreSetupAPI::FindProperty(const std::string& name) {
    const auto found = FindPropertyIgnoringCase(name);
    return found != Properties.end() && (*found)->Name == name ? found : Properties.end();
}

int CPFCoreSetupAPI::RefuseCaseTwin(PropertyList::iterator self, const std::string& name) {
    const auto twin = FindPropertyIgnoringCase(name);
    if (twin == Properties.end() || twin == self) {
        return 1;
    }
    if ((*twin)->Name != name) {
        PutLogError("\nProperty " + name + " refused: property " + (*twin)->Name +
                    " differs from it only in letter case");
    }
    return 0;
}

int CPFCoreSetupAPI::SetPropertyContext(PFSetupPropertyContext context) {
    PropertyContext = context;
    return 1;
}

PFPropertyContext CPFCoreSetupAPI::GetPFCorePropertyContext() const {
    const pfsetup::PropertyContextRow* row = pfsetup::ContextOfBit(PropertyContext);
    return row ? row->single : PFContextNone;
}

int CPFCoreSetupAPI::InitPropertyIteration() {
    CurrentProperty = Properties.end();
    PropertyCursor = Properties.begin();
    return Properties.empty() ? 0 : 1;
}

int CPFCoreSetupAPI::GetNextProperty() {
    while (PropertyCursor != Properties.end()) {
        const auto node = PropertyCursor++;
        if (((*node)->Type & PropertyContext) == PropertyContext) {
            CurrentProperty = node;
            return 1;
        }
    }
    CurrentProperty = Properties.end();
    return 0;
}

int CPFCoreSetupAPI::SetCurrentPropertyByName(const std::string& name) {
    CurrentProperty = Properties.end();
    const auto found = FindProperty(name);
    if (found == Properties.end()) {
        // A walk that found nothing stops on the last property.
        if (!Properties.empty()) {
            PropertyCursor = std::prev(Properties.end());
        }
        return 0;
    }
    PropertyCursor = found;
    CurrentProperty = found;
    return 1;
}

int CPFCoreSetupAPI::CreateProperty(const std::string& name) {
    if (pfsetup::SettingNameProblem(name) != nullptr || SetCurrentPropertyByName(name) ||
        !RefuseCaseTwin(Properties.end(), name)) {
        return 0;
    }
    try {
        std::string key = IndexKey(name);
        const auto node =
            Properties.insert(Properties.end(), std::make_unique<CPFCoreSetupProperty>(name));
        try {
            PropertyIndex.emplace(std::move(key), node);
        } catch (const std::bad_alloc&) {
            Properties.erase(node);
            return 0;
        }
        CurrentProperty = node;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

int CPFCoreSetupAPI::DeleteCurrentProperty() {
    if (CurrentProperty == Properties.end()) {
        return 0;
    }
    PropertyIndex.erase(IndexKey((*CurrentProperty)->Name));
    Properties.erase(CurrentProperty);
    CurrentProperty = Properties.end();
    PropertyCursor = Properties.end();
    return 1;
}

void CPFCoreSetupAPI::ClearProperties() {
    PropertyIndex.clear();
    Properties.clear();
    CurrentProperty = Properties.end();
    PropertyCursor = Properties.end();
}

int CPFCoreSetupAPI::GetPropertyName(std::string& name) const {
    const CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    name = record->Name;
    return 1;
}

int CPFCoreSetupAPI::GetPropertyValue(std::string& value) const {
    const CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    value = record->Value;
    return 1;
}

int CPFCoreSetupAPI::GetPropertyType(int& type) const {
    const CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    type = record->Type;
    return 1;
}

int CPFCoreSetupAPI::GetPropertyRequired(int& required) const {
    const CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    required = record->Required;
    return 1;
}

int CPFCoreSetupAPI::GetPropertyRequired(std::string& required) const {
    const CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    required = WordList(pfsetup::kRequiredWords).TextOf(record->Required == 1 ? 1 : 0);
    return 1;
}

int CPFCoreSetupAPI::GetPropertyVisibility(PFPropertyVisibility& visibility) const {
    const CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    visibility = record->Visibility;
    return 1;
}

int CPFCoreSetupAPI::GetPropertyVisibility(std::string& visibility) const {
    const CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    if (const char* text = WordList(pfsetup::kVisibilityWords).TextOf(record->Visibility)) {
        visibility = text;
    }
    return 1;
}

int CPFCoreSetupAPI::GetPropertyAlignment(PFPropertyAlignment& alignment) const {
    const CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    alignment = record->Alignment;
    return 1;
}

int CPFCoreSetupAPI::GetPropertyAlignment(std::string& alignment) const {
    const CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    if (const char* text = WordList(pfsetup::kAlignmentWords).TextOf(record->Alignment)) {
        alignment = text;
    }
    return 1;
}

int CPFCoreSetupAPI::PutPropertyName(std::string name) {
    CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    if (name == record->Name) {
        return 1;
    }
    if (pfsetup::SettingNameProblem(name) != nullptr || !RefuseCaseTwin(CurrentProperty, name)) {
        return 0;
    }
    try {
        std::string key = IndexKey(name);
        std::string old = IndexKey(record->Name);
        if (key != old) {
            PropertyIndex.emplace(std::move(key), CurrentProperty);
            PropertyIndex.erase(old);
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    record->Name = std::move(name);
    return 1;
}

int CPFCoreSetupAPI::PutPropertyValue(std::string value) {
    CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr || pfsetup::UnstorableTextProblem(value) != nullptr) {
        return 0;
    }
    record->Value = std::move(value);
    return 1;
}

int CPFCoreSetupAPI::ResetPropertyType() {
    return PutPropertyType(0);
}

int CPFCoreSetupAPI::AddToPropertyType(int bits) {
    CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    record->Type |= bits;
    return 1;
}

int CPFCoreSetupAPI::PutPropertyType(int type) {
    CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    record->Type = type;
    return 1;
}

int CPFCoreSetupAPI::PutPropertyRequired(std::string required) {
    CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    PutWord(pfsetup::kRequiredWords, required, record->Required);
    return 1;
}

int CPFCoreSetupAPI::PutPropertyVisibility(std::string visibility) {
    CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    PutWord(pfsetup::kVisibilityWords, visibility, record->Visibility);
    return 1;
}

int CPFCoreSetupAPI::PutPropertyAlignment(std::string alignment) {
    CPFCoreSetupProperty* record = CurrentPropertyRecord();
    if (record == nullptr) {
        return 0;
    }
    PutWord(pfsetup::kAlignmentWords, alignment, record->Alignment);
    return 1;
}
