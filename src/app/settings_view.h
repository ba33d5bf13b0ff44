#pragma once
// The settings of a store as the setup dialog groups them: Symbol, Pin types, Properties,
// Format, Pin name interpretation, and the two lists; as text for people and JSON for scripts.

#include <string>
#include <vector>

class CPFCoreSetupAPI;

namespace pfsetup::app {

// Where one entry of the settings section comes from.
struct EntryOrigin {
    std::string key;
    std::string value;
    std::string file;
    int line = 0;
    std::string level; // "install", "site" or "user"
};

std::string RenderSettingsText(CPFCoreSetupAPI& store, const std::vector<EntryOrigin>* origins);
std::string RenderSettingsJson(CPFCoreSetupAPI& store, const std::vector<EntryOrigin>* origins);

// Texts shared by the views and the pin command.
const char* AlphaNumText(int value);
const char* NumAlphaText(int value);
const char* NumAlphaNumText(int value);
std::string ContextText(int type);

} // namespace pfsetup::app
