// The name of the running Windows version, as the login dialog and the drive mapping test it.
#pragma once

#include "platform/system_info.h"

#include <string>

namespace ofu {

inline constexpr const char* kUnknownWindowsVersion = "unknown Windows version";

// Sets `name` to the version's name; false (name "unknown Windows version") when the
// version cannot be read, true otherwise, also when no name fits the numbers.
bool GetWindowsVersionName(std::string& name);

// The name for a version's numbers.
std::string WindowsVersionName(const platform::OsVersion& version);

}  // namespace ofu
