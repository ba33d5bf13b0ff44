#include "persist_fixture.h"
#include "support/fake_host.h"
#include "support/installation.h"

#include "base/error_record.h"
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
                             "END_PFG142\nSTART_PFG142 \n");
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

// The old section's lines are renamed exactly where the reader takes them for its start and
// end; a renaming that would change what the reader reads is refused, the text left as it is.
TEST(TemplateConversion, RenamesWhatTheReaderTakesForTheOldSection) {
    const struct {
        const char* text;
        const char* converted; // nullptr: as it was
        int renamed;
    } rows[] = {
        // clang-format off
        {"START_PFG\nA '1'\nEND_PFG\n",            "START_PFG142\nA '1'\nEND_PFG142\n",        2},
        {"start_pfg \r\nA 1\r\n\tEnd_Pfg\r\n",     "START_PFG142 \nA 1\n\tEND_PFG142\n",     2},
        {"\xEF\xBB\xBF{c}\n START_PFG{o}\rEND_PFG{x}", "\xEF\xBB\xBF{c}\n START_PFG142{o}\nEND_PFG142{x}\n", 2},
        {"START_PFG\nEND_PFG {c}\n'END_PFG' 1\n",  "START_PFG142\nEND_PFG {c}\n'END_PFG142' 1\n", 2},
        {"START_PFG\nA 1\nSTART_B\nEND_B\n",        "START_PFG142\nA 1\nSTART_B\nEND_B\n",    1},
        {"START_PFG142\r\nEND_PFG142\r\n",          nullptr,                                   0},
        {"START_PFGX\nEND_PFG\nEND_PFGX\n",          nullptr,                                   0},
        {"START_PFG\nEND_PFG142\nEND_PFG\n",         nullptr,                                  -1},
        // clang-format on
    };
    for (const auto& row : rows) {
        std::string text = row.text, problem;
        EXPECT_EQ(ConvertTemplateText(text, problem), row.renamed) << row.text;
        EXPECT_EQ(text, row.converted ? row.converted : row.text);
        EXPECT_EQ(problem.empty(), row.renamed >= 0) << problem;
    }
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
    EXPECT_EQ(ConvertTemplateFile(current).renamed, 0);
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

    // A template that cannot be converted, or holds no settings, applies nothing and says so.
    const std::string refused = inst.Path("refused.tpl");
    const std::string empty = inst.Path("empty.tpl");
    WriteFile(refused, "START_PFG\nSymbol_Width '12'\nEND_PFG142\nEND_PFG\n");
    WriteFile(empty, "START_PFG142\nUnknown_Key '1'\nEND_PFG142\n");
    for (const std::string& tpl : {refused, empty}) {
        host.messages.clear();
        EXPECT_EQ(main->LoadDataFromFile(tpl.c_str()), 1);
        EXPECT_EQ(LastError().kind, ErrorKind::Value);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text,
                  tpl == refused ? "\nUnable to read " + refused +
                                       ": renaming its section PFG to PFG142 would change what "
                                       "it holds"
                                 : "\nNothing to apply: the template " + empty +
                                       " holds no settings in a PFG142 section");
    }
    EXPECT_EQ(ReadFile(refused), "START_PFG\nSymbol_Width '12'\nEND_PFG142\nEND_PFG\n");
    store->GetDefSymbolWidth(width);
    EXPECT_EQ(width, 11);
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
