#include "persist_fixture.h"
#include "support/fake_host.h"
#include "support/installation.h"
#include "support/store_peer.h"

#include "persist/tree/ar_tree.h"
#include "persist/tree/st_setup_file.h"
#include "projfile/spi_project.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace pfsetup::test {
namespace {

// "kind p1|p2..." of the node at a path, or "-" when there is none.
std::string NodeAt(const std::string& path) {
    ARStatus status;
    ARTreeNode* node = nullptr;
    if (!ARObjFind().getObj(path, node, status))
        return "-";
    std::string text = node->kind();
    for (const auto& [number, value] : node->params())
        text += " " + std::to_string(number) + "=" + value;
    return text;
}

// The project `text` becomes the user's file and the only tree in memory; the status message
// of the parse, empty when it succeeded.
std::string Reparse(const std::string& project, const std::string& text) {
    WriteFile(project, text);
    ResetModuleState();
    ARStatus status;
    STSetupFile file(project, true);
    return file.parse(status).test(1) ? std::string() : status.message();
}

class Tree : public ::testing::Test {
protected:
    void SetUp() override {
        store.PutCPMFileName(project);
        ASSERT_EQ(Reparse(project, "START_GLOBAL\nNAME 'keep me'\nEND_GLOBAL\n"), "");
    }
    TempInstallation inst;
    FakeHost host;
    CPFCoreSetupAPI store;
    CPFCoreSetupAPIPeer peer{store};
    const std::string project = inst.Path("p.cpm");
};

TEST_F(Tree, PropertiesGoToTheNodesOfTheirContexts) {
    AddProperty(store, "MULTI", 0x13, "v", "No", "Both");
    AddProperty(store, "TABLE", 0x30, "t");
    AddProperty(store, "PART_NAME", 0x05, "p"); // forbidden on symbols only
    AddProperty(store, "PP", 0x08, "pin");
    AddProperty(store, "PHYS", 0xB0, "x");
    peer.PutEntryInProjectInNewFormat();

    EXPECT_EQ(NodeAt("PFG/Symbol/SymPropertyList/MULTI"),
              "symprop 1=v 2=3 3=0 5=0 6=20 7=Top-Left");
    EXPECT_EQ(NodeAt("PFG/Symbol/SymPinPropertyList/MULTI"), "symprop 1=v 2=3 3=0 6=16");
    EXPECT_EQ(NodeAt("PFG/Ptf/PtfProperty/MULTI"), "ptfprop 1=v 2=1");
    EXPECT_EQ(NodeAt("PFG/Ptf/PtfProperty/TABLE"), "ptfprop 1=t 2=0");
    EXPECT_EQ(NodeAt("PFG/Ptf/PtfProperty/PHYS"), "ptfprop 1=x 2=2");
    EXPECT_EQ(NodeAt("PFG/Symbol/SymPropertyList/PART_NAME"), "-");
    EXPECT_EQ(NodeAt("PFG/Package/Property/PART_NAME"), "-"); // also forbidden on packages
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_NE(host.messages[0].text.find("PART_NAME"), std::string::npos);
    EXPECT_NE(host.messages[0].text.find("symbol"), std::string::npos);
    EXPECT_NE(host.messages[1].text.find("package"), std::string::npos);
    EXPECT_EQ(NodeAt("PFG/PackagePin/Property/UNSPEC/PP"), "value 1=pin");
    EXPECT_EQ(NodeAt("PFG/PackagePin/Property/TSBIDIR/PP"), "value 1=pin");
    EXPECT_EQ(NodeAt("PFG/PackagePin/Property/OUTPUT"), "-");

    peer.PutEntryInProjectInNewFormat(); // a second write replaces, never duplicates
    ARStatus status;
    ARTreeNode* list = nullptr;
    ARObjFind().getObj("PFG/Ptf/PtfProperty", list, status);
    EXPECT_EQ(list->children().size(), 3u);
}

TEST_F(Tree, SymbolAndPinTypeValues) {
    struct Row {
        float note;
        PFSymbolOutline outline;
        const char* height;
        const char* outlineText;
    } rows[] = {{0.8f, PFBold, "value 1=20", "value 1=Thick"},
                {0.05f, PFThin, "value 1=1", "value 1=Thin"}};
    for (const Row& row : rows) {
        store.PutDefNoteSize(row.note);
        store.PutDefSymbolOutLine(row.outline);
        peer.PutEntryInProjectInNewFormat();
        EXPECT_EQ(NodeAt("PFG/Symbol/Pintext/Height"), row.height);
        EXPECT_EQ(NodeAt("PFG/Symbol/OutLine"), row.outlineText);
    }
    EXPECT_EQ(NodeAt("PFG/Symbol/GridSize"), "value 1=0.050000");
    store.SetCurrentPinByValue("TS_BIDIR");
    store.PutDefIoh("*");
    store.PutDefSymbolLengthIncrement(4);
    store.PutSaveSections(0x00FB); // pin types left out
    peer.PutEntryInProjectInNewFormat();
    EXPECT_EQ(NodeAt("PFG/PinType/TSBIDIR"), "value 1=-0.01,0.01,1.0,-1.0,Right");
    EXPECT_EQ(NodeAt("PFG/Symbol/Pin/Shape/MinimumPinSpacing"), "value 1=4");
    store.PutSaveSections(0x00FF);
    ARTreeNode* pinTypes = ARObjFind::root("PFG")->getNamedChild("PinType");
    pinTypes->deleteChild(pinTypes->getNamedChild("NC")); // a type without a node stays so
    peer.PutEntryInProjectInNewFormat();
    EXPECT_EQ(NodeAt("PFG/PinType/TSBIDIR"), "value 1=-0.01,0.01,1.0,*,Right");
    EXPECT_EQ(NodeAt("PFG/PinType/NC"), "-");
}

TEST_F(Tree, MissingExpectedNodesAreMade) {
    ARStatus status;
    ARTreeNode* symbol = nullptr;
    ARObjFind().getObj("PFG/Symbol", symbol, status);
    symbol->deleteChild(symbol->getNamedChild("Width"));
    ARTreeNode* root = ARObjFind::root("PFG");
    root->deleteChild(root->getNamedChild("Package"));
    AddProperty(store, "PKG", 0x04, "v");
    peer.PutEntryInProjectInNewFormat();
    EXPECT_EQ(NodeAt("PFG/Symbol/Width"), "value 1=6");
    EXPECT_EQ(NodeAt("PFG/Package/Property/PKG"), "value 1=v");
}

TEST_F(Tree, ConfirmedSettingsAreWhatTheNextReadFinds) {
    WriteFile(project, ReadFile(std::string(PFSETUP_SOURCE_DIR) + "/examples/demo/project.cpm"));
    store.PutDefFileName(project);
    ASSERT_EQ(store.ReadSetup(), 1);
    ChangeEverySetting(store);
    store.SetupSaveForTemplate(); // a template save before must not keep the format group out
    ASSERT_EQ(store.WriteCPMFile(), 1);
    EXPECT_EQ(Get(store, &Store::GetLastReadWriteFileName), project);

    CPFCoreSetupAPI fresh;
    ASSERT_EQ(ReadProject(fresh, project), 1);
    EXPECT_EQ(Snapshot(fresh), Snapshot(store));

    const std::string text = ReadFile(project);
    EXPECT_NE(text.find("START_GLOBAL\nlibrary_root '${HOME}/parts/logic'\nEND_GLOBAL"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Symbol_Units"), std::string::npos); // equal to the install file

    // The tree read afresh from the file shows the written values.
    ASSERT_EQ(Reparse(project, ReadFile(project)), "");
    EXPECT_EQ(NodeAt("PFG/Symbol/GridSize"), "value 1=0.100000");
    EXPECT_EQ(NodeAt("PFG/Symbol/SymPropertyList/TOLERANCE"),
              "symprop 1=5% 2=2 3=0 5=0 6=20 7=Top-Left");
    EXPECT_EQ(NodeAt("PFG/Symbol/Width"), "value 1=9");
}

TEST_F(Tree, RemovedSettingsDoNotComeBack) {
    inst.WriteSite("START_PFG142\nProp_SITE '1,s,No,Value,Left'\nPackagePlaceHolder 'S'\n"
                   "UseSplitInstProp '0'\nFuture_Key 'kept'\nEND_PFG142\n");
    ResetModuleState();
    WriteFile(project, "START_PFG142\nProp_MINE '1,m,No,Value,Left'\nOther_Key 'mine'\n"
                       "END_PFG142\n");
    store.PutDefFileName(project);
    ASSERT_EQ(store.ReadSetup(), 1);
    ASSERT_EQ(store.GetUseSplitInstProp(), 0);
    for (const char* name : {"SITE", "MINE"}) {
        store.SetCurrentPropertyByName(name);
        store.DeleteCurrentProperty();
    }
    store.ClearPackagePlaceHolders();
    store.PutUseSplitInstProp(1);
    ASSERT_EQ(store.WriteCPMFile(), 1);

    CPFCoreSetupAPI fresh;
    ASSERT_EQ(ReadProject(fresh, project), 1);
    EXPECT_EQ(fresh.InitPropertyIteration(), 0);
    EXPECT_TRUE(fresh.GetPackagePlaceHolders().empty());
    EXPECT_EQ(fresh.GetUseSplitInstProp(), 1);
    const std::string text = ReadFile(project);
    EXPECT_NE(text.find("Other_Key 'mine'"), std::string::npos) << text;
    EXPECT_EQ(text.find("Future_Key"), std::string::npos) << text; // the site's stays there
    EXPECT_EQ(text.find("MINE"), std::string::npos) << text;
}

TEST_F(Tree, NothingIsWrittenWithoutAProjectOrARoot) {
    CPFCoreSetupAPI other;
    other.PutCPMFileName(inst.Path("missing.cpm"));
    EXPECT_EQ(other.WriteCPMFile(), 0);
    EXPECT_FALSE(std::ifstream(inst.Path("missing.cpm")).good());

    inst.WriteInstall("START_GLOBAL\nEND_GLOBAL\n"); // no tree at all
    ResetModuleState();
    const std::string before = ReadFile(project);
    EXPECT_EQ(store.WriteCPMFile(), 0);
    EXPECT_EQ(ReadFile(project), before);
    EXPECT_EQ(Get(store, &Store::GetLastReadWriteFileName), "");
}

// Nothing recurses as deep as the tree: a path deeper than the tree holds is refused with its
// line and nothing is written; a deeper tree made in memory is destroyed, and not written.
TEST_F(Tree, DepthIsBoundedWhereTheTreeIsReadAndWritten) {
    auto path = [](int names) {
        std::string made = "PFG";
        for (int i = 1; i < names; ++i)
            made += "/n";
        return made;
    };
    for (int depth : {10000, 50000}) {
        const std::string text = "START_SETUP_TREE\n" + path(depth) + " 'node'\nEND_SETUP_TREE\n";
        const std::string problem = project + ":2: a settings tree path " + std::to_string(depth) +
                                    " names deep; the settings tree holds at most 64";
        EXPECT_EQ(Reparse(project, text), problem);
        EXPECT_EQ(store.WriteCPMFile(), 0);
        EXPECT_TRUE(ReadFile(project) == text);
        EXPECT_EQ(Log(store).find("\n" + problem), 0u);
    }
    EXPECT_EQ(
        Reparse(project, "START_SETUP_TREE\n" + path(64) + " 'value' '1=x'\nEND_SETUP_TREE\n"), "");
    EXPECT_EQ(NodeAt(path(64)), "value 1=x");
    {
        ARTreeNode root("PFG");
        ARTreeNode* node = &root;
        for (int i = 0; i < 200000; ++i)
            node = node->addChild(new ARTreeNode("n"));
    }
    ARTreeNode* deepest = nullptr;
    ARStatus status;
    ARObjFind().getObj(path(64), deepest, status);
    deepest->addChild(new ARTreeNode("n"));
    const std::string before = ReadFile(project);
    EXPECT_EQ(store.WriteCPMFile(), 0);
    EXPECT_TRUE(ReadFile(project) == before);
    EXPECT_THAT(Log(store), ::testing::HasSubstr("lies 65 names deep"));
}

// Node names ignore letter case, as the directive names that hold them do.
TEST_F(Tree, RemovedNodesAndUnknownKindsSurviveAWrite) {
    inst.WriteSite("START_SETUP_TREE\nPFG/Site 'value' '1=s'\nPFG/Site2 'value' '1=t'\n"
                   "END_SETUP_TREE\n");
    ASSERT_EQ(Reparse(project, "START_SETUP_TREE\nPFG/Site\nPFG/Custom 'widget' '1=a' '7=b'\n"
                               "pfg/SYMBOL/width 'value' '1=9'\nEND_SETUP_TREE\n"),
              "");
    ASSERT_EQ(NodeAt("PFG/Site"), "-");
    ARTreeNode* root = ARObjFind::root("PFG");
    root->deleteChild(root->getNamedChild("Site2")); // removed in memory
    ASSERT_EQ(store.WriteCPMFile(), 1);

    ASSERT_EQ(Reparse(project, ReadFile(project)), "");
    EXPECT_EQ(NodeAt("PFG/Site"), "-");
    EXPECT_EQ(NodeAt("PFG/Site2"), "-");
    EXPECT_EQ(NodeAt("PFG/Custom"), "widget 1=a 7=b");
    EXPECT_EQ(NodeAt("PFG/Symbol/Width"), "value 1=6"); // the store's width
    EXPECT_EQ(ARObjFind::roots().size(), 2u);           // PFG and PropertyFile
}

// Only what this store removed since its read leaves the tree: nodes of other files and
// writers stay, and no line takes out a node nobody removed.
TEST_F(Tree, PropertiesTheStoreRemovedLoseTheirNodesAndNoOthers) {
    inst.WriteSite("START_SETUP_TREE\nPFG/Ptf/PtfProperty/STALE 'ptfprop' '1=s' '2=1'\n"
                   "PFG/Package/Property/VENDOR 'value' '1=v'\nEND_SETUP_TREE\n");
    ASSERT_EQ(Reparse(project, "START_GLOBAL\nEND_GLOBAL\n"), "");
    AddProperty(store, "GONE", 0x0B, "g");
    AddProperty(store, "MOVED", 0x01, "m");
    ASSERT_EQ(store.WriteCPMFile(), 1);
    ASSERT_EQ(NodeAt("PFG/PackagePin/Property/NC/GONE"), "value 1=g");
    store.SetCurrentPropertyByName("GONE");
    store.DeleteCurrentProperty();
    store.SetCurrentPropertyByName("MOVED");
    store.PutPropertyType(0x04);
    ASSERT_EQ(store.WriteCPMFile(), 1);

    ASSERT_EQ(Reparse(project, ReadFile(project)), "");
    for (const char* path :
         {"PFG/Symbol/SymPropertyList/GONE", "PFG/Symbol/SymPinPropertyList/GONE",
          "PFG/PackagePin/Property/NC/GONE", "PFG/Symbol/SymPropertyList/MOVED"})
        EXPECT_EQ(NodeAt(path), "-") << path;
    EXPECT_EQ(NodeAt("PFG/Package/Property/MOVED"), "value 1=m");
    EXPECT_EQ(NodeAt("PFG/Ptf/PtfProperty/STALE"), "ptfprop 1=s 2=1");
    EXPECT_EQ(NodeAt("PFG/Package/Property/VENDOR"), "value 1=v");
    EXPECT_EQ(ReadFile(project).find("STALE"), std::string::npos);
}

// A write changes only what the store changed: every other line of the file stays as it
// stood, whatever it holds (text a read skips or does not take, variables, comments, lines
// that take installed nodes out), and the tree gets the values as read, variables expanded.
TEST_F(Tree, AnUnrelatedSetTouchesOnlyItsOwnLine) {
    ::setenv("PFSETUP_TEST_AUTHOR", "ann", 1);
    inst.WriteSite("START_SETUP_TREE\nPFG/Package/Property/VENDOR 'value' '1=v'\n"
                   "END_SETUP_TREE\n");
    const std::string settings = "START_PFG142\n"
                                 "Prop_N '1,a" +
                                 std::string(1, '\0') +
                                 "b,Yes,Value,Left'\n"
                                 "Symbol_GridSize 'abc'\n"
                                 "{ why 8 }\n"
                                 "Symbol_Width '8'\n"
                                 "PinType_INPUT 'garbage'\n"
                                 "Format_ReadActiveLow 'bogus'\n"
                                 "Prop_AUTHOR '1,$PFSETUP_TEST_AUTHOR,No,Value,Left'\n"
                                 "END_PFG142\n";
    const std::string tree =
        "{ about tree }\nSTART_SETUP_TREE\n{ inside }\nPFG/PACKAGEPIN/PROPERTY/NC\n";
    ASSERT_EQ(Reparse(project, "{ about the project }\n" + settings + tree + "END_SETUP_TREE\n"),
              "");
    store.PutDefFileName(project);
    store.KeepProjectForWrite(true);
    ASSERT_EQ(store.ReadSetup(), 1);
    store.PutDefSymbolWidth(9);
    ASSERT_EQ(store.WriteCPMFile(), 1);

    std::string expected = settings;
    expected.replace(expected.find("Symbol_Width '8'"), 16, "Symbol_Width '9'");
    const std::string text = ReadFile(project);
    EXPECT_NE(text.find("\n\n\n{ about the project }\n" + expected + "\n" + tree),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("VENDOR"), std::string::npos) << text;
    EXPECT_NE(text.find("PFG/Symbol/SymPropertyList/AUTHOR 'symprop' '1=ann'"), std::string::npos)
        << text;
    EXPECT_EQ(NodeAt("PFG/Symbol/SymPropertyList/AUTHOR").substr(0, 14), "symprop 1=ann ");

    ASSERT_EQ(Reparse(project, text), "");
    EXPECT_EQ(NodeAt("PFG/PackagePin/Property/NC"), "-");
    EXPECT_EQ(NodeAt("PFG/Package/Property/VENDOR"), "value 1=v");
    EXPECT_EQ(NodeAt("PFG/Symbol/Width"), "value 1=9");
    EXPECT_EQ(ARObjFind::roots().size(), 2u); // no root "{"
    ::unsetenv("PFSETUP_TEST_AUTHOR");
}

} // namespace
} // namespace pfsetup::test
