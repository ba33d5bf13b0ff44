#include "persist/setting_checks.h"

#include "persist/settings_entries.h"
#include "setup/ascii_text.h"
#include "setup/load_checks.h"
#include "setup/number_text.h"
#include "setup/setting_rules.h"
#include "setup/setup_store.h"

#include <cmath>
#include <initializer_list>

namespace pfsetup {

namespace {

std::string OneOf(std::initializer_list<const char*> texts) {
    std::string list;
    for (const char* text : texts)
        list += std::string(list.empty() ? "" : ", ") + "\"" + text + "\"";
    return "one of " + list;
}

bool Among(const std::string& value, std::initializer_list<const char*> texts, bool anyCase) {
    for (const char* text : texts)
        if (anyCase ? EqualsIgnoringAsciiCase(value, text) : value == text)
            return true;
    return false;
}

bool Choice(const std::string& value, std::initializer_list<const char*> texts, bool anyCase,
            std::string& problem) {
    if (Among(value, texts, anyCase))
        return true;
    problem = "allowed: " + OneOf(texts) + (anyCase ? " (any letter case)" : "");
    return false;
}

bool WholeNumber(const std::string& value, long min, long max, std::string& problem) {
    bool digits = !value.empty();
    for (size_t i = 0; i < value.size(); ++i)
        digits = digits && ((value[i] >= '0' && value[i] <= '9') || (i == 0 && value[i] == '-'));
    if (digits && value != "-" && value.size() < 11) {
        const long n = std::stol(value);
        if (n >= min && n <= max)
            return true;
    }
    problem = "allowed: a whole number from " + FormatInt(min) + " to " + FormatInt(max);
    return false;
}

bool PositiveNumber(const std::string& value, std::string& problem) {
    size_t used = 0;
    const double n = ParseDecimal(value, &used);
    if (used == value.size() && !value.empty() && std::isfinite(n) && n > 0 &&
        value.find_first_of(" \t") == std::string::npos)
        return true;
    problem = "allowed: a decimal number greater than 0, such as 0.05";
    return false;
}

bool CheckScalar(const std::string& key, const std::string& v, std::string& p) {
    if (key == "Symbol_Units")
        return Choice(v, {"Inches"}, false, p);
    if (key == "Symbol_GridSize" || key == "Symbol_NoteSize")
        return PositiveNumber(v, p);
    if (key == "Symbol_OutLine")
        return Choice(v, {"Thin", "Bold"}, false, p);
    if (key == "Symbol_TextStyle")
        return Choice(v, {"Automatic", "Horizontal", "Vertical"}, false, p);
    if (key == "Symbol_Width" || key == "Symbol_Length" || key == "Symbol_PinSpacing_TopBottom" ||
        key == "Symbol_PinSpacing_LeftRight")
        return WholeNumber(v, 1, 100000, p);
    if (key == "UseSplitInstProp" || key == "Use_Group_Format")
        return Choice(v, {"0", "1"}, false, p);
    if (key == "Symbol_UsePinNamesForText" || key == "Format_UseMinusInPackage")
        return Choice(v, {"TRUE", "FALSE"}, true, p);
    if (key == "Format_ReadActiveLow")
        return Choice(
            v, {"ActiveLow_Suffix_Star_And_N", "ActiveLow_Suffix_Star", "ActiveLow_Suffix_N"}, true,
            p);
    if (key == "Format_WriteActiveLow")
        return Choice(v, {"ActiveLow_Suffix_Star", "ActiveLow_Suffix_N"}, true, p);
    if (key == "Interpretation_AlphaNum")
        return WholeNumber(v, 1, 3, p);
    if (key == "Interpretation_NumAlpha")
        return WholeNumber(v, 1, 4, p);
    if (key == "Interpretation_NumAlphaNum")
        return WholeNumber(v, 1, 8, p);
    if (key == "Vector_Format" || key == "Sizeable_Format")
        return Choice(v, {"1", "2"}, false, p);
    return true;
}

std::vector<std::string> SplitAll(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos)
            return parts;
        start = comma + 1;
    }
}

bool CheckPinType(const std::string& value, std::string& problem) {
    const std::vector<std::string> f = SplitAll(value);
    if (f.size() != 5) {
        problem = "allowed: five fields \"Iil,Iih,Iol,Ioh,Position\", an empty load as \"x\"";
        return false;
    }
    static const char* const names[] = {"input low load", "input high load", "output low load",
                                        "output high load"};
    for (int i = 0; i < 4; ++i) {
        const std::string& load = f[i];
        if (load.empty() || load == "x")
            continue;
        const bool negative = i == 0 || i == 3;
        if (!(negative ? IsValidNegativeLoad(load) : IsValidPositiveLoad(load))) {
            problem = std::string(names[i]) + " \"" + load + "\" is not a load; allowed: " +
                      (negative ? "\"*\" or a negative number such as -0.01"
                                : "\"*\" or a positive number such as 0.01") +
                      ", or \"x\" for none";
            return false;
        }
    }
    if (!Among(f[4], {"Bottom", "Left", "Right", "Top"}, false)) {
        problem = "position \"" + f[4] +
                  "\" is unknown; allowed: " + OneOf({"Bottom", "Left", "Right", "Top"});
        return false;
    }
    return true;
}

bool CheckProperty(const std::string& name, const std::string& value, std::string& problem) {
    const std::vector<std::string> f = SplitPropertyFields(value);
    std::string error;
    for (char c : name) {
        if (c >= 'a' && c <= 'z') {
            problem = "property names are upper case";
            return false;
        }
    }
    const size_t fieldCount = SplitAll(value).size();
    if (fieldCount < 5) {
        problem = "allowed: five fields \"type,value,required,visibility,alignment\"";
        return false;
    }
    int type = 0;
    std::string typeProblem;
    if (!WholeNumber(f[0], 0, 0xBF, typeProblem) || (ParseInt(f[0]) & 0x40)) {
        problem = "type \"" + f[0] +
                  "\" is not a set of contexts; allowed: the sum of 1 symbol, 2 symbol pin, "
                  "4 package, 8 package pin, 16 part table global, 32 part table package, "
                  "128 part table physical";
        return false;
    }
    type = ParseInt(f[0]);
    if ((type & 0x10) && (type & 0xA0)) {
        problem = "a part-table property is global (16) or per package (32) and physical (128), "
                  "not both";
        return false;
    }
    const int contexts[][2] = {{0x01, 1}, {0x02, 2}, {0x04, 3}, {0x08, 4}};
    bool any = false;
    for (const auto& [bit, context] : contexts) {
        if (!(type & bit))
            continue;
        any = true;
        if (!IsValidPropertyName(name, context, error) ||
            !IsValidPropertyValue(name, f[1], context, error)) {
            problem = error;
            return false;
        }
    }
    if (!any &&
        (!IsValidPropertyName(name, 0, error) || !IsValidPropertyValue(name, f[1], 0, error))) {
        problem = error;
        return false;
    }
    if (!Among(f[2], {"Yes", "No"}, false)) {
        problem = "required \"" + f[2] + "\"; allowed: " + OneOf({"Yes", "No"});
        return false;
    }
    const bool onSymbol = type & 0x03;
    if (!(f[3].empty() && !onSymbol) &&
        !Among(f[3], {"Name", "Value", "Both", "Invisible"}, false)) {
        problem = "visibility \"" + f[3] +
                  "\"; allowed: " + OneOf({"Name", "Value", "Both", "Invisible"}) +
                  (onSymbol ? "" : ", or empty for a property not on symbols");
        return false;
    }
    if (!(f[4].empty() && !onSymbol) && !Among(f[4], {"Left", "Right", "Center"}, false)) {
        problem = "alignment \"" + f[4] + "\"; allowed: " + OneOf({"Left", "Right", "Center"}) +
                  (onSymbol ? "" : ", or empty for a property not on symbols");
        return false;
    }
    return true;
}

} // namespace

bool CheckSettingEntry(const std::string& key, const std::string& value, std::string& problem) {
    switch (ClassifySettingsKey(key)) {
    case SettingsKeyKind::Ignored:
        problem = "not a setting key; keys look like \"Symbol_GridSize\", \"PinType_TS\", "
                  "\"Prop_TOLERANCE\"";
        return false;
    case SettingsKeyKind::Scalar:
        return CheckScalar(key, value, problem);
    case SettingsKeyKind::PinType:
        return CheckPinType(value, problem);
    case SettingsKeyKind::Property:
        return CheckProperty(key.substr(5), value, problem);
    case SettingsKeyKind::ErrorList:
        if (value.empty())
            return true;
        for (const std::string& item : SplitAll(value)) {
            if (!WholeNumber(item, 0, 65535, problem)) {
                problem = "message number \"" + item + "\"; " + problem;
                return false;
            }
        }
        return true;
    case SettingsKeyKind::PlaceHolders:
        if (value.empty())
            return true;
        for (const std::string& item : SplitAll(value)) {
            if (item.empty()) {
                problem = "an empty placeholder; allowed: texts separated by single commas";
                return false;
            }
        }
        return true;
    }
    return true;
}

std::vector<std::string> CheckSettingsTogether(CPFCoreSetupAPI& store) {
    std::vector<std::string> problems;
    float grid = 0, note = 0;
    int leftRight = 0, topBottom = 0;
    store.GetDefGridSize(grid);
    store.GetDefNoteSize(note);
    store.GetDefSymbolLengthIncrement(leftRight);
    store.GetDefSymbolWidthIncrement(topBottom);
    if (const char* problem = SymbolSizesProblem(note, grid, leftRight, topBottom)) {
        std::string text = problem;
        while (!text.empty() && text.front() == '\n')
            text.erase(0, 1);
        for (char& c : text)
            if (c == '\n')
                c = ' ';
        problems.push_back(text);
    }
    PFPinInterpret_AlphaNum a{};
    PFPinInterpret_NumAlpha n{};
    PFPinInterpret_NumAlphaNum t{};
    store.GetAlphaNumValue(a);
    store.GetNumAlphaValue(n);
    store.GetNumAlphaNumValue(t);
    std::string message;
    if (InterpretationConflict(a - 1, n - 1, t - 1, message)) {
        std::string text;
        for (char c : message)
            if (c != '\n')
                text += c;
        problems.push_back(text);
    }
    return problems;
}

} // namespace pfsetup
