// The key table through its users: what a read makes of numbers that do not fit, what `set`
// and `check` accept, what they say a read makes of the rest, and the rules between settings.

#include "persist_fixture.h"
#include "support/installation.h"

#include "persist/setting_checks.h"
#include "persist/settings_entries.h"
#include "persist/tree/ar_tree.h"
#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <climits>

namespace pfsetup::test {
namespace {

std::string Written(CPFCoreSetupAPI& store, const std::string& key) {
    std::string value;
    SettingValue(store, key, value);
    return value;
}

TEST(SettingKeys, NumbersThatDoNotFitAreIgnoredLoggedAndNeverWrittenBack) {
    struct Row {
        const char* key;
        const char* value;
        const char* after;  // what the store writes back
        const char* logged; // "" when the read logs nothing
    } rows[] = {
        {"Symbol_GridSize", "1e39", "0.050000", "Symbol_GridSize '1e39' is ignored"},
        {"Symbol_GridSize", "-1e39", "0.050000", "is ignored"},
        {"Symbol_GridSize", "inf", "0.050000", "is ignored"},
        {"Symbol_GridSize", "nan", "0.050000", "is ignored"},
        {"Symbol_GridSize", "0x10", "16.000000", ""}, // atof's rule, which `set` refuses
        {"Symbol_NoteSize", "2e-1xyz", "0.200000", ""},
        {"Symbol_Width", "99999999999", "6", "Symbol_Width '99999999999' is ignored"},
        {"Symbol_Width", "-99999999999999999999999", "6", "is ignored"},
        {"Symbol_Width", "-2147483648", "-2147483648", ""},
        {"Symbol_Width", "abc", "0", ""},
        {"Interpretation_AlphaNum", "-2147483648", "-2147483648", ""},
        {"Interpretation_NumAlpha", "4294967297", "1", "is ignored"},
        {"User_Defined_OverriddenError", "1,99999", "1", "item '99999' is ignored"},
        {"User_Defined_OverriddenError", "-1,7", "7", "item '-1' is ignored"},
        {"User_Defined_OverriddenError", "12,,40", "12,0,40", ""},
        {"Prop_X", "99999999999,v,No,,", "0,v,No,,", "Prop_X type '99999999999' is ignored"},
    };
    for (const Row& row : rows) {
        CPFCoreSetupAPI store;
        store.ProcessNameValuePair(row.key, row.value);
        EXPECT_EQ(Written(store, row.key), row.after) << row.key << " " << row.value;
        std::string log;
        store.GetLogError(log);
        if (*row.logged)
            EXPECT_NE(log.find(row.logged), std::string::npos) << row.value << ": " << log;
        else
            EXPECT_EQ(log, "") << row.value;
        // The rules between settings take any stored number without overflowing.
        FindSettingsConflicts(store);
    }
}

// The symbol property height comes from the tree; a number beyond int is ignored there (the
// height stays 0), never wrapped.
TEST(SettingKeys, TreeHeightsBeyondIntAreNotWrapped) {
    TempInstallation inst;
    const std::string project = inst.Path("p.cpm");
    WriteFile(project, "START_SETUP_TREE\nPFG/Symbol/SymProperty/DefaultHeight 'value' "
                       "'1=99999999999'\nEND_SETUP_TREE\n");
    CPFCoreSetupAPI store;
    store.PutCPMFileName(project);
    AddProperty(store, "NOTE", 1, "v");
    ASSERT_EQ(store.WriteCPMFile(), 1);
    EXPECT_NE(ReadFile(project).find("'6=0'"), std::string::npos) << ReadFile(project);
}

TEST(SettingKeys, SetAcceptsTextThatMeansWhatItSays) {
    struct Row {
        const char* key;
        std::string value;
        bool accepted;
    } rows[] = {
        {"Symbol_GridSize", "0.1", true},
        {"Symbol_GridSize", "1e-1", true},
        {"Symbol_GridSize", "+.5", true},
        {"Symbol_GridSize", "1e39", false},
        {"Symbol_GridSize", "0x10", false},
        {"Symbol_GridSize", "inf", false},
        {"Symbol_GridSize", "nan", false},
        {"Symbol_GridSize", " 0.1", false},
        {"Symbol_GridSize", "0.1abc", false},
        {"Symbol_GridSize", "1e-50", false},
        {"Symbol_GridSize", "1e-7", false},
        {"Symbol_GridSize", "0.0000006", true},
        {"Symbol_GridSize", "1e", false},
        {"Symbol_GridSize", "", false},
        {"Symbol_Width", "12", true},
        {"Symbol_Width", "+12", true},
        {"Symbol_Width", "12.0", false},
        {"Symbol_Width", "1e1", false},
        {"Symbol_Width", "99999999999", false},
        {"Symbol_Width", "0", false},
        {"Interpretation_NumAlphaNum", "8", true},
        {"Interpretation_NumAlphaNum", "9", false},
        {"Interpretation_AlphaNum", "-2147483648", false},
        {"Vector_Format", "2", true},
        {"Vector_Format", "3", false},
        {"UseSplitInstProp", "0", true},
        {"UseSplitInstProp", "7", false},
        {"Symbol_UsePinNamesForText", "true", true},
        {"Symbol_UsePinNamesForText", "yes", false},
        {"Symbol_OutLine", "bold", false},
        {"Format_ReadActiveLow", "activelow_suffix_n", true},
        {"User_Defined_OverriddenError", "1,2", true},
        {"User_Defined_OverriddenError", "", true},
        {"User_Defined_OverriddenError", "1,,2", false},
        {"User_Defined_OverriddenError", "65536", false},
        {"PackagePlaceHolder", "A,B", true},
        {"PackagePlaceHolder", "A\nB", false},
        {"PackagePlaceHolder", "it's,5\"", false},
        {"PackagePlaceHolder", std::string("A\0B", 3), false},
        {"PinType_TS", "-0.02,0.02,2.0,*,Left", true},
        {"PinType_TS", "-1e1,x,x,x,Left", false},
        {"Prop_NOTE", "4,a\rb,No,,", false},
        {"Prop_NOTE", "4,$HOME/x,No,,", true},
    };
    for (const Row& row : rows) {
        std::string problem;
        EXPECT_EQ(CheckSettingEntry(row.key, row.value, problem), row.accepted)
            << row.key << " \"" << row.value << "\": " << problem;
        if (!row.accepted) {
            EXPECT_NE(problem, "") << row.key;
        }
        if (!row.accepted || row.value.find('$') != std::string::npos)
            continue;
        // What is accepted reads back as a value that is accepted again.
        CPFCoreSetupAPI store;
        EXPECT_TRUE(ReadSettingsEntry(store, row.key, row.value)) << row.key;
        EXPECT_TRUE(CheckSettingEntry(row.key, Written(store, row.key), problem))
            << row.key << " " << Written(store, row.key) << ": " << problem;
    }
}

TEST(SettingKeys, CheckSaysWhatAReadMakesOfARefusedValue) {
    struct Row {
        const char* key;
        const char* value;
        const char* read;
    } rows[] = {
        {"Symbol_Width", "abc", "a read takes it as '0'"},
        {"Symbol_UsePinNamesForText", "yes", "a read takes it as 'FALSE'"},
        {"Interpretation_NumAlpha", "9", "a read takes it as '9', which is none of the choices"},
        {"Vector_Format", "3", "a read takes it as '2'"},
        {"Symbol_OutLine", "Heavy", "a read ignores it (the setting keeps its value)"},
        {"Symbol_GridSize", "1e39", "a read ignores it (the setting keeps its value)"},
        {"Format_ReadActiveLow", "star", "a read takes it as 'ActiveLow_Suffix_Star_And_N'"},
        {"User_Defined_OverriddenError", "1,99999", "a read takes it as '1'"},
        {"Prop_", "1,x,Yes,Value,Left", "a read ignores it (the setting keeps its value)"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DescribeRead(row.key, row.value), row.read) << row.key;
}

TEST(SettingKeys, UnknownKeysGetTheClosestKnownOne) {
    struct Row {
        const char* typed;
        const char* suggested;
    } rows[] = {{"symbol_gridsize", "Symbol_GridSize"}, {"Symbol_Grid", "Symbol_GridSize"},
                {"Symbol_GirdSize", "Symbol_GridSize"}, {"PinType_ts", "PinType_TS"},
                {"PROP_TOLERANCE", "Prop_TOLERANCE"},   {"Frobnicate", ""}};
    for (const Row& row : rows)
        EXPECT_EQ(SuggestSettingKey(row.typed), row.suggested) << row.typed;
}

TEST(SettingKeys, ConflictsNameTheKeysTakingPart) {
    struct Row {
        std::vector<std::pair<const char*, const char*>> entries;
        std::vector<std::string> keys; // of the one conflict, or empty for none
    } rows[] = {
        {{}, {}},
        {{{"Symbol_NoteSize", "3"}},
         {"Symbol_NoteSize", "Symbol_PinSpacing_LeftRight", "Symbol_PinSpacing_TopBottom"}},
        {{{"Symbol_GridSize", "0"}}, {"Symbol_GridSize"}},
        {{{"Format_ReadActiveLow", "ActiveLow_Suffix_N"}},
         {"Format_WriteActiveLow", "Format_ReadActiveLow"}},
        {{{"Format_ReadActiveLow", "ActiveLow_Suffix_N"},
          {"Format_WriteActiveLow", "ActiveLow_Suffix_N"}},
         {}},
        {{{"Interpretation_NumAlphaNum", "7"}},
         {"Interpretation_AlphaNum", "Interpretation_NumAlpha", "Interpretation_NumAlphaNum"}},
        {{{"Interpretation_NumAlphaNum", "-2147483648"}, {"Interpretation_NumAlpha", "2147483647"}},
         {}},
    };
    for (const Row& row : rows) {
        CPFCoreSetupAPI store;
        for (const auto& [key, value] : row.entries)
            store.ProcessNameValuePair(key, value);
        const std::vector<SettingsConflict> conflicts = FindSettingsConflicts(store);
        ASSERT_EQ(conflicts.size(), row.keys.empty() ? 0u : 1u);
        if (!conflicts.empty()) {
            EXPECT_EQ(conflicts[0].keys, row.keys) << conflicts[0].message;
        }
    }
}

TEST(SettingKeys, PropertyNamesDifferingOnlyInCaseCannotBothBeHeld) {
    CPFCoreSetupAPI store;
    ASSERT_EQ(store.CreateProperty("TOLERANCE"), 1);
    EXPECT_EQ(store.CreateProperty("Tolerance"), 0);
    std::string log;
    ASSERT_EQ(store.GetLogError(log), 1);
    EXPECT_EQ(log, "\nProperty Tolerance refused: property TOLERANCE differs from it only in "
                   "letter case");
    EXPECT_EQ(store.SetCurrentPropertyByName("Tolerance"), 0);
    // A rename within one name's letter cases keeps the property found by its new name.
    ASSERT_EQ(store.SetCurrentPropertyByName("TOLERANCE"), 1);
    ASSERT_EQ(store.PutPropertyName("Tolerance"), 1);
    EXPECT_EQ(store.SetCurrentPropertyByName("Tolerance"), 1);
    EXPECT_EQ(store.SetCurrentPropertyByName("TOLERANCE"), 0);
    EXPECT_EQ(store.CreateProperty("TOLERANCE"), 0);
}

TEST(SettingKeys, ValueLessEntriesMaskOnlyWhatTheWriterLeavesOut) {
    for (const char* key :
         {"Prop_X", "UseSplitInstProp", "User_Defined_OverriddenError", "PackagePlaceHolder"})
        EXPECT_TRUE(LeftOutByDefault(key)) << key;
    for (const char* key : {"Symbol_Width", "PinType_TS", "Format_ReadActiveLow", "Nonsense"})
        EXPECT_FALSE(LeftOutByDefault(key)) << key;
}

} // namespace
} // namespace pfsetup::test
