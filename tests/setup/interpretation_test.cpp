#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Interpretation, OverriddenErrorsKeepDuplicatesInOrder) {
    CPFCoreSetupAPI store;
    EXPECT_EQ(store.IsOverriddenError(0), 0);
    store.AddToOverriddenError(350);
    store.AddToOverriddenError(65535);
    store.AddToOverriddenError(350);
    EXPECT_EQ(store.GetOverriddenErrors(), (std::vector<uint16_t>{350, 65535, 350}));
    EXPECT_EQ(store.IsOverriddenError(350), 1);
    EXPECT_EQ(store.IsOverriddenError(65535), 1);
    EXPECT_EQ(store.IsOverriddenError(351), 0);
    store.ClearOverriddenErrors();
    EXPECT_EQ(store.IsOverriddenError(350), 0);
}

TEST(Interpretation, PlaceholdersAreExactAndQuestionMarkAlwaysCounts) {
    CPFCoreSetupAPI store;
    EXPECT_EQ(store.IsPackagePlaceHolder("?"), 1);
    EXPECT_EQ(store.IsPackagePlaceHolder("NC"), 0);
    store.AddToPackagePlaceHolder("NC");
    store.AddToPackagePlaceHolder("NC");
    EXPECT_EQ(store.GetPackagePlaceHolders().size(), 2u);
    EXPECT_EQ(store.IsPackagePlaceHolder("NC"), 1);
    EXPECT_EQ(store.IsPackagePlaceHolder("nc"), 0);
    EXPECT_EQ(store.IsPackagePlaceHolder("NC "), 0);
    EXPECT_EQ(store.IsPackagePlaceHolder(""), 0);
    store.ClearPackagePlaceHolders();
    EXPECT_EQ(store.IsPackagePlaceHolder("NC"), 0);
    EXPECT_EQ(store.IsPackagePlaceHolder("?"), 1);
}
