#include "persist_fixture.h"
#include "support/fake_host.h"
#include "support/installation.h"

#include "persist/setup_main.h"
#include "projfile/file_io.h"
#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace pfsetup::test {
namespace {

class EntryObject : public ::testing::Test {
protected:
    void SetUp() override {
        Pfsetup_initialize();
        store = Pfsetup_store();
        main = Pfsetup_main();
    }
    TempInstallation inst;
    FakeHost host;
    CPFCoreSetupAPI* store = nullptr;
    CPFSetupMain* main = nullptr;
};

TEST_F(EntryObject, LibraryFlowBindsBothFileNamesAndReads) {
    WriteFile(inst.Path("p.cpm"), "START_GLOBAL\nEND_GLOBAL\n");
    store->AddToPackagePlaceHolder("X");
    main->InitialiseSetupForLibFlow(inst.Path("p.cpm"));
    std::string def, cpm;
    store->GetDefFileName(def);
    ASSERT_EQ(store->GetCPMFileName(cpm), 1);
    EXPECT_EQ(def, inst.Path("p.cpm"));
    EXPECT_EQ(cpm, inst.Path("p.cpm"));
    EXPECT_TRUE(store->GetPackagePlaceHolders().empty());
    EXPECT_TRUE(host.messages.empty()); // nothing is shown
}

TEST_F(EntryObject, OldTemplatesAreConvertedAndLoadedAndTheFileNamesRestored) {
    const std::string tpl = inst.Path("old.tpl");
    WriteFile(tpl, "{ old }\r\nstart_pfg\r\nSymbol_Width '10'\r\nProp_A '1,v,No,Name,Left'\r\n"
                   "END_PFG\r\nSTART_PFG \r\n");
    store->PutDefFileName("project.cpm");
    store->PutLastReadWriteFileName("last.cpm");
    EXPECT_EQ(main->LoadDataFromFile(tpl.c_str()), 1);
    EXPECT_EQ(ReadFile(tpl), "{ old }\nSTART_PFG142\nSymbol_Width '10'\nProp_A '1,v,No,Name,Left'\n"
                             "END_PFG142\nSTART_PFG \n");
    int width = 0;
    store->GetDefSymbolWidth(width);
    EXPECT_EQ(width, 10);
    EXPECT_EQ(store->SetCurrentPropertyByName("A"), 1);
    std::string def, last;
    store->GetDefFileName(def);
    store->GetLastReadWriteFileName(last);
    EXPECT_EQ(def, "project.cpm");
    EXPECT_EQ(last, "last.cpm");
    // "START_PFG " opened a section that never ends; that is no failure of the read.
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(EntryObject, TemplateLoadChangesOnlyWhatTheTemplateNames) {
    inst.WriteSite("START_PFG142\nProp_SITE '4,s,No,,'\nEND_PFG142\n");
    const std::string project = inst.Path("p.cpm");
    WriteFile(project, ReadFile(std::string(PFSETUP_SOURCE_DIR) + "/examples/demo/project.cpm") +
                           "START_PFG142\nFormat_ReadActiveLow 'ActiveLow_Suffix_N'\nEND_PFG142\n");
    main->InitialiseSetupForLibFlow(project);
    CPFCoreSetupAPI expected;
    expected.PutDefFileName(project);
    ASSERT_EQ(expected.ReadSetup(), 1);
    ASSERT_EQ(Snapshot(expected), Snapshot(*store));

    const std::string tpl = inst.Path("t.tpl");
    WriteFile(tpl, "START_PFG142\nSymbol_Length '3'\nPinType_NC '1,x,x,x,Left'\n"
                   "Prop_NEW '1,n,No,Value,Left'\nEND_PFG142\n");
    EXPECT_EQ(main->LoadDataFromFile(tpl.c_str()), 1);
    EXPECT_TRUE(host.messages.empty());
    // The three lists are the template's (with the site's entries); only what it names moves.
    expected.PutDefSymbolLength(3);
    expected.SetCurrentPinByValue("NC");
    expected.PutDefIil("1");
    expected.PutDefPinLocation("Left");
    expected.ClearProperties();
    AddProperty(expected, "SITE", 4, "s", "No", "", "");
    AddProperty(expected, "NEW", 1, "n", "No", "Value", "Left");
    expected.ClearOverriddenErrors();
    expected.ClearPackagePlaceHolders();
    EXPECT_EQ(Snapshot(*store), Snapshot(expected));
}

TEST_F(EntryObject, TemplatesAreRewrittenOnlyToConvertThem) {
    const std::string current = inst.Path("current.tpl");
    const std::string text = "{ kept as it is }\r\nSTART_PFG142\r\nSymbol_Width '10'\r\n"
                             "END_PFG142\r\n";
    WriteFile(current, text);
    EXPECT_EQ(main->LoadDataFromFile(current.c_str()), 1);
    EXPECT_EQ(ConvertTemplateSections(current), 0);
    EXPECT_EQ(ReadFile(current), text);
    int width = 0;
    store->GetDefSymbolWidth(width);
    EXPECT_EQ(width, 10);

    // An old template that cannot be rewritten is loaded as converted and left as it was.
    const std::string old = inst.Path("old.tpl");
    WriteFile(old, "START_PFG\nSymbol_Width '11'\nEND_PFG\n");
    SetWriteFaultForTesting(WriteFault{WriteFault::CreateTemporary, EACCES, 0});
    EXPECT_EQ(main->LoadDataFromFile(old.c_str()), 1);
    SetWriteFaultForTesting(std::nullopt);
    EXPECT_EQ(ReadFile(old), "START_PFG\nSymbol_Width '11'\nEND_PFG\n");
    store->GetDefSymbolWidth(width);
    EXPECT_EQ(width, 11);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "\nThe template " + old +
                                         " was loaded with its section names converted; the "
                                         "file was left as it was: The file could not be "
                                         "accessed. (Permission denied)");
}

TEST_F(EntryObject, CancelledDialogChangesNothing) {
    store->PutDefFileName("project.cpm");
    EXPECT_EQ(main->LoadDataFromFile(nullptr), 2);
    ASSERT_EQ(host.fileDialogs.size(), 1u);
    const FileDialogRequest& r = host.fileDialogs[0].request;
    EXPECT_FALSE(host.fileDialogs[0].save);
    EXPECT_EQ(r.title, "Load Part Template");
    EXPECT_EQ(r.defaultExtension, "tpl");
    EXPECT_EQ(r.initialName, "template");
    EXPECT_EQ(r.filter, "Template Files (*.tpl)|*.tpl||");
    std::string def;
    store->GetDefFileName(def);
    EXPECT_EQ(def, "project.cpm");
}

TEST_F(EntryObject, UnreadableTemplatesAreShownOnceAndRestoreTheFileNames) {
    const std::string tpl = inst.Path("locked.tpl");
    WriteFile(tpl, "START_PFG142\nSymbol_Width '3'\nEND_PFG142\n");
    ::chmod(tpl.c_str(), 0);
    const bool readable = ::access(tpl.c_str(), R_OK) == 0; // root reads anything
    store->PutDefFileName("project.cpm");
    host.filePaths.push_back(tpl);
    EXPECT_EQ(main->LoadDataFromFile(nullptr), 1);
    // Root reads a file without permissions: then there is nothing to report.
    ASSERT_EQ(host.messages.size(), readable ? 0u : 1u);
    if (!readable) {
        EXPECT_EQ(host.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(host.messages[0].text, "\nUnable to read " + tpl);
    }
    std::string def, log;
    store->GetDefFileName(def);
    EXPECT_EQ(def, "project.cpm");
    EXPECT_EQ(store->GetLogError(log), 0); // shown and cleared

    host.messages.clear();
    EXPECT_EQ(main->LoadDataFromFile(inst.Path("missing.tpl").c_str()), 1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(host.messages[0].text, "\nUnable to read " + inst.Path("missing.tpl"));
    EXPECT_EQ(DescribeError(LastError()), inst.Path("missing.tpl") + ": no such file");
}

TEST_F(EntryObject, DialogsWithoutTheUiLibraryReportThatNoneIsAvailable) {
    SetSetupDialogHooks({});
    EXPECT_FALSE(main->DisplaySetup());
    EXPECT_EQ(main->DisplaySetupForInterpretation(), 2u);
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_TRUE(LastError().Failed());
}

} // namespace
} // namespace pfsetup::test
