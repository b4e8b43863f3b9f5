// ofu-devsim: serves simulated storage devices on UDP port 13579 for the lab.
#include <csignal>
#include <cstdio>
#include <fstream>
#include <memory>

#include <sys/signalfd.h>
#include <unistd.h>

#include "command_line.h"
#include "config_loader.h"
#include "devsim_server.h"

namespace {

using namespace ofu::devsim;

constexpr const char* kVersion = OFU_DEVSIM_VERSION;

// Written under a temporary name and renamed, so a waiting script never reads half a file.
bool WriteReadyFile(const std::string& path) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << getpid() << '\n';
        if (!out) return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

int Serve(const CommandLine& line) {
    // The stop signals are taken through a descriptor that the event loop polls; they are
    // blocked first so that a stop during start-up still ends in a clean exit.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    ConfigLoadResult config = LoadConfigFile(line.configPath);
    if (!config.ok()) {
        std::fprintf(stderr, "ofu-devsim: %s\n", config.error.c_str());
        return 2;
    }
    std::vector<DeviceConfig> devices;
    for (auto& device : config.devices) {
        if (ServesLink(device, line.link)) devices.push_back(std::move(device));
    }

    std::ofstream journalFile;
    std::unique_ptr<Journal> journal;
    if (!line.journalPath.empty()) {
        journalFile.open(line.journalPath, std::ios::app);
        if (!journalFile) {
            std::fprintf(stderr, "ofu-devsim: %s: can't be opened for writing\n", line.journalPath.c_str());
            return 2;
        }
        journal = std::make_unique<Journal>(journalFile);
    }

    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (stopFd < 0) {
        std::perror("ofu-devsim: signalfd");
        return 1;
    }

    DevsimServer server(devices, journal.get(), line.moveAddresses);
    std::string error;
    if (!server.open(error)) {
        std::fprintf(stderr, "ofu-devsim: %s\n", error.c_str());
        return 1;
    }
    if (!line.readyFile.empty() && !WriteReadyFile(line.readyFile)) {
        std::fprintf(stderr, "ofu-devsim: %s: can't be written\n", line.readyFile.c_str());
        return 1;
    }
    std::fprintf(stderr, "ofu-devsim: serving %zu device%s on 0.0.0.0:13579%s%s\n", server.deviceCount(),
                 server.deviceCount() == 1 ? "" : "s", line.link.empty() ? "" : " for link ", line.link.c_str());
    const int status = server.run(stopFd);
    close(stopFd);
    journalFile.flush();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine line = ParseCommandLine(argc, argv);
    if (line.help) {
        std::fputs(kUsageText, stdout);
        return 0;
    }
    if (line.version) {
        std::printf("ofu-devsim %s\n", kVersion);
        return 0;
    }
    if (!line.error.empty()) {
        std::fprintf(stderr, "ofu-devsim: %s\n%s", line.error.c_str(), kUsageText);
        return 2;
    }
    return Serve(line);
}
