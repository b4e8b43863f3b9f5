// Where the freedesktop settings of this user live (XDG base directories, the current
// desktop's names, the program search path), and the files read from there in the order the
// freedesktop rules give them precedence.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ofu::platform::desktop {

struct DesktopEnvironment {
    std::string configHome;                 // "" when no home folder is known
    std::vector<std::string> configDirs;
    std::string dataHome;                   // "" when no home folder is known
    std::vector<std::string> dataDirs;
    std::vector<std::string> desktopNames;  // XDG_CURRENT_DESKTOP's parts, lowercased
    std::vector<std::string> programPath;   // PATH's folders ("" = the current folder)
};

using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// From the variables' values: a variable that is unset, empty or not absolute gives its
// default (~/.config, /etc/xdg, ~/.local/share, /usr/local/share:/usr/share); relative parts
// of a list are left out. `home` is the user's home folder ("" = unknown).
DesktopEnvironment DesktopEnvironmentFrom(const EnvironmentLookup& lookup, const std::string& home);

// From this process's environment; the home folder is HOME when absolute, else the password
// database's entry for this user.
DesktopEnvironment CurrentDesktopEnvironment();

// mimeapps.list files, most important first: for each of the config home, the config dirs,
// the data home's applications folder and each data dir's, "$desktop-mimeapps.list" for
// every desktop name, then "mimeapps.list".
std::vector<std::string> MimeAppsListPaths(const DesktopEnvironment& environment);

// Folders that hold desktop files, most important first: $XDG_DATA_HOME/applications, then
// each $XDG_DATA_DIRS/applications.
std::vector<std::string> ApplicationFolders(const DesktopEnvironment& environment);

// The shared-mime-info subclass files (mime/subclasses) of the data folders, same order.
std::vector<std::string> MimeSubclassPaths(const DesktopEnvironment& environment);

}  // namespace ofu::platform::desktop
