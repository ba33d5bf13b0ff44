// The setup sheet's OK and Cancel sequences, the template modes and their "Save.." and "Apply"
// buttons, the two dialogs of the entry object and the offscreen picture, on a copy of the demo
// project.
#include "dialog_driver.h"

#include <QImage>

#include <filesystem>
#include <tuple>

namespace pfsetup::test {
namespace {

const char* const kRestartWarning =
    "Change in pin assertion notation shall be applicable\nonly when the Pinforge is restarted.";
const char* const kApplyQuestion = "Apply the template in current settings";

class SetupSheet : public ProjectDriver {
protected:
    void SetUp() override {
        UseProjectText(ReadFile(std::string(PFSETUP_SOURCE_DIR) + "/examples/demo/project.cpm"));
    }

    // Edits on the Symbol, Property and Pin pages of a template mode, then the template button.
    void OpenEditAndSaveTemplate(int mode) {
        Open(CSetupPropSheet::kSymbolPage, mode);
        Type(CSymbolPP::kMinWidth, "11");
        Click(CSymbolPP::kUseSplitInstName);
        ClickTab(CSetupPropSheet::kPropertyPage);
        Grid* properties = Control<Grid>(CPropertyPP::kGrid);
        TypeInCell(properties, 6, CPropertyGridWnd::kName, "supplier"); // the first free row
        TypeInCell(properties, 6, CPropertyGridWnd::kValue, "ACME");
        ClickTab(CSetupPropSheet::kPinPage);
        TypeInCell(Control<Grid>(CPinPP::kGrid), 3, CPinGridWnd::kIil, "-0.5"); // TS
        ClickButton(CSetupPropSheet::kIdTemplateButton);
    }

    // The project the store is bound to: the file to read and the last one read or written.
    std::string Binding() const {
        return Get(store, &Store::GetDefFileName) + " " +
               Get(store, &Store::GetLastReadWriteFileName);
    }
};

TEST_F(SetupSheet, OkTransfersOnlyOpenedPagesAndWrites) {
    // Held only in memory: the Format and interpretation pages are never opened, so OK must not
    // put their page defaults over these; nor the empty load cells of the Pin page over the
    // project's loads.
    store.PutAlphaNumValue(PFAlphaNum_BN_S);
    store.PutDefUseMinusInPackage(0);
    Open(CSetupPropSheet::kSymbolPage);
    Type(CSymbolPP::kGridSize, "0.2");
    ClickButton(PropertySheet::kIdOk);

    EXPECT_EQ(active->result(), 1);
    EXPECT_EQ(Get(store, &Store::GetAlphaNumValue), PFAlphaNum_BN_S);
    EXPECT_EQ(store.GetDefUseMinusInPackage(), 0);
    ASSERT_EQ(store.SetCurrentPinByValue("TS"), 1);
    EXPECT_EQ(Get(store, &Store::GetDefIil), "-0.02");
    EXPECT_FLOAT_EQ(Get(*Reread(), &Store::GetDefGridSize), 0.2f);
}

// Another program writes the project while the dialog is open: OK writes the dialog's own edits
// over the file as it is then, and the other program's setting stays.
TEST_F(SetupSheet, OkKeepsWhatAnotherWriterChangedMeanwhile) {
    CPFSetupMain main(0);
    const bool ok = Drive([&] { return RunSetupDialog(main, store); },
                          [&](CSetupPropSheet&) {
                              ClickTab(CSetupPropSheet::kSymbolPage);
                              Type(CSymbolPP::kGridSize, "0.2");
                              CPFCoreSetupAPI other;
                              ASSERT_EQ(ReadProject(other, project), 1);
                              other.PutDefSymbolLength(12);
                              ASSERT_EQ(other.WriteCPMFile(), 1);
                              ClickButton(PropertySheet::kIdOk);
                          });
    EXPECT_TRUE(ok);
    const auto now = Reread();
    EXPECT_FLOAT_EQ(Get(*now, &CPFCoreSetupAPI::GetDefGridSize), 0.2f);
    EXPECT_EQ(Get(*now, &CPFCoreSetupAPI::GetDefSymbolLength), 12);
}

// Entries a read takes otherwise: one warning names each with its file and line; the pages
// show them as the file holds them, and OK keeps them while the user changes nothing of them.
TEST_F(SetupSheet, EntriesAReadTakesOtherwiseAreShownAndKept) {
    UseProject("Symbol_OutLine 'Wavy'\nSymbol_Width '2147483647'\nPinType_TS 'zz'\n"
               "Prop_X '1,v,Maybe,Sideways,Up'\nPinType_OC '-0.1,x,1.0,*,Up'\n"
               "Prop_PIN_NAME '2,p,Yes,Value,Left'\n");
    CPFSetupMain main(0);
    bool written = false;
    Drive([&] { return RunSetupDialog(main, store, &written); },
          [&](CSetupPropSheet&) {
              const std::vector<std::string> texts = MessageTexts();
              ASSERT_EQ(texts.size(), 1u);
              for (int line = 2; line <= 7; ++line)
                  EXPECT_NE(texts[0].find(project + ":" + std::to_string(line) + ": "),
                            std::string::npos)
                      << texts[0];
              host.messages.clear();
              Grid* properties = Control<Grid>(CPropertyPP::kGrid);
              EXPECT_EQ(properties->GetCellText(1, CPropertyGridWnd::kVisible), "Sideways");
              ClickCell(properties, 2, CPropertyGridWnd::kName); // through the rows, no edit
              ClickCell(properties, 1, CPropertyGridWnd::kName);
              ClickTab(CSetupPropSheet::kPinPage);
              Grid* pins = Control<Grid>(CPinPP::kGrid);
              EXPECT_EQ(pins->GetCellText(3, CPinGridWnd::kIil), "zz");
              EXPECT_EQ(pins->GetCellText(9, CPinGridWnd::kPosition), "Up");
              ClickTab(CSetupPropSheet::kSymbolPage);
              EXPECT_EQ(Control<QComboBox>(CSymbolPP::kOutline)->currentText(), "Wavy");
              EXPECT_EQ(Control<QLineEdit>(CSymbolPP::kMinWidth)->text(), "2147483647");
              Type(CSymbolPP::kGridSize, "0.2");
              ClickButton(PropertySheet::kIdOk);
          });
    EXPECT_TRUE(written);
    const std::string text = ReadFile(project);
    for (const char* kept :
         {"PinType_TS 'zz", "Symbol_Width '2147483647'", "Symbol_GridSize '0.200000'",
          "PinType_OC '-0.1,", "Prop_PIN_NAME '2,p,"})
        EXPECT_NE(text.find(kept), std::string::npos) << kept << "\n" << text;
    EXPECT_EQ(text.find("Prop_X '1,v,No,Value,Left'"), std::string::npos) << text;
}

// A failed write keeps the dialog open with the edits and tells the host nothing: the user
// fixes the cause and presses OK again, or cancels, and the dialog reports only a written OK.
TEST_F(SetupSheet, AFailedWriteKeepsTheDialogOpenWithTheEdits) {
    const std::string folder = install.Path("later");
    const std::string file = folder + "/project.cpm";
    store.PutCPMFileName(file);
    CPFSetupMain main(0);
    for (bool fix : {false, true}) {
        bool written = false;
        const bool ok = Drive(
            [&] { return RunSetupDialog(main, store, &written); },
            [&](CSetupPropSheet& s) {
                ClickTab(CSetupPropSheet::kSymbolPage);
                Type(CSymbolPP::kGridSize, "0.2");
                ClickButton(PropertySheet::kIdOk);
                EXPECT_EQ(MessageTexts(), std::vector<std::string>{
                                              file + ": cannot write (no such file or directory)"});
                host.messages.clear();
                EXPECT_TRUE(s.isVisible());
                EXPECT_EQ(host.posted, std::vector<unsigned>{});
                if (fix)
                    WriteFile(file, ReadFile(project)); // and its folder
                host.answers = {MessageResult::Yes};
                ClickButton(fix ? PropertySheet::kIdOk : PropertySheet::kIdCancel);
            });
        EXPECT_TRUE(ok); // an OK was pressed
        EXPECT_EQ(written, fix);
        ExpectShown(fix ? nullptr : PropertySheet::kDiscardQuestion, MessageIcon::Question, "end");
    }
    EXPECT_EQ(host.posted, (std::vector<unsigned>{0x40E, 0x40F}));
    EXPECT_NE(ReadFile(file).find("Symbol_GridSize '0.200000'"), std::string::npos);
}

TEST_F(SetupSheet, RestartWarningOnlyForAChangedReadNotation) {
    // The control clicked on the Format page (0: none), whether the host has a main window, and
    // whether the warning comes.
    const std::tuple<int, bool, bool> cases[] = {
        {CFormatPP::kReadN, true, true},
        {CFormatPP::kReadStar, false, true},
        {CFormatPP::kWriteN, true, false},
        {0, true, false},
    };
    for (const auto& [click, mainWindow, warning] : cases) {
        store.PutDefReadActiveLowPinNotation(PFActiveLow_Suffix_Star_And_N);
        store.PutDefWriteActiveLowPinNotation(PFActiveLow_Suffix_Star);
        store.UpdateOrigReadWriteActiveLowPinNotation();
        host.posted.clear();
        host.mainWindow = mainWindow;
        Open(CSetupPropSheet::kFormatPage);
        if (click)
            Click(click);
        ClickButton(PropertySheet::kIdOk);
        ExpectShown(warning ? kRestartWarning : nullptr, MessageIcon::Exclamation,
                    std::to_string(click));
        EXPECT_EQ(host.posted, mainWindow ? std::vector<unsigned>{0x40E} : std::vector<unsigned>{});
    }
}

// A refused OK leaves the dialog open on the field to fix; a later Cancel throws the edits
// away (after asking): nothing was written, yet an OK was pressed, which the host hears of.
TEST_F(SetupSheet, ARefusedOkKeepsTheDialogOpenOnTheFieldToFix) {
    CPFSetupMain main(0);
    bool written = true;
    const bool ok =
        Drive([&] { return RunSetupDialog(main, store, &written); },
              [&](CSetupPropSheet& s) {
                  EXPECT_EQ(main.m_pSheet, &s);
                  ClickTab(CSetupPropSheet::kSymbolPage);
                  Type(CSymbolPP::kGridSize, "abc");
                  ClickTab(CSetupPropSheet::kFormatPage);
                  ExpectShown("\nError - Incorrect grid size", MessageIcon::Stop, "tab");
                  Type(CSymbolPP::kGridSize, "0");
                  ClickTab(CSetupPropSheet::kFormatPage);
                  ExpectShown("\nError - Incorrect grid size", MessageIcon::Stop, "tab");
                  ClickButton(PropertySheet::kIdOk);
                  ExpectShown("\nError - Incorrect grid size", MessageIcon::Stop, "OK");
                  EXPECT_TRUE(s.isVisible());
                  EXPECT_EQ(s.GetActiveIndex(), CSetupPropSheet::kSymbolPage);
                  auto* grid = Control<QLineEdit>(CSymbolPP::kGridSize);
                  EXPECT_EQ(QApplication::focusWidget(), grid);
                  EXPECT_EQ(grid->selectedText(), "0");
                  ClickButton(PropertySheet::kIdCancel);
              });
    EXPECT_TRUE(ok);
    EXPECT_FALSE(written);
    EXPECT_EQ(main.m_pSheet, nullptr);
    ExpectShown(PropertySheet::kDiscardQuestion, MessageIcon::Question, "Cancel");
}

TEST_F(SetupSheet, CancelRereadsTheLastFileIfThereIsOne) {
    for (bool known : {true, false}) {
        if (!known)
            store.PutLastReadWriteFileName("");
        Open(CSetupPropSheet::kPropertyPage);
        store.PutDefGridSize(9); // as the Property page's direct edits would
        QTest::keyClick(active, Qt::Key_Escape);
        EXPECT_EQ(active->result(), 2);
        EXPECT_FLOAT_EQ(Get(store, &Store::GetDefGridSize), known ? 0.1f : 9.0f);
    }
}

TEST_F(SetupSheet, InterpretationDialog) {
    CPFSetupMain main(0);
    const unsigned ok =
        Drive([&] { return RunInterpretationDialog(main, store); },
              [&](CSetupPropSheet& s) {
                  ClickTab(CSetupPropSheet::kSymbolPage); // the tabs are off
                  EXPECT_EQ(s.GetActiveIndex(), CSetupPropSheet::kInterpretationPage);
                  Click(CPinNameInterpretationPP::kAlphaNum_BN);
                  ClickButton(PropertySheet::kIdOk);
              });
    EXPECT_EQ(ok, 1u);
    EXPECT_EQ(Get(*Reread(), &Store::GetAlphaNumValue), PFAlphaNum_BN);
    EXPECT_EQ(host.posted, std::vector<unsigned>{0x40E});

    const unsigned cancelled = Drive([&] { return RunInterpretationDialog(main, store); },
                                     [&](CSetupPropSheet&) {
                                         Click(CPinNameInterpretationPP::kAlphaNum_BN_S);
                                         ClickButton(PropertySheet::kIdCancel);
                                     });
    EXPECT_EQ(cancelled, 2u);
    ExpectShown(PropertySheet::kDiscardQuestion, MessageIcon::Question, "Cancel");
    EXPECT_EQ(Get(store, &Store::GetAlphaNumValue), PFAlphaNum_BN);
}

TEST_F(SetupSheet, TemplateModesShowThreePagesAndTheTemplateButton) {
    const std::tuple<int, const char*, const char*> cases[] = {{1, "Save..", "Edit Template"},
                                                               {2, "Save..", "New Template"},
                                                               {3, "Apply", "Open Template"}};
    for (const auto& [mode, caption, title] : cases) {
        Open(0, mode);
        QPushButton* button = Control<QPushButton>(CSetupPropSheet::kIdTemplateButton);
        EXPECT_EQ(active->GetPageCount(), 3);
        EXPECT_EQ(button->text(), caption);
        EXPECT_TRUE(button->isVisible());
        EXPECT_FALSE(active->GetButton(PropertySheet::kIdOk)->isVisible());
        EXPECT_EQ(active->windowTitle(), title);
    }
    // Apply is OK without the Format steps and the restart warning.
    store.PutDefReadActiveLowPinNotation(PFActiveLow_Suffix_N);
    ClickButton(CSetupPropSheet::kIdTemplateButton);
    EXPECT_EQ(active->result(), 1);
}

// "Save.." in mode 2 (a cancelled save dialog leaves the sheet open) writes what the three pages
// hold without the format group; the template opened in mode 3 on another project and applied
// goes into that project.
TEST_F(SetupSheet, ASavedTemplateOpenedAndAppliedGoesIntoTheProject) {
    const std::string tpl = install.Path("part.tpl");
    store.PutDefReadActiveLowPinNotation(PFActiveLow_Suffix_N);
    const std::string projectText = ReadFile(project);
    host.answers = {MessageResult::No};
    OpenEditAndSaveTemplate(2);
    EXPECT_TRUE(active->isVisible());
    EXPECT_FALSE(std::filesystem::exists(tpl));
    Grid* pins = Control<Grid>(CPinPP::kGrid); // nothing saved while a page refuses
    TypeInCell(pins, 3, CPinGridWnd::kIih, "-1");
    ClickButton(CSetupPropSheet::kIdTemplateButton);
    ExpectShown("\nTS Pin : Incorrect Load Value of -1", MessageIcon::None, "refused");
    EXPECT_TRUE(IsCurrent(pins, 3, CPinGridWnd::kIih));
    QTest::keyClick(pins, Qt::Key_Escape);
    host.filePaths = {tpl};
    ClickButton(CSetupPropSheet::kIdTemplateButton);

    ASSERT_EQ(host.fileDialogs.size(), 2u);
    EXPECT_EQ(host.fileDialogs[1].request.title, "Save Part Template");
    EXPECT_EQ(host.fileDialogs[1].request.filter, "Template Files (*.tpl)|*.tpl||");
    const std::string text = ReadFile(tpl);
    for (const char* line : {"Symbol_Width '11'", "UseSplitInstProp '0'",
                             "Prop_SUPPLIER '1,ACME,Yes,Value,Left'", "PinType_TS '-0.5,"})
        EXPECT_NE(text.find(line), std::string::npos) << text;
    EXPECT_EQ(text.find("Format_"), std::string::npos) << text;
    EXPECT_EQ(host.messages.at(0).buttons, MessageButtons::YesNo);
    ExpectShown(kApplyQuestion, MessageIcon::Question, "save");
    EXPECT_EQ(active->result(), 2); // No: cancelled, the project as it was
    EXPECT_EQ(Binding(), project + " " + project);
    EXPECT_EQ(ReadFile(project), projectText);

    const std::string other = install.Path("other.cpm");
    WriteFile(other, "START_PFG142\nProp_OWN '1,x,Yes,Value,Left'\nEND_PFG142\n");
    EntryObject(other);
    CPFSetupMain opener(3);
    ASSERT_EQ(opener.LoadDataFromFile(tpl.c_str()), 1);
    EXPECT_TRUE(Drive([&] { return opener.DisplaySetup(); },
                      [&](CSetupPropSheet& s) {
                          EXPECT_EQ(s.windowTitle(), "Open Template - part.tpl");
                          ClickButton(CSetupPropSheet::kIdTemplateButton);
                      }));
    const std::string applied = ReadFile(other);
    EXPECT_NE(applied.find("Prop_SUPPLIER '1,ACME,"), std::string::npos) << applied;
    EXPECT_NE(applied.find("PinType_TS '-0.5,"), std::string::npos) << applied;
    EXPECT_EQ(applied.find("Prop_OWN"), std::string::npos) << applied; // the template's list won

    CPFSetupMain editor(1); // Edit Template names it and offers it to "Save.."
    ASSERT_EQ(editor.LoadDataFromFile(tpl.c_str()), 1);
    EXPECT_FALSE(Drive([&] { return editor.DisplaySetup(); },
                       [&](CSetupPropSheet& s) {
                           EXPECT_EQ(s.windowTitle(), "Edit Template - part.tpl");
                           ClickButton(CSetupPropSheet::kIdTemplateButton);
                           ClickButton(PropertySheet::kIdCancel);
                       }));
    EXPECT_EQ(host.fileDialogs.back().request.initialName, tpl);
}

TEST_F(SetupSheet, AnUnwritableTemplateIsTriedThreeTimesMore) {
    const std::string lost = install.Path("gone/part.tpl");
    host.filePaths = {lost};
    host.answers = {MessageResult::Yes};
    OpenEditAndSaveTemplate(2);

    const std::vector<std::string> texts = MessageTexts();
    host.messages.clear();
    ASSERT_GE(texts.size(),
              4u); // the store's log of the failed writes may come before the question
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 3),
              std::vector<std::string>(3, "File write failure. The file " + lost +
                                              " could not be saved to disk"));
    EXPECT_EQ(texts.back(), kApplyQuestion);
    EXPECT_EQ(active->result(), 1); // Yes: OK puts the settings into the project
    EXPECT_EQ(Binding(), project + " " + project);
    EXPECT_NE(ReadFile(project).find("Prop_SUPPLIER '1,ACME"), std::string::npos);
}

// Through the entry object as a host calls it: a value changed on every page, OK, and the
// project file holds them; the host hears of the full setup.
TEST_F(SetupSheet, EndToEndThroughTheEntryObject) {
    CPFSetupMain& main = EntryObject(project);
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
    ExpectShown(kRestartWarning, MessageIcon::Exclamation, "OK");
    EXPECT_EQ(host.posted, (std::vector<unsigned>{0x40E, 0x40F}));
    auto fresh = Reread();
    EXPECT_FLOAT_EQ(Get(*fresh, &Store::GetDefGridSize), 0.25f);
    EXPECT_EQ(Get<PFActiveLow>(*fresh, &Store::GetDefReadActiveLowPinNotation),
              PFActiveLow_Suffix_N);
    EXPECT_EQ(Get(*fresh, &Store::GetNumAlphaValue), PFNumAlpha_S_BN);
}

// Restore Defaults puts the install and site values on the shown page only; Cancel undoes it
// like any edit, OK writes it. Each field's tip says where its value comes from.
TEST_F(SetupSheet, RestoreDefaultsAndWhereValuesComeFrom) {
    install.WriteSite(
        "START_PFG142\nSymbol_Length '9'\nProp_SITE '1,s,Yes,Value,Left'\nEND_PFG142\n");
    const std::string demo = ReadFile(project);
    auto tip = [this](int id) { return Control(id)->toolTip().toStdString(); };
    Open(CSetupPropSheet::kSymbolPage);
    // The demo project sets the grid on its line 20; the site file the height.
    EXPECT_NE(tip(CSymbolPP::kGridSize).find("project file " + project + ":20"), std::string::npos)
        << tip(CSymbolPP::kGridSize);
    EXPECT_NE(tip(CSymbolPP::kMinHeight).find("site file"), std::string::npos);
    EXPECT_NE(tip(CSymbolPP::kPinSpacingTopBottom).find("install file"), std::string::npos);
    EXPECT_NE(tip(CSymbolPP::kGridSize).find("greater than 0"), std::string::npos);

    ClickButton(PropertySheet::kIdRestoreDefaults);
    EXPECT_EQ(Control<QLineEdit>(CSymbolPP::kGridSize)->text(), "0.05");
    EXPECT_EQ(Control<QLineEdit>(CSymbolPP::kMinWidth)->text(), "6");
    EXPECT_EQ(Control<QLineEdit>(CSymbolPP::kMinHeight)->text(), "9");
    EXPECT_NE(tip(CSymbolPP::kGridSize).find("install file"), std::string::npos);
    ClickTab(CSetupPropSheet::kPropertyPage);
    ClickButton(PropertySheet::kIdRestoreDefaults);
    Grid* grid = Control<Grid>(CPropertyPP::kGrid);
    EXPECT_EQ(grid->GetCellText(1, CPropertyGridWnd::kName) + "|" +
                  grid->GetCellText(2, CPropertyGridWnd::kName),
              "SITE|");
    ClickTab(CSetupPropSheet::kPinPage); // not restored: the demo's loads
    EXPECT_EQ(Control<Grid>(CPinPP::kGrid)->GetCellText(3, CPinGridWnd::kIil), "-0.02");
    QTest::keyClick(active, Qt::Key_Escape);
    ExpectShown(PropertySheet::kDiscardQuestion, MessageIcon::Question, "Escape");
    EXPECT_EQ(ReadFile(project), demo);
    EXPECT_EQ(store.SetCurrentPropertyByName("TOLERANCE"), 1); // read again

    Open(CSetupPropSheet::kSymbolPage);
    ClickButton(PropertySheet::kIdRestoreDefaults);
    ClickButton(PropertySheet::kIdOk);
    auto fresh = Reread();
    EXPECT_FLOAT_EQ(Get(*fresh, &Store::GetDefGridSize), 0.05f);
    EXPECT_EQ(Get(*fresh, &Store::GetDefSymbolWidth), 6);
    EXPECT_EQ(Get(*fresh, &Store::GetDefSymbolLength), 9);
    EXPECT_EQ(fresh->SetCurrentPropertyByName("TOLERANCE"), 1);
}

// A larger dialog gives its room to the value column, the Pin grid and the Symbol fields.
TEST_F(SetupSheet, ALargerDialogWidensGridsAndFields) {
    Open(CSetupPropSheet::kPropertyPage);
    auto widths = [this] {
        for (int page : {1, 2, 0}) // each page laid out once shown
            ClickTab(page);
        auto* properties = Control<QTableWidget>(CPropertyPP::kGrid);
        return std::vector<int>{properties->columnWidth(CPropertyGridWnd::kValue),
                                Control(CPinPP::kGrid)->width(),
                                Control(CSymbolPP::kGridSize)->width(),
                                properties->columnWidth(CPropertyGridWnd::kName)};
    };
    const std::vector<int> before = widths();
    active->resize(active->width() + 300, active->height());
    const std::vector<int> after = widths();
    for (size_t i = 0; i < 3; ++i)
        EXPECT_GE(after[i], before[i] + 150) << i;
    EXPECT_EQ(after[3], before[3]);
}

TEST_F(SetupSheet, RendersEveryPageOffscreen) {
    CPFSetupMain& main = EntryObject(project);
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
}

} // namespace
} // namespace pfsetup::test
