// The Windows version (GetVersionExA) and the logged-on user's name (GetUserNameA).
#pragma once

#include "platform/system_info.h"

namespace ofu::platform {

class WindowsSystemInfo final : public SystemInfo {
public:
    std::optional<OsVersion> GetVersion() override;
    std::optional<std::string> GetUserName() override;
};

}  // namespace ofu::platform
