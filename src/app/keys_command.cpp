// keys: every key the files may hold, described from the key table, with the defaults of the
// install and site files.

#include "app/commands.h"
#include "app/json_writer.h"
#include "app/settings_view.h"
#include "app/tool.h"

#include "persist/settings_entries.h"
#include "setup/setting_tables.h"
#include "setup/setup_store.h"

#include <iostream>

namespace pfsetup::app {

namespace {

struct KeyInfo {
    std::string key;
    const SettingKey* row;
    bool hasDefault;
    std::string defaultValue;
};

// Every key in write order; the property family as its pattern and the installed properties.
std::vector<KeyInfo> ListedKeys(CPFCoreSetupAPI& defaults) {
    std::vector<KeyInfo> keys;
    auto add = [&](const std::string& key, const SettingKey& row) {
        std::string value;
        const bool has = SettingValue(defaults, key, value);
        keys.push_back({key, &row, has, value});
    };
    for (const SettingKey& row : SettingKeys()) {
        if (row.form == ValueForm::PinLoads) {
            for (const PinTypeRow& type : kPinTypes) {
                add(row.key + std::string(type.name), row);
            }
        } else if (row.form == ValueForm::Property) {
            add(std::string(row.key) + "<NAME>", row);
            for (const SettingRow& installed : SettingRows(defaults)) {
                if (installed.row == &row) {
                    add(installed.key, row);
                }
            }
        } else {
            add(row.key, row);
        }
    }
    return keys;
}

void Describe(const KeyInfo& info, std::string& out) {
    auto line = [&out](const char* label, const std::string& text) {
        out += "  " + std::string(label) + std::string(13 - std::string(label).size(), ' ') + text +
               "\n";
    };
    out += info.key + "\n";
    line("group", GroupHeading(info.row->group));
    line("form", FormName(info.row->form));
    line("allowed", AllowedText(*info.row));
    if (info.hasDefault) {
        line("default", info.defaultValue.empty() ? "(empty)" : info.defaultValue);
    }
    line("description", info.row->description);
}

void DescribeJson(const KeyInfo& info, JsonWriter& json) {
    json.BeginObject()
        .String("key", info.key)
        .String("group", GroupName(info.row->group))
        .String("form", FormName(info.row->form))
        .String("allowed", AllowedText(*info.row));
    if (!info.row->choices.empty()) {
        json.BeginArray("choices");
        for (const SettingChoice& choice : info.row->choices) {
            json.BeginObject().String("text", choice.text);
            if (*choice.meaning) {
                json.String("meaning", choice.meaning);
            }
            json.EndObject();
        }
        json.EndArray();
    }
    if (info.hasDefault) {
        WriteTypedValue(json, "default", *info.row, info.defaultValue);
    } else {
        json.Null("default");
    }
    json.String("description", info.row->description).EndObject();
}

} // namespace

int KeysCommand(const std::string& key, KeysView view) {
    if (!key.empty() && !KnownKey("", key)) {
        return kBadInput;
    }
    CPFCoreSetupAPI defaults;
    const int status = ReadDefaults(Target{}, defaults);
    std::vector<KeyInfo> keys;
    if (key.empty()) {
        keys = ListedKeys(defaults);
    } else {
        std::string value;
        const bool has = SettingValue(defaults, key, value);
        keys.push_back({key, FindSettingKey(key), has, value});
    }
    std::string out;
    switch (view) {
    case KeysView::Names:
        for (const KeyInfo& info : keys) {
            if (info.key.find('<') == std::string::npos) {
                out += info.key + "\n";
            }
        }
        break;
    case KeysView::Choices:
        for (const SettingChoice& choice : keys.front().row->choices) {
            out += std::string(choice.text) + "\n";
        }
        break;
    case KeysView::Json: {
        JsonWriter writer;
        writer.BeginObject().Integer("version", 1).BeginArray("keys");
        for (const KeyInfo& info : keys) {
            DescribeJson(info, writer);
        }
        writer.EndArray().EndObject();
        out = writer.Text() + "\n";
        break;
    }
    case KeysView::Text:
        for (const KeyInfo& info : keys) {
            if (!out.empty()) {
                out += "\n";
            }
            Describe(info, out);
        }
        break;
    }
    std::cout << out;
    return status;
}

} // namespace pfsetup::app
