#include "setup/pin_name_split.h"
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

// Each pattern splits only under the interpretation that names its parts; a name that is all
// digits (or empty) has no pattern and stays whole.
TEST(Interpretation, PinNamesSplitByPatternAndInterpretation) {
    using pfsetup::SplitPinName;
    const struct {
        const char* name;
        int alphaNum, numAlpha, numAlphaNum;
        const char* pattern;
        const char* parts; // group/base/bit/slot
    } cases[] = {
        {"D12", 2, 1, 1, "A1", "/D/12/"},  {"D12", 3, 1, 1, "A1", "/D//12"},
        {"D12", 1, 2, 2, "A1", "/D12//"},  {"12D", 1, 2, 1, "1A", "12/D//"},
        {"12D", 1, 3, 1, "1A", "/D/12/"},  {"12D", 1, 4, 1, "1A", "/D//12"},
        {"2Q3", 1, 1, 2, "1A1", "/2Q/3/"}, {"2Q3", 1, 1, 4, "1A1", "/Q3/2/"},
        {"2Q3", 1, 1, 5, "1A1", "/Q3//2"}, {"2Q3", 2, 2, 1, "1A1", "/2Q3//"},
        {"2Q3", 1, 1, 7, "1A1", "2/Q/3/"}, {"123", 2, 2, 2, "none", "/123//"},
        {"", 2, 2, 2, "none", "///"},      {"D12", 9, 9, 9, "A1", "/D12//"},
    };
    for (const auto& c : cases) {
        const pfsetup::PinNameParts parts =
            SplitPinName(c.name, c.alphaNum, c.numAlpha, c.numAlphaNum);
        EXPECT_STREQ(pfsetup::PinNamePatternText(parts.pattern), c.pattern) << c.name;
        EXPECT_EQ(parts.group + "/" + parts.baseName + "/" + parts.bit + "/" + parts.slot, c.parts)
            << c.name << " " << c.alphaNum << c.numAlpha << c.numAlphaNum;
    }
}
