// Opening a device's web page in the workstation's default browser: the command line formed
// from the browser's registry entries and started, with the explorer as the fallback.
#pragma once

#include "platform/registry.h"

#include <string>
#include <string_view>

namespace ofu {

// One string value of a key (120-byte buffer); the empty text when the key or value cannot be
// read or does not fit.
std::string ReadRegistryString(platform::RegistryRoot root, std::string_view path, std::string_view valueName);

// Whether the device's page is opened with https: its ssl setting contains "1".
bool UsesHttps(std::string_view sslSetting);

// "explorer http(s)://ADDRESS" when the default browser's name contains "IE", otherwise the
// browser's command line from the registry, a blank and the URL.
std::string BrowserCommandLine(bool https, std::string_view deviceAddress);

// "explorer http(s)://ADDRESS".
std::string ExplorerCommandLine(bool https, std::string_view deviceAddress);

// Starts `commandLine`; when the program cannot be found or is no program (results 2, 3 and
// 11) the explorer command line is started instead. Returns the result of the last start
// made (above 31 when a program started).
unsigned StartBrowser(const std::string& commandLine, bool https, std::string_view deviceAddress);

}  // namespace ofu
