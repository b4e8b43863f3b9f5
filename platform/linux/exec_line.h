// The Exec line of a desktop entry: split into an argument vector by the desktop entry rules
// and its field codes filled in. Pure functions over the text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ofu::platform::desktop {

// Splits on unquoted blanks, tabs and newlines; inside double quotes \" \` \$ \\ stand for
// the character itself (any other backslash is kept). Quoted parts may join unquoted text in
// one argument, and "" is an empty argument. Empty when a quote is left open.
std::optional<std::vector<std::string>> SplitExecLine(std::string_view exec);

// What fills %f %F (localPath) and %u %U (uri). A URL other than file:// has no local path.
struct ExecTarget {
    std::string uri;
    std::string localPath;
};

// The entry's own values for %i, %c and %k.
struct ExecEntryValues {
    std::string icon;
    std::string name;
    std::string desktopFilePath;
};

struct ExpandedExec {
    std::vector<std::string> argv;
    bool namesTarget = false;  // the line holds %f %F %u or %U (else the caller may append it)
};

// The argument vector to start. A code that is a whole argument becomes whole elements:
// %f %F %u %U the target (dropped without one), %i "--icon" ICON (dropped without an icon),
// %c the name, %k the desktop file's path. Inside a longer argument a code is replaced by its
// text, and the argument is dropped when a target code there has nothing to fill it. %d %D
// %n %N %v %m are dropped, %% is '%'. Empty when the line cannot be split, holds any other
// code, or leaves no program.
std::optional<ExpandedExec> ExpandExecLine(std::string_view exec, const ExecEntryValues& values,
                                           const std::optional<ExecTarget>& target);

}  // namespace ofu::platform::desktop
