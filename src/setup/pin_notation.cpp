#include "setup/setup_store.h"

#include "base/ascii_text.h"
#include "setup/setting_tables.h"

#include <cstdlib>
#include <new>

namespace {

// The text form of a notation.
const char* Text(PFActiveLow notation) {
    return pfsetup::WordList(pfsetup::kReadActiveLowWords).TextOf(notation);
}

// The suffix tests compare in place: the predicates run for every pin a host builds.
bool EndsWithStar(const std::string& pin) {
    return !pin.empty() && pin.back() == '*';
}

bool EndsWithUnderscoreN(const std::string& pin, bool ignoreCase) {
    const std::string::size_type n = pin.size();
    if (n < 2 || pin[n - 2] != '_') {
        return false;
    }
    return ignoreCase ? pfsetup::AsciiUpper(pin[n - 1]) == 'N' : pin[n - 1] == 'N';
}

} // namespace

int CPFCoreSetupAPI::GetDefReadActiveLowPinNotation(PFActiveLow& notation) const {
    notation = DefReadActiveLowPinNotation == 0 ? PFActiveLow_Suffix_Star_And_N
                                                : DefReadActiveLowPinNotation;
    return 1;
}

int CPFCoreSetupAPI::GetDefReadActiveLowPinNotation(std::string& notation) const {
    switch (DefReadActiveLowPinNotation) {
    case PFActiveLow_Suffix_Star:
        notation = Text(PFActiveLow_Suffix_Star);
        break;
    case PFActiveLow_Suffix_N:
        notation = Text(PFActiveLow_Suffix_N);
        break;
    default:
        notation = Text(PFActiveLow_Suffix_Star_And_N);
        break;
    }
    return 1;
}

int CPFCoreSetupAPI::PutDefReadActiveLowPinNotation(PFActiveLow notation) {
    DefReadActiveLowPinNotation = notation == 0 ? PFActiveLow_Suffix_Star_And_N : notation;
    return 1;
}

int CPFCoreSetupAPI::PutDefReadActiveLowPinNotation(std::string notation) {
    if (pfsetup::EqualsIgnoreCase(notation, Text(PFActiveLow_Suffix_N))) {
        DefReadActiveLowPinNotation = PFActiveLow_Suffix_N;
    } else if (pfsetup::EqualsIgnoreCase(notation, Text(PFActiveLow_Suffix_Star))) {
        DefReadActiveLowPinNotation = PFActiveLow_Suffix_Star;
    } else {
        DefReadActiveLowPinNotation = PFActiveLow_Suffix_Star_And_N;
    }
    return 1;
}

int CPFCoreSetupAPI::GetDefWriteActiveLowPinNotation(PFActiveLow& notation) const {
    notation =
        DefWriteActiveLowPinNotation == 0 ? PFActiveLow_Suffix_Star : DefWriteActiveLowPinNotation;
    return 1;
}

int CPFCoreSetupAPI::GetDefWriteActiveLowPinNotation(std::string& notation) const {
    notation = DefWriteActiveLowPinNotation == PFActiveLow_Suffix_N ? Text(PFActiveLow_Suffix_N)
                                                                    : Text(PFActiveLow_Suffix_Star);
    return 1;
}

int CPFCoreSetupAPI::PutDefWriteActiveLowPinNotation(PFActiveLow notation) {
    DefWriteActiveLowPinNotation = notation == 0 ? PFActiveLow_Suffix_Star : notation;
    return 1;
}

// Writing knows no "star and N": every text but the N suffix selects the star.
int CPFCoreSetupAPI::PutDefWriteActiveLowPinNotation(std::string notation) {
    DefWriteActiveLowPinNotation = pfsetup::EqualsIgnoreCase(notation, Text(PFActiveLow_Suffix_N))
                                       ? PFActiveLow_Suffix_N
                                       : PFActiveLow_Suffix_Star;
    return 1;
}

int CPFCoreSetupAPI::HasReadActiveLowPinNotationChanged() const {
    return DefReadActiveLowPinNotation != OrigReadActiveLowNotation ? 1 : 0;
}

int CPFCoreSetupAPI::HasWriteActiveLowPinNotationChanged() {
    if (HasReadActiveLowPinNotationChanged()) {
        return 0;
    }
    if (DefWriteActiveLowPinNotation == OrigWriteActiveLowNotation) {
        return 0;
    }
    OrigWriteActiveLowNotation = DefWriteActiveLowPinNotation;
    return 1;
}

void CPFCoreSetupAPI::UpdateOrigReadWriteActiveLowPinNotation() {
    OrigWriteActiveLowNotation = DefWriteActiveLowPinNotation;
    OrigReadActiveLowNotation = DefReadActiveLowPinNotation;
}

int CPFCoreSetupAPI::IsPinReadActiveLow(const std::string& pin) const {
    switch (OrigReadActiveLowNotation) {
    case PFActiveLow_Suffix_Star:
        return EndsWithStar(pin) ? 1 : 0;
    case PFActiveLow_Suffix_N:
        return EndsWithUnderscoreN(pin, true) ? 1 : 0;
    default:
        return EndsWithStar(pin) || EndsWithUnderscoreN(pin, true) ? 1 : 0;
    }
}

int CPFCoreSetupAPI::IsPinWriteActiveLow(const std::string& pin) const {
    if (OrigWriteActiveLowNotation == PFActiveLow_Suffix_N) {
        return EndsWithUnderscoreN(pin, true) ? 1 : 0;
    }
    return EndsWithStar(pin) ? 1 : 0;
}

int CPFCoreSetupAPI::CreateActiveHighPin(std::string& pin) const {
    if (pin.empty()) {
        return 0;
    }
    if (EndsWithStar(pin)) {
        pin.pop_back();
    } else if (EndsWithUnderscoreN(pin, false)) {
        pin.resize(pin.size() - 2);
    } else if (pin.front() == '-') {
        pin.erase(0, 1);
    }
    return 1;
}

int CPFCoreSetupAPI::CreateActiveLowPin(std::string& pin) const {
    if (pin.empty()) {
        return 0;
    }
    try {
        pin += OrigWriteActiveLowNotation == PFActiveLow_Suffix_N ? "_N" : "*";
    } catch (const std::bad_alloc&) {
        return 0; // the name is unchanged
    }
    return 1;
}

int CPFCoreSetupAPI::GetAssertionChar(std::string& suffix) const {
    suffix = OrigWriteActiveLowNotation == PFActiveLow_Suffix_N ? "_N" : "*";
    return 1;
}

int CPFCoreSetupAPI::ReadIgnoreSymbolPinText() {
    const char* value = std::getenv("QRV_LMAN_IGNORE_PINTEXT");
    IgnoreSymbolPinText = value != nullptr && std::string(value) == "TRUE" ? 1 : 0;
    return IgnoreSymbolPinText;
}

int CPFCoreSetupAPI::HasUseSplitInstPropChanged() {
    if (UseSplitInstProp == OrigUseSplitInstProp) {
        return 0;
    }
    OrigUseSplitInstProp = UseSplitInstProp;
    return 1;
}

void CPFCoreSetupAPI::UpdateOrigUseSplitInstProp() {
    OrigUseSplitInstProp = UseSplitInstProp;
}
