#pragma once
// The settings of a store as the setup dialog groups them (Symbol, Pin types, Properties,
// Format, Pin name interpretation, Lists): as text for people, as JSON for scripts, and as the
// difference of two stores. Every view is made from the key table's rows.

#include "app/tool.h"

#include <string>
#include <vector>

class CPFCoreSetupAPI;

namespace pfsetup {
struct SettingKey;
class SettingOrigins;
} // namespace pfsetup

namespace pfsetup::app {

class JsonWriter;

// One setting: its key in the files and its value as `get` prints it.
struct SettingRow {
    const SettingKey* row;
    std::string key;
    std::string value;
};

// Every setting of the store in the views' order: by group, then in write order.
std::vector<SettingRow> SettingRows(CPFCoreSetupAPI& store);
// The rows of `rows` whose value `base` does not have.
std::vector<SettingRow> ChangedRows(const std::vector<SettingRow>& rows,
                                    const std::vector<SettingRow>& base);

// `origins`, when given, adds the file, line and level of the entry each value comes from.
std::string RenderSettingsText(const std::vector<SettingRow>& rows, const SettingOrigins* origins);
std::string RenderSettingsJson(const std::vector<SettingRow>& rows, const SettingOrigins* origins);
// The rows that differ between `a` and `b` in the layout of the text view, "-" before the
// line of `a` and "+" before the line of `b`; empty when they agree.
std::string RenderSettingsDiff(const std::vector<SettingRow>& a, const std::vector<SettingRow>& b);

// A value of the files in its typed JSON form (numbers, booleans, objects, arrays).
void WriteTypedValue(JsonWriter& json, const char* name, const SettingKey& row,
                     const std::string& value);

} // namespace pfsetup::app
