// The system's own implementations of the platform services, as one set: each system's folder
// defines `SystemServices`, a struct with one member per service (the worker threads aside,
// which are the same everywhere); services.cpp makes it and installs it beside the threads.
#pragma once

#include "platform/services.h"

#ifdef _WIN32
#include "platform/windows/windows_system_services.h"
#else
#include "platform/linux/linux_system_services.h"
#endif

namespace ofu::platform {

// The table of the set: every field but `threads`.
inline PlatformServices ServiceTable(SystemServices& s) {
    return {&s.drives,   &s.system, &s.codes,      &s.internet,   &s.registry,
            &s.programs, nullptr,   &s.localFiles, &s.fileSystem, &s.resources};
}

}  // namespace ofu::platform
