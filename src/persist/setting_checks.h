#pragma once
// Checks of one setting entry as a person would give it (the tool's `set`, `check`), with the
// rules of the setup dialog: the texts of its lists, the load checks, the property checks and
// the Symbol page's sizes; and the checks that span several settings.

#include <string>
#include <vector>

class CPFCoreSetupAPI;

namespace pfsetup {

// True when `value` is acceptable for `key`; otherwise `problem` says what is wrong and what
// is allowed (without the key, which the caller names).
bool CheckSettingEntry(const std::string& key, const std::string& value, std::string& problem);

// Problems of the settings taken together: sizes that do not fit, interpretations that
// contradict each other.
std::vector<std::string> CheckSettingsTogether(CPFCoreSetupAPI& store);

} // namespace pfsetup
