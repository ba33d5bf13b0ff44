#include "projfile/projfile_fixture.h"

namespace pfsetup::test {
namespace {

struct ExpansionCase {
    std::string input;
    int result;
    std::string expected; // the result, or the reason on failure
};

// No fixed buffers: long values and long names.
const std::string kLongValue(5000, 'v');
const std::string kLongName(1000, 'N');

const ExpansionCase kExpansions[] = {
    // clang-format off
    {"plain text",        1, "plain text"},
    {"${PFT_A}/x",        1, "1/x"},
    {"$(PFT_A)/x",        1, "1/x"},
    {"$PFT_A/x",          1, "1/x"},
    {"$PFT_A$PFT_B",      1, "1$PFT_B"},
    {"${PFT_A}${PFT_B}",  1, "12"},
    {"$PFT_A-x",          1, "1-x"},
    {"$PFT_A",            1, "1"},
    {"$PFT_EMPTY.",       1, "."},
    {"${PFT_NOPE}",       0, "Environment Variable PFT_NOPE not set"},
    {"${}",               0, "Environment Variable  not set"},
    {"$(PFT_NOPE)",       0, "Environment Variable PFT_NOPE not set."},
    {"$()",               0, "Environment Variable  not set."},
    {"$PFT_NOPE",         0, "Environment variable PFT_NOPE not set."},
    {"${A-B}",            0, "Invalid character - found in environment variable name"},
    {"$(A B)",            0, "Invalid character   found in environment variable name"},
    {"${PFT_A",           0, "Closing '}' not found."},
    {"$(PFT_A",           0, "Closing ')' not found."},
    {"x$",                0, "Invalid character "},
    {"$-",                0, "Invalid character - found after '${'"},
    {"${PFT_LONG}${PFT_LONG}",  1, kLongValue + kLongValue},
    {"${" + kLongName + "}",    0, "Environment Variable " + kLongName + " not set"},
    // clang-format on
};

class Expansion : public ::testing::TestWithParam<ExpansionCase> {
protected:
    void SetUp() override {
        ::setenv("PFT_A", "1", 1);
        ::setenv("PFT_B", "2", 1);
        ::setenv("PFT_EMPTY", "", 1);
        ::setenv("PFT_LONG", kLongValue.c_str(), 1);
        ::unsetenv("PFT_NOPE");
    }
};

TEST_P(Expansion, ExpandsOrGivesTheReason) {
    const ExpansionCase& row = GetParam();
    std::string result = "untouched";
    std::string error;
    EXPECT_EQ(ExpandVariables(row.input, result, error), row.result);
    EXPECT_EQ(row.result == 1 ? result : error, row.expected);
    if (row.result == 0) {
        EXPECT_EQ(result, "untouched");
    }
}

INSTANTIATE_TEST_SUITE_P(Values, Expansion, ::testing::ValuesIn(kExpansions));

TEST(ExpansionLimits, InstallRootBeforeTheEnvironment) {
    ::setenv("QRV_INST_DIR", "/elsewhere", 1);
    std::string root;
    ASSERT_TRUE(qrvGetInstallRoot(root));
    EXPECT_EQ(root.substr(root.size() - 14), "/share/pfsetup");
    std::string result;
    std::string error;
    ASSERT_EQ(ExpandVariables("${QRV_INST_DIR}/lib", result, error), 1);
    EXPECT_EQ(result, root + "/lib");
    EXPECT_FALSE(LookupInstallRoot("qrv_inst_dir", root));
    ::unsetenv("QRV_INST_DIR");
}

// A directive line read, written back, and read again: the written text, and the same values
// on the second read.
struct QuotingCase {
    const char* line;
    const char* written;
};

const QuotingCase kQuoting[] = {
    // clang-format off
    {"NAME \"x\" y",          "NAME \"x\" \"y\"\n"},
    {"NAME x y",              "NAME 'x' 'y'\n"},
    {"'TWO WORDS' \"a b\" c", "'TWO WORDS' \"a b\" \"c\"\n"},
    {"\"it's here\" 1",       "\"it's here\" '1'\n"},
    {"NAME it's",             "NAME \"it's\"\n"},
    {"NAME 'say \"hi\"'",     "NAME 'say \"hi\"'\n"},
    {"NAME ''",               "NAME ''\n"},
    {"NAME",                  "NAME\n"},
    {"",                      "\n"},
    {"NAME a'\"b",            "NAME a'\"b\n"},                // both quotes: bare
    {"NAME a'\"\\ 'x'",        "NAME a'\"\\ 'x'\n"},          // bare backslash, not last
    {"NAME a'\"\tb",          "NAME a'\"\tb\n"},              // a tab inside a bare value
    {"\"'odd\" 1",            "\"'odd\" '1'\n"},              // a name starting with a quote
    {"A\tb 1",                "A\tb '1'\n"},                  // a tab inside a name
    {"'' 1",                  "'' '1'\n"},                    // an empty name with values
    {"' lead' 1",             "' lead' '1'\n"},
    {"'two words'",           "'two words'\n"},                // no values, case kept
    {"\"it's\tx\"",            "\"it's\tx\"\n"},
    // clang-format on
};

class Quoting : public ::testing::TestWithParam<QuotingCase> {};

TEST_P(Quoting, WritesWhatReadsBack) {
    const QuotingCase& row = GetParam();
    SpiProgramList first;
    ASSERT_EQ(ParseText(first, std::string("START_P\n") + row.line + "\nEND_P\n"), 0);
    const SpiDirective& directive = **first.begin()->get()->directives.begin();
    std::ostringstream out;
    WriteDirectiveLine(out, directive, "END_P");
    EXPECT_EQ(out.str(), row.written);
    SpiProgramList second;
    ASSERT_EQ(ParseText(second, "START_P\n" + out.str() + "END_P\n"), 0);
    const SpiDirective& reread = **second.begin()->get()->directives.begin();
    EXPECT_EQ(reread.Name(), directive.Name());
    EXPECT_EQ(reread.ActiveValues(), directive.ActiveValues());
}

INSTANTIATE_TEST_SUITE_P(Lines, Quoting, ::testing::ValuesIn(kQuoting));

} // namespace
} // namespace pfsetup::test
