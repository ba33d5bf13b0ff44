#include "persist_fixture.h"
#include "support/comma_locale.h"

#include "persist/settings_entries.h"
#include "setup/setup_store.h"

#include <gtest/gtest.h>

namespace pfsetup::test {
namespace {

TEST(SettingsEntries, DefaultStoreWritesTheDocumentedSection) {
    CPFCoreSetupAPI store;
    std::string lines;
    for (const SettingsEntry& e : CollectSettingsEntries(store, store.GetSaveSections()))
        lines += e.key + " '" + e.value + "'\n";
    EXPECT_EQ(lines, "PinType_INPUT '-0.01,0.01,x,x,Left'\n"
                     "PinType_TS '-0.01,0.01,1.0,-1.0,Right'\n"
                     "PinType_TS_BIDIR '-0.01,0.01,1.0,-1.0,Right'\n"
                     "PinType_OC_BIDIR '-0.01,0.01,1.0,*,Right'\n"
                     "PinType_OE_BIDIR '-0.01,0.01,1.0,*,Right'\n"
                     "PinType_BIDIR '-0.01,0.01,1.0,-1.0,Right'\n"
                     "PinType_OUTPUT 'x,x,1.0,-1.0,Right'\n"
                     "PinType_OC 'x,x,1.0,*,Right'\n"
                     "PinType_OE 'x,x,1.0,*,Right'\n"
                     "PinType_ANALOG 'x,x,x,x,Left'\n"
                     "PinType_POWER 'x,x,x,x,Top'\n"
                     "PinType_GROUND 'x,x,x,x,Top'\n"
                     "PinType_NC 'x,x,x,x,Bottom'\n"
                     "Symbol_Units 'Inches'\n"
                     "Symbol_GridSize '0.050000'\n"
                     "Symbol_NoteSize '0.800000'\n"
                     "Symbol_OutLine 'Thin'\n"
                     "Symbol_TextStyle 'Automatic'\n"
                     "Symbol_Width '6'\n"
                     "Symbol_Length '6'\n"
                     "Symbol_PinSpacing_TopBottom '1'\n"
                     "Symbol_PinSpacing_LeftRight '1'\n"
                     "Symbol_UsePinNamesForText 'TRUE'\n"
                     "Format_ReadActiveLow 'ActiveLow_Suffix_Star_And_N'\n"
                     "Format_WriteActiveLow 'ActiveLow_Suffix_Star'\n"
                     "Format_UseMinusInPackage 'TRUE'\n"
                     "Interpretation_AlphaNum '2'\n"
                     "Interpretation_NumAlpha '1'\n"
                     "Interpretation_NumAlphaNum '1'\n"
                     "Vector_Format '1'\n"
                     "Sizeable_Format '1'\n"
                     "Use_Group_Format '1'\n");
}

TEST(SettingsEntries, EveryKeyReadsBackWhatWasWritten) {
    CPFCoreSetupAPI changed;
    ChangeEverySetting(changed);
    CPFCoreSetupAPI fresh;
    for (const SettingsEntry& e : CollectSettingsEntries(changed, 0x00FF))
        fresh.ProcessNameValuePair(e.key, e.value);
    EXPECT_EQ(Snapshot(fresh), Snapshot(changed));
    std::string log;
    EXPECT_EQ(fresh.GetLogError(log), 0) << log;
}

TEST(SettingsEntries, NumbersDoNotFollowTheProcessLocale) {
    if (!UseCommaDecimalLocale())
        GTEST_SKIP() << "no comma-decimal locale can be had here";
    CPFCoreSetupAPI store;
    store.ProcessNameValuePair("Symbol_GridSize", "0.125");
    std::string grid;
    for (const SettingsEntry& e : CollectSettingsEntries(store, 0))
        if (e.key == "Symbol_GridSize")
            grid = e.value;
    UseCLocale();
    EXPECT_EQ(grid, "0.125000");
}

TEST(SettingsEntries, MaskBitsSelectTheOptionalGroups) {
    CPFCoreSetupAPI store;
    ChangeEverySetting(store);
    struct Row {
        uint16_t mask;
        bool pins, props, format;
    } rows[] = {{0x00FF, true, true, true},
                {0x00F7, true, true, false},
                {0x00FB, false, true, true},
                {0x00FE, true, false, true},
                {0x0000, false, false, false}};
    for (const Row& row : rows) {
        bool pins = false, props = false, format = false, symbol = false, lists = false;
        for (const SettingsEntry& e : CollectSettingsEntries(store, row.mask)) {
            pins |= e.key.rfind("PinType_", 0) == 0;
            props |= e.key.rfind("Prop_", 0) == 0;
            format |= e.key.rfind("Format_", 0) == 0 || e.key.rfind("Interpretation_", 0) == 0 ||
                      e.key == "Vector_Format" || e.key == "Sizeable_Format" ||
                      e.key == "Use_Group_Format";
            symbol |= e.key == "Symbol_GridSize";
            lists |= e.key == "User_Defined_OverriddenError";
        }
        EXPECT_EQ(pins, row.pins) << row.mask;
        EXPECT_EQ(props, row.props) << row.mask;
        EXPECT_EQ(format, row.format) << row.mask;
        EXPECT_TRUE(symbol && lists) << row.mask;
    }
}

// key, value, what `show` of the changed field gives afterwards
struct ReadCase {
    const char* key;
    const char* value;
    const char* entry; // the entry the store writes back for that setting
};

class ReaderRules : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReaderRules, ValueFormsAndFallbacks) {
    const ReadCase& c = GetParam();
    CPFCoreSetupAPI store;
    store.ProcessNameValuePair(c.key, c.value);
    std::string all;
    for (const SettingsEntry& e : CollectSettingsEntries(store, 0x00FF))
        all += e.key + "=" + e.value + "\n";
    EXPECT_NE(all.find(std::string(c.entry) + "\n"), std::string::npos) << all;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReaderRules,
    ::testing::Values(
        ReadCase{"Symbol_GridSize", "0.1abc", "Symbol_GridSize=0.100000"},
        ReadCase{"Symbol_GridSize", "  2e-1", "Symbol_GridSize=0.200000"},
        ReadCase{"Symbol_Width", "", "Symbol_Width=0"},
        ReadCase{"Symbol_Width", " -12x", "Symbol_Width=-12"},
        ReadCase{"Symbol_Width", "99999999999999", "Symbol_Width=6"},
        ReadCase{"Symbol_OutLine", "bold", "Symbol_OutLine=Thin"},
        ReadCase{"Symbol_UsePinNamesForText", "true", "Symbol_UsePinNamesForText=TRUE"},
        ReadCase{"Symbol_UsePinNamesForText", "yes", "Symbol_UsePinNamesForText=FALSE"},
        ReadCase{"UseSplitInstProp", "0", "UseSplitInstProp=0"},
        ReadCase{"Vector_Format", "0", "Vector_Format=2"},
        ReadCase{"Vector_Format", "3", "Vector_Format=2"},
        ReadCase{"Sizeable_Format", "1", "Sizeable_Format=1"},
        ReadCase{"Use_Group_Format", "7", "Use_Group_Format=1"},
        ReadCase{"Interpretation_NumAlpha", "9", "Interpretation_NumAlpha=9"},
        ReadCase{"Format_WriteActiveLow", "activelow_suffix_n",
                 "Format_WriteActiveLow=ActiveLow_Suffix_N"},
        ReadCase{"PinType_OUTPUT", "x,x,1.0,-1.0,Right", "PinType_OUTPUT=x,x,1.0,-1.0,Right"},
        ReadCase{"PinType_TS", "-1", "PinType_TS=-1,x,x,x,Right"},
        ReadCase{"PinType_output", "x,x,9,9,Top", "PinType_OUTPUT=x,x,1.0,-1.0,Right"},
        ReadCase{"User_Defined_OverriddenError", "12,,40", "User_Defined_OverriddenError=12,0,40"},
        ReadCase{"User_Defined_OverriddenError", ",12,40,", "User_Defined_OverriddenError=0,12,40"},
        ReadCase{"User_Defined_OverriddenError", "1,70000,-1,2",
                 "User_Defined_OverriddenError=1,2"},
        ReadCase{"PackagePlaceHolder", "A,,B,", "PackagePlaceHolder=A,B"},
        ReadCase{"Prop_TOLERANCE", "1,5%", "Prop_TOLERANCE=1,5%,No,,"},
        ReadCase{"Prop_PG", "5,VCC=1,GND=2,Yes,Both,Right",
                 "Prop_PG=5,VCC=1,GND=2,Yes,Both,Right"}));

TEST(SettingsEntries, UnknownKeysAndDuplicatePropertiesAreHandledAsDocumented) {
    CPFCoreSetupAPI store;
    const std::string before = Snapshot(store);
    for (const char* key :
         {"Symbol_Foo", "Format_Foo", "User_Defined_Foo", "Foo", "PinType_UNSPEC"})
        store.ProcessNameValuePair(key, "1");
    EXPECT_EQ(Snapshot(store), before);
    std::string log;
    EXPECT_EQ(store.GetLogError(log), 0);

    store.ProcessNameValuePair("Prop_A", "1,x,Yes,Value,Left");
    store.ProcessNameValuePair("Prop_A", "2,y,No,Name,Right");
    store.ProcessNameValuePair("Prop_", "1,x,Yes,Value,Left");
    ASSERT_EQ(store.GetLogError(log), 1);
    EXPECT_EQ(log, "\nError in reading Property A\nError in reading Property ");
    store.SetCurrentPropertyByName("A");
    std::string value;
    store.GetPropertyValue(value);
    EXPECT_EQ(value, "x");
}

TEST(SettingsEntries, CommasSurviveInPropertyValuesAndRefuseInPlaceholders) {
    for (const char* value : {"VCC=14,GND=7", ",", "a,,b", "trailing,"}) {
        CPFCoreSetupAPI written;
        AddProperty(written, "POWER_GROUP", 5, value, "Yes", "Both", "Right");
        CPFCoreSetupAPI read;
        for (const SettingsEntry& e : CollectSettingsEntries(written, 0x01))
            read.ProcessNameValuePair(e.key, e.value);
        EXPECT_EQ(Snapshot(read), Snapshot(written)) << value;
    }
    CPFCoreSetupAPI store;
    EXPECT_EQ(store.AddToPackagePlaceHolder("A,B"), 0); // it would read back as two
    EXPECT_EQ(store.AddToPackagePlaceHolder("C"), 1);
    EXPECT_EQ(store.GetPackagePlaceHolders(), std::vector<std::string>{"C"});
    // A placeholder the list cannot take beside the others is named in the log.
    store.ProcessNameValuePair("PackagePlaceHolder", "A'B,C\"D");
    EXPECT_EQ(store.GetPackagePlaceHolders(), (std::vector<std::string>{"C", "A'B"}));
    std::string log;
    ASSERT_EQ(store.GetLogError(log), 1);
    EXPECT_NE(log.find("C\"D"), std::string::npos) << log;
}

} // namespace
} // namespace pfsetup::test
