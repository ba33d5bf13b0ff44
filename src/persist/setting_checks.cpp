#include "persist/setting_checks.h"

#include "base/ascii_text.h"
#include "persist/settings_entries.h"
#include "projfile/value_expansion.h"
#include "setup/load_checks.h"
#include "setup/number_text.h"
#include "setup/setting_rules.h"
#include "setup/setting_tables.h"
#include "setup/setup_store.h"
#include "setup/text_fields.h"

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

// One decimal number and nothing else: no white space, hex, inf or nan.
bool IsDecimalText(const std::string& text) {
    return !text.empty() && DecimalLength(text) == text.size();
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

bool CheckPinLoads(const SettingKey& row, const std::string& key, const std::string& value,
                   std::string& problem) {
    const std::vector<std::string> f = SplitAtCommas(value);
    if (f.size() != 5) {
        problem = "allowed: five fields " + AllowedText(row);
        return false;
    }
    for (int column = 0; column < 4; ++column) {
        if (f[column].empty() || f[column] == "x")
            continue;
        const std::string refusal = PinLoadRefusal(PinTypeFromKey(key), column, f[column]);
        if (!refusal.empty()) {
            problem = MessageWords(refusal) + "; allowed for the " + kLoadColumns[column].words +
                      ": " + LoadAllowedText(column, true);
            return false;
        }
    }
    if (!WordList(kPositionWords).Find(f[4])) {
        problem = "position " + Quoted(f[4]) + " is unknown; allowed: one of " +
                  WordList(kPositionWords).Listed();
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
    if (!WholeNumberWithin(f[0], 0, kPropertyContextBits) ||
        (std::stoll(f[0]) & ~kPropertyContextBits)) {
        problem =
            "type " + Quoted(f[0]) + " is not a set of contexts; allowed: " + PropertyTypeText();
        return false;
    }
    const int type = static_cast<int>(std::stoll(f[0]));
    if ((type & PFSetupContextPtfGlobal) &&
        (type & (PFSetupContextPtfPackage | PFSetupContextPtfPhysical))) {
        problem = "a part-table property is global (16) or per package (32) and physical (128), "
                  "not both";
        return false;
    }
    const std::string refusal = PropertyRefusal(name, f[1], type);
    if (!refusal.empty()) {
        problem = MessageWords(refusal);
        return false;
    }
    auto word = [&problem](const char* what, const std::string& text, WordList words,
                           bool emptyAllowed) {
        if (words.Find(text) || (text.empty() && emptyAllowed))
            return true;
        problem = std::string(what) + " " + Quoted(text) + "; allowed: one of " + words.Listed() +
                  (emptyAllowed ? ", or empty for a property not on symbols or symbol pins" : "");
        return false;
    };
    const bool onSymbol = type & (PFSetupContextSymbol | PFSetupContextSymbolPin);
    return word("required", f[2], kRequiredWords, false) &&
           word("visibility", f[3], kVisibilityWords, !onSymbol) &&
           word("alignment", f[4], kAlignmentWords, !onSymbol);
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
        if (value.find(',') != std::string::npos) {
            problem = "use a decimal point, not a comma; allowed: " + AllowedText(row);
            return false;
        }
        break;
    }
    case ValueForm::PinLoads:
        return CheckPinLoads(row, key, value, problem);
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
    if (row.sizeRefusal && !(LeadingNumber(value) > 0))
        problem = MessageWords(row.sizeRefusal) + "; " + problem;
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
    // Pin loads and properties are checked field by field, in the dialog's words.
    const bool byField = row->form == ValueForm::PinLoads || row->form == ValueForm::Property;
    const char* unstorable = byField ? nullptr : UnstorableTextProblem(value);
    if (unstorable) {
        problem = std::string("cannot be stored in a project file: it ") + unstorable;
        return false;
    }
    return CheckValue(*row, key, value, problem);
}

std::string FieldRefusal(const std::string& key, const std::string& text) {
    const SettingKey* row = FindSettingKey(key);
    std::string problem;
    if (!row || CheckSettingEntry(key, text, problem))
        return std::string();
    if (row->sizeRefusal && text.find(',') == std::string::npos && !(LeadingNumber(text) > 0))
        return row->sizeRefusal;
    return std::string(row->label) + ": " + key + " " + Quoted(text) + ": " + problem;
}

std::string MessageWords(const std::string& message) {
    std::string words = OneLine(message.c_str());
    const std::string error = "Error - ";
    if (words.compare(0, error.size(), error) == 0)
        words.erase(0, error.size());
    return words;
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

std::string EntryValueProblem(const std::string& key, const std::string& written) {
    std::string value, error;
    if (!ExpandVariables(written, value, error))
        value = written;
    std::string problem;
    if (CheckSettingEntry(key, value, problem))
        return "";
    const std::string read = DescribeRead(key, value);
    return key + " " + Quoted(written) + ": " + problem + (read.empty() ? "" : "; " + read);
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
