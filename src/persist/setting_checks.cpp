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
#include <array>
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
    if (!IsWholeNumberText(text) || text.size() > 18) {
        return false;
    }
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
        if (f[column].empty() || f[column] == "x") {
            continue;
        }
        if (!PinLoadRefusal(PinTypeFromKey(key), column, f[column]).empty()) {
            problem = std::string("the ") + kLoadColumns[column].words + " " + Quoted(f[column]) +
                      " is not a load of this column; allowed: " + LoadAllowedText(column, true);
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
    if (name.empty()) {
        problem = "the key names no property; allowed: Prop_ and a name, such as Prop_TOLERANCE";
        return false;
    }
    const size_t bad = name.find_first_not_of(kPropertyNameCharacters);
    if (bad != std::string::npos) {
        size_t length = 1; // a whole character of several bytes
        while (bad + length < name.size() && (name[bad + length] & 0xC0) == 0x80) {
            ++length;
        }
        problem = "the name holds " + Quoted(name.substr(bad, length)) +
                  "; allowed in names: upper case letters, digits, \"_\" and \"$\"";
        return false;
    }
    for (const PropertyContextRow& context : kPropertyContexts) {
        if (!(type & context.bit) || IsReservedPropertyName(name, context.single)) {
            continue;
        }
        std::string reserved;
        for (const char* const* n = context.reserved; *n; ++n) {
            reserved += (reserved.empty() ? "" : ", ") + std::string(*n);
        }
        problem = name + " is reserved on a " + context.words +
                  ", which the part builder sets itself; allowed: any other name (reserved on a " +
                  context.words + ": " + reserved + ")";
        return false;
    }
    const size_t forbidden = f[1].find_first_of(kPropertyValueForbidden);
    if (forbidden != std::string::npos) {
        problem = "the value holds " + Quoted(f[1].substr(forbidden, 1)) +
                  "; allowed: a value without \", ! or '";
        return false;
    }
    bool inValue = false;
    const std::string refusal = PropertyRefusal(name, f[1], type, &inValue);
    if (!refusal.empty()) {
        const char* unstorable = UnstorableTextProblem(f[1]);
        if (inValue && unstorable) {
            problem = std::string("the value cannot be stored in a project file: it ") + unstorable;
        } else if (inValue && name == "POWER_GROUP") {
            problem = "the POWER_GROUP value " + Quoted(f[1]) +
                      " is not a list of assignments; allowed: NAME=VALUE items separated by "
                      "commas, such as VCC=14,GND=7";
        } else {
            problem = MessageWords(refusal);
        }
        return false;
    }
    auto word = [&problem](const char* what, const std::string& text, WordList words,
                           bool emptyAllowed) {
        if (words.Find(text) || (text.empty() && emptyAllowed)) {
            return true;
        }
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
        if (Among(row, value)) {
            return true;
        }
        break;
    case ValueForm::Code:
    case ValueForm::Integer:
        if (WholeNumberWithin(value, row.min, row.max)) {
            return true;
        }
        break;
    case ValueForm::Fraction: {
        // Kept as a 32-bit float and written with six decimals: what is written must still be
        // above 0 when it is read back.
        const double n = ParseDecimal(value);
        if (IsDecimalText(value) && n > 0 && n <= FLT_MAX &&
            ParseDecimal(FormatFixed6(static_cast<float>(n))) > 0) {
            return true;
        }
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
        if (value.empty()) {
            return true;
        }
        for (const std::string& item : SplitAtCommas(value)) {
            if (!WholeNumberWithin(item, row.min, row.max)) {
                problem = "message number " + Quoted(item) + "; allowed: " + AllowedText(row);
                return false;
            }
        }
        return true;
    case ValueForm::TextList:
        if (value.empty()) {
            return true;
        }
        for (const std::string& item : SplitAtCommas(value)) {
            if (item.empty()) {
                problem = "an empty placeholder; allowed: " + AllowedText(row);
                return false;
            }
        }
        return true;
    }
    problem = "allowed: " + AllowedText(row);
    if (row.sizeRefusal && !(LeadingNumber(value) > 0)) {
        problem = MessageWords(row.sizeRefusal) + "; " + problem;
    }
    return false;
}

// Index into an interpretation's list of choices, -1 for a code outside it (and no overflow
// for any int).
int ChoiceIndex(int code) {
    return code >= 1 && code <= 8 ? code - 1 : -1;
}

std::string OneLine(const char* text) {
    std::string line;
    for (const char* c = text; *c; ++c) {
        if (*c != '\n') {
            line += *c;
        } else if (!line.empty() && line.back() != ' ') {
            line += ' ';
        }
    }
    return line;
}

constexpr const char* kInterpretationKeys[3] = {
    "Interpretation_AlphaNum", "Interpretation_NumAlpha", "Interpretation_NumAlphaNum"};

// "Interpretation_NumAlpha 2 (G-BN)".
std::string InterpretationText(int k, int code) {
    const SettingKey* row = FindSettingKey(kInterpretationKeys[k]);
    const int index = ChoiceIndex(code);
    const bool known = index >= 0 && static_cast<size_t>(index) < row->choices.size();
    return std::string(kInterpretationKeys[k]) + " " + FormatInt(code) +
           (known ? std::string(" (") + row->choices[index].meaning + ")" : "");
}

// The interpretations that agree with each other and change fewest of `codes` (AlphaNum,
// NumAlpha, NumAlphaNum), keeping the `held` keys (NumAlphaNum when none is held).
std::string AgreeingInterpretations(const std::array<int, 3>& codes,
                                    const std::vector<std::string>& held) {
    bool keep[3] = {false, false, false};
    for (int k = 0; k < 3; ++k) {
        keep[k] = std::find(held.begin(), held.end(), kInterpretationKeys[k]) != held.end();
    }
    if (!keep[0] && !keep[1] && !keep[2]) {
        keep[2] = true;
    }
    std::vector<std::string> options;
    int fewest = 4;
    for (int x = 1; x <= 3; ++x) {
        for (int y = 1; y <= 4; ++y) {
            for (int z = 1; z <= 8; ++z) {
                const int candidate[3] = {x, y, z};
                int changes = 0;
                bool allowed = true;
                std::string text;
                for (int k = 0; k < 3; ++k) {
                    if (candidate[k] == codes[k]) {
                        continue;
                    }
                    allowed = allowed && !keep[k];
                    ++changes;
                    text += (text.empty() ? "" : " and ") + InterpretationText(k, candidate[k]);
                }
                std::string ignored;
                if (!allowed || changes > fewest || changes == 0 ||
                    InterpretationConflict(x - 1, y - 1, z - 1, ignored)) {
                    continue;
                }
                if (changes < fewest) {
                    options.clear();
                }
                fewest = changes;
                options.push_back(text);
            }
        }
    }
    std::string kept;
    for (int k = 0; k < 3; ++k) {
        if (keep[k]) {
            kept += (kept.empty() ? "" : " and ") + InterpretationText(k, codes[k]);
        }
    }
    if (options.empty()) {
        return "interpretations that agree with each other; see pfsetup keys " +
               std::string(kInterpretationKeys[2]);
    }
    std::string listed;
    for (size_t i = 0; i < options.size() && i < 3; ++i) {
        listed += (i ? " or " : "") + options[i];
    }
    return "with " + kept + ": " + listed + (options.size() > 3 ? " or others" : "") +
           ", set in the same command";
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
    if (!row || CheckSettingEntry(key, text, problem)) {
        return std::string();
    }
    std::string words = std::string(row->label) + ": " + key + " " + Quoted(text) + ": " + problem;
    if (row->sizeRefusal && text.find(',') == std::string::npos && !(LeadingNumber(text) > 0)) {
        return row->sizeRefusal + ("\n" + words);
    }
    return words;
}

std::string DialogRefusal(const std::string& dialogText, const std::string& key,
                          const std::string& value) {
    std::string problem;
    if (CheckSettingEntry(key, value, problem)) {
        return dialogText;
    }
    return dialogText + "\n" + key + " " + Quoted(value) + ": " + problem;
}

std::string LoadEntryValue(int column, const std::string& load) {
    std::vector<std::string> fields{"x", "x", "x", "x", kPositionWords[0].text};
    fields[static_cast<size_t>(column)] = load;
    return JoinPropertyFields(fields);
}

std::string PropertyEntryValue(int type, const std::string& value) {
    return JoinPropertyFields({FormatInt(type), value, kRequiredWords[0].text,
                               kVisibilityWords[0].text, kAlignmentWords[0].text});
}

std::string MessageWords(const std::string& message) {
    std::string words = OneLine(message.c_str());
    for (const std::string prefix : {"Error - ", "ERROR:"}) {
        if (words.compare(0, prefix.size(), prefix) == 0) {
            words.erase(0, prefix.size());
        }
    }
    if (!words.empty()) {
        words[0] = AsciiLower(words[0]);
    }
    while (!words.empty() && (words.back() == '.' || words.back() == ' ')) {
        words.pop_back();
    }
    return words;
}

std::string DescribeRead(const std::string& key, const std::string& value) {
    const SettingKey* row = FindSettingKey(key);
    if (!row) {
        return "a read ignores it";
    }
    CPFCoreSetupAPI store;
    std::string before, after;
    SettingValue(store, key, before);
    const bool taken = ReadSettingsEntry(store, key, value);
    std::string log;
    store.GetLogError(log);
    const bool holds = SettingValue(store, key, after);
    if (!holds || (!taken && after == before)) {
        return "a read ignores it (the setting keeps its value)";
    }
    const bool noChoice = row->form == ValueForm::Code && !Among(*row, after);
    if (after == value && !noChoice) {
        return "";
    }
    return "a read takes it as '" + after + "'" +
           (noChoice ? ", which is none of the choices" : "");
}

std::string EntryValueProblem(const std::string& key, const std::string& written) {
    std::string value, error;
    if (!ExpandVariables(written, value, error)) {
        value = written;
    }
    std::string problem;
    if (CheckSettingEntry(key, value, problem)) {
        return "";
    }
    const std::string read = DescribeRead(key, value);
    return key + " " + Quoted(written) + ": " + problem + (read.empty() ? "" : "; " + read);
}

std::string SuggestSettingKey(const std::string& key) {
    if (key.size() > 5 && EqualsIgnoreCase(key.substr(0, 5), "Prop_")) {
        return "Prop_" + key.substr(5);
    }
    const std::vector<std::string> known = AllSettingKeys();
    std::string closest = ClosestWord(key, known);
    if (!closest.empty() || key.size() < 4) {
        return closest;
    }
    // A key cut short: the shortest known key it begins.
    std::string completion;
    for (const std::string& candidate : known) {
        if (candidate.size() > key.size() && StartsWithIgnoreCase(candidate, key) &&
            (completion.empty() || candidate.size() < completion.size())) {
            completion = candidate;
        }
    }
    return completion;
}

std::vector<SettingsConflict> FindSettingsConflicts(CPFCoreSetupAPI& store,
                                                    const std::vector<std::string>& held) {
    std::vector<SettingsConflict> conflicts;
    float grid = 0, note = 0;
    int leftRight = 0, topBottom = 0;
    store.GetDefGridSize(grid);
    store.GetDefNoteSize(note);
    store.GetDefSymbolLengthIncrement(leftRight);
    store.GetDefSymbolWidthIncrement(topBottom);
    if (const char* problem = SymbolSizesProblem(note, grid, leftRight, topBottom)) {
        std::vector<std::string> keys;
        if (note > std::min(leftRight, topBottom)) {
            keys = {"Symbol_NoteSize", "Symbol_PinSpacing_LeftRight",
                    "Symbol_PinSpacing_TopBottom"};
        } else if (!(grid > 0)) {
            keys = {"Symbol_GridSize"};
        } else if (!(note > 0)) {
            keys = {"Symbol_NoteSize"};
        } else {
            keys = {"Symbol_PinSpacing_LeftRight", "Symbol_PinSpacing_TopBottom"};
        }
        std::string allowed;
        if (keys.size() == 3) {
            allowed = "Symbol_NoteSize at most " + FormatInt(std::min(leftRight, topBottom)) +
                      ", the smaller of Symbol_PinSpacing_LeftRight " + FormatInt(leftRight) +
                      " and Symbol_PinSpacing_TopBottom " + FormatInt(topBottom);
        } else {
            allowed = keys[0] + " " + AllowedText(*FindSettingKey(keys[0]));
        }
        conflicts.push_back({MessageWords(problem) + "; allowed: " + allowed, keys});
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
    if (InterpretationConflict(ChoiceIndex(a), ChoiceIndex(n), ChoiceIndex(t), message)) {
        conflicts.push_back(
            {MessageWords(message) + "; allowed: " + AgreeingInterpretations({a, n, t}, held),
             {kInterpretationKeys[0], kInterpretationKeys[1], kInterpretationKeys[2]}});
    }
    return conflicts;
}

} // namespace pfsetup
