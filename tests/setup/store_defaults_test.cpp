#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Store = CPFCoreSetupAPI;

} // namespace

// The values of the settings the files hold are the install file's (tests/persist).
TEST(StoreDefaults, FreshStoreHoldsTheDefaults) {
    Store store;
    EXPECT_EQ(store.GetSaveSections(), 0x00FF);
    store.SetupSaveForTemplate(); // clears the format group only, however often called
    store.SetupSaveForTemplate();
    EXPECT_EQ(store.GetSaveSections(), 0x00F7);
    EXPECT_EQ(store.GetDefUseMinusInPackage() + store.GetUsePinNamesForText() +
                  store.GetIgnoreSymbolPinText() + store.GetUseSplitInstProp() +
                  store.ReadChipsInGroupFormat() + store.GetFormatForSizeablePins() +
                  store.GetFormatForVectorPins(),
              7);
    EXPECT_EQ(store.InitPropertyIteration(), 0);
    EXPECT_TRUE(store.GetOverriddenErrors().empty());
    EXPECT_TRUE(store.GetPackagePlaceHolders().empty());
    std::string name = "keep"; // no project file named yet
    EXPECT_EQ(store.GetCPMFileName(name), 0);
    EXPECT_EQ(name, "keep");
    store.PutCPMFileName("/p/user.cpm");
    EXPECT_EQ(store.GetCPMFileName(name), 1);
    EXPECT_EQ(name, "/p/user.cpm");
}

TEST(StoreErrorLog, JoinsMessagesInOrderAndEmptiesOnRead) {
    Store store;
    std::string log = "keep";
    EXPECT_EQ(store.GetLogError(log), 0);
    EXPECT_EQ(log, "keep");
    store.PutLogError("\nUnable to read a.cpm");
    store.PutLogError("\nError in reading Property X");
    EXPECT_EQ(store.GetLogError(log), 1);
    EXPECT_EQ(log, "\nUnable to read a.cpm\nError in reading Property X");
    EXPECT_EQ(store.GetLogError(log), 0);
    store.PutLogError("\nagain");
    EXPECT_EQ(store.GetLogError(log), 1);
    EXPECT_EQ(log, "\nagain");
}
