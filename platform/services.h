// The platform services the user-interface handlers and the command-line client use, with an
// explicit lifetime: the program installs the system's implementations once at start
// (InitPlatformServices) and releases them at the end; tests install fakes.
#pragma once

#include "platform/code_pages.h"
#include "platform/drive_connections.h"
#include "platform/file_system.h"
#include "platform/internet.h"
#include "platform/local_files.h"
#include "platform/programs.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/system_info.h"
#include "platform/threads.h"

namespace ofu::platform {

struct PlatformServices {
    DriveConnections* driveConnections = nullptr;
    SystemInfo* systemInfo = nullptr;
    CodePages* codePages = nullptr;
    Internet* internet = nullptr;
    Registry* registry = nullptr;
    Programs* programs = nullptr;
    Threads* threads = nullptr;
    LocalFiles* localFiles = nullptr;
    FileSystem* fileSystem = nullptr;
    Resources* resources = nullptr;
};

// Installs `services` (every pointer must be set and outlive the installation).
void InstallPlatformServices(const PlatformServices& services);
// Installs this system's implementations.
void InitPlatformServices();
// Releases them; worker threads started through Threading() have ended when this returns.
void FreePlatformServices();

DriveConnections& Drives();
SystemInfo& System();
CodePages& Codes();
Internet& Web();
Registry& Settings();
Programs& Launcher();
Threads& Threading();
LocalFiles& Files();
FileSystem& Disk();
Resources& OwnResources();

}  // namespace ofu::platform
