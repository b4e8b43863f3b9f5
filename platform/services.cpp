#include "platform/services.h"

#include "platform/linux/drive_connection_store.h"
#include "platform/linux/linux_system_info.h"
#include "platform/linux/utf8_code_pages.h"

#include <memory>

namespace ofu::platform {
namespace {

struct SystemServices {
    linux_drives::DriveConnectionStore drives;
    LinuxSystemInfo system;
    Utf8CodePages codes;
};

std::unique_ptr<SystemServices>& Owned() {
    static std::unique_ptr<SystemServices> owned;
    return owned;
}

PlatformServices& Installed() {
    static PlatformServices installed;
    return installed;
}

// Until the program installs its services, the system's own are used.
PlatformServices& Current() {
    if (Installed().driveConnections == nullptr) InitPlatformServices();
    return Installed();
}

}  // namespace

void InstallPlatformServices(const PlatformServices& services) { Installed() = services; }

void InitPlatformServices() {
    Owned() = std::make_unique<SystemServices>();
    Installed() = {&Owned()->drives, &Owned()->system, &Owned()->codes};
}

void FreePlatformServices() {
    Installed() = {};
    Owned().reset();
}

DriveConnections& Drives() { return *Current().driveConnections; }
SystemInfo& System() { return *Current().systemInfo; }
CodePages& Codes() { return *Current().codePages; }

}  // namespace ofu::platform
