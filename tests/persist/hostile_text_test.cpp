// Random texts from an alphabet of the characters that matter to the files either come back
// byte for byte through store, file and store, or are refused by the store before anything is
// written.
#include "persist_fixture.h"
#include "support/fake_host.h"
#include "support/installation.h"

#include "persist/setup_main.h"
#include "persist/tree/ar_tree.h"
#include "persist/tree/st_setup_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace pfsetup::test {
namespace {

TEST(HostileText, RoundTripsOrIsRefused) {
    TempInstallation inst;
    FakeHost host;
    const std::string alphabet = std::string("aQ9x \t,'\"\n\r$({})/\\=#*-.\xff") + '\0';
    std::mt19937 random(20261206);
    auto text = [&] {
        std::string made(random() % 7, ' ');
        for (char& c : made)
            c = alphabet[random() % alphabet.size()];
        return made;
    };
    const std::string project = inst.Path("p.cpm"), tpl = inst.Path("t.tpl");
    int taken = 0;
    for (int round = 0; round < 150; ++round) {
        WriteFile(project, ""); // a store that never read it writes what it changed
        const std::string name = text(), value = text(), load = text(), placeHolder = text();
        const std::string entered =
            ::testing::PrintToString(name) + " " + ::testing::PrintToString(value) + " " +
            ::testing::PrintToString(load) + " " + ::testing::PrintToString(placeHolder);
        CPFCoreSetupAPI store;
        store.PutCPMFileName(project);
        // A refused text leaves the store as it was.
        std::string before = Snapshot(store);
        auto took = [&](int result) {
            if (result)
                ++taken;
            else
                EXPECT_EQ(Snapshot(store), before) << entered;
            before = Snapshot(store);
        };
        took(store.CreateProperty(name) && store.PutPropertyType(0x13));
        store.SetCurrentPropertyByName(name); // a snapshot walks the properties
        took(store.PutPropertyValue(value));
        store.SetCurrentPinByValue("TS");
        took(store.PutDefIol(load));
        took(store.AddToPackagePlaceHolder(placeHolder));

        ASSERT_EQ(store.WriteCPMFile(), 1) << Log(store);
        CPFCoreSetupAPI back;
        ASSERT_EQ(ReadProject(back, project), 1);
        EXPECT_EQ(Snapshot(back), Snapshot(store)) << entered;

        store.PutDefFileName(tpl);
        ASSERT_EQ(store.WriteSetup(), 1) << Log(store);
        CPFCoreSetupAPI fromTemplate;
        fromTemplate.PutDefFileName(tpl);
        std::string saved;
        ASSERT_EQ(ReadTemplateFile(tpl, saved), 0);
        ASSERT_EQ(fromTemplate.ReadTemplateSetup(saved), 1);
        EXPECT_EQ(Snapshot(fromTemplate), Snapshot(store)) << entered;

        // The settings tree read afresh holds the property and its value, and nothing else.
        ResetModuleState();
        ARStatus status;
        STSetupFile file(project, true);
        ASSERT_TRUE(file.parse(status).test(1)) << status.message();
        ARTreeNode* list = nullptr;
        ARObjFind().getObj("PFG/Symbol/SymPropertyList", list, status);
        std::string tree, expected = "none";
        for (const auto& child : list->children()) {
            std::string param;
            child->getParam(1, param);
            tree += child->name() + "=" + param;
        }
        if (store.SetCurrentPropertyByName(name)) {
            store.GetPropertyValue(expected);
            expected = name + "=" + expected;
        }
        EXPECT_EQ(tree.empty() ? "none" : tree, expected) << entered;
    }
    EXPECT_GT(taken, 200); // most texts are storable: the test does not pass by refusing all
}

} // namespace
} // namespace pfsetup::test
