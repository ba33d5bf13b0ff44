#include "app/settings_view.h"

#include "app/json_writer.h"
#include "setup/number_text.h"
#include "setup/record_fields.h"
#include "setup/setup_store.h"

#include <cstdio>

namespace pfsetup::app {

namespace {

std::vector<PinTypeFields> PinRows(CPFCoreSetupAPI& store) {
    std::vector<PinTypeFields> rows;
    store.InitPinIteration();
    while (store.GetNextPin())
        rows.push_back(CurrentPinTypeFields(store));
    return rows;
}

std::vector<PropertyFields> PropertyRows(CPFCoreSetupAPI& store) {
    std::vector<PropertyFields> rows;
    store.InitPropertyIteration();
    store.SetPropertyContext(PFSetupContextAll);
    while (store.GetNextProperty())
        rows.push_back(CurrentPropertyFields(store));
    return rows;
}

// The scalar settings, read once for either view.
struct Scalars {
    float grid = 0, note = 0;
    std::string units, outline, style;
    int width = 0, length = 0, topBottom = 0, leftRight = 0;
    PFActiveLow read{}, write{};
    PFPinInterpret_AlphaNum alphaNum{};
    PFPinInterpret_NumAlpha numAlpha{};
    PFPinInterpret_NumAlphaNum numAlphaNum{};
};

Scalars ReadScalars(CPFCoreSetupAPI& s) {
    Scalars v;
    s.GetDefGridSize(v.grid);
    s.GetDefNoteSize(v.note);
    s.GetDefUnits(v.units);
    s.GetDefSymbolOutLine(v.outline);
    s.GetDefTextStyle(v.style);
    s.GetDefSymbolWidth(v.width);
    s.GetDefSymbolLength(v.length);
    s.GetDefSymbolWidthIncrement(v.topBottom);
    s.GetDefSymbolLengthIncrement(v.leftRight);
    s.GetDefReadActiveLowPinNotation(v.read);
    s.GetDefWriteActiveLowPinNotation(v.write);
    s.GetAlphaNumValue(v.alphaNum);
    s.GetNumAlphaValue(v.numAlpha);
    s.GetNumAlphaNumValue(v.numAlphaNum);
    return v;
}

std::string Pad(const std::string& text, size_t width) {
    return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

std::string Or(const std::string& text, const char* fallback) {
    return text.empty() ? fallback : text;
}

const char* NotationText(int value, bool reading) {
    switch (value) {
    case 2:
        return "suffix '*'";
    case 3:
        return "suffix '_N'";
    default:
        return reading ? "suffix '*' and suffix '_N'" : "suffix '*'";
    }
}

} // namespace

const char* AlphaNumText(int value) {
    switch (value) {
    case 1:
        return "BN";
    case 2:
        return "BN-B";
    case 3:
        return "BN-S";
    default:
        return "?";
    }
}

const char* NumAlphaText(int value) {
    switch (value) {
    case 1:
        return "BN";
    case 2:
        return "G-BN";
    case 3:
        return "B-BN";
    case 4:
        return "S-BN";
    default:
        return "?";
    }
}

const char* NumAlphaNumText(int value) {
    switch (value) {
    case 1:
        return "BN";
    case 2:
        return "BN-B";
    case 3:
        return "BN-S";
    case 4:
        return "B-BN";
    case 5:
        return "S-BN";
    case 6:
        return "G-BN";
    case 7:
        return "G-BN-B";
    case 8:
        return "G-BN-S";
    default:
        return "?";
    }
}

std::string ContextText(int type) {
    static const std::pair<int, const char*> names[] = {
        {0x01, "symbol"},        {0x02, "symbol-pin"},   {0x04, "package"},
        {0x08, "package-pin"},   {0x10, "table-global"}, {0x20, "table-package"},
        {0x80, "table-physical"}};
    std::string text;
    for (const auto& [bit, name] : names) {
        if (type & bit)
            text += (text.empty() ? "" : ",") + std::string(name);
    }
    return text.empty() ? "none" : text;
}

std::string RenderSettingsText(CPFCoreSetupAPI& s, const std::vector<EntryOrigin>* origins) {
    std::string out;
    auto line = [&out](const std::string& label, const std::string& value) {
        out += "  " + Pad(label, 32) + value + "\n";
    };
    const Scalars v = ReadScalars(s);
    out += "Symbol\n";
    line("Units", v.units);
    line("Grid", FormatFixed6(v.grid));
    line("Pin text size", FormatFixed6(v.note) + " grids");
    line("Symbol outline", v.outline);
    line("Pin text orientation", v.style);
    line("Minimum symbol width", FormatInt(v.width) + " grids");
    line("Minimum symbol height", FormatInt(v.length) + " grids");
    line("Minimum pin spacing top/bottom", FormatInt(v.topBottom) + " grids");
    line("Minimum pin spacing left/right", FormatInt(v.leftRight) + " grids");
    line("Use pin names for pin text", s.GetUsePinNamesForText() ? "yes" : "no");
    line("Split symbol properties",
         s.GetUseSplitInstProp() ? "SPLIT_INST & $LOCATION" : "SPLIT_INST_NAME");

    out += "\nPin types\n  " + Pad("Type", 10) + Pad("Position", 10) + Pad("In low", 9) +
           Pad("In high", 9) + Pad("Out low", 9) + "Out high\n";
    for (const PinTypeFields& row : PinRows(s))
        out += "  " + Pad(row.type, 10) + Pad(row.position, 10) + Pad(Or(row.iil, "-"), 9) +
               Pad(Or(row.iih, "-"), 9) + Pad(Or(row.iol, "-"), 9) + Or(row.ioh, "-") + "\n";

    out += "\nProperties\n";
    const std::vector<PropertyFields> properties = PropertyRows(s);
    if (properties.empty())
        out += "  (none)\n";
    for (const PropertyFields& row : properties)
        out += "  " + Pad(row.name, 18) + Pad(row.value.empty() ? "''" : row.value, 14) +
               Pad(ContextText(row.type), 26) +
               Pad(row.required == "Yes" ? "required" : "optional", 10) +
               Pad(Or(row.visibility, "-"), 10) + Or(row.alignment, "-") + "\n";

    out += "\nFormat\n";
    line("Low-asserted pins, reading", NotationText(v.read, true));
    line("Low-asserted pins, writing", NotationText(v.write, false));
    line("Minus for low-asserted pins", s.GetDefUseMinusInPackage() ? "yes (package view)" : "no");
    line("Group format for chips files", s.ReadChipsInGroupFormat() ? "yes" : "no");
    line("Sizeable pins shown as",
         s.GetFormatForSizeablePins() == 1 ? "base name - slot" : "slot - base name");
    line("Vector pins shown as",
         s.GetFormatForVectorPins() == 1 ? "base name - bit" : "bit - base name");

    out += "\nPin name interpretation\n";
    line("A1  (string, numeral)", AlphaNumText(v.alphaNum));
    line("1A  (numeral, string)", NumAlphaText(v.numAlpha));
    line("1A1 (numeral, string, numeral)", NumAlphaNumText(v.numAlphaNum));

    out += "\nLists\n";
    std::string errors;
    for (uint16_t number : s.GetOverriddenErrors())
        errors += (errors.empty() ? "" : ", ") + FormatInt(number);
    line("Overridden messages", Or(errors, "(none)"));
    std::string holders = "?";
    for (const std::string& text : s.GetPackagePlaceHolders())
        holders += ", " + text;
    line("Package placeholders", holders);

    if (origins) {
        out += "\nOrigins of the \"PFG142\" entries\n";
        for (const EntryOrigin& origin : *origins)
            out += "  " + Pad(origin.level, 8) + origin.file + ":" + FormatInt(origin.line) + "\t" +
                   origin.key + " = " + origin.value + "\n";
    }
    return out;
}

std::string RenderSettingsJson(CPFCoreSetupAPI& s, const std::vector<EntryOrigin>* origins) {
    JsonWriter json;
    json.BeginObject();
    const Scalars v = ReadScalars(s);
    json.BeginObject("symbol")
        .String("units", v.units)
        .Number("grid", v.grid)
        .Number("pinTextSize", v.note)
        .String("outline", v.outline)
        .String("textStyle", v.style)
        .Integer("minWidth", v.width)
        .Integer("minHeight", v.length)
        .Integer("pinSpacingTopBottom", v.topBottom)
        .Integer("pinSpacingLeftRight", v.leftRight)
        .Bool("usePinNamesForText", s.GetUsePinNamesForText() != 0)
        .Bool("useSplitInstProp", s.GetUseSplitInstProp() != 0)
        .EndObject();
    json.BeginArray("pinTypes");
    for (const PinTypeFields& row : PinRows(s))
        json.BeginObject()
            .String("type", row.type)
            .String("position", row.position)
            .String("iil", row.iil)
            .String("iih", row.iih)
            .String("iol", row.iol)
            .String("ioh", row.ioh)
            .EndObject();
    json.EndArray();
    json.BeginArray("properties");
    for (const PropertyFields& row : PropertyRows(s))
        json.BeginObject()
            .String("name", row.name)
            .String("value", row.value)
            .Integer("type", row.type)
            .String("required", row.required)
            .String("visibility", row.visibility)
            .String("alignment", row.alignment)
            .EndObject();
    json.EndArray();
    json.BeginObject("format")
        .Integer("readActiveLow", v.read)
        .Integer("writeActiveLow", v.write)
        .Bool("useMinusInPackage", s.GetDefUseMinusInPackage() != 0)
        .Bool("groupFormat", s.ReadChipsInGroupFormat() != 0)
        .Integer("sizeableFormat", s.GetFormatForSizeablePins())
        .Integer("vectorFormat", s.GetFormatForVectorPins())
        .EndObject();
    json.BeginObject("interpretation")
        .Integer("alphaNum", v.alphaNum)
        .Integer("numAlpha", v.numAlpha)
        .Integer("numAlphaNum", v.numAlphaNum)
        .EndObject();
    json.BeginArray("overriddenErrors");
    for (uint16_t number : s.GetOverriddenErrors())
        json.Integer(nullptr, number);
    json.EndArray();
    json.BeginArray("packagePlaceHolders");
    for (const std::string& text : s.GetPackagePlaceHolders())
        json.String(nullptr, text);
    json.EndArray();
    if (origins) {
        json.BeginArray("origins");
        for (const EntryOrigin& origin : *origins)
            json.BeginObject()
                .String("key", origin.key)
                .String("value", origin.value)
                .String("file", origin.file)
                .Integer("line", origin.line)
                .String("level", origin.level)
                .EndObject();
        json.EndArray();
    }
    json.EndObject();
    return json.Text() + "\n";
}

} // namespace pfsetup::app
