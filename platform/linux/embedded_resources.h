// The program's resources on a system without resource sections: the table of blobs that the
// build embedded into the executable, registered by the program at start.
#pragma once

#include "platform/resources.h"

namespace ofu::platform {

class EmbeddedResources final : public Resources {
public:
    std::span<const std::uint8_t> Find(std::string_view typeName, int id) override;
};

}  // namespace ofu::platform
