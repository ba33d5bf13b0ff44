// Several writers on one project: a store writes its own changes over what others wrote since
// it read the file, and nothing over a file it could not read.

#include "persist/persist_fixture.h"
#include "support/installation.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace pfsetup::test {
namespace {

class ConcurrentWrite : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(project,
                  "START_PFG142\nSymbol_Width '7'\nSymbol_Length '8'\n"
                  "Prop_KEEP '1,k,No,Value,Left'\nEND_PFG142\nSTART_MINE\nM '1'\nEND_MINE\n");
    }
    // Another writer: reads the project, changes it, writes it.
    template <class Change>
    void OtherWriter(Change&& change) {
        CPFCoreSetupAPI other;
        Read(other);
        change(other);
        ASSERT_EQ(other.WriteCPMFile(), 1);
    }
    void Read(CPFCoreSetupAPI& reader) { ASSERT_EQ(ReadProject(reader, project), 1); }
    // The settings a fresh read of the project gives.
    std::string Reread() {
        CPFCoreSetupAPI again;
        Read(again);
        return Snapshot(again);
    }

    TempInstallation inst;
    const std::string project = inst.Path("p.cpm");
    CPFCoreSetupAPI store;
};

TEST_F(ConcurrentWrite, OwnChangesGoOverWhatOthersWrote) {
    Read(store);
    OtherWriter([](CPFCoreSetupAPI& other) {
        other.PutDefSymbolLength(12);        // a setting the store leaves alone
        other.PutDefSymbolWidth(11);         // one the store changes as well
        AddProperty(other, "ADDED", 1, "a"); // a property the store does not know
    });
    store.PutDefSymbolWidth(9);
    ASSERT_EQ(store.SetCurrentPropertyByName("KEEP"), 1);
    ASSERT_EQ(store.DeleteCurrentProperty(), 1);
    ASSERT_EQ(store.WriteCPMFile(), 1);

    const std::string now = Reread();
    EXPECT_NE(now.find("Symbol_Width=9\n"), std::string::npos) << now;   // the last writer's
    EXPECT_NE(now.find("Symbol_Length=12\n"), std::string::npos) << now; // the other's
    EXPECT_NE(now.find("Prop_ADDED="), std::string::npos) << now;
    EXPECT_EQ(now.find("Prop_KEEP="), std::string::npos) << now; // the store's deletion
    EXPECT_NE(ReadFile(project).find("START_MINE\nM '1'\nEND_MINE"), std::string::npos);

    // The store's next write starts from what it wrote: the other's length stays.
    store.PutDefSymbolWidth(10);
    ASSERT_EQ(store.WriteCPMFile(), 1);
    EXPECT_NE(Reread().find("Symbol_Length=12\n"), std::string::npos);
}

// Every change of the store is replayed, one back to a default the writer leaves out included.
TEST_F(ConcurrentWrite, ResetsToTheDefaultAreReplayed) {
    WriteFile(project, "START_PFG142\nUseSplitInstProp '0'\nEND_PFG142\n");
    Read(store);
    OtherWriter([](CPFCoreSetupAPI& other) { other.PutDefSymbolLength(12); });
    store.PutUseSplitInstProp(1);
    ASSERT_EQ(store.WriteCPMFile(), 1);
    const std::string now = Reread();
    EXPECT_EQ(now.find("UseSplitInstProp="), std::string::npos) << now;
    EXPECT_NE(now.find("Symbol_Length=12\n"), std::string::npos) << now;
}

// A host store that never read the project writes while another process adds a property:
// the property stays, in the settings entries and in the tree.
TEST_F(ConcurrentWrite, AnotherProcessesPropertyStays) {
    store.PutCPMFileName(project);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        CPFCoreSetupAPI other;
        const bool read = ReadProject(other, project) == 1;
        AddProperty(other, "FIRST", 0x05, "f");
        ::_exit(read && other.WriteCPMFile() == 1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    store.PutDefGridSize(0.1f);
    AddProperty(store, "SECOND", 0x05, "s");
    ASSERT_EQ(store.WriteCPMFile(), 1);

    const std::string now = Reread();
    EXPECT_NE(now.find("Prop_FIRST=5,f,"), std::string::npos) << now;
    EXPECT_NE(now.find("Prop_SECOND=5,s,"), std::string::npos) << now;
    EXPECT_NE(now.find("Symbol_Width=7\n"), std::string::npos) << now; // the file's, kept
    const std::string text = ReadFile(project);
    for (const char* node :
         {"PFG/Symbol/SymPropertyList/FIRST 'symprop' '1=f'",
          "PFG/Package/Property/FIRST 'value' '1=f'", "PFG/Symbol/SymPropertyList/SECOND",
          "PFG/Symbol/GridSize 'value' "
          "'1=0.100000'"})
        EXPECT_NE(text.find(node), std::string::npos) << node << "\n" << text;
}

TEST_F(ConcurrentWrite, UnchangedFileIsWrittenAsAlways) {
    CPFCoreSetupAPI alone;
    Read(alone);
    alone.PutDefSymbolWidth(9);
    ASSERT_EQ(alone.WriteCPMFile(), 1);
    const std::string single = ReadFile(project);
    SetUp();
    Read(store);
    store.PutDefSymbolWidth(9);
    ASSERT_EQ(store.WriteCPMFile(), 1);
    // The same bytes but the header's time line.
    const auto body = [](const std::string& text) { return text.substr(text.find("START_")); };
    EXPECT_EQ(body(ReadFile(project)), body(single));
}

TEST_F(ConcurrentWrite, NothingIsWrittenOverAFileThatCouldNotBeRead) {
    WriteFile(project, "stray line\nSTART_PFG142\nSymbol_Width '7'\nEND_PFG142\n");
    EXPECT_EQ(ReadProject(store, project), 0);
    Log(store); // the read's
    store.PutDefSymbolWidth(9);
    EXPECT_EQ(store.WriteCPMFile(), 0);
    EXPECT_EQ(Log(store),
              "\nUnable to save file " + project +
                  ": the last read of it failed, and a write would replace what it holds");
    EXPECT_EQ(ReadFile(project), "stray line\nSTART_PFG142\nSymbol_Width '7'\nEND_PFG142\n");
}

} // namespace
} // namespace pfsetup::test
