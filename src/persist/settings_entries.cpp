#include "persist/settings_entries.h"

#include "base/ascii_text.h"
#include "setup/number_text.h"
#include "setup/record_fields.h"
#include "setup/setting_rules.h"
#include "setup/setting_tables.h"
#include "setup/setup_store.h"
#include "setup/text_fields.h"

#include <cfloat>
#include <cmath>
#include <type_traits>
#include <unordered_map>

namespace pfsetup {

namespace {

using Store = CPFCoreSetupAPI;

void LogIgnored(Store& store, const std::string& what, const std::string& text, const char* why) {
    store.PutLogError("\n" + what + " '" + text + "' is ignored: " + why);
}

constexpr const char* kDoesNotFit = "the number does not fit the setting";

// The leading integer of `text` by atoi's rules, or false when it lies outside [min, max].
bool LeadingInteger(const std::string& text, long long min, long long max, long long& value) {
    value = ParseLongLong(text);
    return value >= min && value <= max;
}

// How the rows write and read their values: a write gives the store's value and false when
// the entry is left out; a read gives false when the setting keeps its value.

template <class T, int (Store::*Get)(T&) const>
bool WriteNumber(Store& s, const std::string&, std::string& v) {
    T value{};
    (s.*Get)(value);
    if constexpr (std::is_floating_point_v<T>) {
        v = FormatFixed6(value);
    } else {
        v = FormatInt(value);
    }
    return true;
}

// An int or a code stored as read, without a range check, as long as it fits an int.
template <class T, int (Store::*Put)(T)>
bool ReadInteger(Store& s, const std::string& k, const std::string& v) {
    long long n = 0;
    if (!LeadingInteger(v, INT32_MIN, INT32_MAX, n)) {
        LogIgnored(s, k, v, kDoesNotFit);
        return false;
    }
    (s.*Put)(static_cast<T>(n));
    return true;
}

// A 32-bit float read by atof's rules; a value that is not finite or lies beyond a float is
// ignored rather than stored as infinity.
template <int (Store::*Put)(float)>
bool ReadFloat(Store& s, const std::string& k, const std::string& v) {
    const double value = ParseDecimal(v);
    if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) {
        LogIgnored(s, k, v, kDoesNotFit);
        return false;
    }
    (s.*Put)(static_cast<float>(value));
    return true;
}

template <int (Store::*Get)(std::string&) const>
bool WriteText(Store& s, const std::string&, std::string& v) {
    return (s.*Get)(v) != 0;
}

// A text the Put takes whatever it is (an unknown one selects a default).
template <int (Store::*Put)(std::string)>
bool ReadAnyText(Store& s, const std::string&, const std::string& v) {
    (s.*Put)(v);
    return true;
}

// A text the Put takes only when it is one of its texts, exactly.
template <int (Store::*Get)(std::string&) const, int (Store::*Put)(std::string)>
bool ReadExactText(Store& s, const std::string&, const std::string& v) {
    (s.*Put)(v);
    std::string now;
    (s.*Get)(now);
    return now == v;
}

// "TRUE" or "FALSE"; TRUE in any letter case sets the flag.
template <int (Store::*Get)() const>
bool WriteFlag(Store& s, const std::string&, std::string& v) {
    v = (s.*Get)() != 0 ? "TRUE" : "FALSE";
    return true;
}
template <void (Store::*Put)(int)>
bool ReadFlag(Store& s, const std::string&, const std::string& v) {
    (s.*Put)(EqualsIgnoreCase(v, "TRUE") ? 1 : 0);
    return true;
}

// "1" or "0"; any number but 0 sets the flag, whatever its size.
template <int (Store::*Get)() const>
bool WriteNumericFlag(Store& s, const std::string&, std::string& v) {
    v = (s.*Get)() != 0 ? "1" : "0";
    return true;
}
template <void (Store::*Put)(int)>
bool ReadNumericFlag(Store& s, const std::string&, const std::string& v) {
    long long n = 0;
    LeadingInteger(v, 0, 0, n);
    (s.*Put)(n != 0 ? 1 : 0);
    return true;
}

// 1 when `atoi` gives 1, otherwise 2.
template <int (Store::*Get)() const>
bool WriteOneOrTwo(Store& s, const std::string&, std::string& v) {
    v = FormatInt((s.*Get)());
    return true;
}
template <void (Store::*Set)(int)>
bool ReadOneOrTwo(Store& s, const std::string&, const std::string& v) {
    (s.*Set)(ParseInt(v) == 1 ? 1 : 2);
    return true;
}

bool WritePinType(Store& s, const std::string& k, std::string& v) {
    if (!s.SetCurrentPinByValue(k.substr(8))) {
        return false;
    }
    v = PinTypeValue(CurrentPinTypeFields(s));
    return true;
}

bool ReadPinType(Store& s, const std::string& k, const std::string& v) {
    if (!s.SetCurrentPinByValue(PinTypeFromKey(k))) {
        return false;
    }
    int (Store::*const puts[4])(std::string) = {&Store::PutDefIil, &Store::PutDefIih,
                                                &Store::PutDefIol, &Store::PutDefIoh};
    const std::vector<std::string> fields = SplitAtCommas(v);
    auto field = [&fields](size_t i) { return i < fields.size() ? fields[i] : std::string(); };
    for (size_t n = 0; n < 4; ++n) {
        (s.*puts[n])(field(n) == "x" ? std::string() : field(n));
    }
    s.PutDefPinLocation(field(4));
    return true;
}

std::string PropertyEntryValue(const PropertyFields& p) {
    return JoinPropertyFields({FormatInt(p.type), p.value, p.required, p.visibility, p.alignment});
}

bool WriteProperty(Store& s, const std::string& k, std::string& v) {
    if (!s.SetCurrentPropertyByName(k.substr(5))) {
        return false;
    }
    v = PropertyEntryValue(CurrentPropertyFields(s));
    return true;
}

bool ReadProperty(Store& s, const std::string& k, const std::string& v) {
    const std::string property = k.substr(5);
    if (!s.CreateProperty(property)) {
        s.PutLogError("\nError in reading Property " + property);
        return false;
    }
    const std::vector<std::string> fields = SplitPropertyFields(v);
    long long type = 0;
    if (LeadingInteger(fields[0], INT32_MIN, INT32_MAX, type)) {
        s.PutPropertyType(static_cast<int>(type));
    } else {
        LogIgnored(s, k + " type", fields[0], kDoesNotFit);
    }
    s.PutPropertyValue(fields[1]);
    s.PutPropertyRequired(fields[2]);
    s.PutPropertyVisibility(fields[3]);
    s.PutPropertyAlignment(fields[4]);
    return true;
}

// Set is the default and is written as no entry.
bool WriteSplitFlag(Store& s, const std::string& k, std::string& v) {
    WriteNumericFlag<&Store::GetUseSplitInstProp>(s, k, v);
    return s.GetUseSplitInstProp() == 0;
}

bool WriteErrorList(Store& s, const std::string&, std::string& v) {
    v.clear();
    for (uint16_t number : s.GetOverriddenErrors()) {
        v += (v.empty() ? "" : ",") + FormatInt(number);
    }
    return !v.empty();
}

// Each item an unsigned 16-bit number; an empty item is 0, an item beyond is left out. The
// list ends where the rest is empty: a trailing comma adds nothing.
bool ReadErrorList(Store& s, const std::string& k, const std::string& v) {
    if (v.empty()) {
        return true;
    }
    bool all = true;
    std::vector<std::string> items = SplitAtCommas(v);
    if (items.back().empty()) {
        items.pop_back();
    }
    for (const std::string& item : items) {
        long long n = 0;
        if (LeadingInteger(item, 0, UINT16_MAX, n)) {
            s.AddToOverriddenError(static_cast<uint16_t>(n));
        } else {
            LogIgnored(s, k + " item", item, "message numbers run from 0 to 65535");
            all = false;
        }
    }
    return all;
}

// A text holding a comma cannot be written in the list.
bool WritePlaceHolders(Store& s, const std::string&, std::string& v) {
    v.clear();
    for (const std::string& text : s.GetPackagePlaceHolders()) {
        if (text.find(',') == std::string::npos) {
            v += (v.empty() ? "" : ",") + text;
        }
    }
    return !v.empty();
}

// Empty items are skipped; one the store refuses is named in the log.
bool ReadPlaceHolders(Store& s, const std::string& k, const std::string& v) {
    if (v.empty()) {
        return true;
    }
    bool all = true;
    for (const std::string& item : SplitAtCommas(v)) {
        if (!item.empty() && !s.AddToPackagePlaceHolder(item)) {
            const char* problem = PlaceHolderProblem(item);
            LogIgnored(s, k + " item", item,
                       problem ? problem
                               : "the list cannot hold both quote characters, and one came "
                                 "before");
            all = false;
        }
    }
    return all;
}

using G = SettingsGroup;
using F = ValueForm;
const std::vector<SettingChoice> kFlag = {{"TRUE", ""}, {"FALSE", ""}};

std::vector<SettingChoice> Choices(WordList words) {
    std::vector<SettingChoice> choices;
    for (const SettingWord& word : words) {
        choices.push_back({word.text, word.meaning});
    }
    return choices;
}

// The tree's leaves that do not take the entry's value as it is.
std::string PinTextHeight(const Store& s) {
    float note = 0;
    s.GetDefNoteSize(note);
    const double height = std::trunc(static_cast<double>(note) * 25.0);
    const bool representable = std::isfinite(height) && std::fabs(height) < 2147483648.0;
    return FormatInt(representable ? static_cast<long long>(height) : 0);
}
std::string OutlineNode(const Store& s) {
    std::string outline;
    s.GetDefSymbolOutLine(outline);
    return EqualsIgnoreCase(outline, WordList(kOutlineWords).TextOf(PFBold)) ? "Thick" : outline;
}
std::string UsePinNameNode(const Store& s) {
    return s.GetUsePinNamesForText() == 1 ? "1" : "0";
}

// clang-format off
const std::vector<SettingKey> kKeys = {
    {"PinType_", true, G::PinTypes, F::PinLoads, kSavePinTypes, "",
     "side of the symbol and the four loads of pins of one type", {}, false, 0, 0,
     WritePinType, ReadPinType, nullptr, "PFG/PinType"},
    {"Prop_", true, G::Properties, F::Property, kSaveProperties, "",
     "a default property: where it applies, its value, required, visibility, alignment",
     {}, false, 0, 0xBF, WriteProperty, ReadProperty},
    {"Symbol_Units", false, G::Symbol, F::Text, 0, "Units", "units of the symbol's sizes",
     Choices(kUnitWords), false, 0, 0,
     WriteText<&Store::GetDefUnits>, ReadAnyText<&Store::PutDefUnits>},
    {"Symbol_GridSize", false, G::Symbol, F::Fraction, 0, "Grid", "grid of the symbol, in units",
     {}, false, 0, 0,
     WriteNumber<float, &Store::GetDefGridSize>, ReadFloat<&Store::PutDefGridSize>,
     kBadGridSize, "PFG/Symbol/GridSize"},
    {"Symbol_NoteSize", false, G::Symbol, F::Fraction, 0, "Pin text size",
     "size of the pin texts, in grids, at most the smaller pin spacing", {}, false, 0, 0,
     WriteNumber<float, &Store::GetDefNoteSize>, ReadFloat<&Store::PutDefNoteSize>,
     kBadPinTextSize, "PFG/Symbol/Pintext/Height", PinTextHeight},
    {"Symbol_OutLine", false, G::Symbol, F::Text, 0, "Symbol outline",
     "line of the symbol's outline", Choices(kOutlineWords), false, 0, 0,
     WriteText<&Store::GetDefSymbolOutLine>,
     ReadExactText<&Store::GetDefSymbolOutLine, &Store::PutDefSymbolOutLine>,
     nullptr, "PFG/Symbol/OutLine", OutlineNode},
    {"Symbol_TextStyle", false, G::Symbol, F::Text, 0, "Pin text orientation",
     "orientation of the pin texts", Choices(kTextStyleWords), false,
     0, 0,
     WriteText<&Store::GetDefTextStyle>,
     ReadExactText<&Store::GetDefTextStyle, &Store::PutDefTextStyle>},
    {"Symbol_Width", false, G::Symbol, F::Integer, 0, "Minimum symbol width",
     "minimum width of a symbol, in grids", {}, false, 1, 100000,
     WriteNumber<int, &Store::GetDefSymbolWidth>, ReadInteger<int, &Store::PutDefSymbolWidth>,
     nullptr, "PFG/Symbol/Width"},
    {"Symbol_Length", false, G::Symbol, F::Integer, 0, "Minimum symbol height",
     "minimum height of a symbol, in grids", {}, false, 1, 100000,
     WriteNumber<int, &Store::GetDefSymbolLength>, ReadInteger<int, &Store::PutDefSymbolLength>,
     nullptr, "PFG/Symbol/Length"},
    {"Symbol_PinSpacing_TopBottom", false, G::Symbol, F::Integer, 0,
     "Minimum pin spacing top/bottom", "minimum spacing of pins on the top and bottom, in grids",
     {}, false, 1, 100000,
     WriteNumber<int, &Store::GetDefSymbolWidthIncrement>,
     ReadInteger<int, &Store::PutDefSymbolWidthIncrement>, kBadPinSpacing},
    {"Symbol_PinSpacing_LeftRight", false, G::Symbol, F::Integer, 0,
     "Minimum pin spacing left/right", "minimum spacing of pins on the left and right, in grids",
     {}, false, 1, 100000,
     WriteNumber<int, &Store::GetDefSymbolLengthIncrement>,
     ReadInteger<int, &Store::PutDefSymbolLengthIncrement>, kBadPinSpacing,
     "PFG/Symbol/Pin/Shape/MinimumPinSpacing"},
    {"UseSplitInstProp", false, G::Symbol, F::NumericFlag, 0, "Split symbol properties",
     "how the parts of a split symbol are marked",
     {{"0", "SPLIT_INST_NAME"}, {"1", "SPLIT_INST & $LOCATION"}}, false, 0, 0,
     WriteSplitFlag, ReadNumericFlag<&Store::PutUseSplitInstProp>},
    {"Symbol_UsePinNamesForText", false, G::Symbol, F::Flag, 0, "Use pin names for pin text",
     "whether pin names become the pin texts", kFlag, true, 0, 0,
     WriteFlag<&Store::GetUsePinNamesForText>, ReadFlag<&Store::PutUsePinNamesForText>, nullptr,
     "PFG/Symbol/Pintext/UsePinName", UsePinNameNode},
    {"Format_ReadActiveLow", false, G::Format, F::Text, kSaveFormat, "Low-asserted pins, reading",
     "the suffixes that mark a low-asserted pin name when reading",
     Choices(kReadActiveLowWords), true, 0, 0,
     WriteText<&Store::GetDefReadActiveLowPinNotation>,
     ReadAnyText<&Store::PutDefReadActiveLowPinNotation>},
    {"Format_WriteActiveLow", false, G::Format, F::Text, kSaveFormat, "Low-asserted pins, writing",
     "the suffix written for a low-asserted pin; the one read when only one is read",
     Choices(kWriteActiveLowWords), true, 0, 0,
     WriteText<&Store::GetDefWriteActiveLowPinNotation>,
     ReadAnyText<&Store::PutDefWriteActiveLowPinNotation>},
    {"Format_UseMinusInPackage", false, G::Format, F::Flag, kSaveFormat,
     "Minus for low-asserted pins", "a leading '-' for low-asserted pins in the package view",
     kFlag, true, 0, 0,
     WriteFlag<&Store::GetDefUseMinusInPackage>, ReadFlag<&Store::PutDefUseMinusInPackage>},
    {"Interpretation_AlphaNum", false, G::Interpretation, F::Code, kSaveFormat,
     "A1  (string, numeral)", "how a pin name such as A1 splits, agreeing with 1A and 1A1",
     {{"1", "BN"}, {"2", "BN-B"}, {"3", "BN-S"}}, false, 1, 3,
     WriteNumber<PFPinInterpret_AlphaNum, &Store::GetAlphaNumValue>,
     ReadInteger<PFPinInterpret_AlphaNum, &Store::PutAlphaNumValue>},
    {"Interpretation_NumAlpha", false, G::Interpretation, F::Code, kSaveFormat,
     "1A  (numeral, string)", "how a pin name such as 1A splits, agreeing with 1A1",
     {{"1", "BN"}, {"2", "G-BN"}, {"3", "B-BN"}, {"4", "S-BN"}}, false, 1, 4,
     WriteNumber<PFPinInterpret_NumAlpha, &Store::GetNumAlphaValue>,
     ReadInteger<PFPinInterpret_NumAlpha, &Store::PutNumAlphaValue>},
    {"Interpretation_NumAlphaNum", false, G::Interpretation, F::Code, kSaveFormat,
     "1A1 (numeral, string, numeral)", "how a pin name such as 1A1 splits, agreeing with 1A",
     {{"1", "BN"}, {"2", "BN-B"}, {"3", "BN-S"}, {"4", "B-BN"}, {"5", "S-BN"}, {"6", "G-BN"},
      {"7", "G-BN-B"}, {"8", "G-BN-S"}}, false, 1, 8,
     WriteNumber<PFPinInterpret_NumAlphaNum, &Store::GetNumAlphaNumValue>,
     ReadInteger<PFPinInterpret_NumAlphaNum, &Store::PutNumAlphaNumValue>},
    {"Vector_Format", false, G::Format, F::Code, kSaveFormat, "Vector pins shown as",
     "order of base name and bit in vector pin names",
     {{"1", "base name - bit"}, {"2", "bit - base name"}}, false, 1, 2,
     WriteOneOrTwo<&Store::GetFormatForVectorPins>, ReadOneOrTwo<&Store::SetFormatForVectorPins>},
    {"Sizeable_Format", false, G::Format, F::Code, kSaveFormat, "Sizeable pins shown as",
     "order of base name and slot in sizeable pin names",
     {{"1", "base name - slot"}, {"2", "slot - base name"}}, false, 1, 2,
     WriteOneOrTwo<&Store::GetFormatForSizeablePins>,
     ReadOneOrTwo<&Store::SetFormatForSizeablePins>},
    {"Use_Group_Format", false, G::Format, F::NumericFlag, kSaveFormat,
     "Group format for chips files", "whether chips files of asymmetrical parts use groups",
     {{"0", "no"}, {"1", "yes"}}, false, 0, 0,
     WriteNumericFlag<&Store::ReadChipsInGroupFormat>,
     ReadNumericFlag<&Store::SetGroupFormatForReading>},
    {"User_Defined_OverriddenError", false, G::Lists, F::NumberList, 0, "Overridden messages",
     "numbers of the messages the part builder does not report", {}, false, 0, 65535,
     WriteErrorList, ReadErrorList},
    {"PackagePlaceHolder", false, G::Lists, F::TextList, 0, "Package placeholders",
     "texts that stand for a package not yet chosen ('?' always does)", {}, false, 0, 0,
     WritePlaceHolders, ReadPlaceHolders},
};
// clang-format on

} // namespace

const std::vector<SettingKey>& SettingKeys() {
    return kKeys;
}

const SettingKey* FindSettingKey(const std::string& key) {
    // Every read of an entry asks: one lookup rather than a walk over the table.
    static const std::vector<std::string> pinTypeKeys = [] {
        std::vector<std::string> keys;
        for (const PinTypeRow& type : kPinTypes) {
            keys.push_back(std::string("PinType_") + type.name);
        }
        return keys;
    }();
    static const auto index = [] {
        std::unordered_map<std::string_view, const SettingKey*> byKey;
        for (const SettingKey& row : kKeys) {
            if (row.form == ValueForm::PinLoads) {
                for (const std::string& member : pinTypeKeys) {
                    byKey.emplace(member, &row);
                }
            } else {
                byKey.emplace(row.key, &row); // a property's key by the family's prefix
            }
        }
        return byKey;
    }();
    static const std::string_view property = [] {
        for (const SettingKey& row : kKeys) {
            if (row.form == ValueForm::Property) {
                return std::string_view(row.key);
            }
        }
        return std::string_view();
    }();
    const std::string_view asked = std::string_view(key).substr(
        0,
        key.compare(0, property.size(), property) == 0 ? property.size() : std::string_view::npos);
    const auto found = index.find(asked);
    return found == index.end() ? nullptr : found->second;
}

std::vector<std::string> AllSettingKeys() {
    std::vector<std::string> keys;
    for (const PinTypeRow& type : kPinTypes) {
        keys.push_back(std::string("PinType_") + type.name);
    }
    for (const SettingKey& row : kKeys) {
        if (!row.family) {
            keys.push_back(row.key);
        }
    }
    return keys;
}

const char* GroupHeading(SettingsGroup group) {
    switch (group) {
    case SettingsGroup::Symbol:
        return "Symbol";
    case SettingsGroup::PinTypes:
        return "Pin types";
    case SettingsGroup::Properties:
        return "Properties";
    case SettingsGroup::Format:
        return "Format";
    case SettingsGroup::Interpretation:
        return "Pin name interpretation";
    case SettingsGroup::Lists:
        return "Lists";
    }
    return "";
}

const char* GroupName(SettingsGroup group) {
    switch (group) {
    case SettingsGroup::Symbol:
        return "symbol";
    case SettingsGroup::PinTypes:
        return "pinTypes";
    case SettingsGroup::Properties:
        return "properties";
    case SettingsGroup::Format:
        return "format";
    case SettingsGroup::Interpretation:
        return "interpretation";
    case SettingsGroup::Lists:
        return "lists";
    }
    return "";
}

const char* FormName(ValueForm form) {
    switch (form) {
    case ValueForm::Text:
        return "text";
    case ValueForm::Fraction:
        return "decimal";
    case ValueForm::Integer:
        return "whole number";
    case ValueForm::Code:
        return "code";
    case ValueForm::Flag:
        return "flag";
    case ValueForm::NumericFlag:
        return "numeric flag";
    case ValueForm::PinLoads:
        return "pin loads";
    case ValueForm::Property:
        return "property";
    case ValueForm::NumberList:
        return "number list";
    case ValueForm::TextList:
        return "text list";
    }
    return "";
}

std::string AllowedText(const SettingKey& row) {
    auto listed = [&row]() {
        std::string list;
        for (const SettingChoice& choice : row.choices) {
            list += std::string(list.empty() ? "" : ", ") + "\"" + choice.text + "\"";
            if (*choice.meaning) {
                list += std::string(" (") + choice.meaning + ")";
            }
        }
        return "one of " + list + (row.anyCase ? " (any letter case)" : "");
    };
    switch (row.form) {
    case ValueForm::Text:
    case ValueForm::Flag:
    case ValueForm::Code:
    case ValueForm::NumericFlag:
        return listed();
    case ValueForm::Fraction:
        return "a decimal number greater than 0 (six decimals are kept), such as 0.05";
    case ValueForm::Integer:
        return "a whole number from " + FormatInt(row.min) + " to " + FormatInt(row.max);
    case ValueForm::PinLoads: {
        std::string text = "\"";
        for (const LoadColumn& load : kLoadColumns) {
            text += std::string(load.name) + ",";
        }
        text += "Position\":";
        for (int column = 0; column < 4; ++column) {
            text += std::string(column ? ";" : "") + " " + kLoadColumns[column].name + " " +
                    LoadAllowedText(column, true);
        }
        return text + "; position " + WordList(kPositionWords).Listed();
    }
    case ValueForm::Property:
        return "\"type,value,required,visibility,alignment\": type " + PropertyTypeText() +
               "; required " + WordList(kRequiredWords).Listed() + "; visibility " +
               WordList(kVisibilityWords).Listed() + "; alignment " +
               WordList(kAlignmentWords).Listed() +
               " (both empty for a property not on symbols or symbol pins)";
    case ValueForm::NumberList:
        return "message numbers from 0 to 65535 separated by commas, or nothing";
    case ValueForm::TextList:
        return "texts separated by single commas, or nothing";
    }
    return "";
}

std::string LoadAllowedText(int column, bool inFiles) {
    return std::string(kLoadColumns[column].negative
                           ? "\"*\" or a negative number such as -0.01"
                           : "\"*\" or a positive number such as 0.01 (\"+\" allowed)") +
           (inFiles ? ", or \"x\" for none" : "");
}

std::string PropertyTypeText() {
    std::string text = "the sum of";
    for (const PropertyContextRow& context : kPropertyContexts) {
        text += std::string(text.size() > 10 ? ", " : " ") + FormatInt(context.bit) + " " +
                context.words;
    }
    return text + "; part table global excludes part table package and physical";
}

std::string SettingTip(const std::string& key, const std::string& choice) {
    const SettingKey* row = FindSettingKey(key);
    if (!row) {
        return std::string();
    }
    std::string tip = row->description;
    if (!tip.empty()) {
        tip[0] = AsciiUpper(tip[0]);
    }
    tip += ": " + AllowedText(*row) + ".\nSets " + key;
    return tip + (choice.empty() ? "" : " to " + choice) + ".";
}

SettingsKeyKind ClassifySettingsKey(const std::string& key) {
    const SettingKey* row = FindSettingKey(key);
    if (!row) {
        return SettingsKeyKind::Ignored;
    }
    switch (row->form) {
    case ValueForm::PinLoads:
        return SettingsKeyKind::PinType;
    case ValueForm::Property:
        return SettingsKeyKind::Property;
    case ValueForm::NumberList:
        return SettingsKeyKind::ErrorList;
    case ValueForm::TextList:
        return SettingsKeyKind::PlaceHolders;
    default:
        return SettingsKeyKind::Scalar;
    }
}

bool ReadSettingsEntry(CPFCoreSetupAPI& store, const std::string& key, const std::string& value) {
    const SettingKey* row = FindSettingKey(key);
    return row && row->read(store, key, value);
}

void ReplaceSettingsEntry(CPFCoreSetupAPI& store, const std::string& key,
                          const std::string* value) {
    switch (ClassifySettingsKey(key)) {
    case SettingsKeyKind::Property:
        if (store.SetCurrentPropertyByName(key.substr(5))) {
            store.DeleteCurrentProperty();
        }
        break;
    case SettingsKeyKind::ErrorList:
        store.ClearOverriddenErrors();
        break;
    case SettingsKeyKind::PlaceHolders:
        store.ClearPackagePlaceHolders();
        break;
    default:
        break;
    }
    if (value) {
        ReadSettingsEntry(store, key, *value);
    }
}

bool SettingValue(CPFCoreSetupAPI& store, const std::string& key, std::string& value) {
    const SettingKey* row = FindSettingKey(key);
    if (!row) {
        return false;
    }
    std::string text;
    const bool written = row->write(store, key, text);
    if (row->family && !written) {
        return false;
    }
    value = text;
    return true;
}

bool LeftOutByDefault(const std::string& key) {
    const SettingKey* row = FindSettingKey(key);
    CPFCoreSetupAPI store;
    std::string value;
    return row && !row->write(store, key, value);
}

std::vector<std::string> SplitAtCommas(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        parts.emplace_back(text, start, comma == std::string::npos ? comma : comma - start);
        if (comma == std::string::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

std::string JoinPropertyFields(const std::vector<std::string>& fields) {
    std::string value;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) {
            value += ',';
        }
        value += fields[i];
    }
    return value;
}

std::vector<std::string> SplitPropertyFields(const std::string& value) {
    std::vector<std::string> pieces = SplitAtCommas(value);
    if (pieces.size() <= 5) {
        pieces.resize(5);
        return pieces;
    }
    // The writer never quotes the value, so its commas make the extra fields.
    std::vector<std::string> fields(5);
    fields[0] = pieces[0];
    const size_t last = pieces.size() - 3;
    for (size_t i = 1; i < last; ++i) {
        if (i > 1) {
            fields[1] += ',';
        }
        fields[1] += pieces[i];
    }
    fields[2] = pieces[last];
    fields[3] = pieces[last + 1];
    fields[4] = pieces[last + 2];
    return fields;
}

std::vector<SettingsEntry> CollectSettingsEntries(CPFCoreSetupAPI& store, uint16_t mask,
                                                  std::string* problems) {
    std::vector<SettingsEntry> entries;
    store.InitPinIteration();
    for (const SettingKey& row : kKeys) {
        if (row.saveGroup && !(mask & row.saveGroup)) {
            continue;
        }
        if (row.form == ValueForm::PinLoads) {
            while (store.GetNextPin()) {
                const PinTypeFields pin = CurrentPinTypeFields(store);
                entries.push_back({row.key + pin.type, PinTypeValue(pin)});
            }
        } else if (row.form == ValueForm::Property) {
            store.InitPropertyIteration();
            store.SetPropertyContext(PFSetupContextAll);
            while (store.GetNextProperty()) {
                const PropertyFields property = CurrentPropertyFields(store);
                entries.push_back({row.key + property.name, PropertyEntryValue(property)});
            }
        } else {
            std::string value;
            if (row.write(store, row.key, value)) {
                entries.push_back({row.key, value});
            }
        }
    }
    if (problems) {
        for (const std::string& text : store.GetPackagePlaceHolders()) {
            if (text.find(',') != std::string::npos) {
                *problems += "\nUnable to save package placeholder " + text +
                             ": a comma separates placeholders";
            }
        }
    }
    return entries;
}

} // namespace pfsetup

void CPFCoreSetupAPI::ProcessNameValuePair(std::string name, std::string value) {
    pfsetup::ReadSettingsEntry(*this, name, value);
}

int CPFCoreSetupAPI::PutEntryInProject() {
    DeleteSettingsSection();
    std::string problems;
    for (const pfsetup::SettingsEntry& entry :
         pfsetup::CollectSettingsEntries(*this, SaveSections, &problems)) {
        PutEntry(entry.key, StoredEntryValue(entry.key, entry.value));
    }
    if (!problems.empty()) {
        PutLogError(problems);
    }
    return 1;
}
