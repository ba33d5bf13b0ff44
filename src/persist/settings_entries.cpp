#include "persist/settings_entries.h"

#include "setup/ascii_text.h"
#include "setup/number_text.h"
#include "setup/record_fields.h"
#include "setup/setup_store.h"
#include "setup/text_fields.h"

#include <cfloat>
#include <cmath>

namespace pfsetup {

namespace {

using Store = CPFCoreSetupAPI;

// A double read from a file as the store's 32-bit float, without the undefined conversion of
// values beyond its range.
float ToFloat(double value) {
    if (std::isnan(value))
        return 0.0f;
    if (value > FLT_MAX)
        return HUGE_VALF;
    if (value < -FLT_MAX)
        return -HUGE_VALF;
    return static_cast<float>(value);
}

std::string Flag(int set) {
    return set ? "TRUE" : "FALSE";
}
int ReadFlag(const std::string& value) {
    return EqualsIgnoringAsciiCase(value, "TRUE") ? 1 : 0;
}

struct ScalarKey {
    const char* key;
    uint16_t group;
    // False when the setting is written as no entry at all.
    bool (*write)(Store&, std::string&);
    void (*read)(Store&, const std::string&);
};

// Write order of the scalar keys.
const ScalarKey kScalarKeys[] = {
    {"Symbol_Units", 0, [](Store& s, std::string& v) { return s.GetDefUnits(v) != 0; },
     [](Store& s, const std::string& v) { s.PutDefUnits(v); }},
    {"Symbol_GridSize", 0,
     [](Store& s, std::string& v) {
         float f = 0;
         s.GetDefGridSize(f);
         v = FormatFixed6(f);
         return true;
     },
     [](Store& s, const std::string& v) { s.PutDefGridSize(ToFloat(ParseDecimal(v))); }},
    {"Symbol_NoteSize", 0,
     [](Store& s, std::string& v) {
         float f = 0;
         s.GetDefNoteSize(f);
         v = FormatFixed6(f);
         return true;
     },
     [](Store& s, const std::string& v) { s.PutDefNoteSize(ToFloat(ParseDecimal(v))); }},
    {"Symbol_OutLine", 0, [](Store& s, std::string& v) { return s.GetDefSymbolOutLine(v) != 0; },
     [](Store& s, const std::string& v) { s.PutDefSymbolOutLine(v); }},
    {"Symbol_TextStyle", 0, [](Store& s, std::string& v) { return s.GetDefTextStyle(v) != 0; },
     [](Store& s, const std::string& v) { s.PutDefTextStyle(v); }},
    {"Symbol_Width", 0,
     [](Store& s, std::string& v) {
         int n = 0;
         s.GetDefSymbolWidth(n);
         v = FormatInt(n);
         return true;
     },
     [](Store& s, const std::string& v) { s.PutDefSymbolWidth(ParseInt(v)); }},
    {"Symbol_Length", 0,
     [](Store& s, std::string& v) {
         int n = 0;
         s.GetDefSymbolLength(n);
         v = FormatInt(n);
         return true;
     },
     [](Store& s, const std::string& v) { s.PutDefSymbolLength(ParseInt(v)); }},
    {"Symbol_PinSpacing_TopBottom", 0,
     [](Store& s, std::string& v) {
         int n = 0;
         s.GetDefSymbolWidthIncrement(n);
         v = FormatInt(n);
         return true;
     },
     [](Store& s, const std::string& v) { s.PutDefSymbolWidthIncrement(ParseInt(v)); }},
    {"Symbol_PinSpacing_LeftRight", 0,
     [](Store& s, std::string& v) {
         int n = 0;
         s.GetDefSymbolLengthIncrement(n);
         v = FormatInt(n);
         return true;
     },
     [](Store& s, const std::string& v) { s.PutDefSymbolLengthIncrement(ParseInt(v)); }},
    // Set is the default and is written as no entry.
    {"UseSplitInstProp", 0,
     [](Store& s, std::string& v) {
         v = "0";
         return s.GetUseSplitInstProp() == 0;
     },
     [](Store& s, const std::string& v) { s.PutUseSplitInstProp(ParseInt(v) != 0 ? 1 : 0); }},
    {"Symbol_UsePinNamesForText", 0,
     [](Store& s, std::string& v) {
         v = Flag(s.GetUsePinNamesForText() == 1);
         return true;
     },
     [](Store& s, const std::string& v) { s.PutUsePinNamesForText(ReadFlag(v)); }},
    {"Format_ReadActiveLow", kSaveFormat,
     [](Store& s, std::string& v) { return s.GetDefReadActiveLowPinNotation(v) != 0; },
     [](Store& s, const std::string& v) { s.PutDefReadActiveLowPinNotation(v); }},
    {"Format_WriteActiveLow", kSaveFormat,
     [](Store& s, std::string& v) { return s.GetDefWriteActiveLowPinNotation(v) != 0; },
     [](Store& s, const std::string& v) { s.PutDefWriteActiveLowPinNotation(v); }},
    {"Format_UseMinusInPackage", kSaveFormat,
     [](Store& s, std::string& v) {
         v = Flag(s.GetDefUseMinusInPackage() != 0);
         return true;
     },
     [](Store& s, const std::string& v) { s.PutDefUseMinusInPackage(ReadFlag(v)); }},
    {"Interpretation_AlphaNum", kSaveFormat,
     [](Store& s, std::string& v) {
         PFPinInterpret_AlphaNum e{};
         s.GetAlphaNumValue(e);
         v = FormatInt(e);
         return true;
     },
     [](Store& s, const std::string& v) {
         s.PutAlphaNumValue(static_cast<PFPinInterpret_AlphaNum>(ParseInt(v)));
     }},
    {"Interpretation_NumAlpha", kSaveFormat,
     [](Store& s, std::string& v) {
         PFPinInterpret_NumAlpha e{};
         s.GetNumAlphaValue(e);
         v = FormatInt(e);
         return true;
     },
     [](Store& s, const std::string& v) {
         s.PutNumAlphaValue(static_cast<PFPinInterpret_NumAlpha>(ParseInt(v)));
     }},
    {"Interpretation_NumAlphaNum", kSaveFormat,
     [](Store& s, std::string& v) {
         PFPinInterpret_NumAlphaNum e{};
         s.GetNumAlphaNumValue(e);
         v = FormatInt(e);
         return true;
     },
     [](Store& s, const std::string& v) {
         s.PutNumAlphaNumValue(static_cast<PFPinInterpret_NumAlphaNum>(ParseInt(v)));
     }},
    {"Vector_Format", kSaveFormat,
     [](Store& s, std::string& v) {
         v = FormatInt(s.GetFormatForVectorPins());
         return true;
     },
     [](Store& s, const std::string& v) { s.SetFormatForVectorPins(ParseInt(v) == 1 ? 1 : 2); }},
    {"Sizeable_Format", kSaveFormat,
     [](Store& s, std::string& v) {
         v = FormatInt(s.GetFormatForSizeablePins());
         return true;
     },
     [](Store& s, const std::string& v) { s.SetFormatForSizeablePins(ParseInt(v) == 1 ? 1 : 2); }},
    {"Use_Group_Format", kSaveFormat,
     [](Store& s, std::string& v) {
         v = s.ReadChipsInGroupFormat() != 0 ? "1" : "0";
         return true;
     },
     [](Store& s, const std::string& v) { s.SetGroupFormatForReading(ParseInt(v) != 0 ? 1 : 0); }},
};

const ScalarKey* FindScalarKey(const std::string& key) {
    for (const auto& row : kScalarKeys)
        if (key == row.key)
            return &row;
    return nullptr;
}

const char* const kPinTypeKeys[] = {
    "PinType_INPUT",    "PinType_OUTPUT",   "PinType_TS",       "PinType_OC",     "PinType_OE",
    "PinType_TS_BIDIR", "PinType_OC_BIDIR", "PinType_OE_BIDIR", "PinType_ANALOG", "PinType_NC",
    "PinType_POWER",    "PinType_GROUND",   "PinType_BIDIR"};

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

} // namespace

SettingsKeyKind ClassifySettingsKey(const std::string& key) {
    if (FindScalarKey(key))
        return SettingsKeyKind::Scalar;
    if (StartsWith(key, "PinType_")) {
        for (const char* known : kPinTypeKeys)
            if (key == known)
                return SettingsKeyKind::PinType;
        return SettingsKeyKind::Ignored;
    }
    if (StartsWith(key, "Prop_"))
        return SettingsKeyKind::Property;
    if (key == "User_Defined_OverriddenError")
        return SettingsKeyKind::ErrorList;
    if (key == "PackagePlaceHolder")
        return SettingsKeyKind::PlaceHolders;
    return SettingsKeyKind::Ignored;
}

std::string JoinPropertyFields(const std::vector<std::string>& fields) {
    std::string value;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            value += ',';
        value += fields[i];
    }
    return value;
}

std::vector<std::string> SplitPropertyFields(const std::string& value) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        const size_t comma = value.find(',', start);
        pieces.push_back(value.substr(start, comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (pieces.size() <= 5) {
        pieces.resize(5);
        return pieces;
    }
    // The writer never quotes the value, so its commas make the extra fields.
    std::vector<std::string> fields(5);
    fields[0] = pieces[0];
    const size_t last = pieces.size() - 3;
    for (size_t i = 1; i < last; ++i) {
        if (i > 1)
            fields[1] += ',';
        fields[1] += pieces[i];
    }
    fields[2] = pieces[last];
    fields[3] = pieces[last + 1];
    fields[4] = pieces[last + 2];
    return fields;
}

std::vector<SettingsEntry> CollectSettingsEntries(CPFCoreSetupAPI& store, uint16_t mask,
                                                  std::string* problems) {
    std::vector<SettingsEntry> entries;
    store.InitPinIteration();
    if (mask & kSavePinTypes) {
        while (store.GetNextPin()) {
            const PinTypeFields pin = CurrentPinTypeFields(store);
            entries.push_back({"PinType_" + pin.type, PinTypeValue(pin)});
        }
    }
    if (mask & kSaveProperties) {
        store.InitPropertyIteration();
        store.SetPropertyContext(PFSetupContextAll);
        while (store.GetNextProperty()) {
            const PropertyFields p = CurrentPropertyFields(store);
            entries.push_back(
                {"Prop_" + p.name, JoinPropertyFields({FormatInt(p.type), p.value, p.required,
                                                       p.visibility, p.alignment})});
        }
    }
    for (const auto& row : kScalarKeys) {
        if (row.group && !(mask & row.group))
            continue;
        std::string value;
        if (row.write(store, value))
            entries.push_back({row.key, value});
    }
    if (!store.GetOverriddenErrors().empty()) {
        std::string list;
        for (uint16_t number : store.GetOverriddenErrors())
            list += FormatInt(number) + ",";
        list.pop_back();
        entries.push_back({"User_Defined_OverriddenError", list});
    }
    std::string list;
    for (const std::string& text : store.GetPackagePlaceHolders()) {
        if (text.find(',') != std::string::npos) {
            if (problems)
                *problems += "\nUnable to save package placeholder " + text +
                             ": a comma separates placeholders";
            continue;
        }
        list += text + ",";
    }
    if (!list.empty()) {
        list.pop_back();
        entries.push_back({"PackagePlaceHolder", list});
    }
    return entries;
}

} // namespace pfsetup

using namespace pfsetup;

void CPFCoreSetupAPI::ProcessNameValuePair(std::string name, std::string value) {
    switch (ClassifySettingsKey(name)) {
    case SettingsKeyKind::Ignored:
        return;
    case SettingsKeyKind::Scalar:
        FindScalarKey(name)->read(*this, value);
        return;
    case SettingsKeyKind::PinType: {
        SetCurrentPinByValue(PinTypeFromKey(name));
        int (CPFCoreSetupAPI::*const puts[4])(std::string) = {
            &CPFCoreSetupAPI::PutDefIil, &CPFCoreSetupAPI::PutDefIih, &CPFCoreSetupAPI::PutDefIol,
            &CPFCoreSetupAPI::PutDefIoh};
        for (int n = 1; n <= 4; ++n) {
            std::string field;
            GetNthField(value, n, ",", field);
            (this->*puts[n - 1])(field == "x" ? std::string() : field);
        }
        std::string location;
        GetNthField(value, 5, ",", location);
        PutDefPinLocation(location);
        return;
    }
    case SettingsKeyKind::Property: {
        const std::string property = name.substr(5);
        if (!CreateProperty(property)) {
            PutLogError("\nError in reading Property " + property);
            return;
        }
        const std::vector<std::string> fields = SplitPropertyFields(value);
        PutPropertyType(ParseInt(fields[0]));
        PutPropertyValue(fields[1]);
        PutPropertyRequired(fields[2]);
        PutPropertyVisibility(fields[3]);
        PutPropertyAlignment(fields[4]);
        return;
    }
    case SettingsKeyKind::ErrorList:
        ForEachListItem(value, [this](const std::string& head) {
            AddToOverriddenError(static_cast<uint16_t>(ParseInt(head)));
        });
        return;
    case SettingsKeyKind::PlaceHolders:
        ForEachListItem(value, [this](const std::string& head) {
            if (!head.empty())
                AddToPackagePlaceHolder(head);
        });
        return;
    }
}

int CPFCoreSetupAPI::PutEntryInProject() {
    DeleteSettingsSection();
    std::string problems;
    for (const SettingsEntry& entry : CollectSettingsEntries(*this, SaveSections, &problems))
        PutEntry(entry.key, StoredEntryValue(entry.key, entry.value));
    if (!problems.empty())
        PutLogError(problems);
    return 1;
}
