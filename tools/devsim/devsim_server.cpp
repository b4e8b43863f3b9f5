#include "devsim_server.h"

#include <algorithm>
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

// 10.0.0.0/8, 172.16.0.0/12, 192.168.0.0/16: the only addresses the simulator gives its
// namespace, whatever a request asks for.
bool IsPrivateAddress(const Ipv4Bytes& a) {
    return a[0] == 10 || (a[0] == 172 && (a[1] & 0xF0) == 16) || (a[0] == 192 && a[1] == 168);
}

const LocalAddress* FindHostAddress(const std::vector<LocalAddress>& local, const Ipv4Bytes& address) {
    for (const auto& entry : local)
        if (entry.address == address && entry.prefixLength == 32 && !entry.loopback) return &entry;
    return nullptr;
}

}  // namespace

DevsimServer::DevsimServer(const std::vector<DeviceConfig>& devices, Journal* journal, bool moveAddresses)
    : journal_(journal), moveAddresses_(moveAddresses) {
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
            const Ipv4Bytes before = devices_[d]->state().address;
            auto answers = devices_[d]->handle(datagram->bytes, origin);
            // Before its answer leaves, so that the answer can come from the new address.
            if (moveAddresses_ && devices_[d]->state().address != before) moveAddress(d, before, datagram->ifindex);
            for (auto& answer : answers) {
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

void DevsimServer::moveAddress(std::size_t d, const Ipv4Bytes& before, unsigned arrival) {
    const SimDevice& device = *devices_[d];
    // A silent host's addresses belong to no host here, before and after.
    if (device.config().silentHost) return;
    const Ipv4Bytes after = device.state().address;
    const auto local = ListLocalAddresses();
    nlohmann::json details = {{"device", device.config().name}, {"from", FormatDottedAddress(before)},
                              {"to", FormatDottedAddress(after)}};
    const LocalAddress* old = FindHostAddress(local, before);
    const unsigned ifindex = old ? old->ifindex : (arrival ? arrival : FirstOutgoingInterface(local));
    std::string error;
    if (!HoldsAddress(local, after)) {
        if (!IsPrivateAddress(after)) {
            error = "not a private address: not added";
        } else if (AddHostAddress(ifindex, after, error)) {
            details["added_on"] = InterfaceName(ifindex);
        }
    }
    // The old address stays while another device of this simulator still answers for it.
    const bool shared = std::any_of(devices_.begin(), devices_.end(),
                                    [&](const auto& other) { return other->state().address == before; });
    if (old && !shared && error.empty()) {
        if (RemoveHostAddress(old->ifindex, before, error)) details["removed_from"] = old->interfaceName;
    }
    if (!error.empty()) details["error"] = error;
    note("address_moved", std::move(details));
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
