#include "projfile/projfile_fixture.h"

#include "base/ascii_text.h"

#include <algorithm>
#include <optional>
#include <random>
#include <set>
#include <unordered_map>

namespace pfsetup::test {
namespace {

using namespace std::string_view_literals;

struct SyntaxCase {
    const char* what;
    std::string_view text;
    int result;
    std::string_view model;
    const char* message; // the last message, "" when none is recorded
    // The collecting mode: its problems ("LINE what", joined with " | ") and its model where
    // it differs from the normal mode's.
    std::string problems;
    std::optional<std::string_view> collected = std::nullopt;
};

const char* const kNotInSection = "SPI_ERROR: Line %d does not fall in "
                                  "START_<program>..END_<program> section.\nIncorrect project "
                                  "file t.cpm.";

const std::string kOutside =
    "text outside a START_<name> ... END_<name> section; a read of the project fails here";
const std::string kNoEndP = "section P has no END_P line; it runs to the end of the file";
const std::string kGivenAgain = ": given again (first at line 2); the last one applies";

const SyntaxCase kSyntax[] = {
    // clang-format off
    {"comments only",          "{ header }\n\n   {x}\n",                          0, "", "", ""},
    {"start line upper-cased", "start_Pfg142\nA 1\nEND_PFG142\n",                0, "PFG142{A(1)}", "", ""},
    {"comment after start",    "  START_X {c}\nEND_X\n",                          0, "X{}", "", ""},
    {"name from 7th char",     "xSTART_AB\nEND__AB\n",                           0, "_AB{}", "",
     "1 START_ should begin the line; the reader takes the section name from the seventh character on"},
    {"no end line",            "START_P\nA 1\nB 2\n",                             0, "P{A(1),B(2)}", "SPI_ERROR: Failed to read line 4 in \"t.cpm\"", "1 " + kNoEndP},
    {"line before a section",  "abc\nSTART_P\nEND_P\n",                          -1, "", "1", "1 " + kOutside, "P{}"},
    {"quoted name",            "START_P\n'TWO WORDS' 1\nEND_P\n",                 0, "P{TWO WORDS(1)}", "", ""},
    {"mixed quotes",           "START_P\nNAME 'a b' \"c\" d\nEND_P\n",            0, "P{NAME\"(a b,c,d)}", "", ""},
    {"no values: upper case",  "START_P\nname\nother 1\nEND_P\n",                 0, "P{NAME(),other(1)}", "", ""},
    {"blank line is a name",   "START_P\n\nEND_P\n",                              0, "P{()}", "", ""},
    {"comment w/o space",      "START_P\n{note}\nEND_P\n",                        0, "P{()}", "", ""},
    {"comment with spaces",    "START_P\n{ a note }\nEND_P\n",                    0, "P{{(a,note,})}", "", ""},
    {"end line with a blank",  "START_P\nEND_P {done} x\nEND_P\n",                0, "P{END_P({done},x)}", "",
     "2 END_P is followed by more text, so it does not end the section; nothing may follow it on the line"},
    {"end line with comment",  "START_P\nEND_P{done}\n",                          0, "P{}", "", ""},
    {"end line lower case",    "START_P\nend_p\n",                                0, "P{}", "", ""},
    {"tab when no space",      "START_P\nA\t1\nB\t1 2\nEND_P\n",                  0, "P{A(1),B\t1(2)}", "", ""},
    {"quote inside a value",   "START_P\nA b'c d\te\nEND_P\n",                    0, "P{A(b'c,d\te)}", "", ""},
    {"quoted values abut",     "START_P\nA 'x''y'\"z\"\nEND_P\n",                 0, "P{A\"(x,y,z)}", "", ""},
    {"continuation",           "START_P\nA a \\\nb\nEND_P\n",                     0, "P{A(a,b)}", "", ""},
    {"continuation, no value", "START_P\nA \\\nb\nEND_P\n",                       0, "P{A(,b)}", "", ""},
    {"continued end line",     "START_P\nA 1 \\\nEND_P\nEND_P\n",                 0, "P{A(1,END_P)}", "", ""},
    {"continuation at EOF",    "START_P\nA 1 \\\n",                              -1, "P{A()}", "SPI_ERROR: Failed to read line 3 in \"t.cpm\"",
     "3 the line continues past the end of the file; a read of the project fails here | 1 " + kNoEndP, "P{}"},
    {"unterminated value",     "START_P\nNAME 'abc\nB 1\nEND_P\n",               -1, "P{NAME()}", "SPI_ERROR: Missing closing quote at line 2 in \"t.cpm\"",
     "2 missing closing quote; a read of the project fails here", "P{B(1)}"},
    {"unterminated name",      "START_P\n'A B 1\nC 1\nEND_P\n",                  -1, "P{}", "3",
     "2 missing closing quote in the key; a read ends the section here", "P{C(1)}"},
    {"quoted end marker",      "START_P\n'END_P' x\nB 1\n",                      -1, "P{}", "3", "3 " + kOutside},
    {"later line wins",        "START_P\nA 1\nA 2\na 3\nEND_P\n",                0, "P{A(3)}", "",
     "3 A" + kGivenAgain + " | 4 a" + kGivenAgain},
    {"section met again",      "START_P\nA 1\nC 0\nEND_P\nstart_p\nB 2\nc 3\nEND_P\n", 0, "P{A(1),C(3),B(2)}", "",
     "7 c: given again (first at line 3); the last one applies"},
    {"CR LF line ends",        "START_P\r\nA 'x y' z\r\nEND_P\r\n",               0, "P{A(x y,z)}", "", ""},
    {"NUL bytes kept",         "START_P\nA a\0b 'c\0d'\nEND_P\n"sv,              0, "P{A(a\0b,c\0d)}"sv, "", ""},
    {"lone CR line ends",      "START_P\rA 1\rB 'x y'\rEND_P\r",                 0, "P{A(1),B(x y)}", "", ""},
    {"mixed line ends",        "START_P\r\nA 1\rB 2\nEND_P",                     0, "P{A(1),B(2)}", "", ""},
    {"byte-order mark",        "\xEF\xBB\xBFSTART_P\nA 1\nEND_P\n",              0, "P{A(1)}", "", ""},
    {"mark only at the start", "START_P\n\xEF\xBB\xBF 1\nEND_P\n",               0, "P{\xEF\xBB\xBF(1)}", "", ""},
    {"section name, a blank",  "START_MY SEC\nA 1\nEND_MY SEC\nSTART_Q\nEND_Q\n", 0, "MY SEC{A(1)} Q{}", "", ""},
    {"end of it, a comment",   "START_A\tB\nEND_a\tb {x}\nSTART_Q\nEND_Q\n",     0, "A\tB{} Q{}", "", ""},
    {"end line missing",       "START_P\nA 1\nstart_q{c}\nB 2\nEND_Q\n",          0, "P{A(1)} Q{B(2)}", "SPI_ERROR: Missing END_P for the section opened at line 1: line 3 opens another section in \"t.cpm\"",
     "1 section P has no END_P line before line 3, which opens another section"},
    {"START_ with values",     "START_P\nSTART_X 1\nEND_P\n",                     0, "P{START_X(1)}", "", ""},
    {"START_ in a section",    "START_P\nstart_now\nA 1\nEND_P\n",                0, "P{START_NOW(),A(1)}", "", ""},
    {"CR CR LF line ends",     "START_P\r\r\nA 1\r\r\nEND_P\r\r\n",               0, "P{A(1)}", "", ""},
    {"goes on after each",     "stray\nSTART_X\nA 'open\nB '1'\n{ note }\nEND_X more\nC 'x' \\\n", -1, "", "1",
     "1 " + kOutside + " | 3 missing closing quote; a read of the project fails here | 6 END_X is followed by more text, so it does not end the section; nothing may follow it on the line"
     " | 8 the line continues past the end of the file; a read of the project fails here | 2 section X has no END_X line; it runs to the end of the file",
     "X{B(1),{(note,}),END_X(more)}"},
    // clang-format on
};

class Syntax : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(Syntax, ReadsAsTheFormatSays) {
    const SyntaxCase& row = GetParam();
    SetLastMessage("");
    SpiProgramList programs;
    EXPECT_EQ(ParseText(programs, std::string(row.text)), row.result);
    EXPECT_EQ(Dump(programs), row.model);
    std::string message = row.message;
    if (message.size() == 1) { // a line number: the "not in a section" message for that line
        message = Format(kNotInSection, message[0] - '0');
    }
    EXPECT_EQ(SpiLastMessage(), message);
    // A problem the read goes on after is no failure; one that fails it names file and line.
    EXPECT_EQ(LastError().Failed(), row.result != 0);
    if (row.result != 0) {
        EXPECT_EQ(LastError().kind, ErrorKind::Syntax);
        EXPECT_EQ(DescribeError(LastError()).rfind("t.cpm:", 0), 0u) << DescribeError(LastError());
    }

    // The collecting mode reads to the end whatever it meets.
    std::vector<SpiProblem> problems;
    SpiProgramList collected;
    SpiProjectFile file(collected.Keep(std::string(row.text), "t.cpm"), "t.cpm", &problems);
    EXPECT_EQ(ReadPrograms(collected, file, SpiUserLevel), 0);
    EXPECT_EQ(Dump(collected), row.collected.value_or(row.model));
    std::string noted;
    for (const SpiProblem& problem : problems) {
        noted +=
            (noted.empty() ? "" : " | ") + std::to_string(problem.line) + " " + problem.problem;
        EXPECT_EQ(problem.file, "t.cpm");
    }
    EXPECT_EQ(noted, row.problems);
}

INSTANTIATE_TEST_SUITE_P(Lines, Syntax, ::testing::ValuesIn(kSyntax));

TEST(Parser, MergesLevelsDirectiveByDirective) {
    SpiProgramList programs;
    ASSERT_EQ(ParseText(programs, "START_P\nA 0\nB 0\nEND_P\nSTART_I\nEND_I\n", 0, "i"), 0);
    ASSERT_EQ(ParseText(programs, "START_P\nA 1\nEND_P\n", 1, "s"), 0);
    ASSERT_EQ(ParseText(programs, "START_p\nb 2a 2b\nC \\\n 2\nEND_P\n", 2, "u"), 0);

    // A name keeps the spelling it was first read with; lower levels keep their values.
    EXPECT_EQ(Dump(programs), "P{A(1),B(2a,2b),C(,2)} I{}");
    const SpiProgram& p = *programs.Lookup("P");
    EXPECT_EQ(p.level, 0);
    EXPECT_TRUE(p.changed);
    EXPECT_FALSE(programs.Lookup("I")->changed);
    EXPECT_EQ(Levels(programs, *p.directives.Lookup("A")), "1|0@i:2|1@s:2|");
    EXPECT_EQ(Levels(programs, *p.directives.Lookup("B")), "2*|0@i:3||2a,2b@u:2");
    EXPECT_EQ(Levels(programs, *p.directives.Lookup("C")), "2*|||,2@u:3");
}

// Hostile input: every prefix of a valid file, random bytes, a 1 MB line. The reader gives a
// code and, on failure, a message; it never crashes. The collecting mode reads each to its end
// and notes problems only at lines the text has.
TEST(Parser, SurvivesHostileInput) {
    auto collects = [](const std::string& text) {
        std::vector<SpiProblem> problems;
        SpiProgramList programs;
        SpiProjectFile file(programs.Keep(text, "t.cpm"), "t.cpm", &problems);
        const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n') +
                                           std::count(text.begin(), text.end(), '\r')) +
                          1;
        return ReadPrograms(programs, file, SpiUserLevel) == 0 &&
               std::all_of(problems.begin(), problems.end(), [lines](const SpiProblem& p) {
                   return p.line >= 1 && p.line <= lines + 1;
               });
    };
    const std::string valid = "{ h }\nSTART_P\nA 'x' \"y\" \\\n z\n'B C' 1\nEND_P\n\nSTART_Q\n";
    for (std::size_t cut = 0; cut <= valid.size(); ++cut) {
        SpiProgramList programs;
        SetLastMessage("");
        const int result = ParseText(programs, valid.substr(0, cut));
        EXPECT_TRUE(result == 0 || (result == -1 && SpiLastMessage().rfind("SPI_ERROR: ", 0) == 0))
            << "cut at " << cut;
        EXPECT_EQ(LastError().Failed(), result == -1) << "cut at " << cut;
        EXPECT_TRUE(collects(valid.substr(0, cut))) << "cut at " << cut;
    }
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        std::string garbage(4096, '\0');
        std::generate(garbage.begin(), garbage.end(), [&] { return static_cast<char>(random()); });
        SpiProgramList programs;
        const std::string text = (round % 2 ? "START_G\n" : "") + garbage;
        const int result = ParseText(programs, text);
        EXPECT_TRUE(result == 0 || result == -1);
        EXPECT_TRUE(collects(text)) << round;
    }
    const std::string longValue(1 << 20, 'v');
    SpiProgramList programs;
    ASSERT_EQ(ParseText(programs, "START_P\nA " + longValue + " '" + longValue + "'\nEND_P\n"), 0);
    EXPECT_EQ(programs.Lookup("P")->directives.Lookup("A")->ActiveValues()[1].size(),
              longValue.size());
}

// The name index through growth, deletes in the middle of probe runs, and equal names.
TEST(NamedList, IndexAgreesWithTheList) {
    SpiProgramList programs;
    SpiDirectiveList& list = programs.Append("P", 2)->directives;
    for (int i = 0; i < 500; ++i) {
        list.Append("n" + std::to_string(i), 2);
    }
    const std::uint32_t firstDup = programs.PositionOf(*list.Append("N7", 2));
    for (int i = 0; i < 500; i += 2) {
        list.DeleteByName("N" + std::to_string(i));
    }
    for (int i = 0; i < 500; ++i) {
        SpiDirective* found = list.Lookup("n" + std::to_string(i));
        EXPECT_EQ(found != nullptr, i % 2 == 1) << i;
        if (found != nullptr && i != 7) {
            EXPECT_EQ(found->Name(), "n" + std::to_string(i));
        }
    }
    // Equal names: the first in list order, then the next once it is deleted.
    const std::uint32_t secondDup = programs.PositionOf(*list.Append("n7", 2));
    EXPECT_NE(programs.PositionOf(*list.Lookup("N7")), firstDup);
    list.DeleteByName("n7");
    EXPECT_EQ(programs.PositionOf(*list.Lookup("n7")), firstDup);
    list.DeleteByName("n7");
    EXPECT_EQ(programs.PositionOf(*list.Lookup("n7")), secondDup);
    EXPECT_EQ(list.Current(), *list.begin());
    EXPECT_EQ(list.size(), 250u);
    EXPECT_EQ(static_cast<std::size_t>(std::distance(list.begin(), list.end())), 250u);
    // A released index is made again from the list, equal names in list order.
    const std::uint32_t thirdDup = programs.PositionOf(*list.Append("N7", 2));
    list.ReleaseIndex();
    EXPECT_EQ(programs.PositionOf(*list.Lookup("n7")), secondDup);
    list.DeleteByName("n7");
    EXPECT_EQ(programs.PositionOf(*list.Lookup("n7")), thirdDup);
    EXPECT_NE(list.Lookup("n499"), nullptr);
}

// A section large enough that its index grows by the size the rest of the file suggests: every
// name is found, and a later line of a name still changes the first directive of that name.
TEST(Parser, ALargeSectionFindsEveryName) {
    std::string text = "START_P\n";
    for (int i = 0; i < 70000; ++i) {
        text += "Name_" + std::to_string(i) + " 'v'\n";
    }
    text += "name_5 'again'\nEND_P\nSTART_Q\nA 1\nEND_P\nEND_Q\n";
    SpiProgramList programs;
    ASSERT_EQ(ParseText(programs, text), 0);
    const SpiDirectiveList& p = programs.Lookup("P")->directives;
    EXPECT_EQ(p.size(), 70000u);
    for (int i = 0; i < 70000; i += 997) {
        ASSERT_NE(p.Lookup("NAME_" + std::to_string(i)), nullptr) << i;
    }
    EXPECT_EQ(Join(p.Lookup("Name_5")->ActiveValues()), "again");
    EXPECT_EQ(Dump(programs).substr(Dump(programs).rfind(' ')), " Q{A(1),END_P()}");
}

// Lines written as they stood (comments, and with keepReadLines every line read) or written
// anew read back as they read: also where a backslash continued a line onto an empty one after
// a lone CR, whose line end must not merge with the line feed written after it, and where the
// last value holds both quote characters and ends where a line end would cut it.
TEST(Parser, WrittenLinesReadBackTheSame) {
    const std::string_view texts[] = {
        "START_P\n{ x \\\r \nB 1\nEND_P\n",      // a comment continued onto an empty line
        "START_P\nA x \\\r \nB 1\nEND_P\n",      // a directive line the same way
        "START_P\nA x \\\r\rB 1\nEND_P\n",       // the empty line ended by a CR too
        "START_P\n{ x \\\r ",                    // at the end of the text
        "START_P\nA x \\\r\r\nB 1\nEND_P\n",     // CR CR LF: one line end, B continues A
        "START_P\nA x \\\r\n\nB 1\nEND_P\n",     // CR LF, then the empty line
        "START_P\nA x \\\n \\\r \nB 1\nEND_P\n", // two continuations, the last empty
        "START_P\nA C'\"\t\\\n\nB 1\nEND_P\n",   // both quotes, then a tab
        "START_P\nA C'\"\\ \\\n\nEND_P\n",       // both quotes, then a backslash
    };
    for (const std::string_view text : texts) {
        for (const bool keepLines : {false, true}) {
            SpiProgramList programs;
            ASSERT_EQ(ParseText(programs, std::string(text)), 0) << text;
            programs.keepReadLines = keepLines;
            std::ostringstream written;
            ASSERT_EQ(WritePrograms(written, programs, true), "") << text;
            SpiProgramList again;
            ASSERT_EQ(ParseText(again, written.str()), 0) << written.str();
            EXPECT_EQ(Dump(again), Dump(programs)) << keepLines << " " << written.str();
        }
    }
}

// A section far past the size where its index no longer fits the cache, with names that come
// again right after, a few lines later, much later, and in other letter case, from its start or
// only near its end: it reads as a small section would, each name where it first stood with the
// values of its last line.
TEST(Parser, ALargeSectionMergesRepeatedNamesAsASmallOneDoes) {
    for (const int repeatsFrom : {0, 110000}) {
        std::mt19937 random(7);
        std::vector<std::string> order;                    // names as they first stood
        std::unordered_map<std::string, std::string> last; // by upper-case name: the last values
        std::string text = "START_P\n";
        for (int line = 0; line < 120000; ++line) {
            const unsigned pick = random() % 100;
            std::string name = "Key_" + std::to_string(order.size());
            if (line >= repeatsFrom && !order.empty() && pick < 12) {
                const std::size_t span =
                    pick < 6 ? std::min<std::size_t>(order.size(), 70) : order.size();
                name = order[order.size() - 1 - random() % span];
                if (pick % 2 == 1) {
                    std::transform(name.begin(), name.end(), name.begin(), ::tolower);
                }
            }
            std::string upper = name;
            ToUpperInPlace(upper);
            if (last.find(upper) == last.end()) {
                order.push_back(name);
            }
            last[upper] = std::to_string(line);
            text += name + " " + std::to_string(line) + "\n";
        }
        text += "END_P\n";
        SpiProgramList programs;
        ASSERT_EQ(ParseText(programs, text), 0);
        const SpiDirectiveList& p = programs.Lookup("P")->directives;
        ASSERT_EQ(p.size(), order.size()) << repeatsFrom;
        std::size_t at = 0;
        for (const SpiDirective* directive : p) {
            std::string upper(directive->Name());
            ToUpperInPlace(upper);
            ASSERT_EQ(directive->Name(), order[at]) << at;
            ASSERT_EQ(Join(directive->ActiveValues()), last[upper]) << order[at];
            ++at;
        }
    }
}

// The index as the reader fills it, with deletes and lookups between (or, in the last case,
// none until every name is in, with no expectation of the section's size), below and far above
// the size where it no longer fits the cache: it agrees with a plain set of the names.
TEST(NamedList, ALargeIndexAgreesWithTheListThroughDeletes) {
    for (const int count : {1000, 100000, 300000}) {
        const bool between = count < 300000;
        SpiProgramList programs;
        SpiDirectiveList& list = programs.Append("P", 2)->directives;
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += "n" + std::to_string(i) + " ";
        }
        const SpiProgramList::KeptText kept = programs.Keep(text, "t");
        std::vector<std::string_view> names;
        for (std::size_t from = 0; from < text.size(); from = text.find(' ', from) + 1) {
            names.emplace_back(kept.data + from, text.find(' ', from) - from);
        }
        std::set<int> alive;
        for (int i = 0; i < count; ++i) {
            list.FindOrAppendView(names[i], 2);
            alive.insert(i);
            if (between && i % 41 == 0) { // a name read long ago, or one just read
                const int victim = i % 2 == 0 ? i / 2 : i;
                list.DeleteByName("N" + std::to_string(victim));
                alive.erase(victim);
            }
            if (between && i % 5 == 0) { // found again, or added again after its delete
                const int again = i - i % 40;
                EXPECT_EQ(list.FindOrAppendView(names[again], 2)->Name(), names[again]);
                alive.insert(again);
            }
        }
        ASSERT_EQ(list.size(), alive.size()) << count;
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(list.Lookup("N" + std::to_string(i)) != nullptr, alive.count(i) == 1)
                << count << " " << i;
        }
    }
}

} // namespace
} // namespace pfsetup::test
