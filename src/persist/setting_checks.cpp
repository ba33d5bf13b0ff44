#include "persist/setting_checks.h"

#include "base/ascii_text.h"
#include "persist/settings_entries.h"
#include "setup/load_checks.h"
#include "setup/number_text.h"
#include "setup/setting_rules.h"
#include "setup/setup_store.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace pfsetup {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decimal digits after an optional sign, and nothing else.
bool IsWholeNumberText(const std::string& text) {
    const size_t first = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    return text.size() > first && std::all_of(text.begin() + first, text.end(), IsDigit);
}

// A sign, digits with at most one point, an exponent; no white space, hex, inf or nan.
bool IsDecimalText(const std::string& text) {
    size_t i = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && IsDigit(text[i]); ++i)
            ++digits;
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const size_t exponent = i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        if (i == exponent)
            return false;
    }
    return i == text.size();
}

// A whole number within [min, max], written as one.
bool WholeNumberWithin(const std::string& text, long long min, long long max) {
    if (!IsWholeNumberText(text) || text.size() > 18)
        return false;
    const long long n = std::stoll(text);
    return n >= min && n <= max;
}

bool Among(const SettingKey& row, const std::string& value) {
    return std::any_of(row.choices.begin(), row.choices.end(), [&](const SettingChoice& c) {
        return row.anyCase ? EqualsIgnoreCase(value, c.text) : value == c.text;
    });
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

bool CheckPinLoads(const SettingKey& row, const std::string& value, std::string& problem) {
    const std::vector<std::string> f = SplitAtCommas(value);
    if (f.size() != 5) {
        problem = "allowed: five fields " + AllowedText(row);
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
            problem = std::string(names[i]) + " " + Quoted(load) + " is not a load; allowed: " +
                      (negative ? "\"*\" or a negative number such as -0.01"
                                : "\"*\" or a positive number such as 0.01") +
                      ", or \"x\" for none";
            return false;
        }
    }
    if (!Among(row, f[4])) {
        problem = "position " + Quoted(f[4]) + " is unknown; allowed: one of \"Bottom\", " +
                  "\"Left\", \"Right\", \"Top\"";
        return false;
    }
    return true;
}

bool CheckProperty(const std::string& name, const std::string& value, std::string& problem) {
    if (std::any_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; })) {
        problem = "property names are upper case";
        return false;
    }
    if (SplitAtCommas(value).size() < 5) {
        problem = "allowed: five fields \"type,value,required,visibility,alignment\"";
        return false;
    }
    const std::vector<std::string> f = SplitPropertyFields(value);
    if (!WholeNumberWithin(f[0], 0, 0xBF) || (std::stoll(f[0]) & 0x40)) {
        problem = "type " + Quoted(f[0]) +
                  " is not a set of contexts; allowed: the sum of 1 symbol, 2 symbol pin, "
                  "4 package, 8 package pin, 16 part table global, 32 part table package, "
                  "128 part table physical";
        return false;
    }
    const int type = static_cast<int>(std::stoll(f[0]));
    if ((type & 0x10) && (type & 0xA0)) {
        problem = "a part-table property is global (16) or per package (32) and physical (128), "
                  "not both";
        return false;
    }
    std::string error;
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
    if (f[2] != "Yes" && f[2] != "No") {
        problem = "required " + Quoted(f[2]) + "; allowed: one of \"Yes\", \"No\"";
        return false;
    }
    const bool onSymbol = type & 0x03;
    const char* const otherwise = onSymbol ? "" : ", or empty for a property not on symbols";
    static const char* const visibilities[] = {"Name", "Value", "Both", "Invisible"};
    static const char* const alignments[] = {"Left", "Right", "Center"};
    auto listed = [](const std::string& text, const auto& list) {
        return std::find(std::begin(list), std::end(list), text) != std::end(list);
    };
    if (!(f[3].empty() && !onSymbol) && !listed(f[3], visibilities)) {
        problem = "visibility " + Quoted(f[3]) +
                  "; allowed: one of \"Name\", \"Value\", \"Both\", \"Invisible\"" + otherwise;
        return false;
    }
    if (!(f[4].empty() && !onSymbol) && !listed(f[4], alignments)) {
        problem = "alignment " + Quoted(f[4]) +
                  "; allowed: one of \"Left\", \"Right\", \"Center\"" + otherwise;
        return false;
    }
    return true;
}

bool CheckValue(const SettingKey& row, const std::string& key, const std::string& value,
                std::string& problem) {
    switch (row.form) {
    case ValueForm::Text:
    case ValueForm::Flag:
    case ValueForm::NumericFlag:
        if (Among(row, value))
            return true;
        break;
    case ValueForm::Code:
    case ValueForm::Integer:
        if (WholeNumberWithin(value, row.min, row.max))
            return true;
        break;
    case ValueForm::Fraction: {
        // Kept as a 32-bit float and written with six decimals: what is written must still be
        // above 0 when it is read back.
        const double n = ParseDecimal(value);
        if (IsDecimalText(value) && n > 0 && n <= FLT_MAX &&
            ParseDecimal(FormatFixed6(static_cast<float>(n))) > 0)
            return true;
        break;
    }
    case ValueForm::PinLoads:
        return CheckPinLoads(row, value, problem);
    case ValueForm::Property:
        return CheckProperty(key.substr(5), value, problem);
    case ValueForm::NumberList:
        if (value.empty())
            return true;
        for (const std::string& item : SplitAtCommas(value)) {
            if (!WholeNumberWithin(item, row.min, row.max)) {
                problem = "message number " + Quoted(item) + "; allowed: " + AllowedText(row);
                return false;
            }
        }
        return true;
    case ValueForm::TextList:
        if (value.empty())
            return true;
        for (const std::string& item : SplitAtCommas(value)) {
            if (item.empty()) {
                problem = "an empty placeholder; allowed: " + AllowedText(row);
                return false;
            }
        }
        return true;
    }
    problem = "allowed: " + AllowedText(row);
    return false;
}

size_t EditDistanceIgnoringCase(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            const bool same = AsciiUpper(a[i - 1]) == AsciiUpper(b[j - 1]);
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Index into an interpretation's list of choices, -1 for a code outside it (and no overflow
// for any int).
int ChoiceIndex(int code) {
    return code >= 1 && code <= 8 ? code - 1 : -1;
}

std::string OneLine(const char* text) {
    std::string line;
    for (const char* c = text; *c; ++c) {
        if (*c != '\n')
            line += *c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    return line;
}

} // namespace

bool CheckSettingEntry(const std::string& key, const std::string& value, std::string& problem) {
    const SettingKey* row = FindSettingKey(key);
    if (!row) {
        problem = "not a setting key; keys look like \"Symbol_GridSize\", \"PinType_TS\", "
                  "\"Prop_TOLERANCE\"";
        return false;
    }
    if (const char* unstorable = UnstorableTextProblem(value)) {
        problem = std::string("cannot be stored in a project file: it ") + unstorable;
        return false;
    }
    return CheckValue(*row, key, value, problem);
}

std::string DescribeRead(const std::string& key, const std::string& value) {
    const SettingKey* row = FindSettingKey(key);
    if (!row)
        return "a read ignores it";
    CPFCoreSetupAPI store;
    std::string before, after;
    SettingValue(store, key, before);
    const bool taken = ReadSettingsEntry(store, key, value);
    std::string log;
    store.GetLogError(log);
    const bool holds = SettingValue(store, key, after);
    if (!holds || (!taken && after == before))
        return "a read ignores it (the setting keeps its value)";
    const bool noChoice = row->form == ValueForm::Code && !Among(*row, after);
    if (after == value && !noChoice)
        return "";
    return "a read takes it as '" + after + "'" +
           (noChoice ? ", which is none of the choices" : "");
}

std::string SuggestSettingKey(const std::string& key) {
    if (key.size() > 5 && EqualsIgnoreCase(key.substr(0, 5), "Prop_"))
        return "Prop_" + key.substr(5);
    std::string best, completion;
    size_t bestDistance = std::max<size_t>(2, key.size() / 4) + 1;
    for (const std::string& known : AllSettingKeys()) {
        const size_t lengths =
            std::max(key.size(), known.size()) - std::min(key.size(), known.size());
        const size_t distance =
            lengths < bestDistance ? EditDistanceIgnoringCase(key, known) : lengths;
        if (distance < bestDistance) {
            best = known;
            bestDistance = distance;
        }
        // A key cut short: the shortest known key it begins.
        if (key.size() >= 4 && known.size() > key.size() &&
            EqualsIgnoreCase(known.substr(0, key.size()), key) &&
            (completion.empty() || known.size() < completion.size()))
            completion = known;
    }
    return best.empty() ? completion : best;
}

std::vector<SettingsConflict> FindSettingsConflicts(CPFCoreSetupAPI& store) {
    std::vector<SettingsConflict> conflicts;
    float grid = 0, note = 0;
    int leftRight = 0, topBottom = 0;
    store.GetDefGridSize(grid);
    store.GetDefNoteSize(note);
    store.GetDefSymbolLengthIncrement(leftRight);
    store.GetDefSymbolWidthIncrement(topBottom);
    if (const char* problem = SymbolSizesProblem(note, grid, leftRight, topBottom)) {
        std::vector<std::string> keys;
        if (note > std::min(leftRight, topBottom))
            keys = {"Symbol_NoteSize", "Symbol_PinSpacing_LeftRight",
                    "Symbol_PinSpacing_TopBottom"};
        else if (!(grid > 0))
            keys = {"Symbol_GridSize"};
        else if (!(note > 0))
            keys = {"Symbol_NoteSize"};
        else
            keys = {"Symbol_PinSpacing_LeftRight", "Symbol_PinSpacing_TopBottom"};
        conflicts.push_back({OneLine(problem), keys});
    }

    PFActiveLow read{}, write{};
    store.GetDefReadActiveLowPinNotation(read);
    store.GetDefWriteActiveLowPinNotation(write);
    if (read != PFActiveLow_Suffix_Star_And_N && write != read) {
        std::string readText, writeText;
        store.GetDefReadActiveLowPinNotation(readText);
        store.GetDefWriteActiveLowPinNotation(writeText);
        conflicts.push_back({"low-asserted pins are written with the suffix they are read with: "
                             "Format_ReadActiveLow " +
                                 Quoted(readText) + " needs Format_WriteActiveLow " +
                                 Quoted(readText) + ", not " + Quoted(writeText),
                             {"Format_WriteActiveLow", "Format_ReadActiveLow"}});
    }

    PFPinInterpret_AlphaNum a{};
    PFPinInterpret_NumAlpha n{};
    PFPinInterpret_NumAlphaNum t{};
    store.GetAlphaNumValue(a);
    store.GetNumAlphaValue(n);
    store.GetNumAlphaNumValue(t);
    std::string message;
    if (InterpretationConflict(ChoiceIndex(a), ChoiceIndex(n), ChoiceIndex(t), message))
        conflicts.push_back(
            {OneLine(message.c_str()),
             {"Interpretation_AlphaNum", "Interpretation_NumAlpha", "Interpretation_NumAlphaNum"}});
    return conflicts;
}

} // namespace pfsetup
