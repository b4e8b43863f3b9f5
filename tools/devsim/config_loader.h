// Reads the simulator's JSON configuration: {"devices": [ {...}, ... ]}. Field names are
// listed in docs/devsim.md. Unknown fields are errors, so a misspelt field can't silently
// fall back to its default.
#pragma once

#include <string>
#include <vector>

#include "device_config.h"

namespace ofu::devsim {

struct ConfigLoadResult {
    std::vector<DeviceConfig> devices;
    std::string error;  // empty on success; names the source, the device and the field
    bool ok() const { return error.empty(); }
};

ConfigLoadResult LoadConfigText(const std::string& text, const std::string& sourceName);
ConfigLoadResult LoadConfigFile(const std::string& path);

}  // namespace ofu::devsim
