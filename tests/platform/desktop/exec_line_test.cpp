#include "platform/linux/desktop_entry.h"
#include "platform/linux/exec_line.h"
#include "platform/linux/key_file.h"

#include <gtest/gtest.h>

#include <random>

namespace ofu::platform::desktop {
namespace {

using Argv = std::vector<std::string>;

const std::string kUrl = "http://10.77.1.10/index.html?a=1&b=2";
const ExecEntryValues kValues{"gvicon", "GV Codes", "/apps/gv.desktop"};
const ExecTarget kWebTarget{kUrl, ""};
const ExecTarget kFileTarget{"file:///tmp/a%20b.txt", "/tmp/a b.txt"};

std::optional<Argv> Expand(std::string_view exec, const std::optional<ExecTarget>& target) {
    const auto expanded = ExpandExecLine(exec, kValues, target);
    if (!expanded) return std::nullopt;
    return expanded->argv;
}

TEST(ExpandingExecLines, FillsTargetCodesAsOneArgument) {
    EXPECT_EQ(Expand("rec --new-window %u", kWebTarget), (Argv{"rec", "--new-window", kUrl}));
    EXPECT_EQ(Expand("rec %U", kWebTarget), (Argv{"rec", kUrl}));
    EXPECT_EQ(Expand("rec %f", kFileTarget), (Argv{"rec", "/tmp/a b.txt"}));
    EXPECT_EQ(Expand("rec %u", kFileTarget), (Argv{"rec", "file:///tmp/a%20b.txt"}));
    EXPECT_EQ(Expand("rec --url=%u", kWebTarget), (Argv{"rec", "--url=" + kUrl}));
    EXPECT_EQ(Expand(R"(rec "--url=%u")", kWebTarget), (Argv{"rec", "--url=" + kUrl}));
}

TEST(ExpandingExecLines, DropsTargetCodesThatNothingFills) {
    EXPECT_EQ(Expand("rec %f %F", kWebTarget), (Argv{"rec"}));  // a web URL has no local path
    EXPECT_EQ(Expand("rec --new-window %u", std::nullopt), (Argv{"rec", "--new-window"}));
    EXPECT_EQ(Expand("rec --url=%u -x", std::nullopt), (Argv{"rec", "-x"}));
    EXPECT_EQ(Expand("rec %d %D %n %N %v %m x", kWebTarget), (Argv{"rec", "x"}));
}

TEST(ExpandingExecLines, FillsTheEntrysOwnCodes) {
    EXPECT_EQ(Expand(R"(rec "a b" %i %c %k %%)", kWebTarget),
              (Argv{"rec", "a b", "--icon", "gvicon", "GV Codes", "/apps/gv.desktop", "%"}));
    EXPECT_EQ(ExpandExecLine("rec %i x", {}, std::nullopt)->argv, (Argv{"rec", "x"}));
}

TEST(ExpandingExecLines, TellsWhetherTheLineNamesATarget) {
    EXPECT_TRUE(ExpandExecLine("rec %U", kValues, std::nullopt)->namesTarget);
    EXPECT_FALSE(ExpandExecLine("rec --x %i", kValues, kWebTarget)->namesTarget);
}

TEST(ExpandingExecLines, RefusesUnknownCodesOpenQuotesAndMissingPrograms) {
    EXPECT_FALSE(Expand("rec %z %u", kWebTarget));
    EXPECT_FALSE(Expand("rec 100%", kWebTarget));
    EXPECT_FALSE(Expand(R"(rec "open)", kWebTarget));
    EXPECT_FALSE(Expand("", kWebTarget));
    EXPECT_FALSE(Expand("%u", std::nullopt));
    EXPECT_FALSE(Expand(R"("" x)", kWebTarget));
}

TEST(ReadingDesktopEntries, UndoesKeyFileEscapesBeforeExecQuoting) {
    // The file's bytes as an editor shows them: both escaping layers at once.
    const auto entry = ParseDesktopEntry(
        "# comment\r\n[Desktop Entry]\r\nType=Application\r\nName = GV\\sTest\r\nName[de]=GV Probe\r\n"
        R"(Exec=rec "q\\"uote" "dollar\\$x" "back\\\\slash" "tick\\`" %u)"
        "\r\nHidden=true\r\n[Desktop Action New]\r\nExec=other\r\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "GV Test");
    EXPECT_TRUE(entry->hidden);
    EXPECT_FALSE(entry->noDisplay);
    EXPECT_EQ(Expand(entry->exec, kWebTarget),
              (Argv{"rec", R"(q"uote)", "dollar$x", R"(back\slash)", "tick`", kUrl}));
}

TEST(ReadingDesktopEntries, NeedsTheDesktopEntryGroup) {
    EXPECT_FALSE(ParseDesktopEntry("[Desktop Action X]\nExec=rec\n"));
    EXPECT_FALSE(ParseDesktopEntry("Exec=rec\n"));
    EXPECT_EQ(ParseDesktopEntry("[Other]\nExec=a\n[Desktop Entry]\nExec=b")->exec, "b");
}

TEST(ReadingKeyFileLists, SplitsOnUnescapedSemicolonsOnly) {
    EXPECT_EQ(SplitKeyFileList(" a.desktop ;b\\;c.desktop;;d\\\\;"), (Argv{"a.desktop", "b;c.desktop", "d\\"}));
}

TEST(ParsingDesktopText, SurvivesArbitraryInput) {
    std::mt19937 random(7);
    const std::string alphabet = std::string("[]=%\"\\ \t\n\r;#uUfFick") + '\0' + "Desktop Entry";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (unsigned n = random() % 40; n > 0; --n) text.push_back(alphabet[random() % alphabet.size()]);
        ParseDesktopEntry("[Desktop Entry]\nExec=" + text);
        ParseDesktopEntry(text);
        SplitKeyFileList(text);
        ExpandExecLine(text, kValues, kFileTarget);
        ExpandExecLine(text, kValues, std::nullopt);
    }
}

}  // namespace
}  // namespace ofu::platform::desktop
