// The setup sheet's OK and Cancel sequences, the template modes, the two dialogs of the entry
// object and the offscreen picture, on a copy of the demo project.
#include "dialog_driver.h"

#include "persist/setup_main.h"
#include "support/installation.h"
#include "ui/setup_dialogs.h"

#include <QImage>
#include <QLabel>
#include <QRadioButton>

namespace pfsetup::test {
namespace {

const char* const kRestartWarning =
    "Change in pin assertion notation shall be applicable\nonly when the Pinforge is restarted.";

class SetupSheet : public DialogDriver {
protected:
    void SetUp() override {
        project = install.Path("project.cpm");
        WriteFile(project,
                  ReadFile(std::string(PFSETUP_SOURCE_DIR) + "/examples/demo/project.cpm"));
        store.PutCPMFileName(project);
        store.PutDefFileName(project);
        ASSERT_EQ(store.ReadSetup(), 1);
    }

    // What a store reading the project file now finds.
    std::unique_ptr<CPFCoreSetupAPI> Reread() {
        auto fresh = std::make_unique<CPFCoreSetupAPI>();
        fresh->PutDefFileName(project);
        EXPECT_EQ(fresh->ReadSetup(), 1);
        return fresh;
    }

    static float Grid(const CPFCoreSetupAPI& s) {
        float grid = 0;
        s.GetDefGridSize(grid);
        return grid;
    }

    TempInstallation install;
    std::string project;
};

TEST_F(SetupSheet, OkTransfersOnlyOpenedPagesAndWrites) {
    // Held only in memory: the Format and interpretation pages are never opened, so OK must not
    // put their page defaults over these.
    store.PutAlphaNumValue(PFAlphaNum_BN_S);
    store.PutDefUseMinusInPackage(0);
    Open(CSetupPropSheet::kSymbolPage);
    active->m_bFullSetup = 1;
    Type(CSymbolPP::kGridSize, "0.2");
    ClickButton(PropertySheet::kIdOk);

    EXPECT_EQ(active->result(), 1);
    EXPECT_FALSE(active->isVisible());
    EXPECT_TRUE(active->m_bOkPressed);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{});
    EXPECT_EQ(host.posted, (std::vector<unsigned>{0x40E, 0x40F}));
    PFPinInterpret_AlphaNum alphaNum = PFAlphaNum_BN;
    store.GetAlphaNumValue(alphaNum);
    EXPECT_EQ(alphaNum, PFAlphaNum_BN_S);
    EXPECT_EQ(store.GetDefUseMinusInPackage(), 0);
    EXPECT_FLOAT_EQ(Grid(*Reread()), 0.2f);
}

TEST_F(SetupSheet, AFailedWriteIsReported) {
    store.PutCPMFileName(install.Path("missing/project.cpm"));
    Open(CSetupPropSheet::kPropertyPage);
    ClickButton(PropertySheet::kIdOk);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.rfind("\nUnable to save file ", 0), 0u);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Exclamation);
}

TEST_F(SetupSheet, RestartWarningOnlyForAChangedReadNotation) {
    const struct {
        int click; // on the Format page, 0 for none
        bool mainWindow;
        bool warning;
    } cases[] = {
        {CFormatPP::kReadN, true, true},
        {CFormatPP::kReadStar, false, true},
        {CFormatPP::kWriteN, true, false},
        {0, true, false},
    };
    for (const auto& c : cases) {
        store.PutDefReadActiveLowPinNotation(PFActiveLow_Suffix_Star_And_N);
        store.PutDefWriteActiveLowPinNotation(PFActiveLow_Suffix_Star);
        store.UpdateOrigReadWriteActiveLowPinNotation();
        host.messages.clear();
        host.posted.clear();
        host.mainWindow = c.mainWindow;
        Open(CSetupPropSheet::kFormatPage);
        if (c.click)
            Click(c.click);
        ClickButton(PropertySheet::kIdOk);
        EXPECT_EQ(active->result(), 1);
        EXPECT_EQ(MessageTexts(), c.warning ? std::vector<std::string>{kRestartWarning}
                                            : std::vector<std::string>{})
            << c.click;
        EXPECT_EQ(host.posted,
                  c.mainWindow ? std::vector<unsigned>{0x40E} : std::vector<unsigned>{});
    }
}

TEST_F(SetupSheet, ARefusedOkKeepsTheDialogOpenButCounts) {
    CPFSetupMain main(0);
    const bool ok = Drive([&] { return RunSetupDialog(main, store); },
                          [&](CSetupPropSheet& s) {
                              EXPECT_EQ(main.m_pSheet, &s);
                              ClickTab(CSetupPropSheet::kSymbolPage);
                              ClickTab(CSetupPropSheet::kFormatPage);
                              Type(CSymbolPP::kGridSize, "0"); // hidden now: OK still checks it
                              ClickButton(PropertySheet::kIdOk);
                              EXPECT_TRUE(s.isVisible());
                              EXPECT_EQ(s.GetActiveIndex(), CSetupPropSheet::kSymbolPage);
                              ClickButton(PropertySheet::kIdCancel);
                          });
    EXPECT_TRUE(ok);
    EXPECT_EQ(main.m_pSheet, nullptr);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"\nError - Incorrect grid size"});
}

TEST_F(SetupSheet, CancelRereadsTheLastFileIfThereIsOne) {
    for (bool known : {true, false}) {
        if (!known)
            store.PutLastReadWriteFileName("");
        Open(CSetupPropSheet::kPropertyPage);
        store.PutDefGridSize(9); // as the Property page's direct edits would
        QTest::keyClick(active, Qt::Key_Escape);
        EXPECT_EQ(active->result(), 2);
        EXPECT_FLOAT_EQ(Grid(store), known ? 0.1f : 9.0f);
    }
}

TEST_F(SetupSheet, InterpretationDialog) {
    CPFSetupMain main(0);
    const unsigned ok =
        Drive([&] { return RunInterpretationDialog(main, store); },
              [&](CSetupPropSheet& s) {
                  EXPECT_EQ(s.GetActiveIndex(), CSetupPropSheet::kInterpretationPage);
                  EXPECT_FALSE(s.IsTabControlEnabled());
                  ClickTab(CSetupPropSheet::kSymbolPage);
                  EXPECT_EQ(s.GetActiveIndex(), CSetupPropSheet::kInterpretationPage);
                  Click(CPinNameInterpretationPP::kAlphaNum_BN);
                  ClickButton(PropertySheet::kIdOk);
              });
    EXPECT_EQ(ok, 1u);
    PFPinInterpret_AlphaNum alphaNum = PFAlphaNum_BN_B;
    Reread()->GetAlphaNumValue(alphaNum);
    EXPECT_EQ(alphaNum, PFAlphaNum_BN);
    EXPECT_EQ(host.posted, std::vector<unsigned>{0x40E});

    const unsigned cancelled = Drive([&] { return RunInterpretationDialog(main, store); },
                                     [&](CSetupPropSheet&) {
                                         store.PutDefGridSize(9);
                                         Click(CPinNameInterpretationPP::kAlphaNum_BN_S);
                                         ClickButton(PropertySheet::kIdCancel);
                                     });
    EXPECT_EQ(cancelled, 2u);
    EXPECT_FLOAT_EQ(Grid(store), 0.1f);
    store.GetAlphaNumValue(alphaNum);
    EXPECT_EQ(alphaNum, PFAlphaNum_BN);
}

TEST_F(SetupSheet, TemplateModesShowThreePagesAndTheTemplateButton) {
    const struct {
        int mode;
        const char* button;
        const char* title;
    } cases[] = {{1, "Save..", "Edit Template"},
                 {2, "Save..", "New Template"},
                 {3, "Apply", "Open Template"}};
    for (const auto& c : cases) {
        Open(0, c.mode);
        QPushButton* button = Control<QPushButton>(CSetupPropSheet::kIdTemplateButton);
        EXPECT_EQ(active->GetPageCount(), 3);
        EXPECT_EQ(button->text(), c.button);
        EXPECT_TRUE(button->isVisible());
        EXPECT_FALSE(active->GetButton(PropertySheet::kIdOk)->isVisible());
        EXPECT_EQ(active->windowTitle(), c.title);
    }
    // Apply is OK without the Format steps and the restart warning.
    store.PutDefReadActiveLowPinNotation(PFActiveLow_Suffix_N);
    ClickButton(CSetupPropSheet::kIdTemplateButton);
    EXPECT_EQ(active->result(), 1);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SetupSheet, SavingATemplateKeepsTheProjectBinding) {
    const std::string tpl = install.Path("part.tpl");
    host.filePaths = {tpl};
    host.answers = {MessageResult::No};
    Open(CSetupPropSheet::kSymbolPage, 2);
    Type(CSymbolPP::kMinWidth, "11");
    ClickButton(CSetupPropSheet::kIdTemplateButton);

    ASSERT_EQ(host.fileDialogs.size(), 1u);
    EXPECT_EQ(host.fileDialogs[0].request.title, "Save Part Template");
    EXPECT_NE(ReadFile(tpl).find("Symbol_Width '11'"), std::string::npos);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Apply the template in current settings"});
    EXPECT_EQ(active->result(), 2); // No: cancelled, the store re-read from the project
    std::string def, last;
    store.GetDefFileName(def);
    store.GetLastReadWriteFileName(last);
    EXPECT_EQ(def, project);
    EXPECT_EQ(last, project);
}

// Through the entry object as a host calls it: a value changed on every page, OK, and the
// project file holds them.
TEST_F(SetupSheet, EndToEndThroughTheEntryObject) {
    InstallSetupDialogs();
    SetHostServices(&host);
    Pfsetup_initialize();
    CPFSetupMain& main = *Pfsetup_main();
    main.InitialiseSetupForLibFlow(project);
    const bool ok = Drive([&] { return main.DisplaySetup(); },
                          [&](CSetupPropSheet&) {
                              ClickTab(CSetupPropSheet::kSymbolPage);
                              Type(CSymbolPP::kGridSize, "0.25");
                              ClickTab(CSetupPropSheet::kFormatPage);
                              Click(CFormatPP::kReadN);
                              ClickTab(CSetupPropSheet::kInterpretationPage);
                              Click(CPinNameInterpretationPP::kNumAlpha_S_BN);
                              ClickButton(PropertySheet::kIdOk);
                          });
    EXPECT_TRUE(ok);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kRestartWarning});
    auto fresh = Reread();
    PFActiveLow read = PFActiveLow_Suffix_Star;
    PFPinInterpret_NumAlpha numAlpha = PFNumAlpha_BN;
    fresh->GetDefReadActiveLowPinNotation(read);
    fresh->GetNumAlphaValue(numAlpha);
    EXPECT_FLOAT_EQ(Grid(*fresh), 0.25f);
    EXPECT_EQ(read, PFActiveLow_Suffix_N);
    EXPECT_EQ(numAlpha, PFNumAlpha_S_BN);
}

TEST_F(SetupSheet, RendersEveryPageOffscreen) {
    Pfsetup_initialize();
    CPFSetupMain& main = *Pfsetup_main();
    main.InitialiseSetupForLibFlow(project);
    std::string error;
    for (int page = 0; page < 5; ++page) {
        const std::string png = install.Path("page" + std::to_string(page) + ".png");
        ASSERT_TRUE(RenderSetupDialog(main, false, page, png, error)) << error;
        EXPECT_FALSE(QImage(QString::fromStdString(png)).isNull());
    }
    EXPECT_TRUE(RenderSetupDialog(main, true, -1, install.Path("i.png"), error)) << error;
    EXPECT_FALSE(RenderSetupDialog(main, false, 5, install.Path("x.png"), error));
    EXPECT_FALSE(RenderSetupDialog(main, false, 0, install.Path("no/such/dir/x.png"), error));
    EXPECT_NE(error.find("x.png"), std::string::npos);
    EXPECT_TRUE(host.messages.empty());
}

} // namespace
} // namespace pfsetup::test
