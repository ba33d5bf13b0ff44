#include "setup/setting_rules.h"

#include "base/ascii_text.h"
#include "setup/setting_tables.h"

#include <algorithm>

namespace {

bool Listed(const char* const* list, const std::string& name) {
    for (; *list; ++list) {
        if (name == *list) {
            return true;
        }
    }
    return false;
}

} // namespace

const char* pfsetup::UnstorableTextProblem(std::string_view text) {
    if (text.find('\n') != std::string_view::npos) {
        return "holds a line break";
    }
    if (text.find('\r') != std::string_view::npos) {
        return "holds a carriage return";
    }
    if (text.find('\0') != std::string_view::npos) {
        return "holds a NUL character";
    }
    if (QuoteKinds(text) == 3) {
        return "holds both quote characters (' and \")";
    }
    return nullptr;
}

int pfsetup::QuoteKinds(std::string_view text) {
    return (text.find('\'') != std::string_view::npos ? 1 : 0) |
           (text.find('"') != std::string_view::npos ? 2 : 0);
}

const char* pfsetup::SettingNameProblem(std::string_view name) {
    if (name.empty()) {
        return "is empty";
    }
    if (const char* problem = UnstorableTextProblem(name)) {
        return problem;
    }
    if (name.find('/') != std::string_view::npos) {
        return "holds a \"/\", which separates the names of the settings tree";
    }
    return nullptr;
}

const char* pfsetup::PinLoadProblem(std::string_view load) {
    if (const char* problem = UnstorableTextProblem(load)) {
        return problem;
    }
    if (load.find(',') != std::string_view::npos) {
        return "holds a comma, which separates the loads of a pin type";
    }
    if (load == "x") {
        return "is \"x\", which the project files read as no load";
    }
    return nullptr;
}

const char* pfsetup::PlaceHolderProblem(std::string_view text) {
    if (text.empty()) {
        return "is empty";
    }
    if (text.find(',') != std::string_view::npos) {
        return "holds a comma, which separates placeholders";
    }
    return UnstorableTextProblem(text);
}

int IsReservedPropertyName(const std::string& name, int context) {
    const pfsetup::PropertyContextRow* row = pfsetup::ContextOfSingle(context);
    return row && Listed(row->reserved, pfsetup::UpperCopy(name)) ? 0 : 1;
}

int IsValidPropertyName(std::string name, int context, std::string& error) {
    name = pfsetup::UpperCopy(name);
    if (name.empty()) {
        error = "ERROR:Null string not allowed in property name field";
        return 0;
    }
    if (name.find_first_not_of(kPropertyNameCharacters) != std::string::npos) {
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
    if (value.empty()) {
        return 1;
    }
    name = pfsetup::UpperCopy(name);
    value = pfsetup::UpperCopy(value);
    if (value.find_first_of(kPropertyValueForbidden) != std::string::npos) {
        error = "ERROR:Invalid characters found in property value field";
        return 0;
    }
    if ((context == 1 || context == 3) && name == "POWER_GROUP") {
        return IsValidPowerGroupValue(value, error);
    }
    return 1;
}

namespace pfsetup {

const char* SymbolSizesProblem(double pinTextSize, double grid, double leftRight,
                               double topBottom) {
    if (pinTextSize > std::min(leftRight, topBottom)) {
        return "\nError - Since pin text size is greater than the pin spacing,\npin text and "
               "symbol pin properties may get overlapped.";
    }
    if (!(grid > 0)) {
        return kBadGridSize;
    }
    if (!(pinTextSize > 0)) {
        return kBadPinTextSize;
    }
    if (!(leftRight > 0) || !(topBottom > 0)) {
        return kBadPinSpacing;
    }
    return nullptr;
}

std::string PinLoadRefusal(const std::string& pinType, int column, const std::string& load) {
    if (IsValidLoadOf(column, load)) {
        return std::string();
    }
    return "\n" + pinType + " Pin : Incorrect Load Value of " + load;
}

std::string PropertyNameRefusal(const std::string& name, int context) {
    std::string error;
    return IsValidPropertyName(name, context, error) ? std::string() : error;
}

std::string PropertyValueRefusal(const std::string& name, const std::string& value, int context) {
    std::string error;
    if (!IsValidPropertyValue(name, value, context, error)) {
        return error;
    }
    if (const char* problem = UnstorableTextProblem(value)) {
        return std::string("ERROR:Invalid characters found in property value field; it ") +
               problem + ", which a project file cannot keep";
    }
    return std::string();
}

std::string PropertyRefusal(const std::string& name, const std::string& value, int type,
                            bool* inValue) {
    int contexts[4] = {};
    int count = 0;
    for (const PropertyContextRow& row : kPropertyContexts) {
        if (row.single != PFContextNone && (type & row.bit)) {
            contexts[count++] = row.single;
        }
    }
    if (count == 0) {
        contexts[count++] = PFContextNone;
    }
    for (int i = 0; i < count; ++i) {
        std::string error = PropertyNameRefusal(name, contexts[i]);
        const bool nameRefused = !error.empty();
        if (!nameRefused) {
            error = PropertyValueRefusal(name, value, contexts[i]);
        }
        if (!error.empty()) {
            if (inValue) {
                *inValue = !nameRefused;
            }
            return error;
        }
    }
    return std::string();
}

namespace {

enum Kind { BN, BN_B, BN_S, B_BN, S_BN, G_BN, G_BN_B, G_BN_S, None };

bool IsGroup(Kind k) {
    return k == G_BN || k == G_BN_B || k == G_BN_S;
}

bool Compatible(Kind a, Kind b) {
    if (a == b) {
        return true;
    }
    if (IsGroup(a) || IsGroup(b)) {
        return IsGroup(a) && IsGroup(b);
    }
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
    if (t != None && IsGroup(t)) {
        return false;
    }
    const bool withT = t == None || Compatible(a, t);
    const bool withN = n == None || Compatible(a, n);
    if (a != None && !(withT && withN)) {
        message = "The AlphaNumeral Numeral interpretation is conflicting.";
        return true;
    }
    return false;
}

} // namespace pfsetup
