// Serves a set of simulated devices on the UDP socket until a stop signal arrives: every
// received datagram goes to every device, and their answers are sent when due.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "answer_schedule.h"
#include "device_config.h"
#include "journal.h"
#include "sim_device.h"
#include "udp_endpoint.h"

namespace ofu::devsim {

class DevsimServer {
public:
    // With `moveAddresses` an applied address change moves the device's address on this
    // namespace's interfaces (CommandLine::moveAddresses).
    DevsimServer(const std::vector<DeviceConfig>& devices, Journal* journal, bool moveAddresses = false);

    bool open(std::string& error);

    // Runs until `stopFd` (a signalfd for SIGTERM and SIGINT) becomes readable. Returns the
    // process exit status: 0 after a stop signal, 1 when waiting fails.
    int run(int stopFd);

    std::size_t deviceCount() const { return devices_.size(); }

private:
    // The earliest of the next due answer and the next change of a device by itself.
    std::optional<SteadyTime> nextWake() const;
    void receiveAll();
    void sendDue();
    void send(const ScheduledAnswer& scheduled);
    // After device `d` went from address `before` to another one through a request that
    // arrived on `arrival`: its new address joins the namespace and the old one leaves.
    void moveAddress(std::size_t d, const Ipv4Bytes& before, unsigned arrival);
    void note(const std::string& event, nlohmann::json details = nlohmann::json::object());

    SteadySimClock clock_;  // the devices' time: declared before them, which hold it
    std::vector<std::unique_ptr<SimDevice>> devices_;
    Journal* journal_;
    bool moveAddresses_;
    UdpEndpoint endpoint_;
    AnswerSchedule schedule_;
};

}  // namespace ofu::devsim
