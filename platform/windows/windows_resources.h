// The executable's own resources (FindResourceA, LoadResource, LockResource, SizeofResource).
// Windows compares resource type names without regard to case.
#pragma once

#include "platform/resources.h"

namespace ofu::platform {

class WindowsResources final : public Resources {
public:
    std::span<const std::uint8_t> Find(std::string_view typeName, int id) override;
};

}  // namespace ofu::platform
