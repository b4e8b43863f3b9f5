#include "platform/linux/windows_command_line.h"

#include <gtest/gtest.h>

#include <ostream>

#include <random>

namespace ofu::platform::windows_cmd {
namespace {

struct SplitCase {
    const char* name;
    std::string line;
    std::string program;
    std::vector<std::string> arguments;
};

// How a case appears in test listings: by its name, not as bytes.
void PrintTo(const SplitCase& c, std::ostream* out) { *out << c.name; }

class SplittingALine : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplittingALine, GivesTheProgramAndArgumentsWindowsWould) {
    const CommandLine split = SplitCommandLine(GetParam().line);
    EXPECT_EQ(split.program, GetParam().program);
    EXPECT_EQ(split.arguments, GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    WindowsRules, SplittingALine,
    ::testing::Values(
        SplitCase{"QuotedProgramWithBlanks", R"("C:\Program Files\b.exe" -osint)", R"(C:\Program Files\b.exe)", {"-osint"}},
        SplitCase{"ProgramEndsAtBlankOrTab", "prog\ta  b", "prog", {"a", "b"}},
        SplitCase{"QuotedArgumentKeepsBlanks", R"(prog "a b" c)", "prog", {"a b", "c"}},
        SplitCase{"OddBackslashesBeforeQuoteEscapeIt", R"(prog a\\\"b)", "prog", {R"(a\"b)"}},
        SplitCase{"EvenBackslashesBeforeQuoteHalveAndQuote", R"(prog a\\\\"b c")", "prog", {R"(a\\b c)"}},
        SplitCase{"BackslashesElsewhereAreLiteral", R"(prog C:\dir\ x\\y)", "prog", {R"(C:\dir\)", R"(x\\y)"}},
        SplitCase{"DoubledQuoteInsideQuotesIsAQuote", R"(prog "a""b" c)", "prog", {R"(a"b)", "c"}},
        SplitCase{"EmptyQuotesAreAnEmptyArgument", R"(prog "" x)", "prog", {"", "x"}},
        SplitCase{"UnclosedProgramQuoteTakesTheRest", R"("my prog -x)", "my prog -x", {}},
        SplitCase{"TextRightAfterTheProgramQuoteIsAnArgument", R"("prog"x y)", "prog", {"x", "y"}},
        SplitCase{"LeadingBlankLeavesNoProgram", " http://10.77.1.10", "", {"http://10.77.1.10"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

struct JoinCase {
    const char* name;
    std::vector<std::string> argv;
};

// How a case appears in test listings: by its name, not as bytes.
void PrintTo(const JoinCase& c, std::ostream* out) { *out << c.name; }

class JoiningArguments : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoiningArguments, SplitsBackToTheSameVector) {
    const std::optional<std::string> line = JoinCommandLine(GetParam().argv);
    ASSERT_TRUE(line);
    const CommandLine split = SplitCommandLine(*line);
    std::vector<std::string> argv{split.program};
    argv.insert(argv.end(), split.arguments.begin(), split.arguments.end());
    EXPECT_EQ(argv, GetParam().argv) << *line;
}

INSTANTIATE_TEST_SUITE_P(
    RoundTrip, JoiningArguments,
    ::testing::Values(JoinCase{"PlainWords", {"/usr/bin/firefox-esr", "--new-window"}},
                      JoinCase{"ProgramWithBlanks", {"/opt/My Browser/run", "-x"}},
                      JoinCase{"ArgumentsWithBlanksAndTabs", {"p", "a b", "c\td"}},
                      JoinCase{"EmptyArgument", {"p", "", "x"}},
                      JoinCase{"Quotes", {"p", R"(say "hi")", R"(")", R"("")"}},
                      JoinCase{"BackslashesBeforeQuotesAndAtTheEnd", {"p", R"(a\"b)", R"(dir\ with blank\)", R"(x\\)"}},
                      JoinCase{"ProgramEndingInABackslash", {R"(C:\dir with blank\)", "a"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(JoiningArguments, RefusesWhatNoWindowsLineCanCarry) {
    EXPECT_FALSE(JoinCommandLine({}));
    EXPECT_FALSE(JoinCommandLine({"", "a"}));
    EXPECT_FALSE(JoinCommandLine({R"(pro"g)", "a"}));
}

TEST(JoiningArguments, RoundTripsRandomVectorsOfAwkwardCharacters) {
    std::mt19937 random(20240611);
    const std::string alphabet = "ab \t\"\\%";
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::string> argv(1 + random() % 4);
        for (std::size_t k = 0; k < argv.size(); ++k) {
            for (unsigned n = random() % 6; n > 0; --n) argv[k].push_back(alphabet[random() % alphabet.size()]);
            if (k == 0) {
                std::erase(argv[0], '"');
                argv[0] += "p";
            }
        }
        const std::optional<std::string> line = JoinCommandLine(argv);
        ASSERT_TRUE(line);
        const CommandLine split = SplitCommandLine(*line);
        std::vector<std::string> back{split.program};
        back.insert(back.end(), split.arguments.begin(), split.arguments.end());
        ASSERT_EQ(back, argv) << *line;
    }
}

}  // namespace
}  // namespace ofu::platform::windows_cmd
