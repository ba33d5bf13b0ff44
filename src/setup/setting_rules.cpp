#include "setup/setting_rules.h"

#include "base/ascii_text.h"

#include <algorithm>

namespace {

const char* const kReservedSymbol[] = {"HAS_FIXED_SIZE", "NEEDS_NO_SIZE",   "PART_NAME",
                                       "PACK_TYPE",      "VALID_PACK_TYPE", "BUBBLE_GROUP",
                                       "ALT_SYMBOLS"};
const char* const kReservedSymbolPin[] = {"PIN_STUBS_AFTER", "PIN_STUBS_BEFORE", "PIN_NAME"};
const char* const kReservedPackage[] = {"CLASS",      "NC_PINS",    "PART_NAME",  "PHYS_DES_PREFIX",
                                        "POWER_PINS", "JEDEC_TYPE", "ALT_SYMBOLS"};
const char* const kReservedPackagePin[] = {
    "ALLOW_CONNECT", "BIDIRECTIONAL", "INPUT_LOAD",  "NO_ASSERT_CHECK", "NO_DIR_CHECK",
    "NO_IO_CHECK",   "NO_LOAD_CHECK", "OUTPUT_LOAD", "OUTPUT_TYPE",     "PIN_GROUP",
    "PIN_NUMBER",    "PIN_TYPE",      "PINUSE",      "UNKNOWN_LOADING"};

template <size_t N>
bool Listed(const char* const (&list)[N], const std::string& name) {
    return std::any_of(std::begin(list), std::end(list),
                       [&name](const char* entry) { return name == entry; });
}

} // namespace

const char* pfsetup::UnstorableTextProblem(std::string_view text) {
    if (text.find('\n') != std::string_view::npos)
        return "holds a line break";
    if (text.find('\r') != std::string_view::npos)
        return "holds a carriage return";
    if (text.find('\0') != std::string_view::npos)
        return "holds a NUL character";
    if (QuoteKinds(text) == 3)
        return "holds both quote characters (' and \")";
    return nullptr;
}

int pfsetup::QuoteKinds(std::string_view text) {
    return (text.find('\'') != std::string_view::npos ? 1 : 0) |
           (text.find('"') != std::string_view::npos ? 2 : 0);
}

const char* pfsetup::SettingNameProblem(std::string_view name) {
    if (name.empty())
        return "is empty";
    if (const char* problem = UnstorableTextProblem(name))
        return problem;
    if (name.find('/') != std::string_view::npos)
        return "holds a \"/\", which separates the names of the settings tree";
    return nullptr;
}

const char* pfsetup::PinLoadProblem(std::string_view load) {
    if (const char* problem = UnstorableTextProblem(load))
        return problem;
    if (load.find(',') != std::string_view::npos)
        return "holds a comma, which separates the loads of a pin type";
    if (load == "x")
        return "is \"x\", which the project files read as no load";
    return nullptr;
}

const char* pfsetup::PlaceHolderProblem(std::string_view text) {
    if (text.empty())
        return "is empty";
    if (text.find(',') != std::string_view::npos)
        return "holds a comma, which separates placeholders";
    return UnstorableTextProblem(text);
}

int IsReservedPropertyName(const std::string& name, int context) {
    const std::string upper = pfsetup::UpperCopy(name);
    switch (context) {
    case 1:
        return Listed(kReservedSymbol, upper) ? 0 : 1;
    case 2:
        return Listed(kReservedSymbolPin, upper) ? 0 : 1;
    case 3:
        return Listed(kReservedPackage, upper) ? 0 : 1;
    case 4:
        return Listed(kReservedPackagePin, upper) ? 0 : 1;
    default:
        return 1;
    }
}

int IsValidPropertyName(std::string name, int context, std::string& error) {
    name = pfsetup::UpperCopy(name);
    if (name.empty()) {
        error = "ERROR:Null string not allowed in property name field";
        return 0;
    }
    static const std::string allowed = "ABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789$";
    if (name.find_first_not_of(allowed) != std::string::npos) {
        error = "ERROR:Invalid characters found in property name field";
        return 0;
    }
    if (IsReservedPropertyName(name, context) == 0) {
        error = "ERROR:Invalid entry in property name field";
        return 0;
    }
    return 1;
}

int IsValidPowerGroupValue(const std::string& value, std::string& error) {
    std::string rest = value;
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string item = rest.substr(0, comma);
        rest = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
        const size_t equals = item.find('=');
        if (item.empty() || equals == std::string::npos || equals == 0 ||
            equals + 1 == item.size()) {
            error = "ERROR:Syntax error in value field for POWER_GROUP property.";
            return 0;
        }
    }
    return 1;
}

int IsValidPropertyValue(std::string name, std::string value, int context, std::string& error) {
    if (value.empty())
        return 1;
    name = pfsetup::UpperCopy(name);
    value = pfsetup::UpperCopy(value);
    if (value.find_first_of("\"!'") != std::string::npos) {
        error = "ERROR:Invalid characters found in property value field";
        return 0;
    }
    if ((context == 1 || context == 3) && name == "POWER_GROUP")
        return IsValidPowerGroupValue(value, error);
    return 1;
}

namespace pfsetup {

const char* SymbolSizesProblem(double pinTextSize, double grid, double leftRight,
                               double topBottom) {
    if (pinTextSize > std::min(leftRight, topBottom))
        return "\nError - Since pin text size is greater than the pin spacing,\npin text and "
               "symbol pin properties may get overlapped.";
    if (!(grid > 0))
        return "\nError - Incorrect grid size";
    if (!(pinTextSize > 0))
        return "\nError - Incorrect pin note size";
    if (!(leftRight > 0) || !(topBottom > 0))
        return "\nError - Incorrect pin spacing";
    return nullptr;
}

namespace {

enum Kind { BN, BN_B, BN_S, B_BN, S_BN, G_BN, G_BN_B, G_BN_S, None };

bool IsGroup(Kind k) {
    return k == G_BN || k == G_BN_B || k == G_BN_S;
}

bool Compatible(Kind a, Kind b) {
    if (a == b)
        return true;
    if (IsGroup(a) || IsGroup(b))
        return IsGroup(a) && IsGroup(b);
    auto pair = [a, b](Kind x, Kind y) { return (a == x && b == y) || (a == y && b == x); };
    return !pair(BN_B, B_BN) && !pair(BN_S, S_BN);
}

Kind KindOf(int index, const Kind* kinds, int count) {
    return index >= 0 && index < count ? kinds[index] : None;
}

} // namespace

bool InterpretationConflict(int alphaNumIndex, int numAlphaIndex, int numAlphaNumIndex,
                            std::string& message) {
    static const Kind alphaNum[] = {BN, BN_B, BN_S};
    static const Kind numAlpha[] = {BN, G_BN, B_BN, S_BN};
    static const Kind numAlphaNum[] = {BN, BN_B, BN_S, B_BN, S_BN, G_BN, G_BN_B, G_BN_S};
    const Kind t = KindOf(numAlphaNumIndex, numAlphaNum, 8);
    const Kind n = KindOf(numAlphaIndex, numAlpha, 4);
    const Kind a = KindOf(alphaNumIndex, alphaNum, 3);
    if (n != None && t != None && !Compatible(n, t)) {
        message = IsGroup(t) ? "The Numeral AlphaNumeral interpretation should be \ngroup based."
                             : "The Numeral AlphaNumeral interpretation is conflicting \nwith the "
                               "Numeral AlphaNumeral Numeral interpretation.";
        return true;
    }
    if (t != None && IsGroup(t))
        return false;
    const bool withT = t == None || Compatible(a, t);
    const bool withN = n == None || Compatible(a, n);
    if (a != None && !(withT && withN)) {
        message = "The AlphaNumeral Numeral interpretation is conflicting.";
        return true;
    }
    return false;
}

} // namespace pfsetup
