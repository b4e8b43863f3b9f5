// The platform services the user-interface handlers use, with an explicit lifetime: the
// program installs the system's implementations once at start (InitPlatformServices) and
// releases them at the end; tests install fakes.
#pragma once

#include "platform/code_pages.h"
#include "platform/drive_connections.h"
#include "platform/system_info.h"

namespace ofu::platform {

struct PlatformServices {
    DriveConnections* driveConnections = nullptr;
    SystemInfo* systemInfo = nullptr;
    CodePages* codePages = nullptr;
};

// Installs `services` (every pointer must be set and outlive the installation).
void InstallPlatformServices(const PlatformServices& services);
// Installs this system's implementations.
void InitPlatformServices();
void FreePlatformServices();

DriveConnections& Drives();
SystemInfo& System();
CodePages& Codes();

}  // namespace ofu::platform
