#pragma once

#include "platform/system_info.h"

namespace ofu::platform {

class LinuxSystemInfo final : public SystemInfo {
public:
    std::optional<OsVersion> GetVersion() override;
    std::optional<std::string> GetUserName() override;
};

}  // namespace ofu::platform
