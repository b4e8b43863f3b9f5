// The Windows implementations of the platform services, installed as one.
#include "platform/services.h"

#include "platform/windows/crt_file_system.h"
#include "platform/windows/windows_code_pages.h"
#include "platform/windows/windows_local_files.h"
#include "platform/windows/windows_programs.h"
#include "platform/windows/windows_registry.h"
#include "platform/windows/windows_resources.h"
#include "platform/windows/windows_system_info.h"
#include "platform/windows/windows_threads.h"
#include "platform/windows/wininet_internet.h"
#include "platform/windows/wnet_drive_connections.h"

#include <memory>

namespace ofu::platform {
namespace {

// Declared in the order they may depend on each other: the threads go last, so that their
// destructor waits for the workers before anything the workers use is destroyed.
struct SystemServices {
    WindowsThreads threads;
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
    SystemServices& s = *Owned();
    Installed() = {&s.drives,   &s.system,  &s.codes,      &s.internet,   &s.registry,
                   &s.programs, &s.threads, &s.localFiles, &s.fileSystem, &s.resources};
}

void FreePlatformServices() {
    if (Owned()) Owned()->threads.JoinAll();
    Installed() = {};
    Owned().reset();
}

DriveConnections& Drives() { return *Current().driveConnections; }
SystemInfo& System() { return *Current().systemInfo; }
CodePages& Codes() { return *Current().codePages; }
Internet& Web() { return *Current().internet; }
Registry& Settings() { return *Current().registry; }
Programs& Launcher() { return *Current().programs; }
Threads& Threading() { return *Current().threads; }
LocalFiles& Files() { return *Current().localFiles; }
FileSystem& Disk() { return *Current().fileSystem; }
Resources& OwnResources() { return *Current().resources; }

}  // namespace ofu::platform
