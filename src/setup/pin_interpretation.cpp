#include "setup/setup_store.h"

#include "setup/setting_rules.h"

#include <algorithm>
#include <new>
#include <utility>

int CPFCoreSetupAPI::PutAlphaNumValue(PFPinInterpret_AlphaNum value) {
    AlphaNumValue = value;
    return 1;
}

int CPFCoreSetupAPI::GetAlphaNumValue(PFPinInterpret_AlphaNum& value) const {
    value = AlphaNumValue;
    return 1;
}

int CPFCoreSetupAPI::PutNumAlphaValue(PFPinInterpret_NumAlpha value) {
    NumAlphaValue = value;
    return 1;
}

int CPFCoreSetupAPI::GetNumAlphaValue(PFPinInterpret_NumAlpha& value) const {
    value = NumAlphaValue;
    return 1;
}

int CPFCoreSetupAPI::PutNumAlphaNumValue(PFPinInterpret_NumAlphaNum value) {
    NumAlphaNumValue = value;
    return 1;
}

int CPFCoreSetupAPI::GetNumAlphaNumValue(PFPinInterpret_NumAlphaNum& value) const {
    value = NumAlphaNumValue;
    return 1;
}

void CPFCoreSetupAPI::SetupSaveForTemplate() {
    SaveSections = static_cast<uint16_t>(SaveSections & ~0x0008u);
}

// A failed allocation leaves the list as it was rather than escaping to the host.
void CPFCoreSetupAPI::AddToOverriddenError(uint16_t number) {
    try {
        OverriddenErrors.push_back(number);
    } catch (const std::bad_alloc&) {
    }
}

int CPFCoreSetupAPI::IsOverriddenError(uint16_t number) const {
    return std::find(OverriddenErrors.begin(), OverriddenErrors.end(), number) !=
                   OverriddenErrors.end()
               ? 1
               : 0;
}

int CPFCoreSetupAPI::AddToPackagePlaceHolder(std::string placeHolder) {
    const int quotes = PlaceHolderQuotes | pfsetup::QuoteKinds(placeHolder);
    if (pfsetup::PlaceHolderProblem(placeHolder) != nullptr || quotes == 3) {
        return 0;
    }
    try {
        PackagePlaceHolders.push_back(std::move(placeHolder));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    PlaceHolderQuotes = quotes;
    return 1;
}

int CPFCoreSetupAPI::IsPackagePlaceHolder(const std::string& text) const {
    if (text == "?") {
        return 1;
    }
    return std::find(PackagePlaceHolders.begin(), PackagePlaceHolders.end(), text) !=
                   PackagePlaceHolders.end()
               ? 1
               : 0;
}
