#include "app/settings_view.h"

#include "app/json_reader.h"
#include "app/json_writer.h"
#include "base/ascii_text.h"
#include "persist/setting_origins.h"
#include "persist/settings_entries.h"
#include "setup/number_text.h"
#include "setup/setting_tables.h"
#include "setup/setup_store.h"

#include <algorithm>
#include <map>

namespace pfsetup::app {

namespace {

constexpr SettingsGroup kGroupOrder[] = {SettingsGroup::Symbol,         SettingsGroup::PinTypes,
                                         SettingsGroup::Properties,     SettingsGroup::Format,
                                         SettingsGroup::Interpretation, SettingsGroup::Lists};

std::string Pad(const std::string& text, size_t width) {
    return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

std::string Or(const std::string& text, const char* fallback) {
    return text.empty() ? fallback : text;
}

std::string ContextText(int type) {
    std::string text;
    for (const PropertyContextRow& context : kPropertyContexts) {
        if (type & context.bit) {
            text += (text.empty() ? "" : ",") + std::string(context.jsonWord);
        }
    }
    return text.empty() ? "none" : text;
}

bool IsRequired(const std::string& text) {
    const SettingWord* word = WordList(kRequiredWords).Find(text);
    return word && word->value == 1;
}

const char* MeaningOf(const SettingKey& row, const std::string& value) {
    for (const SettingChoice& choice : row.choices) {
        if (value == choice.text && *choice.meaning) {
            return choice.meaning;
        }
    }
    return nullptr;
}

// The line of one setting in the text views, without its indent.
std::string RowLine(const SettingRow& r) {
    const SettingKey& row = *r.row;
    switch (row.form) {
    case ValueForm::PinLoads: {
        const std::vector<std::string> f = SplitAtCommas(r.value);
        auto load = [&f](size_t i) {
            return i < f.size() && f[i] != "x" && !f[i].empty() ? f[i] : std::string("-");
        };
        return Pad(r.key.substr(8), 10) + Pad(f.size() > 4 ? f[4] : "", 10) + Pad(load(0), 9) +
               Pad(load(1), 9) + Pad(load(2), 9) + load(3);
    }
    case ValueForm::Property: {
        const std::vector<std::string> f = SplitPropertyFields(r.value);
        return Pad(r.key.substr(5), 18) + Pad(f[1].empty() ? "''" : f[1], 14) +
               Pad(ContextText(ParseInt(f[0])), 26) +
               Pad(IsRequired(f[2]) ? "required" : "optional", 10) + Pad(Or(f[3], "-"), 10) +
               Or(f[4], "-");
    }
    case ValueForm::NumberList:
    case ValueForm::TextList: {
        std::string items;
        for (const std::string& item : SplitAtCommas(r.value)) {
            items += (items.empty() ? "" : ", ") + item;
        }
        return Pad(row.label, 32) + (r.value.empty() ? "(none)" : items);
    }
    default: {
        const char* meaning = MeaningOf(row, r.value);
        return Pad(row.label, 32) + r.value + (meaning ? std::string(" (") + meaning + ")" : "");
    }
    }
}

// The heading of a group, with the column titles of the tables.
std::string GroupTitle(SettingsGroup group) {
    std::string title = std::string(GroupHeading(group)) + "\n";
    if (group == SettingsGroup::PinTypes) {
        title += "  " + Pad("Type", 10) + Pad("Position", 10) + Pad("In low", 9) +
                 Pad("In high", 9) + Pad("Out low", 9) + "Out high\n";
    }
    return title;
}

std::string OriginText(const SettingOrigins& origins, const std::string& key) {
    const std::optional<SettingOrigin> origin = origins.Find(key);
    return origin ? origin->level + " " + origin->file + ":" + FormatInt(origin->line) : "built-in";
}

} // namespace

std::vector<SettingRow> SettingRows(CPFCoreSetupAPI& store) {
    std::vector<SettingRow> rows;
    std::vector<std::string> keys = AllSettingKeys();
    store.InitPropertyIteration();
    store.SetPropertyContext(PFSetupContextAll);
    std::string name;
    while (store.GetNextProperty() && store.GetPropertyName(name)) {
        keys.push_back("Prop_" + name);
    }
    for (const std::string& key : keys) {
        std::string value;
        if (SettingValue(store, key, value)) {
            rows.push_back({FindSettingKey(key), key, value});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const SettingRow& a, const SettingRow& b) {
        auto rank = [](const SettingRow& r) {
            return std::find(std::begin(kGroupOrder), std::end(kGroupOrder), r.row->group) -
                   std::begin(kGroupOrder);
        };
        return rank(a) < rank(b);
    });
    return rows;
}

std::vector<SettingRow> ChangedRows(const std::vector<SettingRow>& rows,
                                    const std::vector<SettingRow>& base) {
    std::map<std::string, std::string> values;
    for (const SettingRow& r : base) {
        values[r.key] = r.value;
    }
    std::vector<SettingRow> changed;
    for (const SettingRow& r : rows) {
        const auto found = values.find(r.key);
        if (found == values.end() || found->second != r.value) {
            changed.push_back(r);
        }
    }
    return changed;
}

std::string RenderSettingsText(const std::vector<SettingRow>& rows, const SettingOrigins* origins,
                               bool onlyRows) {
    std::string out;
    for (SettingsGroup group : kGroupOrder) {
        std::string lines;
        for (const SettingRow& r : rows) {
            if (r.row->group != group) {
                continue;
            }
            lines += "  " + RowLine(r);
            if (origins) {
                lines += "  [" + OriginText(*origins, r.key) + "]";
            }
            lines += "\n";
        }
        if (lines.empty() && (onlyRows || group != SettingsGroup::Properties)) {
            continue;
        }
        out +=
            (out.empty() ? "" : "\n") + GroupTitle(group) + (lines.empty() ? "  (none)\n" : lines);
    }
    return out;
}

void WriteTypedValue(JsonWriter& json, const char* name, const SettingKey& row,
                     const std::string& value) {
    auto textOrNull = [&json](const char* key, const std::string& text) {
        if (text.empty()) {
            json.Null(key);
        } else {
            json.String(key, text);
        }
    };
    switch (row.form) {
    case ValueForm::Text:
        json.String(name, value);
        break;
    case ValueForm::Fraction:
        json.Number(name, ParseDecimal(value));
        break;
    case ValueForm::Integer:
    case ValueForm::Code:
        json.Integer(name, ParseInt(value));
        break;
    case ValueForm::Flag:
        json.Bool(name, EqualsIgnoreCase(value, "TRUE"));
        break;
    case ValueForm::NumericFlag:
        json.Bool(name, ParseInt(value) != 0);
        break;
    case ValueForm::PinLoads: {
        std::vector<std::string> f = SplitAtCommas(value);
        f.resize(5);
        json.BeginObject(name);
        for (size_t i = 0; i < 4; ++i) {
            textOrNull(kLoadColumns[i].name, f[i] == "x" ? std::string() : f[i]);
        }
        json.String("Position", f[4]).EndObject();
        break;
    }
    case ValueForm::Property: {
        const std::vector<std::string> f = SplitPropertyFields(value);
        json.BeginObject(name).Integer("type", ParseInt(f[0])).String("value", f[1]);
        json.Bool("required", IsRequired(f[2]));
        textOrNull("visibility", f[3]);
        textOrNull("alignment", f[4]);
        json.EndObject();
        break;
    }
    case ValueForm::NumberList:
        json.BeginArray(name);
        if (!value.empty()) {
            for (const std::string& item : SplitAtCommas(value)) {
                json.Integer(nullptr, ParseInt(item));
            }
        }
        json.EndArray();
        break;
    case ValueForm::TextList:
        json.BeginArray(name);
        if (!value.empty()) {
            for (const std::string& item : SplitAtCommas(value)) {
                json.String(nullptr, item);
            }
        }
        json.EndArray();
        break;
    }
}

std::string RenderSettingsJson(const std::vector<SettingRow>& rows, const SettingOrigins* origins) {
    JsonWriter json;
    json.BeginObject().Integer("version", 1).BeginObject("settings");
    for (const SettingRow& r : rows) {
        WriteTypedValue(json, r.key.c_str(), *r.row, r.value);
    }
    json.EndObject();
    if (origins) {
        json.BeginObject("origins");
        for (const SettingRow& r : rows) {
            if (const std::optional<SettingOrigin> origin = origins->Find(r.key)) {
                json.BeginObject(r.key.c_str())
                    .String("file", origin->file)
                    .Integer("line", origin->line)
                    .String("level", origin->level)
                    .EndObject();
            }
        }
        json.EndObject();
    }
    json.EndObject();
    return json.Text() + "\n";
}

std::string RenderSettingsList(const std::vector<SettingRow>& rows, const SettingOrigins* origins) {
    std::string out;
    for (const SettingRow& r : rows) {
        out += (origins ? OriginText(*origins, r.key) + "\t" : "") + r.key + "=" + r.value + "\n";
    }
    return out;
}

std::vector<SettingDifference> DifferentRows(const std::vector<SettingRow>& a,
                                             const std::vector<SettingRow>& b) {
    std::vector<SettingDifference> differences;
    for (SettingsGroup group : kGroupOrder) {
        std::vector<std::string> keys;
        std::map<std::string, const SettingRow*> inA, inB;
        for (const auto* side : {&a, &b}) {
            for (const SettingRow& r : *side) {
                if (r.row->group != group) {
                    continue;
                }
                if (!inA.count(r.key) && !inB.count(r.key)) {
                    keys.push_back(r.key);
                }
                (side == &a ? inA : inB)[r.key] = &r;
            }
        }
        for (const std::string& key : keys) {
            const SettingRow* left = inA.count(key) ? inA[key] : nullptr;
            const SettingRow* right = inB.count(key) ? inB[key] : nullptr;
            if (!left || !right || left->value != right->value) {
                differences.emplace_back(left, right);
            }
        }
    }
    return differences;
}

std::string RenderSettingsDiff(const std::vector<SettingDifference>& differences) {
    std::string out;
    const SettingRow* last = nullptr;
    for (const auto& [left, right] : differences) {
        const SettingRow* any = left ? left : right;
        if (!last || last->row->group != any->row->group) {
            out += (out.empty() ? "" : "\n") + GroupTitle(any->row->group);
        }
        last = any;
        if (left) {
            out += "- " + RowLine(*left) + "\n";
        }
        if (right) {
            out += "+ " + RowLine(*right) + "\n";
        }
    }
    return out;
}

std::string RenderSettingsDiffJson(const std::vector<SettingDifference>& differences,
                                   const std::string& first, const std::string& second) {
    JsonWriter json;
    json.BeginObject().Integer("version", 1).String("first", first).String("second", second);
    json.BeginArray("differences");
    for (const auto& [left, right] : differences) {
        json.BeginObject().String("key", left ? left->key : right->key);
        if (left) {
            WriteTypedValue(json, "first", *left->row, left->value);
        }
        if (right) {
            WriteTypedValue(json, "second", *right->row, right->value);
        }
        json.EndObject();
    }
    json.EndArray().EndObject();
    return json.Text() + "\n";
}

namespace {

const char* KindName(JsonValue::Kind kind) {
    switch (kind) {
    case JsonValue::Null:
        return "null";
    case JsonValue::Bool:
        return "a boolean";
    case JsonValue::Number:
        return "a number";
    case JsonValue::String:
        return "a string";
    case JsonValue::Array:
        return "an array";
    case JsonValue::Object:
        return "an object";
    }
    return "";
}

// Reads the members of a JSON object field by field into the fields of one value of the
// files, which commas separate.
class FieldReader {
public:
    FieldReader(const JsonValue& object, std::string& problem)
        : object_(object), problem_(problem) {}
    // Member `name` as a field: a string (null too when `nullable`, for the empty field or
    // `none`), its text without a comma unless `commas`.
    bool Text(const char* name, std::string& field, bool nullable, const char* none = "",
              bool commas = false) {
        const JsonValue& v = Take(name);
        if (v.kind == JsonValue::Null && nullable && Present(name)) {
            field = none;
            return true;
        }
        if (v.kind != JsonValue::String) {
            return Wrong(name, v, nullable ? "a string or null" : "a string");
        }
        if (!commas && v.text.find(',') != std::string::npos) {
            problem_ = std::string("\"") + name + "\" " + Quoted(v.text) +
                       " holds a comma, which separates the fields of the value";
            return false;
        }
        field = v.text;
        return true;
    }
    bool Number(const char* name, std::string& field) {
        const JsonValue& v = Take(name);
        if (v.kind != JsonValue::Number) {
            return Wrong(name, v, "a number");
        }
        field = v.text;
        return true;
    }
    bool Bool(const char* name, bool& field) {
        const JsonValue& v = Take(name);
        if (v.kind != JsonValue::Bool) {
            return Wrong(name, v, "true or false");
        }
        field = v.boolean;
        return true;
    }
    // After the fields: a member none of them took.
    bool NoOthers(const char* allowed) {
        for (const auto& member : object_.members) {
            if (std::find(taken_.begin(), taken_.end(), member.first) == taken_.end()) {
                problem_ = "member " + Quoted(member.first) + " is unknown; allowed: " + allowed;
                return false;
            }
        }
        return true;
    }

private:
    bool Present(const char* name) const { return object_.Has(name); }
    const JsonValue& Take(const char* name) {
        taken_.push_back(name);
        return object_[name];
    }
    bool Wrong(const char* name, const JsonValue& v, const char* allowed) {
        problem_ = std::string("\"") + name + "\" is " +
                   (Present(name) ? KindName(v.kind) : "missing") + "; allowed: " + allowed;
        return false;
    }
    const JsonValue& object_;
    std::string& problem_;
    std::vector<std::string> taken_;
};

} // namespace

bool TypedValueText(const SettingKey& row, const JsonValue& value, std::string& text,
                    std::string& problem) {
    auto want = [&](JsonValue::Kind kind, const char* allowed) {
        if (value.kind == kind) {
            return true;
        }
        problem = std::string("JSON gives ") + KindName(value.kind) + "; allowed: " + allowed;
        return false;
    };
    switch (row.form) {
    case ValueForm::Text:
        if (!want(JsonValue::String, "a string")) {
            return false;
        }
        text = value.text;
        return true;
    case ValueForm::Fraction:
    case ValueForm::Integer:
    case ValueForm::Code:
        if (!want(JsonValue::Number, "a number")) {
            return false;
        }
        text = value.text;
        return true;
    case ValueForm::Flag:
    case ValueForm::NumericFlag:
        if (!want(JsonValue::Bool, "true or false")) {
            return false;
        }
        if (row.form == ValueForm::Flag) {
            text = value.boolean ? "TRUE" : "FALSE";
        } else {
            text = value.boolean ? "1" : "0";
        }
        return true;
    case ValueForm::PinLoads: {
        if (!want(JsonValue::Object, "an object of Iil, Iih, Iol, Ioh and Position")) {
            return false;
        }
        FieldReader fields(value, problem);
        std::vector<std::string> f(5);
        for (size_t i = 0; i < 4; ++i) {
            if (!fields.Text(kLoadColumns[i].name, f[i], true, "x")) {
                return false;
            }
        }
        if (!fields.Text("Position", f[4], false) ||
            !fields.NoOthers("Iil, Iih, Iol, Ioh, Position")) {
            return false;
        }
        text = JoinPropertyFields(f);
        return true;
    }
    case ValueForm::Property: {
        if (!want(JsonValue::Object,
                  "an object of type, value, required, visibility and alignment")) {
            return false;
        }
        FieldReader fields(value, problem);
        std::vector<std::string> f(5);
        bool required = false;
        if (!fields.Number("type", f[0]) || !fields.Text("value", f[1], false, "", true) ||
            !fields.Bool("required", required) || !fields.Text("visibility", f[3], true) ||
            !fields.Text("alignment", f[4], true) ||
            !fields.NoOthers("type, value, required, visibility, alignment")) {
            return false;
        }
        f[2] = WordList(kRequiredWords).TextOf(required ? 1 : 0);
        text = JoinPropertyFields(f);
        return true;
    }
    case ValueForm::NumberList:
    case ValueForm::TextList: {
        const bool numbers = row.form == ValueForm::NumberList;
        if (!want(JsonValue::Array, numbers ? "an array of numbers" : "an array of strings")) {
            return false;
        }
        text.clear();
        for (const JsonValue& item : value.items) {
            if (item.kind != (numbers ? JsonValue::Number : JsonValue::String)) {
                problem = std::string("an item is ") + KindName(item.kind) +
                          "; allowed: " + (numbers ? "numbers" : "strings");
                return false;
            }
            if (!numbers && item.text.find(',') != std::string::npos) {
                problem = "item " + Quoted(item.text) +
                          " holds a comma, which separates the items; allowed: " + AllowedText(row);
                return false;
            }
            text += (&item == &value.items.front() ? "" : ",") + item.text;
        }
        return true;
    }
    }
    return false;
}

} // namespace pfsetup::app
