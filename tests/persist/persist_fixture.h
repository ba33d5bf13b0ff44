#pragma once
// Shared helpers of the persistence tests.

#include "persist/settings_entries.h"
#include "setup/setup_store.h"

#include <string>

namespace pfsetup::test {

using Store = CPFCoreSetupAPI;

// What a getter of the store gives; name T when the getter has several overloads and the text
// is not wanted.
template <class T = std::string>
T Get(const Store& store, int (Store::*getter)(T&) const) {
    T value{};
    (store.*getter)(value);
    return value;
}

// The store's log, emptied; "" when it holds nothing.
inline std::string Log(Store& store) {
    std::string log;
    store.GetLogError(log);
    return log;
}

// Binds the store to `project` for reading and writing and reads it: ReadSetup's result.
inline int ReadProject(Store& store, const std::string& project) {
    store.PutDefFileName(project);
    store.PutCPMFileName(project);
    return store.ReadSetup();
}

// Every persisted setting of the groups, as name/value entries: equal snapshots mean equal
// settings. A template holds all groups but the format group.
constexpr uint16_t kTemplateGroups = 0x00FF & ~kSaveFormat;
inline std::string Snapshot(CPFCoreSetupAPI& store, uint16_t groups = 0x00FF) {
    std::string text;
    for (const SettingsEntry& entry : CollectSettingsEntries(store, groups))
        text += entry.key + "=" + entry.value + "\n";
    return text;
}

inline void AddProperty(CPFCoreSetupAPI& store, const std::string& name, int type,
                        const std::string& value, const char* required = "No",
                        const char* visibility = "Value", const char* alignment = "Left") {
    store.CreateProperty(name);
    store.PutPropertyType(type);
    store.PutPropertyValue(value);
    store.PutPropertyRequired(required);
    store.PutPropertyVisibility(visibility);
    store.PutPropertyAlignment(alignment);
}

// A setting of every kind away from its default.
inline void ChangeEverySetting(CPFCoreSetupAPI& s) {
    s.PutDefGridSize(0.1f);
    s.PutDefNoteSize(0.6f);
    s.PutDefSymbolOutLine(PFBold);
    s.PutDefTextStyle(PFVertical);
    s.PutDefSymbolWidth(9);
    s.PutDefSymbolLength(7);
    s.PutDefSymbolWidthIncrement(3);
    s.PutDefSymbolLengthIncrement(2);
    s.PutUseSplitInstProp(0);
    s.PutUsePinNamesForText(0);
    s.PutDefReadActiveLowPinNotation(PFActiveLow_Suffix_N);
    s.PutDefWriteActiveLowPinNotation(PFActiveLow_Suffix_N);
    s.PutDefUseMinusInPackage(0);
    s.PutAlphaNumValue(PFAlphaNum_BN_S);
    s.PutNumAlphaValue(PFNumAlpha_S_BN);
    s.PutNumAlphaNumValue(PFNumAlphaNum_G_BN_S);
    s.SetFormatForVectorPins(2);
    s.SetFormatForSizeablePins(2);
    s.SetGroupFormatForReading(0);
    s.AddToOverriddenError(7);
    s.AddToOverriddenError(65535);
    s.AddToPackagePlaceHolder("TBD");
    s.SetCurrentPinByValue("TS");
    s.PutDefIil("-0.5");
    s.PutDefIoh("*");
    s.PutDefPinLocation("Top");
    AddProperty(s, "TOLERANCE", 1, "5%", "Yes", "Value", "Left");
    AddProperty(s, "POWER_GROUP", 5, "VCC=14,GND=7", "No", "Invisible", "Center");
    AddProperty(s, "SWAP", 0x88, "", "No", "", "");
}

} // namespace pfsetup::test
