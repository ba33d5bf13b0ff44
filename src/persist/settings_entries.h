#pragma once
// The name/value form of the settings: the entries of the "PFG142" section of a project file
// or part template, one key per setting. One table describes the scalar keys; the writer, the
// reader, the tool's get/set and the checks all go through it.

#include <cstdint>
#include <string>
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

// The entries of the store in write order: pin types, properties, symbol settings, the split
// flag (only when clear), pin text, the format group, the two lists (only when not empty).
// `mask` selects the optional groups. A placeholder holding a comma cannot be told apart from
// two placeholders in the list's value; it is left out and named in `problems`.
std::vector<SettingsEntry> CollectSettingsEntries(CPFCoreSetupAPI& store, uint16_t mask,
                                                  std::string* problems = nullptr);

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

// Joins the values of a property entry: type, value, required, visibility, alignment.
// Splits one back: the first field is the type and the last three the attributes, so a value
// holding commas comes back whole; with five fields or fewer the fields are taken in order
// and missing ones are empty.
std::string JoinPropertyFields(const std::vector<std::string>& fields);
std::vector<std::string> SplitPropertyFields(const std::string& value);

} // namespace pfsetup
