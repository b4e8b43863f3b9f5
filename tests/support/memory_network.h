// An in-memory datagram network on virtual time. Tests schedule datagrams (or receive
// errors) to arrive on a local address at a given time, or attach responders that answer
// each request sent; receives wait on the virtual clock exactly as long as the real ones
// would, so poll counts, pauses and limits can be checked precisely and fast.
#pragma once

#include "platform/datagram_network.h"
#include "tests/support/virtual_clock.h"

#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <span>
#include <string>
#include <vector>

namespace ofu::testing {

using Bytes = std::vector<std::uint8_t>;

class MemoryNetwork final : public platform::DatagramNetwork {
public:
    struct SentDatagram {
        int slot;
        Bytes bytes;
        std::int64_t atMicros;
    };
    using Responder = std::function<void(int slot, std::span<const std::uint8_t> request)>;

    explicit MemoryNetwork(VirtualClock& clock) : clock_(clock) {}

    void setLocalAddresses(std::vector<std::string> addresses) { addresses_ = std::move(addresses); }
    void setStartupFails(bool fails) { startupFails_ = fails; }

    // A datagram that arrives on `slot` at `atMicros` (or `delayMillis` from now).
    void deliverAt(int slot, Bytes bytes, std::int64_t atMicros);
    void deliverAfter(int slot, Bytes bytes, int delayMillis);
    // A receive error reported on `slot` at `atMicros`.
    void failReceiveAt(int slot, std::int64_t atMicros);

    // Called for every datagram sent, after it is recorded.
    void addResponder(Responder responder) { responders_.push_back(std::move(responder)); }

    const std::vector<SentDatagram>& sent() const { return sent_; }
    std::size_t pending(int slot) const;
    int receiveCalls(int slot) const;
    bool receiverOpen(int slot) const;
    // The order in which senders and receivers were opened ("S0", "R0", ...).
    const std::vector<std::string>& openOrder() const { return openOrder_; }

    // DatagramNetwork
    bool startup() override { return !startupFails_; }
    void cleanup() override { cleanedUp_ = true; }
    std::vector<std::string> localAddresses() override { return addresses_; }
    void openSender(int slot, const std::string& address) override;
    void openReceiver(int slot, const std::string& address) override;
    void closeSlot(int slot) override;
    void sendToGroup(int slot, std::span<const std::uint8_t> datagram) override;
    platform::ReceiveResult receive(int slot, std::span<std::uint8_t> buffer, int waitMillis) override;

    bool cleanedUp() const { return cleanedUp_; }

private:
    struct Arrival {
        bool error;
        Bytes bytes;
    };
    // Ordered by arrival time, then by scheduling order for arrivals at the same time.
    using ArrivalQueue = std::map<std::pair<std::int64_t, std::uint64_t>, Arrival>;

    VirtualClock& clock_;
    std::vector<std::string> addresses_;
    bool startupFails_ = false;
    bool cleanedUp_ = false;
    std::map<int, ArrivalQueue> arrivals_;
    std::map<int, int> receiveCalls_;
    std::map<int, bool> receiverOpen_;
    std::vector<SentDatagram> sent_;
    std::vector<Responder> responders_;
    std::vector<std::string> openOrder_;
    std::uint64_t sequence_ = 0;
};

}  // namespace ofu::testing
