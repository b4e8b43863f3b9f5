#include "platform/linux/linux_registry.h"

namespace ofu::platform {

std::optional<std::string> LinuxRegistry::QueryString(RegistryRoot, std::string_view, std::string_view, std::size_t) {
    return std::nullopt;
}

}  // namespace ofu::platform
