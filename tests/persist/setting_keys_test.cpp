// The key table through its users: what a read makes of numbers that do not fit, what `set`
// and `check` accept, what they say a read makes of the rest, and the rules between settings.

#include "persist_fixture.h"
#include "support/installation.h"

#include "base/ascii_text.h"
#include "persist/setting_checks.h"
#include "persist/settings_entries.h"
#include "persist/tree/ar_tree.h"
#include "setup/setting_rules.h"
#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pfsetup::test {
namespace {

// What a read makes of each value form, and of values it cannot take: a number that does not
// fit is ignored, logged and never written back.
TEST(SettingKeys, ReadsTakeValueFormsOrFallBack) {
    struct Row {
        const char* key;
        const char* value;
        const char* entry;  // the entry the store writes back
        const char* logged; // "" when the read logs nothing
    } rows[] = {
        {"Symbol_GridSize", "1e39", "Symbol_GridSize=0.050000",
         "Symbol_GridSize '1e39' is ignored"},
        {"Symbol_GridSize", "-1e39", "Symbol_GridSize=0.050000", "is ignored"},
        {"Symbol_GridSize", "inf", "Symbol_GridSize=0.050000", "is ignored"},
        {"Symbol_GridSize", "nan", "Symbol_GridSize=0.050000", "is ignored"},
        // atof's rule, which `set` refuses.
        {"Symbol_GridSize", "0x10", "Symbol_GridSize=16.000000", ""},
        {"Symbol_GridSize", "0.1abc", "Symbol_GridSize=0.100000", ""},
        {"Symbol_GridSize", "  2e-1", "Symbol_GridSize=0.200000", ""},
        {"Symbol_NoteSize", "2e-1xyz", "Symbol_NoteSize=0.200000", ""},
        {"Symbol_Width", "99999999999", "Symbol_Width=6", "Symbol_Width '99999999999' is ignored"},
        {"Symbol_Width", "-99999999999999999999999", "Symbol_Width=6", "is ignored"},
        {"Symbol_Width", "-2147483648", "Symbol_Width=-2147483648", ""},
        {"Symbol_Width", "abc", "Symbol_Width=0", ""},
        {"Symbol_Width", "", "Symbol_Width=0", ""},
        {"Symbol_Width", " -12x", "Symbol_Width=-12", ""},
        {"Symbol_OutLine", "bold", "Symbol_OutLine=Thin", ""},
        {"Symbol_UsePinNamesForText", "true", "Symbol_UsePinNamesForText=TRUE", ""},
        {"Symbol_UsePinNamesForText", "yes", "Symbol_UsePinNamesForText=FALSE", ""},
        {"UseSplitInstProp", "0", "UseSplitInstProp=0", ""},
        {"Vector_Format", "0", "Vector_Format=2", ""},
        {"Vector_Format", "3", "Vector_Format=2", ""},
        {"Sizeable_Format", "1", "Sizeable_Format=1", ""},
        {"Use_Group_Format", "7", "Use_Group_Format=1", ""},
        {"Format_WriteActiveLow", "activelow_suffix_n", "Format_WriteActiveLow=ActiveLow_Suffix_N",
         ""},
        {"Interpretation_AlphaNum", "-2147483648", "Interpretation_AlphaNum=-2147483648", ""},
        {"Interpretation_NumAlpha", "4294967297", "Interpretation_NumAlpha=1", "is ignored"},
        {"Interpretation_NumAlpha", "9", "Interpretation_NumAlpha=9", ""},
        {"PinType_OUTPUT", "x,x,1.0,-1.0,Right", "PinType_OUTPUT=x,x,1.0,-1.0,Right", ""},
        {"PinType_TS", "-1", "PinType_TS=-1,x,x,x,Right", ""},
        {"PinType_output", "x,x,9,9,Top", "PinType_OUTPUT=x,x,1.0,-1.0,Right", ""},
        {"User_Defined_OverriddenError", "1,99999", "User_Defined_OverriddenError=1",
         "item '99999' is ignored"},
        {"User_Defined_OverriddenError", "-1,7", "User_Defined_OverriddenError=7",
         "item '-1' is ignored"},
        {"User_Defined_OverriddenError", "12,,40", "User_Defined_OverriddenError=12,0,40", ""},
        {"User_Defined_OverriddenError", ",12,40,", "User_Defined_OverriddenError=0,12,40", ""},
        {"PackagePlaceHolder", "A,,B,", "PackagePlaceHolder=A,B", ""},
        {"Prop_TOLERANCE", "1,5%", "Prop_TOLERANCE=1,5%,No,,", ""},
        {"Prop_PG", "5,VCC=1,GND=2,Yes,Both,Right", "Prop_PG=5,VCC=1,GND=2,Yes,Both,Right", ""},
        {"Prop_X", "99999999999,v,No,,", "Prop_X=0,v,No,,", "Prop_X type '99999999999' is ignored"},
    };
    for (const Row& row : rows) {
        CPFCoreSetupAPI store;
        store.ProcessNameValuePair(row.key, row.value);
        const std::string entries = "\n" + Snapshot(store);
        EXPECT_NE(entries.find("\n" + std::string(row.entry) + "\n"), std::string::npos)
            << row.key << " " << row.value << entries;
        const std::string log = Log(store);
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

// What the setup dialog's validator of the field holding `value` of `key` says: the Symbol
// page's fields, the Pin page's load cells, the Property page's row.
std::string DialogSays(const std::string& key, const std::string& value) {
    const SettingKey& row = *FindSettingKey(key);
    if (row.form == ValueForm::PinLoads) {
        const std::vector<std::string> loads = SplitAtCommas(value);
        for (int column = 0; column < 4; ++column) {
            if (loads[column].empty() || loads[column] == "x")
                continue;
            const std::string refusal = PinLoadRefusal(key.substr(8), column, loads[column]);
            if (!refusal.empty())
                return DialogRefusal(refusal, key, LoadEntryValue(column, loads[column]));
        }
        return "";
    }
    if (row.form == ValueForm::Property) {
        const std::vector<std::string> fields = SplitPropertyFields(value);
        const int type = std::stoi(fields[0]);
        const std::string refusal = PropertyRefusal(key.substr(5), fields[1], type);
        return refusal.empty() ? refusal
                               : DialogRefusal(refusal, key, PropertyEntryValue(type, fields[1]));
    }
    return FieldRefusal(key, value);
}

// One table for every key: what `set` and `check` accept, and for what they refuse, their words;
// the dialog's validator of a field that can hold the value refuses it with the same words.
TEST(SettingKeys, SetCheckAndTheDialogAcceptAndRefuseAlike) {
    struct Row {
        const char* key;
        std::string value;
        const char* says; // nullptr: accepted
        bool field;       // a field of the dialog can hold the value
    } rows[] = {
        {"Symbol_Units", "Inches", nullptr, true},
        {"Symbol_Units", "Feet", "allowed: one of \"Inches\"", true},
        {"Symbol_GridSize", "0.1", nullptr, true},
        {"Symbol_GridSize", "1e-1", nullptr, true},
        {"Symbol_GridSize", "+.5", nullptr, true},
        {"Symbol_GridSize", "0.0000006", nullptr, true},
        {"Symbol_GridSize", "0", "incorrect grid size; allowed: a decimal number greater", true},
        {"Symbol_GridSize", "", "incorrect grid size", true},
        {"Symbol_GridSize", "0x10", "incorrect grid size", true},
        {"Symbol_GridSize", "1e39", "allowed: a decimal number greater than 0", true},
        {"Symbol_GridSize", "inf", "incorrect grid size", true},
        {"Symbol_GridSize", "nan", "incorrect grid size", true},
        {"Symbol_GridSize", " 0.1", "allowed: a decimal number", false},
        {"Symbol_GridSize", "0.1abc", "allowed: a decimal number", true},
        {"Symbol_GridSize", "1e-50", "allowed: a decimal number", true},
        {"Symbol_GridSize", "1e-7", "(six decimals are kept)", true},
        {"Symbol_GridSize", "1e", "allowed: a decimal number", true},
        {"Symbol_GridSize", "1,5", "use a decimal point, not a comma", true},
        {"Symbol_NoteSize", "0,5", "use a decimal point, not a comma", true},
        {"Symbol_NoteSize", "-1", "incorrect pin note size", true},
        {"Symbol_OutLine", "bold", "allowed: one of \"Thin\", \"Bold\"", true},
        {"Symbol_TextStyle", "Diagonal", "\"Automatic\", \"Horizontal\", \"Vertical\"", true},
        {"Symbol_Width", "12", nullptr, true},
        {"Symbol_Width", "+12", nullptr, true},
        {"Symbol_Width", "12.0", "allowed: a whole number from 1 to 100000", true},
        {"Symbol_Width", "1e1", "a whole number", true},
        {"Symbol_Width", "0", "a whole number from 1 to 100000", true},
        {"Symbol_Width", "2147483647", "a whole number from 1 to 100000", true},
        {"Symbol_Width", "2147483648", "a whole number from 1 to 100000", true},
        {"Symbol_Width", "99999999999", "a whole number from 1 to 100000", true},
        {"Symbol_Length", "-3", "a whole number from 1 to 100000", true},
        {"Symbol_PinSpacing_TopBottom", "0", "incorrect pin spacing; allowed: a whole number",
         true},
        {"Symbol_PinSpacing_LeftRight", "5x", "allowed: a whole number from 1 to 100000", true},
        {"UseSplitInstProp", "0", nullptr, true},
        {"UseSplitInstProp", "7", "\"0\" (SPLIT_INST_NAME)", true},
        {"Symbol_UsePinNamesForText", "true", nullptr, true},
        {"Symbol_UsePinNamesForText", "yes", "\"TRUE\", \"FALSE\" (any letter case)", true},
        {"Format_ReadActiveLow", "activelow_suffix_n", nullptr, true},
        {"Format_ReadActiveLow", "star", "\"ActiveLow_Suffix_Star_And_N\"", true},
        {"Format_WriteActiveLow", "ActiveLow_Suffix_Star_And_N", "allowed: one of", true},
        {"Format_UseMinusInPackage", "1", "\"TRUE\", \"FALSE\"", true},
        {"Interpretation_AlphaNum", "4", "\"3\" (BN-S)", true},
        {"Interpretation_AlphaNum", "-2147483648", "allowed: one of", true},
        {"Interpretation_NumAlpha", "0", "\"1\" (BN)", true},
        {"Interpretation_NumAlphaNum", "8", nullptr, true},
        {"Interpretation_NumAlphaNum", "9", "\"8\" (G-BN-S)", true},
        {"Vector_Format", "2", nullptr, true},
        {"Vector_Format", "3", "\"2\" (bit - base name)", true},
        {"Sizeable_Format", "0", "\"1\" (base name - slot)", true},
        {"Use_Group_Format", "2", "\"0\" (no), \"1\" (yes)", true},
        {"User_Defined_OverriddenError", "1,2", nullptr, false},
        {"User_Defined_OverriddenError", "", nullptr, false},
        {"User_Defined_OverriddenError", "1,,2", "message number \"\"", false},
        {"User_Defined_OverriddenError", "1,99999", "message number \"99999\"; allowed", false},
        {"PackagePlaceHolder", "A,B", nullptr, false},
        {"PackagePlaceHolder", "A\nB", "cannot be stored in a project file: it holds a line break",
         false},
        {"PackagePlaceHolder", "A\rB", "holds a carriage return", false},
        {"PackagePlaceHolder", "it's,5\"", "holds both quote characters", false},
        {"PackagePlaceHolder", std::string("A\0B", 3), "holds a NUL character", false},
        {"PinType_TS", "-0.02,0.02,2.0,*,Left", nullptr, true},
        {"PinType_TS", "0.01,x,x,x,Right",
         "the input low load \"0.01\" is not a load of this column; allowed: \"*\" or a "
         "negative number",
         true},
        {"PinType_OC", "x,x,x,-1e1,Right", "the output high load \"-1e1\"", true},
        {"PinType_INPUT", "x,-0.5,x,x,Left", "the input high load \"-0.5\"", true},
        {"PinType_TS", "x,x", "five fields", false},
        {"PinType_TS", "x,x,x,x,left", "position \"left\" is unknown", false},
        {"Prop_NOTE", "4,$HOME/x,No,,", nullptr, true},
        {"Prop_PART_NAME", "4,v,Yes,,", "PART_NAME is reserved on a package", true},
        {"Prop_PART_NAME", "16,v,Yes,,", nullptr, true},
        {"Prop_PIN_NAME", "3,v,Yes,Value,Left", "PIN_NAME is reserved on a", true},
        {"Prop_POWER_GROUP", "1,VCC,Yes,Value,Left",
         "the POWER_GROUP value \"VCC\" is not a list of assignments; allowed: NAME=VALUE", true},
        {"Prop_POWER_GROUP", "2,VCC,Yes,Value,Left", nullptr, true},
        {"Prop_NOTE", "4,a\rb,No,,",
         "the value cannot be stored in a project file: it holds a carriage return", true},
        {"Prop_NOTE", "4,it's,No,,", "the value holds \"'\"; allowed: a value without", true},
        {"Prop_A-B", "4,v,No,,", "the name holds \"-\"; allowed in names", true},
        {"Prop_lower", "1,v,Yes,Value,Left", "property names are upper case", false},
        {"Prop_NOTE", "64,v,No,,", "is not a set of contexts", false},
        {"Prop_NOTE", "48,v,No,,", "global (16) or per package (32) and physical (128)", false},
        {"Prop_NOTE", "1,v,Yes,,", "visibility \"\"", false},
        {"Nonsense_Key", "1", "not a setting key", false},
    };
    for (const Row& row : rows) {
        std::string problem;
        const bool accepted = CheckSettingEntry(row.key, row.value, problem);
        EXPECT_EQ(accepted, row.says == nullptr)
            << row.key << " \"" << row.value << "\": " << problem;
        if (row.says) {
            EXPECT_NE(problem.find(row.says), std::string::npos) << row.key << ": " << problem;
        }
        const std::string dialog = row.field ? DialogSays(row.key, row.value) : "";
        if (row.field && row.says) {
            // The dialog's own messages stand as they are, and it then says what `set` says.
            EXPECT_NE(dialog.find(problem), std::string::npos) << dialog << "\n" << problem;
        } else if (row.field) {
            EXPECT_EQ(dialog, "") << row.key << " " << row.value;
        }
        if (row.says || row.value.find('$') != std::string::npos)
            continue;
        // What is accepted reads back as a value that is accepted again.
        CPFCoreSetupAPI store;
        EXPECT_TRUE(ReadSettingsEntry(store, row.key, row.value)) << row.key;
        std::string written;
        SettingValue(store, row.key, written);
        EXPECT_TRUE(CheckSettingEntry(row.key, written, problem))
            << row.key << " " << written << ": " << problem;
    }
    // Every key has a refused value in the table.
    for (const std::string& key : AllSettingKeys()) {
        const SettingKey* keyRow = FindSettingKey(key);
        EXPECT_TRUE(std::any_of(std::begin(rows), std::end(rows), [&](const Row& row) {
            return row.says && FindSettingKey(row.key) == keyRow;
        })) << key;
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

} // namespace
} // namespace pfsetup::test
