// The Windows programs' resource scripts, written from the same data that the other backends
// read: the dialog templates, the string table, the icon renders and the version. A script
// names an icon file and (the window's) a manifest file, written beside it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "resources/icon_images.h"

namespace ofu::rc {

// `text` as an rc string literal: in quotes, a quote doubled, a backslash and control
// characters escaped; other bytes (UTF-8 included) as they are.
std::string Quoted(std::string_view text);

// "4.6.0.0" as the comma list of a VERSIONINFO statement: "4,6,0,0". Missing parts are 0.
std::string VersionNumbers(std::string_view dotted);

// Which program a script is for: each carries only the resources it uses.
enum class Program {
    Window,  // ostrel-ferrow-utility.exe: dialogs, strings, icon, version and manifest
    Client,  // ofu.exe, a console program: its icon and its own version description
};

// The version resource's FileDescription of each program.
std::string_view FileDescription(Program program);

// The whole script. `iconPath` and `manifestPath` are the files that it pulls in; the client's
// script pulls in no manifest.
std::string ResourceScript(Program program, std::string_view iconPath, std::string_view manifestPath = {});

// An .ico file holding the renders as PNG-compressed entries, smallest first.
std::vector<unsigned char> IconFile(std::span<const ui::IconImage> images);

// The application manifest: the common controls 6.0.
std::string Manifest();

}  // namespace ofu::rc
