// The layers under a project's settings: where each entry comes from, and the install and site
// values alone.
#include "persist/setting_origins.h"
#include "setup/setup_store.h"
#include "support/installation.h"

#include <gtest/gtest.h>

#include <tuple>

namespace pfsetup::test {
namespace {

const SettingOrigin* Find(const std::vector<SettingOrigin>& origins, const std::string& key) {
    for (const SettingOrigin& origin : origins)
        if (origin.key == key)
            return &origin;
    return nullptr;
}

TEST(SettingOrigins, EachEntryNamesItsFileLevelAndLine) {
    TempInstallation inst;
    inst.WriteSite("START_PFG142\nSymbol_Width '9'\nSymbol_Length '7'\nEND_PFG142\n");
    const std::string project = inst.Path("p.cpm");
    WriteFile(project, "START_PFG142\n\nsymbol_length '5'\nProp_X '1,x,Yes,Value,Left'\n"
                       "END_PFG142\n");
    const std::vector<SettingOrigin> origins = ReadSettingOrigins(project);
    // The key as the first file that names it spells it, then the level, the file and the line
    // of the value in effect.
    const std::tuple<const char*, const char*, std::string, int> cases[] = {
        {"Symbol_Length", "user", project, 3},
        {"Prop_X", "user", project, 4},
        {"Symbol_Width", "site", inst.Path("inst/qrvsetup/projmgr/site.cpm"), 2},
    };
    for (const auto& [key, level, file, line] : cases) {
        const SettingOrigin* origin = Find(origins, key);
        ASSERT_NE(origin, nullptr) << key;
        EXPECT_EQ(origin->level + " " + origin->file + ":" + std::to_string(origin->line),
                  level + (" " + file) + ":" + std::to_string(line));
    }
    EXPECT_EQ(Find(origins, "Symbol_Length")->value, "5");
    EXPECT_EQ(Find(origins, "Symbol_GridSize")->level, "install");
    EXPECT_EQ(Find(ReadSettingOrigins(""), "Symbol_Length")->level, "site");
    EXPECT_TRUE(ReadSettingOrigins(inst.Path("missing.cpm")).empty());

    CPFCoreSetupAPI defaults;
    ASSERT_TRUE(ReadInstalledSettings(defaults));
    int length = 0;
    defaults.GetDefSymbolLength(length);
    EXPECT_EQ(length, 7); // the site's, not the project's
    EXPECT_EQ(defaults.SetCurrentPropertyByName("X"), 0);
}

} // namespace
} // namespace pfsetup::test
