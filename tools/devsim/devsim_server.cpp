#include "devsim_server.h"

#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include "local_interfaces.h"

namespace ofu::devsim {
namespace {

// Datagrams taken per wake-up before due answers get their turn.
constexpr int kReceiveBatch = 64;

}  // namespace

DevsimServer::DevsimServer(const std::vector<DeviceConfig>& devices, Journal* journal) : journal_(journal) {
    for (const auto& config : devices) devices_.push_back(std::make_unique<SimDevice>(config, journal, &clock_));
}

bool DevsimServer::open(std::string& error) { return endpoint_.open(error); }

void DevsimServer::note(const std::string& event, nlohmann::json details) {
    if (!journal_) return;
    details["dir"] = "note";
    details["event"] = event;
    journal_->record(std::move(details));
}

int DevsimServer::run(int stopFd) {
    nlohmann::json names = nlohmann::json::array();
    for (const auto& device : devices_) names.push_back(device->config().name);
    note("start", {{"devices", names}});

    for (;;) {
        int timeoutMs = -1;
        if (const auto due = nextWake()) {
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - std::chrono::steady_clock::now());
            timeoutMs = static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0));
        }
        pollfd fds[2] = {{endpoint_.fd(), POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (poll(fds, 2, timeoutMs) < 0) {
            if (errno == EINTR) continue;
            note("poll_error", {{"error", std::strerror(errno)}});
            return 1;
        }
        if (fds[1].revents & POLLIN) {
            signalfd_siginfo info{};
            const ssize_t n = read(stopFd, &info, sizeof info);
            note("stop", {{"signal", n == static_cast<ssize_t>(sizeof info) ? static_cast<int>(info.ssi_signo) : 0},
                          {"unsent_answers", schedule_.size()}});
            return 0;
        }
        if (fds[0].revents & POLLIN) receiveAll();
        sendDue();
        for (auto& device : devices_) device->tick();
    }
}

std::optional<SteadyTime> DevsimServer::nextWake() const {
    std::optional<SteadyTime> wake = schedule_.nextDue();
    for (const auto& device : devices_) {
        if (const auto due = device->nextEventDue(); due && (!wake || *due < *wake)) wake = due;
    }
    return wake;
}

void DevsimServer::receiveAll() {
    for (int i = 0; i < kReceiveBatch; ++i) {
        const auto datagram = endpoint_.receive();
        if (!datagram) return;
        const RequestOrigin origin{SocketAddressText(datagram->from), InterfaceName(datagram->ifindex)};
        const auto arrived = std::chrono::steady_clock::now();
        for (std::size_t d = 0; d < devices_.size(); ++d) {
            for (auto& answer : devices_[d]->handle(datagram->bytes, origin)) {
                ScheduledAnswer scheduled;
                scheduled.due = arrived + std::chrono::milliseconds(answer.delayMs);
                scheduled.device = d;
                scheduled.answer = std::move(answer);
                scheduled.requester = datagram->from;
                scheduled.ifindex = datagram->ifindex;
                schedule_.add(std::move(scheduled));
            }
        }
    }
}

void DevsimServer::sendDue() {
    const auto due = schedule_.takeDue(std::chrono::steady_clock::now());
    if (due.empty()) return;
    const auto local = ListLocalAddresses();
    for (const auto& scheduled : due) {
        // The device's address is the sending address only where the namespace holds it
        // (an address taken by a static or DHCP change may not exist here); the interface
        // the request came in on carries the answer either way.
        std::optional<Ipv4Bytes> source;
        if (HoldsAddress(local, scheduled.answer.deviceAddress)) source = scheduled.answer.deviceAddress;
        unsigned ifindex = scheduled.ifindex;
        if (ifindex == 0) ifindex = FirstOutgoingInterface(local);

        std::string error;
        const bool sent = scheduled.answer.toGroup
                              ? endpoint_.sendToGroup(scheduled.answer.bytes, ifindex, source, error)
                              : endpoint_.sendToHost(scheduled.answer.bytes, scheduled.requester, source, error);
        if (!sent) {
            note("send_error", {{"device", devices_[scheduled.device]->config().name}, {"error", error}});
        }
    }
}

}  // namespace ofu::devsim
