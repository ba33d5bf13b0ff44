#pragma once
// Checks of settings entries as a person gives them (the tool's `set` and `check`), derived
// from the key table and the rules of the setup dialog: what a value may be, what a read makes
// of a value that is not, and the rules that span several settings.

#include <string>
#include <vector>

class CPFCoreSetupAPI;

namespace pfsetup {

// True when `value` is acceptable for `key`: text the files can hold that means what it says
// (decimal numbers within the field, the listed texts). Otherwise `problem` says what is wrong
// and what is allowed (without the key, which the caller names).
bool CheckSettingEntry(const std::string& key, const std::string& value, std::string& problem);

// What the setup dialog says when a field that sets `key` holds `text` (the key's one value;
// pin loads and properties go through DialogRefusal), or "" when it takes it: the Symbol
// page's own message for a size of 0 or less followed by the words of `set`; otherwise the
// field, then those words: "Minimum symbol width: Symbol_Width "0": allowed: a whole number".
std::string FieldRefusal(const std::string& key, const std::string& text);

// The setup dialog's message where one of its own refuses a value (`dialogText`, such as
// "\nTS Pin : Incorrect Load Value of 0.01"): that message as it stands, then on a line of its
// own what `set` says of the entry `key` holding `value`, so the dialog and the tool refuse in
// the same words. `value` is the entry the field or cell stands for (LoadEntryValue,
// PropertyEntryValue).
std::string DialogRefusal(const std::string& dialogText, const std::string& key,
                          const std::string& value);
// The entry of a pin type whose load in `column` (0 Iil .. 3 Ioh) is `load`, the others none.
std::string LoadEntryValue(int column, const std::string& load);
// The entry of a property of `type` whose value is `value`, with attributes any context takes.
std::string PropertyEntryValue(int type, const std::string& value);

// One of the dialog's own messages as a line of `set` and `check` gives it:
// "\nError - Incorrect grid size" is "Incorrect grid size".
std::string MessageWords(const std::string& message);

// What a read makes of a value `CheckSettingEntry` refuses: "a read takes it as '0'", "a read
// ignores it (the setting keeps its value)"; empty when the read takes it as it is written.
std::string DescribeRead(const std::string& key, const std::string& value);

// The problem of an entry of a known `key` whose value is `written` in a file (its variables
// not yet expanded), or "" when CheckSettingEntry takes the expanded value: `KEY "WRITTEN":
// what is wrong; what is allowed; what a read makes of it`, as `check` reports it.
std::string EntryValueProblem(const std::string& key, const std::string& written);

// The known key closest to an unknown one (another letter case, a typing slip), or "".
std::string SuggestSettingKey(const std::string& key);

// A rule between settings that the store breaks, with the keys taking part.
struct SettingsConflict {
    std::string message;
    std::vector<std::string> keys;
};
// Sizes that do not fit each other, a writing suffix other than the one read, interpretations
// that contradict each other; each message says what is wrong and what is allowed. What is
// allowed keeps the `held` keys (those a person just set) as they are and changes the others.
std::vector<SettingsConflict> FindSettingsConflicts(CPFCoreSetupAPI& store,
                                                    const std::vector<std::string>& held = {});

} // namespace pfsetup
