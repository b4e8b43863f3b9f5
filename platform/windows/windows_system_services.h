// The Windows implementations of the platform services, as one set (see platform/system_services.h).
#pragma once

#include "platform/windows/crt_file_system.h"
#include "platform/windows/windows_code_pages.h"
#include "platform/windows/windows_local_files.h"
#include "platform/windows/windows_programs.h"
#include "platform/windows/windows_registry.h"
#include "platform/windows/windows_resources.h"
#include "platform/windows/windows_system_info.h"
#include "platform/windows/wininet_internet.h"
#include "platform/windows/wnet_drive_connections.h"

namespace ofu::platform {

struct SystemServices {
    WNetDriveConnections drives;
    WindowsSystemInfo system;
    WindowsCodePages codes;
    WinInetInternet internet;
    WindowsRegistry registry;
    WindowsPrograms programs;
    WindowsLocalFiles localFiles;
    CrtFileSystem fileSystem;
    WindowsResources resources;
};

}  // namespace ofu::platform
