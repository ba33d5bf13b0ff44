#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

// Texts are exact: unknown ones (case variants included) leave the field as it was. Stored
// values outside the enumeration read as the last text; units read as "Inches" whatever is
// stored, and any units text stores inches.
TEST(SymbolDefaults, OutlineTextStyleAndUnitsTexts) {
    CPFCoreSetupAPI store;
    const std::pair<const char*, const char*> puts[] = {
        {"Bold", "Vertical"}, {"bold", "Horizontal"}, {"Thin", ""},
        {"", "vertical"},     {"Bold ", "Automatic"},
    };
    std::string outlines, styles; // each field after each put, in sequence
    for (auto [outline, style] : puts) {
        EXPECT_EQ(store.PutDefSymbolOutLine(outline) + store.PutDefTextStyle(style), 2);
        PFSymbolOutline outlineValue{};
        PFTextStyle styleValue{};
        store.GetDefSymbolOutLine(outlineValue);
        store.GetDefTextStyle(styleValue);
        outlines += std::to_string(outlineValue);
        styles += std::to_string(styleValue);
    }
    EXPECT_EQ(outlines + " " + styles, "22111 32221");
    const std::pair<int, const char*> stored[] = {
        {0, "Bold Vertical Inches"}, {1, "Thin Automatic Inches"}, {2, "Bold Horizontal Inches"},
        {3, "Bold Vertical Inches"}, {7, "Bold Vertical Inches"},
    };
    for (auto [value, texts] : stored) {
        store.PutDefSymbolOutLine(static_cast<PFSymbolOutline>(value));
        store.PutDefTextStyle(static_cast<PFTextStyle>(value));
        store.PutDefUnits(static_cast<PFSymbolSizeUnits>(value));
        std::string outline, style, units;
        store.GetDefSymbolOutLine(outline);
        store.GetDefTextStyle(style);
        store.GetDefUnits(units);
        EXPECT_EQ(outline + " " + style + " " + units, texts) << value;
    }
    PFSymbolSizeUnits units{};
    store.PutDefUnits(std::string("Millimeters"));
    store.GetDefUnits(units);
    EXPECT_EQ(units, PFInches);
}
