#pragma once
// The fixed tables of the settings, each kept once: the pin types with their defaults, the
// loads of a pin type, the property contexts, and the words of the enumerated settings. The
// store, the readers and writers of the files, the checks, the tool and the dialog take them
// from here.

#include "setup/setup_types.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace pfsetup {

// A text form of an enumerated setting and the value it stands for.
struct SettingWord {
    int value;
    const char* text;
    const char* meaning = ""; // for people, where the text does not say it
};

// The words of one setting, in the order lists show them.
class WordList {
public:
    constexpr WordList() = default;
    template <std::size_t N>
    constexpr WordList(const SettingWord (&words)[N]) : first_(words), count_(N) {}

    constexpr const SettingWord* begin() const { return first_; }
    constexpr const SettingWord* end() const { return first_ + count_; }
    constexpr std::size_t size() const { return count_; }

    // The text of `value`, or nullptr when no word has it.
    const char* TextOf(int value) const;
    // The word that is `text` exactly, or nullptr.
    const SettingWord* Find(std::string_view text) const;
    // One word a line, each ending in a line break: a grid cell's choice list.
    std::string Lines() const;
    // "\"Left\", \"Right\" or \"Top\"".
    std::string Listed() const;

private:
    const SettingWord* first_ = nullptr;
    std::size_t count_ = 0;
};

inline constexpr SettingWord kUnitWords[] = {{PFInches, "Inches"}};
inline constexpr SettingWord kOutlineWords[] = {{PFThin, "Thin"}, {PFBold, "Bold"}};
inline constexpr SettingWord kTextStyleWords[] = {
    {PFAutomatic, "Automatic"}, {PFHorizontal, "Horizontal"}, {PFVertical, "Vertical"}};
// Reading knows all three; writing only the two single suffixes.
inline constexpr SettingWord kReadActiveLowWords[] = {
    {PFActiveLow_Suffix_Star_And_N, "ActiveLow_Suffix_Star_And_N", "suffix '*' and suffix '_N'"},
    {PFActiveLow_Suffix_Star, "ActiveLow_Suffix_Star", "suffix '*'"},
    {PFActiveLow_Suffix_N, "ActiveLow_Suffix_N", "suffix '_N'"}};
inline constexpr SettingWord kWriteActiveLowWords[] = {kReadActiveLowWords[1],
                                                       kReadActiveLowWords[2]};
// In the order of the Pin page's list.
inline constexpr SettingWord kPositionWords[] = {
    {PFLeft, "Left"}, {PFRight, "Right"}, {PFTop, "Top"}, {PFBottom, "Bottom"}};
inline constexpr SettingWord kRequiredWords[] = {{1, "Yes"}, {0, "No"}};
inline constexpr SettingWord kVisibilityWords[] = {{PFVisibleName, "Name"},
                                                   {PFVisibleValue, "Value"},
                                                   {PFVisibleBoth, "Both"},
                                                   {PFInvisible, "Invisible"}};
// In the order of the Property page's list.
inline constexpr SettingWord kAlignmentWords[] = {
    {PFAlignLeft, "Left"}, {PFAlignCenter, "Center"}, {PFAlignRight, "Right"}};

// The visibility code of the settings tree's property nodes: "Invisible" and any other text
// 0, "Name" 1, "Value" 2, "Both" 3 (letter case ignored).
int VisibilityTreeCode(std::string_view text);

// The pin types in the store's order, with the side and loads a new pin of the type gets, the
// loads the Pin page edits, and where the settings tree lists the type's package-pin node
// (1 first; 0 none).
struct PinTypeRow {
    const char* name;
    PFPinPosition position;
    const char* loads[4]; // Iil, Iih, Iol, Ioh
    bool inputLoads;      // Iil and Iih can be edited
    bool outputLoads;     // Iol and Ioh can be edited
    int packagePinNode;
};
inline constexpr PinTypeRow kPinTypes[] = {
    {"INPUT", PFLeft, {"-0.01", "0.01", "", ""}, true, false, 1},
    {"TS", PFRight, {"-0.01", "0.01", "1.0", "-1.0"}, true, true, 2},
    {"TS_BIDIR", PFRight, {"-0.01", "0.01", "1.0", "-1.0"}, true, true, 3},
    {"OC_BIDIR", PFRight, {"-0.01", "0.01", "1.0", "*"}, true, true, 4},
    {"OE_BIDIR", PFRight, {"-0.01", "0.01", "1.0", "*"}, true, true, 5},
    {"BIDIR", PFRight, {"-0.01", "0.01", "1.0", "-1.0"}, true, true, 12},
    {"OUTPUT", PFRight, {"", "", "1.0", "-1.0"}, false, true, 0},
    {"OC", PFRight, {"", "", "1.0", "*"}, false, true, 6},
    {"OE", PFRight, {"", "", "1.0", "*"}, false, true, 7},
    {"ANALOG", PFLeft, {"", "", "", ""}, false, false, 8},
    {"POWER", PFTop, {"", "", "", ""}, false, false, 9},
    {"GROUND", PFTop, {"", "", "", ""}, false, false, 10},
    {"NC", PFBottom, {"", "", "", ""}, false, false, 11},
};
// The type of a pin outside the table: it has no record, and its package-pin node comes last.
inline constexpr const char* kUnspecifiedPinType = "UNSPEC";
inline constexpr int kUnspecifiedPackagePinNode = 13;

// The four loads of a pin type, in the order of its value. Input low and output high currents
// flow out of the pin: their loads are negative.
struct LoadColumn {
    const char* name;  // "Iil"
    const char* words; // "input low load"
    bool negative;
};
inline constexpr LoadColumn kLoadColumns[] = {{"Iil", "input low load", true},
                                              {"Iih", "input high load", false},
                                              {"Iol", "output low load", false},
                                              {"Ioh", "output high load", true}};

// Whether `load` passes the check of load column `column` (0 to 3): "*" or a number of the
// column's sign.
bool IsValidLoadOf(int column, const std::string& load);

// The contexts a property applies to, one bit each, in the order of the bits.
struct PropertyContextRow {
    PFSetupPropertyContext bit;
    PFPropertyContext single;    // the context the name and value checks take
    const char* words;           // for people: "symbol pin"
    const char* jsonWord;        // for scripts: "symbol-pin"
    const char* group;           // the Property page's group box
    const char* caption;         // its check box
    const char* tableKind;       // kind of a part-table property node; nullptr for others
    const char* const* reserved; // names the part builder sets itself, up to a nullptr
};
inline constexpr const char* kReservedOnSymbol[] = {
    "HAS_FIXED_SIZE",  "NEEDS_NO_SIZE", "PART_NAME",   "PACK_TYPE",
    "VALID_PACK_TYPE", "BUBBLE_GROUP",  "ALT_SYMBOLS", nullptr};
inline constexpr const char* kReservedOnSymbolPin[] = {"PIN_STUBS_AFTER", "PIN_STUBS_BEFORE",
                                                       "PIN_NAME", nullptr};
inline constexpr const char* kReservedOnPackage[] = {"CLASS",           "NC_PINS",    "PART_NAME",
                                                     "PHYS_DES_PREFIX", "POWER_PINS", "JEDEC_TYPE",
                                                     "ALT_SYMBOLS",     nullptr};
inline constexpr const char* kReservedOnPackagePin[] = {
    "ALLOW_CONNECT", "BIDIRECTIONAL", "INPUT_LOAD",  "NO_ASSERT_CHECK", "NO_DIR_CHECK",
    "NO_IO_CHECK",   "NO_LOAD_CHECK", "OUTPUT_LOAD", "OUTPUT_TYPE",     "PIN_GROUP",
    "PIN_NUMBER",    "PIN_TYPE",      "PINUSE",      "UNKNOWN_LOADING", nullptr};
inline constexpr const char* kReservedNowhere[] = {nullptr};
inline constexpr PropertyContextRow kPropertyContexts[] = {
    {PFSetupContextSymbol, PFContextSymbol, "symbol", "symbol", "Symbol", "&Symbol", nullptr,
     kReservedOnSymbol},
    {PFSetupContextSymbolPin, PFContextSymbolPin, "symbol pin", "symbol-pin", "Symbol", "Pi&n",
     nullptr, kReservedOnSymbolPin},
    {PFSetupContextPackage, PFContextPackage, "package", "package", "Package", "&Package", nullptr,
     kReservedOnPackage},
    {PFSetupContextPackagePin, PFContextPackagePin, "package pin", "package-pin", "Package", "P&in",
     nullptr, kReservedOnPackagePin},
    {PFSetupContextPtfGlobal, PFContextNone, "part table global", "table-global", "Part Table",
     "&Global", "1", kReservedNowhere},
    {PFSetupContextPtfPackage, PFContextNone, "part table package", "table-package", "Part Table",
     "Pac&kage", "0", kReservedNowhere},
    {PFSetupContextPtfPhysical, PFContextNone, "part table physical", "table-physical",
     "Part Table", "P&hysical", "2", kReservedNowhere},
};
// Every bit a property type may hold.
constexpr int AllPropertyContextBits() {
    int bits = 0;
    for (const PropertyContextRow& context : kPropertyContexts) {
        bits |= context.bit;
    }
    return bits;
}
inline constexpr int kPropertyContextBits = AllPropertyContextBits();

// The row of a context bit, or of a single context (1 to 4); nullptr when there is none.
const PropertyContextRow* ContextOfBit(int bit);
const PropertyContextRow* ContextOfSingle(int context);

} // namespace pfsetup
