// The dialog's field tips and `pfsetup show --origin` name the same origin for every key.

#include "ui/setting_sources.h"

#include "support/installation.h"
#include "support/json_reader.h"
#include "support/program_run.h"

#include <gtest/gtest.h>

namespace pfsetup::test {
namespace {

// Install, site and user files each set keys; the site and user files respell some in
// another letter case (a read keeps the first file's spelling).
TEST(SettingSources, TipsNameTheOriginShowNames) {
    TempInstallation inst("START_PFG142\nSymbol_Width '6'\nSymbol_Length '6'\n"
                          "Symbol_GridSize '0.050000'\nProp_I '1,i,No,Value,Left'\nEND_PFG142\n");
    inst.WriteSite("START_PFG142\nsymbol_width '8'\nProp_S '1,s,No,Value,Left'\nEND_PFG142\n");
    const std::string project = inst.Path("p.cpm");
    WriteFile(project, "START_PFG142\nSYMBOL_LENGTH '9'\nprop_i '1,u,No,Value,Left'\n"
                       "Prop_U '1,u,No,Value,Left'\nEND_PFG142\n");
    const ProgramRun show = RunTool(inst.Dir(), "show --json --origin " + project);
    ASSERT_EQ(show.status, 0) << show.err;
    const JsonValue json = Json(show.out);

    SettingSources sources;
    sources.SetFiles(project, "");
    int fromFiles = 0;
    for (const auto& [key, value] : json["settings"].members) {
        const auto origin = json["origins"].members.find(key);
        std::string expected = "Current value: built-in default (no file sets it)";
        if (origin != json["origins"].members.end()) {
            const std::string level = origin->second["level"].text;
            expected = "Current value: " + (level == "user" ? "project file" : level + " file") +
                       " " + origin->second["file"].text + ":" +
                       std::to_string(static_cast<int>(origin->second["line"].number));
            ++fromFiles;
        }
        EXPECT_EQ(sources.OriginText(key, false), expected) << key;
    }
    EXPECT_EQ(fromFiles, 6);
    EXPECT_EQ(json["origins"]["Symbol_Width"]["level"].text, "site");
    EXPECT_EQ(json["origins"]["Prop_I"]["line"].number, 3);
}

} // namespace
} // namespace pfsetup::test
