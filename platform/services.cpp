#include "platform/services.h"

#include "platform/linux/drive_connection_store.h"
#include "platform/linux/embedded_resources.h"
#include "platform/linux/linux_file_system.h"
#include "platform/linux/linux_internet.h"
#include "platform/linux/linux_local_files.h"
#include "platform/linux/linux_programs.h"
#include "platform/linux/linux_registry.h"
#include "platform/linux/linux_system_info.h"
#include "platform/linux/linux_threads.h"
#include "platform/linux/utf8_code_pages.h"

#include <memory>

namespace ofu::platform {
namespace {

// Declared in the order they may depend on each other: the threads go last, so that their
// destructor waits for the workers before anything the workers use is destroyed.
struct SystemServices {
    LinuxThreads threads;
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
