#pragma once
// The checks a person's input goes through, shared by the setup dialog and the command-line
// tool: property names and values, the symbol sizes, and the agreement of the three pin-name
// interpretations.

#include <string>
#include <string_view>

// What a property name may hold (its letters in any case), and what a value may not.
constexpr const char* kPropertyNameCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789$";
constexpr const char* kPropertyValueForbidden = "\"!'";

// Property names and values. `context` is a PFPropertyContext value (1 symbol, 2 symbol pin,
// 3 package, 4 package pin, 0 none). 1 = valid; 0 = invalid with `error` filled.
int IsValidPropertyName(std::string name, int context, std::string& error);
int IsValidPropertyValue(std::string name, std::string value, int context, std::string& error);
// 0 when the name (upper case) is reserved in the context, else 1.
int IsReservedPropertyName(const std::string& name, int context);
// A comma-separated list of NAME=VALUE assignments.
int IsValidPowerGroupValue(const std::string& value, std::string& error);

namespace pfsetup {

// Why a text cannot be kept as (part of) a setting, or nullptr when it can. The project files
// hold each value on one line between quotes, so a line break, a carriage return, a NUL byte,
// or both quote characters in one text would not read back as entered. Every place that takes
// text from a person or a host asks this before storing it.
const char* UnstorableTextProblem(std::string_view text);

// The quote characters a text holds: 1 for ', 2 for ". Texts written into one value together
// (the loads of a pin type, the package placeholders) must not hold 3 between them.
int QuoteKinds(std::string_view text);

// Why a text cannot name a property or a pin type, or nullptr. The name is part of a key in the
// name/value section and the name of a node of the settings tree, where "/" separates names.
const char* SettingNameProblem(std::string_view name);
// Why a text cannot be a pin load, or nullptr: the four loads and the side of a pin type share
// one comma-separated value, in which "x" stands for no load.
const char* PinLoadProblem(std::string_view load);
// Why a text cannot be a package placeholder, or nullptr: the placeholders share one
// comma-separated value, whose empty items are skipped.
const char* PlaceHolderProblem(std::string_view text);

// The Symbol page's refusals of a size that is 0 or less, or no number.
inline constexpr char kBadGridSize[] = "\nError - Incorrect grid size";
inline constexpr char kBadPinTextSize[] = "\nError - Incorrect pin note size";
inline constexpr char kBadPinSpacing[] = "\nError - Incorrect pin spacing";

// The first problem of the Symbol page's sizes, in the page's order, or nullptr when they are
// acceptable: the pin text must fit the smaller pin spacing, and grid, pin text size and both
// spacings must be positive.
const char* SymbolSizesProblem(double pinTextSize, double grid, double leftRight, double topBottom);

// The Pin page's refusal of load `column` (0 Iil to 3 Ioh) of pin type `pinType`:
// "\nTS Pin : Incorrect Load Value of 0.01"; "" when the load passes its column's check.
std::string PinLoadRefusal(const std::string& pinType, int column, const std::string& load);

// The Property page's refusal of a name or a value in one context (as IsValidPropertyName and
// IsValidPropertyValue, and a value the project files cannot keep), or "".
std::string PropertyNameRefusal(const std::string& name, int context);
std::string PropertyValueRefusal(const std::string& name, const std::string& value, int context);
// The same for a property of type `type` in every context of the type (context 0 when it has
// none of the four); `inValue` tells whether the value was refused rather than the name.
std::string PropertyRefusal(const std::string& name, const std::string& value, int type,
                            bool* inValue = nullptr);

// Whether the interpretations chosen for the three pin-name patterns contradict each other.
// The arguments are 0-based indices into each pattern's list (value - 1); an index outside its
// list takes part in no test. True with `message` set on a conflict.
bool InterpretationConflict(int alphaNumIndex, int numAlphaIndex, int numAlphaNumIndex,
                            std::string& message);

} // namespace pfsetup
