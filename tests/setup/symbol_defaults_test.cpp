#include "persist/persist_fixture.h"
#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using pfsetup::test::Get;
using pfsetup::test::Store;

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
        outlines += std::to_string(Get<PFSymbolOutline>(store, &Store::GetDefSymbolOutLine));
        styles += std::to_string(Get<PFTextStyle>(store, &Store::GetDefTextStyle));
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
        EXPECT_EQ(Get(store, &Store::GetDefSymbolOutLine) + " " +
                      Get(store, &Store::GetDefTextStyle) + " " + Get(store, &Store::GetDefUnits),
                  texts)
            << value;
    }
    store.PutDefUnits(std::string("Millimeters"));
    EXPECT_EQ(Get<PFSymbolSizeUnits>(store, &Store::GetDefUnits), PFInches);
}
