#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Both lists keep duplicates in order; placeholders compare exactly and "?" always counts.
TEST(Interpretation, OverriddenErrorsAndPlaceholders) {
    CPFCoreSetupAPI store;
    // Errors 350, 65535, 351, 0, then placeholders "NC", "nc", "NC ", "", "?".
    const auto answers = [&store] {
        std::string out;
        for (uint16_t number : {350, 65535, 351, 0}) {
            out += std::to_string(store.IsOverriddenError(number));
        }
        out += " ";
        for (const char* text : {"NC", "nc", "NC ", "", "?"}) {
            out += std::to_string(store.IsPackagePlaceHolder(text));
        }
        return out;
    };
    EXPECT_EQ(answers(), "0000 00001");
    for (uint16_t number : {350, 65535, 350}) {
        store.AddToOverriddenError(number);
    }
    store.AddToPackagePlaceHolder("NC");
    store.AddToPackagePlaceHolder("NC");
    EXPECT_EQ(store.GetOverriddenErrors(), (std::vector<uint16_t>{350, 65535, 350}));
    EXPECT_EQ(store.GetPackagePlaceHolders(), (std::vector<std::string>{"NC", "NC"}));
    EXPECT_EQ(answers(), "1100 10001");
    store.ClearOverriddenErrors();
    store.ClearPackagePlaceHolders();
    EXPECT_EQ(answers(), "0000 00001");
}
