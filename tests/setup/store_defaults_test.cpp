#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Store = CPFCoreSetupAPI;

template <typename T>
T Read(const Store& store, int (Store::*get)(T&) const) {
    T value{};
    EXPECT_EQ((store.*get)(value), 1);
    return value;
}

} // namespace

TEST(StoreDefaults, FreshStoreHoldsTheDefaults) {
    Store store;
    EXPECT_FLOAT_EQ(Read<float>(store, &Store::GetDefGridSize), 0.05f);
    EXPECT_FLOAT_EQ(Read<float>(store, &Store::GetDefNoteSize), 0.8f);
    EXPECT_EQ(Read<int>(store, &Store::GetDefSymbolWidth), 6);
    EXPECT_EQ(Read<int>(store, &Store::GetDefSymbolLength), 6);
    EXPECT_EQ(Read<int>(store, &Store::GetDefSymbolWidthIncrement), 1);
    EXPECT_EQ(Read<int>(store, &Store::GetDefSymbolLengthIncrement), 1);
    EXPECT_EQ(Read<PFSymbolSizeUnits>(store, &Store::GetDefUnits), PFInches);
    EXPECT_EQ(Read<PFSymbolOutline>(store, &Store::GetDefSymbolOutLine), PFThin);
    EXPECT_EQ(Read<PFTextStyle>(store, &Store::GetDefTextStyle), PFAutomatic);
    EXPECT_EQ(Read<PFActiveLow>(store, &Store::GetDefReadActiveLowPinNotation), 1);
    EXPECT_EQ(Read<PFActiveLow>(store, &Store::GetDefWriteActiveLowPinNotation), 2);
    EXPECT_EQ(Read<PFPinInterpret_AlphaNum>(store, &Store::GetAlphaNumValue), 2);
    EXPECT_EQ(Read<PFPinInterpret_NumAlpha>(store, &Store::GetNumAlphaValue), 1);
    EXPECT_EQ(Read<PFPinInterpret_NumAlphaNum>(store, &Store::GetNumAlphaNumValue), 1);
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
    EXPECT_EQ(Read<std::string>(store, &Store::GetCPMFileName), "/p/user.cpm");
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
