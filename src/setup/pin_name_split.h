#pragma once
// How a pin name of the patterns A1 (string, numeral), 1A (numeral, string) and 1A1 (numeral,
// string, numeral) splits into group, base name, bit and slot under the store's
// interpretations.

#include <string>

namespace pfsetup {

enum class PinNamePattern { None, AlphaNum, NumAlpha, NumAlphaNum };

struct PinNameParts {
    PinNamePattern pattern = PinNamePattern::None;
    std::string group, baseName, bit, slot;
};

const char* PinNamePatternText(PinNamePattern pattern); // "A1", "1A", "1A1" or "none"

// `alphaNum`, `numAlpha`, `numAlphaNum` are the interpretation values (1 = the whole name is the
// base name). A name of no pattern, or a value outside its list, gives the whole name as the
// base name.
PinNameParts SplitPinName(const std::string& name, int alphaNum, int numAlpha, int numAlphaNum);

} // namespace pfsetup
