#pragma once
// The name/value form of the settings: the entries of the "PFG142" section of a project file
// or part template, one key per setting. One table describes every key: its group, the form
// of its value, what it allows, how it is read and written; the writer, the reader, the
// checks, the tool's views and its key listing all go through it.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CPFCoreSetupAPI;

namespace pfsetup {

constexpr const char* kSettingsSection = "PFG142";

// Mask bits of the optional groups.
constexpr uint16_t kSaveProperties = 0x01;
constexpr uint16_t kSavePinTypes = 0x04;
constexpr uint16_t kSaveFormat = 0x08;

struct SettingsEntry {
    std::string key;
    std::string value;
};

// The form of a value in the files, which also fixes its typed (JSON) form.
enum class ValueForm {
    Text,        // one of the listed texts; JSON string
    Fraction,    // "%f", read by atof rules into a 32-bit float; JSON number
    Integer,     // "%d", read by atoi rules into an int; JSON number
    Code,        // "%d" of a numbered choice; JSON number
    Flag,        // "TRUE" or "FALSE", TRUE in any letter case; JSON boolean
    NumericFlag, // "1" or "0", any number but 0 is set; JSON boolean
    PinLoads,    // "Iil,Iih,Iol,Ioh,Position", "x" for no load; JSON object
    Property,    // "type,value,required,visibility,alignment"; JSON object
    NumberList,  // numbers joined with ","; JSON array of numbers
    TextList,    // texts joined with ","; JSON array of strings
};

// Where a setting appears in the setup dialog and in the tool's views, in their order.
enum class SettingsGroup { Symbol, PinTypes, Properties, Format, Interpretation, Lists };

// A text a choice setting takes, with what it means to a person ("" when the text says it).
struct SettingChoice {
    const char* text;
    const char* meaning;
};

struct SettingKey {
    // The key, or for the families of pin-type and property keys their prefix.
    const char* key;
    bool family;
    SettingsGroup group;
    ValueForm form;
    uint16_t saveGroup; // the mask bit that selects the entry; 0 when it is always written
    const char* label;  // how the tool's views name it
    const char* description;
    // Text, Code and the flags: what `set` accepts (codes 1, 2, ... in order).
    std::vector<SettingChoice> choices;
    bool anyCase; // choices match in any letter case
    // Integer, Code and NumberList: the range `set` accepts.
    long long min, max;
    // Writes the store's value (false: the entry is left out; `value` still holds it) and
    // reads one into the store (false: the setting keeps its value).
    bool (*write)(CPFCoreSetupAPI& store, const std::string& key, std::string& value);
    bool (*read)(CPFCoreSetupAPI& store, const std::string& key, const std::string& value);
    // Integer and Fraction sizes of the Symbol page: its own message for a size of 0 or less.
    const char* sizeRefusal = nullptr;
    // The node of the settings tree that takes the value (the parent of the pin-type nodes),
    // and how its text is made when it is not the entry's value; nullptr for none.
    const char* treeNode = nullptr;
    std::string (*treeValue)(const CPFCoreSetupAPI& store) = nullptr;
};

// Every key in write order: the pin-type family, the property family, the single settings,
// the two lists.
const std::vector<SettingKey>& SettingKeys();
// The row of a key as the reader knows it (exact letter case; a family for its members), or
// nullptr for a key the reader ignores.
const SettingKey* FindSettingKey(const std::string& key);
// Every single key a file may hold: the 13 pin-type keys and the single settings, in write
// order (property keys are "Prop_" and any name).
std::vector<std::string> AllSettingKeys();

// What `set` accepts, in words: "a decimal number greater than 0, such as 0.05".
std::string AllowedText(const SettingKey& row);
// What a load column (0 Iil to 3 Ioh) of a pin type takes; in the files also "x" for none.
std::string LoadAllowedText(int column, bool inFiles);
// What the type of a property takes.
std::string PropertyTypeText();

// What a field of the setup dialog shows as its tip: what the setting is, what it takes and
// the key it sets. With `choice`, the field sets that choice ("Sets Vector_Format to 2.").
std::string SettingTip(const std::string& key, const std::string& choice = "");
// The group as a heading ("Pin name interpretation") and as a JSON name ("interpretation").
const char* GroupHeading(SettingsGroup group);
const char* GroupName(SettingsGroup group);
// The form as a word: "text", "decimal", "whole number", ...
const char* FormName(ValueForm form);

// The entries of the store in write order: pin types, properties, symbol settings, the split
// flag (only when clear), pin text, the format group, the two lists (only when not empty).
// `mask` selects the optional groups. A placeholder holding a comma cannot be told apart from
// two placeholders in the list's value; it is left out and named in `problems`.
std::vector<SettingsEntry> CollectSettingsEntries(CPFCoreSetupAPI& store, uint16_t mask,
                                                  std::string* problems = nullptr);

// The value the store gives a key, as its entry would be written (also for the entries the
// writer leaves out: the set split flag "1", an empty list ""); false when the store holds
// nothing for it (an unknown key, a property it does not have).
bool SettingValue(CPFCoreSetupAPI& store, const std::string& key, std::string& value);

// Whether the writer leaves the entry of `key` out while the setting has its default (an
// empty list, the set split flag, a property not held): a value-less entry of such a key in a
// user's file masks an installed one.
bool LeftOutByDefault(const std::string& key);

// Every setting's value as SettingValue gives it, in key order, and each property the store
// holds with its entry's value: equal lists mean equal settings.
using SettingValues = std::vector<std::pair<std::string, std::string>>;
SettingValues AllSettingValues(CPFCoreSetupAPI& store);
// The keys whose value differs between `before` and `after`, or which only one of them has.
std::vector<std::string> ChangedSettings(const SettingValues& before, const SettingValues& after);

// What the reader does with a key.
enum class SettingsKeyKind {
    Ignored,     // no setting of this name: the reader skips it
    Scalar,      // one of the symbol, split, pin text, format or interpretation keys
    PinType,     // "PinType_" + one of the 13 pin types
    Property,    // "Prop_" + a property name
    ErrorList,   // "User_Defined_OverriddenError"
    PlaceHolders // "PackagePlaceHolder"
};
SettingsKeyKind ClassifySettingsKey(const std::string& key);

// Reads one entry into the store as ProcessNameValuePair does. False when the read leaves
// the setting as it was (a text the store does not take, a number the field cannot hold);
// what was ignored for a number that does not fit is named in the store's log.
bool ReadSettingsEntry(CPFCoreSetupAPI& store, const std::string& key, const std::string& value);
// Makes the entry `key` of the store say `value` (read as ReadSettingsEntry does), replacing
// what the store held for it: a property of that name, or the whole list. Without a value the
// entry is taken away (the property deleted, the list emptied).
void ReplaceSettingsEntry(CPFCoreSetupAPI& store, const std::string& key, const std::string* value);

// Joins the values of a property entry: type, value, required, visibility, alignment.
// Splits one back: the first field is the type and the last three the attributes, so a value
// holding commas comes back whole; with five fields or fewer the fields are taken in order
// and missing ones are empty.
std::string JoinPropertyFields(const std::vector<std::string>& fields);
std::vector<std::string> SplitPropertyFields(const std::string& value);
// Every field between commas: "a,,b" gives "a", "", "b".
std::vector<std::string> SplitAtCommas(const std::string& text);

} // namespace pfsetup
