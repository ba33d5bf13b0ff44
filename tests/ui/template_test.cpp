// The template button: "Save.." writes what the three pages hold as a part template, "Apply"
// puts an opened template into the project.
#include "dialog_driver.h"

#include "persist/setup_main.h"
#include "ui/setup_dialogs.h"

#include <filesystem>

namespace pfsetup::test {
namespace {

const char* const kApplyQuestion = "Apply the template in current settings";

class TemplateCommands : public ProjectDriver {
protected:
    void SetUp() override {
        UseProject("Prop_TOLERANCE '1,5%,Yes,Value,Left'\n");
        tpl = install.Path("part.tpl");
    }

    // Edits on the Property and Pin pages, then the template button.
    void OpenEditAndSave(int mode) {
        Open(CSetupPropSheet::kPropertyPage, mode);
        Grid* properties = Control<Grid>(CPropertyPP::kGrid);
        TypeInCell(properties, 2, CPropertyGridWnd::kName, "vendor");
        TypeInCell(properties, 2, CPropertyGridWnd::kValue, "ACME");
        ClickTab(CSetupPropSheet::kPinPage);
        TypeInCell(Control<Grid>(CPinPP::kGrid), 3, CPinGridWnd::kIil, "-0.5"); // TS
        ClickButton(CSetupPropSheet::kIdTemplateButton);
    }

    std::string DefFile() const {
        std::string name;
        store.GetDefFileName(name);
        return name;
    }

    std::string tpl;
};

// Saved in mode 2 without the format group, then opened in mode 3 on another project and
// applied there.
TEST_F(TemplateCommands, ASavedTemplateOpenedAndAppliedGoesIntoTheProject) {
    store.PutDefReadActiveLowPinNotation(PFActiveLow_Suffix_N);
    const std::string projectText = ReadFile(project);
    host.filePaths = {tpl};
    host.answers = {MessageResult::No};
    OpenEditAndSave(2);

    EXPECT_EQ(host.fileDialogs.at(0).request.filter, "Template Files (*.tpl)|*.tpl||");
    const std::string text = ReadFile(tpl);
    EXPECT_NE(text.find("Prop_VENDOR '1,ACME,Yes,Value,Left'"), std::string::npos) << text;
    EXPECT_NE(text.find("PinType_TS '-0.5,"), std::string::npos) << text;
    EXPECT_EQ(text.find("Format_"), std::string::npos) << text;
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kApplyQuestion});
    EXPECT_EQ(host.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(active->result(), 2); // No: cancelled, the project as it was
    EXPECT_EQ(DefFile(), project);
    EXPECT_EQ(ReadFile(project), projectText);

    const std::string other = install.Path("other.cpm");
    WriteFile(other, "START_PFG142\nProp_OWN '1,x,Yes,Value,Left'\nEND_PFG142\n");
    InstallSetupDialogs();
    SetHostServices(&host);
    Pfsetup_initialize();
    Pfsetup_main()->InitialiseSetupForLibFlow(other);
    CPFSetupMain opener(3);
    ASSERT_EQ(opener.LoadDataFromFile(tpl.c_str()), 1);
    host.messages.clear();
    const bool ok = Drive([&] { return opener.DisplaySetup(); },
                          [&](CSetupPropSheet& s) {
                              EXPECT_EQ(s.windowTitle(), "Open Template");
                              ClickButton(CSetupPropSheet::kIdTemplateButton);
                          });
    EXPECT_TRUE(ok);
    EXPECT_TRUE(host.messages.empty());
    CPFCoreSetupAPI applied;
    applied.PutDefFileName(other);
    ASSERT_EQ(applied.ReadSetup(), 1);
    std::string value, iil;
    ASSERT_EQ(applied.SetCurrentPropertyByName("VENDOR"), 1);
    applied.GetPropertyValue(value);
    EXPECT_EQ(value, "ACME");
    EXPECT_EQ(applied.SetCurrentPropertyByName("OWN"), 0); // the template's list replaced it
    applied.SetCurrentPinByValue("TS");
    applied.GetDefIil(iil);
    EXPECT_EQ(iil, "-0.5");
}

TEST_F(TemplateCommands, ACancelledSaveDialogKeepsTheSheetOpen) {
    OpenEditAndSave(1);
    EXPECT_TRUE(active->isVisible());
    EXPECT_EQ(host.fileDialogs.size(), 1u);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(DefFile(), project);
    EXPECT_FALSE(std::filesystem::exists(tpl));
}

TEST_F(TemplateCommands, AnUnwritableTemplateIsTriedThreeTimesMore) {
    const std::string lost = install.Path("gone/part.tpl");
    host.filePaths = {lost};
    host.answers = {MessageResult::Yes};
    OpenEditAndSave(2);

    const std::vector<std::string> texts = MessageTexts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 3),
              std::vector<std::string>(3, "File write failure. The file " + lost +
                                              " could not be saved to disk"));
    EXPECT_EQ(texts.back(), kApplyQuestion);
    EXPECT_EQ(active->result(), 1); // Yes: OK puts the settings into the project
    EXPECT_EQ(DefFile(), project);
    EXPECT_NE(ReadFile(project).find("Prop_VENDOR"), std::string::npos);
}

} // namespace
} // namespace pfsetup::test
