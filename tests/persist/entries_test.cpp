#include "persist_fixture.h"
#include "support/comma_locale.h"
#include "support/installation.h"

#include "persist/settings_entries.h"
#include "setup/setup_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pfsetup::test {
namespace {

// A fresh store writes the install file's section line for line: the installed defaults are
// the store's own. The keys it leaves out are those whose value-less entries mask installed ones.
TEST(SettingsEntries, DefaultStoreWritesTheInstallFilesSection) {
    CPFCoreSetupAPI store;
    std::string lines = "START_PFG142\n";
    for (const SettingsEntry& e : CollectSettingsEntries(store, store.GetSaveSections()))
        lines += e.key + " '" + e.value + "'\n";
    EXPECT_NE(EmbeddedInstallFile().find(lines + "END_PFG142\n"), std::string::npos) << lines;
    for (const std::string& key : AllSettingKeys())
        EXPECT_EQ(LeftOutByDefault(key), lines.find("\n" + key + " '") == std::string::npos) << key;
    EXPECT_TRUE(LeftOutByDefault("Prop_X") && !LeftOutByDefault("Nonsense"));
}

TEST(SettingsEntries, EveryKeyReadsBackWhatWasWritten) {
    CPFCoreSetupAPI changed;
    ChangeEverySetting(changed);
    CPFCoreSetupAPI fresh;
    for (const SettingsEntry& e : CollectSettingsEntries(changed, 0x00FF))
        fresh.ProcessNameValuePair(e.key, e.value);
    EXPECT_EQ(Snapshot(fresh), Snapshot(changed));
    EXPECT_EQ(Log(fresh), "");
}

TEST(SettingsEntries, NumbersDoNotFollowTheProcessLocale) {
    if (!UseCommaDecimalLocale())
        GTEST_SKIP() << "no comma-decimal locale can be had here";
    CPFCoreSetupAPI store;
    store.ProcessNameValuePair("Symbol_GridSize", "0.125");
    std::string grid;
    SettingValue(store, "Symbol_GridSize", grid);
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

TEST(SettingsEntries, UnknownKeysAndDuplicatePropertiesAreHandledAsDocumented) {
    CPFCoreSetupAPI store;
    const std::string before = Snapshot(store);
    for (const char* key :
         {"Symbol_Foo", "Format_Foo", "User_Defined_Foo", "Foo", "PinType_UNSPEC"})
        store.ProcessNameValuePair(key, "1");
    EXPECT_EQ(Snapshot(store), before);
    EXPECT_EQ(Log(store), "");

    store.ProcessNameValuePair("Prop_A", "1,x,Yes,Value,Left");
    store.ProcessNameValuePair("Prop_A", "2,y,No,Name,Right");
    store.ProcessNameValuePair("Prop_", "1,x,Yes,Value,Left");
    EXPECT_EQ(Log(store), "\nError in reading Property A\nError in reading Property ");
    store.SetCurrentPropertyByName("A");
    EXPECT_EQ(Get(store, &Store::GetPropertyValue), "x");
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
    EXPECT_THAT(Log(store), ::testing::HasSubstr("C\"D"));
}

} // namespace
} // namespace pfsetup::test
