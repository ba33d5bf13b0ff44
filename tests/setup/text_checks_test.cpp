#include "setup/load_checks.h"
#include "setup/number_text.h"
#include "setup/text_fields.h"
#include "support/comma_locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <tuple>
#include <utility>

TEST(TextFields, SplitCountAndPick) {
    std::string left = "?", right = "?";
    EXPECT_EQ(SplitAtFirst("a::b::c", "::", left, right), 1);
    EXPECT_EQ(left + "|" + right, "a|b::c");
    EXPECT_EQ(SplitAtFirst("abc", "", left, right), 0); // an empty separator never occurs
    EXPECT_EQ(left + "|" + right, "abc|");
    std::string rest = "x,y,z", item;
    SplitAtFirst(rest, ",", item, rest); // the remainder may be the input itself
    EXPECT_EQ(item + "|" + rest, "x|y,z");

    // Text, n, the n-th comma-separated field.
    const std::tuple<const char*, int, const char*> nth[] = {
        {"1,2,3", 2, "2"}, {"1,2,3", 3, "3"},       {"1,2,3", 4, ""},   {",,x", 3, "x"},
        {"", 1, ""},       {"1,2", 2000000000, ""}, {"1,2", 0, "keep"},
    };
    for (const auto& [text, n, expected] : nth) {
        std::string field = "keep";
        EXPECT_EQ(GetNthField(text, n, ",", field), 1);
        EXPECT_EQ(field, expected) << text << " n=" << n;
    }
    for (auto [text, count] : {std::pair{"", 0}, {"a..b.", 2}, {"...", 0}, {".a", 1}}) {
        EXPECT_EQ(CountFields(text, "."), count) << text;
    }
    EXPECT_EQ(CountFields("abc", ""), 1);
}

// The dialog's reading of a size: the longest leading decimal number, nothing else.
TEST(TextFields, LeadingNumberReadsTheLongestDecimalPrefix) {
    const std::pair<const char*, double> cases[] = {
        {"", 0},     {"  2.5x", 2.5}, {"-1e3", -1000}, {"1e", 1},  {"1e+", 1},
        {".5", 0.5}, {"5.", 5},       {"abc", 0},      {"+3", 3},  {"-", 0},
        {"inf", 0},  {"0x10", 0},     {"\t7 8", 7},    {"1,5", 1}, {"2.5e-1z", 0.25},
    };
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(pfsetup::LeadingNumber(text), value) << text;
}

TEST(TextFields, PinTypeFromKeyIsExact) {
    EXPECT_EQ(PinTypeFromKey("PinType_TS_BIDIR"), "TS_BIDIR");
    EXPECT_EQ(PinTypeFromKey("PinType_NC"), "NC");
    for (const char* key : {"PinType_input", "pintype_INPUT", "PinType_UNSPEC", "PinType_"}) {
        EXPECT_EQ(PinTypeFromKey(key), "UNSPEC") << key;
    }
}

namespace {

// Text, valid as a positive load, valid as a negative load.
const std::tuple<const char*, int, int> kLoads[] = {
    {"0.01", 1, 0},  {"+1.0", 1, 0},    {"-0.01", 0, 1}, {"-1.0", 0, 1},  {"*", 1, 1},
    {"-0", 0, 0},    {"--1", 0, 0},     {"1-", 0, 0},    {"1.2.3", 0, 0}, {"-1.2.3", 0, 0},
    {"1..2", 1, 0},  {".5", 1, 0},      {"-.5", 0, 1},   {"1e3", 0, 0},   {"0", 0, 0},
    {"0.000", 0, 0}, {".", 0, 0},       {"", 0, 0},      {"-", 0, 0},     {"+", 0, 0},
    {"++1", 0, 0},   {"+-1", 0, 0},     {"1,5", 0, 0},   {" 1", 0, 0},    {"..5", 0, 0},
    {"5.", 1, 0},    {"00.0001", 1, 0}, {"**", 0, 0},    {"-*", 0, 0},
};

void ExpectLoadTable() {
    for (const auto& [text, positive, negative] : kLoads) {
        EXPECT_EQ(IsValidPositiveLoad(text), positive) << text;
        EXPECT_EQ(IsValidNegativeLoad(text), negative) << text;
    }
}

} // namespace

TEST(LoadChecks, SignsStarsAndNumbers) {
    ExpectLoadTable();
}

TEST(LoadChecks, SameAnswersUnderACommaDecimalLocale) {
    if (!pfsetup::test::UseCommaDecimalLocale()) {
        GTEST_SKIP() << "no comma-decimal locale can be had here";
    }
    ExpectLoadTable();
    pfsetup::test::UseCLocale();
}
