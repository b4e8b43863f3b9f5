// The desktop's default application for a MIME type (x-scheme-handler/http for the web
// browser), looked up by the freedesktop rules without any desktop library, and the
// command that starts it for a URL or a file.
#pragma once

#include "platform/linux/desktop_entry.h"
#include "platform/linux/desktop_environment.h"
#include "platform/linux/desktop_files.h"
#include "platform/linux/exec_line.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ofu::platform::desktop {

struct DesktopApp {
    std::string id;    // "firefox-esr.desktop"
    std::string path;  // the desktop file that defines it
    DesktopEntry entry;
};

// The first usable application among, in this order: the [Default Applications] of every
// mimeapps.list (MimeAppsListPaths order), their [Added Associations] less the [Removed
// Associations] of the same and more important files, then the mimeinfo.cache of each
// application folder. An id is usable when a desktop file defines it (the first one found
// wins), it is an Application with Exec, is not Hidden, and its TryExec and Exec programs
// exist (NoDisplay does not matter).
std::optional<DesktopApp> FindDefaultApp(std::string_view mimeType, const DesktopEnvironment& environment,
                                         const DesktopFiles& files);

// The first application found for the type or, failing that, for each of its parent types
// (shared-mime-info subclasses, nearest first; every text/* type is a text/plain).
std::optional<DesktopApp> FindAppForContentType(std::string_view mimeType, const DesktopEnvironment& environment,
                                                const DesktopFiles& files);

// The program path of `name` as exec would find it: `name` itself when it holds a slash,
// else the first executable file in the search path. Empty when there is none.
std::string FindProgram(const std::string& name, const DesktopEnvironment& environment, const DesktopFiles& files);

// The app's Exec line filled for `target` (none: no target codes filled). When the line names
// no target the target is appended: the URL, or the path of a local file.
std::optional<std::vector<std::string>> AppCommand(const DesktopApp& app, const std::optional<ExecTarget>& target);

}  // namespace ofu::platform::desktop
