// Several writers on one project: a store writes its own changes over what others wrote since
// it read the file, and nothing over a file it could not read.

#include "persist/persist_fixture.h"
#include "support/installation.h"

#include <gtest/gtest.h>

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
    void Read(CPFCoreSetupAPI& reader) {
        reader.PutDefFileName(project);
        reader.PutCPMFileName(project);
        ASSERT_EQ(reader.ReadSetup(), 1);
    }
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
    store.PutDefFileName(project);
    store.PutCPMFileName(project);
    EXPECT_EQ(store.ReadSetup(), 0);
    std::string log;
    store.GetLogError(log);
    store.PutDefSymbolWidth(9);
    EXPECT_EQ(store.WriteCPMFile(), 0);
    store.GetLogError(log);
    EXPECT_EQ(log, "\nUnable to save file " + project +
                       ": the last read of it failed, and a write would replace what it holds");
    EXPECT_EQ(ReadFile(project), "stray line\nSTART_PFG142\nSymbol_Width '7'\nEND_PFG142\n");
}

} // namespace
} // namespace pfsetup::test
