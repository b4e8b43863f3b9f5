// The system's own implementations of the platform services, made as one by each system's
// folder (linux/linux_services.cpp, windows/windows_services.cpp); services.cpp installs them
// beside the worker threads, which are the same everywhere.
#pragma once

#include "platform/services.h"

#include <memory>

namespace ofu::platform {

struct SystemServices;
struct SystemServicesDeleter {
    void operator()(SystemServices* services) const;
};
using SystemServicesPtr = std::unique_ptr<SystemServices, SystemServicesDeleter>;

// Makes them and points every field of `table` but `threads` at them.
SystemServicesPtr MakeSystemServices(PlatformServices& table);

// The table of a system's service set: any struct with these members.
template <typename Set>
PlatformServices ServiceTable(Set& s) {
    return {&s.drives,   &s.system, &s.codes,      &s.internet,   &s.registry,
            &s.programs, nullptr,   &s.localFiles, &s.fileSystem, &s.resources};
}

}  // namespace ofu::platform
