// Facts about the workstation: its Windows version and the logged-on user's name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ofu::platform {

// The numbers GetVersionExA reports.
struct OsVersion {
    std::uint32_t platformId = 0;  // 1 Windows 9x, 2 NT, 3 CE
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t buildNumber = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // Empty when the version cannot be read (always on a system that is not Windows).
    virtual std::optional<OsVersion> GetVersion() = 0;
    // The name of the user logged on, or empty when it cannot be read.
    virtual std::optional<std::string> GetUserName() = 0;
};

}  // namespace ofu::platform
