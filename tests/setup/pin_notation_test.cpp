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
    const struct {
        const char* pin;
        const char* expected; // read under 1, 2, 3, then write under 2, 3
    } rows[] = {
        {"CS*", "11010"}, {"WE_N", "10101"}, {"oe_n", "10101"},       {"RESETN", "00000"},
        {"", "00000"},    {"_N", "10101"},   {"A*B", "00000"},        {"X_N*", "11010"},
        {"N", "00000"},   {"*", "11010"},    {"\xC3\xB1_n", "10101"},
    };
    CPFCoreSetupAPI store;
    for (const auto& row : rows) {
        std::string got;
        for (int read : {1, 2, 3}) {
            Commit(store, read, 2);
            got += std::to_string(store.IsPinReadActiveLow(row.pin));
        }
        for (int write : {2, 3}) {
            Commit(store, 1, write);
            got += std::to_string(store.IsPinWriteActiveLow(row.pin));
        }
        EXPECT_EQ(got, row.expected) << row.pin;
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
    const struct {
        const char *in, *out;
    } rows[] = {
        {"CS*", "CS"},   {"WE_N", "WE"}, {"WE_n", "WE_n"}, {"-RD", "RD"}, {"-RD*", "-RD"},
        {"A_N*", "A_N"}, {"CLK", "CLK"}, {"*", ""},        {"_N", ""},    {"-", ""},
    };
    CPFCoreSetupAPI store;
    for (const auto& row : rows) {
        std::string pin = row.in;
        EXPECT_EQ(store.CreateActiveHighPin(pin), 1) << row.in;
        EXPECT_EQ(pin, row.out) << row.in;
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
    const struct {
        const char* text;
        int read, write;
    } rows[] = {
        {"ActiveLow_Suffix_N", 3, 3},
        {"activelow_suffix_star", 2, 2},
        {"ActiveLow_Suffix_Star_And_N", 1, 2},
        {"", 1, 2},
    };
    for (const auto& row : rows) {
        CPFCoreSetupAPI store;
        Commit(store, 3, 3);
        store.PutDefReadActiveLowPinNotation(std::string(row.text));
        store.PutDefWriteActiveLowPinNotation(std::string(row.text));
        PFActiveLow read{}, write{};
        store.GetDefReadActiveLowPinNotation(read);
        store.GetDefWriteActiveLowPinNotation(write);
        EXPECT_EQ(read * 10 + write, row.read * 10 + row.write) << row.text;
    }
    CPFCoreSetupAPI store;
    std::string read, write;
    Commit(store, 7, 1); // values outside the table read as the default texts
    store.GetDefReadActiveLowPinNotation(read);
    store.GetDefWriteActiveLowPinNotation(write);
    EXPECT_EQ(read + " " + write, "ActiveLow_Suffix_Star_And_N ActiveLow_Suffix_Star");
}

TEST(PinNotation, IgnorePinTextComesFromTheEnvironment) {
    const struct {
        const char* value; // nullptr: unset
        int expected;
    } rows[] = {{nullptr, 0}, {"TRUE", 1}, {"true", 0}, {"TRUE ", 0}};
    CPFCoreSetupAPI store;
    for (const auto& row : rows) {
        row.value ? setenv("QRV_LMAN_IGNORE_PINTEXT", row.value, 1)
                  : unsetenv("QRV_LMAN_IGNORE_PINTEXT");
        EXPECT_EQ(store.ReadIgnoreSymbolPinText(), row.expected);
        EXPECT_EQ(store.GetIgnoreSymbolPinText(), row.expected);
    }
    unsetenv("QRV_LMAN_IGNORE_PINTEXT");
}
