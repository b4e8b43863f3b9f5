// Simulated devices hosted on the in-memory network: each request sent out of a local
// address reaches the devices attached to that address, and their answers arrive there
// after the delays they ask for.
#pragma once

#include "tests/support/memory_network.h"
#include "tools/devsim/sim_device.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace ofu::testing {

class HostedDevices {
public:
    explicit HostedDevices(MemoryNetwork& network) {
        network.addResponder([this, &network](int slot, std::span<const std::uint8_t> request) {
            for (auto& hosted : devices_) {
                if (std::find(hosted.slots.begin(), hosted.slots.end(), slot) == hosted.slots.end()) continue;
                for (const auto& answer : hosted.device->handle(request))
                    network.deliverAfter(slot, answer.bytes, answer.delayMs);
            }
        });
    }
    HostedDevices(const HostedDevices&) = delete;
    HostedDevices& operator=(const HostedDevices&) = delete;

    // A device reachable through the local addresses `slots`.
    devsim::SimDevice& add(devsim::DeviceConfig config, std::vector<int> slots = {0}) {
        devices_.push_back({std::make_unique<devsim::SimDevice>(std::move(config)), std::move(slots)});
        return *devices_.back().device;
    }

    // A plain device of the long form with the given name and address.
    static devsim::DeviceConfig Config(std::string name, std::string ip, std::uint8_t idSeed = 0x20) {
        devsim::DeviceConfig config;
        config.name = std::move(name);
        config.ip = std::move(ip);
        config.gateway = "10.77.1.1";
        config.deviceId = {0x00, 0x50, 0x43, 0x00, 0x00, idSeed};
        config.model = "NS-2300";
        config.volumes = {"HDD_a", "USB1"};
        return config;
    }

private:
    struct Hosted {
        std::unique_ptr<devsim::SimDevice> device;
        std::vector<int> slots;
    };
    std::vector<Hosted> devices_;
};

}  // namespace ofu::testing
