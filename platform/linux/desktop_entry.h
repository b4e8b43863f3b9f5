// The [Desktop Entry] group of a .desktop file: what is needed to pick and start an
// application. A pure function over the file's text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ofu::platform::desktop {

struct DesktopEntry {
    std::string type;     // "Application", "Link", ...
    std::string name;     // the untranslated Name
    std::string exec;     // key-file escapes undone; Exec quoting and field codes still in place
    std::string tryExec;  // "" when absent
    std::string icon;     // "" when absent
    bool hidden = false;  // Hidden=true: the entry counts as deleted
    bool noDisplay = false;
};

// Empty when the text has no [Desktop Entry] group.
std::optional<DesktopEntry> ParseDesktopEntry(std::string_view text);

}  // namespace ofu::platform::desktop
