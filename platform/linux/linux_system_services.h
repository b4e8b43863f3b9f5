// The Linux implementations of the platform services, as one set (see platform/system_services.h).
#pragma once

#include "platform/linux/drive_connection_store.h"
#include "platform/linux/embedded_resources.h"
#include "platform/linux/linux_file_system.h"
#include "platform/linux/linux_internet.h"
#include "platform/linux/linux_local_files.h"
#include "platform/linux/linux_programs.h"
#include "platform/linux/linux_registry.h"
#include "platform/linux/linux_system_info.h"
#include "platform/linux/utf8_code_pages.h"

namespace ofu::platform {

struct SystemServices {
    linux_drives::DriveConnectionStore drives;
    LinuxSystemInfo system;
    Utf8CodePages codes;
    LinuxInternet internet;
    LinuxRegistry registry;
    LinuxPrograms programs;
    LinuxLocalFiles localFiles;
    LinuxFileSystem fileSystem{localFiles};
    EmbeddedResources resources;
};

}  // namespace ofu::platform
