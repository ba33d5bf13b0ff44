// libFuzzer target: the pin-name functions over any name and any notation and interpretation
// values. The first three bytes choose the read and write notations and the interpretations;
// the rest is the pin name.

#include "fuzz_workspace.h"

#include "setup/pin_name_split.h"
#include "setup/setup_store.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Check(bool holds, const char* what) {
    pfsetup::fuzz::Check(holds, "pin_names", what);
}

bool Digits(const std::string& text) {
    return text.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    CPFCoreSetupAPI store;
    store.PutDefReadActiveLowPinNotation(static_cast<PFActiveLow>(data[0] % 4));
    store.PutDefWriteActiveLowPinNotation(static_cast<PFActiveLow>(data[0] / 4 % 4));
    store.UpdateOrigReadWriteActiveLowPinNotation();
    const std::string name(reinterpret_cast<const char*>(data) + 3, size - 3);

    const int readLow = store.IsPinReadActiveLow(name);
    const int writeLow = store.IsPinWriteActiveLow(name);
    Check(readLow == 0 || readLow == 1, "IsPinReadActiveLow gives neither 0 nor 1");
    Check(writeLow == 0 || writeLow == 1, "IsPinWriteActiveLow gives neither 0 nor 1");

    std::string low = name;
    Check(store.CreateActiveLowPin(low) == (name.empty() ? 0 : 1), "CreateActiveLowPin result");
    if (!name.empty()) {
        std::string suffix;
        store.GetAssertionChar(suffix);
        Check(low == name + suffix, "the active-low name is not the name and the suffix");
        Check(store.IsPinWriteActiveLow(low) == 1, "the active-low name is not active low");
        PFActiveLow read{};
        store.GetDefReadActiveLowPinNotation(read);
        if (read == PFActiveLow_Suffix_Star_And_N ||
            (read == PFActiveLow_Suffix_N) == (suffix == "_N"))
            Check(store.IsPinReadActiveLow(low) == 1, "the active-low name does not read so");
        std::string high = low;
        Check(store.CreateActiveHighPin(high) == 1 && high == name,
              "the active-high form of the active-low name is not the name");
    }

    const int alphaNum = data[1] % 5, numAlpha = data[1] / 5 % 6, numAlphaNum = data[2] % 10;
    const pfsetup::PinNameParts parts =
        pfsetup::SplitPinName(name, alphaNum, numAlpha, numAlphaNum);
    Check(parts.group.size() + parts.baseName.size() + parts.bit.size() + parts.slot.size() ==
              name.size(),
          "the parts do not add up to the name");
    Check(Digits(parts.group) && Digits(parts.bit) && Digits(parts.slot),
          "a group, bit or slot holds more than digits");
    Check(name.find(parts.baseName) != std::string::npos, "the base name is no part of the name");
    const pfsetup::PinNameParts whole = pfsetup::SplitPinName(name, 1, 1, 1);
    Check(whole.baseName == name, "with every pattern read as base name the name is not whole");
    return 0;
}
