// String values of the system's settings registry (RegOpenKeyExA, RegQueryValueExA,
// RegCloseKey). Only the keys the utility reads need an answer on systems without a registry.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ofu::platform {

enum class RegistryRoot { LocalMachine, CurrentUser };

// The key that names the default web browser, and the key (filled with that name) whose
// default value is the command line that starts it.
inline constexpr std::string_view kStartMenuInternetKey = "Software\\Clients\\StartMenuInternet";
inline constexpr std::string_view kBrowserCommandKeyFormat = "Software\\Clients\\StartMenuInternet\\%s\\shell\\open\\command";

class Registry {
public:
    virtual ~Registry() = default;
    // The string value `valueName` ("" = the key's default value) of key `path`. Empty when
    // the key cannot be opened, the value is missing or not a string, or the value with its
    // terminator needs more than `bufferLength` bytes.
    virtual std::optional<std::string> QueryString(RegistryRoot root, std::string_view path,
                                                   std::string_view valueName, std::size_t bufferLength) = 0;
};

}  // namespace ofu::platform
