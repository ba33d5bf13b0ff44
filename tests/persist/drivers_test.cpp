#include "persist_fixture.h"
#include "support/fake_host.h"
#include "support/installation.h"
#include "support/store_peer.h"

#include "projfile/file_io.h"
#include "projfile/project_writer.h"
#include "projfile/spi_project.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace pfsetup::test {
namespace {

class Drivers : public ::testing::Test {
protected:
    TempInstallation inst;
    FakeHost host;
    CPFCoreSetupAPI store;
};

TEST_F(Drivers, BindingOperationsNeedABoundProject) {
    CPFCoreSetupAPIPeer peer(store);
    EXPECT_EQ(peer.SaveProjectFile(inst.Path("x.cpm"), 1), 0);
    EXPECT_EQ(peer.DeleteSettingsSection(), 0);
    EXPECT_EQ(peer.PutEntry("A", "1"), 0);
    EXPECT_EQ(peer.ReplaceEntry("A", "1"), 0);
    EXPECT_EQ(peer.CloseProject(), 1);

    WriteFile(inst.Path("x.cpm"), "START_OTHER\nK 'v'\nEND_OTHER\n");
    ASSERT_EQ(peer.CreateProjectFile(inst.Path("x.cpm")), 1); // an empty project, file untouched
    EXPECT_EQ(ReadFile(inst.Path("x.cpm")), "START_OTHER\nK 'v'\nEND_OTHER\n");
    EXPECT_EQ(peer.DeleteSettingsSection(), 1);
    EXPECT_EQ(peer.ReplaceEntry("A", "0"), 0); // no section yet
    EXPECT_EQ(peer.PutEntry("A", "1"), 1);     // makes the section
    EXPECT_EQ(peer.PutEntry("B", "2"), 1);
    EXPECT_EQ(peer.PutEntry("A", "3"), 1); // replaced, moved to the end
    ASSERT_EQ(peer.SaveProjectFile(inst.Path("x.cpm"), 1), 1);
    const std::string text = ReadFile(inst.Path("x.cpm"));
    EXPECT_NE(text.find("START_PFG142\nB '2'\nA '3'\nEND_PFG142\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("START_OTHER"), std::string::npos);
    EXPECT_EQ(peer.CreateProjectFile(""), 0);
    EXPECT_EQ(peer.Project(), nullptr);
}

TEST_F(Drivers, ReadSetupReportsWhatItCouldNotRead) {
    store.AddToOverriddenError(3);
    store.CreateProperty("P");
    EXPECT_EQ(store.ReadSetup(), 0); // no file name
    EXPECT_EQ(Log(store), "\nUnable to read ");
    EXPECT_EQ(DescribeError(LastError()), "no project file named");
    EXPECT_EQ(store.InitPropertyIteration(), 0);       // properties already emptied
    EXPECT_EQ(store.GetOverriddenErrors().size(), 1u); // the lists are not

    store.PutDefFileName(inst.Path("missing.cpm"));
    EXPECT_EQ(store.ReadSetup(), 0);
    EXPECT_EQ(Log(store), "\nUnable to read " + inst.Path("missing.cpm"));
    EXPECT_EQ(LastError().kind, ErrorKind::NotFound);
    EXPECT_EQ(LastError().file, inst.Path("missing.cpm"));
    EXPECT_EQ(Get(store, &Store::GetLastReadWriteFileName), "");

    // A read that skipped an entry logs it as a warning, with no failure recorded.
    WriteFile(inst.Path("u.cpm"), "START_PFG142\nProp_ '1'\nEND_PFG142\n");
    store.PutDefFileName(inst.Path("u.cpm"));
    EXPECT_EQ(store.ReadSetup(), 1);
    EXPECT_NE(Log(store), "");
    EXPECT_FALSE(LastError().Failed());
}

// A store read without noting its values cannot tell what it changed: its write is refused,
// the file untouched, until a read that notes them.
TEST_F(Drivers, AStoreReadForQueriesOnlyDoesNotWrite) {
    const std::string file = inst.Path("q.cpm");
    WriteFile(file, "START_PFG142\nSymbol_Width '7'\nEND_PFG142\n");
    store.PutDefFileName(file);
    store.PutCPMFileName(file);
    store.RememberReadForWrite(false);
    ASSERT_EQ(store.ReadSetup(), 1);
    store.PutDefSymbolWidth(9);
    EXPECT_EQ(store.WriteCPMFile(), 0);
    EXPECT_NE(Log(store).find("without noting what it read"), std::string::npos) << Log(store);
    EXPECT_EQ(ReadFile(file), "START_PFG142\nSymbol_Width '7'\nEND_PFG142\n");
    store.RememberReadForWrite(true);
    ASSERT_EQ(store.ReadSetup(), 1);
    store.PutDefSymbolWidth(9);
    EXPECT_EQ(store.WriteCPMFile(), 1);
    EXPECT_NE(ReadFile(file).find("Symbol_Width '9'"), std::string::npos);
}

// A project held in memory reads and writes as its file does: the same settings, the same text
// written, the same merge over what another writer changed since the read.
TEST_F(Drivers, AProjectHeldInMemoryReadsAndWritesAsItsFile) {
    SetHeaderTimeForTesting(0);
    const std::string file = inst.Path("m.cpm");
    const std::string project = "{ mine }\nSTART_OTHER\nK 'v'\nEND_OTHER\n\nSTART_PFG142\n"
                                "Symbol_Width '7'\nSymbol_Length '5' { kept }\nEND_PFG142\n";
    std::string changed = project;
    changed.replace(changed.find("'5'"), 3, "'8'");
    const struct {
        const char* what;
        std::string read, now;
    } cases[] = {
        {"empty", "", ""}, {"as read", project, project}, {"changed since", project, changed}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CPFCoreSetupAPI onDisk, inMemory;
        WriteFile(file, c.read);
        ASSERT_EQ(ReadProject(onDisk, file), 1);
        inMemory.PutDefFileName(file);
        inMemory.PutCPMFileName(file);
        ASSERT_EQ(inMemory.ReadSetupText(c.read), 1);
        EXPECT_EQ(Snapshot(inMemory), Snapshot(onDisk));
        onDisk.PutDefSymbolWidth(9);
        inMemory.PutDefSymbolWidth(9);
        WriteFile(file, c.now);
        ASSERT_EQ(onDisk.WriteCPMFile(), 1) << Log(onDisk);
        std::string text = c.now;
        ASSERT_EQ(inMemory.WriteCPMText(text), 1) << Log(inMemory);
        EXPECT_EQ(text, ReadFile(file));
        EXPECT_NE(text.find("Symbol_Width '9'"), std::string::npos) << text;
    }
    EXPECT_NE(ReadFile(file).find("Symbol_Length '8' { kept }"), std::string::npos);

    // A text that does not read is named with its line, and is not written over.
    CPFCoreSetupAPI broken;
    broken.PutDefFileName("held.cpm");
    broken.PutCPMFileName("held.cpm");
    std::string text = "START_PFG142\nSymbol_Width '7\n";
    EXPECT_EQ(broken.ReadSetupText(text), 0);
    EXPECT_EQ(LastError().file, "held.cpm");
    EXPECT_EQ(LastError().line, 2);
    broken.PutDefSymbolWidth(9);
    EXPECT_EQ(broken.WriteCPMText(text), 0);
    EXPECT_EQ(text, "START_PFG142\nSymbol_Width '7\n");
    SetHeaderTimeForTesting(std::nullopt);
}

// A read of one key's entries gives that key what a read of every entry gives it, and a store
// read so refuses to write.
TEST_F(Drivers, AReadOfOneKeyAgreesWithTheWholeRead) {
    const std::string file = inst.Path("all.cpm");
    WriteFile(file, "");
    ChangeEverySetting(store);
    AddProperty(store, "Vcc", 1, "5V");
    store.PutCPMFileName(file);
    ASSERT_EQ(store.WriteCPMFile(), 1) << Log(store);
    CPFCoreSetupAPI whole;
    ASSERT_EQ(ReadProject(whole, file), 1);
    std::vector<std::string> keys = AllSettingKeys();
    keys.push_back("Prop_Vcc");
    for (const std::string& key : keys) {
        CPFCoreSetupAPI one;
        one.ReadOnlyEntriesOf(key);
        ASSERT_EQ(ReadProject(one, file), 1);
        std::string expected, got;
        EXPECT_TRUE(SettingValue(whole, key, expected)) << key;
        EXPECT_TRUE(SettingValue(one, key, got)) << key;
        EXPECT_EQ(got, expected) << key;
    }
    CPFCoreSetupAPI one;
    one.ReadOnlyEntriesOf("symbol_width");
    ASSERT_EQ(ReadProject(one, file), 1);
    one.PutDefSymbolWidth(3);
    EXPECT_EQ(one.WriteCPMFile(), 0);
}

TEST_F(Drivers, ReadSetupMergesInstallSiteAndUserAndKeepsWhatTheFileDoesNotName) {
    inst.WriteSite("START_PFG142\nSymbol_Width '9'\nSymbol_Length '9'\nEND_PFG142\n");
    WriteFile(inst.Path("u.cpm"), "START_PFG142\nSymbol_Length '4'\nNoValue\n"
                                  "Prop_A '1,x,Yes,Value,Left' 'ignored'\nEND_PFG142\n");
    store.PutDefSymbolWidthIncrement(5); // the install file names it: back to 1
    store.PutDefFileName(inst.Path("u.cpm"));
    ASSERT_EQ(store.ReadSetup(), 1) << Log(store);
    EXPECT_EQ(Get(store, &Store::GetDefSymbolWidth), 9);
    EXPECT_EQ(Get(store, &Store::GetDefSymbolLength), 4);
    EXPECT_EQ(Get(store, &Store::GetDefSymbolWidthIncrement), 1);
    ASSERT_EQ(store.SetCurrentPropertyByName("A"), 1);
    EXPECT_EQ(Get(store, &Store::GetLastReadWriteFileName), inst.Path("u.cpm"));

    // Without the section, only the lists are emptied.
    WriteFile(inst.Path("none.cpm"), "");
    inst.WriteInstall("START_GLOBAL\nEND_GLOBAL\n");
    inst.WriteSite("");
    ResetModuleState();
    store.PutDefSymbolWidth(33);
    store.PutDefFileName(inst.Path("none.cpm"));
    EXPECT_EQ(store.ReadSetup(), 1);
    EXPECT_EQ(Get(store, &Store::GetDefSymbolWidth), 33);
    EXPECT_EQ(store.InitPropertyIteration(), 0);
}

TEST_F(Drivers, TemplateSaveKeepsOnlyWhatDiffersAndLeavesTheFormatGroupOut) {
    ChangeEverySetting(store);
    store.SetupSaveForTemplate();
    store.PutDefFileName(inst.Path("t.tpl"));
    WriteFile(inst.Path("t.tpl"), "old content that is replaced\n");
    ASSERT_EQ(store.WriteSetup(), 1) << Log(store);
    const std::string text = ReadFile(inst.Path("t.tpl"));
    EXPECT_EQ(text.rfind("{ Machine generated file created by SPI }", 0), 0u);
    EXPECT_EQ(text.find("old content"), std::string::npos);
    EXPECT_NE(text.find("Symbol_GridSize '0.100000'"), std::string::npos);
    EXPECT_NE(text.find("PinType_TS '-0.5,0.01,1.0,*,Top'"), std::string::npos);
    // Left out: what equals the install file, and the format group.
    for (const char* left :
         {"Symbol_Units", "PinType_INPUT", "Format_", "Interpretation_", "_Format '"})
        EXPECT_EQ(text.find(left), std::string::npos) << left;

    CPFCoreSetupAPI loaded;
    ASSERT_EQ(ReadProject(loaded, inst.Path("t.tpl")), 1);
    EXPECT_EQ(Snapshot(loaded, kTemplateGroups), Snapshot(store, kTemplateGroups));
}

TEST_F(Drivers, FailedTemplateSaveIsReportedAndLeavesTheOldFile) {
    store.PutDefFileName(inst.Path("nodir/t.tpl"));
    EXPECT_EQ(store.WriteSetup(), 0);
    EXPECT_EQ(Log(store), "\nUnable to save file " + inst.Path("nodir/t.tpl"));
    EXPECT_EQ(DescribeError(LastError()),
              inst.Path("nodir/t.tpl") + ": cannot write (no such file or directory)");

    const std::string tpl = inst.Path("t.tpl");
    const std::string old = "{ old }\r\nSTART_PFG142\r\nSymbol_Width '9'\r\nEND_PFG142\r\n";
    WriteFile(tpl, old);
    ChangeEverySetting(store);
    store.PutDefFileName(tpl);
    // Half-way: past the header, short of the settings.
    for (const WriteFault& fault :
         {WriteFault{WriteFault::Write, EFBIG, 300}, WriteFault{WriteFault::Rename, EXDEV, 0}}) {
        SetWriteFaultForTesting(fault);
        EXPECT_EQ(store.WriteSetup(), 0) << fault.stage;
        SetWriteFaultForTesting(std::nullopt);
        EXPECT_EQ(Log(store), "\nUnable to save file " + tpl);
        EXPECT_EQ(LastError().systemError, fault.error);
        EXPECT_EQ(ReadFile(tpl), old) << fault.stage;
        EXPECT_EQ(inst.Listing(), (std::set<std::string>{"inst", "t.tpl"})) << fault.stage;
    }
}

TEST_F(Drivers, EntriesTheFilesCannotHoldAreNotReadAndNamed) {
    ::setenv("PFSETUP_TEST_BREAK", "a\nb", 1);
    const std::string file = inst.Path("u.cpm");
    // (A carriage return inside a value cannot come from a file: it ends the line there.)
    WriteFile(file, "START_PFG142\nProp_VAR '1,$PFSETUP_TEST_BREAK,No,,'\n"
                    "Symbol_Width '7'\nEND_PFG142\n");
    store.PutDefFileName(file);
    ASSERT_EQ(store.ReadSetup(), 1);
    ::unsetenv("PFSETUP_TEST_BREAK");
    EXPECT_EQ(Log(store),
              "\n" + file +
                  ":2: Prop_VAR: the variables of its value expand to text that holds a "
                  "line break; the value is read as written");
    ASSERT_EQ(store.SetCurrentPropertyByName("VAR"), 1);
    EXPECT_EQ(Get(store, &Store::GetPropertyValue), "$PFSETUP_TEST_BREAK");
    EXPECT_EQ(Get(store, &Store::GetDefSymbolWidth), 7);
}

// Reads expand variables; the entries written back name them again wherever the store still
// holds what they expanded to.
TEST_F(Drivers, VariablesInValuesAreWrittenBackAsStored) {
    ::setenv("PFSETUP_TEST_DIR", "/h", 1);
    const std::string project = inst.Path("p.cpm"), tpl = inst.Path("t.tpl");
    WriteFile(project, "START_PFG142\nProp_NOTE '4,$PFSETUP_TEST_DIR/x,No,,'\n"
                       "Prop_KEEP '5,${PFSETUP_TEST_DIR}/k,No,Value,Left'\n"
                       "PackagePlaceHolder '$(PFSETUP_TEST_DIR),TBD'\nEND_PFG142\n");
    ASSERT_EQ(ReadProject(store, project), 1) << Log(store);
    store.PutDefSymbolLength(4);            // a set of another key
    store.SetCurrentPropertyByName("KEEP"); // and of another field of one entry
    store.PutPropertyVisibility("Both");
    ASSERT_EQ(store.WriteCPMFile(), 1) << Log(store);
    store.PutDefFileName(tpl);
    ASSERT_EQ(store.WriteSetup(), 1) << Log(store);
    for (const std::string& file : {project, tpl}) {
        const std::string text = ReadFile(file);
        for (const char* line : {"Prop_NOTE '4,$PFSETUP_TEST_DIR/x,No,,'",
                                 "Prop_KEEP '5,${PFSETUP_TEST_DIR}/k,No,Both,Left'",
                                 "PackagePlaceHolder '$(PFSETUP_TEST_DIR),TBD'"})
            EXPECT_NE(text.find(line), std::string::npos) << file << " lacks " << line;
    }
    // The tree holds the expanded value.
    EXPECT_NE(ReadFile(project).find("PFG/Package/Property/NOTE 'value' '1=/h/x'"),
              std::string::npos);

    store.SetCurrentPropertyByName("NOTE");
    store.PutPropertyValue("/elsewhere"); // a new value is written as it is
    ASSERT_EQ(store.WriteCPMFile(), 1);
    EXPECT_NE(ReadFile(project).find("Prop_NOTE '4,/elsewhere,No,,'"), std::string::npos);
    ::unsetenv("PFSETUP_TEST_DIR");
}

} // namespace
} // namespace pfsetup::test
