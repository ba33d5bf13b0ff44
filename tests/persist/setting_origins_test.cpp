// The layers under a project's settings: where each entry comes from and what it overrides,
// and the install and site values alone.
#include "persist_fixture.h"

#include "persist/setting_origins.h"
#include "projfile/project_parser.h"
#include "setup/setup_store.h"
#include "support/installation.h"

#include <gtest/gtest.h>

namespace pfsetup::test {
namespace {

std::string Text(const SettingLayer& layer) {
    std::string values;
    for (const std::string& value : layer.values)
        values += (values.empty() ? "" : ",") + value;
    return layer.level + " " + layer.file + ":" + std::to_string(layer.line) + " = " + values;
}

// "key: level file:line = values < level file:line = values ..." of the entry a read takes for
// `key`, "-" for none.
std::string Origin(const SettingOrigins& origins, const std::string& key) {
    const std::optional<SettingOrigin> origin = origins.Find(key);
    if (!origin)
        return "-";
    std::string text = origin->key + ": " + Text(*origin);
    for (const SettingLayer& below : origin->overridden)
        text += " < " + Text(below);
    return text;
}

TEST(SettingOrigins, EachEntryNamesItsLevelFileLineAndWhatItOverrides) {
    TempInstallation inst("START_PFG142\nSymbol_Length '6'\nSymbol_GridSize '0.05'\nEND_PFG142\n");
    inst.WriteSite("START_PFG142\nSymbol_Width '9'\nSymbol_Length '7'\nEND_PFG142\n");
    const std::string install = inst.Path("inst/qrvsetup/projmgr/qrv.cpm");
    const std::string site = inst.Path("inst/qrvsetup/projmgr/site.cpm");
    const std::string project = inst.Path("p.cpm");
    WriteFile(project, "START_PFG142\n\nsymbol_length '5'\nProp_X '1,x,Yes,Value,Left' 'v'\n"
                       "stray 'quote\nEND_PFG142\n");
    SettingOrigins origins;
    std::vector<SpiProblem> problems;
    ASSERT_TRUE(origins.Read(project, &problems));
    const std::string length = "Symbol_Length: user " + project + ":3 = 5 < site " + site +
                               ":3 = 7 < install " + install + ":2 = 6";
    EXPECT_EQ(Origin(origins, "SYMBOL_LENGTH"), length);
    EXPECT_EQ(Origin(origins, "Prop_X"), "Prop_X: user " + project + ":4 = 1,x,Yes,Value,Left,v");
    EXPECT_EQ(Origin(origins, "Symbol_Width"), "Symbol_Width: site " + site + ":2 = 9");
    EXPECT_EQ(Origin(origins, "stray"), "-"); // the line a read fails at is left out
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].file + ":" + std::to_string(problems[0].line), project + ":5");
    EXPECT_FALSE(SettingOrigins().Read(inst.Path("missing.cpm")));

    CPFCoreSetupAPI defaults;
    ASSERT_TRUE(ReadInstalledSettings(defaults));
    EXPECT_EQ(Get(defaults, &Store::GetDefSymbolLength), 7);
    EXPECT_EQ(defaults.SetCurrentPropertyByName("X"), 0);
}

} // namespace
} // namespace pfsetup::test
