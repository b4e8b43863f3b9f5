#include "platform/services.h"

#include "platform/system_services.h"
#include "platform/worker_threads.h"

#include <memory>

namespace ofu::platform {
namespace {

struct OwnedServices {
    SystemServices system;
    // Declared last, so destroyed first: the workers have ended before anything they may use
    // is destroyed.
    WorkerThreads threads;
};

std::unique_ptr<OwnedServices>& Owned() {
    static std::unique_ptr<OwnedServices> owned;
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
    auto owned = std::make_unique<OwnedServices>();
    PlatformServices table = ServiceTable(owned->system);
    table.threads = &owned->threads;
    Owned() = std::move(owned);
    Installed() = table;
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
