// String values of the Windows registry (RegOpenKeyExA, RegQueryValueExA, RegCloseKey).
#pragma once

#include "platform/registry.h"

namespace ofu::platform {

class WindowsRegistry final : public Registry {
public:
    std::optional<std::string> QueryString(RegistryRoot root, std::string_view path, std::string_view valueName,
                                           std::size_t bufferLength) override;
};

}  // namespace ofu::platform
