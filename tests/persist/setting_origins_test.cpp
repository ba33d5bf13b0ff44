// The layers under a project's settings: where each entry comes from, and the install and site
// values alone.
#include "persist/setting_origins.h"
#include "setup/setup_store.h"
#include "support/installation.h"

#include <gtest/gtest.h>

namespace pfsetup::test {
namespace {

// "level file:line = value" of the entry named `key`, "-" for none.
std::string Origin(const std::vector<SettingOrigin>& origins, const std::string& key) {
    for (const SettingOrigin& o : origins)
        if (o.key == key)
            return o.level + " " + o.file + ":" + std::to_string(o.line) + " = " + o.value;
    return "-";
}

TEST(SettingOrigins, EachEntryNamesItsLevelFileAndLine) {
    TempInstallation inst;
    inst.WriteSite("START_PFG142\nSymbol_Width '9'\nSymbol_Length '7'\nEND_PFG142\n");
    const std::string site = inst.Path("inst/qrvsetup/projmgr/site.cpm");
    const std::string project = inst.Path("p.cpm");
    WriteFile(project, "START_PFG142\n\nsymbol_length '5'\nProp_X '1,x,Yes,Value,Left'\n"
                       "END_PFG142\n");
    const std::vector<SettingOrigin> origins = ReadSettingOrigins(project);
    EXPECT_EQ(Origin(origins, "Symbol_Length"), "user " + project + ":3 = 5"); // site's name
    EXPECT_EQ(Origin(origins, "Prop_X"), "user " + project + ":4 = 1,x,Yes,Value,Left");
    EXPECT_EQ(Origin(origins, "Symbol_Width"), "site " + site + ":2 = 9");
    EXPECT_EQ(Origin(origins, "Symbol_GridSize").rfind("install ", 0), 0u);
    EXPECT_EQ(Origin(ReadSettingOrigins(""), "Symbol_Length"), "site " + site + ":3 = 7");
    EXPECT_TRUE(ReadSettingOrigins(inst.Path("missing.cpm")).empty());

    CPFCoreSetupAPI defaults;
    ASSERT_TRUE(ReadInstalledSettings(defaults));
    int length = 0;
    defaults.GetDefSymbolLength(length);
    EXPECT_EQ(length, 7);
    EXPECT_EQ(defaults.SetCurrentPropertyByName("X"), 0);
}

} // namespace
} // namespace pfsetup::test
