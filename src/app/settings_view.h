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
struct JsonValue;

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
// The text view shows the Properties group even without a row, unless `onlyRows`.
std::string RenderSettingsText(const std::vector<SettingRow>& rows, const SettingOrigins* origins,
                               bool onlyRows = false);
std::string RenderSettingsJson(const std::vector<SettingRow>& rows, const SettingOrigins* origins);
// KEY=VALUE lines, the values as `set` takes them; with `origins` each line after
// "LEVEL FILE:LINE" (or "built-in") and a tab.
std::string RenderSettingsList(const std::vector<SettingRow>& rows, const SettingOrigins* origins);

// The settings that differ between `a` and `b`: the row of each side, nullptr where a side
// has none; by group, then in the order of `a` and `b`.
using SettingDifference = std::pair<const SettingRow*, const SettingRow*>;
std::vector<SettingDifference> DifferentRows(const std::vector<SettingRow>& a,
                                             const std::vector<SettingRow>& b);
// In the layout of the text view, "-" before the line of `a` and "+" before the line of `b`.
std::string RenderSettingsDiff(const std::vector<SettingDifference>& differences);
std::string RenderSettingsDiffJson(const std::vector<SettingDifference>& differences,
                                   const std::string& first, const std::string& second);

// A value of the files in its typed JSON form (numbers, booleans, objects, arrays).
void WriteTypedValue(JsonWriter& json, const char* name, const SettingKey& row,
                     const std::string& value);
// The files' text of a value in its typed JSON form, as WriteTypedValue writes it; false with
// `problem` saying what is wrong and what is allowed when the JSON form does not fit the key.
bool TypedValueText(const SettingKey& row, const JsonValue& value, std::string& text,
                    std::string& problem);

} // namespace pfsetup::app
