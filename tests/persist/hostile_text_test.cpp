// Random texts from an alphabet of the characters that matter to the files either come back
// byte for byte through store, file and store, or are refused by the store before anything is
// written.
#include "support/fake_host.h"
#include "support/installation.h"

#include "persist/setup_main.h"
#include "persist/tree/ar_tree.h"
#include "persist/tree/st_setup_file.h"
#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace pfsetup::test {
namespace {

// The text with its bytes spelled out, for failure messages.
std::string Shown(const std::string& text) {
    std::string shown;
    for (unsigned char c : text)
        shown += c >= 0x20 && c < 0x7f ? std::string(1, static_cast<char>(c))
                                       : "\\x" + std::to_string(c);
    return "\"" + shown + "\"";
}

struct Entered {
    std::string name, value, load, placeHolder;
    bool nameTaken = false, valueTaken = false, loadTaken = false, placeHolderTaken = false;
};

// What a store read from `file` holds of the entered texts, as the entered texts would be.
void ExpectReadBack(const std::string& file, const Entered& in, bool isTemplate) {
    CPFCoreSetupAPI back;
    back.PutDefFileName(file);
    if (isTemplate) {
        std::string text;
        ASSERT_EQ(ReadTemplateFile(file, text), 0);
        ASSERT_EQ(back.ReadTemplateSetup(text), 1);
    } else {
        ASSERT_EQ(back.ReadSetup(), 1);
    }
    const std::string where = file + " name " + Shown(in.name) + " value " + Shown(in.value);
    if (in.nameTaken) {
        ASSERT_EQ(back.SetCurrentPropertyByName(in.name), 1) << where;
        std::string value;
        back.GetPropertyValue(value);
        EXPECT_EQ(value, in.valueTaken ? in.value : "") << where;
    } else {
        EXPECT_EQ(back.InitPropertyIteration(), 0) << where;
    }
    back.SetCurrentPinByValue("TS");
    std::string load;
    back.GetDefIol(load);
    EXPECT_EQ(load, in.loadTaken ? in.load : "1.0") << file << " load " << Shown(in.load);
    EXPECT_EQ(back.GetPackagePlaceHolders(), in.placeHolderTaken
                                                 ? std::vector<std::string>{in.placeHolder}
                                                 : std::vector<std::string>{})
        << file << " placeholder " << Shown(in.placeHolder);
}

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
    const std::string project = inst.Path("p.cpm");
    const std::string tpl = inst.Path("t.tpl");
    WriteFile(project, "");
    int taken = 0;
    for (int round = 0; round < 150; ++round) {
        Entered in{text(), text(), text(), text()};
        CPFCoreSetupAPI store;
        store.PutCPMFileName(project);
        in.nameTaken = store.CreateProperty(in.name) == 1;
        if (in.nameTaken) {
            in.valueTaken = store.PutPropertyValue(in.value) == 1;
            store.PutPropertyType(0x13);
            store.PutPropertyVisibility("Value");
        }
        store.SetCurrentPinByValue("TS");
        in.loadTaken = store.PutDefIol(in.load) == 1;
        in.placeHolderTaken = store.AddToPackagePlaceHolder(in.placeHolder) == 1;
        taken += in.nameTaken + in.valueTaken + in.loadTaken + in.placeHolderTaken;

        std::string log;
        ASSERT_EQ(store.WriteCPMFile(), 1) << (store.GetLogError(log), log);
        ExpectReadBack(project, in, false);
        store.PutDefFileName(tpl);
        store.SetupSaveForTemplate();
        ASSERT_EQ(store.WriteSetup(), 1) << (store.GetLogError(log), log);
        ExpectReadBack(tpl, in, true);

        // The settings tree read afresh holds the property with its value, and nothing else.
        TempInstallation::ResetModuleState();
        ARStatus status;
        STSetupFile file(project, true);
        ASSERT_TRUE(file.parse(status).test(1)) << status.message();
        const ARTreeNode* list =
            ARObjFind::root("PFG")->getNamedChild("Symbol")->getNamedChild("SymPropertyList");
        ASSERT_EQ(list->children().size(), in.nameTaken ? 1u : 0u) << Shown(in.name);
        if (in.nameTaken) {
            std::string value;
            list->children().front()->getParam(1, value);
            EXPECT_EQ(list->children().front()->name(), in.name);
            EXPECT_EQ(value, in.valueTaken ? in.value : "") << Shown(in.value);
        }
    }
    EXPECT_GT(taken, 150); // most texts are storable: the test does not pass by refusing all
}

} // namespace
} // namespace pfsetup::test
