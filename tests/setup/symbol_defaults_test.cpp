#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <string>

// Unknown texts (case variants included) leave the field as it was; stored values outside the
// enumeration read as the last text.
TEST(SymbolDefaults, OutlineTexts) {
    CPFCoreSetupAPI store;
    const struct {
        const char* put;
        int expected; // applied in sequence
    } puts[] = {{"Bold", 2}, {"bold", 2}, {"Thin", 1}, {"", 1}, {"Bold ", 1}};
    for (const auto& row : puts) {
        EXPECT_EQ(store.PutDefSymbolOutLine(std::string(row.put)), 1);
        PFSymbolOutline outline{};
        store.GetDefSymbolOutLine(outline);
        EXPECT_EQ(outline, row.expected) << row.put;
    }
    std::string text;
    for (int value : {1, 2, 0, 7}) {
        store.PutDefSymbolOutLine(static_cast<PFSymbolOutline>(value));
        store.GetDefSymbolOutLine(text);
        EXPECT_EQ(text, value == 1 ? "Thin" : "Bold") << value;
    }
}

TEST(SymbolDefaults, TextStyleTexts) {
    CPFCoreSetupAPI store;
    const struct {
        const char* put;
        int expected; // applied in sequence
    } puts[] = {{"Vertical", 3}, {"Horizontal", 2}, {"", 2}, {"vertical", 2}, {"Automatic", 1}};
    for (const auto& row : puts) {
        EXPECT_EQ(store.PutDefTextStyle(std::string(row.put)), 1);
        PFTextStyle style{};
        store.GetDefTextStyle(style);
        EXPECT_EQ(style, row.expected) << row.put;
    }
    const char* const texts[] = {"Vertical", "Automatic", "Horizontal", "Vertical", "Vertical"};
    for (int value = 0; value <= 4; ++value) {
        std::string text;
        store.PutDefTextStyle(static_cast<PFTextStyle>(value));
        store.GetDefTextStyle(text);
        EXPECT_EQ(text, texts[value]) << value;
    }
}

TEST(SymbolDefaults, UnitsHaveOneTextWhateverIsStored) {
    CPFCoreSetupAPI store;
    PFSymbolSizeUnits units{};
    std::string text;
    store.PutDefUnits(static_cast<PFSymbolSizeUnits>(5));
    store.GetDefUnits(units);
    store.GetDefUnits(text);
    EXPECT_EQ(units, 5);
    EXPECT_EQ(text, "Inches");
    store.PutDefUnits(std::string("Millimeters"));
    store.GetDefUnits(units);
    EXPECT_EQ(units, PFInches);
}
