#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

namespace {

// Commits both notations the way a host adopting the settings does.
void Commit(CPFCoreSetupAPI& store, int read, int write) {
    store.PutDefReadActiveLowPinNotation(static_cast<PFActiveLow>(read));
    store.PutDefWriteActiveLowPinNotation(static_cast<PFActiveLow>(write));
    store.UpdateOrigReadWriteActiveLowPinNotation();
}

} // namespace

TEST(PinNotation, PredicatesFollowTheCommittedNotations) {
    // Each pin with its answers: read under notations 1, 2, 3, then write under 2, 3.
    const std::pair<const char*, const char*> rows[] = {
        {"CS*", "11010"}, {"WE_N", "10101"}, {"oe_n", "10101"},       {"RESETN", "00000"},
        {"", "00000"},    {"_N", "10101"},   {"A*B", "00000"},        {"X_N*", "11010"},
        {"N", "00000"},   {"*", "11010"},    {"\xC3\xB1_n", "10101"},
    };
    CPFCoreSetupAPI store;
    for (const auto& [pin, expected] : rows) {
        std::string got;
        for (int read : {1, 2, 3}) {
            Commit(store, read, 2);
            got += std::to_string(store.IsPinReadActiveLow(pin));
        }
        for (int write : {2, 3}) {
            Commit(store, 1, write);
            got += std::to_string(store.IsPinWriteActiveLow(pin));
        }
        EXPECT_EQ(got, expected) << pin;
    }
}

TEST(PinNotation, ActiveLowAppendsTheWriteSuffixUnchecked) {
    for (auto [write, twice] : {std::pair{2, "A**"}, {1, "A**"}, {3, "A_N_N"}}) {
        CPFCoreSetupAPI store;
        Commit(store, 1, write);
        std::string suffix, pin = "A", empty;
        store.GetAssertionChar(suffix);
        EXPECT_EQ(store.CreateActiveLowPin(pin) + store.CreateActiveLowPin(pin), 2);
        EXPECT_EQ(pin, twice);
        EXPECT_EQ(pin, "A" + suffix + suffix);
        EXPECT_EQ(store.CreateActiveLowPin(empty), 0);
    }
}

TEST(PinNotation, ActiveHighDropsOneMarker) {
    const std::pair<const char*, const char*> rows[] = {
        {"CS*", "CS"},   {"WE_N", "WE"}, {"WE_n", "WE_n"}, {"-RD", "RD"}, {"-RD*", "-RD"},
        {"A_N*", "A_N"}, {"CLK", "CLK"}, {"*", ""},        {"_N", ""},    {"-", ""},
    };
    CPFCoreSetupAPI store;
    for (const auto& [in, out] : rows) {
        std::string pin = in;
        EXPECT_EQ(store.CreateActiveHighPin(pin), 1) << in;
        EXPECT_EQ(pin, out) << in;
    }
    std::string empty;
    EXPECT_EQ(store.CreateActiveHighPin(empty), 0);
}

TEST(PinNotation, EditsTakeEffectOnlyWhenCommitted) {
    CPFCoreSetupAPI store;
    store.PutDefReadActiveLowPinNotation(PFActiveLow_Suffix_N);
    EXPECT_EQ(store.IsPinReadActiveLow("A*"), 1);
    EXPECT_EQ(store.HasReadActiveLowPinNotationChanged(), 1);
    store.UpdateOrigReadWriteActiveLowPinNotation();
    EXPECT_EQ(store.IsPinReadActiveLow("A*"), 0);
    EXPECT_EQ(store.HasReadActiveLowPinNotationChanged(), 0);

    // A write change is held back while a read change is pending, then committed once.
    store.PutDefReadActiveLowPinNotation(PFActiveLow_Suffix_Star);
    store.PutDefWriteActiveLowPinNotation(PFActiveLow_Suffix_N);
    EXPECT_EQ(store.HasWriteActiveLowPinNotationChanged(), 0);
    store.PutDefReadActiveLowPinNotation(PFActiveLow_Suffix_N);
    EXPECT_EQ(store.HasWriteActiveLowPinNotationChanged(), 1);
    EXPECT_EQ(store.HasWriteActiveLowPinNotationChanged(), 0);
    std::string suffix;
    store.GetAssertionChar(suffix);
    EXPECT_EQ(suffix, "_N");
}

TEST(PinNotation, TextFormsIgnoreCaseAndFallToTheDefault) {
    // Each text put as both notations, and the read and write notations it gives.
    const std::pair<const char*, int> rows[] = {{"ActiveLow_Suffix_N", 33},
                                                {"activelow_suffix_star", 22},
                                                {"ActiveLow_Suffix_Star_And_N", 12},
                                                {"", 12}};
    for (const auto& [text, expected] : rows) {
        CPFCoreSetupAPI store;
        Commit(store, 3, 3);
        store.PutDefReadActiveLowPinNotation(std::string(text));
        store.PutDefWriteActiveLowPinNotation(std::string(text));
        PFActiveLow read{}, write{};
        store.GetDefReadActiveLowPinNotation(read);
        store.GetDefWriteActiveLowPinNotation(write);
        EXPECT_EQ(read * 10 + write, expected) << text;
    }
    CPFCoreSetupAPI store;
    std::string read, write;
    Commit(store, 7, 1); // values outside the table read as the default texts
    store.GetDefReadActiveLowPinNotation(read);
    store.GetDefWriteActiveLowPinNotation(write);
    EXPECT_EQ(read + " " + write, "ActiveLow_Suffix_Star_And_N ActiveLow_Suffix_Star");
}

TEST(PinNotation, IgnorePinTextComesFromTheEnvironment) {
    // A value of nullptr unsets the variable.
    const std::pair<const char*, int> rows[] = {
        {nullptr, 0}, {"TRUE", 1}, {"true", 0}, {"TRUE ", 0}};
    CPFCoreSetupAPI store;
    for (const auto& [value, expected] : rows) {
        value ? setenv("QRV_LMAN_IGNORE_PINTEXT", value, 1) : unsetenv("QRV_LMAN_IGNORE_PINTEXT");
        EXPECT_EQ(store.ReadIgnoreSymbolPinText(), expected);
        EXPECT_EQ(store.GetIgnoreSymbolPinText(), expected);
    }
    unsetenv("QRV_LMAN_IGNORE_PINTEXT");
}
