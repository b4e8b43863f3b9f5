// Windows command lines (WinExec, the browser's open command): splitting into the program and
// its arguments by the Windows rules, and joining an argument vector so that splitting gives
// it back exactly. Pure functions.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ofu::platform::windows_cmd {

struct CommandLine {
    std::string program;  // empty when the line starts with a blank or is empty
    std::vector<std::string> arguments;
};

// The program is the text between a leading quote and the next quote (the rest of the line
// when it is not closed), else the text up to the first blank or tab; what follows it is
// split by SplitArguments.
CommandLine SplitCommandLine(std::string_view line);

// The C runtime's rules: blanks and tabs separate arguments outside quotes; 2n backslashes
// before a quote give n backslashes and the quote opens or closes quoting, 2n+1 give n
// backslashes and a literal quote; "" inside quotes is a literal quote; other backslashes
// are literal.
std::vector<std::string> SplitArguments(std::string_view text);

// argv[0] as the program (quoted when it holds a blank or tab), the others quoted when they
// hold a blank, tab or quote or are empty, with backslashes before quotes doubled. Empty when
// argv is empty or argv[0] is empty or holds a quote, which no Windows line can carry.
std::optional<std::string> JoinCommandLine(const std::vector<std::string>& argv);

}  // namespace ofu::platform::windows_cmd
